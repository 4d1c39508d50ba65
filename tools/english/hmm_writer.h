#pragma once

#include "tools/english/lexicon_entries.h"

#include <cstddef>
#include <filesystem>

namespace trelix_tools {

struct TaggingScore {
    std::size_t correct = 0;
    std::size_t total = 0;
    // Tokens of the whole sample whose tag is not among the readings the
    // lexicon gives them: the tagger can never choose it.
    std::size_t unreachable = 0;
};

// Trains the HMM tables from the hand-tagged sample (one sentence a line,
// tokens written word_TAG) and writes them as a `.hmm` store. Every fifth
// sentence is held out: it is not trained on, and is tagged with the tables
// (candidate tags from the lexicon) to give the returned score.
TaggingScore write_hmm(const std::filesystem::path& sample, const LexiconEntries& lexicon,
                       const std::filesystem::path& file);

} // namespace trelix_tools
