#include "rcon/connection.h"

#include <exception>
#include <utility>

#include <asio/write.hpp>

#include "rcon/utf8.h"

namespace sim::rcon {
namespace {

// Back-pressure: stop reading while this many requests wait, and stop handling
// requests while this many packets wait for a client that does not read.
constexpr std::size_t kMaxPending = 64;
constexpr std::size_t kMaxQueuedWrites = 64;

std::string Describe(std::chrono::steady_clock::duration duration)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

}  // namespace

bool PasswordMatches(std::string_view given, std::string_view expected)
{
    if (expected.empty())
        return false;
    unsigned difference = given.size() == expected.size() ? 0 : 1;
    for (std::size_t i = 0; i < given.size(); ++i) {
        const unsigned char wanted = i < expected.size() ? static_cast<unsigned char>(expected[i]) : 0;
        difference |= static_cast<unsigned>(static_cast<unsigned char>(given[i]) ^ wanted);
    }
    return difference == 0;
}

Connection::Connection(asio::ip::tcp::socket socket, std::string address, std::uint16_t port,
                       ConnectionContext& context)
    : socket_(std::move(socket)), timer_(socket_.get_executor()), address_(std::move(address)), port_(port),
      context_(context)
{
}

void Connection::Start()
{
    // Stock clients take each chunk they receive for one packet, so packets must not wait.
    std::error_code ignored;
    socket_.set_option(asio::ip::tcp::no_delay(true), ignored);
    started_ = lastActivity_ = Clock::now();
    WaitFor(lastActivity_ + context_.options.authTimeout);
    Read();
}

void Connection::Close()
{
    if (closed_)
        return;
    closed_ = true;
    std::error_code ignored;
    timer_.cancel();
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    pending_.clear();
    context_.closed(*this);
}

void Connection::Evict()
{
    if (closed_ || authenticated_)
        return;
    Note(Notice::Evicted, "had not authenticated; closed to make room for a newer connection");
    Close();
}

bool Connection::MayMakeWay(Clock::time_point now, Clock::duration after) const
{
    std::error_code ignored;
    return now >= started_ + after && socket_.available(ignored) == 0;
}

void Connection::Read()
{
    reading_ = true;
    socket_.async_read_some(asio::buffer(readBuffer_), [self = shared_from_this()](std::error_code error, std::size_t length) {
        self->reading_ = false;
        if (self->closed_)
            return;
        if (error) {  // this includes the client closing its side
            self->Close();
            return;
        }
        if (!self->decoder_.Feed({self->readBuffer_.data(), length}, self->pending_)) {
            self->Note(Notice::Malformed, "sent a malformed packet; closed");
            self->Close();
            return;
        }
        self->Process();
    });
}

// Requests are handled one at a time, in order: a request waits until the one before
// it has been answered, so a probe is answered after the replies it probes for.
void Connection::Process()
{
    while (!closed_ && !closeAfterWrites_ && !busy_ && !pending_.empty() && writes_.size() < kMaxQueuedWrites) {
        Packet packet = std::move(pending_.front());
        pending_.pop_front();
        Handle(std::move(packet));
    }
    if (!closed_ && !closeAfterWrites_ && !reading_ && pending_.size() < kMaxPending)
        Read();
}

void Connection::Handle(Packet packet)
{
    lastActivity_ = Clock::now();
    if (packet.type == kAuth) {
        Authenticate(packet);
        return;
    }
    if (!authenticated_) {
        Note(Notice::BeforeAuth, "sent a request before authenticating; closed");
        Close();
        return;
    }
    if (packet.type != kExecCommand && packet.type != kResponseValue) {
        Note(Notice::UnknownType, "sent a packet of unknown type " + std::to_string(packet.type) + "; closed");
        Close();
        return;
    }
    // An empty request or a response-type packet is a client's probe for the end of
    // the replies before it: one empty response answers it, nothing else.
    if (packet.type == kResponseValue || packet.body.empty()) {
        Send({packet.id, kResponseValue, {}});
        return;
    }
    Dispatch(std::move(packet));
}

// Answered with exactly one packet, the request id on success and -1 on failure; a
// wrong password also ends the session.
void Connection::Authenticate(const Packet& packet)
{
    const auto now = Clock::now();
    Lockouts& lockouts = context_.lockouts;
    const bool locked = lockouts.IsLocked(address_, now);
    if (!locked && PasswordMatches(packet.body, context_.options.password)) {
        lockouts.Succeed(address_);
        authenticated_ = true;
        context_.authenticated(*this);
        WaitFor(now + context_.options.idleTimeout);
        Send({packet.id, kAuthResponse, {}});
        return;
    }
    if (locked) {
        Note(Notice::LockedOut, "tried to authenticate while locked out; closed");
    } else if (const auto lock = lockouts.Fail(address_, now); lock > Clock::duration::zero()) {
        Note(Notice::Lockout, "gave a wrong password; closed, address locked out for " + Describe(lock));
    } else {
        Note(Notice::WrongPassword, "gave a wrong password; closed");
    }
    Send({-1, kAuthResponse, {}});
    closeAfterWrites_ = true;
}

// The executor takes the command to the game thread; its replies come back through
// the mailbox, and are dropped if this connection has closed by then.
void Connection::Dispatch(Packet packet)
{
    busy_ = true;
    std::weak_ptr<Connection> self = weak_from_this();
    Respond respond(
        [self, mailbox = context_.mailbox](std::vector<Reply> replies) {
            mailbox->Post([self, replies = std::move(replies)]() mutable {
                if (auto connection = self.lock())
                    connection->Deliver(std::move(replies));
            });
        },
        [self, mailbox = context_.mailbox] {
            mailbox->Post([self] {
                if (auto connection = self.lock())
                    connection->Close();
            });
        });
    try {
        context_.execute(Request{packet.id, ValidUtf8(packet.body), address_, port_}, std::move(respond));
    } catch (const std::exception& error) {
        Note(Notice::HandOff, std::string("request could not be handed on: ") + error.what());
    }
}

void Connection::Deliver(std::vector<Reply> replies)
{
    if (closed_)
        return;
    busy_ = false;
    lastActivity_ = Clock::now();
    for (Reply& reply : replies) {
        for (std::string& piece : SplitReply(reply.body))
            Send({reply.id, kResponseValue, std::move(piece)});
    }
    Process();
}

void Connection::Send(Packet packet)
{
    writes_.push_back(EncodePacket(packet));
    if (!writing_)
        WriteNext();
}

// One packet per write, header and body together: some clients read each chunk
// they receive as exactly one packet.
void Connection::WriteNext()
{
    if (closed_)
        return;
    if (writes_.empty()) {
        if (closeAfterWrites_)
            Close();
        return;
    }
    writing_ = true;
    asio::async_write(socket_, asio::buffer(writes_.front()), [self = shared_from_this()](std::error_code error, std::size_t) {
        self->writing_ = false;
        if (error) {
            self->Close();
            return;
        }
        self->writes_.pop_front();
        self->WriteNext();
        self->Process();  // requests held back by a full queue may go on
    });
}

void Connection::WaitFor(Clock::time_point deadline)
{
    timer_.expires_at(deadline);
    timer_.async_wait([self = shared_from_this()](std::error_code error) {
        // A wait that was replaced by a later deadline ends early or finds it ahead.
        if (error || self->closed_ || Clock::now() < self->timer_.expiry())
            return;
        self->Expired();
    });
}

void Connection::Expired()
{
    const auto now = Clock::now();
    if (!authenticated_) {
        Note(Notice::AuthTimeout, "did not authenticate in time; closed");
        Close();
    } else if (busy_) {
        WaitFor(now + context_.options.idleTimeout);  // the client is waiting for an answer
    } else if (now < lastActivity_ + context_.options.idleTimeout) {
        WaitFor(lastActivity_ + context_.options.idleTimeout);
    } else {
        Note(Notice::IdleTimeout, "was idle too long; closed");
        Close();
    }
}

void Connection::Note(Notice kind, std::string_view what) const
{
    context_.note(kind, "RCON client " + address_ + " " + std::string(what));
}

}  // namespace sim::rcon
