// With "RconReplies": "json", every RCON request for a command of the plugin gets
// exactly one line of JSON saying what the command did: one test per rule that
// stops a line, and one per way a creature or items end up.
#include <limits>

#include <nlohmann/json.hpp>

#include "plugin/json_replies.h"
#include "support/catalogue_references.h"
#include "support/creature_fixture.h"

namespace kestrova::test {
namespace {

const std::string kRaptorWord = kRaptor;
const std::string kHelmetWord = kHelmet;

class JsonReplies : public CreatureTest {
protected:
    void SetUp() override
    {
        CreatureTest::SetUp();
        UseConfig(R"({"RconReplies": "json"})");
    }

    // The one reply the request got, parsed.
    nlohmann::json Reply(const std::string& line)
    {
        const std::vector<sim::RconReply> replies = RunRcon(line, 7);
        EXPECT_EQ(replies.size(), 1u) << line;
        if (replies.size() != 1)
            return nullptr;
        EXPECT_EQ(replies[0].id, 7);
        return nlohmann::json::parse(sim::ToUtf8(replies[0].text));
    }

    // The rule and word a request's reply names, "rule@word" ("rule@-" for none).
    std::string StopOf(const std::string& line)
    {
        const nlohmann::json reply = Reply(line);
        if (reply.is_null() || !reply["outcome"].contains("stop"))
            return "(no stop) " + reply.dump();
        const nlohmann::json& stop = reply["outcome"]["stop"];
        return stop["rule"].get<std::string>() + "@" + (stop["word"].is_null() ? "-" : stop["word"].dump());
    }

