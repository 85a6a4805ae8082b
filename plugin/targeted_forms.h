// KV.SpawnDinoFor, KV.SpawnDinoStatsFor and KV.SpawnItemFor: a spawn command for
// another player, named by player id, on the console and over RCON.
#pragma once

#include "AsaApi.h"

namespace kestrova {

void SpawnDinoForConsole(APlayerController* player, FString* line, bool consoleFlag);
void SpawnDinoStatsForConsole(APlayerController* player, FString* line, bool consoleFlag);
void SpawnItemForConsole(APlayerController* player, FString* line, bool consoleFlag);

void SpawnDinoForRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);
void SpawnDinoStatsForRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);
void SpawnItemForRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

}  // namespace kestrova
