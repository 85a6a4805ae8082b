#include "rcon_requests.h"

#include <fmt/format.h>

#include "console.h"
#include "game/game.h"
#include "framework/host.h"

namespace sim {

std::vector<rcon::Reply> RunRconRequest(Game& game, RconConnection& connection, const rcon::Request& request)
{
    connection.replies.clear();
    const bool known = DispatchRconCommand(game, connection, request.id, request.body);
    std::vector<rcon::Reply> replies;
    if (!known)
        replies.push_back({request.id, UnknownCommand(request.body)});
    for (const RconReply& reply : connection.replies)
        replies.push_back({reply.id, ToUtf8(reply.text)});
    connection.replies.clear();
    return replies;
}

std::string DescribeRconTraffic(const rcon::Request& request, const std::vector<rcon::Reply>& replies)
{
    std::string answer;
    for (const rcon::Reply& reply : replies)
        answer += (answer.empty() ? "" : " | ") + (reply.body.empty() ? std::string("(empty)") : reply.body);
    return fmt::format("[rcon {}] {} -> {}", request.address, request.body, replies.empty() ? "(no reply)" : answer);
}

}  // namespace sim
