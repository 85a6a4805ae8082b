// Script functions and events: what UObject.FindFunctionChecked finds and what
// ProcessEvent runs.
#pragma once

#include <functional>
#include <string>

#include "framework/journal.h"
#include "object.h"

namespace sim {

// A script function, as FindFunctionChecked hands it out.
class Function : public Object {
public:
    Function(Class* cls, std::string functionName)
        : Object(cls, "Function:" + functionName), name(std::move(functionName))
    {}
    std::string name;
};

// What the game does when an event reaches `target`: reads the parameter block,
// which is laid out as the named function declares it (null when there is none).
using EventHandler = std::function<void(Object& target, const Function& function, void* params)>;

// Runs an event on `target` for the member `member` (already journaled): checks
// that the function is one of the target's class, then calls the handler that the
// game set for that function name, if any.
void RunEvent(Object& target, const void* function, void* params, std::string_view member);

// Journals ProcessEvent's arguments: the function, and its parameter block decoded
// as that function lays it out for `target`.
void RecordEventArgs(JournalRecord& record, Object* target, UFunction* function, void* params);

// Registers UObject.FindFunctionChecked(FName), UObject.ProcessEvent(UFunction*,void*),
// UObjectBase.ClassPrivate and UStruct.IsChildOf(UStruct*).
void RegisterScriptMembers();

}  // namespace sim
