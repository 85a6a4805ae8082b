// Every game member the plugin uses, and what stops working when the game lacks
// it. Load asks the host for each once and logs, in one line, the ones the game
// lacks; the commands still resolve every name at each use.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrova {

// What needs a member.
enum class MemberNeed : std::uint8_t {
    Creatures = 1,  // KV.SpawnDino, KV.SpawnDinoStats and their targeted forms
    Items = 2,      // KV.SpawnItem and its targeted form
    Replies = 4,    // the reply of every RCON command
    Optional = 8,   // only a detail of a ledger line: nothing fails without it
};

struct CensusRow {
    std::string_view name;
    bool (*present)();    // asks the host, without using the member
    std::uint8_t needs;   // MemberNeed bits
};

std::span<const CensusRow> MemberCensus();

// What the game's lack of the member means, for the log:
// "KV.SpawnDino, KV.SpawnDinoStats and their targeted forms will fail until the plugin is updated".
std::string WhatFailsWithout(const CensusRow& row);

// "Kestrova: the game has no member X; <what fails>", the members the game lacks
// one after another, or empty when it has them all.
std::string MissingMembersLine();

// At Load: logs MissingMembersLine, when it is not empty.
void LogMissingMembers() noexcept;

}  // namespace kestrova
