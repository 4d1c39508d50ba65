#include "tools/english/inflection.h"

#include <algorithm>

namespace trelix_tools::inflection {

namespace {

bool is_vowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

bool ends_with(const std::string& word, const char* suffix) {
    const std::string s(suffix);
    return word.size() >= s.size() && word.compare(word.size() - s.size(), s.size(), s) == 0;
}

int vowel_groups(const std::string& word) {
    int groups = 0;
    bool in_group = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        // A 'y' after a consonant sounds as a vowel ("by", "happy").
        const bool vowel = is_vowel(c) || (c == 'y' && i > 0 && !is_vowel(word[i - 1]));
        if (vowel && !in_group)
            ++groups;
        in_group = vowel;
    }
    // A silent final e ("make") adds no syllable.
    if (groups > 1 && ends_with(word, "e") && !ends_with(word, "le") && !ends_with(word, "ee"))
        --groups;
    return groups;
}

// "stop" -> "stopp-": one syllable ending consonant, single vowel, consonant.
bool doubles_final_consonant(const std::string& word) {
    const std::size_t n = word.size();
    if (n < 3 || vowel_groups(word) != 1)
        return false;
    const char last = word[n - 1];
    if (is_vowel(last) || last == 'w' || last == 'x' || last == 'y')
        return false;
    return is_vowel(word[n - 2]) && !is_vowel(word[n - 3]);
}

bool consonant_y(const std::string& word) {
    return word.size() >= 2 && word.back() == 'y' && !is_vowel(word[word.size() - 2]);
}

bool sibilant(const std::string& word) {
    return ends_with(word, "s") || ends_with(word, "x") || ends_with(word, "z") ||
           ends_with(word, "ch") || ends_with(word, "sh");
}

} // namespace

std::string noun_plural(const std::string& noun) {
    if (consonant_y(noun))
        return noun.substr(0, noun.size() - 1) + "ies";
    if (sibilant(noun))
        return noun + "es";
    return noun + "s";
}

std::string verb_third_person(const std::string& verb) {
    if (consonant_y(verb))
        return verb.substr(0, verb.size() - 1) + "ies";
    if (sibilant(verb) ||
        (ends_with(verb, "o") && verb.size() >= 2 && !is_vowel(verb[verb.size() - 2])))
        return verb + "es";
    return verb + "s";
}

std::string verb_past(const std::string& verb) {
    if (ends_with(verb, "e"))
        return verb + "d";
    if (consonant_y(verb))
        return verb.substr(0, verb.size() - 1) + "ied";
    if (doubles_final_consonant(verb))
        return verb + verb.back() + "ed";
    return verb + "ed";
}

std::string verb_present_participle(const std::string& verb) {
    if (ends_with(verb, "ie"))
        return verb.substr(0, verb.size() - 2) + "ying";
    if (ends_with(verb, "e") && !ends_with(verb, "ee") && !ends_with(verb, "ye") &&
        !ends_with(verb, "oe") && verb.size() > 2)
        return verb.substr(0, verb.size() - 1) + "ing";
    if (doubles_final_consonant(verb))
        return verb + verb.back() + "ing";
    return verb + "ing";
}

std::string comparative(const std::string& adjective) {
    if (ends_with(adjective, "e"))
        return adjective + "r";
    if (consonant_y(adjective))
        return adjective.substr(0, adjective.size() - 1) + "ier";
    if (doubles_final_consonant(adjective))
        return adjective + adjective.back() + "er";
    return adjective + "er";
}

std::string superlative(const std::string& adjective) {
    if (ends_with(adjective, "e"))
        return adjective + "st";
    if (consonant_y(adjective))
        return adjective.substr(0, adjective.size() - 1) + "iest";
    if (doubles_final_consonant(adjective))
        return adjective + adjective.back() + "est";
    return adjective + "est";
}

bool takes_suffix_comparison(const std::string& adjective) {
    if (adjective.size() < 3 || !std::all_of(adjective.begin(), adjective.end(),
                                             [](char c) { return c >= 'a' && c <= 'z'; }))
        return false;
    const int groups = vowel_groups(adjective);
    return groups == 1 || (groups == 2 && consonant_y(adjective));
}

} // namespace trelix_tools::inflection
