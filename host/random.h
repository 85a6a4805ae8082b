// Random draws for the stat words' ranges.
#pragma once

#include <array>
#include <cstdint>

namespace kestrova {

// One value from the platform's non-deterministic source, asked of the system
// itself (random_posix.cpp, random_windows.cpp): a CPU's seed instruction, which is
// what std::random_device may pick by default, costs tens of times more under a
// virtual machine than the system's own generator.
std::uint32_t SystemSeed();

// The first two outputs of a Mersenne Twister (MT19937, standard initialisation)
// seeded with `seed`, as std::mt19937 gives them. They depend on only five of its
// 624 state words, the last of them word 398, so only those are made and nothing
// else is twisted: about a sixth of the cost of a std::mt19937 and two draws.
std::array<std::uint32_t, 2> FirstTwoOutputs(std::uint32_t seed);

// Those two outputs d0 and d1 as u = (d0 + d1 * 2^32) / 2^64 in double precision,
// so 0 <= u <= 1.
double UnitFromSeed(std::uint32_t seed);

// UnitFromSeed of a fresh SystemSeed: every draw seeds its own generator.
double DrawUnit();

// Where a range's u comes from: DrawUnit, or a fixed value where a test needs one.
using UnitDraw = double (*)();

}  // namespace kestrova
