// The plugin's configuration file and the reads of its keys.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace kestrova {

inline constexpr const char* kCryopodBPKey = "CryopodBP";
inline constexpr const char* kCryopodBPDefault =
    "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod'";
inline constexpr const char* kCryoLimitTimeKey = "CryoLimitTime";
inline constexpr bool kCryoLimitTimeDefault = false;
inline constexpr const char* kCryoLifeInHoursKey = "CryoLifeInHours";
inline constexpr std::int32_t kCryoLifeInHoursDefault = 1;
inline constexpr const char* kRconRepliesKey = "RconReplies";
inline constexpr const char* kRconRepliesDefault = "text";
inline constexpr const char* kConsoleFeedbackKey = "ConsoleFeedback";
inline constexpr bool kConsoleFeedbackDefault = false;
inline constexpr const char* kDeliveryLedgerKey = "DeliveryLedger";
inline constexpr const char* kDeliveryLedgerDefault = "";
inline constexpr const char* kDeliveryLedgerMaxMBKey = "DeliveryLedgerMaxMB";
inline constexpr std::int32_t kDeliveryLedgerMaxMBDefault = 64;
inline constexpr const char* kDeliveryLedgerFilesKey = "DeliveryLedgerFiles";
inline constexpr std::int32_t kDeliveryLedgerFilesDefault = 4;

// The server's current directory followed by "/ArkApi/Plugins/Kestrova/config.json",
// built afresh at each call.
std::string ConfigPath();

// Reads config.json into the configuration document. Throws std::runtime_error
// ("Can't open config.json") when the file cannot be opened, and the JSON
// library's own error when it holds no complete value (a parse error, or its
// out-of-range error for a number too large); either way the document keeps
// what it held before.
void LoadConfig();

// The process-wide configuration document: null until the first successful load.
const nlohmann::json& ConfigDocument();

// Key reads with a default for an absent key. A document that is not an object
// throws the library's type error 306, a member of the wrong type its type error
// 302, at the moment of the read.
std::string ConfigString(const std::string& key, const std::string& fallback);
bool ConfigBool(const std::string& key, bool fallback);
// Accepts a boolean (0 or 1), an integer (its low 32 bits) or a floating-point
// number (truncated toward zero, saturated at the ends of the 32-bit range).
std::int32_t ConfigInt(const std::string& key, std::int32_t fallback);

}  // namespace kestrova
