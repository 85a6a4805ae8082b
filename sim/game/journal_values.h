// Game values as the journal keeps them: numbers and object pointers as they
// are, text and lists copied beside the entry, all turned into text only when
// the journal is shown.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include <fmt/format.h>

#include "FName.h"
#include "FString.h"
#include "GameClasses.h"
#include "GameStructs.h"
#include "framework/journal.h"

namespace sim {

// The text of a name value, as the game's name table holds it.
std::string NameText(FName name);

template <typename T>
inline constexpr bool kIsSubclassOf = false;
template <typename T>
inline constexpr bool kIsSubclassOf<TSubclassOf<T>> = true;

template <typename T>
inline constexpr bool kIsTArray = false;
template <typename T>
inline constexpr bool kIsTArray<TArray<T>> = true;

template <typename T>
inline constexpr bool kIsVector = false;
template <typename T>
inline constexpr bool kIsVector<UE::Math::TVector<T>> = true;

template <typename T>
inline constexpr bool kIsRotator = false;
template <typename T>
inline constexpr bool kIsRotator<UE::Math::TRotator<T>> = true;

template <typename>
inline constexpr bool kNoJournalForm = false;

// One element of a list, as text.
template <typename T>
std::string ShowElement(const T& value)
{
    if constexpr (std::is_same_v<T, FName>)
        return NameText(value);
    else if constexpr (kIsSubclassOf<T>)
        return DescribeObject(value.uClass);
    else if constexpr (std::is_pointer_v<T>)
        return DescribeObject(value);
    else if constexpr (std::is_same_v<T, FItemStatInfo>)
        return fmt::format("{{flags {}, a {}, b {}, base {}}}", value.Flags, value.FactorA, value.FactorB, value.Base);
    else if constexpr (std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int8_t>)
        return fmt::format("{}", static_cast<int>(value));
    else
        return fmt::format("{}", value);
}

// Elements of T copied raw, shown as "[a, b, c]".
template <typename T>
std::string FormatList(const JournalValue& value, std::string_view kept)
{
    const std::string_view bytes = value.Bytes(kept);
    std::string text = "[";
    for (std::size_t at = 0; at + sizeof(T) <= bytes.size(); at += sizeof(T)) {
        T element;
        std::memcpy(static_cast<void*>(&element), bytes.data() + at, sizeof(T));
        text += (at != 0 ? ", " : "") + ShowElement(element);
    }
    return text + "]";
}

// Bytes copied raw, shown as their count and hex: "<3 bytes 0a0b0c>".
std::string FormatBytes(const JournalValue& value, std::string_view kept);
std::string HexOf(std::string_view bytes);

JournalValue NameValue(FName name);
// A parameter block, shown only as being there; the events that the plugin calls
// are decoded by their layout instead (script.cpp).
JournalValue BlockValue(const void* block);
JournalValue ItemDataValue(JournalRecord& record, const FCustomItemData& data);
JournalValue DinoDataValue(JournalRecord& record, const FARKDinoData& data);
JournalValue VectorValue(JournalRecord& record, double x, double y, double z);

template <typename T>
JournalValue ListValue(JournalRecord& record, const T* data, std::size_t count)
{
    return record.Keep(&FormatList<T>, data, count * sizeof(T));
}

// Any value the game's members take, return or hold.
template <typename T>
JournalValue Capture(JournalRecord& record, const T& value)
{
    using U = std::remove_cv_t<T>;
    if constexpr (std::is_same_v<U, bool>)
        return BoolValue(value);
    else if constexpr (std::is_enum_v<U>)
        return IntValue(static_cast<std::int64_t>(value));
    else if constexpr (std::is_integral_v<U> && std::is_signed_v<U>)
        return IntValue(value);
    else if constexpr (std::is_integral_v<U>)
        return UIntValue(value);
    else if constexpr (std::is_same_v<U, float>)
        return FloatValue(value);
    else if constexpr (std::is_same_v<U, double>)
        return DoubleValue(value);
    else if constexpr (std::is_same_v<U, FString>)
        return record.Text(*value, static_cast<std::size_t>(value.Len()));
    else if constexpr (std::is_same_v<U, FString*> || std::is_same_v<U, const FString*>)
        return value != nullptr ? Capture(record, *value) : FixedValue("null");
    else if constexpr (std::is_same_v<U, const char*> || std::is_same_v<U, char*>)
        return value != nullptr ? record.Narrow(value) : FixedValue("null");
    else if constexpr (std::is_same_v<U, FName>)
        return NameValue(value);
    else if constexpr (kIsSubclassOf<U>)
        return ObjectValue(value.uClass);
    else if constexpr (std::is_same_v<U, void*> || std::is_same_v<U, const void*>)
        return BlockValue(value);
    else if constexpr (std::is_pointer_v<U> && std::is_class_v<std::remove_pointer_t<U>>)
        return ObjectValue(value);
    else if constexpr (kIsTArray<U>) {
        using E = std::remove_cv_t<std::remove_reference_t<decltype(*value.GetData())>>;
        if constexpr (std::is_same_v<E, std::uint8_t>)
            return record.Keep(&FormatBytes, value.GetData(), static_cast<std::size_t>(value.Num()));
        else
            return ListValue(record, value.GetData(), static_cast<std::size_t>(value.Num()));
    } else if constexpr (std::is_array_v<U>)
        return ListValue(record, &value[0], std::extent_v<U>);
    else if constexpr (std::is_same_v<U, FCustomItemData>)
        return ItemDataValue(record, value);
    else if constexpr (std::is_same_v<U, FARKDinoData>)
        return DinoDataValue(record, value);
    else if constexpr (kIsVector<U>)
        return VectorValue(record, value.X, value.Y, value.Z);
    else if constexpr (kIsRotator<U>)
        return VectorValue(record, value.Pitch, value.Yaw, value.Roll);
    else
        static_assert(kNoJournalForm<U>, "the journal has no form for this type");
}

// Watching a field of type T: its bytes (for text and lists, their elements),
// and the journal value for such bytes.
template <typename T>
struct FieldWatch {
    static void Snapshot(const void* address, std::uint32_t, std::string& out)
    {
        const T& field = *static_cast<const T*>(address);
        if constexpr (std::is_same_v<T, FString>)
            out.append(reinterpret_cast<const char*>(*field), static_cast<std::size_t>(field.Len()) * sizeof(WIDECHAR));
        else if constexpr (kIsTArray<T>) {
            if (field.Num() > 0)
                out.append(reinterpret_cast<const char*>(field.GetData()),
                           static_cast<std::size_t>(field.Num()) * sizeof(*field.GetData()));
        }
        else {
            static_assert(std::is_trivially_copyable_v<T>);
            out.append(reinterpret_cast<const char*>(&field), sizeof(T));
        }
    }

