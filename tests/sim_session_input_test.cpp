// How kestrova-sim's session learns that it must stop. On Linux the stop signals
// are exercised end to end (sim_rcon_test.cpp); on Windows the console's control
// events, which Wine cannot send from one process to another, are delivered here
// by calling the handler as Windows does.
#include <chrono>
#include <future>

#include <gtest/gtest.h>

#include "app/session_input.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kestrova::test {
namespace {

#ifdef _WIN32
using namespace std::chrono_literals;

// The next Stop event; lines and the end of the test's own input are passed over.
sim::SessionEvent NextStop(sim::SessionInput& input)
{
    for (;;) {
        sim::SessionEvent event = input.Next();
        if (event.kind == sim::SessionEvent::Kind::Stop)
            return event;
    }
}

TEST(SessionInput, CtrlBreakStopsTheSession)
{
    sim::SessionInput input;
    EXPECT_EQ(sim::OnConsoleEvent(CTRL_BREAK_EVENT), TRUE) << "handled, so Windows does not end the process";
    EXPECT_EQ(NextStop(input).why, "Ctrl+Break");
}

TEST(SessionInput, ClosingConsoleWaitsUntilTheSessionIsOver)
{
    std::future<int> handled;
    {
        sim::SessionInput input;
        // Windows ends the process when the handler returns: it must not before
        // the session (and with it the plugin) has ended.
        handled = std::async(std::launch::async, [] { return sim::OnConsoleEvent(CTRL_CLOSE_EVENT); });
        EXPECT_EQ(NextStop(input).why, "console closed");
        EXPECT_EQ(handled.wait_for(200ms), std::future_status::timeout);
    }
    ASSERT_EQ(handled.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(handled.get(), TRUE);
}

TEST(SessionInput, EventsWithoutASessionAreLeftToWindows)
{
    EXPECT_EQ(sim::OnConsoleEvent(CTRL_C_EVENT), FALSE);
}
#endif

}  // namespace
}  // namespace kestrova::test
