// KV.SpawnDinoStats through its console callback.
#include <array>
#include <string>

#include "host/members.h"
#include "support/creature_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using ::testing::StartsWith;

const std::string kRaptorWord = kRaptor;
using Points = std::array<int, 12>;

class SpawnDinoStats : public CreatureTest {
protected:
    void Run(const std::string& words, std::string_view player = "1001")
    {
        RunConsoleAs(player, "KV.SpawnDinoStats " + words);
    }

    // A raptor kept in the world with these gender and stat words.
    sim::Dino& KeptRaptor(const std::string& genderAndStats)
    {
        Run(kRaptorWord + " \"\" 0 0 0 1 0 0 " + genderAndStats);
        return NewestCreature();
    }

    static Points PointsOf(const sim::Dino& creature)
    {
        Points points{};
        std::copy_n(creature.MyCharacterStatusComponent->NumberOfLevelUpPointsApplied, 12, points.begin());
        return points;
    }

    void ExpectNothing(const std::string& words)
    {
        SCOPED_TRACE(words);
        Journal().Clear();
        Run(words);
        EXPECT_THAT(Trail(), IsEmpty());
        EXPECT_EQ(Escaped(), 0);
        EXPECT_THAT(LogLines(), IsEmpty());
    }
};

TEST_F(SpawnDinoStats, SixStatWordsLandOnTheirStatusValuesAndMakeTheLevel)
{
    sim::Dino& raptor = KeptRaptor("R 10 20 30 40 50 60");

    EXPECT_EQ(PointsOf(raptor), (Points{10, 20, 0, 30, 40, 0, 0, 50, 60, 0, 0, 0}));
    const sim::StatusComponent& status = *raptor.MyCharacterStatusComponent;
    EXPECT_EQ(status.BaseCharacterLevel, 211);
    EXPECT_EQ(raptor.AbsoluteBaseLevel, 1);
    // Rescaled (health 200 × 2), filled to the maxima, and the maxima synced.
    EXPECT_FLOAT_EQ(status.MaxStatusValues[0], 400.0f);
    EXPECT_FLOAT_EQ(status.CurrentStatusValues[0], 400.0f);
    EXPECT_THAT(status.syncedMaxValues, ElementsAreArray(status.MaxStatusValues));

    EXPECT_THAT(Steps({"BeginPlay", "RescaleAllStats", "UpdateWeightStat", "SetAllStatsToMaximum",
                       "StringReferenceToClass"}),
                ElementsAre("Raptor_Character_BP_C#2 BeginPlay()", "Raptor_Character_BP_C#2.Status RescaleAllStats()",
                            "Raptor_Character_BP_C#2.Status UpdateWeightStat(true)",
                            "Raptor_Character_BP_C#2.Status SetAllStatsToMaximum()",
                            StartsWith("StringReferenceToClass(")));
}

TEST_F(SpawnDinoStats, PointsTravelInTheCryopod)
{
    Run(kRaptorWord + " \"\" 0 0 0 0 0 0 R 10 20 30 40 50 60");
    ASSERT_THAT(InventoryOf("1001"), SizeIs(1));
    const TArray<float>& floats = InventoryOf("1001")[0]->customData.Floats;
    std::vector<float> stored;
    for (int i = 34; i < 45; ++i)
        stored.push_back(floats[i]);
    EXPECT_THAT(stored, ElementsAre(10, 20, 0, 30, 40, 0, 0, 50, 60, 0, 0));
}

