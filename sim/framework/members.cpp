#include "members.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_map>

namespace sim {
namespace {

// Heterogeneous lookup, so resolving a string_view allocates nothing.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};

using Table = std::unordered_map<std::string, Member, NameHash, std::equal_to<>>;

Table& Members()
{
    static Table table;
    return table;
}

std::uint64_t& Resolutions()
{
    static std::uint64_t count = 0;
    return count;
}

thread_local int gameCodeDepth = 0;

const Member& Resolve(std::string_view name, MemberKind kind)
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
    return found->second;
}

const char* KindText(MemberUse::Kind kind)
{
    return kind == MemberUse::Kind::Method ? "method" : kind == MemberUse::Kind::Static ? "static function" : "field";
}

// A use that does not match the declaration would pass arguments and results in
// the wrong places: the game would crash somewhere later, so this stops now.
const Member& ResolveChecked(std::string_view name, MemberKind kind, const MemberUse& use)
{
    const Member& member = Resolve(name, kind);
    if (member.declared.type.empty())
        Fatal("cannot be resolved checked", name);
    if (member.declared.kind != use.kind || member.declared.type != use.type) {
        const std::string what = std::string("used with another signature than the game declares (used as ") +
                                 KindText(use.kind) + " " + std::string(use.type) + "; declared " +
                                 KindText(member.declared.kind) + " " + std::string(member.declared.type) + ")";
        Fatal(what, name);
    }
    return member;
}

}  // namespace

void RegisterMember(std::string name, const Member& member) { Members().insert_or_assign(std::move(name), member); }
void ClearMembers() { Members().clear(); }
bool HasMember(std::string_view name) { return Members().find(name) != Members().end(); }
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

void* GetAddress(std::string_view name) { return sim::Resolve(name, sim::MemberKind::Function).function; }

void* GetAddress(const void* object, std::string_view name)
{
    const sim::Member& member = sim::Resolve(name, sim::MemberKind::Field);
    if (object == nullptr)
        sim::Fatal("field of a null object", name);
    return member.field(const_cast<void*>(object));
}

void* GetCheckedAddress(std::string_view name, const MemberUse& use)
{
    return sim::ResolveChecked(name, sim::MemberKind::Function, use).function;
}

void* GetCheckedAddress(const void* object, std::string_view name, const MemberUse& use)
{
    const sim::Member& member = sim::ResolveChecked(name, sim::MemberKind::Field, use);
    if (object == nullptr)
        sim::Fatal("field of a null object", name);
    return member.field(const_cast<void*>(object));
}

BitField GetBitField(const void* object, std::string_view name)
{
    const sim::Member& member = sim::Resolve(name, sim::MemberKind::BitField);
    if (object == nullptr)
        sim::Fatal("bitfield of a null object", name);
    return member.bitfield(const_cast<void*>(object));
}
