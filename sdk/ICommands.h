// The host's command registry.
#pragma once

#include <functional>

#include "FString.h"
#include "GameClasses.h"
#include "RCONPacket.h"

// Issuing player's controller (may be null), the whole command line (name first),
// and the console flag.
using ConsoleCommandCallback = std::function<void(APlayerController*, FString*, bool)>;

using RconCommandCallback = std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>;

class ICommands {
public:
    virtual ~ICommands() = default;

    // The host keeps a copy of the callback and calls it, one command at a time, for
    // each line whose first word is `name`.
    virtual void RegisterConsoleCommand(const FString& name, const ConsoleCommandCallback& callback) = 0;
    virtual void RegisterRconCommand(const FString& name, const RconCommandCallback& callback) = 0;
    virtual bool UnregisterConsoleCommand(const FString& name) = 0;
    virtual bool UnregisterRconCommand(const FString& name) = 0;
};
