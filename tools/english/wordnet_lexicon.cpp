#include "tools/english/wordnet_lexicon.h"

#include "tools/english/inflection.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace trelix_tools {

namespace fs = std::filesystem;

namespace {

std::ifstream open(const fs::path& file) {
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read WordNet file " + file.string());
    return in;
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Words the tokenizer can give as one token: letters, digits, hyphens,
// apostrophes and inner full stops; no spaces (WordNet writes them '_').
bool single_word(const std::string& word) {
    // Single letters are nouns in WordNet (the letter "a"); as tokens they are
    // articles, pronouns, initials or units, which the project's lists give.
    if (word.size() < 2 || word.find('_') != std::string::npos)
        return false;
    // Numbers in digits take their readings from the tokenizer rules.
    const auto letter = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalpha(u) || u >= 0x80;
    };
    if (std::none_of(word.begin(), word.end(), letter))
        return false;
    return std::all_of(word.begin(), word.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || c == '-' || c == '\'' || c == '.' || u >= 0x80;
    });
}

bool plain_letters(const std::string& word) {
    return std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalpha(static_cast<unsigned char>(c)) || c == '-';
    });
}

std::set<std::string> read_index(const fs::path& file) {
    auto in = open(file);
    std::set<std::string> lemmas;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == ' ')
            continue; // the licence header
        lemmas.insert(line.substr(0, line.find(' ')));
    }
    return lemmas;
}

struct Spelling {
    bool common = false;   // a member of a class synset
    bool instance = false; // a member of a synset that is an instance of another
};

// Spellings with their case, as the synsets write them.
std::map<std::string, Spelling> read_data(const fs::path& file) {
    auto in = open(file);
    std::map<std::string, Spelling> spellings;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == ' ')
            continue;
        std::istringstream fields(line.substr(0, line.find('|')));
        std::string offset, lex_file, type, count_hex;
        fields >> offset >> lex_file >> type >> count_hex;
        const int count = std::stoi(count_hex, nullptr, 16);
        std::vector<std::string> words;
        for (int i = 0; i < count; ++i) {
            std::string word, lex_id;
            fields >> word >> lex_id;
            // Adjective position markers: "(a)", "(p)", "(ip)".
            if (const auto marker = word.find('('); marker != std::string::npos)
                word.erase(marker);
            words.push_back(word);
        }
        const bool instance = line.find(" @i ") != std::string::npos;
        for (const auto& word : words) {
            auto& spelling = spellings[word];
            (instance ? spelling.instance : spelling.common) = true;
        }
    }
    return spellings;
}

// Exception list: inflected form -> base forms.
std::multimap<std::string, std::string> read_exceptions(const fs::path& file) {
    auto in = open(file);
    std::multimap<std::string, std::string> forms; // base -> inflected
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string form, base;
        fields >> form;
        while (fields >> base)
            forms.emplace(base, form);
    }
    return forms;
}

