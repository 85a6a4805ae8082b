// The few fields of a ledger line that the orders depend on, found without
// building the line's whole JSON value: a ledger of a million orders is read in
// well under a second this way. The line is still checked whole: anything that
// is not one JSON object is reported as not one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

struct LedgerLineFields {
    enum class Kind : std::uint8_t {
        Absent,   // no such member
        Text,     // a JSON string: `text` holds it, unescaped
        NotText,  // a member of another type
    };
    struct Field {
        Kind kind = Kind::Absent;
        std::string_view text;
    };

    Field order;   // the top level's "order"
    Field event;   // the top level's "event"
    Field result;    // "result" of the top level's "outcome" object
    Field decision;  // the top level's "decision"

    LedgerLineFields() = default;
    // The texts may point into `decoded`, so a copy would point into its original.
    LedgerLineFields(const LedgerLineFields&) = delete;
    LedgerLineFields& operator=(const LedgerLineFields&) = delete;

    // The texts of a line whose fields had to be unescaped.
    std::string decoded[4];
};

// Fills `fields` from `line` (without its '\n'); false when the line is not a
// JSON object. Where two members share a name, the last counts, as in a parse.
// Numbers are checked for their form, not their size: unlike a parse, this
// takes 1e999 (no writer of ledger lines makes one; JSON has no infinity).
bool ScanLedgerLine(std::string_view line, LedgerLineFields& fields);

}  // namespace kestrova
