// The host's utilities for plugins.
#pragma once

#include <memory>

#include "FString.h"
#include "GameClasses.h"
#include "PluginMessenger.h"

class IApiUtils {
public:
    virtual ~IApiUtils() = default;

    // An actor of the running game, to reach the world from.
    virtual AActor* GetServerActor() const = 0;

    // The controller of the player with that id, or null.
    virtual AShooterPlayerController* FindPlayerById(const FString& id) const = 0;

    // A messenger for the plugin whose library file is at `pluginPath`; never empty.
    virtual std::shared_ptr<PluginMessenger> GetPluginMessenger(const FString& pluginPath) const = 0;
};
