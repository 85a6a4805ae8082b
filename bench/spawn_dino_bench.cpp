// The creature commands, each with the member resolutions and game allocations
// one run makes: KV.SpawnDino packing a raptor into a cryopod, the same line as
// KV.SpawnDinoFor on the console and over RCON, and KV.SpawnDinoStats with six
// range words; and the delivery ledger's line for a run. The simulated game's own
// cost is part of every figure.
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <benchmark/benchmark.h>

#include "command_cost.h"
#include "config/config.h"
#include "dino/spawn_dino_command.h"
#include "framework/host.h"
#include "game/game.h"
#include "game/rcon_connection.h"
#include "ledger/ledger.h"
#include "plugin/delivery_ledger.h"
#include "plugin/spawn_commands.h"
#include "plugin/targeted_forms.h"

namespace {

using kestrova::bench::CommandCost;

constexpr char kWorld[] = R"({ "players": [
  { "id": "1001", "name": "Alice", "team": 50001, "netId": "0001", "inventorySlots": 100000 } ] })";

constexpr WIDECHAR kRaptorToCryopod[] =
    WTEXT("Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP' ")
    WTEXT("Blueprint'/Game/Items/Armor/PrimalItemArmor_MetalHelmet.PrimalItemArmor_MetalHelmet' ")
    WTEXT("10 150 0.5 1 0 0 1,2,3,4,5,6 F");

constexpr WIDECHAR kSpawnDinoStatsLine[] =
    WTEXT("KV.SpawnDinoStats Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP' \"\" ")
    WTEXT("0 0.5 0 0 0 1,2,3,4,5,6 R 10-20 20-40 5-50 1-255 30-60 0-100");

// Runs after which the game starts afresh, so its objects stay few.
constexpr int kRunsPerGame = 256;

// A server folder with this configuration, read once: the commands read their
// keys from the document at every run.
void LoadConfigText(const char* text)
{
    const auto dir = std::filesystem::temp_directory_path() / "kestrova-bench-dino";
    std::filesystem::create_directories(dir / "ArkApi" / "Plugins" / "Kestrova");
    std::ofstream(dir / "ArkApi" / "Plugins" / "Kestrova" / "config.json") << text;
    sim::SetCurrentDir(dir.string());
    kestrova::LoadConfig();
}

// A game with Alice in it and an RCON connection, started afresh every
// kRunsPerGame runs.
class BenchGame {
public:
    explicit BenchGame(const char* config = "{}")
        : world_(sim::ParseWorld(kWorld, "bench world")), game_(world_, "bench world")
    {
        LoadConfigText(config);
        connection_ = &game_.MakeRconConnection();
    }

    APlayerController* Alice() const { return sim::Handle<APlayerController>(game_.FindPlayer(std::string_view("1001"))); }
    RCONClientConnection* Connection() const { return sim::Handle<RCONClientConnection>(connection_); }

    void AfterRun(benchmark::State& state)
    {
        if (++runs_ % kRunsPerGame != 0)
            return;
        state.PauseTiming();
        game_.Reset(world_, "bench world");
        connection_ = &game_.MakeRconConnection();
        state.ResumeTiming();
    }

private:
    nlohmann::json world_;
    sim::Game game_;
    sim::RconConnection* connection_ = nullptr;
    int runs_ = 0;
};

// Runs a console command line as Alice.
template <auto Command>
void RunConsoleCommand(benchmark::State& state, const sim::WideString& text)
{
    CommandCost cost;
    BenchGame game;
    for (auto _ : state) {
        FString line{sim::WideView(text)};
        APlayerController* alice = game.Alice();
        cost.Measure([&] { Command(alice, &line, true); });
        game.AfterRun(state);
    }
    cost.Report(state);
}

void BM_SpawnDinoToCryopod(benchmark::State& state)
{
    RunConsoleCommand<&kestrova::SpawnDinoCommand>(state, sim::WideString(WTEXT("KV.SpawnDino ")) + kRaptorToCryopod);
}
BENCHMARK(BM_SpawnDinoToCryopod)->Unit(benchmark::kMicrosecond);