TEST_F(SpawnDinoStats, StatWordsStopAtANonNumberAndSkipABadRange)
{
    EXPECT_EQ(PointsOf(KeptRaptor("R 10 x 30 40 50 60")), (Points{10}));
    EXPECT_EQ(PointsOf(KeptRaptor("R 10 5-x 30")), (Points{10, 0, 0, 30}));
    // A negative number is one piece after the split; 300 is clamped later.
    sim::Dino& clamped = KeptRaptor("R -5 300");
    EXPECT_EQ(PointsOf(clamped), (Points{0, 255}));
    EXPECT_EQ(clamped.MyCharacterStatusComponent->BaseCharacterLevel, 256);
    // Words 16 and 17 are ignored rather than written past the six slots.
    sim::Dino& extra = KeptRaptor("R 1 2 3 4 5 6 7 8");
    EXPECT_EQ(PointsOf(extra), (Points{1, 2, 0, 3, 4, 0, 0, 5, 6}));
    EXPECT_EQ(extra.MyCharacterStatusComponent->BaseCharacterLevel, 22);
    // Beyond 32 bits saturates, then clamps.
    EXPECT_EQ(PointsOf(KeptRaptor("R 99999999999")), (Points{255}));
    EXPECT_EQ(Escaped(), 0);
}

TEST_F(SpawnDinoStats, RangesDrawWithinTheirBounds)
{
    for (int run = 0; run < 5; ++run) {
        const Points points = PointsOf(KeptRaptor("R 1-100 1-100 1-100 1-100 100-1 5-5"));
        for (const std::size_t index : {0u, 1u, 3u, 4u, 7u}) {
            EXPECT_GE(points[index], 1);
            EXPECT_LE(points[index], 100);
        }
        EXPECT_EQ(points[8], 5);
    }
}

TEST_F(SpawnDinoStats, NineAndTenWordLines)
{
    ExpectNothing(kRaptorWord + " \"\" 0 0 0 1 0");  // eight words

    // Nine: the game's sex, six zero slots, colours from word 8.
    Run("\"" + kRaptorWord + "\" \"\" 0 0 0 1 0 0,0,12");
    sim::Dino& first = NewestCreature();
    EXPECT_THAT(TrailOf(member::SpawnActor.name), ElementsAre(::testing::HasSubstr("(\"" + kRaptorWord + "\", 100")));
    EXPECT_FALSE(first.Flag(sim::kIsFemaleBit));
    EXPECT_EQ(first.colors, (std::array<int, 6>{0, 0, 12, 0, 0, 0}));
    EXPECT_EQ(PointsOf(first), Points{});
    EXPECT_EQ(first.MyCharacterStatusComponent->BaseCharacterLevel, 1);

    // Ten: the sex word applies where the game would give the other one.
    EXPECT_FALSE(KeptRaptor("r").Flag(sim::kIsFemaleBit));
    EXPECT_TRUE(KeptRaptor("F").Flag(sim::kIsFemaleBit));
}

TEST_F(SpawnDinoStats, NeuterReadsTheIntegerPart)
{
    Run(kRaptorWord + " \"\" 0 0 1.5 1 0 0");
    Run(kRaptorWord + " \"\" 0 0 2 1 0 0");
    ASSERT_THAT(Creatures(), SizeIs(2));
    EXPECT_TRUE(Creatures()[0]->Flag(sim::kNeuteredBit));
    EXPECT_FALSE(Creatures()[1]->Flag(sim::kNeuteredBit));
}

TEST_F(SpawnDinoStats, ConversionErrorsEndTheCommandSilentlyBeforeAnythingIsSpawned)
{
    ExpectNothing(kRaptorWord + " \"\" - 0 0 1 0 0");                 // item quality a lone sign
    ExpectNothing(kRaptorWord + " \"\" 0 + 0 1 0 0");                 // imprint a lone sign
    ExpectNothing(kRaptorWord + " \"\" 0 0 0 1 0 0 R 10 -3-5");       // a range with nothing before it
    ExpectNothing(kRaptorWord + " \"\" 0 0 0 1 0 0 R 1" + std::string(40, '0'));  // beyond a float
    ExpectNothing(kRaptorWord + " \"\" 0 0 0 1 0 . R");               // a colour piece that is a lone point
    ExpectNothing(kRaptorWord + " \"\" 0 0 0 1 x 0 R 1 2 3 4 5 6");   // word 7 not numeric
}

}  // namespace
}  // namespace kestrova::test
