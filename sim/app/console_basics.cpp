// The stand-in's basic console commands.
#include <algorithm>
#include <charconv>

#include "console.h"
#include "console_commands.h"
#include "game/game.h"
#include "framework/journal.h"
#include "log_sinks.h"
#include "framework/memory.h"

namespace sim {

void HelpCommand(Console& console, std::string_view)
{
    std::ostream& out = console.Out();
    out << "Each line is a console command issued as the current player, now "
        << Console::Describe(console.Current()) << ".\n"
        << "  @ID LINE | @server LINE  issue one line as that player, or with no player\n";
    for (const StandInCommand& command : StandInCommands())
        out << fmt::format("  {:<24} {}\n", command.usage, command.help);
    std::string console_, rcon;
    for (const Registration& registration : GetRegistry().Registrations())
        (registration.rcon ? rcon : console_) += " " + registration.name;
    out << "Console commands:" << (console_.empty() ? " (none)" : console_) << "\n";
    out << "RCON commands:" << (rcon.empty() ? " (none)" : rcon) << "\n";
}

void AsCommand(Console& console, std::string_view args)
{
    PlayerController* player = nullptr;
    if (args.empty()) {
        console.Out() << "Usage: /as ID | /as server\n";
    } else if (!console.FindIssuer(args, player)) {
        console.Out() << "No player with id " << args << "\n";
    } else {
        console.SetCurrent(player);
        console.Out() << "Now acting as " << Console::Describe(player) << ".\n";
    }
}

void PlayersCommand(Console& console, std::string_view)
{
    const auto& players = console.GetGame().Players();
    if (players.empty())
        console.Out() << "No players.\n";
    std::size_t idWidth = 2, nameWidth = 4;
    for (const PlayerController* player : players) {
        idWidth = std::max(idWidth, ToUtf8(player->id).size());
        nameWidth = std::max(nameWidth, ToUtf8(player->name).size());
    }
    for (const PlayerController* player : players) {
        console.Out() << fmt::format("{} {:<{}}  {:<{}}  team {}{}\n", player == console.Current() ? '*' : ' ',
                                     ToUtf8(player->id), idWidth, ToUtf8(player->name), nameWidth,
                                     player->TargetingTeam,
                                     player->inventory == nullptr ? "  (no inventory)" : "");
    }
    if (console.Current() == nullptr)
        console.Out() << "* acting as the server (no player)\n";
}

void CommandsCommand(Console& console, std::string_view)
{
    const std::vector<Registration> registrations = GetRegistry().Registrations();
    if (registrations.empty()) {
        console.Out() << "No commands are registered.\n";
        return;
    }
    for (std::size_t i = 0; i < registrations.size(); ++i)
        console.Out() << fmt::format("{:>3}  {:<8} {}\n", i + 1, registrations[i].rcon ? "RCON" : "console",
                                     registrations[i].name);
}

void JournalCommand(Console& console, std::string_view args)
{
    Journal& journal = GetJournal();
    std::size_t count = static_cast<std::size_t>(-1);
    if (!args.empty()) {
        const auto [end, error] = std::from_chars(args.data(), args.data() + args.size(), count);
        if (error != std::errc() || end != args.data() + args.size()) {
            console.Out() << "Usage: /journal [N]\n";
            return;
        }
    }
    if (!journal.On()) {
        console.Out() << "The journal is off (kestrova-sim --journal N keeps the last N entries).\n";
        return;
    }
    const std::vector<JournalEntry> entries = journal.Entries(count);
    if (journal.Dropped() > 0)
        console.Out() << fmt::format("({} earlier entries dropped: the journal keeps the last {})\n", journal.Dropped(),
                                     journal.Capacity());
    if (journal.Recorded() == 0)
        console.Out() << "The journal is empty.\n";
    for (const JournalEntry& entry : entries)
        console.Out() << fmt::format("{:>5}  {}\n", entry.seq, entry.ToString());
}

void LogCommand(Console& console, std::string_view)
{
    const auto sink = FindCapturingSink();
    const std::vector<std::string> lines = sink ? sink->Lines() : std::vector<std::string>{};
    if (lines.empty())
        console.Out() << "Nothing has been logged.\n";
    for (const std::string& line : lines)
        console.Out() << line << "\n";
}

void MemoryCommand(Console& console, std::string_view)
{
    const MemoryStats stats = GetMemoryStats();
    console.Out() << fmt::format("Live game-allocated blocks: {} ({} bytes); allocations so far: {}\n",
                                 stats.liveBlocks, stats.liveBytes, stats.allocations);
}

void RconCommand(Console& console, std::string_view args)
{
    if (args.empty()) {
        console.Out() << "Usage: /rcon LINE\n";
        return;
    }
    if (!DispatchRconCommand(console.GetGame(), console.Rcon(), console.NextRconRequestId(), args))
        console.Out() << "Unknown RCON command: " << SplitFirstWord(args).first << "\n";
}

void QuitCommand(Console& console, std::string_view) { console.RequestQuit(); }

}  // namespace sim
