#pragma once

#include <string>

namespace dez::system {

// The variable's value when set (an empty value counts as set), else the default.
std::string get_environment(const std::string& name, std::string default_value);

// The variable read as a base-10 integer the way strtol reads it; values beyond
// the range of int clamp to its limits. Unset gives the default.
int get_environment_int(const std::string& name, int default_value);

} // namespace dez::system
