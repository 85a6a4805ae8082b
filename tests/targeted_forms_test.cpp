// KV.SpawnDinoFor, KV.SpawnDinoStatsFor and KV.SpawnItemFor on the console and over
// RCON, through the callbacks the plugin registers.
#include "host/members.h"
#include "support/plugin_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr WIDECHAR kSuccess[] = WTEXT("Success! Sent to the command processor.");

struct RconResult {
    bool known = false;
    std::vector<sim::RconReply> replies;
    sim::WideString body;  // the packet's body after the command had it
};

class TargetedForms : public PluginTest {
protected:
    // Starts again in `worldJson`, with the plugin loaded into it.
    void StartWorld(std::string_view worldJson)
    {
        StartGame(worldJson);
        Load();
    }

    RconResult Rcon(std::string_view line, int requestId = 9)
    {
        sim::RconConnection& connection = Game().MakeRconConnection();
        RconResult result;
        result.known = sim::DispatchRconCommand(Game(), connection, requestId, line, &result.body);
        result.replies = connection.replies;
        return result;
    }

    // The receivers of every call to `member`, in order.
    std::vector<std::string> CallsOn(std::string_view member)
    {
        std::vector<std::string> receivers;
        for (const sim::JournalEntry& entry : Journal().CallsTo(member))
            receivers.push_back(entry.receiver);
        return receivers;
    }

    // Calls into the game other than the RCON replies.
    std::vector<std::string> GameCalls()
    {
        std::vector<std::string> members = Journal().Members();
        std::erase(members, "RCONClientConnection.SendMessage(int,int,FString&)");
        return members;
    }
};

MATCHER_P2(IsReply, id, text, "")
{
    return arg.id == id && arg.type == 0 && arg.text == sim::WideString(text);
}

TEST_F(TargetedForms, SixWordSpawnItemForReachesSpawnItemWithFiveWordsAndCreatesNothing)
{
    const RconResult rcon = Rcon("KV.SpawnItemFor 1002 a b 0 0", 31);
    EXPECT_EQ(rcon.body, WTEXT("KV.SpawnItemFor a b 0 0 "));
    EXPECT_THAT(rcon.replies, ElementsAre(IsReply(31, kSuccess)));
    EXPECT_EQ(RunConsoleAs("1001", "KV.SpawnItemFor 1002 a b 0 0"), "");
    EXPECT_THAT(GameCalls(), IsEmpty()) << "KV.SpawnItem needs six words";

    // One word more and KV.SpawnItem goes on to the target's inventory.
    Rcon("KV.SpawnItemFor 1004 a b 0 0 1");
    RunConsoleAs("1001", "KV.SpawnItemFor 1004 a b 0 0 1");
    EXPECT_THAT(CallsOn(member::PlayerInventory.name), ElementsAre("Dave", "Dave"));
}

TEST_F(TargetedForms, SpawnDinoForWithFiveWordsOverRconGetsNoReply)
{
    const RconResult rcon = Rcon("KV.SpawnDinoFor 1002 a b 0");
    EXPECT_TRUE(rcon.known);
    EXPECT_THAT(rcon.replies, IsEmpty());
    EXPECT_EQ(rcon.body, WTEXT("KV.SpawnDinoFor 1002 a b 0")) << "too short to be rewritten";
}

TEST_F(TargetedForms, SpawnDinoForWithSixToTenWordsSucceedsButSpawnsNothing)
{
    std::string line = "KV.SpawnDinoFor 1002 Blueprint'/Game/X.X' \"\" 0 10";
    for (int words = 6; words <= 10; ++words, line += " 0") {
        SCOPED_TRACE(line);
        EXPECT_THAT(Rcon(line, words).replies, ElementsAre(IsReply(words, kSuccess)));
        EXPECT_EQ(RunConsoleAs("1001", line), "");
    }
    EXPECT_THAT(GameCalls(), IsEmpty()) << "KV.SpawnDino needs ten words after the id is gone";
}

TEST_F(TargetedForms, SpawnDinoStatsForNeedsEightWords)
{
    const RconResult seven = Rcon("KV.SpawnDinoStatsFor 1002 a b 0 0 0", 4);
    EXPECT_THAT(seven.replies, IsEmpty());
    EXPECT_EQ(seven.body, WTEXT("KV.SpawnDinoStatsFor 1002 a b 0 0 0"));

    const RconResult eight = Rcon("KV.SpawnDinoStatsFor 1002 a b 0 0 0 0", 5);
    EXPECT_THAT(eight.replies, ElementsAre(IsReply(5, kSuccess)));
    EXPECT_EQ(eight.body, WTEXT("KV.SpawnDinoStatsFor a b 0 0 0 0 "));
    EXPECT_THAT(GameCalls(), IsEmpty()) << "KV.SpawnDinoStats needs nine words";
}

