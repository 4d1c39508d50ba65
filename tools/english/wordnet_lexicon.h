#pragma once

#include "tools/english/lexicon_entries.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace trelix_tools {

// Principal parts of the irregular verbs the project lists itself
// (data/english/irregular_verbs.txt: base, past forms, participles, the
// alternatives of one slot joined by '/').
struct IrregularVerb {
    std::vector<std::string> past;
    std::vector<std::string> participle;
};
std::map<std::string, IrregularVerb> read_irregular_verbs(const std::filesystem::path& file);

struct WordNetFigures {
    std::size_t lemmas = 0;
    std::size_t spellings = 0;
    std::size_t exceptions = 0;
};

// Adds the open-class readings of WordNet (index, data and exception files
// under `folder`) with regular inflection: nouns Nn-Sg / Nn-Pl (instances
// Prop-Std), verbs V-Inf, V-Pres, V-Pres-3-Sg, V-Past, V-PaPart, V-PrPart,
// adjectives Adj-Std / Adj-Comp / Adj-Sup, adverbs Adv-Std / Adv-Comp /
// Adv-Sup. Verbs in `closed_verbs` are left to the closed-class list.
// Lemmas of several words are skipped: tokens are single words.
WordNetFigures add_wordnet(LexiconEntries& entries, const std::filesystem::path& folder,
                           const std::map<std::string, IrregularVerb>& irregular,
                           const std::set<std::string>& closed_verbs);

} // namespace trelix_tools
