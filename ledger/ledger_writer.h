// The background writer of ordinary ledger lines. The calling thread only
// queues a line; one thread of the writer's own writes the queue out several
// times a second and makes it durable, so the caller never waits for the disk.
// Nothing is lost silently: a line that finds the queue full, or that the disk
// fails to take, is counted, and the count is logged at most once a minute.
// The thread starts with the first line, so a writer that never had one leaves
// nothing to end (on Windows it must not start under the loader's lock).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <spdlog/logger.h>

#include "ledger/ledger_file.h"
#include "ledger/writer_thread.h"

namespace kestrova {

// Makes one line, without its '\n', on the writer's thread: what building it
// costs is spent there, not on the thread that queued it.
using LineMaker = std::function<std::string()>;

struct LedgerLosses {
    std::uint64_t dropped = 0;  // the queue was full, the writer had stopped, or the line held '\n' or was not made
    std::uint64_t failed = 0;   // the disk did not take them, or did not confirm them durable
};

class LedgerWriter {
public:
    // `capacity` lines may wait in the queue (room for them, 32 bytes each
    // and twice over, is taken at once); `logger` (may be null) hears of losses.
    LedgerWriter(LedgerFile& file, std::size_t capacity, std::shared_ptr<spdlog::logger> logger);
    ~LedgerWriter();
    LedgerWriter(const LedgerWriter&) = delete;
    LedgerWriter& operator=(const LedgerWriter&) = delete;

    // Starts the thread now, to run `first` before it writes any line (lines
    // queued meanwhile wait); `first` is told when Stop is asking it to end.
    // Throws std::system_error when no thread can be made. Without it, the
    // thread starts with the first line.
    void Start(std::function<void(const std::atomic<bool>& stopping)> first);
    bool Started() const;

    // Queues a line made on the writer's thread, in its turn; one that throws or
    // holds '\n' is dropped.
    void Enqueue(LineMaker makeLine) noexcept;

    // Writes out everything queued, reports any loss not yet reported and ends
    // the thread. Lines queued afterwards are dropped.
    void Stop() noexcept;

    LedgerLosses Losses() const;

private:
    void Run();
    void StartThread();
    void CountLeftoversAsLost();
    void WriteOut(const std::vector<LineMaker>& lines);
    void ReportLosses(bool now);

    LedgerFile& file_;
    const std::size_t capacity_;
    const std::size_t wakeAt_;  // a queue this long wakes the thread before its time
    const std::shared_ptr<spdlog::logger> logger_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<LineMaker> queue_;
    bool stopping_ = false;
    std::atomic<bool> stopAsked_{false};  // for the first task, which holds no lock
    std::function<void(const std::atomic<bool>&)> first_;

    std::atomic<std::uint64_t> dropped_{0};
    std::atomic<std::uint64_t> failed_{0};
    // The writer thread's own: what was last reported, and when the next report may come.
    LedgerLosses reported_;
    std::string lastDiskError_;
    std::chrono::steady_clock::time_point nextReport_{};

    WriterThread thread_;  // last: it is joined before anything above goes
};

}  // namespace kestrova
