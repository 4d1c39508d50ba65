#pragma once

#include <functional>
#include <string>

namespace dez::trelix {

// The predicate for a filter text: a RegexFilter for a text of at least two
// bytes that begins and ends with '/', else a LiteralFilter over the text.
std::function<bool(const std::string&)> create_string_filter(const std::string& text);

} // namespace dez::trelix
