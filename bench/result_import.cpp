#include "analysis/result_import.h"
#include "document/blackboard.h"
#include "tests/document/blackboard_fixture.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace dez::trelix;

// One sentence of n tokens and n concepts, the i-th concept standing before
// token i and reaching the end of the sentence: every concept's closing token
// is the last one, the case a walk along the list per concept makes quadratic.
std::string long_sentence(int n) {
    std::string items;
    for (int i = 0; i < n; ++i) {
        const std::string begin = std::to_string(2 * i);
        items += "[2," + begin + "," + std::to_string(2 * n) + ",\"C\"],";
        items += "[3," + begin + "," + std::to_string(2 * i + 1) + ",\"w\",[],[[\"w\",\"Noun\"]]],";
    }
    items.pop_back();
    return "{\"sentences\":[[1,0," + std::to_string(2 * n) + ",[" + items + "]]]}";
}

void BM_ImportLongSentence(benchmark::State& state) {
    const std::string json = long_sentence(static_cast<int>(state.range(0)));
    fixture::TestAnalyzer analyzer;
    for (auto _ : state) {
        state.PauseTiming();
        auto document = fixture::make_blackboard(analyzer);
        state.ResumeTiming();
        json_to_annotations_v2(*document, json.data(), json.size());
        benchmark::DoNotOptimize(document->annotations->head);
        // Tearing the document down is the document model's cost, not the import's.
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ImportLongSentence)->RangeMultiplier(4)->Range(256, 16384)->Complexity();

} // namespace
