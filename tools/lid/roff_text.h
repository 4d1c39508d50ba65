#pragma once

#include <string>
#include <vector>

namespace trelix_tools {

// The prose of one manual page: roff requests, escapes, comments, literal
// (no-fill) blocks, examples and tables removed; one entry per paragraph.
// Font and heading macros keep their text.
std::vector<std::string> roff_prose(const std::string& page);

// Splits the output of several pages run together at their title requests
// (".TH", ".Dt").
std::vector<std::string> split_pages(const std::string& text);

} // namespace trelix_tools
