// Load and Unload: the logger, the configuration and the command table, both when
// linked directly and when the built library is loaded the way the host does it.
#include <regex>

#include <spdlog/logger.h>

#include "app/loader.h"
#include "plugin/lifecycle.h"
#include "plugin/logger.h"
#include "support/game_fixture.h"
#include "support/regex_matchers.h"
#include "support/server_dir.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// "RCON Kestrova.Reload", ... in registration order.
std::vector<std::string> Registered()
{
    std::vector<std::string> names;
    for (const sim::Registration& r : sim::GetRegistry().Registrations())
        names.push_back((r.rcon ? "RCON " : "console ") + r.name);
    return names;
}

const std::vector<std::string> kCommandTable = {
    "RCON Kestrova.Reload",       "console Kestrova.Reload",  "console KV.SpawnDino",
    "console KV.SpawnDinoStats",  "console KV.SpawnItem",     "console KV.SpawnDinoFor",
    "console KV.SpawnDinoStatsFor", "console KV.SpawnItemFor", "RCON KV.SpawnItemFor",
    "RCON KV.SpawnDinoFor",       "RCON KV.SpawnDinoStatsFor",
};

class PluginLifecycle : public GameTest {};

TEST_F(PluginLifecycle, LoadRegistersTheCommandTableInOrderAndUnloadRemovesIt)
{
    TempServerDir server;
    Load();
    EXPECT_EQ(Registered(), kCommandTable);

    bool known = true;
    EXPECT_THAT(RunRcon("KV.SpawnDino x y 0 1 0 0 0 0 0", 7, &known), IsEmpty());
    EXPECT_FALSE(known) << "KV.SpawnDino is a console command only";

    Unload();
    EXPECT_THAT(Registered(), IsEmpty());
    std::vector<std::string> removed;
    for (const sim::Registration& r : sim::GetRegistry().Removals())
        removed.push_back((r.rcon ? "RCON " : "console ") + r.name);
    EXPECT_EQ(removed, kCommandTable) << "removed in the order they were registered";
    EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(PluginLifecycle, TheLoggerFlushesFromInfoUp)
{
    TempServerDir server;
    Load();
    ASSERT_NE(PluginLogger(), nullptr);
    EXPECT_EQ(PluginLogger()->name(), "Kestrova");
    EXPECT_EQ(PluginLogger()->flush_level(), spdlog::level::info);
    Unload();
}

TEST_F(PluginLifecycle, LoadWithoutConfigLogsTheReasonOnceAndRegistersNothing)
{
    TempServerDir server(std::nullopt);
    EXPECT_THROW(Load(), std::runtime_error);
    EXPECT_THAT(Registered(), IsEmpty());
    EXPECT_THAT(LogLines(), ElementsAre(MatchesStdRegex(
                                R"(^[0-9]{2}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2} \[Kestrova\]\[error\] Can't open config\.json$)")));
}

TEST_F(PluginLifecycle, LoadOfAConfigThatDoesNotParseLogsTheParserMessage)
{
    TempServerDir server("{ \"CryoLimitTime\": tru }");
    EXPECT_THROW(Load(), std::exception);
    EXPECT_THAT(Registered(), IsEmpty());
    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_THAT(LogLines()[0], ::testing::HasSubstr("[Kestrova][error] [json.exception.parse_error"));
}

class PluginLibraryLoad : public GameTest {};

TEST_F(PluginLibraryLoad, BuiltLibraryStartsThroughTheHostsLoadPath)
{
    TempServerDir server;
    sim::PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(KESTROVA_PLUGIN_PATH, error)) << error;
    EXPECT_EQ(Registered(), kCommandTable);

    RunConsoleAs("1001", "Kestrova.Reload");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, WTEXT("Reloaded Config!"));
    // The messenger is asked for by the plugin's own library file.
    EXPECT_EQ(std::filesystem::path(Messages()[0].pluginPath), std::filesystem::absolute(KESTROVA_PLUGIN_PATH));

    library.Unload();
    EXPECT_THAT(Registered(), IsEmpty());
}

TEST_F(PluginLibraryLoad, BuiltLibraryWithoutConfigFailsToLoad)
{
    TempServerDir server(std::nullopt);
    sim::PluginLibrary library;
    std::string error;
    EXPECT_FALSE(library.Load(KESTROVA_PLUGIN_PATH, error));
    EXPECT_FALSE(library.Loaded());
    EXPECT_THAT(Registered(), IsEmpty());
    EXPECT_THAT(LogLines(), ElementsAre(::testing::EndsWith("[Kestrova][error] Can't open config.json")));
}

TEST_F(PluginLibraryLoad, HostSinksKeepLoggingAfterThePluginIsGone)
{
    // Once with a plugin that started and was unloaded, once with one that failed
    // to start: nothing of the plugin's code may stay behind in the host's sinks.
    for (const bool started : {true, false}) {
        TempServerDir server(started ? std::optional<std::string_view>("{}") : std::nullopt);
        {
            sim::PluginLibrary library;
            std::string error;
            EXPECT_EQ(library.Load(KESTROVA_PLUGIN_PATH, error), started) << error;
        }
        spdlog::logger host("host", GetLogSinks().begin(), GetLogSinks().end());
        host.error("after the plugin");
        EXPECT_THAT(LogLines().back(), ::testing::EndsWith("[host][error] after the plugin"));
    }
}

TEST_F(PluginLibraryLoad, ACopyThatFailsToStartLeavesTheRunningCopysCommands)
{
    TempServerDir server;
    sim::PluginLibrary first;
    std::string error;
    ASSERT_TRUE(first.Load(KESTROVA_PLUGIN_PATH, error)) << error;

    const std::filesystem::path copy =
        server.Root() / ("copy-" + std::filesystem::path(KESTROVA_PLUGIN_PATH).filename().string());
    std::filesystem::copy_file(KESTROVA_PLUGIN_PATH, copy);
    server.RemoveConfig();
    sim::PluginLibrary second;
    EXPECT_FALSE(second.Load(copy, error));
    EXPECT_EQ(Registered(), kCommandTable) << "the failed copy removed commands it never registered";
}

}  // namespace
}  // namespace kestrova::test