TEST_F(TargetedForms, UnknownIdFailsOverRconAndDoesNothingOnTheConsole)
{
    for (const std::string name : {"KV.SpawnDinoFor", "KV.SpawnDinoStatsFor", "KV.SpawnItemFor"}) {
        SCOPED_TRACE(name);
        const RconResult rcon = Rcon(name + " 9999 a b 0 0 1 0 0 0 0", 12);
        EXPECT_THAT(rcon.replies, ElementsAre(IsReply(12, WTEXT("Failed to give!"))));
        EXPECT_EQ(rcon.body, sim::FromUtf8(name + " a b 0 0 1 0 0 0 0 ")) << "rewritten all the same";
        EXPECT_EQ(RunConsoleAs("1001", name + " 9999 a b 0 0 1 0 0 0 0"), "");
    }
    // The id is matched exactly as typed.
    EXPECT_THAT(Rcon("KV.SpawnItemFor 01004 a b 0 0 1", 13).replies, ElementsAre(IsReply(13, WTEXT("Failed to give!"))));
    EXPECT_THAT(GameCalls(), IsEmpty());
    EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(TargetedForms, SeveralBlanksAreForwardedAsSingleBlanks)
{
    const RconResult rcon = Rcon("  KV.SpawnItemFor   1004  a   b 0  0    1  ", 3);
    EXPECT_EQ(rcon.body, WTEXT("KV.SpawnItemFor a b 0 0 1 "));
    EXPECT_THAT(rcon.replies, ElementsAre(IsReply(3, kSuccess)));

    RunConsoleAs("1001", "KV.SpawnItemFor    1004 a  b   0 0     1");
    EXPECT_THAT(CallsOn(member::PlayerInventory.name), ElementsAre("Dave", "Dave"));
}

TEST_F(TargetedForms, ConsoleFormsWithoutAnIssuerDoNothing)
{
    for (const char* line : {"KV.SpawnItemFor 1004 a b 0 0 1", "KV.SpawnDinoFor 1004 a b 0 1 0 0 0 0 0",
                             "KV.SpawnDinoStatsFor 1004 a b 0 0 0 0 0 0"})
        EXPECT_EQ(RunConsoleAs("server", line), "");
    EXPECT_THAT(GameCalls(), IsEmpty());

    RunConsoleAs("1002", "KV.SpawnItemFor 1004 a b 0 0 1");
    EXPECT_THAT(CallsOn(member::PlayerInventory.name), ElementsAre("Dave")) << "the same line from a player goes on";
}

// A world whose catalogue holds one creature and the items the commands ask for.
constexpr std::string_view kShopWorld = R"json({
  "players": [
    { "id": "1001", "name": "Alice", "team": 50001, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f01" },
    { "id": "1002", "name": "Bob", "team": 50002, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f02" }
  ],
  "catalogue": {
    "items": [
      { "blueprint": "/Game/Items/Sword/PrimalItem_Sword.PrimalItem_Sword" },
      { "blueprint": "/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod" }
    ],
    "creatures": [
      { "blueprint": "/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP", "name": "Raptor" }
    ]
  }
})json";

TEST_F(TargetedForms, TargetedItemsLandInTheTargetsInventory)
{
    StartWorld(kShopWorld);
    const std::string line = "KV.SpawnItemFor 1002 Blueprint'/Game/Items/Sword/PrimalItem_Sword.PrimalItem_Sword' \"\" 0 0 2";
    RunConsoleAs("1001", line);
    EXPECT_THAT(Rcon(line, 21).replies, ElementsAre(IsReply(21, kSuccess)));
    EXPECT_EQ(Player("1002").inventory->items.size(), 4u);
    EXPECT_THAT(Player("1001").inventory->items, IsEmpty());
}

TEST_F(TargetedForms, TargetedCreaturesLandInTheTargetsInventory)
{
    StartWorld(kShopWorld);
    const std::string dino = "Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'";
    RunConsoleAs("1001", "KV.SpawnDinoFor 1002 " + dino + " \"\" 0 10 0 0 0 0 0");
    EXPECT_THAT(Rcon("KV.SpawnDinoStatsFor 1002 " + dino + " \"\" 0 0 0 0 0 0", 22).replies,
                ElementsAre(IsReply(22, kSuccess)));
    EXPECT_EQ(Player("1002").inventory->items.size(), 2u) << "two cryopods";
    EXPECT_THAT(Player("1001").inventory->items, IsEmpty());
    EXPECT_THAT(CallsOn(member::SpawnActor.name), ElementsAre("Bob", "Bob"));
}

}  // namespace
}  // namespace kestrova::test
