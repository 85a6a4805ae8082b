#include <chrono>

#include <gtest/gtest.h>

#include "rcon/lockouts.h"

namespace sim::rcon {
namespace {

using namespace std::chrono_literals;

TEST(RconLockouts, DoublesWithEachFailureUpToTheCap)
{
    Lockouts lockouts(1s, 5s);
    const auto t = Lockouts::Clock::time_point{} + 1h;
    EXPECT_EQ(lockouts.Fail("10.0.0.1", t), 1s);
    EXPECT_EQ(lockouts.Fail("10.0.0.1", t), 2s);
    EXPECT_EQ(lockouts.Fail("10.0.0.1", t), 4s);
    EXPECT_EQ(lockouts.Fail("10.0.0.1", t), 5s);
    EXPECT_EQ(lockouts.Fail("10.0.0.1", t), 5s);

    EXPECT_TRUE(lockouts.IsLocked("10.0.0.1", t + 4999ms));
    EXPECT_FALSE(lockouts.IsLocked("10.0.0.1", t + 5s));
    EXPECT_FALSE(lockouts.IsLocked("10.0.0.2", t)) << "other addresses are not affected";
}

TEST(RconLockouts, ARightPasswordOrALongQuietForgetsFailures)
{
    Lockouts lockouts(1s, 8s);
    const auto t = Lockouts::Clock::time_point{} + 1h;
    lockouts.Fail("a", t);
    lockouts.Fail("a", t);
    lockouts.Succeed("a");
    EXPECT_FALSE(lockouts.IsLocked("a", t));
    EXPECT_EQ(lockouts.Fail("a", t), 1s);

    // Locked until t + 2 s; quiet for a whole cap after that starts afresh.
    EXPECT_EQ(lockouts.Fail("a", t), 2s);
    EXPECT_EQ(lockouts.Fail("a", t + 2s + 8s), 1s);
}

}  // namespace
}  // namespace sim::rcon
