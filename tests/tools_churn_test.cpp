// The churn against the RCON endpoint in this process: what it counts is what
// kestrova-soak's verdict on the flood policy rests on, so an honest client
// counts as in only within the bound it was given.
#include <chrono>

#include <gtest/gtest.h>

#include "churn.h"
#include "support/rcon_fixture.h"

namespace kestrova::tools {
namespace {

using namespace std::chrono_literals;

class ToolsChurn : public test::RconFixture {
protected:
    ChurnOptions Small(std::chrono::milliseconds honestWithin)
    {
        ChurnOptions options;
        options.server = {"127.0.0.1", server_->Port(), kPassword};
        options.kinds = {Churn::Silent};
        options.connections = 4;
        options.addresses = 2;
        options.honest = 6;
        options.honestEvery = 1ms;
        options.honestAtOnce = 2;
        options.rampUp = 0ms;
        options.honestWithin = honestWithin;
        options.command = "hello";
        options.expect = "echo: hello";
        options.quietRequests = 5;
        options.goodGap = 1ms;
        options.timeLimit = 60s;
        return options;
    }
};

TEST_F(ToolsChurn, CountsAnHonestClientAsInOnlyWithinItsBound)
{
    Start();
    const ChurnResult ample = RunChurn(Small(30s));
    ASSERT_EQ(ample.phases.size(), 1u);
    EXPECT_EQ(ample.phases[0].honestShutOut, 0u);
    EXPECT_EQ(ample.phases[0].honestIn, 6u);

    // No login over the network takes no time at all: every client gets in, late.
    const ChurnResult late = RunChurn(Small(0ms));
    ASSERT_EQ(late.phases.size(), 1u);
    EXPECT_EQ(late.phases[0].honestShutOut, 0u);
    EXPECT_EQ(late.phases[0].honest.Count(), 6u) << "all of them got in";
    EXPECT_EQ(late.phases[0].honestIn, 0u) << "none of them within the bound";
}

}  // namespace
}  // namespace kestrova::tools
