#include "rcon_service.h"

#include <asio/ip/address.hpp>

#include "game/game.h"
#include "rcon_requests.h"

namespace sim {
namespace {

bool IsLoopback(const std::string& address)
{
    std::error_code error;
    const asio::ip::address parsed = asio::ip::make_address(address, error);
    return !error && parsed.is_loopback();
}

// "127.0.0.1:50123", "[::1]:50123".
std::string PeerText(const std::string& address, std::uint16_t port)
{
    std::error_code error;
    const bool v6 = asio::ip::make_address(address, error).is_v6() && !error;
    return (v6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

}  // namespace

bool ChooseRconPassword(const RconOptions& options, std::string& password, std::string& error)
{
    if (options.password) {
        password = *options.password;
        return true;
    }
    if (!IsLoopback(options.bindAddress)) {
        error = "RCON is off: listening on " + options.bindAddress +
                " reaches beyond this machine, so the default password will not do; give --rcon-password";
        return false;
    }
    password = kDefaultRconPassword;
    return true;
}

RconService::RconService(Game& game, rcon::GameThread& gameThread, Show show)
    : game_(game), gameThread_(gameThread), show_(std::move(show))
{
}

RconService::~RconService() { Stop(); }

bool RconService::Start(const RconOptions& options, std::string& error)
{
    if (server_)
        return true;
    if (!ChooseRconPassword(options, password_, error))
        return false;

    rcon::ServerOptions serverOptions;
    serverOptions.bindAddress = options.bindAddress;
    serverOptions.port = options.port;
    serverOptions.password = password_;
    serverOptions.authTimeout = options.authTimeout;
    serverOptions.lockoutFailures = options.lockoutFailures;
    serverOptions.lockoutWindow = options.lockoutWindow;
    serverOptions.maxConnections = options.maxConnections;
    serverOptions.maxConnectionsPerAddress = options.maxConnectionsPerAddress;
    dropReply_ = options.dropReply;

    // The network thread only hands requests and notices to the game thread.
    auto execute = [this](rcon::Request request, rcon::Respond respond) {
        gameThread_.Post([this, request = std::move(request), respond = std::move(respond)] { Run(request, respond); });
    };
    auto log = [this](std::string_view what) {
        gameThread_.Post([this, line = "[rcon] " + std::string(what)] { show_(line); });
    };
    auto server = std::make_unique<rcon::Server>(std::move(serverOptions), std::move(execute), std::move(log));
    if (!server->Start()) {
        error = server->Error();
        return false;
    }
    server_ = std::move(server);
    return true;
}

void RconService::Stop()
{
    if (!server_)
        return;
    server_->Stop();
    server_.reset();
    // What the network thread posted before it stopped still refers to this service.
    gameThread_.Call([] {});
}

std::uint16_t RconService::Port() const { return server_ ? server_->Port() : 0; }

void RconService::Run(const rcon::Request& request, const rcon::Respond& respond)
{
    std::vector<rcon::Reply> replies = RunRconRequest(game_, ConnectionFor(request), request);
    show_(DescribeRconTraffic(request, replies));
    if (++requests_ == dropReply_) {
        show_("[rcon] reply dropped and connection closed (--rcon-drop-reply " + std::to_string(dropReply_) + ")");
        respond.HangUpInstead();
        return;
    }
    respond(std::move(replies));
}

// The game knows a client by its address and port. The stand-in keeps one
// connection object per address and gives it the port of the connection whose
// request runs: all that a command sees of it.
RconConnection& RconService::ConnectionFor(const rcon::Request& request)
{
    RconConnection*& connection = connections_[request.address];
    if (connection == nullptr)
        connection = &game_.MakeRconConnection();
    connection->PeerAddress = FString(PeerText(request.address, request.port).c_str());
    return *connection;
}

}  // namespace sim
