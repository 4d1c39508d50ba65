#pragma once

#include <filesystem>
#include <string>

namespace dez::file {

// File-system questions that never throw: a path the file system cannot
// query (no permission, too long, a link loop) counts as absent.
bool exists(const std::filesystem::path& path);
bool is_regular_file(const std::filesystem::path& path);
bool is_directory(const std::filesystem::path& path);

// The whole file, byte for byte. Any failure raises std::runtime_error
// "can not open file <path>"; nothing partial is returned.
std::string load(const char* path);

} // namespace dez::file
