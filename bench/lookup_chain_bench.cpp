#include "analysis/dictionary_lookup.h"
#include "analysis/lookup_cache.h"
#include "analysis/morph_data.h"
#include "analysis/morph_data_descriptor.h"
#include "core-afst/afst.h"
#include "document/blackboard.h"

#include "bench/bench_lexicon.h"
#include "tests/document/blackboard_fixture.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

// Readings for a document of 100,000 tokens in sentences of 20, drawn from a
// 5,000-word vocabulary (nine in ten known to the lexicon of 20,000 words),
// through a chain of two plain lookups. Repeated words are cache hits.

namespace {

using namespace dez::trelix;

constexpr int token_count = 100000;
constexpr int sentence_length = 20;

const char* const tags[] = {"[+Nn-Sg]", "[+Nn-Pl]", "[+V-Inf]", "[+Adj-Std]"};

struct ChainData {
    std::shared_ptr<dez::afst::AFst> closed;
    std::shared_ptr<dez::afst::AFst> lexicon;
    std::vector<std::string> text;
};

const ChainData& data() {
    static const ChainData built = [] {
        ChainData d;
        std::mt19937 random(20240612);
        const BenchWordGenerator make({"ka", "lo", "mi", "ter", "an", "sul", "pre", "do", "vin",
                                       "go", "ra", "es", "tu", "bel", "or", "ni"},
                                      2, 5);
        const auto words = make.unique(random, 20000);
        d.lexicon = build_bench_lexicon(
            words, [&] { return std::string(tags[random() % 4]); }, 10000);
        d.closed = build_bench_lexicon(
            {"the", "a", "of", "and", "to"}, [] { return std::string("[+Det]"); }, 100);
        std::vector<std::string> vocabulary;
        for (int i = 0; i < 5000; ++i)
            vocabulary.push_back(i % 10 ? words[random() % words.size()] : make(random) + "x");
        // Few words often, many words rarely.
        std::geometric_distribution<int> rank(0.002);
        for (int i = 0; i < token_count; ++i)
            d.text.push_back(vocabulary[std::min(rank(random), 4999)]);
        return d;
    }();
    return built;
}

core::MorphDataDescriptor plain(const std::shared_ptr<dez::afst::AFst>& afst) {
    core::MorphDataDescriptor descriptor;
    descriptor.lookup_type = 1;
    descriptor.afst = afst;
    return descriptor;
}

struct Document {
    Document() {
        auto module = fixture::make_language_module("english", false);
        module->data->morph_chain = {plain(data().closed), plain(data().lexicon)};
        analyzer = std::make_unique<fixture::TestAnalyzer>(R"({"guesser":"false"})", module);
        document = fixture::make_blackboard(*analyzer);
        document->set_languge_module(module);
        for (int begin = 0; begin < token_count; begin += sentence_length) {
            std::vector<fixture::TokenDef> tokens;
            for (int i = begin; i < begin + sentence_length && i < token_count; ++i)
                tokens.push_back({data().text[i], static_cast<uint32_t>(i) * 8,
                                  static_cast<uint32_t>(i) * 8 + 7});
            Sentence* sentence = fixture::make_sentence(tokens);
            document->annotations->push_back(sentence);
        }
    }
    std::unique_ptr<fixture::TestAnalyzer> analyzer;
    std::unique_ptr<Blackboard> document;
};

// The whole token step, cache warm after the first round or emptied before
// every round.
void attach_readings(benchmark::State& state, bool cold) {
    Document d;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            d.document->lookup_cache->clear();
            state.ResumeTiming();
        }
        add_dictionary_lookup_information(*d.document);
    }
    state.counters["tokens/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * token_count, benchmark::Counter::kIsRate);
}

void BM_AttachReadingsWarmCache(benchmark::State& state) {
    attach_readings(state, false);
}
void BM_AttachReadingsColdCache(benchmark::State& state) {
    attach_readings(state, true);
}

// The chain alone: first() of every token, through the cache or past it.
void BM_ChainFirst(benchmark::State& state) {
    Document d;
    const core::MorphData& chain = *d.document->lookup_chains;
    std::size_t found = 0;
    for (auto _ : state)
        for (const std::string& word : data().text)
            found += chain.lookup(word).size();
    benchmark::DoNotOptimize(found);
    state.counters["lookups/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * token_count, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_AttachReadingsWarmCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AttachReadingsColdCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChainFirst)->Unit(benchmark::kMillisecond);
