#pragma once

#include <filesystem>

// Where the library and the running program live, for the engine's default
// root folder.
namespace dez::system::path {

// The folder of this library's file (of the program, when the library's code
// is linked into it), with its trailing separator; empty when the loader does
// not know it.
std::filesystem::path this_function();

// A root folder guessed from the running executable (see root_of_executable);
// when the executable cannot be found, the parent of the canonical folder of
// `relative` (a missing folder raises the filesystem error).
std::filesystem::path sdk(const char* relative);

// The parent of the executable's canonical folder, one level further up when
// that parent's name begins with "debug" or "release".
std::filesystem::path root_of_executable(const std::filesystem::path& executable);

// The whole target text of a symbolic link, however long; empty when it
// cannot be read.
std::filesystem::path read_link(const std::filesystem::path& link);

} // namespace dez::system::path