    static std::string DinoFor(const std::string& id, const std::string& rest)
    {
        return "KV.SpawnDinoFor " + id + " " + kRaptorWord + " \"\" " + rest;
    }
};

TEST_F(JsonReplies, NameTheRuleAndTheWordThatStopEachLine)
{
    EXPECT_EQ(StopOf("KV.SpawnDinoFor 1002 a b c"), "too-few-words@-") << "too short to hand on";
    EXPECT_EQ(StopOf(DinoFor("1002", "0 150 0 0 0")), "too-few-words@-") << "too short for KV.SpawnDino";
    EXPECT_EQ(StopOf(DinoFor("1002", "0 abc 0 0 0 0 0")), "not-a-number@5");
    EXPECT_EQ(StopOf(DinoFor("1002", "0 - 0 0 0 0 0")), "does-not-convert@5");
    EXPECT_EQ(StopOf(DinoFor("1009", "0 150 0 0 0 0 0")), "no-such-player@1");
    EXPECT_EQ(StopOf("KV.SpawnDinoFor 1002 Blueprint'/Game/Nothing.Nothing' \"\" 0 1 0 0 0 0 0"), "no-class@2");
    EXPECT_EQ(StopOf("KV.SpawnDinoFor 1002 " + kHelmetWord + " \"\" 0 1 0 0 0 0 0"), "not-a-creature@2");
    EXPECT_EQ(StopOf("KV.SpawnItemFor 1004 " + kHelmetWord + " x 0 0 1"), "no-inventory@-");
    EXPECT_EQ(StopOf("KV.SpawnItemFor 1005 " + kHelmetWord + " x 0 0 1"), "inventory-full@-");
    EXPECT_EQ(StopOf("KV.SpawnItemFor 1002 " + kHelmetWord + " x 0 0 0"), "count-below-one@6");
    EXPECT_EQ(StopOf("KV.SpawnItemFor 1002 " + kRaptorWord + " x 0 0 1"), "not-an-item@2");

    const nlohmann::json converted = Reply(DinoFor("1002", "0 10 0 0 1 0 1,+,3"))["outcome"]["stop"];
    EXPECT_EQ(converted["message"], "invalid stoi argument");
    EXPECT_EQ(converted["text"], "1,+,3");
    const nlohmann::json tooFew = Reply("KV.SpawnItemFor 1002 a b c")["outcome"]["stop"];
    EXPECT_EQ(tooFew["needed"], 6);
    EXPECT_EQ(tooFew["words"], 5);
    EXPECT_FALSE(tooFew.contains("text")) << "no word stops it";
}

TEST_F(JsonReplies, SayWhatWasDeliveredAndWhere)
{
    const nlohmann::json reply = Reply(DinoFor("1002", "0 150 0.5 1 0 0 12,0,7 F"));
    EXPECT_EQ(reply["command"], "KV.SpawnDinoFor");
    EXPECT_EQ(reply["target"], (nlohmann::json{{"id", "1002"}, {"name", "Bob"}}));
    const nlohmann::json& outcome = reply["outcome"];
    EXPECT_EQ(outcome["result"], "delivered");
    const nlohmann::json& creature = outcome["spawn"];
    EXPECT_EQ(creature["creature"], kRaptorWord);
    EXPECT_EQ(creature["level"], 150);
    EXPECT_EQ(creature["sex"], "female");
    EXPECT_EQ(creature["imprint"], 0.5);
    EXPECT_EQ(creature["neuter"], true);
    EXPECT_EQ(creature["colours"], (nlohmann::json{12, 0, 7, 0, 0, 0}));
    EXPECT_EQ(creature["delivery"], "cryopod");
    ASSERT_EQ(InventoryOf("1002").size(), 1u);

    const nlohmann::json stats =
        Reply("KV.SpawnDinoStatsFor 1002 " + kRaptorWord + " \"\" 0 0 0 1 0 0 R 10 20 30 40 50 60")["outcome"];
    EXPECT_EQ(stats["result"], "delivered");
    EXPECT_EQ(stats["spawn"]["level"], 211) << "1 plus the points";
    EXPECT_EQ(stats["spawn"]["delivery"], "world");

    const nlohmann::json items = Reply("KV.SpawnItemFor 1002 " + kHelmetWord + " x 300 1 2 50")["outcome"];
    EXPECT_EQ(items["result"], "delivered");
    EXPECT_EQ(items["spawn"]["made"], 2);
    EXPECT_EQ(items["spawn"]["qualityIndex"], 44);
    EXPECT_EQ(items["spawn"]["formFlag"], true);
    EXPECT_EQ(items["spawn"]["stats"][0], (nlohmann::json{{"itemStat", 1}, {"value", 50.0}}));
}

TEST_F(JsonReplies, SayWhyACreatureStayedInTheWorld)
{
    const nlohmann::json full = Reply(DinoFor("1005", "0 10 0 0 0 0 0"))["outcome"];
    EXPECT_EQ(full["result"], "kept-in-world");
    EXPECT_EQ(full["kept"], "inventory-full");
    EXPECT_EQ(Reply(DinoFor("1004", "0 10 0 0 0 0 0"))["outcome"]["kept"], "no-inventory");
    EXPECT_EQ(Reply(DinoFor("1004", "0 10 0 0 0 1 0"))["outcome"]["kept"], "no-inventory") << "as an egg";
    EXPECT_EQ(Reply("KV.SpawnDinoFor 1002 " + std::string(kJellyfish) + " \"\" 0 10 0 0 0 1 0")["outcome"]["kept"],
              "egg-not-made");

    UseConfig(R"({"RconReplies": "json", "CryopodBP": "Blueprint'/Game/Nothing.Nothing'"})");
    EXPECT_EQ(Reply(DinoFor("1002", "0 10 0 0 0 0 0"))["outcome"]["kept"], "no-cryopod-class");
}

TEST_F(JsonReplies, SayWhatWasMadeBeforeACommandStopped)
{
    const nlohmann::json statStop = Reply("KV.SpawnItemFor 1002 " + kHelmetWord + " x 0 0 2 10 +")["outcome"];
    EXPECT_EQ(statStop["result"], "partly");
    EXPECT_EQ(statStop["spawn"]["made"], 2);
    EXPECT_EQ(statStop["spawn"]["stats"], nullptr) << "no stat value was written";
    EXPECT_EQ(statStop["stop"]["rule"], "does-not-convert");
    EXPECT_EQ(statStop["stop"]["word"], 8);

    const nlohmann::json filled = Reply("KV.SpawnItemFor 1003 " + kHelmetWord + " x 0 0 5")["outcome"];
    EXPECT_EQ(filled["result"], "partly");
    EXPECT_EQ(filled["spawn"]["made"], 2);
    EXPECT_EQ(filled["spawn"]["count"], 5);
    EXPECT_EQ(filled["stop"]["rule"], "inventory-full");
}

TEST_F(JsonReplies, AFailedRunAndAReloadAnswerToo)
{
    UseConfig(R"({"RconReplies": "json", "CryopodBP": 5})");
    const nlohmann::json failed = Reply(DinoFor("1002", "0 10 0 0 0 0 0"))["outcome"];
    EXPECT_EQ(failed["result"], "failed");
    EXPECT_THAT(failed["error"].get<std::string>(), ::testing::HasSubstr("type must be string, but is number"));

    EXPECT_EQ(Reply("Kestrova.Reload"), (nlohmann::json{{"v", 1}, {"command", "Kestrova.Reload"}, {"reloaded", true}}));
    std::filesystem::remove(server_.ConfigPath());
    const nlohmann::json refused = Reply("Kestrova.Reload");
    EXPECT_EQ(refused["reloaded"], false);
    EXPECT_EQ(refused["error"], "Can't open config.json");
}

TEST_F(JsonReplies, AreAsciiWhateverTheNamesHold)
{
    StartGame(R"({"players": [{"id": "7", "name": "Zoë 🦖", "team": 1, "netId": "07"}]})");
    Load();
    UseConfig(R"({"RconReplies": "json"})");
    const std::vector<sim::RconReply> replies = RunRcon("KV.SpawnItemFor 7 nothing x 0 0 1", 7);
    ASSERT_EQ(replies.size(), 1u);
    const std::string text = sim::ToUtf8(replies[0].text);
    EXPECT_EQ(text.find_first_of("\x80\xff"), std::string::npos) << text;
    EXPECT_EQ(nlohmann::json::parse(text)["target"]["name"], "Zoë 🦖");
}

TEST_F(JsonReplies, SettingsSwitchLiveAndABadValueKeepsTheTextReplies)
{
    UseConfig(R"({"RconReplies": "xml"})");
    const std::vector<sim::RconReply> text = RunRcon(DinoFor("1009", "0 10 0 0 0 0 0"));
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(sim::ToUtf8(text[0].text), "Failed to give!");
    EXPECT_THAT(LogLines(), ::testing::Contains(::testing::HasSubstr(
                                "[Kestrova][error] RconReplies must be \"text\" or \"json\", not \"xml\"")));

    UseConfig(R"({"RconReplies": true})");
    EXPECT_EQ(sim::ToUtf8(RunRcon(DinoFor("1009", "0 10 0 0 0 0 0"))[0].text), "Failed to give!");
    EXPECT_THAT(LogLines(), ::testing::Contains(::testing::HasSubstr("type must be string, but is boolean")));

    UseConfig(R"({"RconReplies": "json"})");
    EXPECT_EQ(Reply(DinoFor("1009", "0 10 0 0 0 0 0"))["outcome"]["result"], "nothing");
}

// The replies' bytes as shops have parsed them since the first version: keys in
// byte order, no blanks, numbers as the JSON library writes them, ASCII only.
TEST(SpawnReply, KeepsEveryFieldsBytes)
{
    Outcome creature;
    creature.result = Outcome::Result::Delivered;
    creature.creature = CreatureMade{};
    creature.creature->creature = "Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'";
    creature.creature->level = 150;
    creature.creature->sex = CreatureMade::Sex::Female;
    creature.creature->imprint = 0.5f;
    creature.creature->neuter = true;
    creature.creature->colours = {12, 0, 7, -1, 255, 2147483647};
    creature.creature->inventoryItem = "Blueprint'/Game/Items/Armor/PrimalItemArmor_MetalHelmet.PrimalItemArmor_MetalHelmet'";
    creature.creature->inventoryItemQuality = -7;
    creature.creature->inventoryItemMade = true;
    EXPECT_EQ(SpawnReply("KV.SpawnDinoFor", ReplyTarget{"1002", "Bob"}, creature),
              R"({"command":"KV.SpawnDinoFor","outcome":{"result":"delivered","spawn":{"colours":[12,0,7,-1,255,2147483647],)"
              R"("creature":"Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'","delivery":"cryopod",)"
              R"("imprint":0.5,"inventoryItem":{"made":true,"quality":-7,"reference":"Blueprint'/Game/Items/Armor/)"
              R"(PrimalItemArmor_MetalHelmet.PrimalItemArmor_MetalHelmet'"},"level":150,"neuter":true,"sex":"female"}},)"
              R"("target":{"id":"1002","name":"Bob"},"v":1})");

    Outcome kept;
    kept.result = Outcome::Result::KeptInWorld;
    kept.kept = KeptReason::EggNotMade;
    kept.creature = CreatureMade{};
    kept.creature->creature = "x";
    kept.creature->sex = CreatureMade::Sex::None;
    kept.creature->imprint = 0.1f;
    kept.creature->delivery = Delivery::Egg;
    EXPECT_EQ(SpawnReply("KV.SpawnDinoStatsFor", ReplyTarget{"7", std::nullopt}, kept),
              R"({"command":"KV.SpawnDinoStatsFor","outcome":{"kept":"egg-not-made","result":"kept-in-world",)"
              R"("spawn":{"colours":[0,0,0,0,0,0],"creature":"x","delivery":"egg","imprint":0.10000000149011612,)"
              R"("inventoryItem":null,"level":null,"neuter":false,"sex":"none"}},"target":{"id":"7","name":null},"v":1})");

    Outcome items;
    items.result = Outcome::Result::Partly;
    items.stop = Stop(StopRule::InventoryFull);
    items.items = ItemsMade{};
    items.items->item = "i";
    items.items->second = "";
    items.items->quality = 300;
    items.items->formFlag = true;
    items.items->count = 5;
    items.items->made = 2;
    items.items->stats = std::array<float, 5>{1e30f, -0.0f, 3.5f, 1e-7f, std::numeric_limits<float>::infinity()};
    EXPECT_EQ(SpawnReply("KV.SpawnItemFor", ReplyTarget{"1003", "Zo\xc3\xab \xf0\x9f\xa6\x96"}, items),
              R"({"command":"KV.SpawnItemFor","outcome":{"result":"partly","spawn":{"count":5,"formFlag":true,)"
              R"("item":"i","made":2,"quality":300,"qualityIndex":44,"second":"","stats":[{"itemStat":1,)"
              R"("value":1.0000000150474662e+30},{"itemStat":2,"value":-0.0},{"itemStat":3,"value":3.5},)"
              R"({"itemStat":5,"value":1.0000000116860974e-07},{"itemStat":7,"value":null}]},)"
              R"("stop":{"rule":"inventory-full","word":null}},"target":{"id":"1003","name":"Zo\u00eb \ud83e\udd96"},"v":1})");

    items.items->stats.reset();
    items.items->quality = -1;
    EXPECT_EQ(SpawnReply("KV.SpawnItemFor", std::nullopt, items),
              R"({"command":"KV.SpawnItemFor","outcome":{"result":"partly","spawn":{"count":5,"formFlag":true,)"
              R"("item":"i","made":2,"quality":-1,"qualityIndex":255,"second":"","stats":null},)"
              R"("stop":{"rule":"inventory-full","word":null}},"target":null,"v":1})");
}

