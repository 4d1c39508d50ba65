#pragma once

#include <string>

namespace dez::tlx {

// The rule language writes character classes in brackets; they become
// non-capturing alternations of single bytes: "[a-c.]" gives "(?:a|b|c|\.)".
// Fails with std::runtime_error on an unescaped "]" outside brackets and on a
// range whose end byte is below its begin byte.
std::string convert_range(const std::string& pattern);

} // namespace dez::tlx
