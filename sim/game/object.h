// The simulated game's objects. Every object the game hands to the plugin is an
// Object; the plugin holds it as an opaque pointer and reaches its members only
// through the member table.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "framework/host.h"
#include "framework/members.h"

namespace sim {

class Class;

class Object {
public:
    Object(Class* cls, std::string objectLabel);
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    Class* ClassPrivate;  // UObjectBase.ClassPrivate
    std::string label;    // how the journal and the console name this object
};

// A game class. Classes are objects too, as in the game.
class Class : public Object {
public:
    Class(std::string className, Class* superClass)
        : Object(nullptr, "Class:" + className), name(std::move(className)), super(superClass)
    {}

    bool IsChildOf(const Class* other) const
    {
        for (const Class* c = this; c != nullptr; c = c->super)
            if (c == other)
                return true;
        return false;
    }

    bool HasFunction(std::string_view function) const
    {
        for (const Class* c = this; c != nullptr; c = c->super)
            if (c->functions.count(std::string(function)) != 0)
                return true;
        return false;
    }

    std::string name;                  // "Raptor_Character_BP_C"
    Class* super = nullptr;
    std::string pathName;              // "/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP_C"
    std::string defaultObjectPath;     // when the world gives one; else made from pathName
    Object* defaultObject = nullptr;   // owned by the world
    std::set<std::string> functions;   // script functions found by FindFunctionChecked
};

// True while `pointer` is a game object that exists.
bool IsLiveObject(const void* pointer);

// The object behind an opaque pointer, checked to be a live T: a member used on
// something that is no game object (a freed one, or a pointer passed in the wrong
// place), or on an object of the wrong class, is a fault of the caller, reported
// with the member name.
template <typename T>
T* As(const void* object, std::string_view member)
{
    if (object == nullptr)
        Fatal("called on a null object", member);
    if (!IsLiveObject(object))
        Fatal("used on something that is not a live game object", member);
    auto* typed = dynamic_cast<T*>(static_cast<Object*>(const_cast<void*>(object)));
    if (typed == nullptr)
        Fatal("used on an object of another class", member);
    return typed;
}

// The same, for an argument that may be null.
template <typename T>
T* AsOrNull(const void* object, std::string_view member)
{
    return object == nullptr ? nullptr : As<T>(object, member);
}

// The opaque pointer the plugin holds for a game object.
template <typename T>
T* Handle(Object* object)
{
    return reinterpret_cast<T*>(object);
}

inline std::string LabelOf(const void* object)
{
    return object == nullptr ? "null" : static_cast<const Object*>(object)->label;
}

}  // namespace sim
