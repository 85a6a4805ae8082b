#include "plugin/json_replies.h"

#include <nlohmann/json.hpp>

namespace kestrova {

nlohmann::json TargetJson(const std::optional<ReplyTarget>& target)
{
    if (!target)
        return nullptr;
    return {{"id", target->id}, {"name", target->name ? nlohmann::json(*target->name) : nlohmann::json()}};
}

std::string JsonLine(const nlohmann::json& json)
{
    return json.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

std::string SpawnReply(std::string_view command, const std::optional<ReplyTarget>& target, const Outcome& outcome)
{
    return JsonLine({{"v", kReplyVersion}, {"command", command}, {"target", TargetJson(target)}, {"outcome", ToJson(outcome)}});
}

std::string ReloadReply(bool reloaded, std::string_view error)
{
    nlohmann::json reply = {{"v", kReplyVersion}, {"command", "Kestrova.Reload"}, {"reloaded", reloaded}};
    if (!reloaded)
        reply["error"] = error;
    return JsonLine(reply);
}

}  // namespace kestrova
