#include <array>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <asio/connect.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/write.hpp>
#include <gtest/gtest.h>

#include "rcon/game_thread.h"
#include "rcon/protocol.h"
#include "rcon/server.h"

namespace sim::rcon {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using asio::ip::tcp;

// How long to wait for something that should happen at once. Only a bound, never a measure.
constexpr auto kGenerousWait = 10s;

template <typename Predicate>
bool WaitUntil(Predicate done)
{
    const auto deadline = std::chrono::steady_clock::now() + kGenerousWait;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// A bare RCON client over loopback that shows exactly what the server sends.
class Client {
public:
    explicit Client(std::uint16_t port)
    {
        socket_.connect({asio::ip::make_address("127.0.0.1"), port});
        socket_.set_option(tcp::no_delay(true));
    }

    void SendBytes(std::string_view bytes)
    {
        std::error_code ignored;  // the server may have closed already; reading tells
        asio::write(socket_, asio::buffer(bytes.data(), bytes.size()), ignored);
    }

    void Send(const Packet& packet) { SendBytes(EncodePacket(packet)); }

    void CloseSendingSide() { socket_.shutdown(tcp::socket::shutdown_send); }

    // The next packet; nothing if the server closes the connection first.
    std::optional<Packet> Next()
    {
        Receive();
        if (received_.empty())
            return std::nullopt;
        Packet packet = std::move(received_.front());
        received_.pop_front();
        return packet;
    }

    // True when the server closes the connection without sending anything more.
    bool ClosedByServer()
    {
        Receive();
        return received_.empty() && closed_;
    }

    bool Authenticate(const std::string& password = "secret", std::int32_t id = 1)
    {
        Send({id, kAuth, password});
        return Next() == Packet{id, kAuthResponse, ""};
    }

private:
    // Reads until a packet is whole, the server closes, or the wait runs out.
    void Receive()
    {
        const auto deadline = std::chrono::steady_clock::now() + kGenerousWait;
        while (received_.empty() && !closed_) {
            std::array<char, 8192> buffer;
            std::error_code error;
            std::size_t length = 0;
            socket_.async_read_some(asio::buffer(buffer), [&](std::error_code e, std::size_t n) {
                error = e;
                length = n;
            });
            io_->restart();
            if (io_->run_until(deadline) == 0) {
                socket_.cancel();
                io_->restart();
                io_->run();
            }
            if (error == asio::error::operation_aborted) {
                ADD_FAILURE() << "nothing from the server in time";
                return;
            }
            if (error) {
                closed_ = true;
                return;
            }
            EXPECT_TRUE(decoder_.Feed({buffer.data(), length}, received_)) << "the server sent a malformed packet";
        }
    }

    std::unique_ptr<asio::io_context> io_ = std::make_unique<asio::io_context>();  // so that a Client can move
    tcp::socket socket_{*io_};
    PacketDecoder decoder_;
    std::deque<Packet> received_;
    bool closed_ = false;
};

class RconServerTest : public ::testing::Test {
protected:
    static ServerOptions Options()
    {
        ServerOptions options;
        options.port = 0;
        options.password = "secret";
        return options;
    }

    void Start(ServerOptions options = Options())
    {
        server_ = std::make_unique<Server>(
            std::move(options), [this](Request request, Respond respond) { Execute(std::move(request), std::move(respond)); },
            [this](std::string_view note) {
                std::lock_guard lock(mutex_);
                notes_.emplace_back(note);
            });
        ASSERT_TRUE(server_->Start()) << server_->Error();
    }

    Client Connect() { return Client(server_->Port()); }

    Client Authenticated()
    {
        Client client = Connect();
        EXPECT_TRUE(client.Authenticate());
        return client;
    }

    // The command code: runs on the game thread and echoes, except for a few words.
    void Execute(Request request, Respond respond)
    {
        game_.Post([this, request = std::move(request), respond = std::move(respond)] {
            const std::int32_t id = request.id;
            if (request.body == "silent")
                respond({});
            else if (request.body == "twice")
                respond({{id, "first"}, {id, "second"}});
            else if (request.body == "other id")
                respond({{77, "other id"}});
            else if (request.body == "long")
                respond({{id, LongText()}});
            else if (request.body == "hold")
                Hold(respond);
            else
                respond({{id, "echo: " + request.body}});
        });
    }

    static std::string LongText()
    {
        std::string text;
        for (int i = 0; text.size() < 10000; ++i)
            text += std::to_string(i) + " \xE2\x82\xAC ";
        return text;
    }

    void Hold(const Respond& respond)
    {
        std::lock_guard lock(mutex_);
        held_ = respond;
    }

    bool HasHeld()
    {
        std::lock_guard lock(mutex_);
        return held_.has_value();
    }

    std::optional<Respond> TakeHeld()
    {
        std::lock_guard lock(mutex_);
        return std::exchange(held_, std::nullopt);
    }

    bool Noted(std::string_view part)
    {
        std::lock_guard lock(mutex_);
        for (const std::string& note : notes_) {
            if (note.find(part) != std::string::npos)
                return true;
        }
        return false;
    }

    std::mutex mutex_;
    std::vector<std::string> notes_;
    std::optional<Respond> held_;
    GameThread game_;
    std::unique_ptr<Server> server_;  // stops before the game thread does
};

TEST_F(RconServerTest, StartsOnlyWithAPasswordAndAValidAddress)
{
    ServerOptions options = Options();
    options.password.clear();
    Server noPassword(options, [](Request, Respond) {});
    EXPECT_FALSE(noPassword.Start());
    EXPECT_NE(noPassword.Error().find("password"), std::string::npos) << noPassword.Error();

    options = Options();
    options.bindAddress = "not an address";
    Server badAddress(options, [](Request, Respond) {});
    EXPECT_FALSE(badAddress.Start());
    EXPECT_FALSE(badAddress.Error().empty());

    Start();
    EXPECT_NE(server_->Port(), 0);

    options = Options();
    options.port = server_->Port();
    Server taken(options, [](Request, Respond) {});
    EXPECT_FALSE(taken.Start()) << "the port is in use";
}

TEST_F(RconServerTest, AnswersAuthenticationWithOnePacketCarryingTheRequestId)
{
    Start();
    Client client = Connect();
    client.Send({5, kAuth, "secret"});
    EXPECT_EQ(client.Next(), (Packet{5, kAuthResponse, ""}));
    // Nothing came between the answer and the reply to the next request.
    client.Send({6, kExecCommand, "hello"});
    EXPECT_EQ(client.Next(), (Packet{6, kResponseValue, "echo: hello"}));
}

TEST_F(RconServerTest, AnswersAWrongPasswordWithMinusOneAndCloses)
{
    Start();
    Client client = Connect();
    client.Send({5, kAuth, "wrong"});
    EXPECT_EQ(client.Next(), (Packet{-1, kAuthResponse, ""}));
    EXPECT_TRUE(client.ClosedByServer());
}

TEST_F(RconServerTest, ClosesOnACommandBeforeAuthentication)
{
    Start();
    Client client = Connect();
    client.Send({1, kExecCommand, "hello"});
    EXPECT_TRUE(client.ClosedByServer());
}

TEST_F(RconServerTest, AnswersProbesWithOneEmptyResponseAfterTheRepliesBeforeThem)
{
    Start();
    Client client = Authenticated();
    // All in one write: a command, a probe of each type, another command.
    client.SendBytes(EncodePacket({10, kExecCommand, "twice"}) + EncodePacket({11, kResponseValue, ""}) +
                     EncodePacket({12, kExecCommand, ""}) + EncodePacket({13, kExecCommand, "hello"}));
    EXPECT_EQ(client.Next(), (Packet{10, kResponseValue, "first"}));
    EXPECT_EQ(client.Next(), (Packet{10, kResponseValue, "second"}));
    EXPECT_EQ(client.Next(), (Packet{11, kResponseValue, ""}));
    EXPECT_EQ(client.Next(), (Packet{12, kResponseValue, ""}));
    EXPECT_EQ(client.Next(), (Packet{13, kResponseValue, "echo: hello"}));
}

TEST_F(RconServerTest, TakesRequestsSplitAcrossWrites)
{
    Start();
    Client client = Connect();
    const std::string stream = EncodePacket({1, kAuth, "secret"}) + EncodePacket({2, kExecCommand, "split"});
    for (char byte : stream) {
        client.SendBytes(std::string_view(&byte, 1));
        std::this_thread::sleep_for(1ms);  // so that the bytes travel apart
    }
    EXPECT_EQ(client.Next(), (Packet{1, kAuthResponse, ""}));
    EXPECT_EQ(client.Next(), (Packet{2, kResponseValue, "echo: split"}));
}

TEST_F(RconServerTest, RepliesWithTheIdsTheCommandGaveAndSplitsLongOnes)
{
    Start();
    Client client = Authenticated();
    client.Send({1, kExecCommand, "silent"});
    client.Send({2, kExecCommand, "other id"});
    client.Send({3, kExecCommand, "hello"});
    EXPECT_EQ(client.Next(), (Packet{77, kResponseValue, "other id"}));
    EXPECT_EQ(client.Next(), (Packet{3, kResponseValue, "echo: hello"}));

    client.Send({4, kExecCommand, "long"});
    client.Send({5, kExecCommand, ""});
    std::string joined;
    for (int i = 0; i < 10; ++i) {
        const auto packet = client.Next();
        ASSERT_TRUE(packet);
        if (packet->id == 5)
            break;
        EXPECT_EQ(packet->id, 4);
        EXPECT_LE(packet->body.size(), kMaxReplyBody);
        joined += packet->body;
    }
    EXPECT_EQ(joined, LongText());
}

TEST_F(RconServerTest, HandsOnBodiesCutAtTheirFirstNulAsValidUtf8)
{
    Start();
    Client client = Authenticated();
    client.Send({1, kExecCommand, "caf\xC3\xA9 \xFF!\0tail"s});
    EXPECT_EQ(client.Next(), (Packet{1, kResponseValue, "echo: caf\xC3\xA9 \xEF\xBF\xBD!"}));
}

TEST_F(RconServerTest, AMalformedPacketClosesOnlyItsConnection)
{
    Start();
    Client good = Authenticated();
    const std::string tooBig = "\x01\x10\0\0"s;       // 4097
    const std::string tooSmall = "\x09\0\0\0"s;       // 9
    const std::string negative = "\xFF\xFF\xFF\xFF"s; // -1
    for (const std::string& size : {tooBig, tooSmall, negative}) {
        Client bad = Connect();
        bad.SendBytes(size + std::string(16, 'x'));
        EXPECT_TRUE(bad.ClosedByServer());
    }
    Client unknownType = Authenticated();
    unknownType.Send({1, 7, "what"});
    EXPECT_TRUE(unknownType.ClosedByServer());

    good.Send({2, kExecCommand, "still here"});
    EXPECT_EQ(good.Next(), (Packet{2, kResponseValue, "echo: still here"}));
}

TEST_F(RconServerTest, ClosesSilentClientsAfterTheAuthAndIdleTimeouts)
{
    ServerOptions options = Options();
    options.authTimeout = 100ms;
    options.idleTimeout = 300ms;
    Start(options);
    Client silent = Connect();
    EXPECT_TRUE(silent.ClosedByServer());
    EXPECT_TRUE(Noted("did not authenticate in time"));

    Client idle = Connect();
    ASSERT_TRUE(idle.Authenticate());
    EXPECT_TRUE(idle.ClosedByServer());
    EXPECT_TRUE(Noted("idle"));
}

TEST_F(RconServerTest, ClosesAConnectionWhenItsClientClosesItsSide)
{
    Start();
    Client client = Authenticated();
    EXPECT_EQ(server_->Connections(), 1u);
    client.CloseSendingSide();
    EXPECT_TRUE(WaitUntil([&] { return server_->Connections() == 0; }));
}

TEST_F(RconServerTest, BoundsConnectionsPerAddressAndInAll)
{
    ServerOptions perAddress = Options();
    perAddress.maxConnectionsPerAddress = 2;
    ServerOptions inAll = Options();
    inAll.maxConnections = 2;
    for (const ServerOptions& options : {perAddress, inAll}) {
        Start(options);
        auto first = std::make_unique<Client>(Authenticated());
        Client second = Authenticated();
        Client third = Connect();
        third.Send({1, kAuth, "secret"});
        EXPECT_TRUE(third.ClosedByServer());

        // Room again once one leaves.
        first.reset();
        ASSERT_TRUE(WaitUntil([&] { return server_->Connections() == 1; }));
        Client fourth = Connect();
        EXPECT_TRUE(fourth.Authenticate());
        server_.reset();
    }
}

TEST_F(RconServerTest, DropsRepliesForAConnectionThatHasGone)
{
    Start();
    {
        Client client = Authenticated();
        client.Send({1, kExecCommand, "hold"});
        ASSERT_TRUE(WaitUntil([&] { return HasHeld(); }));
    }
    ASSERT_TRUE(WaitUntil([&] { return server_->Connections() == 0; }));
    (*TakeHeld())({{1, "too late"}});

    Client next = Authenticated();
    next.Send({2, kExecCommand, "hello"});
    EXPECT_EQ(next.Next(), (Packet{2, kResponseValue, "echo: hello"}));

    // A reply still held when the server is gone.
    next.Send({3, kExecCommand, "hold"});
    ASSERT_TRUE(WaitUntil([&] { return HasHeld(); }));
    server_.reset();
    (*TakeHeld())({{3, "far too late"}});
}

TEST_F(RconServerTest, AnswersNothingWhenTheCommandDropsItsRequest)
{
    Start();
    Client client = Authenticated();
    client.Send({1, kExecCommand, "hold"});
    ASSERT_TRUE(WaitUntil([&] { return HasHeld(); }));
    TakeHeld().reset();  // the last copy goes without a call
    client.Send({2, kExecCommand, "hello"});
    EXPECT_EQ(client.Next(), (Packet{2, kResponseValue, "echo: hello"}));
}

TEST_F(RconServerTest, StopClosesEveryConnection)
{
    Start();
    Client idle = Connect();
    Client busy = Authenticated();
    busy.Send({1, kExecCommand, "hold"});
    ASSERT_TRUE(WaitUntil([&] { return HasHeld(); }));
    server_->Stop();
    EXPECT_TRUE(idle.ClosedByServer());
    EXPECT_TRUE(busy.ClosedByServer());
}

}  // namespace
}  // namespace sim::rcon