    static JournalValue Value(JournalRecord& record, std::string_view bytes, std::uint32_t)
    {
        if constexpr (std::is_same_v<T, FString>)
            return record.Text(bytes.data(), bytes.size() / sizeof(WIDECHAR));
        else if constexpr (kIsTArray<T>) {
            using E = std::remove_cv_t<std::remove_reference_t<decltype(*std::declval<T&>().GetData())>>;
            return record.Keep(&FormatList<E>, bytes.data(), bytes.size());
        } else if constexpr (std::is_array_v<T>)
            return record.Keep(&FormatList<std::remove_extent_t<T>>, bytes.data(), bytes.size());
        else {
            T value;
            std::memcpy(static_cast<void*>(&value), bytes.data(), sizeof(T));
            return Capture(record, value);
        }
    }

    static constexpr WatchOps kOps{&Snapshot, &Value};
};

// Watching one bit of a 32-bit word; `detail` is its position.
struct BitWatch {
    static void Snapshot(const void* address, std::uint32_t bit, std::string& out)
    {
        out.push_back(static_cast<char>((*static_cast<const std::uint32_t*>(address) >> bit) & 1u));
    }
    static JournalValue Value(JournalRecord&, std::string_view bytes, std::uint32_t)
    {
        return IntValue(bytes.empty() ? 0 : bytes[0]);
    }
    static constexpr WatchOps kOps{&Snapshot, &Value};
};

// Shows a game object by its label; something that is no live game object is
// said to be so rather than read.
std::string DescribeGameObject(const void* object);

}  // namespace sim
