// The delivery ledger: an append-only file of JSON lines, one object per line,
// in the plugin's folder, and the orders it records.
//
//   Ledger ledger(LedgerSettings{{folder, "deliveries.jsonl", 64ull << 20, 4}});
//   ledger.Write([run] { return RunLine(run); });             // a command run: made and queued
//   if (const auto order = ledger.FindOrder(id)) ...          // a repeat
//   if (auto error = ledger.WriteDurable(started.dump())) ... // not run: say why
//
// Order lines ("started" and "outcome", with an "order" id) go through
// WriteDurable, which returns once the line is on the disk itself; every other
// line goes through Write. Lines are never rewritten: the current file is
// rotated to "deliveries.1.jsonl" (the older ones move up, the oldest of the
// kept files is deleted) before it would grow past its size limit, and orders
// whose lines have all been rotated out are forgotten.
//
// One thread calls a Ledger (the game thread); it reads the kept files back,
// then writes ordinary lines out, on a thread of its own, so the caller never
// waits for either. Until the files are read back the ledger knows no order:
// Ready() says when it does.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include <nlohmann/json.hpp>
#include <spdlog/logger.h>

#include "ledger/append_file.h"
#include "ledger/ledger_file.h"
#include "ledger/ledger_writer.h"
#include "ledger/order_book.h"

namespace kestrova {

struct LedgerSettings {
    LedgerFiles files;
    std::size_t queueLines = 16384;                    // ordinary lines that may wait for the writer
    AppendFileOpener openFile = OpenAppendFile;        // tests hand in a disk that fails
    std::shared_ptr<spdlog::logger> logger = nullptr;  // hears of damage, losses and failed rotations; may be null
};

class Ledger {
public:
    // Checks the files; the current file is opened, or created, at the first
    // write. The kept files are read back (their damage and the count of known
    // orders go to the settings' log) on the ledger's thread, from StartReading or
    // the first use on. Throws std::invalid_argument when the file
    // name is not a plain name in the folder or a kept file is there but is not
    // a regular file (and std::bad_alloc as anything may).
    explicit Ledger(LedgerSettings settings);
    // Stops.
    ~Ledger();

    // Starts reading the kept files back on the ledger's thread; lines written
    // meanwhile wait in the queue. Nothing when it has started already.
    void StartReading() noexcept;

    // Whether the kept files have been read back; starts reading them if not yet.
    bool Ready() noexcept;
    Ledger(const Ledger&) = delete;
    Ledger& operator=(const Ledger&) = delete;

    // Queues an ordinary line, made on the writer's thread so that the caller
    // does not pay for building it: one JSON object without '\n'. It reaches
    // the file within a second; a line that is not made, or that the queue or
    // the disk cannot take, is counted in Losses() and logged within a minute.
    void Write(LineMaker makeLine) noexcept;

    // Appends an order line (or any line that must not be lost) and makes it
    // durable before it returns; the known orders then include it. An error
    // means it cannot be relied on (the disk failed, or the line is not one JSON
    // object whose "order", if any, is a valid order id with a known "event");
    // a line that failed may still have reached the file, as a torn line or
    // whole, and a "started" line so left makes the order count as interrupted.
    // Before the files are read back, nothing is written (resource unavailable
    // and try again): the orders they know could not include it.
    std::error_code WriteDurable(std::string_view line) noexcept;

    // The order with this id, if the kept files record it; nothing until they
    // are read back.
    std::optional<KnownOrder> FindOrder(std::string_view id) const;

    // The "outcome" object of an order's outcome line, re-read from its file,
    // and the line's "time"; nothing when the order has no outcome or the line
    // cannot be read back.
    struct Recorded {
        nlohmann::json outcome;
        std::string time;
    };
    std::optional<Recorded> RecordedOutcome(std::string_view id) const;

    // The order's latest line, re-read from its file, when it is the order's
    // line of `event` ("outcome", "settled"); nothing when it is not or cannot
    // be read back.
    std::optional<nlohmann::json> LatestLine(std::string_view id, std::string_view event) const;

    LedgerLosses Losses() const { return writer_.Losses(); }
    std::size_t OrdersKnown() const { return read_.load(std::memory_order_acquire) ? orders_.Size() : 0; }

    // Writes out the queued lines and ends the writer; Write drops lines after it.
    void Stop() noexcept { writer_.Stop(); }

private:
    std::uint32_t OldestKeptGeneration() const;
    void ReadBack(const std::atomic<bool>& stopping);

    const std::shared_ptr<spdlog::logger> logger_;
    LedgerFile file_;
    // Filled on the ledger's thread until read_ is set; the caller's from then on.
    OrderBook orders_;
    std::atomic<bool> read_{false};
    std::uint32_t forgottenBefore_ = 0;
    LedgerWriter writer_;
};

}  // namespace kestrova
