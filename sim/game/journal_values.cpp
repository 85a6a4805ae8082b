#include "journal_values.h"

#include "object.h"

namespace sim {
namespace {

std::string FormatName(const JournalValue& value, std::string_view)
{
    return NameText(FName{static_cast<std::uint32_t>(value.a), static_cast<std::uint32_t>(value.b)});
}

std::string FormatBlock(const JournalValue& value, std::string_view) { return value.a != 0 ? "<block>" : "null"; }

// What a record holds, list by list, without the lists themselves: what the
// plugin handed over shows in the item once it is set (/item).
struct ItemDataSummary {
    FName name;
    std::int32_t strings, floats, classes, names, byteArrays, doubles;
};

std::string FormatItemData(const JournalValue& value, std::string_view kept)
{
    ItemDataSummary s;
    std::memcpy(&s, value.Bytes(kept).data(), sizeof(s));
    return fmt::format("{}{{{} strings, {} floats, {} classes, {} names, {} byte arrays, {} doubles}}", NameText(s.name),
                       s.strings, s.floats, s.classes, s.names, s.byteArrays, s.doubles);
}

// The creature's data: its class, the two texts and the creature bytes, one after
// another, each text and the bytes after their sizes.
struct DinoDataHead {
    const void* creatureClass;
    std::uint32_t text1, text2, bytes;
};

std::string FormatDinoData(const JournalValue& value, std::string_view kept)
{
    const std::string_view all = value.Bytes(kept);
    DinoDataHead head;
    std::memcpy(&head, all.data(), sizeof(head));
    auto text = [](std::string_view units) {
        WideString wide(units.size() / sizeof(WIDECHAR), WIDECHAR{});
        std::memcpy(wide.data(), units.data(), wide.size() * sizeof(WIDECHAR));
        return ToUtf8(wide);
    };
    std::size_t at = sizeof(head);
    const std::string_view text1 = all.substr(at, head.text1);
    at += head.text1;
    const std::string_view text2 = all.substr(at, head.text2);
    at += head.text2;
    const std::string_view bytes = all.substr(at, head.bytes);
    return fmt::format("{{{}, \"{}\", \"{}\", <{} bytes {}>}}", DescribeObject(head.creatureClass), text(text1),
                       text(text2), bytes.size(), HexOf(bytes));
}

std::string FormatVector(const JournalValue& value, std::string_view kept)
{
    double parts[3];
    std::memcpy(parts, value.Bytes(kept).data(), sizeof(parts));
    return fmt::format("({}, {}, {})", parts[0], parts[1], parts[2]);
}

}  // namespace

std::string HexOf(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

std::string FormatBytes(const JournalValue& value, std::string_view kept)
{
    const std::string_view bytes = value.Bytes(kept);
    return fmt::format("<{} bytes{}{}>", bytes.size(), bytes.empty() ? "" : " ", HexOf(bytes));
}

JournalValue NameValue(FName name) { return {&FormatName, name.ComparisonIndex, name.Number}; }

JournalValue BlockValue(const void* block) { return {&FormatBlock, reinterpret_cast<std::uintptr_t>(block), 0}; }

JournalValue ItemDataValue(JournalRecord& record, const FCustomItemData& data)
{
    const ItemDataSummary summary{data.DataName,   data.Strings.Num(),    data.Floats.Num(), data.Classes.Num(),
                                  data.Names.Num(), data.ByteArrays.Num(), data.Doubles.Num()};
    return record.Keep(&FormatItemData, &summary, sizeof(summary));
}

JournalValue DinoDataValue(JournalRecord& record, const FARKDinoData& data)
{
    const DinoDataHead head{data.CreatureClass,
                            static_cast<std::uint32_t>(data.Text1.Len()) * std::uint32_t{sizeof(WIDECHAR)},
                            static_cast<std::uint32_t>(data.Text2.Len()) * std::uint32_t{sizeof(WIDECHAR)},
                            static_cast<std::uint32_t>(data.CreatureBytes.Num())};
    std::string all(reinterpret_cast<const char*>(&head), sizeof(head));
    all.append(reinterpret_cast<const char*>(*data.Text1), head.text1);
    all.append(reinterpret_cast<const char*>(*data.Text2), head.text2);
    if (head.bytes != 0)
        all.append(reinterpret_cast<const char*>(data.CreatureBytes.GetData()), head.bytes);
    return record.Keep(&FormatDinoData, all.data(), all.size());
}

JournalValue VectorValue(JournalRecord& record, double x, double y, double z)
{
    const double parts[3] = {x, y, z};
    return record.Keep(&FormatVector, parts, sizeof(parts));
}

std::string DescribeGameObject(const void* object)
{
    if (object == nullptr)
        return "null";
    if (!IsLiveObject(object))
        return fmt::format("<{} is no game object>", object);
    return static_cast<const Object*>(object)->label;
}

}  // namespace sim
