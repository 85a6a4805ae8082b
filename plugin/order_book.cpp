#include "plugin/order_book.h"

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
    } else if (fields.event.text != "started") {
        return "an order line of an unknown \"event\"";
    }
    line.id = fields.order.text;
    return {};
}

void OrderBook::Record(const OrderLine& line, LineLocation where)
{
    if ((size_ + 1) * 4 > slots_.size() * 3)
        Rebuild(std::max<std::size_t>(slots_.size() * 2, 1024), 0);
    const std::uint64_t hash = HashOf(line.id);
    Slot& slot = slots_[SlotFor(line.id, hash)];
    if (slot.idSize == 0) {
        if (ids_.size() + line.id.size() > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("more orders than the ledger can keep in memory");
        const auto idAt = static_cast<std::uint32_t>(ids_.size());
        ids_.append(line.id);
        slot.tag = static_cast<std::uint32_t>(hash >> 32);
        slot.idAt = idAt;
        slot.idSize = static_cast<std::uint8_t>(line.id.size());
        ++size_;
    }
    slot.latest = where;
    slot.hasOutcome = line.hasOutcome;
    slot.result = line.result;
}

std::optional<KnownOrder> OrderBook::Find(std::string_view id) const
{
    if (size_ == 0)
        return std::nullopt;
    const Slot& slot = slots_[SlotFor(id, HashOf(id))];
    if (slot.idSize == 0)
        return std::nullopt;
    return KnownOrder{slot.latest, slot.hasOutcome, slot.result};
}

void OrderBook::ForgetBefore(std::uint32_t generation) { Rebuild(slots_.size(), generation); }

std::size_t OrderBook::SlotFor(std::string_view id, std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t at = static_cast<std::size_t>(hash) & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.idSize == 0 || (slot.tag == tag && IdOf(slot) == id))
            return at;
    }
}

void OrderBook::Rebuild(std::size_t slots, std::uint32_t keepFrom)
{
    // Built aside and moved in: a failed allocation leaves the orders as they were.
    OrderBook fresh;
    fresh.slots_.resize(slots);
    fresh.ids_.reserve(ids_.size());
    for (const Slot& slot : slots_) {
        if (slot.idSize == 0 || slot.latest.generation < keepFrom)
            continue;
        const std::string_view id = IdOf(slot);
        Slot& moved = fresh.slots_[fresh.SlotFor(id, HashOf(id))];
        moved = slot;
        moved.idAt = static_cast<std::uint32_t>(fresh.ids_.size());
        fresh.ids_.append(id);
        ++fresh.size_;
    }
    *this = std::move(fresh);
}

}  // namespace kestrova
