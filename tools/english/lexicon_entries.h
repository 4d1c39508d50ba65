#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace trelix_tools {

// One lexicon reading: the surface form a token must spell and the output
// label of the reading ("stem+POS" with optional "+tag" fields).
using Entry = std::pair<std::string, std::string>;

// The readings of a lexicon, kept sorted and without duplicates so that the
// written transducer does not depend on the order the sources were read in.
class LexiconEntries {
public:
    void add(const std::string& surface, const std::string& stem, const std::string& pos,
             const std::string& tags = "");
    void add_label(const std::string& surface, const std::string& label);
    bool has_surface(const std::string& surface) const;
    const std::set<Entry>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }

private:
    std::set<Entry> entries_;
    std::set<std::string> surfaces_;
};

// Project word lists: one reading per line, the surface form, white space,
// then the label; blank lines and lines starting with '#' are skipped. A
// line without a label is an error naming the file and line.
std::vector<Entry> read_word_list(const std::filesystem::path& file);

// The pattern line of an entry: the surface read, the stem written along it
// and "+POS+tags" as one closing output symbol.
std::string pattern_line(const Entry& entry);

} // namespace trelix_tools
