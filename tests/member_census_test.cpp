// A game that lacks a member the plugin uses: every member taken away in turn,
// every command that uses it, from the console and over RCON. Each run either
// does as it does with the whole game or fails naming the member; nothing
// crashes, nothing leaks, the load says which members are missing and what fails
// without them, and the ledger still records every run.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "framework/host.h"
#include "game/world_file.h"
#include "ledger/ledger.h"
#include "plugin/delivery_ledger.h"
#include "plugin/lifecycle.h"
#include "plugin/member_census.h"
#include "support/catalogue_references.h"
#include "support/game_fixture.h"
#include "support/ledger_fixture.h"
#include "support/server_dir.h"

namespace kestrova::test {
namespace {

using ::testing::HasSubstr;

const std::string kRaptorWord = kRaptor;
const std::string kHelmetWord = kHelmet;

// Runs that between them reach every member: a creature in a cryopod with an item
// of its own, imprinted, neutered, coloured and female; one as an egg; one kept
// in the world; one with stat levels; items with stats; a creature class asked
// for as an item.
const std::vector<std::string> kConsoleLines = {
    "KV.SpawnDino " + kRaptorWord + " " + kHelmetWord + " 7 150 0.5 1 0 0 12,0,7 F",
    "KV.SpawnDino " + kRaptorWord + " \"\" 0 150 0 0 0 1 0",
    "KV.SpawnDino " + kRaptorWord + " \"\" 0 150 0 0 1 0 0",
    "KV.SpawnDinoStats " + kRaptorWord + " \"\" 0 0.5 1 0 0 5,0,7 F 10 10 10 10 10 10",
    "KV.SpawnItem " + kHelmetWord + " x 50 0 2 10 20 30 40 50",
    "KV.SpawnItem " + kRaptorWord + " x 0 0 1",
};
const std::vector<std::string> kRconLines = {
    "KV.SpawnDinoFor 1002 " + kRaptorWord + " \"\" 0 150 0.5 0 0 0 0 M",
    "KV.SpawnDinoStatsFor 1002 " + kRaptorWord + " \"\" 0 0 0 1 0 0 F 1 2 3 4 5 6",
    "KV.SpawnItemFor 1002 " + kHelmetWord + " x 0 0 1 10",
    "KV.Order shop-1 KV.SpawnItemFor 1002 " + kHelmetWord + " x 0 0 1",
    "Kestrova.Reload",
};

constexpr char kConfig[] = R"({"CryoLimitTime": true, "CryoLifeInHours": 2, "RconReplies": "json",
                               "ConsoleFeedback": true, "DeliveryLedger": "deliveries.jsonl"})";

// What one pass over the lines left: the ledger's lines, the RCON replies and the log.
struct Pass {
    std::vector<nlohmann::json> ledger;
    std::vector<std::size_t> replies;  // per RCON line
    std::vector<std::string> log;
    std::set<std::string> membersUsed;
};

class MemberCensus : public GameTest {
protected:
    // Plays every line in a game that lacks `withheld` (none when empty).
    Pass Play(const std::string& withheld)
    {
        nlohmann::json world = sim::DefaultWorld();
        if (!withheld.empty())
            world[sim::kWithoutMembersKey] = {withheld};
        StartGame(world.dump());
        TempServerDir server(kConfig);
        Log().Clear();
        Load();
        // Orders wait for the ledger's read-back, on its own thread.
        if (Ledger* ledger = DeliveryLedger()) {
            EXPECT_TRUE(ReadBack(*ledger));
        }
        Pass pass;
        for (const std::string& line : kConsoleLines)
            RunConsoleAs("1001", line);
        for (const std::string& line : kRconLines)
            pass.replies.push_back(RunRcon(line).size());
        for (const sim::JournalEntry& entry : Journal().Entries())
            // The allocator and the host's packet are the host's own, not resolved by name.
            if (entry.kind != sim::JournalKind::Dispatch && entry.kind != sim::JournalKind::Service &&
                !entry.member.starts_with("FMemory.") && !entry.member.starts_with("RCONPacket."))
                pass.membersUsed.insert(entry.member);
        Unload();
        pass.log = LogLines();
        std::ifstream file(server.ConfigPath().parent_path() / "deliveries.jsonl");
        for (std::string line; std::getline(file, line);)
            pass.ledger.push_back(nlohmann::json::parse(line));
        // An order's lines are written at once, the other lines by the writer's
        // thread: each kind keeps its order, but they may interleave differently.
        std::stable_partition(pass.ledger.begin(), pass.ledger.end(),
                              [](const nlohmann::json& line) { return !line.contains("order"); });
        return pass;
    }
};

std::size_t LinesWith(const std::vector<std::string>& lines, const std::string& text)
{
    std::size_t count = 0;
    for (const std::string& line : lines)
        count += line.find(text) != std::string::npos ? 1u : 0u;
    return count;
}

TEST_F(MemberCensus, AWholeGameLogsNothingNewAndEveryMemberUsedIsCounted)
{
    const Pass whole = Play("");
    EXPECT_EQ(LinesWith(whole.log, "the game has no member"), 0u);
    std::set<std::string> counted;
    for (const CensusRow& row : kestrova::MemberCensus())
        counted.emplace(row.name);
    for (const std::string& member : whole.membersUsed)
        EXPECT_TRUE(counted.contains(member)) << member << " is used but not in the census";
    for (const std::string& member : counted)
        EXPECT_TRUE(whole.membersUsed.contains(member)) << member << " is in the census but no run uses it";
    for (const std::size_t replies : whole.replies)
        EXPECT_EQ(replies, 1u);
}

