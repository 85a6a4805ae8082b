// What each module's runtime pieces must do when two modules meet, with a DLL built
// like the plugin (msvc-runtime/probe).
#include <runtime_probe.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace {

TEST(MsvcRuntime, AnExceptionThrownInOneModuleIsCaughtInAnother)
{
    try {
        probe::Throw("thrown in the DLL");
        FAIL() << "nothing was thrown";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "thrown in the DLL");
    }
}

TEST(MsvcRuntime, AThreadLocalObjectEndsWithItsThread)
{
    const int before = probe::ThreadLocalsDestroyed();
    std::thread([] { probe::TouchThreadLocal(); }).join();
    EXPECT_EQ(probe::ThreadLocalsDestroyed(), before + 1);
}

TEST(MsvcRuntime, AFunctionLocalStaticReachedByTwoThreadsAtOnceIsMadeOnce)
{
    const void* seen[2] = {};
    std::thread first([&] { seen[0] = probe::SlowStatic(); });
    std::thread second([&] { seen[1] = probe::SlowStatic(); });
    first.join();
    second.join();
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(probe::SlowStaticsConstructed(), 1);
}

TEST(MsvcRuntime, AStackFrameOverOnePageIsProbedPageByPage)
{
    EXPECT_EQ(probe::SumOfLargeFrame(), 64 * 1024);
}

}  // namespace
