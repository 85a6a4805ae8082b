// The stat words as the commands read and draw them: numbers, ranges and the
// direction a range runs, for the creature commands' points (DrawStatPoints) and
// the item command's values (DrawItemStats).
#include <cstdint>
#include <limits>
#include <set>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dino/spawn_dino_grammar.h"
#include "framework/host.h"
#include "framework/memory.h"
#include "item/spawn_item_grammar.h"

namespace kestrova {
namespace {

using ::testing::ElementsAre;

// Fixed draws: both ends of u's range, and a point between them.
double Zero() { return 0.0; }
double One() { return 1.0; }
double Quarter() { return 0.25; }

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

class StatWordsTest : public ::testing::Test {
protected:
    void SetUp() override { sim::RegisterAllocator(); }

    // A KV.SpawnDinoStats line whose words from 10 on are `stats`.
    static DinoLine Creature(const std::string& stats)
    {
        const sim::WideString line = sim::FromUtf8("KV.SpawnDinoStats a b 0 0 0 0 0 0 R " + stats);
        return ParseSpawnDinoStats(CommandWords(line));
    }

    // A KV.SpawnItem line whose words from 6 on are `stats`.
    static ItemLine Items(const std::string& stats)
    {
        const sim::WideString line = sim::FromUtf8("KV.SpawnItem a b 0 0 1 " + stats);
        return ParseSpawnItem(CommandWords(line));
    }

    static std::vector<std::int32_t> Points(const std::string& stats, UnitDraw draw)
    {
        return DrawStatPoints(Creature(stats).stats, draw);
    }
};

TEST_F(StatWordsTest, ARangeRunsFromTheEndWrittenFirst)
{
    EXPECT_THAT(Points("3-7 7-3", Zero), ElementsAre(3, 7, 0, 0, 0, 0));
    EXPECT_THAT(Points("3-7 7-3", One), ElementsAre(7, 3, 0, 0, 0, 0));
    EXPECT_THAT(Points("10-20 20-10", Quarter), ElementsAre(12, 17, 0, 0, 0, 0)) << "12.5 and 17.5, truncated";
    // The ends are truncated before the draw: 2.9-5.9 runs from 2 to 5.
    EXPECT_THAT(Points("2.9-5.9 2.9-5.9", One), ElementsAre(5, 5, 0, 0, 0, 0));
    EXPECT_THAT(Points("2.9-5.9", Quarter), ElementsAre(2, 0, 0, 0, 0, 0)) << "2 + 0.75";

    EXPECT_THAT(DrawItemStats(Items("5-10 10-5 5-10").stats, Quarter), ElementsAre(6.25f, 8.75f, 6.25f, 0.0f, 0.0f));
    EXPECT_THAT(DrawItemStats(Items("5-10 10-5").stats, One), ElementsAre(10.0f, 5.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_THAT(DrawItemStats(Items("0.5-1.5").stats, Quarter), ElementsAre(0.75f, 0.0f, 0.0f, 0.0f, 0.0f))
        << "an item stat's ends keep their fractions";
}

TEST_F(StatWordsTest, NumbersAreNotMovedByTheDraw)
{
    for (const UnitDraw draw : {Zero, One, Quarter}) {
        EXPECT_THAT(Points("7.9 +12 5-5 0", draw), ElementsAre(7, 12, 5, 0, 0, 0));
        EXPECT_THAT(DrawItemStats(Items("7.5 +2 5-5").stats, draw), ElementsAre(7.5f, 2.0f, 5.0f, 0.0f, 0.0f));
    }
}

TEST_F(StatWordsTest, PointsSaturateToThirtyTwoBits)
{
    EXPECT_THAT(Points("99999999999 99999999999-99999999999 0--99999999999", Quarter),
                ElementsAre(kMax, kMax, kMin / 4, 0, 0, 0))
        << "the second end of 0--99999999999 is -99999999999, saturated";
    EXPECT_THAT(Points("0--99999999999", One), ElementsAre(kMin, 0, 0, 0, 0, 0));
}

TEST_F(StatWordsTest, AnEndThatDoesNotConvertStopsTheLine)
{
    for (const char* word : {"-3-5", "+", "5---7"}) {
        const DinoLine creature = Creature(std::string("10 ") + word);
        ASSERT_TRUE(creature.stop.has_value()) << word;
        EXPECT_EQ(creature.stop->word, 11) << word;
        EXPECT_EQ(creature.stop->message, "invalid stof argument") << word;

        const ItemLine items = Items(std::string("10 ") + word);
        EXPECT_FALSE(items.stop.has_value()) << "the items are made first";
        ASSERT_TRUE(items.statStop.has_value()) << word;
        EXPECT_EQ(items.statStop->word, 7) << word;
    }
}

TEST_F(StatWordsTest, DrawnRangesStayWithinTheirEndsAndSpread)
{
    std::set<std::int32_t> up;
    std::set<std::int32_t> down;
    const StatWords<6> words = Creature("3-7 7-3").stats;
    for (int draw = 0; draw < 200; ++draw) {
        const std::vector<std::int32_t> points = DrawStatPoints(words);
        up.insert(points[0]);
        down.insert(points[1]);
    }
    // 7 only when u is exactly 1 (or, for 7-3, exactly 0): odds of 2^-64.
    EXPECT_GE(*up.begin(), 3);
    EXPECT_LE(*up.rbegin(), 6);
    EXPECT_GE(*down.begin(), 3);
    EXPECT_LE(*down.rbegin(), 6);
    // Each draw seeds afresh; 200 equal draws of about four likely values would
    // take odds of about 4^-199.
    EXPECT_GT(up.size(), 1u);
    EXPECT_GT(down.size(), 1u);
}

}  // namespace
}  // namespace kestrova
