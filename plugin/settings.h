// The settings an admin opts into: how the plugin answers whoever issued a spawn
// command, read afresh at each use so a reload switches them live, and the
// delivery ledger, read at load and at each reload.
#pragma once

#include <cstdint>
#include <string>

namespace kestrova {

enum class RconReplies {
    Text,  // the fixed reply texts
    Json,  // one line of JSON saying what the command did
};

// "RconReplies": "text" (the default) or "json".
RconReplies RconRepliesSetting() noexcept;

// "ConsoleFeedback": false (the default) or true: a console spawn command that
// does not simply deliver tells the issuing player why.
bool ConsoleFeedbackSetting() noexcept;

struct DeliveryLedgerSetting {
    std::string name;           // "DeliveryLedger": empty (the default) means no ledger
    std::uint64_t maxBytes = 0;  // "DeliveryLedgerMaxMB", 64 by default, at least 1
    std::uint32_t files = 0;     // "DeliveryLedgerFiles", 4 by default, at least 1

    bool operator==(const DeliveryLedgerSetting&) const = default;
};

DeliveryLedgerSetting DeliveryLedgerSettings() noexcept;

}  // namespace kestrova
