#pragma once

#include <string>

namespace dez::json {

// s escaped for use inside a JSON string literal. Valid multi-byte UTF-8 is
// copied unchanged; each invalid sequence becomes U+FFFD so the output stays
// valid JSON.
std::string escape_string(const std::string& s);

} // namespace dez::json
