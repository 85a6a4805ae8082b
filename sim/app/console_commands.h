// The stand-in's own console commands, in the order /help lists them. A command
// group lives in its own file and adds its rows to the table in
// console_commands.cpp.
#pragma once

#include <span>
#include <string_view>

namespace sim {

class Console;

struct StandInCommand {
    std::string_view name;   // "/journal"
    std::string_view usage;  // "/journal [N]"
    std::string_view help;   // one line
    void (*run)(Console& console, std::string_view args);
};

std::span<const StandInCommand> StandInCommands();

// The basic commands (console_basics.cpp).
void AsCommand(Console& console, std::string_view args);
void HelpCommand(Console& console, std::string_view args);
void PlayersCommand(Console& console, std::string_view args);
void JournalCommand(Console& console, std::string_view args);
void CommandsCommand(Console& console, std::string_view args);
void LogCommand(Console& console, std::string_view args);
void MemoryCommand(Console& console, std::string_view args);
void RconCommand(Console& console, std::string_view args);
void QuitCommand(Console& console, std::string_view args);

// The world's creatures, inventories and classes (console_creatures.cpp,
// console_inventory.cpp, console_classes.cpp).
void DinosCommand(Console& console, std::string_view args);
void InventoryCommand(Console& console, std::string_view args);
void ItemCommand(Console& console, std::string_view args);
void ClassesCommand(Console& console, std::string_view args);
void CheckCommand(Console& console, std::string_view args);  // console_check.cpp
void LedgerCommand(Console& console, std::string_view args);  // console_ledger.cpp

}  // namespace sim