TEST(SpawnReply, EscapesWhatAWordOrAMessageHolds)
{
    Stop converted(StopRule::DoesNotConvert, 5, "a\"b\\c/\x01\x1f\x7f\t\n\r\b\f \xc3\xa9\xe2\x82\xac");
    converted.message = "invalid stoi argument";
    EXPECT_EQ(SpawnReply("KV.SpawnDinoFor", ReplyTarget{"1002", "Bob"}, Outcome::Nothing(converted)),
              R"({"command":"KV.SpawnDinoFor","outcome":{"result":"nothing","stop":{"message":"invalid stoi argument",)"
              R"("rule":"does-not-convert","text":"a\"b\\c/\u0001\u001f\u007f\t\n\r\b\f \u00e9\u20ac","word":5}},)"
              R"("target":{"id":"1002","name":"Bob"},"v":1})");

    // Text that is not UTF-8 is replaced, a maximal bad sequence at a time.
    const Stop broken(StopRule::NotANumber, 4, "\xff" "a\xc3(\xe2\x82" "b\xed\xa0\x80\xf0\x9f\xa6");
    EXPECT_EQ(SpawnReply("KV.SpawnDino", std::nullopt, Outcome::Nothing(broken)),
              R"({"command":"KV.SpawnDino","outcome":{"result":"nothing","stop":{"rule":"not-a-number",)"
              R"("text":"\ufffda\ufffd(\ufffdb\ufffd\ufffd\ufffd\ufffd","word":4}},"target":null,"v":1})");

    Stop tooFew;
    tooFew.needed = 6;
    tooFew.words = 3;
    EXPECT_EQ(SpawnReply("KV.SpawnItemFor", std::nullopt, Outcome::Nothing(tooFew)),
              R"({"command":"KV.SpawnItemFor","outcome":{"result":"nothing","stop":{"needed":6,"rule":"too-few-words",)"
              R"("word":null,"words":3}},"target":null,"v":1})");

    EXPECT_EQ(SpawnReply("KV.SpawnItemFor", std::nullopt, Outcome::Failed("type must be string,\n\"but\" \xc3\xa9")),
              R"({"command":"KV.SpawnItemFor","outcome":{"error":"type must be string,\n\"but\" \u00e9",)"
              R"("result":"failed"},"target":null,"v":1})");
}

TEST(ReloadReply, KeepsItsBytes)
{
    EXPECT_EQ(ReloadReply(true, "ignored"), R"({"command":"Kestrova.Reload","reloaded":true,"v":1})");
    EXPECT_EQ(ReloadReply(false, "Can't open \"config.json\"\n"),
              R"({"command":"Kestrova.Reload","error":"Can't open \"config.json\"\n","reloaded":false,"v":1})");
}

}  // namespace
}  // namespace kestrova::test
