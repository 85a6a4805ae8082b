// The draw behind every range: a generator seeded afresh per draw, the seeds asked
// of the system a block at a time.
#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "host/random.h"

namespace kestrova::test {
namespace {

// u as the draw defines it, from a real std::mt19937.
double UnitOfStdMt19937(std::uint32_t seed)
{
    std::mt19937 generator(seed);
    const auto d0 = static_cast<std::uint32_t>(generator());
    const auto d1 = static_cast<std::uint32_t>(generator());
    return (static_cast<double>(d0) + static_cast<double>(d1) * 4294967296.0) / 18446744073709551616.0;
}

TEST(UnitsFromSeeds, AreThoseOfAFreshStdMt19937PerSeed)
{
    std::vector<std::uint32_t> seeds = {0, 1, 5489, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (std::uint32_t seed = 3; seed < 4'000'000'000u; seed += 39'916'801u)
        seeds.push_back(seed);
    for (std::size_t start = 0; start < seeds.size(); start += kSeedBlock) {
        SeedBlock block{};
        std::copy_n(seeds.begin() + static_cast<std::ptrdiff_t>(start), std::min(kSeedBlock, seeds.size() - start),
                    block.begin());
        const UnitBlock units = UnitsFromSeeds(block);
        for (std::size_t n = 0; n < kSeedBlock; ++n)
            EXPECT_EQ(units[n], UnitOfStdMt19937(block[n])) << "seed " << block[n];
    }
}

TEST(UnitsFromSeeds, TakeTheFirstOutputAsTheLowHalf)
{
    // MT19937's first two outputs for its standard seed 5489 are 3499211612 and
    // 581869302: u = (3499211612 + 581869302 * 2^32) / 2^64.
    SeedBlock block{};
    block[7] = 5489;
    EXPECT_DOUBLE_EQ(UnitsFromSeeds(block)[7], 0.1354770042967805);
}

// Seeds 0, 1, 2, ... a block at a time; a fill can be made to fail once.
std::uint32_t nextSeed = 0;
int fills = 0;
bool failNextFill = false;

void CountingSeeds(SeedBlock& seeds)
{
    ++fills;
    if (failNextFill) {
        failNextFill = false;
        throw std::runtime_error("no entropy");
    }
    for (std::uint32_t& seed : seeds)
        seed = nextSeed++;
}

class UnitDrawsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nextSeed = 0;
        fills = 0;
        failNextFill = false;
    }

    static double UnitOfSeed(std::uint32_t seed)
    {
        SeedBlock block{};
        block[0] = seed;
        return UnitsFromSeeds(block)[0];
    }
};

TEST_F(UnitDrawsTest, UseEachSeedOnceInOrderAndAskForABlockOnlyWhenOneIsUsedUp)
{
    UnitDraws draws(CountingSeeds);
    EXPECT_EQ(fills, 0) << "nothing is asked before the first draw";
    const auto count = static_cast<std::uint32_t>(2 * kSeedBlock + 3);
    for (std::uint32_t seed = 0; seed < count; ++seed)
        ASSERT_EQ(draws.Next(), UnitOfSeed(seed)) << "draw " << seed;
    EXPECT_EQ(fills, 3);
}

TEST_F(UnitDrawsTest, AFillThatFailsIsAskedAgainAndReusesNothing)
{
    UnitDraws draws(CountingSeeds);
    for (std::size_t i = 0; i < kSeedBlock; ++i)
        draws.Next();
    failNextFill = true;
    EXPECT_THROW(draws.Next(), std::runtime_error);
    EXPECT_EQ(draws.Next(), UnitOfSeed(static_cast<std::uint32_t>(kSeedBlock))) << "the next draw asks again";
    EXPECT_EQ(fills, 3);
}

TEST(DrawUnit, StaysWithinZeroAndOneAndVaries)
{
    double lowest = 1.0;
    double highest = 0.0;
    for (std::size_t i = 0; i < 10 * kSeedBlock; ++i) {
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
