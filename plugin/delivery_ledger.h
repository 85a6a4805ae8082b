// The delivery ledger as the commands use it: open while config.json names one,
// one line for every run of a spawn command, and the order lines of KV.Order.
// With no ledger named, nothing here touches a file, the game or the log.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "AsaApi.h"
#include "host/outcome.h"
#include "plugin/json_replies.h"

namespace kestrova {

class JsonText;
class Ledger;

// Opens the ledger config.json names, or closes the one open when it names none
// or another; a ledger that cannot be opened is logged and left closed (the
// commands work without it, KV.Order answers why). Called at load and after
// each reload. A ledger opened starts reading its files back on its own thread
// (at load on Windows, where no thread may start under the loader's lock: at the
// first command that uses it).
enum class LedgerSync { AtLoad, AtReload };
void SyncDeliveryLedger(LedgerSync when) noexcept;

// Whether config.json names a ledger, open or not.
bool DeliveryLedgerNamed() noexcept;

// Why no ledger is open: "no delivery ledger is open", or why the named one
// could not be opened.
std::string DeliveryLedgerClosedBecause();

// Writes out what is queued and closes the ledger (at unload).
void CloseDeliveryLedger() noexcept;

// The open ledger; null when there is none.
Ledger* DeliveryLedger() noexcept;

// Who issued a command: a player on the console (null: the server's console), or
// an RCON client.
struct Issuer {
    APlayerController* player = nullptr;
    RCONClientConnection* connection = nullptr;
};

// {"console":{"name":...,"netId":...}} or {"console":null} or {"rcon":"address:port"},
// the RCON client as the game knows it, as JSON text; a part the game cannot tell
// (it lacks the member) is null: {"rcon":null}.
std::string IssuerJson(const Issuer& issuer);

// A ledger line's last fields, its UTC time and its version, and the end of its
// object: each line's keys are in byte order, and these come last.
void EndLedgerLine(JsonText& line, std::chrono::system_clock::time_point time = std::chrono::system_clock::now());

// With a ledger open, queues the line of one run of a spawn command.
void RecordRun(const Issuer& issuer, std::string_view received, std::string_view command,
               const std::optional<ReplyTarget>& target, const Outcome& outcome) noexcept;

}  // namespace kestrova
