// One draw of a stat word's range, and its two parts: a block of seeds asked of
// the system, and the generators' first two outputs for a block. Six draws are
// the difference between BM_SpawnDinoStatsWithSixRanges and a spawn without
// ranges.
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

void BM_SystemSeedsBlock(benchmark::State& state)
{
    SeedBlock seeds;
    for (auto _ : state) {
        SystemSeeds(seeds);
        benchmark::DoNotOptimize(seeds);
    }
}
BENCHMARK(BM_SystemSeedsBlock);

void BM_UnitsFromSeedsBlock(benchmark::State& state)
{
    SeedBlock seeds{};
    for (auto _ : state) {
        ++seeds[0];
        benchmark::DoNotOptimize(UnitsFromSeeds(seeds));
    }
}
BENCHMARK(BM_UnitsFromSeedsBlock);

}  // namespace
