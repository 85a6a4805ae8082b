// kestrova-check against the stand-in: for every rule that stops a line and every
// way a word is read, the checker's verdict is what the command then does.
#include "support/check_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::HasSubstr;

const std::string kRaptorWord = kRaptor;
const std::string kHelmetWord = kHelmet;

// A raptor line with no item for it, `middle` holding the words from the item quality on.
std::string Dino(const std::string& middle) { return "KV.SpawnDino " + kRaptorWord + " \"\" " + middle; }
std::string Stats(const std::string& middle) { return "KV.SpawnDinoStats " + kRaptorWord + " \"\" " + middle; }
std::string Helmets(const std::string& rest) { return "KV.SpawnItem " + kHelmetWord + " x " + rest; }

class CheckAgreement : public CheckTest {
protected:
    // What the checker says of the word typed as word `index`.
    static std::string ReadingOf(const Run& run, int index)
    {
        for (const check::WordNote& word : run.report.words)
            if (word.index == index)
                return word.reading;
        return "(no such word)";
    }

    // Agree, and the rule the checker names (empty when the line is not stopped).
    std::string RuleOf(const std::string& line, std::string_view as = "1001")
    {
        const Run run = Agree(line, as);
        return run.report.stop ? std::string(RuleName(run.report.stop->rule)) : std::string();
    }
};

TEST_F(CheckAgreement, CreatureLinesStopWhereTheCommandStops)
{
    // KV.SpawnDino: nine words; each numeric word not a number; conversions that fail.
    EXPECT_EQ(RuleOf(Dino("0 10 0 0 1 0")), "too-few-words");
    for (int word = 3; word <= 8; ++word) {
        std::vector<std::string> numbers = {"0", "10", "0", "0", "1", "0"};
        numbers[static_cast<std::size_t>(word - 3)] = word % 2 == 0 ? "abc" : "1e3";
        std::string middle;
        for (const std::string& number : numbers)
            middle += number + " ";
        EXPECT_EQ(RuleOf(Dino(middle + "0")), "not-a-number") << "word " << word;
    }
    EXPECT_EQ(RuleOf(Dino("0 10 - 0 1 0 0")), "does-not-convert");
    EXPECT_EQ(RuleOf(Dino(".5 10 0 0 1 0 0")), "does-not-convert");
    EXPECT_EQ(RuleOf(Dino("0 99999999999 0 0 1 0 0")), "does-not-convert");
    EXPECT_EQ(RuleOf(Dino("0 10 0 0 1 0 1,+,3")), "does-not-convert");
    EXPECT_EQ(RuleOf(Dino("0 10 0 0 1 0 0"), "server"), "no-player");

    // KV.SpawnDinoStats: eight words; a bad word; a stat word that does not convert.
    EXPECT_EQ(RuleOf(Stats("0 0 0 1 0")), "too-few-words");
    EXPECT_EQ(RuleOf(Stats("0 x 0 1 0 0")), "not-a-number");
    EXPECT_EQ(RuleOf(Stats("- 0 0 1 0 0")), "does-not-convert");
    EXPECT_EQ(RuleOf(Stats("0 0 0 1 0 0 R 10 -3-5")), "does-not-convert");
    EXPECT_EQ(RuleOf(Stats("0 0 0 1 0 0 R 10 +")), "does-not-convert");
    EXPECT_EQ(RuleOf(Stats("0 0 0 1 0 0 R 5---7")), "does-not-convert") << "its second end is --7";

    // What the world holds: no such class, a class that is no creature.
    EXPECT_EQ(RuleOf("KV.SpawnDino Blueprint'/Game/Nothing.Nothing' \"\" 0 10 0 0 1 0 0"), "no-class");
    EXPECT_EQ(RuleOf("KV.SpawnDino " + std::string(kStorageBox) + " \"\" 0 10 0 0 1 0 0"), "not-a-creature");
    EXPECT_EQ(RuleOf("KV.SpawnDino " + kHelmetWord + " \"\" 0 10 0 0 1 0 0"), "not-a-creature");
}

