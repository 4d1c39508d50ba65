#include "core-afst/word_lookup.h"
#include "core-afst/afst.h"
#include "core-afst/builder.h"

#include "bench/bench_lexicon.h"

#include <benchmark/benchmark.h>

#include <fst/vector-fst.h>

#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Word lookups over a 100,000-word lexicon: a 100,000-token list, four in
// five of them lexicon words, looked up one after the other.

namespace {

constexpr int word_count = 100000;
constexpr int token_count = 100000;
constexpr int bucket_size = 10000;

const char* const syllables[] = {"ka",  "lo", "mi", "ter", "an", "sul", "pre", "do",
                                 "vin", "go", "ra", "es",  "tu", "bel", "or",  "ni"};
const char* const tags[] = {"[+Nn-Sg]", "[+Nn-Pl]", "[+V-Inf]",  "[+V-3Sg]",
                            "[+Adj]",   "[+Adv]",   "[+V-Past]", "[+Prop]"};

std::string make_word(std::mt19937& random) {
    std::string word;
    const int length = 2 + static_cast<int>(random() % 4);
    for (int i = 0; i < length; ++i)
        word += syllables[random() % 16];
    return word;
}

struct Data {
    std::shared_ptr<dez::afst::AFst> lexicon;
    std::vector<std::string> tokens;
};

const Data& data() {
    static const Data built = [] {
        std::mt19937 random(20240611);
        std::set<std::string> unique;
        while (static_cast<int>(unique.size()) < word_count)
            unique.insert(make_word(random));
        const std::vector<std::string> words(unique.begin(), unique.end());

        const auto network = build_bench_lexicon(
            words, [&] { return std::string(tags[random() % 8]); }, bucket_size);

        Data data{std::make_shared<dez::afst::AFst>(network), {}};
        data.tokens.reserve(token_count);
        for (int i = 0; i < token_count; ++i)
            data.tokens.push_back(random() % 5 ? words[random() % words.size()]
                                               : make_word(random));
        return data;
    }();
    return built;
}

// Whole-word lookups of every token, with or without a converter.
void look_up_tokens(benchmark::State& state,
                    std::shared_ptr<dez::afst::ILookupConverter> converter) {
    const Data& d = data();
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
    const Data& d = data();
    state.counters["states"] = double(d.lexicon->network().states.size());
    state.counters["arcs"] = double(d.lexicon->network().arcs.size());
}
BENCHMARK(BM_WordLookup)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WordLookupLowercase(benchmark::State& state) {
    look_up_tokens(state, dez::afst::get_lowercase_converter());
}
BENCHMARK(BM_WordLookupLowercase)->Unit(benchmark::kMillisecond)->UseRealTime();

// The range form over running text: every token followed by the rest of its line.
void BM_TextRangeLookup(benchmark::State& state) {
    const Data& d = data();
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
BENCHMARK(BM_TextRangeLookup)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
