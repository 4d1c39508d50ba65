#pragma once

#include <fst/fst-decl.h>

#include <cstddef>
#include <memory>

namespace dez::afst {

class AFst;

// The lexicon a lookup strategy is made with: a loaded AFst, or a transducer
// that is wrapped in a new AFst. One constructor per strategy then takes
// both.
class LookupLexicon {
public:
    LookupLexicon(std::shared_ptr<AFst> lexicon);
    LookupLexicon(std::shared_ptr<::fst::StdVectorFst> transducer);
    LookupLexicon(std::nullptr_t) {}

    // The AFst; std::invalid_argument "<who>: no lexicon" without one.
    std::shared_ptr<AFst> take(const char* who) &&;
    // The AFst, null without one.
    std::shared_ptr<AFst> take_or_null() && { return std::move(lexicon_); }

private:
    std::shared_ptr<AFst> lexicon_;
};

} // namespace dez::afst
