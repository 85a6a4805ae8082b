// The delivery ledger whole: orders made durable, read back after a restart,
// refused when the disk fails, forgotten once rotated out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plugin/ledger.h"
#include "support/ledger_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

class LedgerWholeTest : public LedgerTest {
protected:
    LedgerSettings Settings(std::uint64_t maxBytes = 1 << 20, std::uint32_t kept = 4)
    {
        return {Files(maxBytes, kept), 1024, disk_.Opener()};
    }
};

TEST_F(LedgerWholeTest, OrdersWrittenInOneRunAreKnownInTheNext)
{
    {
        Ledger ledger(Settings());
        EXPECT_FALSE(ledger.WriteDurable(StartedLine("a")));
        EXPECT_FALSE(ledger.WriteDurable(OutcomeLine("a", "delivered")));
        ledger.Write(Made(RunLine(1)));
        EXPECT_FALSE(ledger.WriteDurable(StartedLine("b")));
        ASSERT_TRUE(ledger.FindOrder("a"));
        EXPECT_TRUE(ledger.FindOrder("a")->hasOutcome);
        ASSERT_TRUE(ledger.RecordedOutcome("a"));
        EXPECT_EQ(ledger.RecordedOutcome("a")->outcome, nlohmann::json::parse(R"({"result":"delivered","creatures":1})"));
    }
    Ledger ledger(Settings());
    EXPECT_EQ(ledger.OrdersKnown(), 2u);
    const std::optional<KnownOrder> a = ledger.FindOrder("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->result, OrderResult::Delivered);
    ASSERT_TRUE(ledger.RecordedOutcome("a"));
    EXPECT_EQ(ledger.RecordedOutcome("a")->outcome, nlohmann::json::parse(R"({"result":"delivered","creatures":1})"));
    EXPECT_EQ(ledger.RecordedOutcome("a")->time, "2026-12-08T16:20:01.456Z");
    // Started and never ended: interrupted, with no outcome to give.
    ASSERT_TRUE(ledger.FindOrder("b"));
    EXPECT_FALSE(ledger.FindOrder("b")->hasOutcome);
    EXPECT_FALSE(ledger.RecordedOutcome("b"));
    EXPECT_FALSE(ledger.FindOrder("c"));
    EXPECT_THAT(LogLines(), Contains("[info] Ledger deliveries.jsonl: 2 orders known from 1 files"));
    EXPECT_THAT(ReadFile("deliveries.jsonl"), ::testing::HasSubstr(RunLine(1) + "\n"));
}

TEST_F(LedgerWholeTest, AnOrderLineTheDiskFailsIsReportedAndNotRecorded)
{
    Ledger ledger(Settings());
    disk_.FullAfter(20);
    EXPECT_EQ(ledger.WriteDurable(StartedLine("a")), std::errc::no_space_on_device);
    EXPECT_FALSE(ledger.FindOrder("a"));
    disk_.Heal();
    disk_.FailSyncs();
    EXPECT_EQ(ledger.WriteDurable(StartedLine("a")), std::errc::io_error);
    EXPECT_FALSE(ledger.FindOrder("a"));
    disk_.Heal();
    EXPECT_FALSE(ledger.WriteDurable(StartedLine("a")));
    EXPECT_TRUE(ledger.FindOrder("a"));
    EXPECT_EQ(ReadFile("deliveries.jsonl"),
              StartedLine("a").substr(0, 20) + "\n" + StartedLine("a") + "\n" + StartedLine("a") + "\n");
}

TEST_F(LedgerWholeTest, LinesThatWouldReadBackAsDamageAreRefusedUnwritten)
{
    Ledger ledger(Settings());
    for (const std::string& line : {std::string("not json"), std::string("[1]"), StartedLine("a b"),
                                    StartedLine("a") + "\n" + StartedLine("b"), std::string(R"({"order":"a"})")})
        EXPECT_EQ(ledger.WriteDurable(line), std::errc::invalid_argument) << line;
    ledger.Stop();
    EXPECT_EQ(ReadFile("deliveries.jsonl"), "");
    LedgerSettings outside = Settings();
    outside.files.name = "../deliveries.jsonl";
    EXPECT_THROW(Ledger{outside}, std::invalid_argument);
}

TEST_F(LedgerWholeTest, OrdersRotatedOutAreForgottenAliveAsAfterARestart)
{
    const std::uint64_t maxBytes = 3 * (OutcomeLine("order-00", "delivered").size() + 1);
    std::vector<std::string> ids;
    for (int i = 10; i < 30; ++i)
        ids.push_back("order-" + std::to_string(i));
    const auto known = [&ids](const Ledger& ledger) {
        std::vector<std::string> found;
        for (const std::string& id : ids)
            if (ledger.FindOrder(id))
                found.push_back(id);
        return found;
    };
    std::vector<std::string> knownAlive;
    {
        Ledger ledger(Settings(maxBytes, 2));
        for (const std::string& id : ids) {
            ASSERT_FALSE(ledger.WriteDurable(StartedLine(id)));
            ASSERT_FALSE(ledger.WriteDurable(OutcomeLine(id, "delivered")));
        }
        knownAlive = known(ledger);
        EXPECT_EQ(ledger.OrdersKnown(), knownAlive.size());
        ASSERT_TRUE(ledger.RecordedOutcome(knownAlive.front()));
        EXPECT_EQ(ledger.RecordedOutcome(knownAlive.front())->outcome,
                  nlohmann::json::parse(R"({"result":"delivered","creatures":1})"));
    }
    ASSERT_GE(knownAlive.size(), 2u);
    EXPECT_LT(knownAlive.size(), 6u);
    EXPECT_EQ(knownAlive.back(), ids.back());
    EXPECT_EQ(known(Ledger(Settings(maxBytes, 2))), knownAlive);
}

}  // namespace
}  // namespace kestrova::test
