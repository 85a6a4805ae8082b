// One draw of a stat word's range, and its two parts: the seed asked of the
// system, and the generator's first two outputs. Six draws are the difference
// between BM_SpawnDinoStatsWithSixRanges and a spawn without ranges.
#include <benchmark/benchmark.h>

#include "host/random.h"

namespace {

using namespace kestrova;

void BM_DrawUnit(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawUnit());
}
BENCHMARK(BM_DrawUnit);

void BM_SystemSeed(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SystemSeed());
}
BENCHMARK(BM_SystemSeed);

void BM_FirstTwoOutputs(benchmark::State& state)
{
    std::uint32_t seed = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(FirstTwoOutputs(++seed));
}
BENCHMARK(BM_FirstTwoOutputs);

}  // namespace
