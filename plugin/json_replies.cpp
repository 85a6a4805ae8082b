#include "plugin/json_replies.h"

#include <nlohmann/json.hpp>

namespace kestrova {
namespace {

// One line of ASCII: other characters are escaped, so the line passes through a
// game string unchanged; text that is not UTF-8 is replaced, not refused.
std::string Line(const nlohmann::json& reply)
{
    return reply.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::string SpawnReply(std::string_view command, const std::optional<ReplyTarget>& target, const Outcome& outcome)
{
    nlohmann::json reply = {{"v", kReplyVersion}, {"command", command}, {"target", nullptr}, {"outcome", ToJson(outcome)}};
    if (target)
        reply["target"] = {{"id", target->id}, {"name", target->name ? nlohmann::json(*target->name) : nlohmann::json()}};
    return Line(reply);
}

std::string ReloadReply(bool reloaded, std::string_view error)
{
    nlohmann::json reply = {{"v", kReplyVersion}, {"command", "Kestrova.Reload"}, {"reloaded", reloaded}};
    if (!reloaded)
        reply["error"] = error;
    return Line(reply);
}

}  // namespace kestrova
