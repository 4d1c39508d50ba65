#pragma once

#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/lookup_lexicon.h"
#include "core-afst/results_memento_v2.h"
#include "core-afst/word_lookup.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace dez::afst {

// A chunk of a tag: a byte range of the word.
using TagChunk = std::pair<const char*, const char*>;

// Social-media tags ("#greatday", "@GreatDay"): the tag's body read as a
// sequence of lexicon words. A body that begins in lower case is split like
// a compound (digit runs skipped); a camel-case body is cut at its case
// changes and each chunk is looked up as a word, with a fallback tag when it
// is not found. Any other word gives nothing. The walk state lives in the
// call, so one lookup may serve several threads.
class TagLookup : public LookupInterface {
public:
    TagLookup(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter);
    ~TagLookup() override;

    int type() const override;
    std::vector<std::string> up(const std::string& word) override;

private:
    std::vector<std::string> compound_road(const std::string& word) const;
    std::vector<std::string> camel_case_road(const std::string& word,
                                             const std::vector<TagChunk>& chunks) const;

    // Holds the lexicon and the converter; its own walk is not used.
    WordLookup lookup_;
};

// "#+hash-tag" for a word whose first byte is '#', "#+add-tag" for '@', ""
// otherwise (the empty word included).
const std::string& get_tag_property(const std::string& word);

// '#' or '@'.
bool is_tag_begin_char(uint64_t code_point);

// Every code point of the range is upper case; true for an empty range.
bool all_caps(const TagChunk& chunk);

// The body of a tag cut at case changes, digit runs and '_': "#ILoveNY"
// gives "I", "Love", "NY"; "#2021Goals" gives "2021", "Goals". Nothing for
// a word shorter than 2 bytes.
std::vector<TagChunk> is_camelcase(const std::string& word);

// Leaves the segmentations as they are.
void filter_entries_of_size_one(std::vector<CompoundSegmentation>& segmentations);

} // namespace dez::afst
