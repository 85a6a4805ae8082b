// Who gets in, over the wire: the lock-out after a run of wrong passwords, and the
// budget of connections that have not authenticated yet. Other loopback addresses
// stand for other machines.
#include <algorithm>
#include <chrono>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "rcon/protocol.h"
#include "rcon/server.h"
#include "support/rcon_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;
using namespace sim::rcon;

class RconAdmission : public RconFixture {
protected:
    // A new client that authenticates and is then served.
    bool GetsIn(const std::string& from = "127.0.0.1")
    {
        auto client = Connect(from);
        return client->Authenticate(kPassword) && client->Command("hello", 2) == "echo: hello";
    }

    bool WrongPassword(const std::string& from = "127.0.0.1")
    {
        auto client = Connect(from);
        client->Send({1, kAuth, "guess"});
        return client->Next() == Packet{-1, kAuthResponse, ""} && client->ClosedByServer();
    }
};

TEST_F(RconAdmission, LocksAnAddressOutOnlyAfterARunOfWrongPasswords)
{
    ServerOptions options = Options();
    options.lockoutFailures = 3;
    options.firstLockout = 1h;
    Start(options);
    auto before = Connect();
    ASSERT_TRUE(before->Authenticate(kPassword));

    // A typo, then the right password at once: in, and the count starts again.
    EXPECT_TRUE(WrongPassword());
    EXPECT_TRUE(GetsIn());
    EXPECT_TRUE(WrongPassword());
    EXPECT_TRUE(WrongPassword());
    EXPECT_TRUE(GetsIn()) << "two failures since the last success";

    EXPECT_TRUE(WrongPassword());
    EXPECT_TRUE(WrongPassword());
    EXPECT_TRUE(WrongPassword());
    auto locked = Connect();
    locked->Send({2, kAuth, "secret"});
    EXPECT_EQ(locked->Next(), (Packet{-1, kAuthResponse, ""})) << "even the right password, while locked out";
    EXPECT_TRUE(locked->ClosedByServer());

    EXPECT_TRUE(GetsIn("127.0.0.2")) << "another address is not affected";
    EXPECT_EQ(before->Command("unaffected", 3), "echo: unaffected");

    const auto notes = Notes();
    EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [](const std::string& note) {
        return note == "RCON client 127.0.0.1 gave a wrong password; closed, address locked out for 3600 s";
    }));
}

TEST_F(RconAdmission, ClientsThatNeverAuthenticateCannotCrowdOutOneThatDoes)
{
    ServerOptions options = Options();
    options.authTimeout = 1h;  // only making room closes a silent connection here
    Start(options);
    auto authenticated = Connect();
    ASSERT_TRUE(authenticated->Authenticate(kPassword));

    // From the client's own address, far more than its share.
    std::vector<std::unique_ptr<RconClient>> silent;
    for (int i = 0; i < 12; ++i)
        silent.push_back(Connect());
    ASSERT_TRUE(WaitUntil([&] { return server_->Unauthenticated() == 3 && server_->Connections() == 4; }));
    EXPECT_TRUE(GetsIn());
    EXPECT_TRUE(silent.front()->ClosedByServer()) << "the oldest made way";

    // From many other addresses, more than the budget in all.
    for (int i = 0; i < 12; ++i)
        silent.push_back(Connect("127.0.0." + std::to_string(2 + i % 6)));
    ASSERT_TRUE(WaitUntil([&] { return server_->Unauthenticated() == 8; }));
    EXPECT_TRUE(GetsIn());
    EXPECT_EQ(authenticated->Command("still here", 5), "echo: still here");
}

TEST_F(RconAdmission, AnAddressAtItsLimitMakesRoomOnlyFromItsOwnConnections)
{
    ServerOptions options = Options();
    options.authTimeout = 1h;
    Start(options);
    std::vector<std::unique_ptr<RconClient>> other, own;
    for (int i = 0; i < 2; ++i)
        other.push_back(Connect("127.0.0.2"));
    ASSERT_TRUE(WaitUntil([&] { return server_->Unauthenticated() == 2; }));
    // 127.0.0.1 holds fewer unauthenticated connections than 127.0.0.2 when it reaches its limit.
    for (int i = 0; i < 3; ++i)
        own.push_back(Authenticated("127.0.0.1"));
    for (int i = 0; i < 2; ++i)
        own.push_back(Connect("127.0.0.1"));

    EXPECT_TRUE(own[3]->ClosedByServer()) << "its own oldest made way";
    EXPECT_FALSE(own[4]->ServerHasClosed());
    for (auto& client : other)
        EXPECT_FALSE(client->ServerHasClosed());
    // The newcomer is counted just after its address's oldest is closed for it.
    EXPECT_TRUE(WaitUntil([&] { return server_->Connections() == 6u; })) << server_->Connections();
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(own[i]->Command("hello", 2), "echo: hello");
}

