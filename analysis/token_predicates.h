#pragma once

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RuleBasedBreakIterator;
class UnicodeString;
U_NAMESPACE_END

namespace dez::trelix {

class Annotation;
class Blackboard;
class Token;

// Every unit of [begin, end) is ICU white space; true for an empty range. A
// position outside the string is not white space.
bool is_space_section(int begin, int end, const icu::UnicodeString& text);

// Some reading's part of speech starts with "Punct".
bool is_punctuation(const Token* token);
// Some token-map tag of the iterator's current rule status starts with
// "+Punct".
bool is_punctuation(Blackboard& blackboard, icu::RuleBasedBreakIterator* rule_based);

// A token with a reading "Punct-Quote" or "Punct-Open".
bool is_open_quote(const Annotation* annotation);

} // namespace dez::trelix
