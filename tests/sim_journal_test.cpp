// The journal: how much it keeps, how it tells a field write from a read, and the
// plugin's own steps that only it can show (the order of the level and
// BeginPlay, the sex bit, the messenger, the rewritten RCON body).
#include <algorithm>

#include "app/options.h"
#include "host/members.h"
#include "support/catalogue_references.h"
#include "support/creature_fixture.h"
#include "support/run_sim.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

const std::string kRaptorWord = std::string("KV.SpawnDino ") + kRaptor;

std::vector<std::string> Texts(const std::vector<sim::JournalEntry>& entries)
{
    std::vector<std::string> texts;
    for (const sim::JournalEntry& entry : entries)
        texts.push_back(entry.ToString());
    return texts;
}

class SimJournal : public GameTest {
protected:
    void TearDown() override
    {
        Journal().SetCapacity(sim::Journal::kDefaultCapacity);
        GameTest::TearDown();
    }

    APrimalDinoCharacter* Spawn(const char* reference)
    {
        FString text(reference);
        return static_cast<APrimalDinoCharacter*>(
            Call(member::SpawnActor, Controller("1001"), text, 100.0f, 0.0f, 0.0f, true));
    }
};

TEST_F(SimJournal, KeepsTheLastEntriesWithTheirRunningNumbers)
{
    Journal().SetCapacity(5);
    for (int i = 0; i < 2000; ++i)
        Call(member::GetWorld, Controller(i % 2 == 0 ? "1001" : "1002"));
    EXPECT_EQ(Journal().Recorded(), 2000u);
    EXPECT_EQ(Journal().Dropped(), 1995u);
    const auto kept = Journal().Entries();
    ASSERT_THAT(kept, SizeIs(5));
    EXPECT_EQ(kept.front().seq, 1996u);
    EXPECT_EQ(kept.back().ToString(), "Bob AActor.GetWorld() <- () -> World");
    EXPECT_EQ(RunConsole("/journal 2"),
              "(1995 earlier entries dropped: the journal keeps the last 5)\n"
              " 1999  Alice AActor.GetWorld() <- () -> World\n"
              " 2000  Bob AActor.GetWorld() <- () -> World\n");

    Journal().SetCapacity(0);
    Call(member::GetWorld, Controller("1001"));
    FieldOf(member::TargetingTeam, Controller("1001")) = 7;
    EXPECT_EQ(Journal().Recorded(), 0u);
    EXPECT_EQ(RunConsole("/journal"), "The journal is off (kestrova-sim --journal N keeps the last N entries).\n");
}

TEST_F(SimJournal, HoldsNoMoreMemoryHoweverLongItRuns)
{
    constexpr std::size_t kCapacity = 3000;  // a few chunks' worth
    Journal().SetCapacity(kCapacity);
    const auto record = [&](std::size_t calls) {
        for (std::size_t i = 0; i < calls; ++i)
            Call(member::GetWorld, Controller("1001"));
    };
    record(2 * kCapacity);
    const std::size_t settled = Journal().HeldBytes();
    std::size_t most = 0;
    for (int step = 0; step < 16; ++step) {
        record(kCapacity / 2);
        most = std::max(most, Journal().HeldBytes());
    }
    EXPECT_EQ(Journal().Recorded(), 10 * kCapacity);
    EXPECT_EQ(Journal().Size(), kCapacity);
    // Chunks are dropped and reused as they fall out of the window, one spare at
    // most, so the figure only moves by a part of one chunk.
    EXPECT_LT(most, settled + settled / 2) << "settled at " << settled << " bytes";
}

