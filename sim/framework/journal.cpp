#include "journal.h"

namespace sim {

std::string JournalEntry::ToString() const
{
    std::string text = receiver.empty() ? member : receiver + " " + member;
    text += " <- (";
    for (std::size_t i = 0; i < args.size(); ++i)
        text += (i ? ", " : "") + args[i];
    return text + ")";
}

std::vector<std::string> Journal::Members() const
{
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const auto& entry : entries_)
        names.push_back(entry.member);
    return names;
}

std::vector<JournalEntry> Journal::CallsTo(std::string_view member) const
{
    std::vector<JournalEntry> calls;
    for (const auto& entry : entries_)
        if (entry.member == member)
            calls.push_back(entry);
    return calls;
}

Journal& GetJournal()
{
    static Journal journal;
    return journal;
}

}  // namespace sim
