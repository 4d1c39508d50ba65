// Generates the language-identification lexicon lid.fst and its held-out
// evaluation lines from the translated manual pages that Debian installs.
//
//   make_lid_data <manual folder> <output folder> [words per language]
//
// Every fifth page of a language is kept apart; its sentences of 5 to 15 words
// become heldout.tsv ("CODE<TAB>sentence"), used by the accuracy tool, the
// tests and the benchmark. The other pages are read word by word exactly as
// the identifier walks a text; the most frequent words of each language get
// a vote per language that uses them, scored by that language's share of the
// word's relative frequency over all languages.

#include "tools/lid/roff_text.h"

#include "analysis/lid_word_walk.h"
#include "core-afst/builder.h"

#include <fst/vector-fst.h>

#include <utf8.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

namespace fs = std::filesystem;
using trelix_tools::roff_prose;
using trelix_tools::split_pages;

struct LanguageSource {
    std::string code;
    std::vector<std::string> folders;
    // Written without spaces between words: identified by script alone, so
    // no word list; held-out lines are cut by length instead of by words.
    bool unsegmented = false;
};

// English comes from the untranslated pages of the sections that hold the
// most prose.
const std::vector<LanguageSource> sources = {
    {"CS", {"cs"}},           {"DA", {"da"}},
    {"DE", {"de"}},           {"EL", {"el"}},
    {"EN", {"man5", "man7"}}, {"ES", {"es"}},
    {"FI", {"fi"}},           {"FR", {"fr"}},
    {"HU", {"hu"}},           {"ID", {"id"}},
    {"IT", {"it"}},           {"JA", {"ja"}, true},
    {"KO", {"ko"}},           {"MK", {"mk"}},
    {"NL", {"nl"}},           {"NO", {"nb"}},
    {"PL", {"pl"}},           {"PT", {"pt_BR", "pt"}},
    {"RO", {"ro"}},           {"RU", {"ru"}},
    {"SR", {"sr"}},           {"SV", {"sv"}},
    {"TR", {"tr"}},           {"UK", {"uk"}},
    {"VI", {"vi"}},           {"ZH", {"zh_CN", "zh_TW"}, true},
};

// Pages held apart: every fifth.
constexpr std::size_t heldout_every = 5;
constexpr std::size_t heldout_offset = 2;
// Held-out lines kept per language.
constexpr std::size_t heldout_lines = 400;
// Words of a language kept in the lexicon, most frequent first.
std::size_t words_per_language = 6000;
// A word must be seen this often in a language to vote for it.
constexpr long min_count = 3;
// A vote below this share of the word's frequency is left out.
constexpr double min_share = 0.1;

// The decompressed pages of one manual folder, in file-name order; with
// `held_out_only` only the files whose pages are held out.
std::string read_folder(const fs::path& folder, bool held_out_only) {
    if (!fs::is_directory(folder))
        throw std::runtime_error("missing manual folder " + folder.string() +
                                 " (install the manpages packages: scripts/install-deps)");
    const std::string every = held_out_only ? " | awk 'NR % " + std::to_string(heldout_every) +
                                                  " == " + std::to_string(heldout_offset + 1) + "'"
                                            : "";
    const std::string command = "cd '" + folder.string() +
                                "' && find . -type f -name '*.gz' | LC_ALL=C sort" + every +
                                " | xargs -r gzip -dc 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        throw std::runtime_error("cannot run gzip over " + folder.string());
    std::string text;
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        text.append(buffer, got);
    return text;
}

bool valid_utf8(const std::string& text) {
    return utf8::is_valid(text.begin(), text.end());
}

std::size_t code_points(const std::string& text) {
    return utf8::unchecked::distance(text.begin(), text.end());
}

// Sentences of a paragraph: cut after '.', '!', '?' followed by a space, and
// after the ideographic full stop.
std::vector<std::string> sentences_of(const std::string& paragraph) {
    std::vector<std::string> sentences;
    std::string current;
    bool space = false;
    for (std::size_t i = 0; i < paragraph.size(); ++i) {
        const char c = paragraph[i];
        if (c == ' ' || c == '\t') {
            space = !current.empty();
            continue;
        }
        if (space)
            current += ' ';
        space = false;
        current += c;
        const bool stop = (c == '.' || c == '!' || c == '?') &&
                          (i + 1 == paragraph.size() || paragraph[i + 1] == ' ');
        const bool ideographic =
            current.size() >= 3 && current.compare(current.size() - 3, 3, "\xE3\x80\x82") == 0;
        if (stop || ideographic) {
            sentences.push_back(current);
            current.clear();
        }
    }
    if (!current.empty())
        sentences.push_back(current);
    return sentences;
}