TEST_F(SimJournal, FieldWritesAreToldFromReadsWithTheValueWritten)
{
    APrimalDinoCharacter* raptor = Spawn(kRaptor);  // the world's first raptor is male
    Journal().Clear();

    FieldOf(member::AbsoluteBaseLevel, raptor) = 150;          // written
    const int team = FieldOf(member::TamingTeamID, raptor);    // read
    FieldOf(member::TamerString, raptor) = FString("Alice");   // written
    int& held = FieldOf(member::RandomMutationsMale, raptor);  // held over another resolution
    FieldOf(member::TamedAggressionLevel, raptor) = 2;         // the value it had: a read
    held = 3;
    FieldOf(member::TamingTeamID, raptor);                     // read again, then written
    FieldOf(member::TamingTeamID, raptor) = 9;
    WriteBit(member::IsFemale, raptor, true);
    ReadBit(member::UsesGender, raptor);
    Call(member::BeginPlay, raptor);
    EXPECT_EQ(team, 0);

    EXPECT_THAT(Texts(Journal().Entries()),
                ElementsAre("Raptor_Character_BP_C#2 APrimalDinoCharacter.AbsoluteBaseLevel set to 150 (was 0)",
                            "Raptor_Character_BP_C#2 APrimalDinoCharacter.TamingTeamID is 0",
                            "Raptor_Character_BP_C#2 APrimalDinoCharacter.TamerString set to \"Alice\" (was \"\")",
                            "Raptor_Character_BP_C#2 APrimalDinoCharacter.RandomMutationsMale set to 3 (was 0)",
                            "Raptor_Character_BP_C#2 APrimalDinoCharacter.TamedAggressionLevel is 2",
                            "Raptor_Character_BP_C#2 APrimalDinoCharacter.TamingTeamID is 0",
                            "Raptor_Character_BP_C#2 APrimalDinoCharacter.TamingTeamID set to 9 (was 0)",
                            "Raptor_Character_BP_C#2 APrimalDinoCharacter.bIsFemale set to 1 (was 0)",
                            "Raptor_Character_BP_C#2 APrimalDinoCharacter.bUsesGender is 1",
                            "Raptor_Character_BP_C#2 APrimalDinoCharacter.BeginPlay() <- ()"));
    // What the game changes inside a call is the game's, not a write of the plugin's.
    const sim::Dino& dino = *sim::As<sim::Dino>(raptor, "test");
    EXPECT_EQ(dino.statusComponent->BaseCharacterLevel, 150);
    EXPECT_THAT(Journal().Accesses(member::BaseCharacterLevel.name), IsEmpty());
}

TEST_F(SimJournal, ValuesAreKeptWhenWhatTheyCameFromIsGone)
{
    {
        FString reference("Blueprint'/Game/Nothing.Nothing'");
        CallStatic(member::StringReferenceToClass, reference);
    }
    FString path;
    Call(member::GetPathName, sim::Handle<UObjectBaseUtility>(Game().FindClass("UWorld")), nullptr, path);
    EXPECT_THAT(Texts(Journal().Entries()),
                ElementsAre("UVictoryCore.StringReferenceToClass(FString&) <- (\"Blueprint'/Game/Nothing.Nothing'\") -> null",
                            "Class:UWorld UObjectBaseUtility.GetPathName(UObject*,FString&) <- (null, "
                            "\"/Script/Engine.UWorld\")"));
}

// The plugin's steps that the journal alone shows.
class PluginJournal : public CreatureTest {
protected:
    void Run(std::string_view line) { RunConsoleAs("1001", line); }

    std::uint64_t SeqOfCall(std::string_view member)
    {
        const auto calls = Journal().CallsTo(member);
        return calls.empty() ? 0 : calls.front().seq;
    }
};

TEST_F(PluginJournal, TheLevelIsWrittenBeforeBeginPlay)
{
    Run(kRaptorWord + " \"\" 0 150 0 0 1 0 0");
    const auto level = Journal().Accesses(member::AbsoluteBaseLevel.name);
    ASSERT_THAT(level, SizeIs(1));
    EXPECT_EQ(level[0].kind, sim::JournalKind::Write);
    EXPECT_EQ(level[0].result, "150");
    EXPECT_LT(level[0].seq, SeqOfCall(member::BeginPlay.name));
    EXPECT_THAT(RunConsole("/dinos"), HasSubstr("level 150"));
}

