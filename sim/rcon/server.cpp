#include "rcon/server.h"

#include <atomic>
#include <exception>
#include <map>
#include <thread>
#include <unordered_map>

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/post.hpp>
#include <asio/steady_timer.hpp>

#include "rcon/connection.h"
#include "rcon/listen_options.h"
#include "rcon/lockouts.h"
#include "rcon/mailbox.h"

namespace sim::rcon {

using asio::ip::tcp;

struct Server::Impl {
    Impl(ServerOptions options, Execute execute, Log log);

    bool Listen();
    void Accept();
    void Admit(tcp::socket socket);
    void Forget(Connection& connection);
    void CloseAll();
    void Run();
    void Note(const std::string& what) const;

    ServerOptions options;
    Execute execute;
    Log log;

    asio::io_context io{1};
    tcp::acceptor acceptor{io};
    asio::steady_timer acceptRetry{io};
    std::shared_ptr<Mailbox> mailbox = std::make_shared<Mailbox>(io);
    Lockouts lockouts;
    ConnectionContext context;

    // Network thread only.
    std::unordered_map<Connection*, std::weak_ptr<Connection>> connections;
    std::map<std::string, std::size_t> perAddress;

    std::atomic<std::size_t> connectionCount = 0;
    std::string error;
    std::uint16_t port = 0;
    bool stopped = false;  // an io_context does not start again
    std::thread thread;
};

Server::Impl::Impl(ServerOptions options_, Execute execute_, Log log_)
    : options(std::move(options_)),
      execute(std::move(execute_)),
      log(std::move(log_)),
      lockouts(options.firstLockout, options.maxLockout),
      context{options, execute, log, lockouts, mailbox, [this](Connection& connection) { Forget(connection); }}
{
}

bool Server::Impl::Listen()
{
    if (options.password.empty()) {
        error = "RCON is off: no password is set";
        return false;
    }
    std::error_code failure;
    const auto address = asio::ip::make_address(options.bindAddress, failure);
    if (failure) {
        error = "RCON is off: \"" + options.bindAddress + "\" is not an IP address";
        return false;
    }
    const tcp::endpoint endpoint(address, options.port);
    acceptor.open(endpoint.protocol(), failure);
    if (!failure)
        failure = PrepareAddressUse(acceptor);
    if (!failure)
        acceptor.bind(endpoint, failure);
    if (!failure)
        acceptor.listen(asio::socket_base::max_listen_connections, failure);
    if (failure) {
        error = "RCON is off: cannot listen on " + options.bindAddress + ":" + std::to_string(options.port) + ": " +
                DescribeListenFailure(failure);
        std::error_code ignored;
        acceptor.close(ignored);
        return false;
    }
    port = acceptor.local_endpoint(failure).port();
    return true;
}

void Server::Impl::Accept()
{
    acceptor.async_accept([this](std::error_code failure, tcp::socket socket) {
        if (failure == asio::error::operation_aborted || !acceptor.is_open())
            return;
        if (!failure) {
            Admit(std::move(socket));
            Accept();
            return;
        }
        // Out of descriptors or the like: try again shortly rather than spin.
        acceptRetry.expires_after(std::chrono::milliseconds(100));
        acceptRetry.async_wait([this](std::error_code waited) {
            if (!waited)
                Accept();
        });
    });
}

// A refused socket is closed at once. A locked-out address is still let in: its
// authentication is answered with -1, which stock clients report as a wrong password.
void Server::Impl::Admit(tcp::socket socket)
{
    std::error_code failure;
    const tcp::endpoint remote = socket.remote_endpoint(failure);
    if (failure)
        return;
    std::string address = remote.address().to_string();
    if (connections.size() >= options.maxConnections) {
        Note("RCON client " + address + " refused: " + std::to_string(options.maxConnections) + " connections open");
        return;
    }
    std::size_t& fromAddress = perAddress[address];
    if (fromAddress >= options.maxConnectionsPerAddress) {
        Note("RCON client " + address + " refused: " + std::to_string(fromAddress) + " connections open from it");
        return;
    }
    ++fromAddress;
    auto connection = std::make_shared<Connection>(std::move(socket), std::move(address), context);
    connections.emplace(connection.get(), connection);
    connectionCount = connections.size();
    connection->Start();
}

void Server::Impl::Forget(Connection& connection)
{
    connections.erase(&connection);
    connectionCount = connections.size();
    const auto found = perAddress.find(connection.Address());
    if (found != perAddress.end() && --found->second == 0)
        perAddress.erase(found);
}

void Server::Impl::CloseAll()
{
    std::error_code ignored;
    acceptor.close(ignored);
    acceptRetry.cancel();
    std::vector<std::shared_ptr<Connection>> open;
    for (auto& [key, weak] : connections) {
        if (auto connection = weak.lock())
            open.push_back(std::move(connection));
    }
    for (auto& connection : open)
        connection->Close();
}

void Server::Impl::Run()
{
    // A handler that throws must not end the endpoint.
    for (;;) {
        try {
            io.run();
            return;
        } catch (const std::exception& failure) {
            Note(std::string("RCON network thread: ") + failure.what());
        }
    }
}

void Server::Impl::Note(const std::string& what) const
{
    if (log)
        log(what);
}

Server::Server(ServerOptions options, Execute execute, Log log)
    : impl_(std::make_unique<Impl>(std::move(options), std::move(execute), std::move(log)))
{
}

Server::~Server()
{
    Stop();
}

bool Server::Start()
{
    if (impl_->thread.joinable())
        return true;
    if (impl_->stopped) {
        impl_->error = "RCON is off: the server was stopped";
        return false;
    }
    if (!impl_->Listen())
        return false;
    impl_->Accept();
    impl_->thread = std::thread([impl = impl_.get()] { impl->Run(); });
    return true;
}

void Server::Stop()
{
    if (!impl_->thread.joinable())
        return;
    // From here on, replies from the game thread are dropped instead of posted.
    impl_->mailbox->Close();
    asio::post(impl_->io, [impl = impl_.get()] {
        impl->CloseAll();
        impl->io.stop();
    });
    impl_->thread.join();
    impl_->stopped = true;
}

const std::string& Server::Error() const
{
    return impl_->error;
}

std::uint16_t Server::Port() const
{
    return impl_->port;
}

std::size_t Server::Connections() const
{
    return impl_->connectionCount;
}

}  // namespace sim::rcon
