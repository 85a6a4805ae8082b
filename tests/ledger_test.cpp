// The delivery ledger whole: orders made durable, read back after a restart,
// refused when the disk fails, forgotten once rotated out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ledger/ledger.h"
#include "support/ledger_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

class LedgerWholeTest : public LedgerTest {
protected:
    LedgerSettings Settings(std::uint64_t maxBytes = 1 << 20, std::uint32_t kept = 4)
    {
        return {Files(maxBytes, kept), 1024, disk_.Opener(), Logger()};
    }
};

TEST_F(LedgerWholeTest, OrdersWrittenInOneRunAreKnownInTheNext)
{
    {
        Ledger ledger(Settings());
        ASSERT_TRUE(ReadBack(ledger));
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
    ASSERT_TRUE(ReadBack(ledger));
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
    ledger.Stop();  // the count is logged after the orders are ready: once the thread has ended
    EXPECT_THAT(LogLines(), Contains("[info] Ledger deliveries.jsonl: 2 orders known from 1 files"));
    EXPECT_THAT(ReadFile("deliveries.jsonl"), ::testing::HasSubstr(RunLine(1) + "\n"));
}

TEST_F(LedgerWholeTest, AnOrderLineTheDiskFailsIsReportedAndNotRecorded)
{
    Ledger ledger(Settings());
    ASSERT_TRUE(ReadBack(ledger));
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
    ASSERT_TRUE(ReadBack(ledger));
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
    const auto known = [&ids](Ledger&& ledger) {
        EXPECT_TRUE(ReadBack(ledger));
        std::vector<std::string> found;
        for (const std::string& id : ids)
            if (ledger.FindOrder(id))
                found.push_back(id);
        return found;
    };
    std::vector<std::string> knownAlive;
    {
        Ledger ledger(Settings(maxBytes, 2));
        ASSERT_TRUE(ReadBack(ledger));
        for (const std::string& id : ids) {
            ASSERT_FALSE(ledger.WriteDurable(StartedLine(id)));
            ASSERT_FALSE(ledger.WriteDurable(OutcomeLine(id, "delivered")));
        }
        knownAlive = known(std::move(ledger));
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

// The files are read back on the ledger's own thread: until then it knows no
// order and writes none, and ordinary lines wait in the queue, none lost.
TEST_F(LedgerWholeTest, UntilReadBackItKnowsNoOrderAndWritesNoneAndLinesWait)
{
    {
        Ledger ledger(Settings());
        ASSERT_TRUE(ReadBack(ledger));
        ASSERT_FALSE(ledger.WriteDurable(StartedLine("a")));
    }
    disk_.Hold();  // the first write waits: the read is done by then, the line not yet written
    Ledger ledger(Settings());
    ledger.Write(Made(RunLine(1)));
    ASSERT_TRUE(ReadBack(ledger));
    EXPECT_TRUE(ledger.FindOrder("a"));
    disk_.WaitForHeldWrite();
    disk_.Release();
    ledger.Stop();
    EXPECT_EQ(ledger.Losses().dropped + ledger.Losses().failed, 0u);
    EXPECT_THAT(ReadFile("deliveries.jsonl"), ::testing::EndsWith(RunLine(1) + "\n"));
}

TEST_F(LedgerWholeTest, BeforeItIsReadBackAnOrderLineIsRefused)
{
    Ledger ledger(Settings());
    // Not started yet: nothing has been read.
    EXPECT_EQ(ledger.OrdersKnown(), 0u);
    EXPECT_FALSE(ledger.FindOrder("a"));
    const std::error_code early = ledger.WriteDurable(StartedLine("a"));
    if (early) {  // the read had not ended: nothing was written
        EXPECT_EQ(early, std::make_error_code(std::errc::resource_unavailable_try_again));
    }
    ASSERT_TRUE(ReadBack(ledger));
    EXPECT_FALSE(ledger.WriteDurable(StartedLine("b")));
    EXPECT_TRUE(ledger.FindOrder("b"));
}

// A ledger file that is no regular file (a device, a FIFO, a folder) is refused
// when the ledger opens, before anything tries to read it.
TEST_F(LedgerWholeTest, AFileThatIsNotARegularFileIsRefusedAtOpen)
{
    std::filesystem::create_directory(Folder() / "deliveries.1.jsonl");
    EXPECT_THROW(Ledger ledger(Settings()), std::invalid_argument);
    std::filesystem::remove(Folder() / "deliveries.1.jsonl");
    EXPECT_NO_THROW(Ledger ledger(Settings()));
}

}  // namespace
}  // namespace kestrova::test
