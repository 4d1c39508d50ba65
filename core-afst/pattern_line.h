#pragma once

#include "foundation/unicode_code_points.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Pattern lines: the short texts that lexicon entries and learned surface
// forms reach the builder as. A raw line maps characters one to one (an
// optional ":" separates what is read from what is written); a line that
// starts with "regex:" adds groups, alternatives, closures on groups and "."
// for any character. "[...]" runs make multi-character symbols.

namespace dez::afst {

class Builder;

namespace detail {
class BuilderCalls;
}

// The characters that may be escaped with a backslash in a pattern line:
// . * \ + ? ( ) [ ] { } , | $ (not the colon).
const std::set<char>& pattern_special_characters();

// Feeds one line to the current rule; the caller opens and closes the rule.
// Results: 1 empty line (nothing done); 0 fed; and, with nothing fed at all:
// -1 a "regex:" line with ")" but no open group, -2 an operator that is not
// recognised, -3 a closure "{" without "}".
int push_arcs_line(Builder& builder, const std::string& line);

// Tokens are (lower, upper) symbol pairs; the upper "format" marks an
// operator pair.

// Tokens of the text after "regex:". A ")" without an open group is reported
// on standard error and gives an empty list.
std::vector<std::pair<std::string, std::string>> parseline(const std::string& text,
                                                           const std::set<char>& specials,
                                                           dez::string::unicode::ErrorCode& error);
std::vector<std::pair<std::string, std::string>> parseline(std::string_view text,
                                                           const std::set<char>& specials,
                                                           dez::string::unicode::ErrorCode& error);

// Tokens of a raw line.
std::vector<std::pair<std::string, std::string>>
parseline_raw(const std::string& text, const std::set<char>& specials,
              dez::string::unicode::ErrorCode& error);

// `parts` becomes {text} or {lower text, upper text}, split at the first
// colon that is neither escaped nor inside "[...]". `first` has no effect.
void split_up_down(std::vector<std::string>& parts, const std::string& text, uint32_t first,
                   const std::set<char>& specials);

// With `start` on a ")" and `position` just after it: true when "*", "+",
// "?" or a "{...}" run follows, which `position` then passes; `out` gets the
// operator's text from `start` on. Otherwise false, with `position` left
// alone and `out` the ")" alone.
bool get_closure_string(std::string::const_iterator& start, std::string::const_iterator& position,
                        const std::string::const_iterator& end, std::string& out);

namespace detail {

// push_arcs_line over any receiver of the builder calls.
int push_arcs_line(BuilderCalls& builder, const std::string& line);

} // namespace detail

} // namespace dez::afst
