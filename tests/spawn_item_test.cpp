// KV.SpawnItem: items of a class, count and quality straight into the player's
// inventory, with optional item stat values.
#include <cmath>
#include <set>

#include "host/members.h"
#include "item/item_stats.h"
#include "support/catalogue_references.h"
#include "support/plugin_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::IsEmpty;
using ::testing::SizeIs;


class SpawnItem : public PluginTest {
protected:
    // Runs "KV.SpawnItem <helmet> x <rest>" as Alice.
    void SpawnHelmets(std::string_view rest)
    {
        RunConsoleAs("1001", std::string("KV.SpawnItem ") + kHelmet + " x " + std::string(rest));
    }

    std::vector<sim::Item*> Alices() { return InventoryOf("1001"); }
    std::size_t ItemsMade() { return Journal().CallsTo(member::AddNewItem.name).size(); }

    // ItemStatValues 1, 2, 3, 5 and 7 of an item.
    static std::vector<int> Stats(const sim::Item& item)
    {
        return {item.ItemStatValues[1], item.ItemStatValues[2], item.ItemStatValues[3], item.ItemStatValues[5],
                item.ItemStatValues[7]};
    }
};

TEST_F(SpawnItem, MalformedLinesDoNothing)
{
    RunConsoleAs("1001", std::string("KV.SpawnItem ") + kHelmet + " x 0 0");      // five words
    RunConsoleAs("1001", std::string("KV.SpawnItem ") + kHelmet + " x q 0 1");     // quality not numeric
    RunConsoleAs("server", std::string("KV.SpawnItem ") + kHelmet + " x 0 0 1");   // no player
    RunConsoleAs("1004", std::string("KV.SpawnItem ") + kHelmet + " x 0 0 1");     // no inventory
    RunConsoleAs("1001", "KV.SpawnItem Blueprint'/Game/Nothing.Nothing' x 0 0 1");  // no such class
    EXPECT_EQ(ItemsMade(), 0u);
    EXPECT_THAT(Alices(), IsEmpty());
}

TEST_F(SpawnItem, CountBelowOneCreatesNothingAndReadsNoStatWord)
{
    // "+" would fail its conversion if it were read.
    SpawnHelmets("0 0 0 +");
    SpawnHelmets("0 0 -3 +");
    EXPECT_EQ(ItemsMade(), 0u);
    EXPECT_EQ(Registry().EscapedExceptions(), 0);
}

TEST_F(SpawnItem, CreatesCountItemsOfTheQualityAskedFor)
{
    SpawnHelmets("300 0 3");
    ASSERT_THAT(Alices(), SizeIs(3));
    for (const sim::Item* item : Alices()) {
        EXPECT_EQ(item->askedQuality, 300.0f);
        EXPECT_EQ(item->ItemQualityIndex, 44) << "the low eight bits of 300";
        EXPECT_EQ(item->secondClass, nullptr) << "x names no class";
        EXPECT_EQ(item->updates, 0) << "no stat words: nothing updated";
    }
    SpawnHelmets("-1 0 1");
    EXPECT_EQ(Alices().back()->ItemQualityIndex, 255);
}

TEST_F(SpawnItem, TheFormFlagOneMakesBlueprintsAndAnyOtherForcesTheItem)
{
    for (const char* flag : {"1", "1.9", "0", "2"})
        SpawnHelmets(std::string("0 ") + flag + " 1");
    ASSERT_THAT(Alices(), SizeIs(4));
    const std::vector<std::pair<bool, bool>> expected = {{false, true}, {false, true}, {true, false}, {true, false}};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(std::make_pair(Alices()[i]->forcedItem, Alices()[i]->forcedBlueprint), expected[i]) << "flag #" << i;
}

TEST_F(SpawnItem, BlueprintsLoseTheirQuotesAndTheSecondResolvesFirst)
{
    RunConsoleAs("1001", std::string("KV.SpawnItem \"") + kHelmet + "\" \"" + kSword + "\" 0 0 1");
    ASSERT_THAT(Alices(), SizeIs(1));
    EXPECT_EQ(Alices()[0]->secondClass, Game().FindClass("PrimalItem_WeaponSword_C"));
    const auto resolved = Journal().CallsTo(member::StringReferenceToClass.name);
    ASSERT_THAT(resolved, SizeIs(2));
    EXPECT_EQ(resolved[0].args[0], std::string("\"") + kSword + "\"");
    EXPECT_EQ(resolved[1].args[0], std::string("\"") + kHelmet + "\"");
}

TEST_F(SpawnItem, StatWordsGiveEveryItemItsValues)
{
    // Divisors base x a x b: 2, 8 (base 28 + 100), 4, 4, 4.
    SpawnHelmets("0 0 2 100 200 40 20 24");
    ASSERT_THAT(Alices(), SizeIs(2));
    for (const sim::Item* item : Alices()) {
        EXPECT_EQ(Stats(*item), (std::vector<int>{18, 10, 2, 1, 2}));
        EXPECT_EQ(item->ItemDurability, sim::ItemStatModifier(*item, 2)) << "durability follows stat 2";
        EXPECT_EQ(item->updates, 1);
    }
    const auto updates = Journal().CallsTo(member::UpdatedItem.name);
    ASSERT_THAT(updates, SizeIs(2));
    EXPECT_EQ(updates[0].args, (std::vector<std::string>{"false", "false"}));
}

