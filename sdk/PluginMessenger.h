// Shows text to a player on behalf of a plugin.
#pragma once

#include "FString.h"
#include "GameClasses.h"

class PluginMessenger {
public:
    virtual ~PluginMessenger() = default;
    virtual void SendPlayerMessage(AShooterPlayerController* player, float r, float g, float b, float a,
                                   const FString& text) = 0;
};
