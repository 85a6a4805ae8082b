#include <limits>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "AsaApi.h"
#include "config/config.h"
#include "framework/host.h"
#include "framework/memory.h"
#include "support/server_dir.h"

namespace kestrova {
namespace {

using nlohmann::json;

class Config : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::RegisterAllocator();
        liveBlocks_ = sim::GetMemoryStats().liveBlocks;
    }
    void TearDown() override { EXPECT_EQ(sim::GetMemoryStats().liveBlocks, liveBlocks_); }

    void Load(std::string_view text)
    {
        server_.WriteConfig(text);
        LoadConfig();
    }

    test::TempServerDir server_{std::nullopt};

private:
    std::int64_t liveBlocks_ = 0;
};

template <typename Read>
std::string TypeErrorOf(Read read)
{
    try {
        read();
    } catch (const json::type_error& e) {
        return e.what();
    }
    return "no type error";
}

std::string IntError() { return TypeErrorOf([] { ConfigInt(kCryoLifeInHoursKey, kCryoLifeInHoursDefault); }); }
std::string BoolError() { return TypeErrorOf([] { ConfigBool(kCryoLimitTimeKey, kCryoLimitTimeDefault); }); }
std::string StringError() { return TypeErrorOf([] { ConfigString(kCryopodBPKey, kCryopodBPDefault); }); }

std::int32_t LifeInHours() { return ConfigInt(kCryoLifeInHoursKey, kCryoLifeInHoursDefault); }

TEST_F(Config, PathIsCurrentDirAndPluginFileBuiltAtEachCall)
{
    sim::SetCurrentDir("C:\\Server\\Binaries");
    EXPECT_EQ(ConfigPath(), "C:\\Server\\Binaries/ArkApi/Plugins/Kestrova/config.json");
    sim::SetCurrentDir("/srv/game/");
    EXPECT_EQ(ConfigPath(), "/srv/game//ArkApi/Plugins/Kestrova/config.json");
    EXPECT_EQ(AsaApi::Tools::GetCurrentDir() + "/ArkApi/Plugins/Kestrova/config.json", ConfigPath());
}

TEST_F(Config, MissingFileThrowsAndKeepsDocument)
{
    Load(R"({"CryoLifeInHours": 5})");
    const json before = ConfigDocument();
    server_.RemoveConfig();
    try {
        LoadConfig();
        ADD_FAILURE() << "no error for a missing file";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Can't open config.json");
    }
    EXPECT_EQ(ConfigDocument(), before);
    EXPECT_EQ(LifeInHours(), 5);
}

TEST_F(Config, EmptyObjectGivesDefaults)
{
    Load("{}");
    EXPECT_EQ(ConfigString(kCryopodBPKey, kCryopodBPDefault),
              "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod."
              "PrimalItem_WeaponEmptyCryopod'");
    EXPECT_FALSE(ConfigBool(kCryoLimitTimeKey, kCryoLimitTimeDefault));
    EXPECT_EQ(LifeInHours(), 1);
}

TEST_F(Config, ReadsGivenValues)
{
    Load(R"({"CryopodBP": "Blueprint'/Game/Pods/Pod.Pod'", "CryoLimitTime": true, "CryoLifeInHours": 24})");
    EXPECT_EQ(ConfigString(kCryopodBPKey, kCryopodBPDefault), "Blueprint'/Game/Pods/Pod.Pod'");
    EXPECT_TRUE(ConfigBool(kCryoLimitTimeKey, kCryoLimitTimeDefault));
    EXPECT_EQ(LifeInHours(), 24);
}

TEST_F(Config, IntegerReadConvertsNumbersAndBooleans)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"2.9", 2},
        {"-2.9", -2},
        {"true", 1},
        {"false", 0},
        {"-1", -1},
        {"4294967297", 1},                   // low 32 bits
        {"18446744073709551615", -1},        // unsigned, low 32 bits
        {"2147483648", std::numeric_limits<std::int32_t>::min()},
        {"1e20", std::numeric_limits<std::int32_t>::max()},  // saturated, not undefined
        {"-1e20", std::numeric_limits<std::int32_t>::min()},
        {"2147483647.9", std::numeric_limits<std::int32_t>::max()},
    };
    for (const auto& [value, expected] : cases) {
        Load(std::string(R"({"CryoLifeInHours": )") + value + "}");
        EXPECT_EQ(LifeInHours(), expected) << value;
    }
}

