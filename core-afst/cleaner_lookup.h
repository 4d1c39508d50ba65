#pragma once

#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/lookup_lexicon.h"
#include "core-afst/word_lookup.h"

#include <memory>
#include <string>
#include <vector>

namespace dez::afst {

// Words with a letter stretched by repetition ("cooool"): runs of three or
// more are cut to two, and the word is looked up with each such pair kept
// double or made single; every reading found gets "+cleanup". The embedded
// WordLookup keeps its walk state, so one cleaner serves one thread at a time.
class CleanerLookup : public LookupInterface {
public:
    CleanerLookup(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter);
    ~CleanerLookup() override;

    int type() const override;
    // Nothing for words longer than 79 bytes, without a stretched run, with
    // more than 3 of them, or of 2 bytes or fewer once cut. Results of the
    // candidates in byte order, not merged.
    std::vector<std::string> up(const std::string& word) override;
    // One "  -g- " line per result.
    void print_results(const std::string& word) override;

private:
    WordLookup lookup_;
};

} // namespace dez::afst
