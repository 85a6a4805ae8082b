#include "plugin/settings.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "config/config.h"
#include "plugin/logger.h"

namespace kestrova {
namespace {

// Absent (or in a document that holds no keys at all) means the default, said
// nowhere. A value that cannot be read is an error in config.json, logged as the
// other keys' are; the command goes on with the default rather than ending.
template <typename Value, typename Read>
Value Setting(const char* key, Value fallback, Read read) noexcept
{
    try {
        const nlohmann::json& document = ConfigDocument();
        if (!document.is_object() || !document.contains(key))
            return fallback;
        return read();
    } catch (const std::exception& e) {
        LogError(e.what());
    }
    return fallback;
}

}  // namespace

RconReplies RconRepliesSetting() noexcept
{
    return Setting(kRconRepliesKey, RconReplies::Text, [] {
        const std::string value = ConfigString(kRconRepliesKey, kRconRepliesDefault);
        if (value == "json")
            return RconReplies::Json;
        if (value != kRconRepliesDefault)
            throw std::invalid_argument(fmt::format("{} must be \"text\" or \"json\", not \"{}\"", kRconRepliesKey, value));
        return RconReplies::Text;
    });
}

bool ConsoleFeedbackSetting() noexcept
{
    return Setting(kConsoleFeedbackKey, kConsoleFeedbackDefault,
                   [] { return ConfigBool(kConsoleFeedbackKey, kConsoleFeedbackDefault); });
}

DeliveryLedgerSetting DeliveryLedgerSettings() noexcept
{
    DeliveryLedgerSetting setting;
    setting.name = Setting(kDeliveryLedgerKey, std::string(kDeliveryLedgerDefault),
                           [] { return ConfigString(kDeliveryLedgerKey, kDeliveryLedgerDefault); });
    const std::int32_t megabytes = Setting(kDeliveryLedgerMaxMBKey, kDeliveryLedgerMaxMBDefault, [] {
        return ConfigInt(kDeliveryLedgerMaxMBKey, kDeliveryLedgerMaxMBDefault);
    });
    const std::int32_t files = Setting(kDeliveryLedgerFilesKey, kDeliveryLedgerFilesDefault, [] {
        return ConfigInt(kDeliveryLedgerFilesKey, kDeliveryLedgerFilesDefault);
    });
    setting.maxBytes = static_cast<std::uint64_t>(std::max(megabytes, 1)) << 20;
    setting.files = static_cast<std::uint32_t>(std::max(files, 1));
    return setting;
}

}  // namespace kestrova
