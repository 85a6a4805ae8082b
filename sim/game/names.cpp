#include "names.h"

#include <unordered_map>
#include <vector>

#include "thunk.h"

namespace sim {
namespace {

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct NameTable {
    std::vector<std::string> texts{"None"};
    std::unordered_map<std::string, std::uint32_t, NameHash, std::equal_to<>> indices{{"None", 0}};
};

NameTable& Table()
{
    static NameTable table;
    return table;
}

// The game builds the name in the caller's 8 bytes.
void ConstructName(FName* self, const char* text, EFindName find)
{
    *self = FindName(text != nullptr ? text : "", find);
}

}  // namespace

FName FindName(std::string_view text, EFindName find)
{
    NameTable& table = Table();
    const auto found = table.indices.find(text);
    if (found != table.indices.end())
        return {found->second, 0};
    if (find != FNAME_Add || text.empty())
        return {0, 0};
    const auto index = static_cast<std::uint32_t>(table.texts.size());
    table.texts.emplace_back(text);
    table.indices.emplace(std::string(text), index);
    return {index, 0};
}

std::string NameText(FName name)
{
    const NameTable& table = Table();
    if (name.ComparisonIndex >= table.texts.size())
        return fmt::format("<bad name {}>", name.ComparisonIndex);
    const std::string& text = table.texts[name.ComparisonIndex];
    return name.Number == 0 ? text : fmt::format("{}_{}", text, name.Number - 1);
}

void ClearNames() { Table() = NameTable{}; }

void RegisterNameMembers() { RegisterMethod<"FName.FName(char*,EFindName)", &ConstructName>(); }

}  // namespace sim
