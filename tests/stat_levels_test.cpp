// ApplyStatLevels on a freshly spawned creature: the points and level it writes,
// and the rescale, notifications and syncs it asks the game for.
#include <array>
#include <vector>

#include "dino/stat_levels.h"
#include "host/members.h"
#include "support/creature_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Each;
using ::testing::IsEmpty;

using Points = std::array<int, 12>;

class ApplyStatLevels : public CreatureTest {
protected:
    // Spawns a creature for the player and applies `levels` to it, with the journal
    // holding only what ApplyStatLevels did.
    sim::Dino& Apply(std::vector<std::int32_t> levels, const char* reference = kRaptor,
                     std::string_view player = "1001")
    {
        sim::Dino& creature = SpawnDirect(reference, player);
        Journal().Clear();
        kestrova::ApplyStatLevels(sim::Handle<APrimalDinoCharacter>(&creature), Controller(player), std::move(levels));
        return creature;
    }

    static Points PointsOf(const sim::Dino& creature)
    {
        Points points{};
        std::copy_n(creature.MyCharacterStatusComponent->NumberOfLevelUpPointsApplied, 12, points.begin());
        return points;
    }
};

TEST_F(ApplyStatLevels, WritesClampedPointsAndTheirSumAsTheLevel)
{
    const sim::Dino& zeros = Apply(std::vector<std::int32_t>(12, 0));
    EXPECT_EQ(PointsOf(zeros), Points{});
    EXPECT_EQ(zeros.MyCharacterStatusComponent->BaseCharacterLevel, 1);

    const sim::Dino& high = Apply({255, 256, 1000, 2147483647, 255, 300, 255, 255, 999, 255, 256, 255});
    EXPECT_THAT(PointsOf(high), Each(255));
    EXPECT_EQ(high.MyCharacterStatusComponent->BaseCharacterLevel, 3061);

    const sim::Dino& mixed = Apply({-5, 300, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(PointsOf(mixed), (Points{0, 255}));
    EXPECT_EQ(mixed.MyCharacterStatusComponent->BaseCharacterLevel, 256);
    // The maxima sent are those after the rescale: stamina 150 × (1 + 25.5).
    const sim::StatusComponent& status = *mixed.MyCharacterStatusComponent;
    EXPECT_FLOAT_EQ(status.MaxStatusValues[1], 3975.0f);
    EXPECT_THAT(status.syncedMaxValues, ElementsAreArray(status.MaxStatusValues));
    EXPECT_THAT(status.syncedBaseLevelMaxValues, ElementsAreArray(status.BaseLevelMaxStatusValues));
}

TEST_F(ApplyStatLevels, RescalesNotifiesAndSyncsInOrder)
{
    Apply(std::vector<std::int32_t>(12, 1));
    EXPECT_THAT(Steps(), ElementsAre("Raptor_Character_BP_C#2.Status RescaleAllStats()",
                                     "Raptor_Character_BP_C#2 ForceNetUpdate(false, true, false)",
                                     "FName(\"ClientNotifyLevelUp\", 0)",
                                     "Raptor_Character_BP_C#2 FindFunctionChecked(ClientNotifyLevelUp)",
                                     "Raptor_Character_BP_C#2 ProcessEvent(Function:ClientNotifyLevelUp, null)",
                                     "FName(\"ClientNotifyLevelUp\", 0)",
                                     "Alice FindFunctionChecked(ClientNotifyLevelUp)",
                                     "Alice ProcessEvent(Function:ClientNotifyLevelUp, <block>)",
                                     "Raptor_Character_BP_C#2.Status CharacterUpdatedInventory(true)",
                                     "Raptor_Character_BP_C#2.Status ServerSyncReplicatedValues()",
                                     "FName(\"NetSyncMaxStatusValues\", 0)",
                                     "Raptor_Character_BP_C#2.Status FindFunctionChecked(NetSyncMaxStatusValues)",
                                     "Raptor_Character_BP_C#2.Status ProcessEvent(Function:NetSyncMaxStatusValues, <block>)",
                                     "Raptor_Character_BP_C#2.Status UpdateWeightStat(true)",
                                     "Raptor_Character_BP_C#2 ForceNetUpdate(false, true, false)"));
    // The "Level up!" the game wrote into the controller's block is freed: the
    // fixture finds no block left over.
}

TEST_F(ApplyStatLevels, OtherLengthsLeavePointsAndLevelButStillNotify)
{
    for (const std::size_t count : {6u, 13u}) {
        SCOPED_TRACE(count);
        sim::Dino& creature = SpawnDirect(kRaptor);
        sim::StatusComponent& status = *creature.MyCharacterStatusComponent;
        status.NumberOfLevelUpPointsApplied[0] = 3;
        status.BaseCharacterLevel = 4;
        Journal().Clear();
        kestrova::ApplyStatLevels(sim::Handle<APrimalDinoCharacter>(&creature), Controller("1001"),
                                  std::vector<std::int32_t>(count, 50));

        EXPECT_EQ(PointsOf(creature), (Points{3}));
        EXPECT_EQ(status.BaseCharacterLevel, 4);
        EXPECT_EQ(CountOf(member::RescaleAllStats.name), 1u);
        EXPECT_EQ(CountOf(member::ForceNetUpdate.name), 2u);
        EXPECT_EQ(CountOf(member::ActorProcessEvent.name), 2u);
        EXPECT_EQ(CountOf(member::ObjectProcessEvent.name), 1u);
        EXPECT_FLOAT_EQ(status.syncedMaxValues[0], 260.0f) << "health 200 rescaled for its 3 points";
    }
}

TEST_F(ApplyStatLevels, CreatureWithoutStatusComponentIsLeftAlone)
{
    Apply(std::vector<std::int32_t>(12, 7), kGolem);
    EXPECT_THAT(Trail(), IsEmpty());
}

TEST_F(ApplyStatLevels, ControllerWithoutTheNotificationIsSkippedAlone)
{
    const sim::Dino& creature = Apply(std::vector<std::int32_t>(12, 1), kRaptor, "1004");
    EXPECT_THAT(Steps({"ProcessEvent"}),
                ElementsAre("Raptor_Character_BP_C#2 ProcessEvent(Function:ClientNotifyLevelUp, null)",
                            "Raptor_Character_BP_C#2.Status ProcessEvent(Function:NetSyncMaxStatusValues, <block>)"));
    EXPECT_THAT(Steps({"FindFunctionChecked"}), ElementsAre(::testing::StartsWith("Raptor_Character_BP_C#2 "),
                                                            "Dave FindFunctionChecked(ClientNotifyLevelUp)",
                                                            ::testing::StartsWith("Raptor_Character_BP_C#2.Status ")));
    EXPECT_THAT(creature.MyCharacterStatusComponent->syncedMaxValues, ::testing::SizeIs(12));
}

}  // namespace
}  // namespace kestrova::test
