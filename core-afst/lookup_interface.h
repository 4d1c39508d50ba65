#pragma once

#include <string>
#include <vector>

namespace dez::afst {

// Type numbers of the lookup strategies: indexes into lookup_mode_names(),
// the names a language's lookup chain uses. "compound" (2) has no strategy.
enum lookup_type : int {
    lookup_not_set = 0,
    lookup_plain = 1,
    lookup_compound = 2,
    lookup_compound_v2 = 3,
    lookup_compound_v3 = 4,
    lookup_compound_numbers = 5,
    lookup_cleaner = 6,
    lookup_guesser = 7,
    lookup_endings = 8,
    lookup_tag = 9,
    lookup_icu = 10,
};

// "not_set", "plain", "compound", "compound_v2", "compound_v3",
// "compound_numbers", "cleaner", "guesser", "endings", "tag", "icu".
const std::vector<std::string>& lookup_mode_names();

// A lookup strategy: the analyses of a word.
class LookupInterface {
public:
    virtual int type() const = 0;
    virtual std::vector<std::string> up(const std::string& word) = 0;
    // "up [word]" and one "  -- analysis" line per result on standard output.
    virtual void print_results(const std::string& word);
    virtual ~LookupInterface();

protected:
    // `prefix` and a result on a line of their own for each result of
    // up(word), each line flushed: the form every strategy prints in.
    void print_result_lines(const std::string& word, const char* prefix);
};

} // namespace dez::afst
