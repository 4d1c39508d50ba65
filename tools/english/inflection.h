#pragma once

#include <string>

// Regular English inflection by spelling rule. Irregular forms come from
// WordNet's exception lists and the project's own lists; these rules are
// only asked for what those do not cover.
namespace trelix_tools::inflection {

std::string noun_plural(const std::string& noun);
std::string verb_third_person(const std::string& verb);
std::string verb_past(const std::string& verb);
std::string verb_present_participle(const std::string& verb);
std::string comparative(const std::string& adjective);
std::string superlative(const std::string& adjective);

// Whether an adjective takes -er/-est rather than more/most: one syllable,
// or two ending in -y ("happy"), and plain lower-case letters.
bool takes_suffix_comparison(const std::string& adjective);

} // namespace trelix_tools::inflection
