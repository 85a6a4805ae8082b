// The member table: every game member the plugin may reach, by exact name.
//
// The simulated game fills it; GetAddress and GetBitField read it. Lookup takes a
// string_view and allocates nothing. A name that is not in the table, or one used
// as the wrong kind of member, is a fault of the caller: it is reported with the
// name and the process stops, rather than handing back a null to crash on later.
// A member withheld (the host of a game that lacks it) resolves as Resolve.h says
// a missing member does: empty. A field or bitfield asked with a null object
// answers whether the game has it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CheckedResolve.h"

namespace sim {

enum class MemberKind { Function, Field, BitField };

struct Member {
    MemberKind kind = MemberKind::Function;
    void* function = nullptr;                          // Function
    void* (*field)(void* object) = nullptr;            // Field: its address inside object
    BitField (*bitfield)(void* object) = nullptr;      // BitField: its word inside object
    // How the game declares it, for checked resolution: a method or a static
    // function with the spelling of R(Args...), or a field with its type's.
    // Members registered without one (the allocator) cannot be resolved checked.
    MemberUse declared{};
};

SDK_API void RegisterMember(std::string name, const Member& member);
SDK_API void ClearMembers();
SDK_API bool HasMember(std::string_view name);
// The names of the members of that kind, sorted; for functions, only those the
// plugin can call (the allocator is the host's own).
SDK_API std::vector<std::string> MemberNames(MemberKind kind);

// From now until ClearMembers, `name` resolves as a member the game lacks. False,
// and nothing withheld, when no member has that name.
SDK_API bool WithholdMember(std::string_view name);
SDK_API bool IsWithheld(std::string_view name);

// Resolutions made since start (or since the last reset), for benchmarks and tests.
// Only the plugin's count: the game's own code, running inside a game member,
// reaches its allocator directly on a real server, without resolving a name.
SDK_API std::uint64_t ResolutionCount();
SDK_API void ResetResolutionCount();

// Brackets the game's own code (a game member's body) on the calling thread.
SDK_API void EnterGameCode();
SDK_API void LeaveGameCode();

class GameCodeScope {
public:
    GameCodeScope() { EnterGameCode(); }
    ~GameCodeScope() { LeaveGameCode(); }
    GameCodeScope(const GameCodeScope&) = delete;
    GameCodeScope& operator=(const GameCodeScope&) = delete;
};

// Stops the process with a message that names the fault. Used for faults that a
// real server would turn into a crash somewhere later.
[[noreturn]] SDK_API void Fatal(std::string_view what, std::string_view name);

}  // namespace sim
