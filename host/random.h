// Random draws for the stat words' ranges.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrova {

// Seeds are asked of the system this many at a time: 256 bytes, as much as
// getentropy gives in one call.
inline constexpr std::size_t kSeedBlock = 64;
using SeedBlock = std::array<std::uint32_t, kSeedBlock>;
using UnitBlock = std::array<double, kSeedBlock>;

// Fills `seeds` from the platform's non-deterministic source, asked of the system
// itself (random_posix.cpp, random_windows.cpp): a CPU's seed instruction, which is
// what std::random_device may pick by default, costs tens of times more under a
// virtual machine than the system's own generator.
void SystemSeeds(SeedBlock& seeds);

// For each seed, the first two outputs d0 and d1 of a Mersenne Twister (MT19937,
// standard initialisation) seeded with it, as std::mt19937 gives them, as
// u = (d0 + d1 * 2^32) / 2^64 in double precision, so 0 <= u <= 1. The outputs
// depend on only five of the generator's 624 state words, the last of them word
// 398, so only those are made and nothing else is twisted; the seeds' state words
// are made side by side, which a processor does several at once.
UnitBlock UnitsFromSeeds(const SeedBlock& seeds);

// Units drawn a block of seeds at a time, each seed used for one unit only.
class UnitDraws {
public:
    using Fill = void (*)(SeedBlock&);
    explicit constexpr UnitDraws(Fill fill) : fill_(fill) {}

    // The next unit; a used-up block is refilled first. A fill that throws
    // leaves the block used up, so the next call asks again.
    double Next();

private:
    Fill fill_;
    UnitBlock units_{};
    std::size_t next_ = kSeedBlock;
};

// The next unit of this thread's draws from SystemSeeds: every draw has a
// generator seeded afresh, and only one draw in kSeedBlock asks the system.
double DrawUnit();

// Where a range's u comes from: DrawUnit, or a fixed value where a test needs one.
using UnitDraw = double (*)();

}  // namespace kestrova