TEST_F(MemberCensus, LoadNamesEveryMissingMemberInOneLine)
{
    nlohmann::json world = sim::DefaultWorld();
    world[sim::kWithoutMembersKey] = {"AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)",
                                      "UPrimalItem.ItemQualityIndex"};
    StartGame(world.dump());
    TempServerDir server;
    Load();
    Unload();
    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(LinesWith(log, "the game has no member"), 1u);
    EXPECT_THAT(log[0], HasSubstr("Kestrova: the game has no member "
                                  "AShooterPlayerController.SpawnActor(FString&,float,float,float,bool); "
                                  "KV.SpawnDino, KV.SpawnDinoStats and their targeted forms will fail until the "
                                  "plugin is updated; the game has no member UPrimalItem.ItemQualityIndex; "
                                  "KV.SpawnItem and its targeted form will fail until the plugin is updated"));
}

// What a run made before the member it lacked stopped it is still told.
TEST_F(MemberCensus, AFailedRunStillTellsWhatItMade)
{
    nlohmann::json world = sim::DefaultWorld();
    world[sim::kWithoutMembersKey] = {"APrimalDinoCharacter.TameDino(AShooterPlayerController*,bool,int,bool,bool,bool)",
                                      "UPrimalItem.ItemQualityIndex"};
    StartGame(world.dump());
    TempServerDir server(R"({"RconReplies": "json"})");
    Load();
    const auto reply = [&](const std::string& line) {
        const std::vector<sim::RconReply> replies = RunRcon(line);
        return replies.size() == 1 ? nlohmann::json::parse(sim::ToUtf8(replies[0].text)) : nlohmann::json();
    };
    const nlohmann::json creature = reply(kRconLines[0]);
    EXPECT_EQ(creature["outcome"]["result"], "failed");
    EXPECT_EQ(creature["outcome"]["error"], "the game has no member "
                                            "APrimalDinoCharacter.TameDino(AShooterPlayerController*,bool,int,bool,bool,bool)");
    EXPECT_EQ(creature["outcome"]["spawn"]["creature"], kRaptorWord);
    EXPECT_EQ(creature["outcome"]["spawn"]["delivery"], "world");

    const nlohmann::json items = reply("KV.SpawnItemFor 1002 " + kHelmetWord + " x 0 0 3");
    EXPECT_EQ(items["outcome"]["result"], "failed");
    EXPECT_EQ(items["outcome"]["error"], "the game has no member UPrimalItem.ItemQualityIndex");
    EXPECT_EQ(items["outcome"]["spawn"]["made"], 1) << "the first item was made before its quality failed";
    Unload();
}

class WithoutMember : public MemberCensus, public ::testing::WithParamInterface<std::size_t> {
protected:
    const CensusRow& Row() const { return kestrova::MemberCensus()[GetParam()]; }
};

// What needs a ledger line's command.
std::uint8_t NeedOf(const nlohmann::json& line)
{
    const std::string command = line.value("command", "");
    return static_cast<std::uint8_t>(command.find("Item") != std::string::npos ? MemberNeed::Items
                                                                                : MemberNeed::Creatures);
}

TEST_P(WithoutMember, EveryRunDoesAsBeforeOrFailsNamingIt)
{
    const CensusRow& row = Row();
    const std::string name(row.name);
    const std::string error = "the game has no member " + name;
    const Pass whole = Play("");
    const Pass pass = Play(name);

    EXPECT_EQ(LinesWith(pass.log, "Kestrova: the game has no member " + name + "; " + WhatFailsWithout(row)), 1u);

    // Every run is recorded, as before or failed naming the member; what it made
    // before the failure is still told.
    ASSERT_EQ(pass.ledger.size(), whole.ledger.size());
    std::uint8_t failedNeeds = 0;
    for (std::size_t i = 0; i < pass.ledger.size(); ++i) {
        const nlohmann::json& was = whole.ledger[i];
        const nlohmann::json& is = pass.ledger[i];
        if (!was.contains("outcome") || is["outcome"] == was["outcome"])
            continue;
        EXPECT_EQ(is["outcome"]["result"], "failed") << is.dump();
        EXPECT_EQ(is["outcome"]["error"], error) << is.dump();
        failedNeeds |= NeedOf(is);
        if (is["outcome"].contains("spawn") && is["outcome"]["spawn"].contains("delivery")) {
            EXPECT_EQ(is["outcome"]["spawn"]["delivery"], "world") << is.dump();
        }
    }
    const auto needs = [&](MemberNeed need) { return (row.needs & static_cast<std::uint8_t>(need)) != 0; };
    EXPECT_EQ(failedNeeds, row.needs & static_cast<std::uint8_t>(static_cast<std::uint8_t>(MemberNeed::Creatures) |
                                                                  static_cast<std::uint8_t>(MemberNeed::Items)))
        << "the census says what fails without it";

    if (needs(MemberNeed::Replies)) {
        for (const std::size_t replies : pass.replies)
            EXPECT_EQ(replies, 0u);
    } else {
        EXPECT_EQ(pass.replies, whole.replies);
    }
    if (needs(MemberNeed::Optional)) {
        for (const nlohmann::json& line : pass.ledger)
            if (line.contains("from") && line["from"].contains("rcon")) {
                EXPECT_TRUE(line["from"]["rcon"].is_null()) << line.dump();
            }
    }
    // The log says it at the first use, and not again within the minute.
    const bool used = failedNeeds != 0 || needs(MemberNeed::Replies);
    EXPECT_EQ(LinesWith(pass.log, error + "; what needs it fails until the plugin is updated"), used ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryMember, WithoutMember,
                         ::testing::Range(std::size_t{0}, kestrova::MemberCensus().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& param) {
                             std::string name(kestrova::MemberCensus()[param.param].name);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return std::to_string(param.param) + "_" + name;
                         });

}  // namespace
}  // namespace kestrova::test
