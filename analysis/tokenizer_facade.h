#pragma once

#include <memory>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class BreakIterator;
class RuleBasedBreakIterator;
U_NAMESPACE_END

namespace dez::trelix {

// The word tokenizer of one document (an ICU iterator holds the text it
// walks, so documents never share one).
class TokenizerFacade {
public:
    TokenizerFacade();
    ~TokenizerFacade();
    TokenizerFacade(const TokenizerFacade&) = delete;
    TokenizerFacade& operator=(const TokenizerFacade&) = delete;

    // Set only when built from compiled rules; the same object as `iterator`.
    icu::RuleBasedBreakIterator* rule_based = nullptr;
    std::unique_ptr<icu::BreakIterator> iterator;
};

} // namespace dez::trelix
