#include "config/config.h"

#include <fstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "AsaApi.h"
#include "host/words.h"

namespace kestrova {
namespace {

constexpr const char* kPluginName = "Kestrova";

nlohmann::json& Document()
{
    static nlohmann::json document;
    return document;
}

}  // namespace

std::string ConfigPath()
{
    return AsaApi::Tools::GetCurrentDir() + "/ArkApi/Plugins/" + kPluginName + "/config.json";
}

void LoadConfig()
{
    std::ifstream file(ConfigPath());
    if (!file.is_open())
        throw std::runtime_error("Can't open config.json");
    // Parsed into a temporary: a parse error part-way through must not leave a
    // half-read document (keys present with null values) for later reads.
    nlohmann::json parsed;
    file >> parsed;
    Document() = std::move(parsed);
}

const nlohmann::json& ConfigDocument() { return Document(); }

std::string ConfigString(const std::string& key, const std::string& fallback)
{
    return Document().value(key, fallback);
}

bool ConfigBool(const std::string& key, bool fallback) { return Document().value(key, fallback); }

std::int32_t ConfigInt(const std::string& key, std::int32_t fallback)
{
    const nlohmann::json member = Document().value(key, nlohmann::json(fallback));
    if (member.is_number_float())
        return SaturatedInt(member.get<double>());
    return member.get<std::int32_t>();
}

}  // namespace kestrova
