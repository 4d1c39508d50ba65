#pragma once

#include "tools/english/lexicon_entries.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace trelix_tools {

struct TaggingScore {
    std::size_t correct = 0;
    std::size_t total = 0;
    // Tokens of the whole sample whose tag is not among the readings the
    // lexicon gives them: the tagger can never choose it.
    std::size_t unreachable = 0;
};

// Trains the HMM tables and writes them as a `.hmm` store. The counts come
// from the hand-tagged sample (one sentence a line, tokens written word_TAG)
// and are refined by EM over `raw` (sentences of plain tokens), with the
// lexicon's readings as the tags a word may have. Every fifth sample
// sentence is held out: not trained on, but tagged with the tables to give
// the returned score.
TaggingScore write_hmm(const std::filesystem::path& sample,
                       const std::vector<std::vector<std::string>>& raw,
                       const LexiconEntries& lexicon, const std::filesystem::path& file);

// Sentences of plain tokens from WordNet's glosses (the text after '|' in the
// data files), cut at ';' and at punctuation the way the tokenizer cuts.
std::vector<std::vector<std::string>> gloss_sentences(const std::filesystem::path& wordnet,
                                                      std::size_t max_tokens);

} // namespace trelix_tools
