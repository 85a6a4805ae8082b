#include "members.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

namespace sim {
namespace {

// Heterogeneous lookup, so resolving a string_view allocates nothing.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};

using Table = std::unordered_map<std::string, Member, NameHash, std::equal_to<>>;
using NameSet = std::unordered_set<std::string, NameHash, std::equal_to<>>;

Table& Members()
{
    static Table table;
    return table;
}

NameSet& Withheld()
{
    static NameSet names;
    return names;
}

// What a field asked with a null object gives when the game has it: as a real
// host gives the field's offset, something that is not null and is no address.
void* const kFieldPresent = reinterpret_cast<void*>(std::uintptr_t{8});

std::uint64_t& Resolutions()
{
    static std::uint64_t count = 0;
    return count;
}

thread_local int gameCodeDepth = 0;

// The member, or null when it is withheld.
const Member* Resolve(std::string_view name, MemberKind kind)
{
    if (gameCodeDepth == 0)
        ++Resolutions();
    const auto found = Members().find(name);
    if (found == Members().end())
        Fatal("unresolved game member", name);
    if (found->second.kind != kind)
        Fatal(kind == MemberKind::Function ? "not a function"
              : kind == MemberKind::Field  ? "not a field"
                                           : "not a bitfield",
              name);
    if (!Withheld().empty() && Withheld().contains(name))
        return nullptr;
    return &found->second;
}

const char* KindText(MemberUse::Kind kind)
{
    return kind == MemberUse::Kind::Method ? "method" : kind == MemberUse::Kind::Static ? "static function" : "field";
}

// A use that does not match the declaration would pass arguments and results in
// the wrong places: the game would crash somewhere later, so this stops now.
const Member* ResolveChecked(std::string_view name, MemberKind kind, const MemberUse& use)
{
    const Member* found = Resolve(name, kind);
    if (found == nullptr)
        return nullptr;
    const Member& member = *found;
    if (member.declared.type.empty())
        Fatal("cannot be resolved checked", name);
    if (member.declared.kind != use.kind || member.declared.type != use.type) {
        const std::string what = std::string("used with another signature than the game declares (used as ") +
                                 KindText(use.kind) + " " + std::string(use.type) + "; declared " +
                                 KindText(member.declared.kind) + " " + std::string(member.declared.type) + ")";
        Fatal(what, name);
    }
    return found;
}

void* FieldAddress(const Member* member, const void* object)
{
    if (member == nullptr)
        return nullptr;
    if (object == nullptr)
        return kFieldPresent;
    return member->field(const_cast<void*>(object));
}

}  // namespace

void RegisterMember(std::string name, const Member& member) { Members().insert_or_assign(std::move(name), member); }
void ClearMembers()
{
    Members().clear();
    Withheld().clear();
}

bool HasMember(std::string_view name) { return Members().find(name) != Members().end(); }

std::vector<std::string> MemberNames(MemberKind kind)
{
    std::vector<std::string> names;
    for (const auto& [name, member] : Members())
        if (member.kind == kind && (kind != MemberKind::Function || !member.declared.type.empty()))
            names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

bool WithholdMember(std::string_view name)
{
    if (!HasMember(name))
        return false;
    Withheld().emplace(name);
    return true;
}

bool IsWithheld(std::string_view name) { return Withheld().contains(name); }
std::uint64_t ResolutionCount() { return Resolutions(); }
void ResetResolutionCount() { Resolutions() = 0; }
void EnterGameCode() { ++gameCodeDepth; }
void LeaveGameCode() { --gameCodeDepth; }

void Fatal(std::string_view what, std::string_view name)
{
    std::fprintf(stderr, "kestrova-sim: %.*s: %.*s\n", static_cast<int>(what.size()), what.data(),
                 static_cast<int>(name.size()), name.data());
    std::fflush(stderr);
    std::abort();
}

}  // namespace sim

void* GetAddress(std::string_view name)
{
    const sim::Member* member = sim::Resolve(name, sim::MemberKind::Function);
    return member != nullptr ? member->function : nullptr;
}

void* GetAddress(const void* object, std::string_view name)
{
    return sim::FieldAddress(sim::Resolve(name, sim::MemberKind::Field), object);
}

void* GetCheckedAddress(std::string_view name, const MemberUse& use)
{
    const sim::Member* member = sim::ResolveChecked(name, sim::MemberKind::Function, use);
    return member != nullptr ? member->function : nullptr;
}

void* GetCheckedAddress(const void* object, std::string_view name, const MemberUse& use)
{
    return sim::FieldAddress(sim::ResolveChecked(name, sim::MemberKind::Field, use), object);
}

BitField GetBitField(const void* object, std::string_view name)
{
    const sim::Member* member = sim::Resolve(name, sim::MemberKind::BitField);
    if (member == nullptr)
        return {};
    if (object == nullptr)
        return {nullptr, 0, 1};  // the game has it
    return member->bitfield(const_cast<void*>(object));
}
