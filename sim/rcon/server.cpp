#include "rcon/server.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <optional>
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
#include "rcon/notices.h"

namespace sim::rcon {

using asio::ip::tcp;
using Clock = std::chrono::steady_clock;

struct Server::Impl {
    Impl(ServerOptions options, Execute execute, Log log);

    bool Listen();
    void Accept();
    void Admit(tcp::socket socket);
    enum class Room { Made, Refused, Later };
    Room MakeRoom(const std::string& address);
    std::shared_ptr<Connection> Victim(const std::string* address, Clock::duration after) const;
    std::size_t UnauthenticatedFrom(const std::string& address) const;
    void WaitForRoom();
    void RoomMayHaveCome();
    void RetryWaiting();
    void Authenticated(Connection& connection);
    void Forget(Connection& connection);
    void CloseAll();
    void Run();
    void Note(Notice kind, const std::string& what);
    void WaitForHeldNotices();
    void ShowHeldNotices(Clock::time_point now);

    struct Slot {
        std::weak_ptr<Connection> connection;
        std::uint64_t serial = 0;  // order of admission
        bool authenticated = false;
    };
    struct AddressUse {
        std::size_t open = 0;
        std::size_t unauthenticated = 0;
    };

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
    std::unordered_map<Connection*, Slot> connections;
    std::map<std::uint64_t, Connection*> unauthenticated;  // oldest first
    std::unordered_map<std::string, AddressUse> perAddress;
    std::uint64_t admitted = 0;
    std::optional<tcp::socket> waiting;  // a newcomer held until there is room; accepting waits too
    asio::steady_timer roomTimer{io};
    NoticeThrottle notices;
    asio::steady_timer noticeTimer{io};
    bool noticeTimerSet = false;

