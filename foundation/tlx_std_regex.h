#pragma once

#include <regex>
#include <string>

namespace dez::tlx {

// Standard-library expressions (ECMAScript) of rule-language patterns, their
// brackets converted by convert_range. Not cached.
std::regex tlx_regex(const std::string& pattern);
std::regex tlx_regex_case_insenitive(const std::string& pattern);

} // namespace dez::tlx
