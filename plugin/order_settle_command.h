// KV.OrderSettle <order-id> delivered|not-delivered [note...]: a person's decision
// on an interrupted order (the server died between its start and its outcome),
// made durable in the ledger as a "settled" line before the reply. After
// "delivered" the order answers as a repeat with the settlement and never runs;
// after "not-delivered" the next KV.Order with its id runs it, as a first time.
// Registered with KV.Order; only an interrupted order can be settled, once.
#pragma once

#include <string>

#include "AsaApi.h"
#include "plugin/delivery_ledger.h"

namespace kestrova {

inline constexpr char kOrderSettleCommand[] = "KV.OrderSettle";

// Settles the order `line` names and gives the JSON reply.
std::string SettleOrder(const Issuer& issuer, const FString& line);

void OrderSettleConsole(APlayerController* player, FString* line, bool consoleFlag);
void OrderSettleRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

}  // namespace kestrova
