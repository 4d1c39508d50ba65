#include "core-afst/word_lookup.h"
#include "core-afst/afst.h"
#include "core-afst/lookup_converter.h"

#include "bench/bench_lexicon.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

// Word lookups over generated lexicons of 100,000 and 181,000 words: a
// 100,000-token list, four in five of them lexicon words, looked up one after
// the other.

namespace {

constexpr int token_count = 100000;
constexpr int bucket_size = 10000;

const char* const tags[] = {"[+Nn-Sg]", "[+Nn-Pl]", "[+V-Inf]",  "[+V-3Sg]",
                            "[+Adj]",   "[+Adv]",   "[+V-Past]", "[+Prop]"};

const BenchWordGenerator& make_word() {
    static const BenchWordGenerator generator({"ka", "lo", "mi", "ter", "an", "sul", "pre", "do",
                                               "vin", "go", "ra", "es", "tu", "bel", "or", "ni"},
                                              2, 5);
    return generator;
}

const BenchLexicon& data(int word_count) {
    static std::map<int, BenchLexicon> built;
    auto found = built.find(word_count);
    if (found != built.end())
        return found->second;
    BenchLexicon& data = built[word_count];
    std::mt19937 random(20240611);
    const auto words = make_word().unique(random, static_cast<std::size_t>(word_count));
    load_bench_lexicon(
        data, words, [&] { return std::string(tags[random() % 8]); }, bucket_size);
    data.tokens.reserve(token_count);
    for (int i = 0; i < token_count; ++i)
        data.tokens.push_back(random() % 5 ? words[random() % words.size()] : make_word()(random));
    return data;
}

// Whole-word lookups of every token, with or without a converter.
void look_up_tokens(benchmark::State& state,
                    std::shared_ptr<dez::afst::ILookupConverter> converter) {
    const BenchLexicon& d = data(static_cast<int>(state.range(0)));
    dez::afst::WordLookup lookup(d.lexicon, std::move(converter));
    std::size_t found = 0;
    for (auto _ : state)
        for (const auto& token : d.tokens)
            found += lookup.up(token).size();
    benchmark::DoNotOptimize(found);
    state.counters["lookups/s"] =
        benchmark::Counter(double(d.tokens.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["readings/token"] =
        double(found) / double(d.tokens.size()) / double(state.iterations());
}

void BM_WordLookup(benchmark::State& state) {
    look_up_tokens(state, nullptr);
    const BenchLexicon& d = data(static_cast<int>(state.range(0)));
    state.counters["states"] = double(d.lexicon->state_count());
    state.counters["file_MB"] = double(d.file_bytes) / 1e6;
    state.counters["network_MB"] = double(d.network_bytes) / 1e6;
    state.counters["loaded_MB"] = double(d.loaded_bytes) / 1e6;
    state.counters["loaded/file"] = double(d.loaded_bytes) / double(d.file_bytes);
}
BENCHMARK(BM_WordLookup)->Arg(100000)->Arg(181000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WordLookupLowercase(benchmark::State& state) {
    look_up_tokens(state, dez::afst::get_lowercase_converter());
}
BENCHMARK(BM_WordLookupLowercase)
    ->Arg(100000)
    ->Arg(181000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The range form over running text: every token followed by the rest of its line.
void BM_TextRangeLookup(benchmark::State& state) {
    const BenchLexicon& d = data(static_cast<int>(state.range(0)));
    std::string text;
    std::vector<std::size_t> starts;
    for (const auto& token : d.tokens) {
        starts.push_back(text.size());
        text += token;
        text += ' ';
    }
    dez::afst::WordLookup lookup(d.lexicon, nullptr);
    std::size_t found = 0;
    for (auto _ : state)
        for (std::size_t start : starts)
            found += lookup
                         .up(text.data() + start, text.data() + text.size(),
                             dez::afst::WordLookup::end_on_space::off)
                         .size();
    benchmark::DoNotOptimize(found);
    state.counters["lookups/s"] =
        benchmark::Counter(double(starts.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_TextRangeLookup)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
