// What the ledger's tests share: a folder of their own, the plugin log captured,
// and a disk that fails when a test says so.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/host.h"
#include "ledger/append_file.h"
#include "ledger/ledger.h"
#include "ledger/ledger_file.h"
#include "ledger/ledger_writer.h"

namespace kestrova::test {

// Files opened through it are real files; their writes and flushes fail on cue,
// as a full or failing disk makes them.
class FaultyDisk {
public:
    FaultyDisk();

    AppendFileOpener Opener() const;

    // From now on writes take `bytes` more bytes in all, then fail with "no space".
    void FullAfter(std::size_t bytes);
    // Flushes to the disk fail from now on.
    void FailSyncs();
    // Everything works again.
    void Heal();

    // Writes wait from now on until Release(); WaitForHeldWrite() returns once one does.
    void Hold();
    void Release();
    void WaitForHeldWrite();

    struct State;

private:
    std::shared_ptr<State> state_;
};

class LedgerTest : public ::testing::Test {
protected:
    LedgerTest();
    ~LedgerTest() override;

    // The ledger "deliveries.jsonl" in the test's folder.
    LedgerFiles Files(std::uint64_t maxBytes = 1 << 20, std::uint32_t kept = 4) const;

    const std::filesystem::path& Folder() const { return folder_; }
    std::string ReadFile(const std::string& name) const;
    void WriteFile(const std::string& name, const std::string& text) const;
    // The folder's file names, sorted.
    std::vector<std::string> FileNames() const;
    std::vector<std::string> LogLines() { return sink_->Lines(); }
    // The log whose lines LogLines() gives.
    const std::shared_ptr<spdlog::logger>& Logger() const { return logger_; }

    FaultyDisk disk_;

private:
    std::filesystem::path folder_;
    std::shared_ptr<sim::CapturingSink> sink_;
    std::shared_ptr<spdlog::logger> logger_;
};

// An order line as the plugin writes one.
std::string StartedLine(const std::string& order);
std::string OutcomeLine(const std::string& order, const std::string& result);
// A spawn command's line: not about an order.
std::string RunLine(int number);
// Makes `line` as it stands, on the writer's thread.
LineMaker Made(std::string line);

// Waits until `ledger` has read its files back; false when it has not within
// the time something quick may take.
bool ReadBack(Ledger& ledger);

}  // namespace kestrova::test
