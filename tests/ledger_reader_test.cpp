// Reading the ledger back: the known orders, whatever damage the files hold.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "plugin/ledger_reader.h"
#include "support/ledger_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class LedgerReaderTest : public LedgerTest {
protected:
    // "started", "ended RESULT" or "unknown".
    static std::string StateOf(const LedgerReading& reading, const std::string& id)
    {
        static const char* const kResults[] = {"delivered", "kept-in-world", "partly", "nothing", "failed", "other"};
        const std::optional<KnownOrder> order = reading.orders.Find(id);
        if (!order)
            return "unknown";
        if (!order->hasOutcome)
            return "started";
        return std::string("ended ") + kResults[static_cast<int>(order->result)];
    }
};

TEST_F(LedgerReaderTest, TheKeptFilesAreReadOldestFirstAndTheLatestLineOfAnOrderCounts)
{
    WriteFile("deliveries.3.jsonl", StartedLine("gone") + "\n");  // beyond the 3 kept files
    WriteFile("deliveries.2.jsonl",
              StartedLine("a") + "\n" + StartedLine("retried") + "\n" + OutcomeLine("retried", "nothing") + "\n");
    WriteFile("deliveries.1.jsonl", OutcomeLine("a", "delivered") + "\n" + RunLine(1) + "\n" + StartedLine("retried") +
                                        "\n" + StartedLine("b") + "\n");
    WriteFile("deliveries.jsonl", OutcomeLine("retried", "partly") + "\n" + OutcomeLine("c", "nothing") + "\n");

    const LedgerReading reading = ReadLedger(Files(1 << 20, 3));
    EXPECT_THAT(reading.problems, IsEmpty());
    EXPECT_EQ(reading.filesRead, 3u);
    EXPECT_EQ(reading.orders.Size(), 4u);
    EXPECT_EQ(StateOf(reading, "a"), "ended delivered");
    EXPECT_EQ(StateOf(reading, "retried"), "ended partly");
    EXPECT_EQ(StateOf(reading, "b"), "started");
    EXPECT_EQ(StateOf(reading, "c"), "ended nothing");
    EXPECT_EQ(StateOf(reading, "gone"), "unknown");

    // Each order points at its latest line, in the file of that generation.
    const std::optional<KnownOrder> a = reading.orders.Find("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->latest.generation, 1u);
    EXPECT_EQ(a->latest.offset, 0u);
    EXPECT_EQ(a->latest.length, OutcomeLine("a", "delivered").size());
}

TEST_F(LedgerReaderTest, ATornLastLineIsIgnoredAndReported)
{
    const std::string outcome = OutcomeLine("a", "delivered");
    WriteFile("deliveries.jsonl", RunLine(1) + "\n" + StartedLine("a") + "\n" + outcome.substr(0, outcome.size() - 1));
    const LedgerReading reading = ReadLedger(Files());
    EXPECT_EQ(StateOf(reading, "a"), "started");
    EXPECT_THAT(
        reading.problems,
        ElementsAre("Ledger deliveries.jsonl line 3: incomplete, the server stopped while writing it; ignored"));
}

TEST_F(LedgerReaderTest, DamagedLinesAreSkippedAndReportedWithTheirFileAndLine)
{
    WriteFile("deliveries.1.jsonl", StartedLine("a") + "\n" + "garbage\n" + OutcomeLine("a", "failed") + "\n");
    WriteFile("deliveries.jsonl", std::string("[1,2]\n") + "\n" + R"({"order":"no spaces","event":"started"})" + "\n" +
                                      R"({"order":7,"event":"started"})" + "\n" + R"({"order":"b","event":"outcome"})" +
                                      "\n" + R"({"order":"b","event":"paid"})" + "\n" + R"({"order":"b"})" + "\n" +
                                      StartedLine("b") + "\n");
    const LedgerReading reading = ReadLedger(Files());
    EXPECT_EQ(StateOf(reading, "a"), "ended failed");
    EXPECT_EQ(StateOf(reading, "b"), "started");
    EXPECT_THAT(reading.problems,
                ElementsAre("Ledger deliveries.1.jsonl line 2: not a JSON object; skipped",
                            "Ledger deliveries.jsonl line 1: not a JSON object; skipped",
                            "Ledger deliveries.jsonl line 3: its \"order\" is not an order id; skipped",
                            "Ledger deliveries.jsonl line 4: its \"order\" is not an order id; skipped",
                            "Ledger deliveries.jsonl line 5: an outcome line without a \"result\"; skipped",
                            "Ledger deliveries.jsonl line 6: an order line of an unknown \"event\"; skipped",
                            "Ledger deliveries.jsonl line 7: an order line without an \"event\"; skipped"));
}

TEST_F(LedgerReaderTest, AFileFullOfDamageIsReportedInFewLines)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "not json\n";
    WriteFile("deliveries.jsonl", text + StartedLine("a") + "\n");
    const LedgerReading reading = ReadLedger(Files());
    EXPECT_EQ(StateOf(reading, "a"), "started");
    ASSERT_EQ(reading.problems.size(), 21u);
    EXPECT_EQ(reading.problems.back(), "Ledger deliveries.jsonl: 980 more damaged lines skipped");
}

TEST_F(LedgerReaderTest, LinesAcrossAndBeyondOneReadAreReadWhole)
{
    // Reads are 4 MiB: many lines end across a read, and one line is longer than a read.
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += StartedLine("order-" + std::to_string(i)) + "\n";
    const std::string longLine = R"({"order":"long","event":"started","line":")" + std::string(5 << 20, 'x') + "\"}";
    text += longLine + "\n" + OutcomeLine("order-0", "delivered") + "\n";
    WriteFile("deliveries.jsonl", text);

    const LedgerReading reading = ReadLedger(Files());
    EXPECT_THAT(reading.problems, IsEmpty());
    EXPECT_EQ(reading.orders.Size(), 40001u);
    ASSERT_TRUE(reading.orders.Find("long"));
    EXPECT_EQ(reading.orders.Find("long")->latest.length, longLine.size());
    EXPECT_EQ(reading.orders.Find("order-0")->latest.offset,
              text.size() - OutcomeLine("order-0", "delivered").size() - 1);
}

}  // namespace
}  // namespace kestrova::test
