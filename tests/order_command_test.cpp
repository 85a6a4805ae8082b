// KV.Order and the delivery ledger through the commands: a line for every spawn
// run, an order delivered at most once, a retry of one that gave nothing, an
// interrupted one never run again, and none run that cannot be recorded.
#include <fstream>
#include <regex>

#include <nlohmann/json.hpp>

#include "ledger/ledger.h"
#include "plugin/delivery_ledger.h"
#include "support/catalogue_references.h"
#include "support/order_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

const std::string kRaptorWord = kRaptor;

class OrderCommand : public OrderTest {};

TEST_F(OrderCommand, DeliversOnceAndAnswersARepeatWithWhatWasRecorded)
{
    const nlohmann::json first = Order("shop-4711");
    EXPECT_EQ(first["order"], "shop-4711");
    EXPECT_EQ(first["repeat"], false);
    EXPECT_EQ(first["target"]["name"], "Bob");
    EXPECT_EQ(first["outcome"]["result"], "delivered");
    EXPECT_EQ(CreaturesOf("1002"), 1u);

    const nlohmann::json again = Order("shop-4711");
    EXPECT_EQ(again["repeat"], true);
    EXPECT_EQ(again["outcome"], first["outcome"]);
    EXPECT_EQ(CreaturesOf("1002"), 1u) << "a repeat runs nothing";

    // Across a restart of the plugin, from the ledger alone.
    Unload();
    LoadAndReadBack();
    EXPECT_EQ(Order("shop-4711")["repeat"], true);
    EXPECT_EQ(CreaturesOf("1002"), 1u);
}

TEST_F(OrderCommand, AnOrderThatGaveNothingRunsAgain)
{
    const nlohmann::json missing = Order("o-1", "KV.SpawnDinoFor 1009 " + kRaptorWord + " \"\" 0 150 0 0 0 0 0");
    EXPECT_EQ(missing["outcome"]["stop"]["rule"], "no-such-player");
    const nlohmann::json retried = Order("o-1");
    EXPECT_EQ(retried["repeat"], false);
    EXPECT_EQ(retried["outcome"]["result"], "delivered");
    EXPECT_EQ(Order("o-1")["repeat"], true);
    EXPECT_EQ(CreaturesOf("1002"), 1u);
}

TEST_F(OrderCommand, AnInterruptedOrderIsNeverRunAgain)
{
    Unload();
    std::ofstream(LedgerPath(), std::ios::app)
        << R"({"v":1,"time":"2026-12-08T16:20:01.123Z","order":"shop-9","event":"started","line":"..."})" << '\n';
    LoadAndReadBack();
    const nlohmann::json reply = Order("shop-9");
    EXPECT_EQ(reply["repeat"], true);
    EXPECT_EQ(reply["outcome"]["result"], "interrupted");
    EXPECT_EQ(CreaturesOf("1002"), 0u);
}

// A ledger named on something that is no regular file is refused when it opens:
// the log says so, the other commands work, and an order says why and runs nothing.
TEST_F(OrderCommand, AnOrderThatCannotBeRecordedIsNotRun)
{
    Unload();
    std::filesystem::remove(LedgerPath());
    std::filesystem::create_directory(LedgerPath());  // no file can be appended to there
    LoadAndReadBack();
    EXPECT_EQ(DeliveryLedger(), nullptr);
    const std::string why = "Ledger file deliveries.jsonl is not a regular file (a device, a FIFO or a folder)";
    EXPECT_THAT(LogLines(), Contains(HasSubstr("Delivery ledger deliveries.jsonl not opened: " + why)));
    const nlohmann::json reply = Order("shop-1");
    EXPECT_EQ(reply["error"], "the delivery ledger deliveries.jsonl is not open: " + why);
    EXPECT_FALSE(reply.contains("outcome"));
    EXPECT_EQ(CreaturesOf("1002"), 0u);
    const std::size_t before = InventoryOf("1001").size();
    RunConsoleAs("1001", "KV.SpawnItem " + std::string(kHelmet) + " x 0 0 1");
    EXPECT_EQ(InventoryOf("1001").size(), before + 1) << "the other commands work";
    std::filesystem::remove(LedgerPath());
}