bool ends_with(const std::string& word, const std::string& suffix) {
    return word.size() > suffix.size() &&
           word.compare(word.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void add_nouns(LexiconEntries& entries, const fs::path& folder, WordNetFigures& figures) {
    const auto lemmas = read_index(folder / "index.noun");
    const auto spellings = read_data(folder / "data.noun");
    const auto exceptions = read_exceptions(folder / "noun.exc");
    figures.lemmas += lemmas.size();
    figures.exceptions += exceptions.size();
    for (const auto& [word, kind] : spellings) {
        if (!single_word(word) || !lemmas.count(lower(word)))
            continue;
        ++figures.spellings;
        const bool capital = std::isupper(static_cast<unsigned char>(word[0])) != 0;
        // A capitalised noun is also read as a name: months, days, languages.
        if (capital)
            entries.add(word, word, "Prop-Std");
        if (!kind.common)
            continue;
        entries.add(word, word, "Nn-Sg");
        const auto [first, last] = exceptions.equal_range(word);
        if (first != last) {
            for (auto it = first; it != last; ++it)
                if (single_word(it->second))
                    entries.add(it->second, word, "Nn-Pl");
        } else if (plain_letters(word) && word.size() > 1) {
            entries.add(inflection::noun_plural(word), word, "Nn-Pl");
        }
    }
}

void add_verb_form(LexiconEntries& entries, const std::string& form, const std::string& base,
                   const std::string& pos) {
    if (single_word(form))
        entries.add(form, base, pos);
}

void add_verbs(LexiconEntries& entries, const fs::path& folder,
               const std::map<std::string, IrregularVerb>& irregular,
               const std::set<std::string>& closed_verbs, WordNetFigures& figures) {
    const auto lemmas = read_index(folder / "index.verb");
    const auto spellings = read_data(folder / "data.verb");
    const auto exceptions = read_exceptions(folder / "verb.exc");
    figures.lemmas += lemmas.size();
    figures.exceptions += exceptions.size();
    for (const auto& [word, kind] : spellings) {
        (void)kind;
        if (!single_word(word) || !lemmas.count(lower(word)) || closed_verbs.count(word))
            continue;
        ++figures.spellings;
        entries.add(word, word, "V-Inf");
        entries.add(word, word, "V-Pres");
        bool has_past = false, has_third = false, has_ing = false;
        if (const auto found = irregular.find(word); found != irregular.end()) {
            for (const auto& past : found->second.past)
                add_verb_form(entries, past, word, "V-Past");
            for (const auto& participle : found->second.participle)
                add_verb_form(entries, participle, word, "V-PaPart");
            has_past = true;
        }
        const auto [first, last] = exceptions.equal_range(word);
        for (auto it = first; it != last; ++it) {
            const std::string& form = it->second;
            if (ends_with(form, "ing")) {
                add_verb_form(entries, form, word, "V-PrPart");
                has_ing = true;
            } else if (form == inflection::verb_third_person(word) ||
                       (ends_with(form, "s") && !ends_with(form, "ss"))) {
                add_verb_form(entries, form, word, "V-Pres-3-Sg");
                has_third = true;
            } else if (!irregular.count(word)) {
                // WordNet does not say which of the two a listed form is, and
                // lists old forms ("wrought") beside the regular ones: only
                // the project's own list of irregular verbs drops "-ed".
                add_verb_form(entries, form, word, "V-Past");
                add_verb_form(entries, form, word, "V-PaPart");
            }
        }
        if (!plain_letters(word))
            continue;
        if (!has_third)
            entries.add(inflection::verb_third_person(word), word, "V-Pres-3-Sg");
        if (!has_ing)
            entries.add(inflection::verb_present_participle(word), word, "V-PrPart");
        if (!has_past) {
            const std::string past = inflection::verb_past(word);
            entries.add(past, word, "V-Past");
            entries.add(past, word, "V-PaPart");
        }
    }
}

// Adjectives and adverbs share the degree forms.
void add_graded(LexiconEntries& entries, const fs::path& folder, const std::string& name,
                const std::string& prefix, bool regular_degrees, WordNetFigures& figures) {
    const auto lemmas = read_index(folder / ("index." + name));
    const auto spellings = read_data(folder / ("data." + name));
    const auto exceptions = read_exceptions(folder / (name + ".exc"));
    figures.lemmas += lemmas.size();
    figures.exceptions += exceptions.size();
    for (const auto& [word, kind] : spellings) {
        (void)kind;
        if (!single_word(word) || !lemmas.count(lower(word)))
            continue;
        ++figures.spellings;
        entries.add(word, word, prefix + "-Std");
        const auto [first, last] = exceptions.equal_range(word);
        for (auto it = first; it != last; ++it) {
            const std::string& form = it->second;
            const bool superlative = ends_with(form, "st");
            const bool comparative = ends_with(form, "er") || ends_with(form, "ser");
            if (superlative || !comparative)
                add_verb_form(entries, form, word, prefix + "-Sup");
            if (comparative || !superlative)
                add_verb_form(entries, form, word, prefix + "-Comp");
        }
        // An adverb takes -er/-est where its adjective does ("fast",
        // "hard"); "only" has no "onlier", "good" no "gooder".
        const bool adverb_without_adjective_degree =
            prefix == "Adv" && !entries.has_surface(inflection::comparative(word));
        if (first == last && regular_degrees && !adverb_without_adjective_degree &&
            inflection::takes_suffix_comparison(word)) {
            entries.add(inflection::comparative(word), word, prefix + "-Comp");
            entries.add(inflection::superlative(word), word, prefix + "-Sup");
        }
    }
}

} // namespace

std::map<std::string, IrregularVerb> read_irregular_verbs(const fs::path& file) {
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    auto split = [](const std::string& slot) {
        std::vector<std::string> forms;
        std::istringstream parts(slot);
        for (std::string form; std::getline(parts, form, '/');)
            if (!form.empty())
                forms.push_back(form);
        return forms;
    };
    std::map<std::string, IrregularVerb> verbs;
    std::size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string base, past, participle;
        if (!(fields >> base >> past >> participle))
            throw std::runtime_error(file.string() + ":" + std::to_string(number) +
                                     ": expected base, past and participle");
        verbs[base] = IrregularVerb{split(past), split(participle)};
    }
    return verbs;
}

WordNetFigures add_wordnet(LexiconEntries& entries, const fs::path& folder,
                           const std::map<std::string, IrregularVerb>& irregular,
                           const std::set<std::string>& closed_verbs) {
    WordNetFigures figures;
    add_nouns(entries, folder, figures);
    add_verbs(entries, folder, irregular, closed_verbs, figures);
    add_graded(entries, folder, "adj", "Adj", true, figures);
    add_graded(entries, folder, "adv", "Adv", true, figures);
    return figures;
}

} // namespace trelix_tools
