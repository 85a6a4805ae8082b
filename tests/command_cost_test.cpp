// What a spawn command costs the game: the member resolutions it makes (every one
// by name, the allocator's included; the game's own code resolves nothing) and
// the blocks it has the game allocate.
// The stand-in counts both exactly, the same on every run, so these are limits on
// the plugin's work, not timings; bench/ shows the same figures with the time.
#include <cstdint>
#include <string>

#include "plugin/spawn_commands.h"
#include "framework/members.h"
#include "game/rcon_connection.h"
#include "plugin/targeted_forms.h"
#include "rcon/protocol.h"
#include "support/creature_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::SizeIs;

struct Cost {
    std::uint64_t resolutions = 0;
    std::uint64_t allocations = 0;
};

using ConsoleCallback = void (*)(APlayerController*, FString*, bool);

const std::string kRaptorToCryopod = std::string(kRaptor) + " " + kHelmet + " 10 150 0.5 1 0 0 1,2,3,4,5,6 F";

class CommandCost : public CreatureTest {
protected:
    // Counts `run` alone.
    template <typename Run>
    Cost Counted(Run run)
    {
        sim::ResetResolutionCount();
        const std::uint64_t before = Memory().allocations;
        run();
        return {sim::ResolutionCount(), Memory().allocations - before};
    }

    // The console callback `command` on `line`, issued by Alice.
    Cost Console(ConsoleCallback command, const std::string& line)
    {
        FString text(sim::WideView(sim::FromUtf8(line)));
        APlayerController* alice = ConsoleController("1001");
        return Counted([&] { command(alice, &text, true); });
    }

    // KV.SpawnDinoFor's RCON callback on `line`.
    Cost Rcon(const std::string& line)
    {
        RCONPacket packet;
        packet.Id = 1;
        packet.Type = sim::rcon::kExecCommand;
        packet.Body = FString(sim::WideView(sim::FromUtf8(line)));
        auto* connection = sim::Handle<RCONClientConnection>(&Game().MakeRconConnection());
        return Counted([&] { SpawnDinoForRcon(connection, &packet, nullptr); });
    }
};

TEST_F(CommandCost, SpawnDinoIntoACryopodStaysWithinItsBudget)
{
    const Cost cost = Console(&SpawnDinoCommand, "KV.SpawnDino " + kRaptorToCryopod);

    ASSERT_THAT(InventoryOf("1001"), SizeIs(1)) << "the run must get as far as the cryopod";
    EXPECT_LE(cost.resolutions, 150u);
    EXPECT_LE(cost.allocations, 55u);
}

TEST_F(CommandCost, TheTargetedFormsAddLittleToThePlainCommand)
{
    const Cost plain = Console(&SpawnDinoCommand, "KV.SpawnDino " + kRaptorToCryopod);
    const Cost console = Console(&SpawnDinoForConsole, "KV.SpawnDinoFor 1001 " + kRaptorToCryopod);
    const Cost rcon = Rcon("KV.SpawnDinoFor 1001 " + kRaptorToCryopod);

    ASSERT_THAT(InventoryOf("1001"), SizeIs(3));
    // The player id and the rebuilt line are the forms' only game strings, and
    // over RCON the reply.
    EXPECT_LE(console.resolutions, plain.resolutions + 20);
    EXPECT_LE(rcon.resolutions, plain.resolutions + 20);
    EXPECT_LE(console.allocations, plain.allocations + 2);
    EXPECT_LE(rcon.allocations, plain.allocations + 3);
}

// The commands only read their words: a line that stops at its words has the
// game do nothing at all, not even allocate.
TEST_F(CommandCost, ALineThatStopsAtItsWordsCostsTheGameNothing)
{
    // Word 3 is a number in every one of the three grammars.
    const std::string words = std::string(" ") + kRaptor + " \"\" three 2 3 4 5 6 1,2,3 F 10 20 30 40 50 60";
    for (const auto& [command, name] : {std::pair<ConsoleCallback, std::string>{&SpawnDinoCommand, "KV.SpawnDino"},
                                        {&SpawnDinoStatsCommand, "KV.SpawnDinoStats"},
                                        {&SpawnItemCommand, "KV.SpawnItem"}}) {
        SCOPED_TRACE(name);
        const Cost cost = Console(command, name + words);
        EXPECT_EQ(cost.resolutions, 0u);
        EXPECT_EQ(cost.allocations, 0u);
    }
}

}  // namespace
}  // namespace kestrova::test
