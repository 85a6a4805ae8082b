// Reading the ledger back at start: its kept files, oldest first, rebuild the
// orders it knows. Damage never stops the reading: a torn last line (the
// process died while writing it) is ignored, a damaged line anywhere else is
// skipped, and each is described for the log.
#pragma once

#include <string>
#include <vector>

#include "plugin/ledger_file.h"
#include "plugin/order_book.h"

namespace kestrova {

struct LedgerReading {
    OrderBook orders;
    std::vector<std::string> problems;  // one log line each
    std::size_t filesRead = 0;
};

LedgerReading ReadLedger(const LedgerFiles& files);

}  // namespace kestrova
