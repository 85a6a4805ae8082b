#include "ledger/order_book.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <stdexcept>
#include <utility>

namespace kestrova {
namespace {

bool IsOrderIdCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == ':' || c == '-';
}

std::uint64_t HashOf(std::string_view id) { return std::hash<std::string_view>{}(id); }

OrderResult ResultFromText(std::string_view text)
{
    if (text == "delivered")
        return OrderResult::Delivered;
    if (text == "kept-in-world")
        return OrderResult::KeptInWorld;
    if (text == "partly")
        return OrderResult::Partly;
    if (text == "nothing")
        return OrderResult::Nothing;
    if (text == "failed")
        return OrderResult::Failed;
    return OrderResult::Other;
}

OrderSettlement SettlementFromText(const LedgerLineFields::Field& decision)
{
    if (decision.kind != LedgerLineFields::Kind::Text)
        return OrderSettlement::None;
    if (decision.text == "delivered")
        return OrderSettlement::Delivered;
    if (decision.text == "not-delivered")
        return OrderSettlement::NotDelivered;
    return OrderSettlement::None;
}

}  // namespace

bool IsValidOrderId(std::string_view id)
{
    return !id.empty() && id.size() <= 64 && std::all_of(id.begin(), id.end(), IsOrderIdCharacter);
}

std::string_view ReadOrderLine(const LedgerLineFields& fields, OrderLine& line)
{
    using Kind = LedgerLineFields::Kind;
    line = {};
    if (fields.order.kind == Kind::Absent)
        return {};
    if (fields.order.kind != Kind::Text || !IsValidOrderId(fields.order.text))
        return "its \"order\" is not an order id";
    if (fields.event.kind != Kind::Text)
        return "an order line without an \"event\"";
    if (fields.event.text == "outcome") {
        if (fields.result.kind != Kind::Text)
            return "an outcome line without a \"result\"";
        line.hasOutcome = true;
        line.result = ResultFromText(fields.result.text);
    } else if (fields.event.text == "settled") {
        line.settlement = SettlementFromText(fields.decision);
        if (line.settlement == OrderSettlement::None)
            return "a settled line without a \"decision\" of delivered or not-delivered";
    } else if (fields.event.text != "started") {
        return "an order line of an unknown \"event\"";
    }
    line.id = fields.order.text;
    return {};
}

void OrderBook::Record(const OrderLine& line, LineLocation where)
{
    if ((entries_.size() + 1) * 4 > index_.size() * 3)
        Reindex(std::max<std::size_t>(index_.size() * 2, 1024));
    const std::uint64_t hash = HashOf(line.id);
    Slot& slot = index_[SlotFor(line.id, hash)];
    if (slot.entry == 0) {
        constexpr std::size_t kMost = std::numeric_limits<std::uint32_t>::max() - 1;
        if (entries_.size() >= kMost || ids_.size() + line.id.size() > kMost)
            throw std::length_error("more orders than the ledger can keep in memory");
        Entry entry;
        entry.idAt = static_cast<std::uint32_t>(ids_.size());
        entry.idSize = static_cast<std::uint8_t>(line.id.size());
        ids_.append(line.id);  // first: an entry always has its id
        entries_.push_back(entry);
        slot = {static_cast<std::uint32_t>(entries_.size()), static_cast<std::uint32_t>(hash >> 32)};
    }
    Entry& entry = entries_[slot.entry - 1];
    entry.latest = where;
    entry.hasOutcome = line.hasOutcome;
    entry.result = line.result;
    entry.settlement = line.settlement;
}

void OrderBook::Reserve(std::size_t orders)
{
    std::size_t slots = 1024;
    while (slots * 3 < orders * 4)
        slots *= 2;
    if (slots > index_.size())
        Reindex(slots);
}

std::optional<KnownOrder> OrderBook::Find(std::string_view id) const
{
    if (entries_.empty())
        return std::nullopt;
    const Slot& slot = index_[SlotFor(id, HashOf(id))];
    if (slot.entry == 0)
        return std::nullopt;
    const Entry& entry = entries_[slot.entry - 1];
    return KnownOrder{entry.latest, entry.hasOutcome, entry.result, entry.settlement};
}

void OrderBook::ForgetBefore(std::uint32_t generation)
{
    // Built aside and moved in: a failed allocation leaves the orders as they were.
    OrderBook kept;
    kept.ids_.reserve(ids_.size());
    for (const Entry& entry : entries_) {
        if (entry.latest.generation < generation)
            continue;
        Entry moved = entry;
        moved.idAt = static_cast<std::uint32_t>(kept.ids_.size());
        kept.ids_.append(IdOf(entry));
        kept.entries_.push_back(moved);
    }
    kept.Reindex(index_.size());
    *this = std::move(kept);
}

std::size_t OrderBook::SlotFor(std::string_view id, std::uint64_t hash) const
{
    const std::size_t mask = index_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t at = static_cast<std::size_t>(hash) & mask;; at = (at + 1) & mask) {
        const Slot& slot = index_[at];
        if (slot.entry == 0 || (slot.tag == tag && IdOf(entries_[slot.entry - 1]) == id))
            return at;
    }
}

void OrderBook::Reindex(std::size_t slots)
{
    std::vector<Slot> index(slots);
    const std::size_t mask = slots - 1;
    for (std::size_t number = 0; number < entries_.size(); ++number) {
        const std::uint64_t hash = HashOf(IdOf(entries_[number]));
        std::size_t at = static_cast<std::size_t>(hash) & mask;
        while (index[at].entry != 0)
            at = (at + 1) & mask;
        index[at] = {static_cast<std::uint32_t>(number + 1), static_cast<std::uint32_t>(hash >> 32)};
    }
    index_ = std::move(index);
}

}  // namespace kestrova
