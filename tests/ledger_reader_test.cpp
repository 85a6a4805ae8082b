// Reading the ledger back: the known orders, whatever damage the files hold.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ledger/ledger_reader.h"
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

TEST_F(LedgerReaderTest, LinesAcrossReadsAreReadWholeAndOneTooLongIsReadPast)
{
    // Reads are 4 MiB: many lines end across a read; one line is longer than the
    // longest kept, and one is just as long as that.
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += StartedLine("order-" + std::to_string(i)) + "\n";
    const std::string head = R"({"order":"long","event":"started","line":")";
    const std::string longest = head + std::string(kLongestLedgerLine - head.size() - 2, 'x') + "\"}";
    const std::string tooLong = R"({"order":"too-long","event":"started","line":")" + std::string(5 << 20, 'x') + "\"}";
    text += tooLong + "\n" + longest + "\n" + OutcomeLine("order-0", "delivered") + "\n";
    WriteFile("deliveries.jsonl", text);

    const LedgerReading reading = ReadLedger(Files());
    EXPECT_THAT(reading.problems, ElementsAre("Ledger deliveries.jsonl line 40001: longer than 1048576 bytes, read "
                                              "past; skipped"));
    EXPECT_EQ(reading.orders.Size(), 40001u);
    EXPECT_FALSE(reading.orders.Find("too-long"));
    ASSERT_TRUE(reading.orders.Find("long"));
    EXPECT_EQ(reading.orders.Find("long")->latest.length, kLongestLedgerLine);
    EXPECT_EQ(reading.orders.Find("order-0")->latest.offset,
              text.size() - OutcomeLine("order-0", "delivered").size() - 1);
}

// What a power cut can leave: a run of NUL bytes where lines were, as one line or
// several, after a torn line; told once, with its byte range.
TEST_F(LedgerReaderTest, ARunOfNulBytesIsReportedOnceWithItsRange)
{
    const std::string before = StartedLine("a") + "\n";
    const std::string torn = OutcomeLine("a", "delivered").substr(0, 20);
    const std::string nuls = torn + std::string(3000, '\0') + "\n" + std::string(100, '\0') + "\n";
    const std::string after = StartedLine("b") + "\n";
    WriteFile("deliveries.jsonl", before + nuls + after);
    WriteFile("deliveries.1.jsonl", StartedLine("c") + "\n" + std::string(6 << 20, '\0'));

    const LedgerReading reading = ReadLedger(Files());
    EXPECT_EQ(StateOf(reading, "a"), "started");
    EXPECT_EQ(StateOf(reading, "b"), "started");
    EXPECT_EQ(StateOf(reading, "c"), "started");
    const std::size_t rotatedFrom = StartedLine("c").size() + 1;
    EXPECT_THAT(reading.problems,
                ElementsAre("Ledger deliveries.1.jsonl bytes " + std::to_string(rotatedFrom) + " to " +
                                std::to_string(rotatedFrom + (6 << 20)) +
                                ": NUL bytes, as a crash or a power cut can leave; skipped",
                            "Ledger deliveries.jsonl bytes " + std::to_string(before.size()) + " to " +
                                std::to_string(before.size() + nuls.size() - 1) +
                                ": NUL bytes, as a crash or a power cut can leave; skipped"));
}

// Anything there that is no regular file is passed over, not waited on.
TEST_F(LedgerReaderTest, AKeptNameThatIsNoRegularFileIsNotRead)
{
    std::filesystem::create_directory(Folder() / "deliveries.1.jsonl");
    WriteFile("deliveries.jsonl", StartedLine("a") + "\n");
    const LedgerReading reading = ReadLedger(Files());
    EXPECT_EQ(StateOf(reading, "a"), "started");
    EXPECT_EQ(reading.filesRead, 1u);
    EXPECT_THAT(reading.problems, ElementsAre("Ledger deliveries.1.jsonl: not a regular file; not read"));
}

// Closing the ledger while it reads ends the reading.
TEST_F(LedgerReaderTest, AStopEndsTheReading)
{
    WriteFile("deliveries.jsonl", StartedLine("a") + "\n");
    const std::atomic<bool> stop{true};
    EXPECT_EQ(ReadLedger(Files(), &stop).orders.Size(), 0u);
}

}  // namespace
}  // namespace kestrova::test
