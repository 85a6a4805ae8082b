// kestrova-check over generated lines, and the program itself: whenever the
// checker says a line spawns, it spawns; whenever it says the line does nothing,
// nothing is spawned or created.
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "support/check_fixture.h"
#include "support/child_process.h"
#include "support/server_dir.h"

namespace kestrova::test {
namespace {

using ::testing::HasSubstr;

// Lines in the three grammars, plain or targeted, from word pools that hold every
// kind of word the grammars tell apart, with words dropped, added and spaced out.
class LineMaker {
public:
    explicit LineMaker(std::uint32_t seed) : random_(seed) {}

    struct Line {
        std::string text;
        std::string as;  // the issuing player, "server" for none
        bool overRcon = false;
    };

    Line Next()
    {
        static const std::vector<std::string> kPlain = {"KV.SpawnDino", "KV.SpawnDinoStats", "KV.SpawnItem"};
        const std::size_t grammar = Pick(3);
        std::vector<std::string> words = {kPlain[grammar]};
        switch (grammar) {
        case 0:
            Append(words, {Of(kCreatures), Of(kItemPaths), Of(kNumbers), Of(kNumbers), Of(kNumbers), Of(kFlags),
                           Of(kFlags), Of(kFlags), Of(kColours), Of(kSexes)});
            break;
        case 1:
            Append(words, {Of(kCreatures), Of(kItemPaths), Of(kNumbers), Of(kNumbers), Of(kFlags), Of(kFlags),
                           Of(kFlags), Of(kColours), Of(kSexes)});
            for (int i = 0; i < 7; ++i)
                words.push_back(Of(kStatWords));
            break;
        default:
            Append(words, {Of(kItems), Of(kItems), Of(kNumbers), Of(kFlags), Of(kCounts)});
            for (int i = 0; i < 6; ++i)
                words.push_back(Of(kStatWords));
            break;
        }
        // Mostly whole lines, some cut short, some with a word lost or a bad one in.
        const std::size_t roll = Pick(10);
        if (roll == 0)
            words.resize(1 + Pick(words.size()));
        else if (roll == 1)
            words.erase(words.begin() + static_cast<std::ptrdiff_t>(1 + Pick(words.size() - 1)));
        else if (roll == 2)
            words[1 + Pick(words.size() - 1)] = Of(kBadNumbers);
        else if (roll < 8)
            words.resize(std::max<std::size_t>(words.size() - Pick(8), grammar == 2 ? 6 : 9));

        Line line;
        if (Pick(3) == 0) {
            words[0] += "For";
            words.insert(words.begin() + 1, Of(kIds));
            line.overRcon = Pick(2) == 0;
        }
        line.as = line.overRcon ? "server" : Of(kIssuers);
        for (std::size_t i = 0; i < words.size(); ++i)
            line.text += (i == 0 ? "" : Pick(8) == 0 ? "  " : " ") + words[i];
        if (Pick(8) == 0)
            line.text += " ";
        return line;
    }

private:
    // mt19937's outputs are fixed by the standard; the library's distributions are not.
    std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(random_() % n); }
    const std::string& Of(const std::vector<std::string>& pool) { return pool[Pick(pool.size())]; }
    static void Append(std::vector<std::string>& words, std::initializer_list<std::string> more)
    {
        words.insert(words.end(), more);
    }

    inline static const std::vector<std::string> kCreatures = {
        kRaptor,     kRaptor, kDodo,
        kJellyfish,  kGolem,  std::string("\"") + kRaptor + "\"",
        kStorageBox, kHelmet, "Blueprint'/Game/Nothing.Nothing'"};
    inline static const std::vector<std::string> kItemPaths = {
        "\"\"", "\"\"", kHelmet, "x", std::string("\"") + kSword + "\"", "\"\"\"\""};
    inline static const std::vector<std::string> kItems = {
        kHelmet, kHelmet, kSword, kStone, kRaptor, "x", std::string("\"") + kHelmet + "\""};
    // Numbers that convert, and words that do not: numbers that fail the numeric
    // test or pass it and then fail their conversion.
    inline static const std::vector<std::string> kNumbers = {"0",  "1",  "2",   "10", "150", "-1", "1.9",
                                                             "01", "+1", "0.5", "-0", "1.0", "300"};
    inline static const std::vector<std::string> kBadNumbers = {
        ".5", "-", "+", ".", "99999999999", "abc", "1e3", "1.2.3", "0x1", "\xC2\xB2", ""};
    inline static const std::vector<std::string> kFlags = {"0", "1", "1", "2", "1.9", "01", "-1", "0.9"};
    inline static const std::vector<std::string> kColours = {"0",     "5,x,7", ",",      "-3,,2.9", "1,2,3,4,5,6,7",
                                                             "1,+,3", "12",    "0,0,12", "a",       "99999999999"};
    inline static const std::vector<std::string> kSexes = {"R", "F", "f", "r", "M"};
    inline static const std::vector<std::string> kStatWords = {"10",    "10",    "x",           "5-x",   "-5",    "300",
                                                               "1-100", "100-1", "5--7",        "-3-5",  "+",     "3.5",
                                                               "0",     "1-2-3", "99999999999", "5---7", "20-30", "."};
    inline static const std::vector<std::string> kCounts = {"0", "1", "1", "2", "3", "-3", "+", "abc", "1.5"};
    inline static const std::vector<std::string> kIds = {"1001", "1002", "1003", "1004", "1005", "4242", "01001"};
    inline static const std::vector<std::string> kIssuers = {"1001", "1001", "1002", "1003", "1004", "1005", "server"};