TEST_F(CheckAgreement, ItemLinesStopWhereTheCommandStops)
{
    EXPECT_EQ(RuleOf(Helmets("0 0")), "too-few-words");
    EXPECT_EQ(RuleOf(Helmets("q 0 1")), "not-a-number");
    EXPECT_EQ(RuleOf(Helmets("0 0 1.2.3")), "not-a-number");
    EXPECT_EQ(RuleOf(Helmets("0 0 1"), "server"), "no-player");
    EXPECT_EQ(RuleOf(Helmets("0 0 1"), "1004"), "no-inventory");
    EXPECT_EQ(RuleOf(Helmets("0 0 +"), "1004"), "no-inventory") << "the inventory is looked at first";
    EXPECT_EQ(RuleOf(Helmets("0 + 1")), "does-not-convert");
    EXPECT_EQ(RuleOf(Helmets("0 0 99999999999")), "does-not-convert");
    EXPECT_EQ(RuleOf(Helmets("0 0 0 +")), "count-below-one") << "the stat words are not read";
    EXPECT_EQ(RuleOf(Helmets("0 0 -3")), "count-below-one");
    EXPECT_EQ(RuleOf("KV.SpawnItem Blueprint'/Game/Nothing.Nothing' x 0 0 1"), "no-class");
    EXPECT_EQ(RuleOf("KV.SpawnItem " + kRaptorWord + " x 0 0 1"), "not-an-item");
    EXPECT_EQ(RuleOf(Helmets("0 0 1"), "1005"), "inventory-full");

    // A stat word that does not convert ends the command after the items are made.
    const Run run = Agree(Helmets("0 0 2 10 -5-10"));
    EXPECT_EQ(run.report.verdict, check::Verdict::SpawnsThenStops);
    ExpectItemsAsReported(run.report, run.items);

    // Carol has room for two: the checker says so, and two are made.
    const Run carol = Agree(Helmets("0 0 5"), "1003");
    EXPECT_EQ(carol.report.spawn["made"], 2);
}

TEST_F(CheckAgreement, TargetedFormsHandOnAndReplyAsSaid)
{
    const std::string dino = " " + kRaptorWord + " \"\" 0 10 0 0 1 0 0";
    for (const Run& run : {BothOverRcon("KV.SpawnDinoFor 1002" + dino), BothOverRcon("KV.SpawnDinoFor 4242" + dino),
                           BothOverRcon("KV.SpawnDinoFor 1002 a b c"), BothOverRcon("KV.SpawnDinoFor 1002 a b c d"),
                           BothOverRcon("KV.SpawnDinoStatsFor 1002 a b 0 0 0"),
                           BothOverRcon("KV.SpawnItemFor 1002 " + kHelmetWord + " x 0 1"),
                           BothOverRcon("KV.SpawnItemFor 1002 " + kHelmetWord + " x 0 0 1 5"),
                           BothOverRcon("kv.spawnitemfor 1002   " + kHelmetWord + "  x 0 0 1 ")})
        ExpectAgreement(run);

    const Run spawned = BothOverRcon("KV.SpawnDinoFor 1002" + dino);
    EXPECT_EQ(spawned.report.verdict, check::Verdict::Spawns);
    EXPECT_EQ(spawned.report.handedTo, "KV.SpawnDino, as Bob (1002)");
    EXPECT_EQ(Creatures().back()->TamingTeamID, 50002) << "for Bob";

    // Enough words to be handed on, too few for the plain command: nothing, and
    // still the success reply.
    const Run tooShort = BothOverRcon("KV.SpawnItemFor 1002 " + kHelmetWord + " x 0 1");
    EXPECT_EQ(tooShort.report.verdict, check::Verdict::DoesNothing);
    EXPECT_EQ(tooShort.report.rconReply, "Success! Sent to the command processor.");
    EXPECT_EQ(RuleName(tooShort.report.stop->rule), std::string("too-few-words"));

    // On the console: a targeted line from the server's console does nothing.
    const Run console = Both("KV.SpawnDinoFor 1002" + dino, "1001");
    ExpectAgreement(console);
    EXPECT_EQ(console.tamed, 1u);
    const Run server = Agree("KV.SpawnDinoFor 1002" + dino, "server");
    EXPECT_EQ(RuleName(server.report.stop->rule), std::string("no-player"));
    // Over RCON a plain command is no command at all.
    const Run plain = BothOverRcon("KV.SpawnDino" + dino);
    EXPECT_EQ(plain.report.verdict, check::Verdict::NotACommand);
    EXPECT_EQ(plain.tamed, 0u);
}

