#include "plugin/command_table.h"

#include "plugin/containment.h"
#include "plugin/delivery_ledger.h"
#include "plugin/order_command.h"
#include "plugin/order_settle_command.h"
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

// Offered only while config.json names a delivery ledger: when it cannot be
// opened, KV.Order answers why.
constexpr std::array kOrderCommands = {
    Console(kOrderCommand, &OrderConsole),
    Rcon(kOrderCommand, &OrderRcon),
    Console(kOrderStatusCommand, &OrderStatusConsole),
    Rcon(kOrderStatusCommand, &OrderStatusRcon),
    Console(kOrderSettleCommand, &OrderSettleConsole),
    Rcon(kOrderSettleCommand, &OrderSettleRcon),
};

bool& OrdersRegistered()
{
    static bool registered = false;
    return registered;
}

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

template <std::size_t Count>
void Register(const std::array<CommandRow, Count>& rows)
{
    for (const CommandRow& row : rows) {
        const FString name(row.name);
        // The registry is fetched afresh for every registration.
        if (row.channel == Channel::Console)
            AsaApi::GetCommands().RegisterConsoleCommand(name, Contained(row.console));
        else
            AsaApi::GetCommands().RegisterRconCommand(name, Contained(row.rcon));
    }
}

template <std::size_t Count>
void Unregister(const std::array<CommandRow, Count>& rows)
{
    for (const CommandRow& row : rows) {
        const FString name(row.name);
        if (row.channel == Channel::Console)
            AsaApi::GetCommands().UnregisterConsoleCommand(name);
        else
            AsaApi::GetCommands().UnregisterRconCommand(name);
    }
}

}  // namespace

void RegisterCommands() { Register(kCommands); }

void SyncOrderCommands()
{
    const bool wanted = DeliveryLedgerNamed();
    if (wanted == OrdersRegistered())
        return;
    if (wanted)
        Register(kOrderCommands);
    else
        Unregister(kOrderCommands);
    OrdersRegistered() = wanted;
}

void UnregisterCommands()
{
    Unregister(kCommands);
    if (OrdersRegistered())
        Unregister(kOrderCommands);
    OrdersRegistered() = false;
}

}  // namespace kestrova
