// Tokens per second of the ICU tokenization road with the test rules
// (tests/data/analysis/tokenizer.rules) over a large English-like text.

#include "analysis/analyzer.h"
#include "analysis/tokenize.h"
#include "document/blackboard.h"
#include "tests/analysis/tokenizer_fixture.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace dez::trelix;

const char* const vocabulary[] = {
    "the",        "of",     "and",      "to",      "in",      "a",          "is",
    "that",       "for",    "it",       "as",      "was",     "with",       "be",
    "by",         "on",     "not",      "he",      "this",    "are",        "or",
    "his",        "from",   "at",       "which",   "but",     "have",       "an",
    "had",        "they",   "you",      "were",    "their",   "one",        "all",
    "we",         "can",    "her",      "has",     "there",   "been",       "if",
    "more",       "when",   "will",     "would",   "who",     "so",         "company",
    "report",     "market", "growth",   "quarter", "revenue", "people",     "building",
    "London",     "Paris",  "NATO",     "Monday",  "Smith",   "government", "don\xE2\x80\x99t",
    "42",         "2020",   "1,250.75", "$5m",     "5kg",     "(see",       "below)",
    "\"quoted\"",
};

// About `bytes` of text: sentences of 6 to 24 words with commas, a capital
// first word and a full stop; now and then a web address.
std::string make_text(std::size_t bytes) {
    uint32_t seed = 20261211;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    const std::size_t words = sizeof(vocabulary) / sizeof(vocabulary[0]);
    std::string text;
    while (text.size() < bytes) {
        const uint32_t length = 6 + next() % 19;
        for (uint32_t i = 0; i < length; ++i) {
            std::string word = vocabulary[next() % words];
            if (i == 0 && word[0] >= 'a' && word[0] <= 'z')
                word[0] = static_cast<char>(word[0] - 'a' + 'A');
            text += word;
            if (next() % 97 == 0)
                text += " https://example.com/path/page";
            if (i + 1 < length)
                text += next() % 9 == 0 ? ", " : " ";
        }
        text += ". ";
    }
    return text;
}

const std::string& text() {
    static const std::string large = make_text(1 << 20);
    return large;
}

// Sentence spans at ". ", as a text splitter would hand them over.
const std::vector<std::pair<uint32_t, uint32_t>>& spans() {
    static const std::vector<std::pair<uint32_t, uint32_t>> all = [] {
        std::vector<std::pair<uint32_t, uint32_t>> out;
        std::size_t begin = 0;
        for (std::size_t dot = text().find(". "); dot != std::string::npos;
             dot = text().find(". ", begin)) {
            out.emplace_back(static_cast<uint32_t>(begin), static_cast<uint32_t>(dot + 1));
            begin = dot + 2;
        }
        return out;
    }();
    return all;
}

std::size_t count_tokens(const Blackboard& blackboard) {
    std::size_t tokens = 0;
    for (Annotation* s = blackboard.annotations->head; s; s = s->next)
        for (Annotation* a = static_cast<Sentence*>(s)->annotations.head; a; a = a->next)
            tokens += a->type == annotation_token;
    return tokens;
}

// The word tokenizer alone, sentence by sentence.
void BM_TokenizeSentences(benchmark::State& state) {
    auto module = fixture::make_rules_module();
    spans();
    std::size_t tokens = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<fixture::Document>(text(), "{}", "{}", module);
        document->use_measures();
        state.ResumeTiming();
        for (const auto& [begin, end] : spans())
            document->tokenize_span(begin, end);
        state.PauseTiming();
        tokens += count_tokens(**document);
        document.reset();
        state.ResumeTiming();
    }
    state.counters["tokens/s"] =
        benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text().size()));
}
BENCHMARK(BM_TokenizeSentences)->Unit(benchmark::kMillisecond);

// The whole ICU road: offset table, sentence iterator, word tokenizer.
void BM_TextToAnnotationsIcu(benchmark::State& state) {
    auto module = fixture::make_rules_module();
    std::size_t tokens = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<fixture::Document>(text(), "{}", "{}", module);
        document->use_measures();
        state.ResumeTiming();
        document->split();
        state.PauseTiming();
        tokens += count_tokens(**document);
        document.reset();
        state.ResumeTiming();
    }
    state.counters["tokens/s"] =
        benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text().size()));
}
BENCHMARK(BM_TextToAnnotationsIcu)->Unit(benchmark::kMillisecond);

// One short document (two sentences) through the ICU road: the cost a
// document pays besides its tokens.
void BM_ShortDocument(benchmark::State& state) {
    auto module = fixture::make_rules_module();
    const std::string text = "The company reported $5m in revenue. Growth was 12 percent.";
    std::size_t tokens = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<fixture::Document>(text, "{}", "{}", module);
        state.ResumeTiming();
        document->split();
        state.PauseTiming();
        tokens += count_tokens(**document);
        document.reset();
        state.ResumeTiming();
    }
    state.counters["tokens/s"] =
        benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ShortDocument);

// A document's tokenizer: a clone of the language's iterator.
void BM_GetTokenizer(benchmark::State& state) {
    auto module = fixture::make_rules_module();
    for (auto _ : state)
        benchmark::DoNotOptimize(module->get_tokenizer());
}
BENCHMARK(BM_GetTokenizer);

} // namespace
