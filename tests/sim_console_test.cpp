// The simulator's console: who a line is issued as, and what it shows.
#include "app/colours.h"
#include "host/game.h"
#include "support/game_fixture.h"

namespace kestrova::test {
namespace {

class SimConsoleTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        // Records who issued each line, and greets the issuer in green.
        Registry().RegisterConsoleCommand(FString("Who"), [this](APlayerController* player, FString* line, bool) {
            issuers_.push_back(sim::LabelOf(player) + ": " + sim::ToUtf8(line->View()));
            if (player != nullptr)
                sim::GetUtils().GetPluginMessenger(FString("plugin"))->SendPlayerMessage(
                    reinterpret_cast<AShooterPlayerController*>(player), 0, 1, 0, 1, FString("hi"));
        });
    }

    std::vector<std::string> issuers_;
};

TEST_F(SimConsoleTest, LinesGoOutAsTheCurrentPlayerOrAsAsked)
{
    EXPECT_EQ(RunConsole("Who  a b "), "[to Alice (green)] hi\n");
    EXPECT_EQ(RunConsole("/as 1002"), "Now acting as Bob (1002).\n");
    RunConsole("who");
    RunConsoleAs("server", "Who");
    RunConsoleAs("1003", "Who");
    RunConsole("Who");
    EXPECT_EQ(RunConsole("/as server"), "Now acting as the server.\n");
    RunConsole("Who");
    EXPECT_EQ(issuers_, (std::vector<std::string>{"Alice: Who  a b", "Bob: who", "null: Who", "Carol: Who",
                                                  "Bob: Who", "null: Who"}));
}

TEST_F(SimConsoleTest, UnknownCommandsAndPlayersAreSaid)
{
    EXPECT_EQ(RunConsole("KV.Nothing 1 2"), "Unknown command: KV.Nothing\n");
    EXPECT_EQ(RunConsole("/as 9999"), "No player with id 9999\n");
    EXPECT_EQ(RunConsole("@9999 Who"), "No player with id 9999\n");
    EXPECT_EQ(RunConsole("/nothing"), "Unknown command: /nothing (/help lists the stand-in's commands)\n");
    EXPECT_EQ(RunConsole("   "), "");
    EXPECT_TRUE(issuers_.empty());
}

TEST_F(SimConsoleTest, StandInCommandsShowTheGame)
{
    EXPECT_THAT(RunConsole("/players"), ::testing::StartsWith("* 1001  Alice  team 50001\n  1002  Bob    team 50002\n"));
    EXPECT_THAT(RunConsole("/help"), ::testing::HasSubstr("Console commands: Who\n"));

    Call(member::GetWorld, Controller("1001"));
    Call(member::GetWorld, Controller("1002"));
    EXPECT_EQ(RunConsole("/journal 1"), "    2  Bob AActor.GetWorld() <- ()\n");
    EXPECT_EQ(RunConsole("/journal x"), "Usage: /journal [N]\n");

    EXPECT_THAT(RunConsole("/memory"), ::testing::StartsWith("Live game-allocated blocks: "));
    EXPECT_EQ(RunConsole("/log"), "Nothing has been logged.\n");
}

TEST_F(SimConsoleTest, RconRequestsAreAnswered)
{
    Registry().RegisterRconCommand(FString("Ping"), [](RCONClientConnection* connection, RCONPacket* packet, UWorld*) {
        FString text("pong");
        Call(member::SendMessage, connection, packet->Id, 0,
                                       text);
    });
    EXPECT_EQ(RunConsole("/rcon Ping"), "[rcon reply to 1] pong\n");
    EXPECT_EQ(RunConsole("/rcon Who"), "Unknown RCON command: Who\n");
    bool known = false;
    const auto replies = RunRcon("ping", 42, &known);
    EXPECT_TRUE(known);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].id, 42);
}

TEST(SimConsoleColours, MessagesArePaintedInTheNearestColour)
{
    EXPECT_STREQ(sim::NearestColour(0, 1, 0).name, "green");
    EXPECT_STREQ(sim::NearestColour(1, 0.2f, 0).name, "red");
    EXPECT_EQ(sim::Paint("hi", sim::NearestColour(0, 1, 0)), "\x1b[32mhi\x1b[0m");
}

}  // namespace
}  // namespace kestrova::test
