#include "foundation/input_pool.h"

#include <benchmark/benchmark.h>

// Filling and draining a pool should grow linearly with the number of sources.
static void BM_InputPoolFillAndDrain(benchmark::State& state) {
    const auto count = state.range(0);
    for (auto _ : state) {
        dez::InputPool pool;
        for (int64_t i = 0; i < count; ++i)
            pool.add_data("s", "");
        while (auto entry = pool.get())
            benchmark::DoNotOptimize(entry);
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_InputPoolFillAndDrain)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();
