// KV.OrderSettle: a person's decision on an interrupted order, kept in the ledger.
// Only an interrupted order is settled, once; "delivered" answers every retry and
// never runs, "not-delivered" lets the next KV.Order run it, once.
#include <fstream>
#include <iterator>

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include "support/order_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::HasSubstr;

constexpr char kInterrupted[] =
    R"({"event":"started","from":{"rcon":"127.0.0.1:5"},"line":"...","order":"cut","time":"2026-12-08T16:20:01.123Z","v":1})";

class OrderSettle : public OrderTest {
protected:
    void SetUp() override
    {
        OrderTest::SetUp();
        LedgerHolds(kInterrupted);
    }

    std::string LedgerBytes() const
    {
        std::ifstream file(LedgerPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
};

std::string Refusal(const std::string& order, const std::string& error)
{
    return R"({"command":"KV.OrderSettle","error":")" + error + R"(","order":)" + order + R"(,"v":1})";
}

TEST_F(OrderSettle, SettlesOnlyAnInterruptedOrderAndOnlyOnce)
{
    Order("done");
    const std::string before = LedgerBytes();
    EXPECT_EQ(Reply("KV.OrderSettle"),
              Refusal("null", "KV.OrderSettle needs an order id and delivered or not-delivered"));
    EXPECT_EQ(Reply("KV.OrderSettle cut"),
              Refusal(R"("cut")", "KV.OrderSettle needs an order id and delivered or not-delivered"));
    EXPECT_EQ(Reply("KV.OrderSettle cut/1 delivered"),
              Refusal(R"("cut/1")", "an order id is 1 to 64 characters of A-Z a-z 0-9 . _ : -"));
    EXPECT_EQ(Reply("KV.OrderSettle cut Delivered"),
              Refusal(R"("cut")", "the decision must be delivered or not-delivered"));
    EXPECT_EQ(Reply("KV.OrderSettle never delivered"),
              Refusal(R"("never")", "the ledger knows no order with this id; only an interrupted order can be settled"));
    EXPECT_EQ(Reply("KV.OrderSettle done not-delivered"),
              Refusal(R"("done")", "the order has a recorded outcome; only an interrupted order can be settled"));
    EXPECT_EQ(LedgerBytes(), before) << "a refusal writes nothing";

    const nlohmann::json settled = nlohmann::json::parse(Reply("KV.OrderSettle cut delivered found it  in slot 3"));
    EXPECT_EQ(settled["order"], "cut");
    EXPECT_FALSE(settled.contains("error")) << settled.dump();
    EXPECT_EQ(settled["settlement"]["decision"], "delivered");
    EXPECT_EQ(settled["settlement"]["note"], "found it  in slot 3") << "the note as typed";
    EXPECT_TRUE(settled["settlement"]["from"].contains("rcon"));
    EXPECT_EQ(Reply("KV.OrderSettle cut not-delivered"),
              Refusal(R"("cut")", "the order was settled already; a settlement is final"));

    // The line is the settlement, field for field, and the reply its copy.
    const nlohmann::json line = LedgerLines().back();
    EXPECT_EQ(line["event"], "settled");
    EXPECT_EQ(line["order"], "cut");
    for (const char* key : {"decision", "from", "note", "time"})
        EXPECT_EQ(line[key], settled["settlement"][key]) << key;
}

TEST_F(OrderSettle, DeliveredAnswersEveryRetryWithTheSettlementAndNeverRuns)
{
    RunConsoleAs("1001", "KV.OrderSettle cut delivered");
    const nlohmann::json settlement = nlohmann::json::parse(sim::ToUtf8(Messages().back().text))["settlement"];
    EXPECT_EQ(settlement["from"]["console"]["name"], "Alice");
    EXPECT_TRUE(settlement["note"].is_null());

    for (int restart = 0; restart < 2; ++restart) {
        const nlohmann::json retry = Order("cut");
        EXPECT_EQ(retry["repeat"], true);
        EXPECT_EQ(retry["outcome"]["result"], "interrupted") << "what the run left is still told";
        EXPECT_EQ(retry["settlement"], settlement);
        const nlohmann::json status = nlohmann::json::parse(Reply("KV.OrderStatus cut"));
        EXPECT_EQ(status["status"], "settled");
        EXPECT_EQ(status["settlement"], settlement);
        Unload();
        LoadAndReadBack();
    }
    EXPECT_EQ(CreaturesOf("1002"), 0u);
}

TEST_F(OrderSettle, NotDeliveredLetsTheNextOrderRunItOnceAsAFirstTime)
{
    EXPECT_THAT(Reply("KV.OrderSettle cut not-delivered inventory empty"), HasSubstr(R"("decision":"not-delivered")"));
    EXPECT_EQ(nlohmann::json::parse(Reply("KV.OrderStatus cut"))["status"], "settled");
    Unload();
    LoadAndReadBack();  // the settlement is read back as it was written

    const nlohmann::json run = Order("cut");
    EXPECT_EQ(run["repeat"], false);
    EXPECT_EQ(run["outcome"]["result"], "delivered");
    EXPECT_FALSE(run.contains("settlement"));
    const nlohmann::json again = Order("cut");
    EXPECT_EQ(again["repeat"], true);
    EXPECT_EQ(again["outcome"], run["outcome"]);
    EXPECT_FALSE(again.contains("settlement")) << "the new run's outcome is the order's now";
    EXPECT_EQ(CreaturesOf("1002"), 1u);
    EXPECT_THAT(Reply("KV.OrderSettle cut delivered"), HasSubstr("the order has a recorded outcome"));
}

}  // namespace
}  // namespace kestrova::test
