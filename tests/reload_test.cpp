// Kestrova.Reload on the console and over RCON.
#include "config/config.h"
#include "support/plugin_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;

class Reload : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        server_.WriteConfig(R"({"CryoLifeInHours": 5})");
        LoadConfig();
    }
};

TEST_F(Reload, ConsoleReloadTellsThePlayerInGreenAndLogsNothing)
{
    server_.WriteConfig(R"({"CryoLifeInHours": 7})");
    RunConsoleAs("1001", "Kestrova.Reload and some extra words");

    ASSERT_EQ(Messages().size(), 1u);
    const sim::PlayerMessage& message = Messages()[0];
    EXPECT_EQ(message.player, Controller("1001"));
    EXPECT_EQ(message.text, WTEXT("Reloaded Config!"));
    EXPECT_EQ((std::array{message.r, message.g, message.b, message.a}), (std::array{0.0f, 1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(ConfigInt("CryoLifeInHours", 1), 7);
    EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(Reload, ConsoleReloadWithoutPlayerDoesNotReadTheFile)
{
    server_.WriteConfig("not json at all");
    RunConsoleAs("server", "Kestrova.Reload");
    EXPECT_THAT(Messages(), IsEmpty());
    EXPECT_THAT(LogLines(), IsEmpty());
    EXPECT_EQ(ConfigInt("CryoLifeInHours", 1), 5);
}

TEST_F(Reload, ConsoleReloadFailureIsLoggedAndTellsThePlayerNothing)
{
    server_.RemoveConfig();
    RunConsoleAs("1001", "Kestrova.Reload");
    EXPECT_THAT(Messages(), IsEmpty());
    EXPECT_THAT(LogLines(), ElementsAre(EndsWith("[Kestrova][error] Failed to read config! Can't open config.json")));
    EXPECT_EQ(ConfigInt("CryoLifeInHours", 1), 5) << "a failed reload keeps the configuration";
}

TEST_F(Reload, RconReloadAnswersTheRequest)
{
    server_.WriteConfig(R"({"CryoLifeInHours": 9})");
    const auto replies = RunRcon("Kestrova.Reload extra", 42);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].id, 42);
    EXPECT_EQ(replies[0].text, WTEXT("Reloaded Config!"));
    EXPECT_EQ(ConfigInt("CryoLifeInHours", 1), 9);
}

TEST_F(Reload, RconReloadFailureAnswersEmptyAndLogs)
{
    server_.RemoveConfig();
    const auto replies = RunRcon("Kestrova.Reload", 43);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].id, 43);
    EXPECT_EQ(replies[0].text, WTEXT(""));
    EXPECT_THAT(LogLines(), ElementsAre(EndsWith("[Kestrova][error] Failed to read config! Can't open config.json")));
}

TEST_F(Reload, ReloadOfABrokenFileKeepsThePreviousConfiguration)
{
    server_.WriteConfig(R"({"CryoLifeInHours": 6, "CryoLimitTime": )");
    const auto replies = RunRcon("Kestrova.Reload", 44);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].text, WTEXT(""));
    EXPECT_EQ(ConfigInt("CryoLifeInHours", 1), 5);
    EXPECT_EQ(ConfigBool("CryoLimitTime", false), false);
    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_THAT(LogLines()[0], ::testing::HasSubstr("Failed to read config! [json.exception.parse_error"));
}

}  // namespace
}  // namespace kestrova::test