TEST_F(Config, WrongTypesThrowAtReadNotAtLoad)
{
    EXPECT_NO_THROW(Load(R"({"CryopodBP": 5, "CryoLimitTime": null, "CryoLifeInHours": "24"})"));
    EXPECT_EQ(IntError(), "[json.exception.type_error.302] type must be number, but is string");
    EXPECT_EQ(BoolError(), "[json.exception.type_error.302] type must be boolean, but is null");
    EXPECT_EQ(StringError(), "[json.exception.type_error.302] type must be string, but is number");

    Load(R"({"CryoLifeInHours": null, "CryoLimitTime": 1, "CryopodBP": ["x"]})");
    EXPECT_EQ(IntError(), "[json.exception.type_error.302] type must be number, but is null");
    EXPECT_EQ(BoolError(), "[json.exception.type_error.302] type must be boolean, but is number");
    EXPECT_EQ(StringError(), "[json.exception.type_error.302] type must be string, but is array");
}

TEST_F(Config, DocumentThatIsNotAnObjectLoadsButEveryReadThrows)
{
    for (const auto& [text, type] : {std::pair{"[1, 2]", "array"}, std::pair{"\"text\"", "string"},
                                     std::pair{"7", "number"}, std::pair{"null", "null"}}) {
        Load(text);
        const std::string expected = std::string("[json.exception.type_error.306] cannot use value() with ") + type;
        EXPECT_EQ(IntError(), expected);
        EXPECT_EQ(BoolError(), expected);
        EXPECT_EQ(StringError(), expected);
    }
}

TEST_F(Config, TextAfterFirstValueIsIgnored)
{
    Load("{\"CryoLifeInHours\": 3}\n}} not json at all {\"CryoLifeInHours\": 4");
    EXPECT_EQ(LifeInHours(), 3);
}

TEST_F(Config, KeysAreCaseSensitive)
{
    Load(R"({"cryopodbp": "Blueprint'/Game/X.X'", "CRYOLIMITTIME": true, "cryoLifeInHours": 9})");
    EXPECT_EQ(ConfigString(kCryopodBPKey, kCryopodBPDefault), kCryopodBPDefault);
    EXPECT_FALSE(ConfigBool(kCryoLimitTimeKey, kCryoLimitTimeDefault));
    EXPECT_EQ(LifeInHours(), 1);
}

TEST_F(Config, SuccessfulReloadReplacesWholeDocument)
{
    Load(R"({"CryoLifeInHours": 5, "CryoLimitTime": true})");
    Load(R"({"CryoLimitTime": false})");
    EXPECT_EQ(ConfigDocument(), json::parse(R"({"CryoLimitTime": false})"));
    EXPECT_EQ(LifeInHours(), 1);
}

TEST_F(Config, FailedReloadKeepsPreviousDocumentExactly)
{
    const std::string previous = R"({"CryopodBP": "Blueprint'/Game/Pods/Pod.Pod'", "CryoLimitTime": true,
                                     "CryoLifeInHours": 6, "Other": [1, {"a": null}]})";
    const std::string hugeString = R"({"CryoLifeInHours": 2, "CryopodBP": ")" + std::string(1 << 20, 'a');
    const std::string deepNesting = std::string(100000, '[') + "}";
    const std::string binary("\x00\xff\xfe\x7f{\x01\"", 7);
    const std::pair<const char*, std::string> broken[] = {
        {"syntax error after some members", R"({"CryoLimitTime": false, "CryoLifeInHours": })"},
        {"cut off after a key", R"({"CryoLimitTime": false, "CryoLifeInHours")"},
        {"empty file", ""},
        {"only blanks", " \n\t "},
        {"comment", "// settings\n{\"CryoLifeInHours\": 2}"},
        {"binary garbage", binary},
        {"huge unterminated string", hugeString},
        {"deep nesting", deepNesting},
    };
    for (const auto& [what, text] : broken) {
        SCOPED_TRACE(what);
        Load(previous);
        const json before = ConfigDocument();
        server_.WriteConfig(text);
        EXPECT_THROW(LoadConfig(), json::parse_error);
        EXPECT_EQ(ConfigDocument(), before);
        EXPECT_EQ(LifeInHours(), 6);
    }

    // A number too large for a double is the library's out-of-range error, not a
    // parse error, and must leave the document alone all the same.
    Load(previous);
    server_.WriteConfig(R"({"CryoLimitTime": false, "CryoLifeInHours": 1e400})");
    EXPECT_THROW(LoadConfig(), json::out_of_range);
    EXPECT_EQ(LifeInHours(), 6);
    EXPECT_TRUE(ConfigBool(kCryoLimitTimeKey, kCryoLimitTimeDefault));
}

TEST_F(Config, ParseErrorsCarryTheLibraryMessage)
{
    server_.WriteConfig("");
    try {
        LoadConfig();
        ADD_FAILURE() << "no error for an empty file";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("[json.exception.parse_error.101]", 0), 0u) << e.what();
    }
}

}  // namespace
}  // namespace kestrova
