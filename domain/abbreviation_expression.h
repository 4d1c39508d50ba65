#pragma once

#include <string>

namespace dez::trelix::core {

// The lines of a word-list file (abbreviations, apostrophe forms, measures),
// trimmed, joined with "|" into one alternation; empty lines add nothing.
// An empty file name gives "" quietly; a file that cannot be read gives what
// was read so far (often "") and a warning on the runtime channel. Throws
// dez::Exception when the alternation is not a valid expression.
std::string build_abbreviation_expression(const std::string& filename);

} // namespace dez::trelix::core
