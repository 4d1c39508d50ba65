#pragma once

#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"

#include <memory>
#include <string>
#include <vector>

namespace dez::afst {

// A reading from the Unicode general categories of a word's characters, for
// punctuation, currency signs, numbers and capitalised words that no lexicon
// knows. No lexicon, no state.
class ICULookup : public LookupInterface {
public:
    // The converter is not kept: words are classified as written.
    explicit ICULookup(std::shared_ptr<ILookupConverter> converter);
    ~ICULookup() override;

    int type() const override;
    // At most one reading: the word with "+Punct", "+Punct-Open",
    // "+Punct-Close", "+Nn-Sym+currency", "+Num-Std" or "+Prop-Std".
    std::vector<std::string> up(const std::string& word) override;
    // One "  -g- " line per result.
    void print_results(const std::string& word) override;
};

} // namespace dez::afst
