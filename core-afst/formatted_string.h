#pragma once

#include <memory>
#include <string>

// Formatted strings: the rule compiler's escaped form of token and lexicon
// patterns. Every symbol is read, nothing is written (output "eps"); "."
// is any character, "( | )" with "*", "+", "?" or "{m,n}" make groups,
// "[...]" is one multi-character symbol, a backslash takes the next
// character literally.

namespace dez::afst {

class Builder;

namespace detail {
class BuilderCalls;
}

// Adds the string's arcs to the builder's current rule. Throws
// std::runtime_error "missing braket ]" or "missing } braket]" for an
// unterminated run, and utfcpp's exceptions for invalid UTF-8.
void add_formatted_string(Builder* builder, const char* text);
void add_formatted_string(Builder* builder, const std::string& text);
void add_formatted_string(std::shared_ptr<Builder>& builder, const std::string& text);
void add_formatted_string(std::shared_ptr<Builder>& builder, const char* text);

namespace detail {

// The same over [begin, end) and any receiver of the builder calls; an end
// before begin throws std::out_of_range "Invalid utf-8 iterator position".
void add_formatted_string(BuilderCalls& builder, const char* begin, const char* end);

} // namespace detail

} // namespace dez::afst
