// The draw behind every range: a fresh generator per draw, seeded from the system.
#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "host/random.h"

namespace kestrova::test {
namespace {

TEST(FirstTwoOutputs, AreThoseOfAFreshStdMt19937)
{
    std::vector<std::uint32_t> seeds = {0, 1, 5489, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (std::uint32_t seed = 3; seed < 4'000'000'000u; seed += 39'916'801u)
        seeds.push_back(seed);
    for (const std::uint32_t seed : seeds) {
        std::mt19937 generator(seed);
        const std::uint32_t d0 = static_cast<std::uint32_t>(generator());
        const std::uint32_t d1 = static_cast<std::uint32_t>(generator());
        EXPECT_EQ(FirstTwoOutputs(seed), (std::array<std::uint32_t, 2>{d0, d1})) << "seed " << seed;
    }
}

TEST(UnitFromSeed, TakesTheFirstOutputAsTheLowHalf)
{
    // MT19937's first two outputs for its standard seed 5489 are 3499211612 and
    // 581869302: u = (3499211612 + 581869302 * 2^32) / 2^64.
    EXPECT_DOUBLE_EQ(UnitFromSeed(5489), 0.1354770042967805);
    EXPECT_NE(UnitFromSeed(1), UnitFromSeed(2));
}

TEST(DrawUnit, StaysWithinZeroAndOneAndVaries)
{
    double lowest = 1.0;
    double highest = 0.0;
    for (int i = 0; i < 1000; ++i) {
        const double u = DrawUnit();
        ASSERT_GE(u, 0.0);
        ASSERT_LE(u, 1.0);
        lowest = std::min(lowest, u);
        highest = std::max(highest, u);
    }
    EXPECT_LT(lowest, 0.1);
    EXPECT_GT(highest, 0.9);
}

}  // namespace
}  // namespace kestrova::test
