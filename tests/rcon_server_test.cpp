#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "rcon/protocol.h"
#include "rcon/server.h"
#include "support/rcon_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using namespace sim::rcon;

// The command code echoes, except for a few words.
class RconServerTest : public RconFixture {
protected:
    void Answer(const Request& request, const Respond& respond) override
    {
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
            RconFixture::Answer(request, respond);
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

    std::optional<Respond> held_;
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
    auto client = Connect();
    client->Send({5, kAuth, "secret"});
    EXPECT_EQ(client->Next(), (Packet{5, kAuthResponse, ""}));
    // Nothing came between the answer and the reply to the next request.
    client->Send({6, kExecCommand, "hello"});
    EXPECT_EQ(client->Next(), (Packet{6, kResponseValue, "echo: hello"}));
}

TEST_F(RconServerTest, AnswersAWrongPasswordWithMinusOneAndCloses)
{
    Start();
    auto client = Connect();
    client->Send({5, kAuth, "wrong"});
    EXPECT_EQ(client->Next(), (Packet{-1, kAuthResponse, ""}));
    EXPECT_TRUE(client->ClosedByServer());
}

TEST_F(RconServerTest, ClosesOnACommandBeforeAuthentication)
{
    Start();
    auto client = Connect();
    client->Send({1, kExecCommand, "hello"});
    EXPECT_TRUE(client->ClosedByServer());
}

TEST_F(RconServerTest, AnswersProbesWithOneEmptyResponseAfterTheRepliesBeforeThem)
{
    Start();
    auto client = Authenticated();
    // All in one write: a command, a probe of each type, another command.
    client->Write(EncodePacket({10, kExecCommand, "twice"}) + EncodePacket({11, kResponseValue, ""}) +
                  EncodePacket({12, kExecCommand, ""}) + EncodePacket({13, kExecCommand, "hello"}));
    EXPECT_EQ(client->Next(), (Packet{10, kResponseValue, "first"}));
    EXPECT_EQ(client->Next(), (Packet{10, kResponseValue, "second"}));
    EXPECT_EQ(client->Next(), (Packet{11, kResponseValue, ""}));
    EXPECT_EQ(client->Next(), (Packet{12, kResponseValue, ""}));
    EXPECT_EQ(client->Next(), (Packet{13, kResponseValue, "echo: hello"}));
}

TEST_F(RconServerTest, TakesRequestsSplitAcrossWrites)
{
    Start();
    auto client = Connect();
    const std::string stream = EncodePacket({1, kAuth, "secret"}) + EncodePacket({2, kExecCommand, "split"});
    for (char byte : stream) {
        client->Write(std::string_view(&byte, 1));
        std::this_thread::sleep_for(1ms);  // so that the bytes travel apart
    }
    EXPECT_EQ(client->Next(), (Packet{1, kAuthResponse, ""}));
    EXPECT_EQ(client->Next(), (Packet{2, kResponseValue, "echo: split"}));
}

TEST_F(RconServerTest, RepliesWithTheIdsTheCommandGaveAndSplitsLongOnes)
{
    Start();
    auto client = Authenticated();
    client->Send({1, kExecCommand, "silent"});
    client->Send({2, kExecCommand, "other id"});
    client->Send({3, kExecCommand, "hello"});
    EXPECT_EQ(client->Next(), (Packet{77, kResponseValue, "other id"}));
    EXPECT_EQ(client->Next(), (Packet{3, kResponseValue, "echo: hello"}));

    client->Send({4, kExecCommand, "long"});
    client->Send({5, kExecCommand, ""});
    std::string joined;
    for (int i = 0; i < 10; ++i) {
        const auto packet = client->Next();
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
    auto client = Authenticated();
    client->Send({1, kExecCommand, "caf\xC3\xA9 \xFF!\0tail"s});
    EXPECT_EQ(client->Next(), (Packet{1, kResponseValue, "echo: caf\xC3\xA9 \xEF\xBF\xBD!"}));
}

TEST_F(RconServerTest, AMalformedPacketClosesOnlyItsConnection)
{
    Start();
    auto good = Authenticated();
    const std::string tooBig = "\x01\x10\0\0"s;       // 4097
    const std::string tooSmall = "\x09\0\0\0"s;       // 9
    const std::string negative = "\xFF\xFF\xFF\xFF"s; // -1
    for (const std::string& size : {tooBig, tooSmall, negative}) {
        auto bad = Connect();
        bad->Write(size + std::string(16, 'x'));
        EXPECT_TRUE(bad->ClosedByServer());
    }
    auto unknownType = Authenticated();
    unknownType->Send({1, 7, "what"});
    EXPECT_TRUE(unknownType->ClosedByServer());

    good->Send({2, kExecCommand, "still here"});
    EXPECT_EQ(good->Next(), (Packet{2, kResponseValue, "echo: still here"}));
}

TEST_F(RconServerTest, ClosesSilentClientsAfterTheAuthAndIdleTimeouts)
{
    ServerOptions options = Options();
    options.authTimeout = 100ms;
    options.idleTimeout = 300ms;
    Start(options);
    auto silent = Connect();
    EXPECT_TRUE(silent->ClosedByServer());
    EXPECT_TRUE(Noted("did not authenticate in time"));

    auto idle = Connect();
    ASSERT_TRUE(idle->Authenticate(kPassword));
    EXPECT_TRUE(idle->ClosedByServer());
    EXPECT_TRUE(Noted("idle"));
}

TEST_F(RconServerTest, ClosesAConnectionWhenItsClientClosesItsSide)
{
    Start();
    auto client = Authenticated();
    EXPECT_EQ(server_->Connections(), 1u);
    client->EndSending();
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
        auto first = Authenticated();
        auto second = Authenticated();
        auto third = Connect();
        third->Send({1, kAuth, "secret"});
        EXPECT_TRUE(third->ClosedByServer());

        // Room again once one leaves.
        first.reset();
        ASSERT_TRUE(WaitUntil([&] { return server_->Connections() == 1; }));
        auto fourth = Connect();
        EXPECT_TRUE(fourth->Authenticate(kPassword));
        server_.reset();
    }
}

TEST_F(RconServerTest, DropsRepliesForAConnectionThatHasGone)
{
    Start();
    {
        auto client = Authenticated();
        client->Send({1, kExecCommand, "hold"});
        ASSERT_TRUE(WaitUntil([&] { return HasHeld(); }));
    }
    ASSERT_TRUE(WaitUntil([&] { return server_->Connections() == 0; }));
    (*TakeHeld())({{1, "too late"}});

    auto next = Authenticated();
    next->Send({2, kExecCommand, "hello"});
    EXPECT_EQ(next->Next(), (Packet{2, kResponseValue, "echo: hello"}));

    // A reply still held when the server is gone.
    next->Send({3, kExecCommand, "hold"});
    ASSERT_TRUE(WaitUntil([&] { return HasHeld(); }));
    server_.reset();
    (*TakeHeld())({{3, "far too late"}});
}

TEST_F(RconServerTest, AnswersNothingWhenTheCommandDropsItsRequest)
{
    Start();
    auto client = Authenticated();
    client->Send({1, kExecCommand, "hold"});
    ASSERT_TRUE(WaitUntil([&] { return HasHeld(); }));
    TakeHeld().reset();  // the last copy goes without a call
    client->Send({2, kExecCommand, "hello"});
    EXPECT_EQ(client->Next(), (Packet{2, kResponseValue, "echo: hello"}));
}

TEST_F(RconServerTest, StopClosesEveryConnection)
{
    Start();
    auto idle = Connect();
    auto busy = Authenticated();
    busy->Send({1, kExecCommand, "hold"});
    ASSERT_TRUE(WaitUntil([&] { return HasHeld(); }));
    server_->Stop();
    EXPECT_TRUE(idle->ClosedByServer());
    EXPECT_TRUE(busy->ClosedByServer());
}

}  // namespace
}  // namespace kestrova::test
