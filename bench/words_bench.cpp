// One split-and-convert of a typical creature command line, the work every spawn
// command does before it touches the game, and the two number conversions alone.
#include <string>

#include <benchmark/benchmark.h>

#include "host/text.h"
#include "host/words.h"
#include "framework/memory.h"

namespace {

using namespace kestrova;

constexpr const WIDECHAR* kLine =
    WTEXT("KV.SpawnDino \"Blueprint'/Game/PrimalEarth/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'\" \"\" ")
    WTEXT("0 150 1.0 0 0 0 1,2,3,4,5,6 F");

void BM_SplitAndConvertCommandLine(benchmark::State& state)
{
    sim::RegisterAllocator();
    const FString line(kLine);
    for (auto _ : state) {
        const CommandWords words(line.View());
        bool numeric = true;
        for (int i = 3; i <= 8; ++i)
            numeric = numeric && IsNumeric(words[i]);
        const std::string blueprint = WithoutQuotes(ToNarrow(words[1]));
        const std::string item = ToNarrow(words[2]);
        std::int32_t sum = ToInt(ToNarrow(words[3])) + ToInt(ToNarrow(words[4]));
        const float imprint = ToFloat(ToNarrow(words[5]));
        for (int i = 6; i <= 8; ++i)
            sum += ToInt(ToNarrow(words[i])) == 1 ? 1 : 0;
        ForEachPiece(words[9], WTEXT(','), [&](FString::WideView part) {
            if (IsNumeric(part))
                sum += ToInt(ToNarrow(part));
        });
        const bool female = words[10] == WTEXT("F");
        benchmark::DoNotOptimize(numeric);
        benchmark::DoNotOptimize(blueprint.data());
        benchmark::DoNotOptimize(item.data());
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(imprint);
        benchmark::DoNotOptimize(female);
    }
}
BENCHMARK(BM_SplitAndConvertCommandLine);

void BM_ToInt(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ToInt("2147483647"));
}
BENCHMARK(BM_ToInt);

void BM_ToFloat(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ToFloat("1234.5678"));
}
BENCHMARK(BM_ToFloat);

}  // namespace
