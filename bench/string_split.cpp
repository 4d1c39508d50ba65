#include "foundation/string_utils.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::string make_line(int64_t fields) {
    std::string line;
    for (int64_t i = 0; i < fields; ++i) {
        if (i != 0)
            line += i % 7 == 0 ? ";;" : ";";
        line += "field" + std::to_string(i);
    }
    return line;
}

} // namespace

// Splitting sits on hot paths: the cost should be one pass plus the parts.
static void BM_SplitOnByte(benchmark::State& state) {
    const std::string line = make_line(state.range(0));
    std::vector<std::string> parts;
    for (auto _ : state) {
        parts.clear();
        dez::string::split_vector(parts, std::string_view(line), ';', false);
        benchmark::DoNotOptimize(parts.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(line.size()));
}
BENCHMARK(BM_SplitOnByte)->Range(8, 4096);

static void BM_SplitOnByteList(benchmark::State& state) {
    const std::string line = make_line(state.range(0));
    std::vector<std::string> parts;
    for (auto _ : state) {
        parts.clear();
        dez::string::split_vector(parts, line, ";, ", false);
        benchmark::DoNotOptimize(parts.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(line.size()));
}
BENCHMARK(BM_SplitOnByteList)->Range(8, 4096);
