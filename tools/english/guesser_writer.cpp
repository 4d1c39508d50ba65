#include "tools/english/guesser_writer.h"

#include "core-afst/builder.h"

#include <set>

namespace trelix_tools {

void write_guesser(const std::vector<Entry>& readings, LexiconEntries& lexicon,
                   const std::filesystem::path& file) {
    std::set<std::string> suffixes;
    for (const auto& [suffix, label] : readings) {
        suffixes.insert(suffix);
        lexicon.add_label("~" + suffix, label);
    }
    dez::afst::Builder guesser;
    for (const auto& suffix : suffixes) {
        guesser.open_rule();
        // At least one letter before the suffix: a bare suffix is no word.
        guesser.open_group();
        for (char c = 'a'; c <= 'z'; ++c) {
            if (c != 'a')
                guesser.separator("union");
            guesser.pushArc(std::string(1, c), "eps");
        }
        guesser.close_group("+");
        for (std::size_t i = 0; i < suffix.size(); ++i)
            guesser.pushArc(std::string(1, suffix[i]), i + 1 == suffix.size() ? "~" + suffix : "eps");
        guesser.close_rule();
    }
    guesser.applyUnion(0);
    guesser.build(true);
    guesser.save(file.string());
}

} // namespace trelix_tools
