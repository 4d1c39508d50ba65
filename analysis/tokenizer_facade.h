#pragma once

#include <memory>

#include <unicode/uversion.h>

#include "analysis/offset_table16.h"

U_NAMESPACE_BEGIN
class BreakIterator;
class RuleBasedBreakIterator;
class UnicodeString;
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

    // Keeps the compiled rules alive: an iterator made from serialised rules
    // reads them in place, and a document may outlive its language module.
    // Declared first so that it goes last.
    std::shared_ptr<const void> rules_owner;
    // Scratch of the sentence being tokenized, reused from one sentence to
    // the next so that a document allocates them once. Declared before the
    // iterator, which walks `span`.
    std::unique_ptr<icu::UnicodeString> span;
    OffsetTable16 span_table;
    // Set only when built from compiled rules; the same object as `iterator`.
    icu::RuleBasedBreakIterator* rule_based = nullptr;
    std::unique_ptr<icu::BreakIterator> iterator;
};

} // namespace dez::trelix
