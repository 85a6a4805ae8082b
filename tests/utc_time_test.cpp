// The ledger's time stamps.
#include <gtest/gtest.h>

#include "ledger/utc_time.h"

namespace kestrova::test {
namespace {

using namespace std::chrono;

TEST(UtcTime, DateAndTimeWithMillisecondsCutNotRounded)
{
    const sys_days day = 2026y / December / 8;
    EXPECT_EQ(UtcTimeText(day + 16h + 20min + 1s + 123ms), "2026-12-08T16:20:01.123Z");
    EXPECT_EQ(UtcTimeText(day + 16h + 20min + 1s + 123999us), "2026-12-08T16:20:01.123Z");
    EXPECT_EQ(UtcTimeText(sys_days{2024y / February / 29} + 23h + 59min + 59s + 999ms), "2024-02-29T23:59:59.999Z");
    EXPECT_EQ(UtcTimeText(system_clock::time_point{}), "1970-01-01T00:00:00.000Z");
    EXPECT_EQ(UtcTimeText(sys_days{1969y / December / 31} + 23h + 59min + 59s + 1ms), "1969-12-31T23:59:59.001Z");
}

}  // namespace
}  // namespace kestrova::test
