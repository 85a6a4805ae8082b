// Number ranges: which end a draw starts from, and the draw itself.
#include <gtest/gtest.h>

#include "host/random.h"
#include "host/words.h"

namespace kestrova::test {
namespace {

double ReadFloat(std::string_view text) { return ToFloat(text); }

TEST(NumberOrRange, RunsFromTheFirstEndTowardTheSecond)
{
    EXPECT_EQ(NumberOrRange("3-4", ReadFloat, 0.0), 3.0);
    EXPECT_EQ(NumberOrRange("3-4", ReadFloat, 1.0), 4.0);
    EXPECT_EQ(NumberOrRange("3-4", ReadFloat, 0.25), 3.25);
    EXPECT_EQ(NumberOrRange("10-5", ReadFloat, 0.25), 8.75) << "a reversed range runs downward";
    EXPECT_EQ(NumberOrRange("7.5", ReadFloat, 0.9), 7.5) << "no range: the number itself";
    EXPECT_EQ(SaturatedInt(NumberOrRange("3-4", ReadFloat, 0.999)), 3);
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