// Function words of English: a line of a translated page with two of them is
// a passage left untranslated, not prose of the page's language.
bool english_function_word(std::string word) {
    static const std::set<std::string> words = {
        "the",  "of",   "and",   "is",    "are",  "for",   "with",  "this", "that",
        "be",   "by",   "from",  "not",   "can",  "will",  "which", "when", "it",
        "you",  "your", "these", "have",  "has",  "was",   "were",  "does", "should",
        "must", "may",  "there", "their", "they", "its",   "into",  "than", "then",
        "also", "only", "such",  "each",  "more", "other", "if",    "or",   "an"};
    for (char& c : word)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return words.count(word) > 0;
}

std::size_t ascii_bytes(const std::string& text) {
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A sentence of prose, not of commands: 5 to 15 words, none that looks like
// code, and not left in English in a page of another language. Lines of
// unsegmented scripts are 10 to 60 characters, mostly outside ASCII.
bool prose_line(const std::string& sentence, const LanguageSource& source) {
    if (source.unsegmented) {
        const std::size_t length = code_points(sentence);
        return length >= 10 && length <= 60 &&
               sentence.find_first_of("/=<>{}$_") == std::string::npos &&
               ascii_bytes(sentence) * 2 < sentence.size();
    }
    if (sentence.find_first_of("/=<>{}$_\\|@#") != std::string::npos)
        return false;
    std::size_t english = 0;
    std::size_t words = 0;
    std::size_t start = 0;
    while (start < sentence.size()) {
        std::size_t stop = sentence.find(' ', start);
        if (stop == std::string::npos)
            stop = sentence.size();
        const std::string word = sentence.substr(start, stop - start);
        start = stop + 1;
        if (word.empty())
            continue;
        if (word[0] == '-')
            return false;
        ++words;
        english += source.code != "EN" && english_function_word(word);
    }
    return words >= 5 && words <= 15 && english < 2;
}

struct LanguageCounts {
    std::unordered_map<std::string, long> words;
    long total = 0;
    std::size_t pages = 0;
    std::size_t heldout_pages = 0;
};

void count_words(const std::string& text, LanguageCounts& counts) {
    dez::lid::WordWalk walk(text.data(), text.size());
    std::string word;
    char32_t closing = 0;
    bool at_end = false;
    while (walk.next(word, closing, at_end)) {
        ++counts.words[word];
        ++counts.total;
    }
}

// Counts the words of a language's pages and collects the candidate lines of
// its held-out pages.
void read_language(const fs::path& manuals, const LanguageSource& source, LanguageCounts& language,
                   std::vector<std::string>& lines) {
    std::size_t page_number = 0;
    for (const std::string& folder : source.folders) {
        // Unsegmented scripts give no word list: only their held-out pages are read.
        for (const std::string& page :
             split_pages(read_folder(manuals / folder, source.unsegmented))) {
            const bool held_out =
                source.unsegmented || page_number++ % heldout_every == heldout_offset;
            (held_out ? language.heldout_pages : language.pages)++;
            for (const std::string& paragraph : roff_prose(page)) {
                if (!valid_utf8(paragraph))
                    continue;
                if (!held_out) {
                    if (!source.unsegmented)
                        count_words(paragraph, language);
                    continue;
                }
                for (const std::string& sentence : sentences_of(paragraph))
                    if (prose_line(sentence, source))
                        lines.push_back(sentence);
            }
        }
    }
}

// Keeps `limit` lines spread evenly over `lines`.
std::vector<std::string> spread(const std::vector<std::string>& lines, std::size_t limit) {
    if (lines.size() <= limit)
        return lines;
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < limit; ++i)
        kept.push_back(lines[i * lines.size() / limit]);
    return kept;
}

