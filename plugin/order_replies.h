// What the order commands (KV.Order, KV.OrderStatus, KV.OrderSettle) share: their
// replies, one line of JSON each, whatever RconReplies says, with the fields in
// byte order (command, error, order, outcome, repeat, settlement, status, target,
// time, v); the checks every order request makes first; and their callbacks,
// from which no exception escapes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "AsaApi.h"
#include "host/json_text.h"
#include "host/words.h"
#include "ledger/ledger.h"
#include "plugin/delivery_ledger.h"

namespace kestrova {

inline constexpr int kOrderIdWord = 1;

// A reply with its "command"; the caller goes on from "error".
JsonText ReplyUpToError(const char* command);

// A refusal: nothing was run or written.
std::string Refused(const char* command, const std::optional<std::string>& order, std::string_view error);

// Why an order request cannot use the ledger now; nothing when it is open and read back.
std::optional<std::string> LedgerUnusable(Ledger* ledger);

// The id word of `words` when it is a valid order id, or the refusal of `command`
// (`usage` when the line has fewer than `wordsNeeded` words).
struct OrderId {
    std::string id;
    std::string refusal;  // empty: the id is valid
};
OrderId ReadOrderId(const char* command, const CommandWords& words, int wordsNeeded, std::string_view usage);

// "the <what> could not be made durable in the ledger (<why>)"
std::string Unrecorded(std::string_view what, const std::error_code& error);

// A person's decision on an interrupted order, as a "settled" line records it.
struct Settlement {
    std::string decision;  // "delivered" or "not-delivered"
    std::string fromJson;  // who settled it, as IssuerJson gives it
    std::optional<std::string> note;
    std::string time;
};

// Writes "settlement": {"decision", "from", "note", "time"}; null when the
// settlement recorded could not be read back.
void WriteSettlement(JsonText& reply, const std::optional<Settlement>& settlement);

// What the ledger knows of a known order, read back from its lines.
struct KnownLines {
    std::optional<Ledger::Recorded> outcome;  // when it has an outcome
    std::optional<Settlement> settlement;     // when it is settled
};

// Writes what the ledger recorded of a known order: "order" and "outcome" (an
// interrupted order, settled or not, has the result "interrupted"), after an
// "error" when a recorded line cannot be read back. The caller writes the
// settlement, which comes later in the reply.
KnownLines WriteKnown(JsonText& reply, const Ledger& ledger, const std::string& id, const KnownOrder& known);

// The reply of `answer` to a request on the console (to the player who typed
// it) or over RCON; a refusal when it raised (and what escapes that, the
// command table contains).
using OrderAnswer = std::string (*)(const Issuer& issuer, const FString& line);
void AnswerOnConsole(const char* command, OrderAnswer answer, APlayerController* player, const FString& line);
void AnswerOverRcon(const char* command, OrderAnswer answer, RCONClientConnection* connection,
                    const RCONPacket& packet);

}  // namespace kestrova
