// The journal's cost. Every other benchmark runs with the journal off, so their
// figures are the plugin's and the game's alone; these turn it on to show what
// recording adds to one call and to one field write, and that a journal kept
// far past its capacity never makes one entry wait for housekeeping (the
// slowest single call is reported as max_us) and holds no more memory than its
// capacity needs (held_MB).
#include <algorithm>
#include <chrono>

#include <benchmark/benchmark.h>

#include "game/creature.h"
#include "game/game.h"
#include "host/members.h"
#include "framework/journal.h"
#include "support/catalogue_references.h"

namespace {

using namespace kestrova;

const bool kJournalOffForAllBenchmarks = [] {
    sim::GetJournal().SetCapacity(0);
    return true;
}();

// The journal on with `capacity` for one benchmark, off again afterwards.
class JournalOn {
public:
    explicit JournalOn(std::size_t capacity) { sim::GetJournal().SetCapacity(capacity); }
    ~JournalOn() { sim::GetJournal().SetCapacity(0); }
};

APrimalDinoCharacter* SpawnRaptor(sim::Game& game)
{
    FString reference(test::kRaptor);
    auto* alice = sim::Handle<AShooterPlayerController>(game.FindPlayer(std::string_view("1001")));
    return static_cast<APrimalDinoCharacter*>(Call(member::SpawnActor, alice, reference, 100.0f, 0.0f, 0.0f, true));
}

// One call with three arguments; the argument is the capacity, 0 for off.
void BM_JournalOneCall(benchmark::State& state)
{
    sim::Game game;
    APrimalDinoCharacter* raptor = SpawnRaptor(game);
    JournalOn journal(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        Call(member::ForceNetUpdate, raptor, false, true, false);
}
BENCHMARK(BM_JournalOneCall)->Arg(0)->Arg(100'000);

// A field written and then a call, as the plugin sets a level before BeginPlay.
void BM_JournalFieldWriteThenCall(benchmark::State& state)
{
    sim::Game game;
    APrimalDinoCharacter* raptor = SpawnRaptor(game);
    JournalOn journal(static_cast<std::size_t>(state.range(0)));
    int level = 0;
    for (auto _ : state) {
        FieldOf(member::AbsoluteBaseLevel, raptor) = ++level;
        Call(member::BeginPlay, raptor);
    }
}
BENCHMARK(BM_JournalFieldWriteThenCall)->Arg(0)->Arg(100'000);

// A million calls into a journal of 100,000 entries: the mean, and the slowest
// single call, which would show any pause to grow or trim the journal.
void BM_JournalMillionCallsSlowest(benchmark::State& state)
{
    sim::Game game;
    APrimalDinoCharacter* raptor = SpawnRaptor(game);
    JournalOn journal(100'000);
    double slowest = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1'000'000; ++i) {
            const auto start = std::chrono::steady_clock::now();
            Call(member::ForceNetUpdate, raptor, false, true, false);
            slowest = std::max(slowest, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
    }
    state.counters["max_us"] = slowest;
    state.counters["kept"] = static_cast<double>(sim::GetJournal().Size());
    state.counters["held_MB"] = static_cast<double>(sim::GetJournal().HeldBytes()) / 1e6;
}
BENCHMARK(BM_JournalMillionCallsSlowest)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
