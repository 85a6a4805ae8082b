// KV.Order <order-id> <targeted spawn line>: a paid delivery, run at most once per
// order id, recorded durably in the delivery ledger; and KV.OrderStatus
// <order-id>, what the ledger knows of one, running nothing. Registered only while
// config.json names a ledger; while that one is not open, or not yet read back,
// they answer an error and run nothing. Their replies are always one line of JSON.
#pragma once

#include <string>

#include "AsaApi.h"
#include "plugin/delivery_ledger.h"

namespace kestrova {

inline constexpr char kOrderCommand[] = "KV.Order";
inline constexpr char kOrderStatusCommand[] = "KV.OrderStatus";

// Runs the order `line` asks for and gives the JSON reply.
std::string RunOrder(const Issuer& issuer, const FString& line);

// The status of the order `line` names, as the JSON reply.
std::string OrderStatus(const Issuer& issuer, const FString& line);

void OrderConsole(APlayerController* player, FString* line, bool consoleFlag);
void OrderRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);
void OrderStatusConsole(APlayerController* player, FString* line, bool consoleFlag);
void OrderStatusRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* world);

}  // namespace kestrova
