#include "analysis/morph_data_descriptor.h"
#include "analysis/thread_lookup_cache.h"
#include "analysis/tokenizer_facade.h"
#include "core-afst/guesser_lookup.h"
#include "core-afst/word_lookup.h"
#include "engine/engine.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/options.h"
#include "tests/document/blackboard_fixture.h"
#include "tests/engine/tokenizer_statuses.h"

#include <benchmark/benchmark.h>

#include <unicode/rbbi.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// The generated English module over a corpus of WordNet's gloss sentences
// (about a million words): its tokenizer rules, its lexicon lookups and how
// many word tokens the lexicon knows, the whole analysis road on long and
// short documents and on many threads, a document's fixed cost and the
// module's load.

namespace {

namespace fs = std::filesystem;

const fs::path english_data = TRELIX_ENGLISH_DATA;
const fs::path wordnet = TRELIX_WORDNET_DIR;

std::shared_ptr<dez::IOptions> engine_options() {
    const std::string json = "{\"root_path\":\"" + english_data.parent_path().string() +
                             "\",\"morfex\":\"" + english_data.string() +
                             "\",\"resource_manager_config\":\"{}\"}";
    return std::make_shared<dez::Options>(json.c_str());
}

struct English {
    std::shared_ptr<dez::trelix::Engine> engine;
    std::shared_ptr<dez::trelix::LanguageModule> module;
    std::string corpus;
};

// The gloss text of every synset: the part of a data line after '|'.
std::string gloss_corpus() {
    std::string corpus;
    for (const char* name : {"data.noun", "data.verb", "data.adj", "data.adv"}) {
        std::ifstream in(wordnet / name);
        for (std::string line; std::getline(in, line);) {
            if (line.empty() || line[0] == ' ')
                continue;
            const auto bar = line.find(" | ");
            if (bar == std::string::npos)
                continue;
            corpus.append(line, bar + 3, std::string::npos);
            while (!corpus.empty() && corpus.back() == ' ')
                corpus.pop_back();
            corpus += '\n';
        }
    }
    return corpus;
}

English& english() {
    static English data = [] {
        English english;
        english.engine = std::make_shared<dez::trelix::Engine>(engine_options());
        english.module = english.engine->get_language_module("english");
        english.corpus = gloss_corpus();
        return english;
    }();
    return data;
}

// The lines of the corpus as ICU strings, tokenized one line at a time.
const std::vector<icu::UnicodeString>& corpus_lines() {
    static const std::vector<icu::UnicodeString> lines = [] {
        std::vector<icu::UnicodeString> result;
        std::istringstream in(english().corpus);
        for (std::string line; std::getline(in, line);)
            result.push_back(icu::UnicodeString::fromUTF8(line));
        return result;
    }();
    return lines;
}

const std::vector<std::string>& corpus_tokens() {
    static const std::vector<std::string> tokens = [] {
        std::vector<std::string> result;
        std::istringstream in(english().corpus);
        for (std::string line; std::getline(in, line);)
            for (auto& token : dez::trelix::fixture::statused_tokens(*english().module, line))
                result.push_back(std::move(token.first));
        return result;
    }();
    return tokens;
}

void BM_EnglishTokenize(benchmark::State& state) {
    auto facade = english().module->get_tokenizer();
    const auto& lines = corpus_lines();
    std::size_t tokens = 0;
    for (auto _ : state) {
        for (const auto& line : lines) {
            facade->iterator->setText(line);
            facade->iterator->first();
            while (facade->iterator->next() != icu::BreakIterator::DONE) {
                benchmark::DoNotOptimize(facade->rule_based->getRuleStatus());
                ++tokens;
            }
        }
    }
    state.counters["tokens/s"] =
        benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EnglishTokenize)->Unit(benchmark::kMillisecond);

bool is_word(const std::string& token) {
    for (char c : token)
        if (std::isalpha(static_cast<unsigned char>(c)))
            return true;
    return false;
}

// A token as the lookup step reads it: as written, then with a lower-case
// first letter, then all in lower case.
bool known(dez::afst::WordLookup& lexicon, const std::string& token) {
    if (!lexicon.up(token).empty())
        return true;
    if (!token.empty() && std::isupper(static_cast<unsigned char>(token[0]))) {
        std::string lowered = token;
        lowered[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(token[0])));
        if (!lexicon.up(lowered).empty())
            return true;
        for (char& c : lowered)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return !lexicon.up(lowered).empty();
    }
    return false;
}

void BM_EnglishLexiconLookup(benchmark::State& state) {
    dez::afst::WordLookup lexicon(english().module->data->morph_chain.at(0).afst, nullptr);
    const auto& tokens = corpus_tokens();
    std::size_t looked_up = 0, words = 0, found = 0;
    for (auto _ : state) {
        words = found = 0;
        for (const auto& token : tokens) {
            if (!is_word(token)) {
                benchmark::DoNotOptimize(lexicon.up(token));
                continue;
            }
            ++words;
            found += known(lexicon, token);
        }
        looked_up += tokens.size();
    }
    state.counters["tokens/s"] =
        benchmark::Counter(static_cast<double>(looked_up), benchmark::Counter::kIsRate);
    state.counters["word_tokens"] = static_cast<double>(words);
    state.counters["coverage_%"] =
        words ? 100.0 * static_cast<double>(found) / static_cast<double>(words) : 0;
}
BENCHMARK(BM_EnglishLexiconLookup)->Unit(benchmark::kMillisecond);