// While the ledger is read back, on its own thread, an order is answered that
// it is still being read and runs nothing; once read, it runs.
TEST_F(OrderCommand, WhileTheLedgerIsReadBackAnOrderRunsNothing)
{
    Unload();
    // Long enough to read that the order comes first: 64 MiB of what a power cut left.
    std::ofstream(LedgerPath().parent_path() / "deliveries.1.jsonl", std::ios::binary)
        << std::string(std::size_t{64} << 20, '\0');
    Load();
    const nlohmann::json early = Order("shop-1");
    EXPECT_EQ(early["error"], "the delivery ledger is still being read back; nothing was run, try again shortly");
    EXPECT_EQ(CreaturesOf("1002"), 0u);
    WaitForReadBack();
    const nlohmann::json later = Order("shop-1");
    EXPECT_EQ(later["repeat"], false) << "the early one was not recorded";
    EXPECT_EQ(later["outcome"]["result"], "delivered");
    EXPECT_EQ(CreaturesOf("1002"), 1u);
}

TEST_F(OrderCommand, RefusesALineItCannotRead)
{
    EXPECT_THAT(Order("bad/id", kOrderLine)["error"].get<std::string>(), HasSubstr("1 to 64 characters"));
    EXPECT_THAT(Order(std::string(65, 'a'))["error"].get<std::string>(), HasSubstr("1 to 64 characters"));
    EXPECT_THAT(Order("ok", "KV.SpawnDino x")["error"].get<std::string>(), HasSubstr("KV.SpawnDinoFor"));
    EXPECT_EQ(CreaturesOf("1002"), 0u);
}

TEST_F(OrderCommand, EveryRunIsALedgerLineAndAnOrderTwo)
{
    RunConsoleAs("1001", "KV.SpawnDino " + kRaptorWord + " \"\" 0 10 0 0 0 0 0");
    RunRcon("KV.SpawnItemFor 1004 x y 0 0 1");
    Order("A.b_c:9-z");
    // Order lines are written at once, the others within a second: find each by what it holds.
    const std::vector<nlohmann::json> lines = LedgerLines();
    ASSERT_EQ(lines.size(), 4u);
    const auto find = [&](std::string_view key, std::string_view value) {
        for (const nlohmann::json& line : lines)
            if (line.value(key, "") == value)
                return line;
        return nlohmann::json::object();
    };
    const nlohmann::json console = find("command", "KV.SpawnDino");
    EXPECT_EQ(console["from"]["console"]["name"], "Alice");
    EXPECT_EQ(console["outcome"]["result"], "delivered");
    const nlohmann::json rcon = find("command", "KV.SpawnItemFor");
    EXPECT_EQ(rcon["line"], "KV.SpawnItemFor 1004 x y 0 0 1") << "the line as received";
    EXPECT_EQ(rcon["target"]["name"], "Dave");
    EXPECT_EQ(rcon["outcome"]["stop"]["rule"], "no-inventory");
    EXPECT_TRUE(rcon["from"].contains("rcon"));
    EXPECT_EQ(find("event", "started")["order"], "A.b_c:9-z");
    EXPECT_EQ(find("event", "outcome")["outcome"]["result"], "delivered");
    for (const nlohmann::json& line : lines)
        EXPECT_EQ(line["time"].get<std::string>().size(), std::string("2026-12-08T16:20:01.123Z").size());
}

