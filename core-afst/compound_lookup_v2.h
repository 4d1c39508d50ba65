#pragma once

#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/lookup_lexicon.h"
#include "core-afst/word_lookup.h"

#include <memory>
#include <string>
#include <vector>

namespace dez::afst {

// Splits a word the lexicon does not hold as a whole into lexicon words
// (at most 13), for languages that write compounds as one word. The search
// lives in the call, so one lookup may serve several threads.
class CompoundLookupV2 : public LookupInterface {
public:
    CompoundLookupV2(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter);
    ~CompoundLookupV2() override;

    int type() const override;
    // "#$" stem "#" component "#" component..., one per segmentation kept.
    std::vector<std::string> up(const std::string& word) override;

private:
    // Holds the lexicon and the converter; its own walk is not used.
    WordLookup lookup_;
};

} // namespace dez::afst
