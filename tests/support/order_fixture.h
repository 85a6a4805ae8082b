// What the order commands' tests share: a plugin with a delivery ledger, read
// back before a test orders, and the ledger's lines.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "ledger/ledger.h"
#include "plugin/delivery_ledger.h"
#include "support/catalogue_references.h"
#include "support/ledger_fixture.h"
#include "support/plugin_fixture.h"

namespace kestrova::test {

inline const std::string kOrderLine = "KV.SpawnDinoFor 1002 " + std::string(kRaptor) + " \"\" 0 150 0 0 0 0 0 F";

class OrderTest : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        UseLedger();
    }

    void UseLedger(std::string_view config = R"({"DeliveryLedger": "deliveries.jsonl"})")
    {
        server_.WriteConfig(config);
        RunConsoleAs("1001", "Kestrova.Reload");
        WaitForReadBack();
    }

    // The ledger reads its files back on its own thread; the tests order once it has.
    void LoadAndReadBack()
    {
        Load();
        WaitForReadBack();
    }

    static void WaitForReadBack()
    {
        if (Ledger* ledger = DeliveryLedger()) {
            EXPECT_TRUE(ReadBack(*ledger));
        }
    }

    std::filesystem::path LedgerPath() const { return server_.ConfigPath().parent_path() / "deliveries.jsonl"; }

    // Every line of the ledger, once the queued ones are written out.
    std::vector<nlohmann::json> LedgerLines()
    {
        Unload();
        std::vector<nlohmann::json> lines;
        std::ifstream file(LedgerPath());
        for (std::string line; std::getline(file, line);)
            lines.push_back(nlohmann::json::parse(line));
        LoadAndReadBack();
        return lines;
    }

    nlohmann::json Order(const std::string& id, const std::string& line = kOrderLine)
    {
        const std::vector<sim::RconReply> replies = RunRcon("KV.Order " + id + " " + line, 5);
        EXPECT_EQ(replies.size(), 1u);
        return replies.size() == 1 ? nlohmann::json::parse(sim::ToUtf8(replies[0].text)) : nlohmann::json();
    }

    std::size_t CreaturesOf(std::string_view id) { return InventoryOf(id).size(); }

    // The one RCON reply to `line`, as it came.
    std::string Reply(const std::string& line)
    {
        const std::vector<sim::RconReply> replies = RunRcon(line, 5);
        return replies.size() == 1 ? sim::ToUtf8(replies[0].text) : std::string("(not one reply)");
    }

    // Adds `line` to the ledger file, as an earlier run of the server left it.
    void LedgerHolds(const std::string& line)
    {
        Unload();
        std::ofstream(LedgerPath(), std::ios::app) << line << '\n';
        LoadAndReadBack();
    }
};

}  // namespace kestrova::test
