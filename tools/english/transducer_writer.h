#pragma once

#include "tools/english/lexicon_entries.h"

#include <filesystem>
#include <vector>

namespace trelix_tools {

// Builds the lexicon transducer of the entries with the project's builder
// (one rule per entry, unioned in buckets, then one union of the buckets) and
// writes it with both symbol tables, the form the engine loads.
void write_lexicon(const LexiconEntries& entries, const std::filesystem::path& file);

// The same for a list of pattern lines fed as they are.
void write_pattern_lines(const std::vector<std::string>& lines, const std::filesystem::path& file);

} // namespace trelix_tools
