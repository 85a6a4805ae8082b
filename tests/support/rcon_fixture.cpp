#include "support/rcon_fixture.h"

#include <algorithm>

namespace kestrova::test {

using namespace sim::rcon;

ServerOptions RconFixture::Options()
{
    ServerOptions options;
    options.port = 0;
    options.password = kPassword;
    return options;
}

void RconFixture::Start(ServerOptions options)
{
    server_ = std::make_unique<Server>(
        std::move(options),
        [this](Request request, Respond respond) {
            game_.Post([this, request = std::move(request), respond = std::move(respond)] { Answer(request, respond); });
        },
        [this](std::string_view note) {
            std::lock_guard lock(mutex_);
            notes_.emplace_back(note);
        });
    ASSERT_TRUE(server_->Start()) << server_->Error();
}

void RconFixture::TearDown()
{
    server_.reset();
    game_.Stop();
}

void RconFixture::Answer(const Request& request, const Respond& respond)
{
    respond({{request.id, "echo: " + request.body}});
}

std::unique_ptr<RconClient> RconFixture::Connect(const std::string& from)
{
    auto client = std::make_unique<RconClient>();
    EXPECT_TRUE(client->Connect("127.0.0.1", server_->Port(), from)) << "from " << from;
    return client;
}

std::unique_ptr<RconClient> RconFixture::Authenticated(const std::string& from)
{
    auto client = Connect(from);
    EXPECT_TRUE(client->Authenticate(kPassword)) << "from " << from;
    return client;
}

std::vector<std::string> RconFixture::Notes()
{
    std::lock_guard lock(mutex_);
    return notes_;
}

bool RconFixture::Noted(std::string_view part)
{
    const std::vector<std::string> notes = Notes();
    return std::any_of(notes.begin(), notes.end(),
                       [&](const std::string& note) { return note.find(part) != std::string::npos; });
}

}  // namespace kestrova::test