// The same creature for Alice, named by her id.
void BM_SpawnDinoForToCryopod(benchmark::State& state)
{
    RunConsoleCommand<&kestrova::SpawnDinoForConsole>(
        state, sim::WideString(WTEXT("KV.SpawnDinoFor 1001 ")) + kRaptorToCryopod);
}
BENCHMARK(BM_SpawnDinoForToCryopod)->Unit(benchmark::kMicrosecond);

// The same as an RCON request, answered on its connection, under `config`.
void RunOverRcon(benchmark::State& state, const char* config)
{
    CommandCost cost;
    BenchGame game(config);
    const sim::WideString text = sim::WideString(WTEXT("KV.SpawnDinoFor 1001 ")) + kRaptorToCryopod;
    for (auto _ : state) {
        RCONPacket packet;
        packet.Id = 1;
        packet.Type = 2;
        packet.Body = FString(sim::WideView(text));
        RCONClientConnection* connection = game.Connection();
        cost.Measure([&] { kestrova::SpawnDinoForRcon(connection, &packet, nullptr); });
        game.AfterRun(state);
    }
    cost.Report(state);
}

void BM_SpawnDinoForOverRcon(benchmark::State& state) { RunOverRcon(state, "{}"); }
BENCHMARK(BM_SpawnDinoForOverRcon)->Unit(benchmark::kMicrosecond);

// The reply is the outcome as one line of JSON, with the target's name. Its
// goal is by instruction count, at most 1.1 times the text reply's:
//   bench/count-instructions BM_SpawnDinoForOverRconJsonReplies 'kestrova::SpawnDinoForRcon('
void BM_SpawnDinoForOverRconJsonReplies(benchmark::State& state) { RunOverRcon(state, R"({"RconReplies": "json"})"); }
BENCHMARK(BM_SpawnDinoForOverRconJsonReplies)->Unit(benchmark::kMicrosecond);

void BM_SpawnDinoStatsWithSixRanges(benchmark::State& state)
{
    RunConsoleCommand<&kestrova::SpawnDinoStatsCommand>(state, kSpawnDinoStatsLine);
}
BENCHMARK(BM_SpawnDinoStatsWithSixRanges)->Unit(benchmark::kMicrosecond);

// What the ledger line of one KV.SpawnDino run costs the game thread: the
// issuer's name and net id asked of the game, and what the writer's thread needs
// to make the line, queued. Fewer runs than the queue holds, so none is dropped:
// the writer's thread makes, writes and flushes the lines beside, about 6 us each.
void BM_SpawnDinoLedgerLine(benchmark::State& state)
{
    CommandCost cost;
    BenchGame game(R"({"DeliveryLedger": "bench-deliveries.jsonl", "DeliveryLedgerMaxMB": 16})");
    kestrova::SyncDeliveryLedger(kestrova::LedgerSync::AtReload);
    const sim::WideString text = sim::WideString(WTEXT("KV.SpawnDino ")) + kRaptorToCryopod;
    APlayerController* alice = game.Alice();
    const kestrova::Outcome outcome = kestrova::SpawnDino(alice, FString(sim::WideView(text)));
    const std::string received = sim::ToUtf8(text);
    for (auto _ : state)
        cost.Measure([&] { kestrova::RecordRun({alice, nullptr}, received, "KV.SpawnDino", std::nullopt, outcome); });
    cost.Report(state);
    const kestrova::LedgerLosses losses = kestrova::DeliveryLedger()->Losses();
    state.counters["lines lost"] = static_cast<double>(losses.dropped + losses.failed);
    kestrova::CloseDeliveryLedger();
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(kestrova::ConfigPath()).parent_path()))
        if (entry.path().filename().string().starts_with("bench-deliveries"))
            std::filesystem::remove(entry.path());
}
BENCHMARK(BM_SpawnDinoLedgerLine)->Unit(benchmark::kMicrosecond)->Iterations(10'000);

}  // namespace
