// With "ConsoleFeedback": true, a console spawn command that does not simply
// deliver tells the issuing player why, in red and in plain words; without it, the
// console commands stay silent.
#include <fmt/format.h>

#include "support/catalogue_references.h"
#include "support/creature_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kRaptorWord = kRaptor;
const std::string kHelmetWord = kHelmet;

class ConsoleFeedback : public CreatureTest {
protected:
    // What `as` was told while issuing `line`, as "(r,g,b) text" for each message.
    std::vector<std::string> Told(const std::string& line, std::string_view as = "1001")
    {
        const std::size_t before = Messages().size();
        RunConsoleAs(as, line);
        std::vector<std::string> told;
        for (std::size_t i = before; i < Messages().size(); ++i) {
            const sim::PlayerMessage& message = Messages()[i];
            EXPECT_EQ(message.player, as == "server" ? nullptr : Controller(as));
            told.push_back(fmt::format("({},{},{}) {}", message.r, message.g, message.b, sim::ToUtf8(message.text)));
        }
        return told;
    }
};

TEST_F(ConsoleFeedback, TellsTheIssuingPlayerWhyInRed)
{
    UseConfig(R"({"ConsoleFeedback": true})");
    EXPECT_THAT(Told("KV.SpawnDino " + kRaptorWord + " \"\" 0 abc 0 0 0 0 0"),
                ElementsAre("(1,0,0) KV.SpawnDino did nothing: word 4 \"abc\" is not a number"));
    EXPECT_THAT(Told("KV.SpawnDino " + kRaptorWord + " \"\" 0 150"),
                ElementsAre("(1,0,0) KV.SpawnDino did nothing: it needs at least 10 words, the line has 5"));
    EXPECT_THAT(Told("KV.SpawnItem " + kHelmetWord + " x 0 + 1"),
                ElementsAre("(1,0,0) KV.SpawnItem did nothing: word 4 \"+\" does not convert (invalid stoi argument)"));
    EXPECT_THAT(Told("KV.SpawnDinoFor 1009 " + kRaptorWord + " \"\" 0 10 0 0 0 0 0"),
                ElementsAre("(1,0,0) KV.SpawnDinoFor did nothing: no player has the id \"1009\""));
    EXPECT_THAT(Told("KV.SpawnDinoFor 1005 " + kRaptorWord + " \"\" 0 10 0 0 0 0 0"),
                ElementsAre("(1,0,0) KV.SpawnDinoFor kept the creature in the world: the player's inventory is full"))
        << "the issuer is told, not the target";
    EXPECT_THAT(Told("KV.SpawnItemFor 1003 " + kHelmetWord + " x 0 0 3"),
                ElementsAre("(1,0,0) KV.SpawnItemFor made 2 of 3 items, then stopped: the player's inventory is full"));
}

TEST_F(ConsoleFeedback, DeliveriesAndTheServerConsoleStayQuiet)
{
    UseConfig(R"({"ConsoleFeedback": true})");
    EXPECT_THAT(Told("KV.SpawnDino " + kRaptorWord + " \"\" 0 150 0 0 0 0 0"), IsEmpty());
    EXPECT_THAT(Told("KV.SpawnItem " + kHelmetWord + " x 0 0 1"), IsEmpty());
    EXPECT_THAT(Told("KV.SpawnDino " + kRaptorWord + " \"\" 0 abc 0 0 0 0 0", "server"), IsEmpty());
}

TEST_F(ConsoleFeedback, IsOffUnlessTurnedOnAndAReloadSwitchesIt)
{
    const std::string bad = "KV.SpawnDino " + kRaptorWord + " \"\" 0 abc 0 0 0 0 0";
    EXPECT_THAT(Told(bad), IsEmpty());
    UseConfig(R"({"ConsoleFeedback": "yes"})");
    EXPECT_THAT(Told(bad), IsEmpty());
    EXPECT_THAT(LogLines(), ::testing::Contains(::testing::HasSubstr("type must be boolean, but is string")));
    UseConfig(R"({"ConsoleFeedback": true})");
    EXPECT_THAT(Told(bad), ::testing::SizeIs(1));
}

}  // namespace
}  // namespace kestrova::test
