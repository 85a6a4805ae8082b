#include "console_commands.h"

namespace sim {

std::span<const StandInCommand> StandInCommands()
{
    static constexpr StandInCommand kCommands[] = {
        {"/help", "/help", "this list", &HelpCommand},
        {"/as", "/as ID | /as server", "issue the following lines as that player, or with no player", &AsCommand},
        {"/players", "/players", "the world's players (* marks the current one)", &PlayersCommand},
        {"/commands", "/commands", "the plugin's registrations, in the order made", &CommandsCommand},
        {"/journal", "/journal [N]", "the last N things the plugin did, in order (all without N)", &JournalCommand},
        {"/log", "/log", "the lines logged on the host's sinks", &LogCommand},
        {"/memory", "/memory", "game-allocated blocks and bytes still live", &MemoryCommand},
        {"/dinos", "/dinos", "the creatures in the world, each whole with its inventory", &DinosCommand},
        {"/inventory", "/inventory [ID]", "a player's items, with the creature each cryopod holds", &InventoryCommand},
        {"/item", "/item ID N", "item N of a player (or creature) whole, every list of its record", &ItemCommand},
        {"/classes", "/classes", "the creature and item classes, with the blueprint reference to type", &ClassesCommand},
        {"/check", "/check [--rcon] LINE", "how the plugin would read LINE, and what it would do, without running it", &CheckCommand},
        {"/ledger", "/ledger [N]", "the last N lines (default 20) of the plugin's delivery ledger, decoded", &LedgerCommand},
        {"/rcon", "/rcon LINE", "send LINE as an RCON request and show the reply", &RconCommand},
        {"/quit", "/quit", "leave", &QuitCommand},
    };
    return kCommands;
}

}  // namespace sim
