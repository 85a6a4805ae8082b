// One KV.SpawnDino that packs a raptor into a cryopod, and one KV.SpawnDinoStats
// with six range words, each with the member resolutions one run makes. The
// simulated game's own cost is part of every figure; its journal is off
// (journal_bench.cpp shows what the journal adds).
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "config/config.h"
#include "dino/spawn_dino_command.h"
#include "game/game.h"
#include "framework/host.h"
#include "framework/members.h"
#include "framework/memory.h"

namespace {

constexpr char kWorld[] = R"({ "players": [
  { "id": "1001", "name": "Alice", "team": 50001, "netId": "0001", "inventorySlots": 100000 } ] })";

constexpr WIDECHAR kSpawnDinoLine[] =
    WTEXT("KV.SpawnDino Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP' ")
    WTEXT("Blueprint'/Game/Items/Armor/PrimalItemArmor_MetalHelmet.PrimalItemArmor_MetalHelmet' ")
    WTEXT("10 150 0.5 1 0 0 1,2,3,4,5,6 F");

constexpr WIDECHAR kSpawnDinoStatsLine[] =
    WTEXT("KV.SpawnDinoStats Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP' \"\" ")
    WTEXT("0 0.5 0 0 0 1,2,3,4,5,6 R 10-20 20-40 5-50 1-255 30-60 0-100");

// Runs after which the game starts afresh, so its objects stay few.
constexpr int kRunsPerGame = 256;

// A server folder with an empty configuration, read once: the commands read their
// keys from the document at every run.
void LoadEmptyConfig()
{
    const auto dir = std::filesystem::temp_directory_path() / "kestrova-bench-dino";
    std::filesystem::create_directories(dir / "ArkApi" / "Plugins" / "Kestrova");
    std::ofstream(dir / "ArkApi" / "Plugins" / "Kestrova" / "config.json") << "{}";
    sim::SetCurrentDir(dir.string());
    kestrova::LoadConfig();
}

template <auto Command>
void RunCommand(benchmark::State& state, const WIDECHAR* text)
{
    const nlohmann::json world = sim::ParseWorld(kWorld, "bench world");
    sim::Game game(world, "bench world");
    LoadEmptyConfig();
    auto* player = sim::Handle<APlayerController>(game.FindPlayer(std::string_view("1001")));

    std::uint64_t resolutions = 0;
    std::uint64_t allocations = 0;
    int runs = 0;
    for (auto _ : state) {
        FString line{sim::WideView(text)};
        sim::ResetResolutionCount();
        const std::uint64_t allocationsBefore = sim::GetMemoryStats().allocations;
        Command(player, &line, true);
        resolutions = sim::ResolutionCount();
        allocations = sim::GetMemoryStats().allocations - allocationsBefore;
        if (++runs % kRunsPerGame == 0) {
            state.PauseTiming();
            game.Reset(world, "bench world");
            player = sim::Handle<APlayerController>(game.FindPlayer(std::string_view("1001")));
            state.ResumeTiming();
        }
    }
    state.counters["resolutions"] = static_cast<double>(resolutions);
    state.counters["game allocations"] = static_cast<double>(allocations);
}

void BM_SpawnDinoToCryopod(benchmark::State& state) { RunCommand<&kestrova::SpawnDinoCommand>(state, kSpawnDinoLine); }
BENCHMARK(BM_SpawnDinoToCryopod)->Unit(benchmark::kMicrosecond);

void BM_SpawnDinoStatsWithSixRanges(benchmark::State& state)
{
    RunCommand<&kestrova::SpawnDinoStatsCommand>(state, kSpawnDinoStatsLine);
}
BENCHMARK(BM_SpawnDinoStatsWithSixRanges)->Unit(benchmark::kMicrosecond);

}  // namespace