TEST_F(PluginJournal, TheSexBitIsWrittenOnlyOnAGenderedCreature)
{
    // Both spawn female, so writing "M" changes the bit where it is written at all.
    StartGame(R"({"players": [{"id": "1001", "name": "Alice", "team": 1, "netId": "n1"}],
      "catalogue": {"creatures": [
        {"blueprint": "/Game/Hen.Hen", "sex": "female"},
        {"blueprint": "/Game/Jelly.Jelly", "usesGender": false, "sex": "female"}]}})");
    Load();
    Run("KV.SpawnDino Blueprint'/Game/Hen.Hen' \"\" 0 1 0 0 1 0 0 M");
    EXPECT_THAT(Texts(Journal().Accesses(member::IsFemale.name)),
                ElementsAre("Hen_C#1 APrimalDinoCharacter.bIsFemale set to 0 (was 1)"));
    Journal().Clear();
    Run("KV.SpawnDino Blueprint'/Game/Jelly.Jelly' \"\" 0 1 0 0 1 0 0 M");
    EXPECT_THAT(Texts(Journal().Accesses(member::UsesGender.name)),
                ElementsAre("Jelly_C#2 APrimalDinoCharacter.bUsesGender is 0"));
    EXPECT_THAT(Journal().Accesses(member::IsFemale.name), IsEmpty());
}

TEST_F(PluginJournal, ReloadSpeaksGreenThroughTheMessenger)
{
    Run("Kestrova.Reload");
    const auto sent = Journal().CallsTo(
        "PluginMessenger.SendPlayerMessage(AShooterPlayerController*,float,float,float,float,FString&)");
    ASSERT_THAT(sent, SizeIs(1));
    EXPECT_THAT(sent[0].args, ElementsAre("Alice", "0", "1", "0", "1", "\"Reloaded Config!\""));
}

TEST_F(PluginJournal, TheRconBodyIsShownAsTheForwarderRewroteIt)
{
    Journal().Clear();
    RunRcon("KV.SpawnItemFor 1002 " + std::string(kHelmet) + " x 50 0 1", 7);
    const std::vector<std::string> trail = Trail();
    ASSERT_GE(trail.size(), 3u);
    EXPECT_EQ(trail[0], "host IApiUtils.FindPlayerById(FString&) <- (\"1002\") -> Bob");
    EXPECT_EQ(trail[1], "RCON#1 RCONPacket.Body set to \"KV.SpawnItemFor " + std::string(kHelmet) +
                            " x 50 0 1 \" (was \"KV.SpawnItemFor 1002 " + std::string(kHelmet) + " x 50 0 1\")");
    EXPECT_EQ(trail[2], "Bob AShooterPlayerController.GetPlayerInventory() <- () -> Bob.Inventory");
    EXPECT_EQ(Journal().Entries().front().ToString(),
              "host RCON command <- (RCON#1, 7, \"KV.SpawnItemFor 1002 " + std::string(kHelmet) + " x 50 0 1\")");
}

TEST(SimJournalProgram, TheMessengerGetsThePluginsOwnPathAndTheFlagBoundsTheJournal)
{
    EXPECT_EQ(sim::ParseOptions({"--journal", "off"}, "s", "p").journalEntries, 0u);
    EXPECT_EQ(sim::ParseOptions({"--journal=25"}, "s", "p").journalEntries, 25u);
    EXPECT_EQ(sim::ParseOptions({}, "s", "p").journalEntries, std::size_t{sim::Journal::kDefaultCapacity});
    EXPECT_THROW(sim::ParseOptions({"--journal", "0"}, "s", "p"), sim::UsageError);

    const SimRun run = RunSim({"--no-rcon", "--journal", "4"}, "Kestrova.Reload\n/journal\n");
    EXPECT_TRUE(run.succeeded) << run.output;
    EXPECT_THAT(run.output, HasSubstr("earlier entries dropped: the journal keeps the last 4)\n"));
    // The path as the platform spells it (under Wine a drive letter comes first):
    // the library's own file, in its own folder.
    const std::string call = "host IApiUtils.GetPluginMessenger(FString&) <- (\"";
    const std::size_t at = run.output.find(call);
    ASSERT_NE(at, std::string::npos) << run.output;
    const std::size_t begin = at + call.size();
    const std::filesystem::path given(run.output.substr(begin, run.output.find('"', begin) - begin));
    const std::filesystem::path plugin(KESTROVA_PLUGIN_PATH);
    EXPECT_EQ(given.filename(), plugin.filename());
    EXPECT_EQ(given.parent_path().filename(), plugin.parent_path().filename());
    EXPECT_THAT(run.output, HasSubstr("PluginMessenger.SendPlayerMessage(AShooterPlayerController*,float,float,float,"
                                      "float,FString&) <- (Alice, 0, 1, 0, 1, \"Reloaded Config!\")"));
}

}  // namespace
}  // namespace kestrova::test
