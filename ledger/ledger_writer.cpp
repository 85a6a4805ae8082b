#include "ledger/ledger_writer.h"

#include <algorithm>

namespace kestrova {
namespace {

// How long a queued line may wait before the thread writes it out.
constexpr std::chrono::milliseconds kPace{200};
constexpr std::chrono::minutes kReportEvery{1};
// Lines are written in blocks of about this size, one write each.
constexpr std::uint64_t kBlockBytes = std::uint64_t{64} << 10;

// Room for a full queue from the start: queuing a line never moves the queue.
std::vector<LineMaker> RoomFor(std::size_t lines)
{
    std::vector<LineMaker> room;
    room.reserve(lines);
    return room;
}

}  // namespace

LedgerWriter::LedgerWriter(LedgerFile& file, std::size_t capacity, std::shared_ptr<spdlog::logger> logger)
    : file_(file), capacity_(std::max<std::size_t>(capacity, 1)), wakeAt_(std::max<std::size_t>(capacity_ / 2, 1)),
      logger_(std::move(logger)), queue_(RoomFor(capacity_))
{}

LedgerWriter::~LedgerWriter() { Stop(); }

void LedgerWriter::Start(std::function<void(const std::atomic<bool>& stopping)> first)
{
    std::lock_guard lock(mutex_);
    if (thread_.Started() || stopping_)
        return;
    first_ = std::move(first);
    StartThread();
}

bool LedgerWriter::Started() const
{
    std::lock_guard lock(mutex_);
    return thread_.Started();
}

void LedgerWriter::StartThread() { thread_.Start([this] { Run(); }); }

void LedgerWriter::Enqueue(LineMaker makeLine) noexcept
{
    try {
        std::unique_lock lock(mutex_);
        if (stopping_ || queue_.size() >= capacity_) {
            dropped_.fetch_add(1, std::memory_order_relaxed);
            return;
        }
        if (!thread_.Started())
            StartThread();
        queue_.push_back(std::move(makeLine));
        // Otherwise the thread wakes by itself: waking it costs the caller a system call.
        if (queue_.size() == wakeAt_) {
            lock.unlock();
            wake_.notify_one();
        }
    } catch (...) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
    }
}

void LedgerWriter::Stop() noexcept
{
    if (thread_.EndedUnasked()) {
        CountLeftoversAsLost();
    } else {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        stopAsked_ = true;
        wake_.notify_one();
        thread_.Join();
    }
    ReportLosses(true);  // also what was lost while no thread ran
}

// The process is ending and the system has ended the thread wherever it was,
// perhaps holding a lock that would never be given back: nothing here waits for one.
void LedgerWriter::CountLeftoversAsLost()
{
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock) {
        if (logger_) {
            try {
                logger_->error("Ledger {}: the writer ended with the process; lines it held may be lost",
                               file_.Files().name);
            } catch (...) {
            }
        }
        return;
    }
    stopping_ = true;
    dropped_.fetch_add(queue_.size(), std::memory_order_relaxed);
    queue_.clear();
}

LedgerLosses LedgerWriter::Losses() const
{
    return {dropped_.load(std::memory_order_relaxed), failed_.load(std::memory_order_relaxed)};
}

void LedgerWriter::Run()
{
    if (first_) {
        try {
            first_(stopAsked_);
        } catch (...) {
            // The task reports its own failures.
        }
    }
    std::vector<LineMaker> lines = RoomFor(capacity_);  // the queue after the first swap
    for (bool stopping = false; !stopping;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, kPace, [this] { return stopping_ || queue_.size() >= wakeAt_; });
            lines.swap(queue_);
            stopping = stopping_;
        }
        try {
            WriteOut(lines);
        } catch (...) {
            failed_.fetch_add(lines.size(), std::memory_order_relaxed);  // no memory for a block
        }
        lines.clear();
        ReportLosses(stopping);
    }
}

void LedgerWriter::WriteOut(const std::vector<LineMaker>& lines)
{
    if (lines.empty())
        return;
    const std::uint64_t blockLimit = std::min(kBlockBytes, file_.Files().maxBytes);
    std::string block;
    std::uint64_t inBlock = 0;
    std::uint64_t written = 0;
    std::uint64_t failed = 0;
    std::error_code lastError;
    auto writeBlock = [&] {
        if (const std::error_code error = file_.Append(block, false).error) {
            failed += inBlock;
            lastError = error;
        } else {
            written += inBlock;
        }
        block.clear();
        inBlock = 0;
    };
    std::uint64_t unmade = 0;
    for (const LineMaker& makeLine : lines) {
        std::string line;
        try {
            line = makeLine();
        } catch (...) {
            ++unmade;
            continue;
        }
        // A line holding '\n' would become two lines, neither of them whole.
        if (line.find('\n') != std::string::npos) {
            ++unmade;
            continue;
        }
        if (inBlock > 0 && block.size() + line.size() + 1 > blockLimit)
            writeBlock();
        block += line;
        block += '\n';
        ++inBlock;
    }
    if (inBlock > 0)
        writeBlock();
    dropped_.fetch_add(unmade, std::memory_order_relaxed);
    if (written > 0) {
        if (const std::error_code error = file_.Sync()) {
            failed += written;
            lastError = error;
        }
    }
    if (failed > 0) {
        failed_.fetch_add(failed, std::memory_order_relaxed);
        lastDiskError_ = lastError.message();
    }
}

void LedgerWriter::ReportLosses(bool now)
{
    const LedgerLosses losses = Losses();
    const auto time = std::chrono::steady_clock::now();
    if ((losses.dropped == reported_.dropped && losses.failed == reported_.failed) || (!now && time < nextReport_))
        return;
    const std::uint64_t dropped = losses.dropped - reported_.dropped;
    const std::uint64_t failed = losses.failed - reported_.failed;
    if (logger_) {
        try {
            logger_->error("Ledger {}: {} {} lost ({} not queued, {} the disk failed{}{})", file_.Files().name,
                           dropped + failed, dropped + failed == 1 ? "line" : "lines", dropped, failed,
                           failed > 0 ? ": " : "", failed > 0 ? lastDiskError_ : std::string());
        } catch (...) {
            // The count stays in Losses(); nothing else can be told.
        }
    }
    reported_ = losses;
    nextReport_ = time + kReportEvery;
}

}  // namespace kestrova
