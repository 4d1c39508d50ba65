#pragma once

#include "tools/english/lexicon_entries.h"

#include <filesystem>
#include <vector>

namespace trelix_tools {

// The suffix guesser: any run of lower-case letters followed by one of the
// suffixes reaches a final state whose output is "~" + suffix. The guesser
// lookup then reads that output in the lexicon, so the readings of each
// suffix (`readings`: suffix -> label) are also added to `lexicon` under
// "~" + suffix, a spelling no token has.
void write_guesser(const std::vector<Entry>& readings, LexiconEntries& lexicon,
                   const std::filesystem::path& file);

} // namespace trelix_tools
