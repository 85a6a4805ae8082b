// What the Windows package ships besides the DLL: a config.json with every key at
// the value the plugin uses when the key is missing, so that an admin who edits it
// starts from what the plugin would do anyway.
#include <fstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "config/config.h"

namespace kestrova {
namespace {

TEST(PackagedConfig, HoldsEveryKeyAtItsDefault)
{
    std::ifstream file(std::string(KESTROVA_SOURCE_DIR) + "/packaging/config.json");
    ASSERT_TRUE(file) << "packaging/config.json is missing";
    const nlohmann::json config = nlohmann::json::parse(file);
    const nlohmann::json expected = {
        {kCryopodBPKey, kCryopodBPDefault},
        {kCryoLimitTimeKey, kCryoLimitTimeDefault},
        {kCryoLifeInHoursKey, kCryoLifeInHoursDefault},
        {kRconRepliesKey, kRconRepliesDefault},
        {kConsoleFeedbackKey, kConsoleFeedbackDefault},
        {kDeliveryLedgerKey, kDeliveryLedgerDefault},
        {kDeliveryLedgerMaxMBKey, kDeliveryLedgerMaxMBDefault},
        {kDeliveryLedgerFilesKey, kDeliveryLedgerFilesDefault},
    };
    EXPECT_EQ(config, expected) << config.dump(2);
}

}  // namespace
}  // namespace kestrova