// Replies and ledger lines byte for byte, as shops and ledger readers have them;
// only the times differ from run to run (the test's RCON client has no address).
TEST_F(OrderCommand, RepliesAndLedgerLinesKeepTheirBytes)
{
    const auto raw = [&](const std::string& line) {
        const std::vector<sim::RconReply> replies = RunRcon(line, 5);
        return replies.size() == 1 ? sim::ToUtf8(replies[0].text) : std::string("(not one reply)");
    };
    const std::string line = "KV.SpawnDinoFor 1002 " + kRaptorWord + " \"\" 0 150 0 0 0 0 0 F";
    EXPECT_EQ(raw("KV.Order shop-1 " + line),
              R"({"command":"KV.Order","order":"shop-1","outcome":{"result":"delivered","spawn":{"colours":[0,0,0,0,0,0],)"
              R"("creature":"Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'","delivery":"cryopod",)"
              R"("imprint":0.0,"inventoryItem":null,"level":150,"neuter":false,"sex":"female"}},"repeat":false,)"
              R"("target":{"id":"1002","name":"Bob"},"v":1})");
    EXPECT_EQ(raw("KV.Order shop-1 " + line),
              R"({"command":"KV.Order","order":"shop-1","outcome":{"result":"delivered","spawn":{"colours":[0,0,0,0,0,0],)"
              R"("creature":"Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'","delivery":"cryopod",)"
              R"("imprint":0.0,"inventoryItem":null,"level":150,"neuter":false,"sex":"female"}},"repeat":true,"v":1})");
    EXPECT_EQ(raw("KV.Order bad/\xc3\xa9 " + line),
              R"({"command":"KV.Order","error":"an order id is 1 to 64 characters of A-Z a-z 0-9 . _ : -",)"
              R"("order":"bad/\u00e9","v":1})");
    EXPECT_EQ(raw("KV.Order"),
              R"({"command":"KV.Order","error":"KV.Order needs an order id and a targeted spawn line","order":null,"v":1})");
    EXPECT_EQ(raw("KV.Order o-2 KV.SpawnItemFor 1009 x y 0 0 1"),
              R"({"command":"KV.Order","order":"o-2","outcome":{"result":"nothing","stop":{"rule":"no-such-player",)"
              R"("text":"1009","word":1}},"repeat":false,"target":{"id":"1009","name":null},"v":1})");
    RunConsoleAs("1001", "KV.SpawnItem x \"\xc3\xa9\" 0 0 1");

    Unload();
    std::vector<std::string> lines;
    std::ifstream file(LedgerPath());
    for (std::string text; std::getline(file, text);)
        lines.push_back(std::regex_replace(text, std::regex(R"("time":"[-0-9T:.]+Z")"), R"("time":"T")"));
    const std::string order = "KV.Order shop-1 KV.SpawnDinoFor 1002 " + kRaptorWord + R"( \"\" 0 150 0 0 0 0 0 F)";
    EXPECT_THAT(lines, ::testing::UnorderedElementsAre(
        R"({"event":"started","from":{"rcon":""},"line":")" + order + R"(","order":"shop-1","time":"T","v":1})",
        R"({"command":"KV.SpawnDinoFor","event":"outcome","order":"shop-1","outcome":{"result":"delivered","spawn":)"
        R"({"colours":[0,0,0,0,0,0],"creature":"Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'",)"
        R"("delivery":"cryopod","imprint":0.0,"inventoryItem":null,"level":150,"neuter":false,"sex":"female"}},)"
        R"("target":{"id":"1002","name":"Bob"},"time":"T","v":1})",
        R"({"event":"started","from":{"rcon":""},"line":"KV.Order o-2 KV.SpawnItemFor 1009 x y 0 0 1","order":"o-2",)"
        R"("time":"T","v":1})",
        R"({"command":"KV.SpawnItemFor","event":"outcome","order":"o-2","outcome":{"result":"nothing","stop":)"
        R"({"rule":"no-such-player","text":"1009","word":1}},"target":{"id":"1009","name":null},"time":"T","v":1})",
        R"({"command":"KV.SpawnItem","from":{"console":{"name":"Alice","netId":"0002f3a1c9e84b7d9a1e5c6b7d8e9f01"}},)"
        R"("line":"KV.SpawnItem x \"\u00e9\" 0 0 1","outcome":{"result":"nothing","stop":{"rule":"no-class",)"
        R"("text":"x","word":1}},"target":null,"time":"T","v":1})"));
}

// KV.OrderStatus in every state an order can be in: it runs nothing and writes
// nothing, neither the world nor the ledger changes.
TEST_F(OrderCommand, StatusSaysWhatTheLedgerKnowsAndRunsNothing)
{
    const auto status = [&](const std::string& id) {
        const std::vector<sim::RconReply> replies = RunRcon("KV.OrderStatus " + id, 5);
        return replies.size() == 1 ? sim::ToUtf8(replies[0].text) : std::string("(not one reply)");
    };
    Order("done");
    Order("gave-nothing", "KV.SpawnItemFor 1009 x y 0 0 1");
    Unload();
    std::ofstream(LedgerPath(), std::ios::app)
        << R"({"v":1,"time":"2026-12-08T16:20:01.123Z","order":"cut","event":"started","line":"..."})" << '\n'
        << R"({"v":1,"time":"2026-12-08T16:20:01.123Z","order":"kept","event":"started","line":"..."})" << '\n'
        << R"({"decision":"not-delivered","event":"settled","from":{"console":null},"note":null,"order":"kept",)"
        << R"("time":"2026-12-08T16:21:00.000Z","v":1})" << '\n';
    const auto ledgerBytes = [&] {
        std::ifstream file(LedgerPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    const std::string before = ledgerBytes();
    LoadAndReadBack();
    const std::size_t creatures = CreaturesOf("1002");

    const std::string done = status("done");
    // Plain substrings: GoogleTest's own regular expressions on Windows have no brackets.
    EXPECT_THAT(done, ::testing::StartsWith(R"({"command":"KV.OrderStatus","order":"done","outcome":{"result":"delivered",)"));
    EXPECT_THAT(done, ::testing::HasSubstr(R"(},"status":"outcome","time":")"));
    EXPECT_THAT(done, ::testing::EndsWith(R"(Z","v":1})"));
    const std::string gaveNothing = status("gave-nothing");
    EXPECT_THAT(gaveNothing,
                ::testing::StartsWith(R"({"command":"KV.OrderStatus","order":"gave-nothing","outcome":{"result":"nothing",)"));
    EXPECT_THAT(gaveNothing, ::testing::HasSubstr(R"("status":"outcome",)"));
    EXPECT_EQ(status("cut"),
              R"({"command":"KV.OrderStatus","order":"cut","outcome":{"result":"interrupted"},"status":"started","v":1})");
    EXPECT_EQ(status("kept"), R"({"command":"KV.OrderStatus","order":"kept","outcome":{"result":"interrupted"},)"
                              R"("settlement":{"decision":"not-delivered","from":{"console":null},"note":null,)"
                              R"("time":"2026-12-08T16:21:00.000Z"},"status":"settled","v":1})");
    EXPECT_EQ(status("never"), R"({"command":"KV.OrderStatus","order":"never","status":"unknown","v":1})");
    EXPECT_EQ(status("bad/id"), R"({"command":"KV.OrderStatus","error":"an order id is 1 to 64 characters of )"
                                R"(A-Z a-z 0-9 . _ : -","order":"bad/id","v":1})");
    EXPECT_EQ(status(""), R"({"command":"KV.OrderStatus","error":"KV.OrderStatus needs an order id","order":null,"v":1})");
    RunConsoleAs("1001", "KV.OrderStatus done");
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(sim::ToUtf8(Messages().back().text), done) << "the same reply on the console";

    EXPECT_EQ(CreaturesOf("1002"), creatures);
    Unload();
    EXPECT_EQ(ledgerBytes(), before) << "a status request writes nothing";
    LoadAndReadBack();
    EXPECT_EQ(Order("gave-nothing", kOrderLine)["repeat"], false) << "and leaves an order that gave nothing to run again";
    EXPECT_EQ(Order("kept")["repeat"], false) << "and one settled as not delivered";
}

TEST_F(OrderCommand, IsOfferedOnlyWhileALedgerIsNamed)
{
    const auto registered = [] {
        int orders = 0;
        for (const sim::Registration& r : sim::GetRegistry().Registrations())
            orders += r.name == "KV.Order" || r.name == "KV.OrderStatus" || r.name == "KV.OrderSettle" ? 1 : 0;
        return orders;
    };
    EXPECT_EQ(registered(), 6) << "each on the console and over RCON";
    UseLedger("{}");
    EXPECT_EQ(registered(), 0);
    EXPECT_EQ(DeliveryLedger(), nullptr);
    UseLedger();
    EXPECT_EQ(registered(), 6);
}

}  // namespace
}  // namespace kestrova::test