TEST_F(RconAdmission, AFullBudgetMakesRoomFromTheAddressHoldingTheMost)
{
    ServerOptions options = Options();
    options.authTimeout = 1h;
    Start(options);
    // The oldest comes from an address of its own; four from one address come after it.
    auto alone = Connect("127.0.0.3");
    ASSERT_TRUE(WaitUntil([&] { return server_->Unauthenticated() == 1; }));
    std::vector<std::unique_ptr<RconClient>> crowd, others;
    for (int i = 0; i < 4; ++i)
        crowd.push_back(Connect("127.0.0.2"));
    for (int i = 0; i < 3; ++i)
        others.push_back(Connect("127.0.0." + std::to_string(4 + i)));
    ASSERT_TRUE(WaitUntil([&] { return server_->Unauthenticated() == 8; }));
    // Only a connection that has had a moment may make way (the server waits 25 ms);
    // all of them have had it, so the choice is by address alone.
    std::this_thread::sleep_for(200ms);

    EXPECT_TRUE(GetsIn("127.0.0.7"));
    EXPECT_TRUE(crowd.front()->ClosedByServer());
    EXPECT_FALSE(alone->ServerHasClosed()) << "the oldest, but alone from its address";
    for (auto& client : others)
        EXPECT_FALSE(client->ServerHasClosed());
}

TEST_F(RconAdmission, AnAuthenticationGivesBackItsPlaceInItsAddressBudget)
{
    Start();
    auto kept = Authenticated();  // so that the server keeps its count for the address
    for (int i = 0; i < 2 * static_cast<int>(Options().maxUnauthenticatedPerAddress); ++i) {
        EXPECT_TRUE(GetsIn()) << "client " << i;
        ASSERT_TRUE(WaitUntil([&] { return server_->Connections() == 1; }));
    }
}

TEST_F(RconAdmission, AClientMayOpenAllItsConnectionsBeforeAuthenticatingAny)
{
    Start();
    std::vector<std::unique_ptr<RconClient>> pool;
    for (int i = 0; i < 4; ++i)
        pool.push_back(Connect());
    ASSERT_TRUE(WaitUntil([&] { return server_->Unauthenticated() == 4; }));
    for (auto& client : pool)
        EXPECT_TRUE(client->Authenticate(kPassword));
}

TEST_F(RconAdmission, AuthenticatedConnectionsAreNeverClosedToMakeRoom)
{
    ServerOptions options = Options();
    options.maxConnections = 3;
    Start(options);
    std::vector<std::unique_ptr<RconClient>> in;
    for (int i = 0; i < 3; ++i) {
        in.push_back(Connect("127.0.0." + std::to_string(2 + i)));
        ASSERT_TRUE(in.back()->Authenticate(kPassword));
    }
    auto refused = Connect();
    refused->Send({1, kAuth, "secret"});
    EXPECT_TRUE(refused->ClosedByServer());
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(in[i]->Command("hello", 2), "echo: hello");
}

TEST_F(RconAdmission, RefusalsAreSummarisedOnTheConsole)
{
    Start();
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<RconClient>> silent;
    for (int i = 0; i < 50; ++i)
        silent.push_back(Connect());
    for (std::size_t i = 0; i < 46; ++i)
        ASSERT_TRUE(silent[i]->ClosedByServer()) << i;
    server_->Stop();  // shows what is still held back
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // Every one of the 46 evictions is accounted for, mostly in counts.
    const std::regex held(R"(RCON: ([0-9]+) more unauthenticated connections closed to make room \(not shown\))");
    std::size_t shown = 0, counted = 0, lines = 0;
    for (const std::string& note : Notes()) {
        std::smatch match;
        if (std::regex_match(note, match, held)) {
            counted += std::stoul(match[1]);
            ++lines;
        } else if (note.find("closed to make room for a newer connection") != std::string::npos) {
            ++shown;
            ++lines;
        }
    }
    EXPECT_EQ(shown + counted, 46u);
    EXPECT_LE(lines, 2 + 2 * static_cast<std::size_t>(seconds)) << "at most one line a second, and one at the end";
}

}  // namespace
}  // namespace kestrova::test