void write_lexicon(const std::vector<std::pair<std::string, std::string>>& entries,
                   const fs::path& file) {
    constexpr std::size_t bucket_size = 4000;
    dez::afst::Builder lexicon;
    for (std::size_t begin = 0; begin < entries.size(); begin += bucket_size) {
        dez::afst::Builder bucket;
        for (std::size_t i = begin; i < entries.size() && i < begin + bucket_size; ++i) {
            const auto& [word, vote] = entries[i];
            // The vote rides on the word's last character, so that lid.fst is
            // a plain word list the identifier reads into a table.
            bucket.open_rule();
            for (auto it = word.begin(); it != word.end();) {
                const auto from = it;
                utf8::unchecked::next(it);
                bucket.pushArc(std::string(from, it), it == word.end() ? vote : "eps");
            }
            bucket.close_rule();
        }
        bucket.applyUnion(0);
        lexicon.push_network(std::make_shared<fst::StdVectorFst>(*bucket.build(false)));
    }
    lexicon.applyUnion(0);
    lexicon.build(true);
    lexicon.save(file.string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: make_lid_data <manual folder> <output folder> [words per language]\n";
        return 2;
    }
    if (argc == 4)
        words_per_language = std::stoul(argv[3]);
    const auto started = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    const fs::path manuals = argv[1];
    const fs::path output = argv[2];
    try {
        fs::create_directories(output);
        std::map<std::string, LanguageCounts> counts;
        std::ofstream heldout(output / "heldout.tsv.part", std::ios::binary);
        std::map<std::string, std::vector<std::string>> candidates;
        // One task per language: reading and counting dominate the run.
        std::vector<std::future<void>> tasks;
        for (const LanguageSource& source : sources) {
            LanguageCounts& language = counts[source.code];
            std::vector<std::string>& lines = candidates[source.code];
            tasks.push_back(std::async(std::launch::async, [&manuals, &source, &language, &lines] {
                read_language(manuals, source, language, lines);
            }));
        }
        for (auto& task : tasks)
            task.get();
        // A line met in pages of two languages is boilerplate left as it
        // was (licences, credits); a line met twice in one counts once.
        std::map<std::string, std::set<std::string>> languages_of;
        for (const auto& [code, lines] : candidates)
            for (const std::string& line : lines)
                languages_of[line].insert(code);
        for (const LanguageSource& source : sources) {
            std::vector<std::string> lines;
            std::set<std::string> seen;
            for (const std::string& line : candidates[source.code])
                if (languages_of[line].size() == 1 && seen.insert(line).second)
                    lines.push_back(line);
            const std::vector<std::string> kept = spread(lines, heldout_lines);
            for (const std::string& line : kept)
                heldout << source.code << '\t' << line << '\n';
            const LanguageCounts& language = counts[source.code];
            std::cout << source.code << ": " << language.pages << " pages, "
                      << language.heldout_pages << " held out, " << language.total
                      << " words read, " << kept.size() << " held-out lines\n";
        }
        heldout.close();

        // Relative frequency of each kept word in each language.
        std::map<std::string, std::map<std::string, double>> frequencies;
        for (const auto& [code, language] : counts) {
            if (language.total == 0)
                continue;
            std::vector<std::pair<long, std::string>> ranked;
            for (const auto& [word, count] : language.words)
                if (count >= min_count)
                    ranked.emplace_back(count, word);
            std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
                return a.first != b.first ? a.first > b.first : a.second < b.second;
            });
            if (ranked.size() > words_per_language)
                ranked.resize(words_per_language);
            for (const auto& [count, word] : ranked)
                frequencies[word][code] = 0;
        }
        for (auto& [word, by_language] : frequencies)
            for (const auto& [code, language] : counts) {
                if (language.total == 0)
                    continue;
                auto it = language.words.find(word);
                if (it != language.words.end() && it->second >= min_count)
                    by_language[code] = double(it->second) / double(language.total);
            }
        std::vector<std::pair<std::string, std::string>> entries;
        for (const auto& [word, by_language] : frequencies) {
            double sum = 0;
            for (const auto& [code, frequency] : by_language)
                sum += frequency;
            for (const auto& [code, frequency] : by_language) {
                const double share = frequency / sum;
                if (share < min_share)
                    continue;
                entries.emplace_back(word, code + std::to_string(std::lround(share * 100)));
            }
        }
        std::cout << frequencies.size() << " words, " << entries.size() << " votes after "
                  << elapsed() << " s\n";
        write_lexicon(entries, output / "lid.fst.part");
        fs::rename(output / "lid.fst.part", output / "lid.fst");
        fs::rename(output / "heldout.tsv.part", output / "heldout.tsv");
    } catch (const std::exception& e) {
        std::cerr << "make_lid_data: " << e.what() << '\n';
        return 1;
    }
    std::cout << "lid data written to " << output.string() << " in " << elapsed() << " s\n";
    return 0;
}
