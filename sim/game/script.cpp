#include "script.h"

#include "game.h"
#include "thunk.h"

namespace sim {
namespace {

// Null when the receiver's class has no script function of that name, as the
// plugin relies on; "None" finds nothing.
UFunction* FindFunctionChecked(Object* self, FName name)
{
    if (name.ComparisonIndex == 0 || self->ClassPrivate == nullptr)
        return nullptr;
    const std::string text = NameText(name);
    if (!self->ClassPrivate->HasFunction(text))
        return nullptr;
    return Handle<UFunction>(Game::Active().FindScriptFunction(text));
}

void ObjectProcessEvent(Object* self, UFunction* function, void* params)
{
    RunEvent(*self, function, params, "UObject.ProcessEvent(UFunction*,void*)");
}

bool IsChildOf(Class* self, UStruct* other)
{
    return self->IsChildOf(AsOrNull<Class>(other, "UStruct.IsChildOf(UStruct*)"));
}

}  // namespace

void RunEvent(Object& target, const void* function, void* params, std::string_view member)
{
    if (function == nullptr)
        Fatal("event without a function", member);
    const Function& called = *As<Function>(function, member);
    if (target.ClassPrivate == nullptr || !target.ClassPrivate->HasFunction(called.name))
        Fatal(fmt::format("{} is not a function of {}", called.name, target.label), member);
    if (const EventHandler* handler = Game::Active().HandlerFor(called.name))
        (*handler)(target, called, params);
}

void RegisterScriptMembers()
{
    RegisterMethod<"UObject.FindFunctionChecked(FName)", &FindFunctionChecked>();
    RegisterMethod<"UObject.ProcessEvent(UFunction*,void*)", &ObjectProcessEvent>();
    RegisterField<"UObjectBase.ClassPrivate", &Object::ClassPrivate, UClass*>();
    RegisterMethod<"UStruct.IsChildOf(UStruct*)", &IsChildOf>();
}

}  // namespace sim
