// Kestrova.Reload: re-reads config.json while the server runs.
#pragma once

#include "AsaApi.h"

namespace kestrova {

void ConsoleReload(APlayerController* player, FString* line, bool consoleFlag);
void RconReload(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

}  // namespace kestrova
