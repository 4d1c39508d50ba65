#pragma once

#include <iosfwd>
#include <string>

namespace dez::trelix {

// Writes a text as a JSON string literal: '"', the escaped text, '"'.
// Holds a reference: use it within the output expression that makes it.
struct encoded_quoted_string {
    explicit encoded_quoted_string(const std::string& text) : text(text) {}
    const std::string& text;
};

std::ostream& operator<<(std::ostream& os, const encoded_quoted_string& quoted);

} // namespace dez::trelix
