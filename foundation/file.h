#pragma once

#include <string>

namespace dez::file {

// The whole file, byte for byte. Any failure raises std::runtime_error
// "can not open file <path>"; nothing partial is returned.
std::string load(const char* path);

} // namespace dez::file
