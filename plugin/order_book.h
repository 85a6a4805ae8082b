// The orders the ledger knows, by id, rebuilt from the ledger's lines.
//
// Each known order costs one hash-map entry: its id (kept inline up to 15
// characters, in a block of its own beyond) and a KnownOrder of 24 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "plugin/ledger_line.h"
#include "plugin/ledger_location.h"

namespace kestrova {

// 1 to 64 characters of A-Z a-z 0-9 . _ : -
bool IsValidOrderId(std::string_view id);

// The "result" of an order's recorded outcome.
enum class OrderResult : std::uint8_t { Delivered, KeptInWorld, Partly, Nothing, Failed, Other };

struct KnownOrder {
    // The order's latest line: its outcome line once it has one.
    LineLocation latest;
    // False while only a "started" line is known: the server stopped between the
    // start and the outcome, so the order was interrupted and may have delivered.
    bool hasOutcome = false;
    OrderResult result = OrderResult::Other;  // when hasOutcome

    // A repeated order runs again only when its outcome gave the player nothing.
    bool RunsAgain() const { return hasOutcome && result == OrderResult::Nothing; }
};

// What one ledger line says about an order.
struct OrderLine {
    std::string_view id;  // empty: the line is not about an order (it has no "order")
    bool hasOutcome = false;
    OrderResult result = OrderResult::Other;
};

// Reads `fields` as an order line; returns why the line is damaged, or empty.
std::string_view ReadOrderLine(const LedgerLineFields& fields, OrderLine& line);

class OrderBook {
public:
    // The order's latest line, read or just written at `where`. A later line
    // replaces what an earlier one said: a retry that runs again writes a new
    // "started" line after an outcome that gave nothing.
    void Record(const OrderLine& line, LineLocation where);

    const KnownOrder* Find(std::string_view id) const;
    std::size_t Size() const { return orders_.size(); }

    // Forgets the orders whose latest line lies in a file older than `generation`.
    void ForgetBefore(std::uint32_t generation);

private:
    struct IdHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view id) const noexcept { return std::hash<std::string_view>{}(id); }
    };
    std::unordered_map<std::string, KnownOrder, IdHash, std::equal_to<>> orders_;
};

}  // namespace kestrova
