// A line checked by kestrova-check's code and then run in the stand-in, and
// whether the two agree: what the checker says a line does is what it does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/check_line.h"
#include "framework/journal.h"
#include "support/creature_fixture.h"

namespace kestrova::test {

class CheckTest : public CreatureTest {
protected:
    // Every run says what it did: RCON requests get JSON replies, and on the
    // console the issuing player is told when a line does not simply deliver.
    void SetUp() override;

    struct Run {
        check::Report report;
        std::vector<sim::JournalEntry> journal;  // the game members the line called
        std::size_t tamed = 0;                   // creatures tamed
        std::vector<sim::Item*> items;           // items added to the players' inventories
        bool overRcon = false;
        std::vector<sim::RconReply> replies;
        std::vector<std::string> told;  // what the issuing player was told in red
    };

    // Checks `line` as issued by player `as` ("server": no player), then runs it so.
    Run Both(const std::string& line, std::string_view as = "1001");
    // Checks `line`, then sends it as an RCON request.
    Run BothOverRcon(const std::string& line);

    // Fails the test where the verdict and the run disagree: a line said to spawn
    // spawns, one said to do nothing spawns nothing (and, when its words stop it,
    // calls nothing in the game), the command's own outcome is the one said (its
    // result, rule, word and message), and an RCON reply is the one said.
    void ExpectAgreement(const Run& run);

    // The creature a line kept in the world is as the report's "spawn" describes it.
    void ExpectCreatureAsReported(const check::Report& report, const sim::Dino& creature);
    // The items a line made are as the report's "spawn" describes them.
    void ExpectItemsAsReported(const check::Report& report, const std::vector<sim::Item*>& items);

    // Both, then ExpectAgreement; the run for further checks.
    Run Agree(const std::string& line, std::string_view as = "1001");

private:
    void ExpectOutcomeAsReported(const Run& run);
    Run RunLine(const std::string& line, std::string_view as, bool overRcon);
};

bool IsItemCommand(const check::Report& report);

}  // namespace kestrova::test
