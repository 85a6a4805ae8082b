#include "good_client.h"

#include <chrono>
#include <thread>
#include <utility>

#include <fmt/format.h>

namespace kestrova::tools {
namespace {

using namespace std::chrono_literals;
using namespace sim::rcon;

void Note(GoodRequests& into, const std::string& what)
{
    if (into.problem.empty())
        into.problem = what;
}

const std::string& FirstProblem(const GoodRequests& quiet, const GoodRequests& during)
{
    return quiet.problem.empty() ? during.problem : quiet.problem;
}

}  // namespace

std::string DescribeGood(const GoodRequests& quiet, const GoodRequests& during, const std::string& what)
{
    const double quietP99 = quiet.latencies.Percentile(0.99);
    const double duringP99 = during.latencies.Percentile(0.99);
    const std::string& problem = FirstProblem(quiet, during);
    return fmt::format("good client: quiet {} round trips, {}\n", quiet.latencies.Count(), quiet.latencies.Summary()) +
           fmt::format("             {} {} round trips, {}; p99 {:.2f}x quiet; {} wrong, {} lost{}\n", what,
                       during.latencies.Count(), during.latencies.Summary(),
                       quietP99 > 0 ? duringP99 / quietP99 : 0.0, quiet.wrong + during.wrong,
                       quiet.lost + during.lost, problem.empty() ? "" : " (" + problem + ")");
}

std::string GoodFailures(const GoodRequests& quiet, const GoodRequests& during)
{
    const std::uint64_t wrong = quiet.wrong + during.wrong;
    const std::uint64_t lost = quiet.lost + during.lost;
    if (wrong + lost == 0)
        return {};
    return fmt::format("{} wrong and {} lost replies ({})", wrong, lost, FirstProblem(quiet, during));
}

GoodClient::GoodClient(Endpoint server, std::string from, std::string command, std::string expect)
    : server_(std::move(server)), from_(std::move(from)), command_(std::move(command)), expect_(std::move(expect))
{
}

bool GoodClient::Connect()
{
    client_ = std::make_unique<RconClient>();
    return client_->Connect(server_.host, server_.port, from_, 5s) && client_->Authenticate(server_.password, 1, 5s);
}

bool GoodClient::Request(GoodRequests& into)
{
    const auto start = Clock::now();
    ++id_;
    Packet reply;
    RconClient::Got got = RconClient::Got::Closed;
    if (client_->Send({id_, kExecCommand, command_}, 10s))
        got = client_->Next(reply, 10s);
    if (got != RconClient::Got::Packet) {
        ++into.lost;
        Note(into, fmt::format("request {} lost", id_));
        if (!Connect())
            Note(into, "the good client cannot connect again");
        return false;
    }
    if (reply.id != id_ || reply.type != kResponseValue || reply.body != expect_) {
        ++into.wrong;
        Note(into, fmt::format("request {} answered with id {}: \"{}\"", id_, reply.id, reply.body.substr(0, 200)));
        return false;
    }
    into.latencies.Add(Clock::now() - start);
    return true;
}

bool GoodClient::MeasureQuiet(GoodRequests& quiet, std::size_t count, std::chrono::steady_clock::duration gap)
{
    if (!Connect()) {
        quiet.problem = "the good client cannot connect";
        ++quiet.lost;
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        Request(quiet);
        std::this_thread::sleep_for(gap);
    }
    return true;
}

}  // namespace kestrova::tools
