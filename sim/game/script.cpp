#include "script.h"

#include "game.h"
#include "player.h"
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

// The layouts the game gives its script functions' parameter blocks.
constexpr char kNetSyncMaxStatusValues[] = "NetSyncMaxStatusValues";
constexpr char kClientNotifyLevelUp[] = "ClientNotifyLevelUp";

// A game array as it lies in a parameter block.
struct ArrayHead {
    const void* data;
    std::int32_t count;
    std::int32_t capacity;
};
static_assert(sizeof(ArrayHead) == 16);

// Counts beyond this are no array the plugin built; they are shown, not followed.
constexpr std::int32_t kLargestShownArray = 4096;

bool Followable(const ArrayHead& head)
{
    return head.count >= 0 && head.count <= head.capacity && head.count <= kLargestShownArray &&
           (head.data != nullptr || head.count == 0);
}

// The empty string that "ClientNotifyLevelUp" takes on a controller: its three
// fields, and its text when it has one.
std::string FormatStringBlock(const JournalValue& value, std::string_view kept)
{
    const std::string_view bytes = value.Bytes(kept);
    ArrayHead head;
    std::memcpy(&head, bytes.data(), sizeof(head));
    std::string text;
    if (bytes.size() > sizeof(head)) {
        WideString units((bytes.size() - sizeof(head)) / sizeof(WIDECHAR), WIDECHAR{});
        std::memcpy(units.data(), bytes.data() + sizeof(head), units.size() * sizeof(WIDECHAR));
        text = fmt::format(" \"{}\"", ToUtf8(units));
    }
    return fmt::format("string block {{data {}{}, count {}, capacity {}}}", head.data == nullptr ? "null" : "set", text,
                       head.count, head.capacity);
}

JournalValue StringBlockValue(JournalRecord& record, const void* params)
{
    ArrayHead head;
    std::memcpy(&head, params, sizeof(head));
    std::string bytes(reinterpret_cast<const char*>(&head), sizeof(head));
    if (head.data != nullptr && head.count > 0 && Followable(head))
        bytes.append(static_cast<const char*>(head.data), static_cast<std::size_t>(head.count) * sizeof(WIDECHAR));
    return record.Keep(&FormatStringBlock, bytes.data(), bytes.size());
}

// The two float arrays of "NetSyncMaxStatusValues": each array's count and its
// values, the maxima first.
std::string FormatFloatArrays(const JournalValue& value, std::string_view kept)
{
    const std::string_view bytes = value.Bytes(kept);
    std::int32_t counts[2];
    std::memcpy(counts, bytes.data(), sizeof(counts));
    std::string text = "{";
    std::size_t at = sizeof(counts);
    for (int i = 0; i < 2; ++i) {
        text += i == 0 ? "" : ", ";
        if (counts[i] < 0) {
            text += "<an array that cannot be read>";
            continue;
        }
        const std::size_t size = static_cast<std::size_t>(counts[i]) * sizeof(float);
        text += FormatList<float>(JournalValue{nullptr, at, size}, bytes);
        at += size;
    }
    return text + "}";
}

JournalValue FloatArraysValue(JournalRecord& record, const void* params)
{
    ArrayHead heads[2];
    std::memcpy(heads, params, sizeof(heads));
    std::int32_t counts[2];
    std::string values;
    for (int i = 0; i < 2; ++i) {
        counts[i] = Followable(heads[i]) ? heads[i].count : -1;
        if (counts[i] > 0)
            values.append(static_cast<const char*>(heads[i].data), static_cast<std::size_t>(counts[i]) * sizeof(float));
    }
    std::string bytes(reinterpret_cast<const char*>(counts), sizeof(counts));
    bytes += values;
    return record.Keep(&FormatFloatArrays, bytes.data(), bytes.size());
}

}  // namespace

void RecordEventArgs(JournalRecord& record, Object* target, UFunction* function, void* params)
{
    record.Arg(0, ObjectValue(function));
    const auto* called = IsLiveObject(function) ? dynamic_cast<const Function*>(reinterpret_cast<Object*>(function))
                                                : nullptr;
    if (params == nullptr || called == nullptr)
        record.Arg(1, BlockValue(params));
    else if (called->name == kNetSyncMaxStatusValues)
        record.Arg(1, FloatArraysValue(record, params));
    else if (called->name == kClientNotifyLevelUp && dynamic_cast<PlayerController*>(target) != nullptr)
        record.Arg(1, StringBlockValue(record, params));
    else
        record.Arg(1, BlockValue(params));
}

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
    RegisterMethod<"UObject.ProcessEvent(UFunction*,void*)", &ObjectProcessEvent, &RecordEventArgs>();
    RegisterField<"UObjectBase.ClassPrivate", &Object::ClassPrivate, UClass*>();
    RegisterMethod<"UStruct.IsChildOf(UStruct*)", &IsChildOf>();
}

}  // namespace sim
