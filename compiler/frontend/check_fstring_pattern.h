#pragma once

#include <string>

namespace dez::compiler {

// One f-string variable, braces included: "{capture.name}",
// "{normalize(capture.name)}", "{this[0].text}".
bool check_fstring_variable(const std::string& variable);

// The number of single-brace variables in an f-string text; 0 when it has
// none ("{{" and "}}" are escaped braces), -2 when one is malformed and -1 when
// one holds a forbidden word. Keeps no state, so it also serves analyses.
int check_fstring_pattern(const std::string& text);

} // namespace dez::compiler
