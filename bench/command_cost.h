// What one command costs, counted around the command alone: the member
// resolutions it makes and the blocks it has the game allocate. Counts are the
// same on every run, so the last run's stand for all. Creating one turns the
// journal off, so the figures are the plugin's and the game's alone
// (journal_bench.cpp shows what the journal adds).
#pragma once

#include <cstdint>

#include <benchmark/benchmark.h>

#include "framework/journal.h"
#include "framework/members.h"
#include "framework/memory.h"

namespace kestrova::bench {

class CommandCost {
public:
    CommandCost() { sim::GetJournal().SetCapacity(0); }

    template <typename Command>
    void Measure(Command&& command)
    {
        sim::ResetResolutionCount();
        const std::uint64_t allocationsBefore = sim::GetMemoryStats().allocations;
        command();
        resolutions_ = sim::ResolutionCount();
        allocations_ = sim::GetMemoryStats().allocations - allocationsBefore;
    }

    void Report(benchmark::State& state) const
    {
        state.counters["resolutions"] = static_cast<double>(resolutions_);
        state.counters["game allocations"] = static_cast<double>(allocations_);
    }

private:
    std::uint64_t resolutions_ = 0;
    std::uint64_t allocations_ = 0;
};

}  // namespace kestrova::bench
