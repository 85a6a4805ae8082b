// kestrova-soak end to end, in miniature: it starts kestrova-sim, loads it, runs
// every fault kind a few times and a short churn, samples it from outside and stops it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/child_process.h"

namespace kestrova::test {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

TEST(ToolsSoak, DrivesTheSimThroughLoadAndFaultsAndStopsIt)
{
    const ProgramRun run = RunProgram(KESTROVA_SOAK_PATH, {"--sim", KESTROVA_SIM_PATH, "--clients", "4", "--warmup",
                                                           "200", "--requests", "500", "--faults", "3",
                                                           "--churn", "20", "--honest", "4", "--time-limit-s", "60"},
                                      std::chrono::seconds(90));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("load:      500 answered"));
    EXPECT_THAT(run.output, ContainsRegex("close mid-reply +3 runs, 0 unexpected"));
    EXPECT_THAT(run.output, HasSubstr("churn: 20 silent connections"));
    EXPECT_THAT(run.output, HasSubstr("churn: 20 partial header connections"));
    EXPECT_THAT(run.output, ContainsRegex("honest new clients: 4 of 4 in within 2000 ms"));
    EXPECT_THAT(run.output, HasSubstr("stop:      /quit, exit status 0"));
    EXPECT_THAT(run.output, HasSubstr("kestrova-soak: held up"));
}

TEST(ToolsSoak, SaysWhatItCannotStart)
{
    const ProgramRun run = RunProgram(KESTROVA_SOAK_PATH, {"--sim", "/nonexistent/kestrova-sim"});
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_THAT(run.output, HasSubstr("/nonexistent/kestrova-sim"));

    const ProgramRun usage = RunProgram(KESTROVA_SOAK_PATH, {"--faults", "many"});
    EXPECT_EQ(usage.status, 2) << usage.output;
    EXPECT_THAT(usage.output, HasSubstr("--faults needs a number"));
}

}  // namespace
}  // namespace kestrova::test
