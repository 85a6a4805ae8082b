// The call journal: every simulated game member, when called, records its exact
// name, its receiver and its argument values, in order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Export.h"

namespace sim {

struct SDK_API JournalEntry {
    std::string member;            // the full member name, as resolved
    std::string receiver;          // the receiver's label; "" for a static function
    std::vector<std::string> args; // each argument's value as text

    std::string ToString() const;  // "receiver member(arg, arg)"
};

class SDK_API Journal {
public:
    void Record(JournalEntry entry) { entries_.push_back(std::move(entry)); }
    const std::vector<JournalEntry>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

    // The member names in order, for tests that assert a sequence.
    std::vector<std::string> Members() const;

    // Entries whose member name is `member`.
    std::vector<JournalEntry> CallsTo(std::string_view member) const;

private:
    std::vector<JournalEntry> entries_;
};

SDK_API Journal& GetJournal();

}  // namespace sim