// Analyses every document as the C call does (a new result, then generate,
// which sets the analyzer and builds the document's lookups); the tokens made.
std::size_t analyse_all(dez::trelix::fixture::TestAnalyzer& analyzer,
                        const std::vector<std::string>& documents) {
    std::size_t tokens = 0;
    for (const auto& text : documents) {
        auto document = dez::trelix::fixture::make_blackboard(analyzer);
        analyzer.handle.analyzer->generate(*document, text.data(), text.size());
        for (auto* a = document->annotations->head; a; a = a->next)
            if (a->type == dez::trelix::annotation_sentence)
                for (auto* t = static_cast<dez::trelix::Sentence*>(a)->annotations.head; t;
                     t = t->next)
                    tokens += t->type == dez::trelix::annotation_token;
    }
    return tokens;
}

void count_documents(benchmark::State& state, std::size_t tokens, std::size_t documents) {
    state.counters["tokens/s"] =
        benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
    state.counters["documents/s"] = benchmark::Counter(
        static_cast<double>(documents * state.iterations()), benchmark::Counter::kIsRate);
}

// Gloss lines [first, first + 20000) in documents of `lines` lines each.
std::vector<std::string> line_documents(std::size_t first, long lines) {
    std::vector<std::string> documents;
    std::istringstream in(english().corpus);
    std::string line, document;
    for (std::size_t skipped = 0; skipped < first && std::getline(in, line); ++skipped) {
    }
    long taken = 0;
    for (std::size_t total = 0; total < 20000 && std::getline(in, line); ++total) {
        document += line + "\n";
        if (++taken == lines) {
            documents.push_back(std::move(document));
            document.clear();
            taken = 0;
        }
    }
    return documents;
}

// 20000 documents of ten words each from word `first` of the gloss text on
// (cut every ten words, so punctuation comes with its word).
std::vector<std::string> ten_word_documents(std::size_t first) {
    std::vector<std::string> documents;
    std::istringstream in(english().corpus);
    std::string word, document;
    for (std::size_t skipped = 0; skipped < first && in >> word; ++skipped) {
    }
    int words = 0;
    while (documents.size() < 20000 && in >> word) {
        document += (words ? " " : "") + word;
        if (++words == 10) {
            documents.push_back(std::move(document));
            document.clear();
            words = 0;
        }
    }
    return documents;
}

// Times the analysis of `documents` on this thread as a host that has run
// for a while sees new documents: before each pass the thread forgets its
// lookups and analyses `warm_up` (other documents of the corpus), so they
// know the common words but not these documents' own.
void time_analysis(benchmark::State& state, const std::vector<std::string>& documents,
                   const std::vector<std::string>& warm_up) {
    dez::trelix::fixture::TestAnalyzer analyzer("{}", english().module);
    std::size_t tokens = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dez::trelix::core::thread_lookup_cache::clear();
        analyse_all(analyzer, warm_up);
        state.ResumeTiming();
        tokens += analyse_all(analyzer, documents);
    }
    count_documents(state, tokens, documents.size());
}

// The whole analysis road (splitting, tokens, lookups, repair, postagger, HMM)
// on documents of `state.range(0)` gloss lines, the first 20,000 lines of the
// corpus in all.
void BM_EnglishAnalysis(benchmark::State& state) {
    english(); // loaded once, before the threads start
    time_analysis(state, line_documents(0, state.range(0)), line_documents(20000, state.range(0)));
}
BENCHMARK(BM_EnglishAnalysis)->Arg(1)->Arg(200)->MinTime(2)->Unit(benchmark::kMillisecond);
// One engine and module shared by 8 threads, each with its own analyzer.
BENCHMARK(BM_EnglishAnalysis)->Arg(200)->Threads(8)->UseRealTime()->Unit(benchmark::kMillisecond);

// Short documents: ten words each.
void BM_EnglishTenWordDocuments(benchmark::State& state) {
    english();
    time_analysis(state, ten_word_documents(0), ten_word_documents(200000));
}
BENCHMARK(BM_EnglishTenWordDocuments)->MinTime(2)->Unit(benchmark::kMillisecond);

// What a document costs before its words: a new document on the shared
// module (lookup chains, tokenizer clone, expressions, caches) analysing a
// single word.
void BM_EnglishDocumentSetup(benchmark::State& state) {
    english();
    dez::trelix::fixture::TestAnalyzer analyzer("{}", english().module);
    const std::string text = "Yes";
    for (auto _ : state) {
        auto document = dez::trelix::fixture::make_blackboard(analyzer);
        analyzer.handle.analyzer->generate(*document, text.data(), text.size());
        benchmark::DoNotOptimize(document->annotations->head);
    }
    state.counters["documents/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EnglishDocumentSetup)->ThreadRange(1, 8)->UseRealTime();

// Guesses for unknown lower-case words: a word with a known suffix and one
// without.
void BM_EnglishGuess(benchmark::State& state, const char* word) {
    const auto& entry = english().module->data->not_found_chain.at(0);
    dez::afst::GuesserLookup guesser(entry.guesser_afst, entry.afst, nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(guesser.up(word));
}
BENCHMARK_CAPTURE(BM_EnglishGuess, suffix, "blorfingtons");
BENCHMARK_CAPTURE(BM_EnglishGuess, none, "xyzzqwrtplk");

// A fresh engine loading the module with the tokenizer cache warm.
void BM_EnglishModuleLoad(benchmark::State& state) {
    english(); // the cache file exists and the files are in the page cache
    for (auto _ : state) {
        auto engine = std::make_shared<dez::trelix::Engine>(engine_options());
        benchmark::DoNotOptimize(engine->get_language_module("english"));
    }
}
BENCHMARK(BM_EnglishModuleLoad)->Unit(benchmark::kMillisecond);

} // namespace
