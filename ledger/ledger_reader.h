// Reading the ledger back at start: its kept files, oldest first, rebuild the
// orders it knows. Damage never stops the reading: a torn last line (the
// process died while writing it) is ignored, a damaged line anywhere else is
// skipped, and each is described for the log.
//
// The reading holds a few megabytes whatever the files hold: a line longer than
// kLongestLedgerLine is skipped as damaged while it is read, never held whole,
// and a run of NUL bytes (what a power cut can leave on some filesystems) is
// damage reported once, with its byte range, however many lines it spans.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "ledger/ledger_file.h"
#include "ledger/order_book.h"

namespace kestrova {

struct LedgerReading {
    OrderBook orders;
    std::vector<std::string> problems;  // one log line each
    std::size_t filesRead = 0;
};

// A real line is a few hundred bytes; one that runs a command line the host
// took whole stays well under 100 KB.
inline constexpr std::size_t kLongestLedgerLine = std::size_t{1} << 20;

// Reads the kept files; stops early, with what it read so far, once `stop` is
// set (the ledger is closing).
LedgerReading ReadLedger(const LedgerFiles& files, const std::atomic<bool>* stop = nullptr);

}  // namespace kestrova