    std::atomic<std::size_t> connectionCount = 0;
    std::atomic<std::size_t> unauthenticatedCount = 0;
    std::string error;
    std::uint16_t port = 0;
    bool stopped = false;  // an io_context does not start again
    std::thread thread;
};

namespace {

// How long a new connection is left to authenticate before it may be closed to make
// room for a newcomer from elsewhere. A prompt client's packet arrives with its
// connection, so this only has to cover the time the server takes to read it; and
// under a flood, the server takes in at most `maxUnauthenticated` newcomers in this
// time, so it also bounds how fast a flood churns.
constexpr auto kSettled = std::chrono::milliseconds(25);

ServerOptions Checked(ServerOptions options)
{
    options.maxUnauthenticated = std::max<std::size_t>(options.maxUnauthenticated, 1);
    options.maxUnauthenticatedPerAddress = std::max<std::size_t>(options.maxUnauthenticatedPerAddress, 1);
    return options;
}

Lockouts::Policy LockoutPolicy(const ServerOptions& options)
{
    return {options.lockoutFailures, options.lockoutWindow, options.firstLockout, options.maxLockout};
}

}  // namespace

Server::Impl::Impl(ServerOptions options_, Execute execute_, Log log_)
    : options(Checked(std::move(options_))),
      execute(std::move(execute_)),
      log(std::move(log_)),
      lockouts(LockoutPolicy(options)),
      context{options,
              execute,
              lockouts,
              mailbox,
              [this](Notice kind, const std::string& what) { Note(kind, what); },
              [this](Connection& connection) { Authenticated(connection); },
              [this](Connection& connection) { Forget(connection); }}
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
            // Behind the reads already done: a connection whose packet has come in is
            // heard before anyone is closed to make room. Admit accepts the next.
            asio::post(io, [this, socket = std::move(socket)]() mutable {
                if (acceptor.is_open())
                    Admit(std::move(socket));
            });
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

// A refused socket is closed at once; one that must wait for room is held, and no
// other is accepted meanwhile: the rest wait in the listen queue, where a silent
// connection costs nothing and an honest client's authentication waits with it. A
// locked-out address is still let in: its authentication is answered with -1, which
// stock clients report as a wrong password.
void Server::Impl::Admit(tcp::socket socket)
{
    std::error_code failure;
    const tcp::endpoint remote = socket.remote_endpoint(failure);
    if (failure)
        return Accept();
    std::string address = remote.address().to_string();
    switch (MakeRoom(address)) {
    case Room::Refused:
        return Accept();
    case Room::Later:
        waiting = std::move(socket);
        return WaitForRoom();
    case Room::Made:
        break;
    }
    AddressUse& use = perAddress[address];
    ++use.open;
    ++use.unauthenticated;
    auto connection = std::make_shared<Connection>(std::move(socket), std::move(address), remote.port(), context);
    connections.emplace(connection.get(), Slot{connection, ++admitted, false});
    unauthenticated.emplace(admitted, connection.get());
    connectionCount = connections.size();
    unauthenticatedCount = unauthenticated.size();
    connection->Start();
    Accept();
}

// Where an address is at its limits, its oldest connection that has not authenticated
// makes way. Where the server is at its own, one that has had its time makes way;
// while every one of them has only just come, the newcomer waits for room: closing
// either would shut out a client that authenticates promptly whenever a flood of
// newcomers outpaces it. A connection with bytes waiting to be read is not closed:
// the newcomer waits for them to be read. Refused when every connection in the way
// has authenticated.
Server::Impl::Room Server::Impl::MakeRoom(const std::string& address)
{
    const auto use = [&] {
        const auto found = perAddress.find(address);
        return found == perAddress.end() ? AddressUse{} : found->second;
    };
    if (use().open >= options.maxConnectionsPerAddress ||
        use().unauthenticated >= options.maxUnauthenticatedPerAddress) {
        if (use().unauthenticated == 0) {
            Note(Notice::Refused, "RCON client " + address + " refused: " + std::to_string(use().open) +
                                      " connections open from it");
            return Room::Refused;
        }
        const std::shared_ptr<Connection> victim = Victim(&address, Clock::duration::zero());
        if (victim == nullptr)
            return Room::Later;  // what they sent is read first
        victim->Evict();
    }
    if (connections.size() >= options.maxConnections || unauthenticated.size() >= options.maxUnauthenticated) {
        if (unauthenticated.empty()) {
            Note(Notice::Refused, "RCON client " + address + " refused: " + std::to_string(connections.size()) +
                                      " connections open");
            return Room::Refused;
        }
        const std::shared_ptr<Connection> victim = Victim(nullptr, kSettled);
        if (victim == nullptr)
            return Room::Later;
        victim->Evict();
    }
    return Room::Made;
}

// Of the connections yet to authenticate (from `address` only, when given), the one
// to close: of those that came at least `after` ago and have nothing waiting to be
// read, one from the address that holds the most, and of its, the oldest.
std::shared_ptr<Connection> Server::Impl::Victim(const std::string* address, Clock::duration after) const
{
    const auto now = Clock::now();
    Connection* chosen = nullptr;
    std::size_t chosenHolds = 0;
    for (const auto& [serial, connection] : unauthenticated) {  // oldest first
        if (address != nullptr && connection->Address() != *address)
            continue;
        const std::size_t holds = UnauthenticatedFrom(connection->Address());
        if (holds <= chosenHolds || !connection->MayMakeWay(now, after))
            continue;
        chosen = connection;
        chosenHolds = holds;
    }
    return chosen == nullptr ? nullptr : connections.at(chosen).connection.lock();
}

std::size_t Server::Impl::UnauthenticatedFrom(const std::string& address) const
{
    const auto found = perAddress.find(address);
    return found == perAddress.end() ? 0 : found->second.unauthenticated;
}

// Room comes when a connection in the way authenticates or goes, or has had its time,
// or its bytes have been read; the last two are checked again after a while.
void Server::Impl::WaitForRoom()
{
    roomTimer.expires_after(kSettled);
    roomTimer.async_wait([this](std::error_code failure) {
        if (!failure)
            RetryWaiting();
    });
}

void Server::Impl::RetryWaiting()
{
    if (!waiting)
        return;
    roomTimer.cancel();
    tcp::socket socket = std::move(*waiting);
    waiting.reset();
    Admit(std::move(socket));
}

void Server::Impl::Authenticated(Connection& connection)
{
    const auto found = connections.find(&connection);
    if (found == connections.end() || found->second.authenticated)
        return;
    found->second.authenticated = true;
    unauthenticated.erase(found->second.serial);
    unauthenticatedCount = unauthenticated.size();
    --perAddress[connection.Address()].unauthenticated;
    RoomMayHaveCome();
}

void Server::Impl::Forget(Connection& connection)
{
    const auto found = connections.find(&connection);
    if (found == connections.end())
        return;
    const bool wasAuthenticated = found->second.authenticated;
    if (!wasAuthenticated)
        unauthenticated.erase(found->second.serial);
    connections.erase(found);
    connectionCount = connections.size();
    unauthenticatedCount = unauthenticated.size();
    const auto use = perAddress.find(connection.Address());
    if (use == perAddress.end())
        return;
    --use->second.open;
    if (!wasAuthenticated)
        --use->second.unauthenticated;
    if (use->second.open == 0)
        perAddress.erase(use);
    RoomMayHaveCome();
}

// Called from within a connection's handlers, so the waiting newcomer is let in after them.
void Server::Impl::RoomMayHaveCome()
{
    if (waiting)
        asio::post(io, [this] { RetryWaiting(); });
}

void Server::Impl::CloseAll()
{
    std::error_code ignored;
    acceptor.close(ignored);
    acceptRetry.cancel();
    roomTimer.cancel();
    waiting.reset();
    std::vector<std::shared_ptr<Connection>> open;
    for (auto& [key, slot] : connections) {
        if (auto connection = slot.connection.lock())
            open.push_back(std::move(connection));
    }
    for (auto& connection : open)
        connection->Close();
    noticeTimer.cancel();
    for (const auto& [kind, count] : notices.TakeAll()) {
        if (log)
            log(DescribeHeldBack(kind, count));
    }
}

void Server::Impl::Run()
{
    // A handler that throws must not end the endpoint.
    for (;;) {
        try {
            io.run();
            return;
        } catch (const std::exception& failure) {
            Note(Notice::NetworkError, std::string("RCON network thread: ") + failure.what());
        }
    }
}

void Server::Impl::Note(Notice kind, const std::string& what)
{
    if (!log)
        return;
    const auto now = Clock::now();
    ShowHeldNotices(now);
    if (notices.Admit(kind, now))
        log(what);
    else
        WaitForHeldNotices();
}

void Server::Impl::WaitForHeldNotices()
{
    const std::optional<Clock::time_point> due = notices.NextDue();
    if (noticeTimerSet || !due)
        return;
    noticeTimerSet = true;
    noticeTimer.expires_at(*due);
    noticeTimer.async_wait([this](std::error_code failure) {
        noticeTimerSet = false;
        if (failure)
            return;
        ShowHeldNotices(Clock::now());
        WaitForHeldNotices();
    });
}

void Server::Impl::ShowHeldNotices(Clock::time_point now)
{
    if (!log)
        return;
    for (const auto& [kind, count] : notices.Due(now))
        log(DescribeHeldBack(kind, count));
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

std::size_t Server::Unauthenticated() const
{
    return impl_->unauthenticatedCount;
}

}  // namespace sim::rcon