TEST_F(CheckAgreement, FlagsAreSetOnlyByOne)
{
    for (const char* neuter : {"1", "1.9", "01", "+1", "2", "0", "-1", "0.9"}) {
        const Run run = Agree(Dino("0 10 0 " + std::string(neuter) + " 1 0 0"));
        ExpectCreatureAsReported(run.report, *Creatures().back());
        EXPECT_EQ(ReadingOf(run, 6).starts_with("neuter: yes"), Creatures().back()->Flag(sim::kNeuteredBit)) << neuter;
    }
    // Keep in the world by 1.0; anything else delivers: a cryopod, or an egg, which
    // wins over keeping it.
    EXPECT_EQ(Agree(Dino("0 10 0 0 1.0 0 0")).report.spawn["delivery"], "world");
    const Run cryopod = Agree(Dino("0 10 0 0 2 0 0"));
    EXPECT_EQ(cryopod.report.spawn["delivery"], "cryopod");
    ASSERT_THAT(cryopod.items, ::testing::SizeIs(1));
    EXPECT_EQ(cryopod.items[0]->ClassPrivate->name, kCryopodClass);
    const Run egg = Agree(Dino("0 10 0 0 1 1 0"));
    EXPECT_EQ(egg.report.spawn["delivery"], "egg");
    ASSERT_THAT(egg.items, ::testing::SizeIs(1));
    EXPECT_EQ(egg.items[0]->ClassPrivate->name, "PrimalItemConsumable_Egg_Raptor_Fertilized_C");
}

TEST_F(CheckAgreement, ColoursAreReadByPosition)
{
    for (const char* colours : {"5,x,7", ",", "-3,,2.9", "0,0,12", "1,2,3,4,5,6,7,+", "x,y,z,1"}) {
        const Run run = Agree(Dino("0 10 0 0 1 0 " + std::string(colours)));
        ExpectCreatureAsReported(run.report, *Creatures().back());
        for (int region = 0; region < 6; ++region) {
            const int colour = Creatures().back()->colors[static_cast<std::size_t>(region)];
            EXPECT_THAT(ReadingOf(run, 9), HasSubstr(colour != 0 ? "region " + std::to_string(region) +
                                                                       " gets colour " + std::to_string(colour)
                                                                 : "stay"))
                << colours << ", region " << region;
        }
    }
}

TEST_F(CheckAgreement, SexWordsAreComparedExactly)
{
    for (const char* sex : {"R", "F", "f", "r", "M", "FF"}) {
        // Twice, so the game's own alternation cannot hide a wrong reading.
        for (int twice = 0; twice < 2; ++twice) {
            const Run run = Agree(Dino("0 10 0 0 1 0 0 " + std::string(sex)));
            ExpectCreatureAsReported(run.report, *Creatures().back());
            if (std::string_view(sex) != "R") {
                EXPECT_EQ(ReadingOf(run, 10).find("female") != std::string::npos,
                          Creatures().back()->Flag(sim::kIsFemaleBit))
                    << sex;
            }
        }
    }
    const Run jellyfish = Agree("KV.SpawnDino " + std::string(kJellyfish) + " \"\" 0 10 0 0 1 0 0 F");
    EXPECT_THAT(jellyfish.report.words.back().reading, HasSubstr("no sexes"));
    EXPECT_EQ(Creatures().back()->flags, 0u);
}