    std::mt19937 random_;
};

class CheckProperty : public CheckTest {};

TEST_F(CheckProperty, GeneratedLinesDoWhatTheCheckerSays)
{
    LineMaker maker(20240611);
    std::map<check::Verdict, int> verdicts;
    std::map<std::string, int> rules;
    for (int n = 0; n < 3000; ++n) {
        const LineMaker::Line line = maker.Next();
        const Run run = line.overRcon ? BothOverRcon(line.text) : Both(line.text, line.as);
        ExpectAgreement(run);
        ++verdicts[run.report.verdict];
        if (run.report.stop)
            ++rules[RuleName(run.report.stop->rule)];
        if (HasFailure())
            break;
    }
    // The lines reach every verdict and every rule that the words can give.
    EXPECT_GT(verdicts[check::Verdict::Spawns], 100);
    EXPECT_GT(verdicts[check::Verdict::DoesNothing], 100);
    EXPECT_GT(verdicts[check::Verdict::SpawnsThenStops], 5);
    for (const char* rule : {"too-few-words", "not-a-number", "does-not-convert", "no-player", "no-such-player",
                             "no-inventory", "count-below-one", "no-class", "not-a-creature", "not-an-item"})
        EXPECT_GT(rules[rule], 0) << rule;
}

// The program: arguments or standard input, text or JSON, and an exit status that
// a script can act on.
std::string CheckProgram()
{
    std::filesystem::path path(KESTROVA_SIM_PATH);
    return path.replace_filename("kestrova-check" + path.extension().string()).string();
}

class CheckProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = MakeTempDir("kestrova-check");
        std::ofstream(dir_ / "world.json") << sim::DefaultWorldText();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string World() const { return (dir_ / "world.json").string(); }

    static std::vector<nlohmann::json> JsonLines(const std::string& output)
    {
        std::vector<nlohmann::json> lines;
        std::istringstream in(output);
        for (std::string line; std::getline(in, line);)
            lines.push_back(nlohmann::json::parse(line));
        return lines;
    }

    std::filesystem::path dir_;
};

TEST_F(CheckProgramTest, ArgumentsAreLinesAndTheStatusSaysWhetherAllSpawn)
{
    const std::string good = std::string("KV.SpawnDinoFor 1002 ") + kRaptor + " \"\" 0 10 0 0 0 0 0";
    const ProgramRun spawns = RunProgram(CheckProgram(), {"--world", World(), "--json", good});
    ASSERT_EQ(spawns.status, 0) << spawns.output;
    const std::vector<nlohmann::json> one = JsonLines(spawns.output);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0]["verdict"], "spawns");
    EXPECT_EQ(one[0]["target"]["name"], "Bob");
    EXPECT_EQ(one[0]["rcon"]["reply"], "Success! Sent to the command processor.");
    EXPECT_EQ(one[0]["spawn"]["level"], 10);
    EXPECT_EQ(one[0]["words"].size(), 11u);

    const ProgramRun mixed = RunProgram(CheckProgram(), {"--json", good, "KV.SpawnItem a b q 0 1", "Nonsense"});
    EXPECT_EQ(mixed.status, 1);
    const std::vector<nlohmann::json> three = JsonLines(mixed.output);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0]["unchecked"].size(), 2u) << "the reference and the player, without a world";
    EXPECT_EQ(three[1]["stop"]["rule"], "not-a-number");
    EXPECT_EQ(three[1]["stop"]["word"], 3);
    EXPECT_EQ(three[2]["verdict"], "not-a-command");
}

TEST_F(CheckProgramTest, StandardInputGivesOneLineEach)
{
    ChildProcess child(CheckProgram(), {"--world", World(), "--as", "1004"});
    child.WriteInput(std::string("KV.SpawnItem ") + kHelmet + " x 0 0 1\r\n\n   \nKestrova.Reload\n");
    child.CloseInput();
    ASSERT_TRUE(child.WaitForEndOfOutput());
    EXPECT_EQ(child.Wait(), 1);
    const std::string output = child.Output();
    EXPECT_THAT(output, HasSubstr("why: Dave (1004) has no inventory, so the command does nothing"));
    EXPECT_THAT(output, HasSubstr("verdict: reloads the configuration"));
}

TEST_F(CheckProgramTest, UsageAndWorldErrorsEndWithStatusTwo)
{
    EXPECT_EQ(RunProgram(CheckProgram(), {"--bogus"}).status, 2);
    EXPECT_EQ(RunProgram(CheckProgram(), {"--world"}).status, 2);
    const ProgramRun unknown = RunProgram(CheckProgram(), {"--world", World(), "--as", "4242", "KV.SpawnItem"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_THAT(unknown.output, HasSubstr("no player has this id"));
    std::ofstream(dir_ / "broken.json") << "{ \"players\": 5 }";
    const ProgramRun broken = RunProgram(CheckProgram(), {"--world", (dir_ / "broken.json").string(), "x"});
    EXPECT_EQ(broken.status, 2);
    EXPECT_THAT(broken.output, HasSubstr("must be an array"));
}

}  // namespace
}  // namespace kestrova::test
