// Every command the plugin offers, in the order it registers them.
#pragma once

#include <array>

#include "AsaApi.h"

namespace kestrova {

enum class Channel { Console, Rcon };

using ConsoleHandler = void (*)(APlayerController*, FString*, bool);
using RconHandler = void (*)(RCONClientConnection*, RCONPacket*, UWorld*);

struct CommandRow {
    Channel channel;
    const char* name;
    ConsoleHandler console;  // for Channel::Console
    RconHandler rcon;        // for Channel::Rcon
};

// Registers every row, in table order, with the host's command registry.
void RegisterCommands();

// Registers KV.Order while config.json names a delivery ledger, and removes it when none is named.
void SyncOrderCommands();

// Removes every registration, in table order.
void UnregisterCommands();

}  // namespace kestrova
