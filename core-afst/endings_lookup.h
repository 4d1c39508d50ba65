#pragma once

#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/lookup_lexicon.h"

#include <memory>
#include <string>
#include <vector>

namespace dez::afst {

class AFst;

// Long capitalised words read from their end through a lexicon of reversed
// endings: each ending found splits the word into the part before it (taken
// as a proper name) and the ending's analysis. The walk state lives in the
// call, so one lookup may serve several threads.
class EndingsLookup : public LookupInterface {
public:
    // The converter is kept but never applied: the capital must stay visible.
    EndingsLookup(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter);
    ~EndingsLookup() override;

    int type() const override;
    // "#$" stem ending-lemma "#" stem "+Prop#" analysis "+reverse", in the
    // order the endings are found; nothing for words of 7 bytes or fewer or
    // not starting with A to Z.
    std::vector<std::string> up(const std::string& word) override;
    // One "  -c- " line per result.
    void print_results(const std::string& word) override;

private:
    std::shared_ptr<AFst> lexicon_;
    std::shared_ptr<ILookupConverter> converter_;
};

// "#" and the part for every non-empty part, joined.
std::string construct_stem(const std::vector<std::string>& parts);

} // namespace dez::afst
