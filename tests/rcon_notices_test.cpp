#include <chrono>

#include <gtest/gtest.h>

#include "rcon/notices.h"

namespace sim::rcon {
namespace {

using namespace std::chrono_literals;
using Held = std::vector<std::pair<Notice, std::size_t>>;

const auto t0 = NoticeThrottle::Clock::time_point{} + 1h;

TEST(RconNotices, OneLineASecondPerKindThenACountOfTheRest)
{
    NoticeThrottle throttle(1s);
    EXPECT_TRUE(throttle.Admit(Notice::AuthTimeout, t0));
    EXPECT_TRUE(throttle.Admit(Notice::Malformed, t0)) << "each kind has its own second";
    EXPECT_FALSE(throttle.NextDue());
    for (int i = 0; i < 500; ++i)
        EXPECT_FALSE(throttle.Admit(Notice::AuthTimeout, t0 + i * 1ms));
    EXPECT_EQ(throttle.NextDue(), t0 + 1s);
    EXPECT_EQ(throttle.Due(t0 + 999ms), Held{});
    EXPECT_EQ(throttle.Due(t0 + 1s), (Held{{Notice::AuthTimeout, 500}}));

    // The count's line takes that second: what comes in it joins the next count.
    EXPECT_FALSE(throttle.Admit(Notice::AuthTimeout, t0 + 1500ms));
    EXPECT_EQ(throttle.Due(t0 + 2s), (Held{{Notice::AuthTimeout, 1}}));
    // A quiet second later, a notice shows at once again.
    EXPECT_TRUE(throttle.Admit(Notice::AuthTimeout, t0 + 3s));
}

TEST(RconNotices, ACountNotYetReportedComesFirst)
{
    NoticeThrottle throttle(1s);
    throttle.Admit(Notice::Refused, t0);
    throttle.Admit(Notice::Refused, t0);
    EXPECT_FALSE(throttle.Admit(Notice::Refused, t0 + 5s)) << "the late count has not been reported";
    EXPECT_EQ(throttle.TakeAll(), (Held{{Notice::Refused, 2}}));
    EXPECT_EQ(DescribeHeldBack(Notice::Refused, 2), "RCON: 2 more refused connections (not shown)");
}

}  // namespace
}  // namespace sim::rcon