TEST_F(SpawnItem, StatWordRules)
{
    SpawnHelmets("0 0 1 100 x 40");      // x ends the stat words
    SpawnHelmets("0 0 1 100 1-2-3 40");  // a range of three pieces leaves its slot alone
    SpawnHelmets("0 0 1 0 0 0 0 0");     // nothing positive: nothing changes
    SpawnHelmets("0 0 1 0 50");          // below the base: 0, plus 1 for stat 2
    ASSERT_THAT(Alices(), SizeIs(4));
    EXPECT_EQ(Stats(*Alices()[0]), (std::vector<int>{18, 0, 0, 0, 0}));
    EXPECT_EQ(Stats(*Alices()[1]), (std::vector<int>{18, 0, 2, 0, 0}));
    EXPECT_EQ(Stats(*Alices()[2]), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(Alices()[2]->updates, 0);
    EXPECT_EQ(Stats(*Alices()[3]), (std::vector<int>{0, 1, 0, 0, 0}));
}

TEST_F(SpawnItem, ARangeIsDrawnOnceForTheWholeCommand)
{
    SpawnHelmets("0 0 5 100-200");
    ASSERT_THAT(Alices(), SizeIs(5));
    std::set<int> values;
    for (const sim::Item* item : Alices())
        values.insert(item->ItemStatValues[1]);
    ASSERT_THAT(values, SizeIs(1));
    EXPECT_GE(*values.begin(), 18);
    EXPECT_LE(*values.begin(), 68);
}

TEST_F(SpawnItem, AStatWhoseRecordIsUnusedIsSkipped)
{
    RunConsoleAs("1001", std::string("KV.SpawnItem ") + kSword + " x 0 0 1 100 100");
    ASSERT_THAT(Alices(), SizeIs(1));
    EXPECT_EQ(Alices()[0]->ItemStatValues[1], 0) << "the sword's stat 1 has bit 0 clear";
    EXPECT_EQ(Alices()[0]->ItemStatValues[2], 17 + 1) << "(100 - 32) / 4, plus one for stat 2";
    EXPECT_THAT(Journal().CallsTo(member::UpdatedItem.name), SizeIs(1));

    // A value only for a stat the sword does not use: it received nothing, so it is
    // not told it changed.
    Journal().Clear();
    RunConsoleAs("1001", std::string("KV.SpawnItem ") + kSword + " x 0 0 2 100");
    EXPECT_THAT(Journal().CallsTo(member::AddNewItem.name), SizeIs(2));
    EXPECT_THAT(Journal().CallsTo(member::UpdatedItem.name), IsEmpty());
}

TEST_F(SpawnItem, TheInventoryIsFetchedAfreshForEveryItem)
{
    SpawnHelmets("0 0 3");
    // Once to check the player has one, then once per repetition.
    EXPECT_THAT(Journal().CallsTo(member::PlayerInventory.name), SizeIs(4));
}

TEST_F(SpawnItem, ConversionErrorsEndTheCommandQuietly)
{
    SpawnHelmets("+ 0 1");  // quality: before anything is created
    EXPECT_EQ(ItemsMade(), 0u);

    SpawnHelmets("7 0 2 100 .");  // a stat word: after the items were created
    ASSERT_THAT(Alices(), SizeIs(2));
    for (const sim::Item* item : Alices()) {
        EXPECT_EQ(item->ItemQualityIndex, 7);
        EXPECT_EQ(Stats(*item), (std::vector<int>{0, 0, 0, 0, 0}));
    }
    EXPECT_EQ(Registry().EscapedExceptions(), 0);
    EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(SpawnItem, AFullInventoryTakesNothing)
{
    RunConsoleAs("1005", std::string("KV.SpawnItem ") + kHelmet + " x 0 0 3 100");
    EXPECT_EQ(ItemsMade(), 3u);
    EXPECT_THAT(InventoryOf("1005"), SizeIs(1)) << "only the stone she started with";
    EXPECT_THAT(Journal().CallsTo(member::UpdatedItem.name), IsEmpty());
}

// Records that make the division meaningless keep the value in 0..65535.
TEST(ItemStatValue, StaysInRangeWhateverTheRecord)
{
    EXPECT_EQ(ItemStatValue(1, 100.0f, 64.0f, 0.25f, 0.125f), 18);
    EXPECT_EQ(ItemStatValue(1, 1e30f, 64.0f, 0.25f, 0.125f), 65535);
    EXPECT_EQ(ItemStatValue(1, 65537.0f, 1.0f, 1.0f, 1.0f), 65535) << "exactly 65536 is too large too";
    EXPECT_EQ(ItemStatValue(1, 65536.0f, 1.0f, 1.0f, 1.0f), 65535);
    EXPECT_EQ(ItemStatValue(1, 100.0f, 0.0f, 1.0f, 1.0f), 65535) << "zero divisor";
    EXPECT_EQ(ItemStatValue(1, 0.0f, 0.0f, 1.0f, 1.0f), 0) << "0 / 0";
    EXPECT_EQ(ItemStatValue(2, 0.0f, 0.0f, 1.0f, 1.0f), 0) << "0 / 0, plus one, is still not a number";
    EXPECT_EQ(ItemStatValue(1, 100.0f, -64.0f, 0.25f, 0.125f), 0) << "negative divisor";
    EXPECT_EQ(ItemStatValue(1, 100.0f, 64.0f, NAN, 1.0f), 0);
    EXPECT_EQ(ItemStatValue(1, 100.0f, 64.0f, INFINITY, 1.0f), 0);
    EXPECT_EQ(ItemStatValue(2, 50.0f, 128.0f, 0.5f, 0.125f), 1) << "below the base";
}

}  // namespace
}  // namespace kestrova::test
