#pragma once

#include <filesystem>
#include <string>

// Path helpers kept beside the platform's own path functions.
namespace std::filesystem {

// Replaces a leading "~", "$HOME", "${HOME}" or "$(HOME)" followed by a
// separator and at least one more character with the value of HOME.
path resolve_home(const path& p);

// HOME joined with the rest of text after prefix and one separator character.
path __resolve_name_offset(const std::string& text, std::string prefix);

// The last count components of a path, for short file names in messages.
std::string chop_filename(const std::string& text, int count);

} // namespace std::filesystem
