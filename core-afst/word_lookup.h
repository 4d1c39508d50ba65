#pragma once

#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/lookup_lexicon.h"
#include "core-afst/state_item.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace dez::afst {

class AFst;

// The plain lookup: the analyses of a whole word, and the entries that match
// the beginning of a text range. The whole-word form keeps its walk state in
// the object, so one WordLookup serves one thread at a time; the form taking
// a scratch and the range form leave the object alone and serve any number.
class WordLookup : public LookupInterface {
public:
    // Not consulted: the range form always ends matches at the end of the
    // range or before a space.
    enum class end_on_space { off = 0, on = 1 };

    WordLookup(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter);
    ~WordLookup() override;

    int type() const override;
    // The analyses of the (converted) word, sorted byte-wise, no duplicates.
    std::vector<std::string> up(const std::string& word) override;
    // The same, walking in the caller's scratch (one per thread).
    std::vector<std::string> up(const std::string& word, WalkScratch<uint32_t>& scratch) const;
    // For each entry matching the text from `begin`: (bytes from `begin` to
    // its end, analysis), in the order found, at most 21. No converter.
    std::vector<std::pair<int, std::string>> up(const char* begin, const char* end,
                                                end_on_space mode) const;

    const std::shared_ptr<AFst>& afst() const { return lexicon_; }
    const std::shared_ptr<ILookupConverter>& converter() const { return converter_; }

private:
    std::shared_ptr<AFst> lexicon_;
    std::shared_ptr<ILookupConverter> converter_;
    WalkScratch<uint32_t> scratch_;
};

} // namespace dez::afst
