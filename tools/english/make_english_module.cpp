// Generates the English language module from WordNet and the project's own
// word lists: make_english_module <wordnet folder> <source folder> <output folder>.
// Writes english.language and every file it names; prints what it built.

#include "tools/english/guesser_writer.h"
#include "tools/english/hmm_writer.h"
#include "tools/english/lexicon_entries.h"
#include "tools/english/postagger_writer.h"
#include "tools/english/transducer_writer.h"
#include "tools/english/wordnet_lexicon.h"

#include "engine/tokenizer_cache_file.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace trelix_tools;

namespace {

// Tokens of WordNet's glosses that EM reads to refine the tagger tables.
constexpr std::size_t raw_tokens = 200000;

std::string read_text(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_text(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string regex_escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (std::string(".^$|()[]{}*+?\\").find(c) != std::string::npos)
            out += '\\';
        out += c;
    }
    return out;
}

std::string icu_quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "''";
        else
            out += c;
    }
    return out + "'";
}

// The abbreviation rules of the tokenizer and the splitter's expression file.
void write_abbreviations(const std::vector<Entry>& abbreviations, const fs::path& source,
                         const fs::path& out) {
    std::set<std::string> surfaces;
    for (const auto& entry : abbreviations)
        surfaces.insert(entry.first);
    std::string rules, expression;
    for (const auto& surface : surfaces) {
        rules += icu_quoted(surface) + " {510};\n";
        expression += regex_escaped(surface) + "\n";
    }
    std::string tokenizer = read_text(source / "english.tokenizer.in");
    const std::string marker = "@ABBREVIATIONS@\n";
    const auto at = tokenizer.find(marker);
    if (at == std::string::npos)
        throw std::runtime_error("english.tokenizer.in lacks " + marker);
    tokenizer.replace(at, marker.size(), rules);
    write_text(out / "english.tokenizer", tokenizer);
    write_text(out / "english.abbrev", expression);
}

void add_list(LexiconEntries& lexicon, const std::vector<Entry>& entries) {
    for (const auto& [surface, label] : entries)
        lexicon.add_label(surface, label);
}

// names.txt: "giv Name" or "fam Name".
void add_names(LexiconEntries& lexicon, const fs::path& file) {
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string kind, name;
        if (!(fields >> kind >> name) || (kind != "giv" && kind != "fam"))
            throw std::runtime_error(file.string() + ": expected giv or fam and a name: " + line);
        lexicon.add(name, name, "Prop-Std", kind);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr
            << "usage: make_english_module <wordnet folder> <source folder> <output folder>\n";
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    const fs::path wordnet = argv[1], source = argv[2], out = argv[3];
    try {
        fs::create_directories(out);
        LexiconEntries lexicon;
        const auto irregular = read_irregular_verbs(source / "irregular_verbs.txt");
        const std::set<std::string> closed_verbs = {"be", "have", "do"};
        const auto figures = add_wordnet(lexicon, wordnet, irregular, closed_verbs);
        add_list(lexicon, read_word_list(source / "closed_class.txt"));
        add_list(lexicon, read_word_list(source / "punctuation.txt"));
        add_list(lexicon, read_word_list(source / "clitics.txt"));
        add_list(lexicon, read_word_list(source / "units.txt"));
        add_list(lexicon, read_word_list(source / "extra_words.txt"));
        const auto abbreviations = read_word_list(source / "abbreviations.txt");
        add_list(lexicon, abbreviations);
        add_names(lexicon, source / "names.txt");

        write_guesser(read_word_list(source / "guesser_suffixes.txt"), lexicon,
                      out / "english.guesser");
        write_lexicon(lexicon, out / "english.morph");
        write_abbreviations(abbreviations, source, out);
        for (const char* name : {"english.apostrophe", "english.measure", "english.language"})
            fs::copy_file(source / name, out / name, fs::copy_options::overwrite_existing);
        write_postagger(source / "postagger.txt", out / "english.postagger");
        const auto raw = gloss_sentences(wordnet, raw_tokens);
        const auto accuracy =
            write_hmm(source / "tagged_sample.txt", raw, lexicon, out / "english.hmm");

        // A stale cache would be used as it is: rebuild it from the new rules.
        fs::remove(out / "english.tokenizer_cache");
        dez::trelix::create_tokenizer_cache_file((out / "english.tokenizer").string());

        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::cout << "english module: " << lexicon.size() << " readings from " << figures.lemmas
                  << " WordNet lemmas (" << figures.spellings << " spellings, "
                  << figures.exceptions << " exceptions); HMM held-out accuracy "
                  << accuracy.correct << "/" << accuracy.total << " (" << accuracy.unreachable
                  << " sample tags the lexicon cannot give); " << seconds << " s\n";
    } catch (const std::exception& e) {
        std::cerr << "make_english_module: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
