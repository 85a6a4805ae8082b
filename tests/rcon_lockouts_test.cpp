#include <chrono>

#include <gtest/gtest.h>

#include "rcon/connection.h"
#include "rcon/lockouts.h"

namespace sim::rcon {
namespace {

using namespace std::chrono_literals;

const auto t0 = Lockouts::Clock::time_point{} + 1h;

Lockouts::Policy Policy()
{
    return {5, 60s, 1s, 5min};
}

TEST(RconLockouts, OnlyARunOfFailuresWithinTheWindowLocksOut)
{
    Lockouts lockouts(Policy());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lockouts.Fail("10.0.0.1", t0 + i * 1s), 0s) << "failure " << i + 1 << " is forgiven";
    EXPECT_FALSE(lockouts.IsLocked("10.0.0.1", t0 + 4s));

    EXPECT_EQ(lockouts.Fail("10.0.0.1", t0 + 4s), 1s);
    EXPECT_TRUE(lockouts.IsLocked("10.0.0.1", t0 + 4999ms));
    EXPECT_FALSE(lockouts.IsLocked("10.0.0.1", t0 + 5s));
    EXPECT_FALSE(lockouts.IsLocked("10.0.0.2", t0 + 4s)) << "other addresses are not affected";

    // Five failures spread wider than the window never lock.
    Lockouts spread(Policy());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(spread.Fail("a", t0 + i * 16s), 0s) << "failure " << i + 1;
}

TEST(RconLockouts, ARightPasswordBeforeTheLockOutClearsTheCount)
{
    Lockouts lockouts(Policy());
    for (int i = 0; i < 4; ++i)
        lockouts.Fail("a", t0);
    lockouts.Succeed("a");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lockouts.Fail("a", t0 + 1s), 0s) << "counting starts again";
    EXPECT_EQ(lockouts.Fail("a", t0 + 1s), 1s);
}

TEST(RconLockouts, DoublesWhileFailuresGoOnUpToTheCapThenStartsAfresh)
{
    Lockouts lockouts({5, 60s, 1s, 5s});
    for (int i = 0; i < 4; ++i)
        lockouts.Fail("a", t0);
    auto t = t0;
    for (const auto expected : {1s, 2s, 4s, 5s, 5s}) {
        EXPECT_EQ(lockouts.Fail("a", t), expected);
        t += expected;  // the next failure comes as soon as the lock-out ends
    }
    // Quiet for a whole window after the last lock-out: forgiven again.
    EXPECT_EQ(lockouts.Fail("a", t + 60s), 0s);
}

TEST(RconLockouts, QuietAddressesAreForgotten)
{
    Lockouts lockouts(Policy());
    for (int i = 0; i < 100; ++i)
        lockouts.Fail("10.0.0." + std::to_string(i), t0);
    EXPECT_EQ(lockouts.Tracked(), 100u);
    lockouts.Fail("10.0.1.1", t0 + 61s);
    EXPECT_EQ(lockouts.Tracked(), 1u);
}

TEST(RconLockouts, ALockOutOutlastingTheWindowSurvivesTheSweepOfQuietAddresses)
{
    Lockouts lockouts(Policy());
    for (int i = 0; i < 4; ++i)
        lockouts.Fail("a", t0);
    // Each failure as soon as the lock-out ends, until one is longer than the window.
    auto t = t0;
    Lockouts::Clock::duration lock{};
    for (int i = 0; i < 10 && lock <= 60s; ++i) {
        lock = lockouts.Fail("a", t);
        t += lock;
    }
    ASSERT_GT(lock, 60s) << "the lock-out runs on while the quiet addresses are swept away";
    const auto lockedFrom = t - lock;

    // Another address fails a window later, which sweeps the quiet ones away.
    lockouts.Fail("b", lockedFrom + 61s);
    EXPECT_TRUE(lockouts.IsLocked("a", lockedFrom + 61s)) << "locked out for " << lock / 1s << " s";
    EXPECT_EQ(lockouts.Fail("a", t), 2 * lock) << "and the doubling goes on";
}

TEST(RconPassword, MatchesOnlyTheWholePasswordAndNeverAnEmptyOne)
{
    EXPECT_TRUE(PasswordMatches("secret", "secret"));
    EXPECT_FALSE(PasswordMatches("secre", "secret"));
    EXPECT_FALSE(PasswordMatches("secrets", "secret"));
    EXPECT_FALSE(PasswordMatches(std::string_view("secret\0", 7), "secret"));
    EXPECT_FALSE(PasswordMatches("Secret", "secret"));
    EXPECT_FALSE(PasswordMatches("", "secret"));
    EXPECT_FALSE(PasswordMatches("", ""));
    EXPECT_FALSE(PasswordMatches("anything", ""));
}

}  // namespace
}  // namespace sim::rcon
