#include "support/check_fixture.h"

#include <algorithm>
#include <map>

#include "check/game_world.h"
#include "host/json_text.h"
#include "host/members.h"
#include "item/item_stats.h"

namespace kestrova::test {
namespace {

int Clamped(int points) { return std::clamp(points, 0, 255); }

}  // namespace

bool IsItemCommand(const check::Report& report) { return report.command.find("Item") != std::string::npos; }

void CheckTest::SetUp()
{
    CreatureTest::SetUp();
    UseConfig(R"({"RconReplies": "json", "ConsoleFeedback": true})");
}

CheckTest::Run CheckTest::RunLine(const std::string& line, std::string_view as, bool overRcon)
{
    const check::GameWorld world(Game());
    check::Context context;
    context.world = &world;
    context.channel = overRcon ? check::Context::Channel::Rcon : check::Context::Channel::Console;
    context.issuer = as == "server" ? check::Issuer::Server() : check::Issuer::Player(sim::FromUtf8(as));
    Run run;
    run.report = check::CheckLine(sim::FromUtf8(line), context);
    run.overRcon = overRcon;

    std::map<const sim::PlayerController*, std::size_t> held;
    for (const sim::PlayerController* player : Game().Players())
        held[player] = player->inventory != nullptr ? player->inventory->items.size() : 0;
    Journal().Clear();
    const std::size_t messages = Messages().size();
    if (overRcon)
        run.replies = RunRcon(line);
    else
        RunConsoleAs(as, line);
    for (std::size_t i = messages; i < Messages().size(); ++i)
        if (Messages()[i].r == 1.0f && Messages()[i].g == 0.0f)
            run.told.push_back(sim::ToUtf8(Messages()[i].text));

    // Only what the line asked of the game: the host's dispatch, its services (the
    // player lookup, the messenger), the rewritten RCON body and the reply, with
    // the target's name it gives, are not.
    const auto hostsDoing = [](const sim::JournalEntry& entry) {
        return entry.kind == sim::JournalKind::Dispatch || entry.kind == sim::JournalKind::Service ||
               entry.member.rfind("RCONClientConnection.", 0) == 0 || entry.member.rfind("RCONPacket.", 0) == 0 ||
               entry.member == member::PlayerCharacterName.name;
    };
    for (const sim::JournalEntry& entry : Journal().Entries())
        if (!hostsDoing(entry))
            run.journal.push_back(entry);
    run.tamed = CountOf(member::TameDino.name);
    for (const sim::PlayerController* player : Game().Players())
        if (player->inventory != nullptr)
            for (std::size_t i = held[player]; i < player->inventory->items.size(); ++i)
                run.items.push_back(player->inventory->items[i]);
    return run;
}

CheckTest::Run CheckTest::Both(const std::string& line, std::string_view as) { return RunLine(line, as, false); }
CheckTest::Run CheckTest::BothOverRcon(const std::string& line) { return RunLine(line, "server", true); }

CheckTest::Run CheckTest::Agree(const std::string& line, std::string_view as)
{
    Run run = Both(line, as);
    ExpectAgreement(run);
    return run;
}

void CheckTest::ExpectAgreement(const Run& run)
{
    const check::Report& report = run.report;
    SCOPED_TRACE(check::FormatText(report));
    const bool items = IsItemCommand(report);
    switch (report.verdict) {
    case check::Verdict::Spawns:
        if (items) {
            EXPECT_THAT(run.items, ::testing::SizeIs(report.spawn.at("made").get<std::size_t>()));
            EXPECT_FALSE(run.items.empty());
        } else {
            EXPECT_EQ(run.tamed, 1u) << "said to spawn a creature";
        }
        break;
    case check::Verdict::SpawnsThenStops:
        EXPECT_THAT(run.items, ::testing::SizeIs(report.spawn.at("made").get<std::size_t>()));
        EXPECT_FALSE(run.items.empty());
        for (const sim::Item* item : run.items)
            EXPECT_EQ(item->updates, 0) << "said to get no stat values";
        break;
    case check::Verdict::DoesNothing: {
        EXPECT_EQ(run.tamed, 0u) << "said to spawn nothing";
        EXPECT_THAT(run.items, ::testing::IsEmpty()) << "said to create nothing";
        ASSERT_TRUE(report.stop.has_value());
        const std::string rule = RuleName(report.stop->rule);
        const bool beforeTheGame = rule == "no-player" || rule == "too-few-words" || rule == "not-a-number" ||
                                   rule == "no-such-player" || (rule == "does-not-convert" && !items);
        if (beforeTheGame) {
            EXPECT_THAT(run.journal, ::testing::IsEmpty()) << "stopped by its words, before the game is asked anything";
        }
        // The game is asked to spawn or create only where the checker says it is
        // asked for something that is not there.
        const auto calls = [&](std::string_view member) {
            return std::count_if(run.journal.begin(), run.journal.end(),
                                 [&](const sim::JournalEntry& entry) { return entry.member == member; });
        };
        if (rule != "no-class" && rule != "not-a-creature") {
            EXPECT_EQ(calls(member::SpawnActor.name), 0);
        }
        if (rule != "not-an-item" && rule != "inventory-full") {
            EXPECT_EQ(calls(member::AddNewItem.name), 0);
        }
        if (rule == "does-not-convert" && items) {
            ASSERT_THAT(run.journal, ::testing::SizeIs(1)) << "only the inventory is looked at";
            EXPECT_EQ(run.journal[0].member, member::PlayerInventory.name);
        }
        break;
    }
    case check::Verdict::Reloads:
    case check::Verdict::NotACommand: break;
    }
    EXPECT_EQ(Escaped(), 0);
    ExpectOutcomeAsReported(run);
}

void CheckTest::ExpectOutcomeAsReported(const Run& run)
{
    const check::Report& report = run.report;
    if (!run.overRcon) {
        const std::string feedback = check::Feedback(report);
        if (feedback.empty())
            EXPECT_THAT(run.told, ::testing::IsEmpty()) << "said to be told nothing";
        else
            EXPECT_THAT(run.told, ::testing::ElementsAre(feedback));
        return;
    }
    if (report.command.empty() || !report.rconCommand) {
        EXPECT_THAT(run.replies, ::testing::SizeIs(1)) << "the host's own answer";
        return;
    }
    ASSERT_THAT(run.replies, ::testing::SizeIs(1)) << "every request gets one JSON reply";
    const nlohmann::json reply = nlohmann::json::parse(sim::ToUtf8(run.replies[0].text));
    EXPECT_EQ(reply["v"], 1);
    EXPECT_EQ(reply["command"], report.command);
    if (report.verdict == check::Verdict::Reloads) {
        EXPECT_EQ(reply["reloaded"], true);
        EXPECT_EQ(report.rconReply, "Reloaded Config!");
        return;
    }
    const nlohmann::json& outcome = reply["outcome"];
    ASSERT_TRUE(report.result.has_value());
    EXPECT_EQ(outcome["result"], ResultName(*report.result));
    if (report.stop) {
        ASSERT_TRUE(outcome.contains("stop")) << outcome.dump();
        kestrova::JsonText said;
        WriteJson(said, static_cast<const Stop&>(*report.stop));
        EXPECT_EQ(outcome["stop"], nlohmann::json::parse(said.Text()));
    } else {
        EXPECT_FALSE(outcome.contains("stop")) << outcome.dump();
    }
    EXPECT_EQ(outcome.value("kept", ""), report.kept ? KeptReasonName(*report.kept) : "");
    if (outcome.contains("spawn") && outcome["spawn"].contains("made")) {
        EXPECT_EQ(outcome["spawn"]["made"], report.spawn["made"]);
    }

    // In text, the reply the checker says: none for a line too short to hand on,
    // "Failed to give!" for an unknown id, the success text once it is handed on.
    const nlohmann::json& target = reply["target"];
    const std::optional<std::string> text =
        target.is_null()           ? std::nullopt
        : target["name"].is_null() ? std::optional<std::string>("Failed to give!")
                                   : std::optional<std::string>("Success! Sent to the command processor.");
    EXPECT_EQ(report.rconReply, text);
}

void CheckTest::ExpectCreatureAsReported(const check::Report& report, const sim::Dino& creature)
{
    SCOPED_TRACE(check::FormatText(report));
    const nlohmann::json& spawn = report.spawn;
    if (spawn.contains("level")) {
        EXPECT_EQ(creature.AbsoluteBaseLevel, spawn["level"].get<int>());
    }
    EXPECT_EQ(creature.Flag(sim::kNeuteredBit), spawn["neuter"].get<bool>());
    EXPECT_EQ(!TextOf(creature.ImprinterName).empty(), spawn["imprint"].get<float>() > 0.0f);
    if (spawn["sex"] != "game" && creature.Flag(sim::kUsesGenderBit)) {
        EXPECT_EQ(creature.Flag(sim::kIsFemaleBit), spawn["sex"] == "female");
    }
    for (std::size_t region = 0; region < 6; ++region) {
        const int asked = spawn["colours"][region].get<int>();
        EXPECT_EQ(creature.colors[region], asked != 0 ? asked : creature.entry->colors[region]) << "region " << region;
    }
    if (!spawn.contains("statPoints"))
        return;
    const sim::StatusComponent& status = *creature.MyCharacterStatusComponent;
    for (const nlohmann::json& point : spawn["statPoints"]) {
        const int got = status.NumberOfLevelUpPointsApplied[point["statusValue"].get<int>()];
        if (point.contains("value")) {
            EXPECT_EQ(got, Clamped(point["value"].get<int>())) << point.dump();
        } else {
            const int from = Clamped(point["from"].get<int>());
            const int to = Clamped(point["to"].get<int>());
            EXPECT_GE(got, std::min(from, to)) << point.dump();
            EXPECT_LE(got, std::max(from, to)) << point.dump();
        }
    }
    EXPECT_GE(status.BaseCharacterLevel, spawn["baseLevel"]["min"].get<int>());
    EXPECT_LE(status.BaseCharacterLevel, spawn["baseLevel"]["max"].get<int>());
}

void CheckTest::ExpectItemsAsReported(const check::Report& report, const std::vector<sim::Item*>& items)
{
    SCOPED_TRACE(check::FormatText(report));
    const nlohmann::json& spawn = report.spawn;
    for (const sim::Item* item : items) {
        EXPECT_EQ(item->askedQuality, static_cast<float>(spawn["quality"].get<int>()));
        EXPECT_EQ(item->ItemQualityIndex, spawn["qualityIndex"].get<int>());
        EXPECT_EQ(item->forcedBlueprint, spawn["formFlag"].get<bool>());
        EXPECT_EQ(item->forcedItem, !spawn["formFlag"].get<bool>());
        if (report.verdict != check::Verdict::Spawns)
            continue;
        const sim::ItemEntry& entry = *Game().GetCatalogue().Item(item->ClassPrivate);
        for (const nlohmann::json& stat : spawn["stats"]) {
            const int k = stat["itemStat"].get<int>();
            const FItemStatInfo& record = entry.stats[static_cast<std::size_t>(k)];
            const float base = record.Base + ((record.Flags & 4u) != 0 ? 100.0f : 0.0f);
            const auto value = [&](float v) {
                return v > 0.0f && (record.Flags & 1u) != 0 ? ItemStatValue(k, v, base, record.FactorA, record.FactorB)
                                                            : 0;
            };
            const int got = item->ItemStatValues[k];
            if (stat.contains("value")) {
                EXPECT_EQ(got, value(stat["value"].get<float>())) << stat.dump();
            } else {
                const float low = std::min(stat["from"].get<float>(), stat["to"].get<float>());
                const float high = std::max(stat["from"].get<float>(), stat["to"].get<float>());
                EXPECT_GE(got, value(low)) << stat.dump();
                EXPECT_LE(got, value(high)) << stat.dump();
            }
        }
    }
}

}  // namespace kestrova::test
