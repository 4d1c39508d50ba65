#pragma once

#include <iosfwd>
#include <string>

namespace dez::trelix {

// Writes '"', the text unchanged, '"'. Holds a reference: use it within the
// output expression that makes it.
struct quoted_string {
    explicit quoted_string(const std::string& text) : text(text) {}
    const std::string& text;
};

std::ostream& operator<<(std::ostream& os, const quoted_string& quoted);

} // namespace dez::trelix