TEST_F(CheckAgreement, StatWordsNumbersRangesBadRangesAndNegatives)
{
    for (const char* stats : {"10 20 30 40 50 60", "10 x 30 40", "10 5-x 30", "-5 300 7.9", "1-100 100-1 5-5 5--7",
                              "1 2 3 4 5 6 7 8", "99999999999", "3-5- +3-5 1-2-3 0-0 4-6"}) {
        const Run run = Agree(Stats("0 0 0 1 0 0 R " + std::string(stats)));
        ASSERT_EQ(run.report.verdict, check::Verdict::Spawns) << stats;
        ExpectCreatureAsReported(run.report, *Creatures().back());
    }
    // The issue's example: a female at base level 11.
    const Run example = Agree(Stats("0 0 0 1 0 5,x,7 F 10 x"));
    EXPECT_EQ(example.report.spawn["baseLevel"]["min"], 11);
    EXPECT_THAT(example.report.outcome, HasSubstr("female creature (Raptor_Character_BP_C) at base level 11"));
    EXPECT_EQ(Creatures().back()->MyCharacterStatusComponent->BaseCharacterLevel, 11);
}

TEST_F(CheckAgreement, ItemStatWords)
{
    for (const char* stats :
         {"", "10 x 30", "10 1-2-3 30", "20-30 20-30 1-2 5-10 1-3", "0 0 0 0 0", "-5 10 3.5", "30-20 0-5 9 9 9 9"}) {
        const Run run = Agree(Helmets("7 1 2 " + std::string(stats)));
        ASSERT_EQ(run.report.verdict, check::Verdict::Spawns) << stats;
        ExpectItemsAsReported(run.report, run.items);
    }
    // The sword does not use item stat 1: the checker does not claim it does.
    const Run sword = Agree("KV.SpawnItem " + std::string(kSword) + " x 0 0 1 50 50 50");
    ExpectItemsAsReported(sword.report, sword.items);
    EXPECT_EQ(sword.items[0]->ItemStatValues[1], 0);
}

// The sim's console offers the same as /check, against its own world and as the
// current player, and runs nothing.
TEST_F(CheckAgreement, TheConsoleChecksWithoutRunning)
{
    Journal().Clear();
    const std::string text = RunConsole("/check " + Stats("0 0 0 1 0 5,x,7 F 10 x"));
    EXPECT_THAT(text, HasSubstr("word 10 `10`: stat 1 (status value 0, health): 10 points\n"));
    EXPECT_THAT(text,
                HasSubstr("word 11 `x`: not a number and no range, so the stat words end here: stats 2 to 6 stay 0\n"));
    EXPECT_THAT(text, HasSubstr("tamed to Alice (1001)"));
    EXPECT_THAT(text, HasSubstr("verdict: spawns\n"));
    EXPECT_THAT(Trail(), ::testing::IsEmpty());
    EXPECT_THAT(Creatures(), ::testing::IsEmpty());

    RunConsole("/as server");
    EXPECT_THAT(RunConsole("/check " + Helmets("0 0 1")), HasSubstr("why: no player issues it"));
    RunConsole("/as 1003");
    const nlohmann::json json = nlohmann::json::parse(RunConsole("/check --json KV.SpawnItemFor 1004 a b 0 0 1"));
    EXPECT_EQ(json["verdict"], "does-nothing");
    EXPECT_EQ(json["stop"]["rule"], "no-inventory");
    EXPECT_EQ(json["rcon"]["reply"], "Success! Sent to the command processor.");
    EXPECT_THAT(RunConsole("/check"), HasSubstr("Usage: /check"));
}

}  // namespace
}  // namespace kestrova::test
