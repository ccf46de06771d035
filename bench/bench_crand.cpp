#include <benchmark/benchmark.h>

#include "platform/crand.h"

// Effects draw many numbers per particle; this is the floor of that cost.
static void BM_CrandDraw(benchmark::State& state) {
    crand::srand(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(crand::rand());
    }
}
BENCHMARK(BM_CrandDraw);
