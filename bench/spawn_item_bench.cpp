// KV.SpawnItem with five stat words for growing counts, with the member
// resolutions and game allocations of one run: the cost should grow linearly
// with the count. The simulated game's own cost is part of every figure.
#include <string>

#include <benchmark/benchmark.h>

#include "command_cost.h"
#include "framework/host.h"
#include "game/game.h"
#include "plugin/spawn_commands.h"

namespace {

constexpr char kWorld[] = R"({ "players": [
  { "id": "1001", "name": "Alice", "team": 50001, "netId": "0001", "inventorySlots": 100000 } ] })";

constexpr WIDECHAR kLine[] =
    WTEXT("KV.SpawnItem Blueprint'/Game/Items/Armor/PrimalItemArmor_MetalHelmet.PrimalItemArmor_MetalHelmet' x ")
    WTEXT("100 0 %COUNT% 100 200 40 20-30 24");

void BM_SpawnItem(benchmark::State& state)
{
    const nlohmann::json world = sim::ParseWorld(kWorld, "bench world");
    sim::Game game(world, "bench world");
    sim::WideString text(kLine);
    const sim::WideString count = sim::WideString(sim::FromUtf8(std::to_string(state.range(0))));
    text.replace(text.find(WTEXT("%COUNT%")), 7, count);
    auto* player = sim::Handle<APlayerController>(game.FindPlayer(std::string_view("1001")));

    kestrova::bench::CommandCost cost;
    for (auto _ : state) {
        FString line{sim::WideView(text)};
        cost.Measure([&] { kestrova::SpawnItemCommand(player, &line, true); });
        // A fresh game for the next run, so the inventory does not grow.
        state.PauseTiming();
        game.Reset(world, "bench world");
        player = sim::Handle<APlayerController>(game.FindPlayer(std::string_view("1001")));
        state.ResumeTiming();
    }
    cost.Report(state);
    state.counters["per_item"] =
        benchmark::Counter(static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SpawnItem)->RangeMultiplier(10)->Range(1, 10000)->Unit(benchmark::kMicrosecond);

}  // namespace
