#include "tools/english/guesser_writer.h"

#include "core-afst/builder.h"
#include "core-afst/stack_item.h"

#include <fst/vector-fst.h>

#include <map>
#include <stdexcept>
#include <string>

namespace trelix_tools {

namespace {

// A suffix key: the letters that must not precede it ("[^siu]s") and the
// suffix itself.
struct Suffix {
    std::string excluded;
    std::string text;
};

Suffix parse_suffix(const std::string& key) {
    if (key.rfind("[^", 0) != 0)
        return {"", key};
    const auto close = key.find(']');
    if (close == std::string::npos || close + 1 >= key.size())
        throw std::runtime_error("guesser suffix without its letters: " + key);
    return {key.substr(2, close - 2), key.substr(close + 1)};
}

void letter_group(dez::afst::Builder& guesser, const std::string& excluded) {
    guesser.open_group();
    bool first = true;
    for (char c = 'a'; c <= 'z'; ++c) {
        if (excluded.find(c) != std::string::npos)
            continue;
        if (!first)
            guesser.separator("union");
        first = false;
        guesser.pushArc(std::string(1, c), "eps");
    }
}

} // namespace

void write_guesser(const std::vector<Entry>& readings, LexiconEntries& lexicon,
                   const std::filesystem::path& file) {
    std::map<std::string, Suffix> suffixes;
    for (const auto& [key, label] : readings) {
        const Suffix suffix = parse_suffix(key);
        suffixes.emplace(key, suffix);
        lexicon.add_label("~" + suffix.text, label);
    }
    dez::afst::Builder guesser;
    for (const auto& [key, suffix] : suffixes) {
        guesser.open_rule();
        // At least one letter before the suffix: a bare suffix is no word.
        if (suffix.excluded.empty()) {
            letter_group(guesser, "");
            guesser.close_group("+");
        } else {
            letter_group(guesser, "");
            guesser.close_group("*");
            letter_group(guesser, suffix.excluded);
            guesser.close_group("");
        }
        for (std::size_t i = 0; i < suffix.text.size(); ++i)
            guesser.pushArc(std::string(1, suffix.text[i]),
                            i + 1 == suffix.text.size() ? "~" + suffix.text : "eps");
        guesser.close_rule();
    }
    guesser.applyUnion(0);
    guesser.build(true);
    // Every state gets an arc "??" into a dead end. The guesser counts such an
    // arc as a match wherever the walk stands, also at the end of the word,
    // and never follows it: no position is ever stuck, so no spelling fix is
    // tried. A word ending in none of the suffixes is simply not guessed;
    // without the arcs every word would set off fixes that walk the letter
    // loop again and again (tens of milliseconds a word).
    auto& network = *guesser.top->network;
    const int states = network.NumStates();
    const int dead_end = network.AddState();
    for (int state = 0; state < states; ++state)
        guesser.addArc(state, dead_end, "??", "eps");
    network.SetInputSymbols(guesser.lower_table.get());
    network.SetOutputSymbols(guesser.upper_table.get());
    guesser.save(file.string());
}

} // namespace trelix_tools
