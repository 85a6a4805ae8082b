// The ledger's files: appends, torn lines, failures and rotation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ledger/ledger_file.h"
#include "support/ledger_fixture.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;

class LedgerFileTest : public LedgerTest {};

TEST_F(LedgerFileTest, LinesAreAppendedWholeAndCanBeReadBackWhereTheyLanded)
{
    LedgerFile file(Files(), OpenAppendFile, nullptr);
    const LedgerFile::Appended first = file.Append(StartedLine("a") + "\n", true);
    const LedgerFile::Appended second = file.Append(OutcomeLine("a", "delivered") + "\n", true);
    ASSERT_FALSE(first.error);
    ASSERT_FALSE(second.error);
    EXPECT_EQ(ReadFile("deliveries.jsonl"), StartedLine("a") + "\n" + OutcomeLine("a", "delivered") + "\n");
    EXPECT_EQ(second.where.offset, StartedLine("a").size() + 1);
    EXPECT_EQ(file.ReadLine(first.where), StartedLine("a"));
    EXPECT_EQ(file.ReadLine(second.where), OutcomeLine("a", "delivered"));

    // A later run appends to what an earlier one left.
    LedgerFile again(Files(), OpenAppendFile, nullptr);
    ASSERT_FALSE(again.Append(RunLine(1) + "\n", false).error);
    EXPECT_EQ(ReadFile("deliveries.jsonl"),
              StartedLine("a") + "\n" + OutcomeLine("a", "delivered") + "\n" + RunLine(1) + "\n");
}

TEST_F(LedgerFileTest, ATornLastLineIsNeverJoinedByTheNextLine)
{
    WriteFile("deliveries.jsonl", RunLine(1) + "\n{\"v\":1,\"ti");
    LedgerFile file(Files(), OpenAppendFile, nullptr);
    const LedgerFile::Appended appended = file.Append(RunLine(2) + "\n", true);
    ASSERT_FALSE(appended.error);
    EXPECT_EQ(ReadFile("deliveries.jsonl"), RunLine(1) + "\n{\"v\":1,\"ti\n" + RunLine(2) + "\n");
    EXPECT_EQ(file.ReadLine(appended.where), RunLine(2));
}

TEST_F(LedgerFileTest, AWriteThatFailsPartWayIsReportedAndTheNextLineStartsFresh)
{
    LedgerFile file(Files(), disk_.Opener(), nullptr);
    ASSERT_FALSE(file.Append(RunLine(1) + "\n", true).error);
    disk_.FullAfter(10);
    EXPECT_EQ(file.Append(StartedLine("a") + "\n", true).error, std::errc::no_space_on_device);
    EXPECT_EQ(file.Append(RunLine(2) + "\n", false).error, std::errc::no_space_on_device);
    disk_.Heal();
    ASSERT_FALSE(file.Append(RunLine(3) + "\n", true).error);
    EXPECT_EQ(ReadFile("deliveries.jsonl"),
              RunLine(1) + "\n" + StartedLine("a").substr(0, 10) + "\n" + RunLine(3) + "\n");

    disk_.FailSyncs();
    EXPECT_EQ(file.Append(RunLine(4) + "\n", true).error, std::errc::io_error);
    EXPECT_EQ(file.Sync(), std::errc::io_error);
}

TEST_F(LedgerFileTest, RotationKeepsTheNewestFilesUnderNumberedNames)
{
    const std::string line = RunLine(0) + "\n";  // each file takes two
    LedgerFile file(Files(2 * line.size(), 3), OpenAppendFile, nullptr);
    std::vector<LineLocation> where;
    for (int i = 0; i < 9; ++i) {
        const LedgerFile::Appended appended = file.Append(RunLine(i) + "\n", false);
        ASSERT_FALSE(appended.error);
        where.push_back(appended.where);
    }
    EXPECT_THAT(FileNames(), ElementsAre("deliveries.1.jsonl", "deliveries.2.jsonl", "deliveries.jsonl"));
    EXPECT_EQ(ReadFile("deliveries.2.jsonl"), RunLine(4) + "\n" + RunLine(5) + "\n");
    EXPECT_EQ(ReadFile("deliveries.1.jsonl"), RunLine(6) + "\n" + RunLine(7) + "\n");
    EXPECT_EQ(ReadFile("deliveries.jsonl"), RunLine(8) + "\n");
    EXPECT_EQ(file.Generation(), 2u + 4u);
    // A line keeps its place across renames, until its file is deleted.
    EXPECT_EQ(file.ReadLine(where[4]), RunLine(4));
    EXPECT_EQ(file.ReadLine(where[7]), RunLine(7));
    EXPECT_EQ(file.ReadLine(where[3]), std::nullopt);
}

TEST_F(LedgerFileTest, RotationPassesOverFilesMissingFromTheRow)
{
    // The server stopped part-way through a rotation: no deliveries.1.jsonl.
    WriteFile("deliveries.2.jsonl", RunLine(1) + "\n");
    WriteFile("deliveries.jsonl", RunLine(2) + "\n");
    LedgerFile file(Files(RunLine(0).size() + 1, 4), OpenAppendFile, nullptr);
    ASSERT_FALSE(file.Append(RunLine(3) + "\n", false).error);
    EXPECT_THAT(FileNames(), ElementsAre("deliveries.1.jsonl", "deliveries.3.jsonl", "deliveries.jsonl"));
    EXPECT_EQ(ReadFile("deliveries.3.jsonl"), RunLine(1) + "\n");
    EXPECT_EQ(ReadFile("deliveries.1.jsonl"), RunLine(2) + "\n");
}

TEST_F(LedgerFileTest, OneKeptFileStartsOverAtItsLimit)
{
    LedgerFile file(Files(RunLine(0).size() + 1, 1), OpenAppendFile, nullptr);
    ASSERT_FALSE(file.Append(RunLine(1) + "\n", false).error);
    ASSERT_FALSE(file.Append(RunLine(2) + "\n", false).error);
    EXPECT_THAT(FileNames(), ElementsAre("deliveries.jsonl"));
    EXPECT_EQ(ReadFile("deliveries.jsonl"), RunLine(2) + "\n");
}

TEST(LedgerFiles, RotatedNamesPutTheNumberBeforeTheExtension)
{
    const auto name = [](std::string file, std::uint32_t index) { return LedgerFiles{"f", file, 1, 4}.Name(index); };
    EXPECT_EQ(name("deliveries.jsonl", 0), "deliveries.jsonl");
    EXPECT_EQ(name("deliveries.jsonl", 3), "deliveries.3.jsonl");
    EXPECT_EQ(name("shop.orders.jsonl", 1), "shop.orders.1.jsonl");
    EXPECT_EQ(name("ledger", 2), "ledger.2");
    EXPECT_EQ(name(".jsonl", 1), ".jsonl.1");
}

TEST(LedgerFiles, OnlyPlainNamesInTheFolderAreLedgerNames)
{
    for (const char* good : {"deliveries.jsonl", "ledger", "é.jsonl", ".jsonl"})
        EXPECT_TRUE(IsLedgerFileName(good)) << good;
    for (const char* bad : {"", ".", "..", "../x.jsonl", "a/b.jsonl", "a\\b.jsonl", "C:x.jsonl", "a\tb"})
        EXPECT_FALSE(IsLedgerFileName(bad)) << bad;
}

}  // namespace
}  // namespace kestrova::test
