// The orders the ledger knows, by id, rebuilt from the ledger's lines.
//
// Each known order costs its id's characters, an entry of 24 bytes and 8 bytes
// in an index kept between 3/8 and 3/4 full: 47 to 60 bytes in all for an id of
// 12 characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/ledger_line.h"
#include "ledger/ledger_location.h"

namespace kestrova {

// 1 to 64 characters of A-Z a-z 0-9 . _ : -
bool IsValidOrderId(std::string_view id);

// The "result" of an order's recorded outcome.
enum class OrderResult : std::uint8_t { Delivered, KeptInWorld, Partly, Nothing, Failed, Other };

// A person's decision on an interrupted order: whether the player got the good.
enum class OrderSettlement : std::uint8_t { None, Delivered, NotDelivered };

struct KnownOrder {
    // The order's latest line: its outcome line once it has one.
    LineLocation latest;
    // False while only a "started" line is known: the server stopped between the
    // start and the outcome, so the order was interrupted and may have delivered.
    bool hasOutcome = false;
    OrderResult result = OrderResult::Other;  // when hasOutcome
    // Set by a "settled" line after the "started" one, until the order starts again.
    OrderSettlement settlement = OrderSettlement::None;

    // A repeated order runs again only when the player got nothing: its outcome
    // gave nothing, or a person settled that it was not delivered.
    bool RunsAgain() const
    {
        return (hasOutcome && result == OrderResult::Nothing) || settlement == OrderSettlement::NotDelivered;
    }
};

// What one ledger line says about an order.
struct OrderLine {
    std::string_view id;  // empty: the line is not about an order (it has no "order")
    bool hasOutcome = false;
    OrderResult result = OrderResult::Other;
    OrderSettlement settlement = OrderSettlement::None;
};

// Reads `fields` as an order line; returns why the line is damaged, or empty.
std::string_view ReadOrderLine(const LedgerLineFields& fields, OrderLine& line);

class OrderBook {
public:
    // The order's latest line, read or just written at `where`; `line` is one
    // that ReadOrderLine took, about an order (its id is valid). A later line
    // replaces what an earlier one said: a retry that runs again writes a new
    // "started" line after an outcome that gave nothing.
    void Record(const OrderLine& line, LineLocation where);

    // Sizes the index for `orders` orders at once: a load then seldom grows it.
    void Reserve(std::size_t orders);

    std::optional<KnownOrder> Find(std::string_view id) const;
    std::size_t Size() const { return entries_.size(); }

    // Forgets the orders whose latest line lies in a file older than `generation`.
    void ForgetBefore(std::uint32_t generation);

private:
    // The orders lie one after another in the order they first came, with
    // their ids; an open-addressing index finds them. A look-up touches one
    // slot of a small index, where a node-based map chases three pointers
    // through a large heap: that was most of the time a load took.
    struct Entry {
        LineLocation latest;
        std::uint32_t idAt = 0;  // where the id begins in ids_
        std::uint8_t idSize = 0;
        bool hasOutcome = false;
        OrderResult result = OrderResult::Other;
        OrderSettlement settlement = OrderSettlement::None;
    };
    struct Slot {
        std::uint32_t entry = 0;  // the entry's number plus one; 0: a free slot
        std::uint32_t tag = 0;    // the high half of the id's hash
    };

    // The slot that holds `id`, or the free slot where it would go.
    std::size_t SlotFor(std::string_view id, std::uint64_t hash) const;
    std::string_view IdOf(const Entry& entry) const { return std::string_view(ids_).substr(entry.idAt, entry.idSize); }
    // An index of `slots` slots (a power of two) over the same entries.
    void Reindex(std::size_t slots);

    std::vector<Entry> entries_;
    std::string ids_;  // every entry's id, one after another
    std::vector<Slot> index_;
};

}  // namespace kestrova
