#include "core-afst/afst.h"
#include "core-afst/compound_lookup_v2.h"
#include "core-afst/compound_lookup_v3.h"
#include "core-afst/lookup_converter.h"
#include "core-afst/match_section.h"
#include "core-afst/tag_lookup.h"

#include "bench/bench_lexicon.h"

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <random>
#include <string>
#include <vector>

// Compound lookups over a 50,000-word lexicon: a 20,000-token list of
// capitalised words, a quarter each lexicon words, two-word compounds,
// three-word compounds (some with a linking "s") and unknown words.

namespace {

constexpr int word_count = 50000;
constexpr int token_count = 20000;
constexpr int bucket_size = 10000;

const char* const tags[] = {"[+Nn-Sg]", "[+Nn-Pl]", "[+V-Inf]", "[+Adj]", "[+Nn-Sg]", "[+Nn-Sg]"};

const BenchWordGenerator& make_word() {
    static const BenchWordGenerator generator(
        {"ka",  "lo",   "mi",   "ter", "an", "sul",  "pre", "do",   "vin", "go",  "ra",
         "es",  "tu",   "bel",  "or",  "ni", "brau", "fel", "hum",  "kro", "lan", "mer",
         "nop", "quel", "rist", "tem", "ud", "wer",  "zin", "gart", "plo", "fen"},
        2, 4);
    return generator;
}

std::string capitalised(std::string word) {
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

const BenchLexicon& data() {
    static const BenchLexicon built = [] {
        std::mt19937 random(20240612);
        const auto words = make_word().unique(random, word_count);
        BenchLexicon data;
        load_bench_lexicon(
            data, words, [&] { return std::string(tags[random() % 6]); }, bucket_size);
        const auto pick = [&] { return words[random() % words.size()]; };
        for (int i = 0; i < token_count; ++i) {
            switch (i % 4) {
            case 0:
                data.tokens.push_back(capitalised(pick()));
                break;
            case 1:
                data.tokens.push_back(capitalised(pick() + pick()));
                break;
            case 2:
                data.tokens.push_back(
                    capitalised(pick() + (random() % 2 ? "s" : "") + pick() + pick()));
                break;
            default:
                data.tokens.push_back(
                    capitalised(make_word()(random) + "xq" + make_word()(random)));
                break;
            }
        }
        return data;
    }();
    return built;
}

template <class Lookup>
void run(benchmark::State& state, Lookup& lookup, const std::vector<std::string>& tokens) {
    std::size_t found = 0;
    for (auto _ : state)
        for (const auto& token : tokens)
            found += lookup.up(token).size();
    benchmark::DoNotOptimize(found);
    state.counters["words/s"] =
        benchmark::Counter(double(tokens.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["readings/word"] =
        double(found) / double(tokens.size()) / double(state.iterations());
}

void BM_CompoundLookupV2(benchmark::State& state) {
    const BenchLexicon& d = data();
    dez::afst::CompoundLookupV2 lookup(d.lexicon, dez::afst::get_lowercase_converter());
    run(state, lookup, d.tokens);

    // How many searches the depth limit or the step budget cut short.
    std::size_t cut = 0;
    for (const auto& token : d.tokens) {
        const std::string word = dez::afst::LookupConverterLowercase()(token);
        dez::afst::ResultsMementoV2 memento;
        if (!dez::afst::utf8_iterator::match_section(memento, *d.lexicon, word.data(), word.data(),
                                                     word.data() + word.size(), 12))
            ++cut;
    }
    state.counters["cut/word"] = double(cut) / double(d.tokens.size());
}
BENCHMARK(BM_CompoundLookupV2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CompoundLookupV3(benchmark::State& state) {
    const BenchLexicon& d = data();
    dez::afst::CompoundLookupV3 lookup(d.lexicon, dez::afst::get_lowercase_converter(),
                                       nlohmann::json{{"max_components", 4}});
    run(state, lookup, d.tokens);
}
BENCHMARK(BM_CompoundLookupV3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same words as hash tags in lower case: the tag lookup's compound road.
void BM_TagLookupCompoundRoad(benchmark::State& state) {
    const BenchLexicon& d = data();
    std::vector<std::string> tokens;
    for (const auto& token : d.tokens)
        tokens.push_back("#" + dez::afst::LookupConverterLowercase()(token));
    dez::afst::TagLookup lookup(d.lexicon, dez::afst::get_lowercase_converter());
    run(state, lookup, tokens);
}
BENCHMARK(BM_TagLookupCompoundRoad)->Unit(benchmark::kMillisecond)->UseRealTime();

// The worst case the search's step budget bounds: a long word over a
// lexicon of short entries, with segmentations beyond counting.
void BM_CompoundLookupExplodingWord(benchmark::State& state) {
    const auto lexicon = build_bench_lexicon(
        {"a", "aa", "aaa", "aaaa"}, [] { return std::string("+X"); }, 4);
    // No depth limit in reach, which would end the search early.
    dez::afst::CompoundLookupV3 lookup(lexicon, nullptr, nlohmann::json{{"max_components", 1000}});
    const std::string word(60, 'a');
    std::size_t found = 0;
    for (auto _ : state)
        found += lookup.up(word).size();
    benchmark::DoNotOptimize(found);
    state.counters["words/s"] =
        benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CompoundLookupExplodingWord)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
