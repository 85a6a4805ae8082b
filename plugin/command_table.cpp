#include "plugin/command_table.h"

#include "plugin/containment.h"
#include "plugin/reload.h"
#include "plugin/spawn_commands.h"
#include "plugin/targeted_forms.h"

namespace kestrova {
namespace {

constexpr CommandRow Console(const char* name, ConsoleHandler handler) { return {Channel::Console, name, handler, nullptr}; }
constexpr CommandRow Rcon(const char* name, RconHandler handler) { return {Channel::Rcon, name, nullptr, handler}; }

constexpr std::array kCommands = {
    Rcon("Kestrova.Reload", &RconReload),
    Console("Kestrova.Reload", &ConsoleReload),
    Console("KV.SpawnDino", &SpawnDinoCommand),
    Console("KV.SpawnDinoStats", &SpawnDinoStatsCommand),
    Console("KV.SpawnItem", &SpawnItemCommand),
    Console("KV.SpawnDinoFor", &SpawnDinoForConsole),
    Console("KV.SpawnDinoStatsFor", &SpawnDinoStatsForConsole),
    Console("KV.SpawnItemFor", &SpawnItemForConsole),
    Rcon("KV.SpawnItemFor", &SpawnItemForRcon),
    Rcon("KV.SpawnDinoFor", &SpawnDinoForRcon),
    Rcon("KV.SpawnDinoStatsFor", &SpawnDinoStatsForRcon),
};

// The host's callback for a row: the handler, with no exception let out into the host.
ConsoleCommandCallback Contained(ConsoleHandler handler)
{
    return [handler](APlayerController* player, FString* line, bool consoleFlag) {
        RunContained([&] { handler(player, line, consoleFlag); });
    };
}

RconCommandCallback Contained(RconHandler handler)
{
    return [handler](RCONClientConnection* connection, RCONPacket* packet, UWorld* world) {
        RunContained([&] { handler(connection, packet, world); });
    };
}

}  // namespace

void RegisterCommands()
{
    for (const CommandRow& row : kCommands) {
        const FString name(row.name);
        // The registry is fetched afresh for every registration.
        if (row.channel == Channel::Console)
            AsaApi::GetCommands().RegisterConsoleCommand(name, Contained(row.console));
        else
            AsaApi::GetCommands().RegisterRconCommand(name, Contained(row.rcon));
    }
}

void UnregisterCommands()
{
    for (const CommandRow& row : kCommands) {
        const FString name(row.name);
        if (row.channel == Channel::Console)
            AsaApi::GetCommands().UnregisterConsoleCommand(name);
        else
            AsaApi::GetCommands().UnregisterRconCommand(name);
    }
}

}  // namespace kestrova
