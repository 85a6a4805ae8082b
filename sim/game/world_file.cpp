#include "world_file.h"

#include <fstream>
#include <limits>
#include <sstream>

namespace sim {
namespace {

const nlohmann::json& Value(const nlohmann::json& object, const char* key, const std::string& where)
{
    const auto found = object.find(key);
    if (found == object.end())
        throw WorldError(fmt::format("{}: \"{}\" is missing", where, key));
    return *found;
}

std::string Place(const std::string& where, const char* key) { return fmt::format("{}.{}", where, key); }

}  // namespace

nlohmann::json ParseWorld(std::string_view text, const std::string& source)
{
    nlohmann::json world;
    try {
        world = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {
        throw WorldError(fmt::format("{}: {}", source, e.what()));
    }
    if (!world.is_object())
        throw WorldError(fmt::format("{}: the world must be a JSON object, not {}", source, world.type_name()));
    return world;
}

nlohmann::json ReadWorldFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw WorldError(fmt::format("{}: cannot open the world file", path.string()));
    std::ostringstream text;
    text << file.rdbuf();
    return ParseWorld(text.str(), path.string());
}

nlohmann::json DefaultWorld() { return ParseWorld(DefaultWorldText(), kBuiltInWorld); }

std::string TextAt(const nlohmann::json& object, const char* key, const std::string& where)
{
    const nlohmann::json& value = Value(object, key, where);
    if (!value.is_string())
        throw WorldError(fmt::format("{}: must be a string, not {}", Place(where, key), value.type_name()));
    return value.get<std::string>();
}

int IntAt(const nlohmann::json& object, const char* key, const std::string& where, std::optional<int> fallback)
{
    if (fallback && !object.contains(key))
        return *fallback;
    const nlohmann::json& value = Value(object, key, where);
    if (!value.is_number_integer())
        throw WorldError(fmt::format("{}: must be an integer, not {}", Place(where, key), value.type_name()));
    const auto number = value.get<long long>();
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max() ||
        (value.is_number_unsigned() && value.get<unsigned long long>() > std::numeric_limits<int>::max()))
        throw WorldError(fmt::format("{}: {} does not fit a 32-bit integer", Place(where, key), value.dump()));
    return static_cast<int>(number);
}

double NumberAt(const nlohmann::json& object, const char* key, const std::string& where, std::optional<double> fallback)
{
    if (fallback && !object.contains(key))
        return *fallback;
    const nlohmann::json& value = Value(object, key, where);
    if (!value.is_number())
        throw WorldError(fmt::format("{}: must be a number, not {}", Place(where, key), value.type_name()));
    return value.get<double>();
}

bool FlagAt(const nlohmann::json& object, const char* key, const std::string& where, bool fallback)
{
    if (!object.contains(key))
        return fallback;
    const nlohmann::json& value = object.at(key);
    if (!value.is_boolean())
        throw WorldError(fmt::format("{}: must be true or false, not {}", Place(where, key), value.type_name()));
    return value.get<bool>();
}

const nlohmann::json& ListAt(const nlohmann::json& object, const char* key, const std::string& where)
{
    static const nlohmann::json empty = nlohmann::json::array();
    const auto found = object.find(key);
    if (found == object.end())
        return empty;
    if (!found->is_array()) {
        const std::string place = where.empty() ? fmt::format("\"{}\"", key) : Place(where, key) + ":";
        throw WorldError(fmt::format("{} must be an array, not {}", place, found->type_name()));
    }
    return *found;
}

}  // namespace sim
