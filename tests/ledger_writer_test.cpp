// The background writer: every queued line written, or counted and logged.
#include <stdexcept>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ledger/ledger_writer.h"
#include "support/ledger_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class LedgerWriterTest : public LedgerTest {
protected:
    LedgerWriterTest() : file_(Files(1 << 30), disk_.Opener(), Logger()) {}

    // Waits, without a time limit of its own, until `done` holds.
    template <typename Condition>
    static void WaitUntil(Condition done)
    {
        while (!done())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    LedgerFile file_;
};

TEST_F(LedgerWriterTest, StopWritesOutEverythingQueuedInOrder)
{
    LedgerWriter writer(file_, 100000, Logger());
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        writer.Enqueue(Made(RunLine(i)));
        expected += RunLine(i) + "\n";
    }
    writer.Stop();
    EXPECT_TRUE(ReadFile("deliveries.jsonl") == expected);
    EXPECT_EQ(writer.Losses().dropped, 0u);
    EXPECT_EQ(writer.Losses().failed, 0u);
    EXPECT_THAT(LogLines(), IsEmpty());

    writer.Enqueue(Made(RunLine(-1)));  // after the stop: counted, not written
    EXPECT_EQ(writer.Losses().dropped, 1u);
    EXPECT_TRUE(ReadFile("deliveries.jsonl") == expected);
}

TEST_F(LedgerWriterTest, LinesReachTheFileWithoutAStop)
{
    LedgerWriter writer(file_, 16, Logger());
    writer.Enqueue(Made(RunLine(1)));
    WaitUntil([&] { return ReadFile("deliveries.jsonl") == RunLine(1) + "\n"; });
}

TEST_F(LedgerWriterTest, AFullQueueDropsLinesAndCountsThem)
{
    LedgerWriter writer(file_, 4, Logger());
    disk_.Hold();
    writer.Enqueue(Made(RunLine(0)));
    disk_.WaitForHeldWrite();  // the writer holds line 0; the queue is empty
    for (int i = 1; i <= 7; ++i)
        writer.Enqueue(Made(RunLine(i)));
    EXPECT_EQ(writer.Losses().dropped, 3u);
    disk_.Release();
    writer.Stop();
    EXPECT_EQ(ReadFile("deliveries.jsonl"),
              RunLine(0) + "\n" + RunLine(1) + "\n" + RunLine(2) + "\n" + RunLine(3) + "\n" + RunLine(4) + "\n");
    EXPECT_THAT(
        LogLines(),
        ElementsAre("[error] Ledger deliveries.jsonl: 3 lines lost (3 not queued, 0 the disk failed)"));
}

TEST_F(LedgerWriterTest, LinesTheDiskFailsAreCountedAndLoggedAtMostOnceAMinute)
{
    LedgerWriter writer(file_, 16, Logger());
    disk_.FullAfter(0);
    writer.Enqueue(Made(RunLine(1)));
    WaitUntil([&] { return !LogLines().empty(); });
    EXPECT_EQ(writer.Losses().failed, 1u);
    // Within the minute: counted, and told only when the writer stops.
    writer.Enqueue(Made(RunLine(2)));
    writer.Enqueue(Made(RunLine(3)));
    WaitUntil([&] { return writer.Losses().failed == 3; });
    EXPECT_EQ(LogLines().size(), 1u);
    disk_.Heal();
    writer.Enqueue(Made(RunLine(4)));
    writer.Stop();
    EXPECT_EQ(ReadFile("deliveries.jsonl"), RunLine(4) + "\n");
    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_THAT(log[0], HasSubstr("Ledger deliveries.jsonl: 1 line lost (0 not queued, 1 the disk failed: "));
    EXPECT_THAT(log[1], HasSubstr("Ledger deliveries.jsonl: 2 lines lost (0 not queued, 2 the disk failed: "));
}

TEST_F(LedgerWriterTest, LinesTheDiskDoesNotConfirmDurableCountAsFailed)
{
    LedgerWriter writer(file_, 16, Logger());
    disk_.FailSyncs();
    writer.Enqueue(Made(RunLine(1)));
    writer.Stop();
    EXPECT_EQ(writer.Losses().failed, 1u);
}

TEST_F(LedgerWriterTest, ALineHoldingANewlineIsDroppedRatherThanSplit)
{
    LedgerWriter writer(file_, 16, Logger());
    writer.Enqueue(Made("{\"a\":1}\n{\"b\":2}"));
    writer.Enqueue(Made(RunLine(1)));
    writer.Stop();
    EXPECT_EQ(writer.Losses().dropped, 1u);
    EXPECT_EQ(ReadFile("deliveries.jsonl"), RunLine(1) + "\n");
}

TEST_F(LedgerWriterTest, LinesMadeOnTheWritersThreadKeepTheirTurnAndOneNotMadeIsCounted)
{
    LedgerWriter writer(file_, 16, Logger());
    writer.Enqueue(Made(RunLine(1)));
    writer.Enqueue(LineMaker([] { return RunLine(2); }));
    writer.Enqueue(LineMaker([]() -> std::string { throw std::runtime_error("no line"); }));
    writer.Enqueue(Made(RunLine(3)));
    writer.Stop();
    EXPECT_EQ(ReadFile("deliveries.jsonl"), RunLine(1) + "\n" + RunLine(2) + "\n" + RunLine(3) + "\n");
    EXPECT_EQ(writer.Losses().dropped, 1u);
}

// The thread starts with the first line queued; a loss while none runs is still told.
TEST_F(LedgerWriterTest, AWriterWithoutAThreadStillReportsItsLossesAtStop)
{
    LedgerWriter writer(file_, 16, Logger());
    writer.Stop();
    EXPECT_THAT(LogLines(), IsEmpty());
    writer.Enqueue(Made(RunLine(1)));
    writer.Stop();
    EXPECT_THAT(LogLines(),
                ElementsAre("[error] Ledger deliveries.jsonl: 1 line lost (1 not queued, 0 the disk failed)"));
}

}  // namespace
}  // namespace kestrova::test
