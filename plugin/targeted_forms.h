// KV.SpawnDinoFor, KV.SpawnDinoStatsFor and KV.SpawnItemFor: a spawn command for
// another player, named by player id, on the console and over RCON.
#pragma once

#include <optional>

#include "AsaApi.h"
#include "host/outcome.h"
#include "host/text.h"
#include "plugin/json_replies.h"

namespace kestrova {

void SpawnDinoForConsole(APlayerController* player, FString* line, bool consoleFlag);
void SpawnDinoStatsForConsole(APlayerController* player, FString* line, bool consoleFlag);
void SpawnItemForConsole(APlayerController* player, FString* line, bool consoleFlag);

void SpawnDinoForRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);
void SpawnDinoStatsForRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);
void SpawnItemForRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

struct TargetedForm;

// The targeted form a command name names, compared as the host compares command
// names (ignoring ASCII case); null for any other name.
const TargetedForm* FindTargetedForm(WideView name);
const char* NameOf(const TargetedForm& form);

struct TargetedRun {
    bool handedOn = false;              // a player had the id, and the plain command ran
    std::optional<ReplyTarget> target;  // unset when the line was too short to look one up
    Outcome outcome;                    // numbered as the targeted line was typed
};

// Runs a targeted line as its forwarders do: once `line` has enough words, the
// line without the id goes into `handedOn` (which may be `line` itself, as an
// RCON packet's body is rewritten) and the plain command runs on it. The target's
// name is asked of the game only when `named`.
TargetedRun RunTargeted(const TargetedForm& form, const FString& line, FString& handedOn, bool named);

}  // namespace kestrova
