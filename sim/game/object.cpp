#include "object.h"

#include <unordered_set>

namespace sim {
namespace {

std::unordered_set<const void*>& LiveObjects()
{
    static std::unordered_set<const void*> live;
    return live;
}

}  // namespace

Object::Object(Class* cls, std::string label) : ClassPrivate(cls), label(std::move(label))
{
    LiveObjects().insert(static_cast<const Object*>(this));
}

Object::~Object() { LiveObjects().erase(static_cast<const Object*>(this)); }

bool IsLiveObject(const void* pointer) { return LiveObjects().count(pointer) != 0; }

}  // namespace sim
