#include "object.h"

#include <array>
#include <cstdint>
#include <unordered_set>

namespace sim {
namespace {

// The live objects, spread over many small sets: growing one rehashes only a
// sliver of them, so a server that has made millions of objects never stops a
// request to grow one big table.
constexpr std::size_t kShards = 4096;
using LiveShards = std::array<std::unordered_set<const void*>, kShards>;

LiveShards& LiveObjects()
{
    static LiveShards live;
    return live;
}

std::unordered_set<const void*>& ShardOf(const void* pointer)
{
    const auto bits = reinterpret_cast<std::uintptr_t>(pointer);
    return LiveObjects()[((bits >> 4) ^ (bits >> 16)) % kShards];
}

}  // namespace

Object::Object(Class* cls, std::string objectLabel) : ClassPrivate(cls), label(std::move(objectLabel))
{
    ShardOf(static_cast<const Object*>(this)).insert(static_cast<const Object*>(this));
}

Object::~Object() { ShardOf(static_cast<const Object*>(this)).erase(static_cast<const Object*>(this)); }

bool IsLiveObject(const void* pointer) { return ShardOf(pointer).count(pointer) != 0; }

}  // namespace sim
