// KV.Order <order-id> <targeted spawn line>: a paid delivery, run at most once per
// order id, recorded durably in the delivery ledger. Registered only while
// config.json names a ledger; while that one is not open, or not yet read back,
// it answers an error and runs nothing. Its reply is always one line of JSON.
#pragma once

#include <string>

#include "AsaApi.h"
#include "plugin/delivery_ledger.h"

namespace kestrova {

inline constexpr char kOrderCommand[] = "KV.Order";

// Runs the order `line` asks for and gives the JSON reply.
std::string RunOrder(const Issuer& issuer, const FString& line);

void OrderConsole(APlayerController* player, FString* line, bool consoleFlag);
void OrderRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

}  // namespace kestrova
