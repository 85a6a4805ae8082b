// The good client: one authenticated connection that sends one request at a time
// and checks every reply, while an attack goes on around it.
#pragma once

#include <chrono>

#include <cstdint>
#include <memory>
#include <string>

#include "client/rcon_client.h"
#include "latency.h"

namespace kestrova::tools {

struct Endpoint {
    std::string host = "127.0.0.1";
    std::uint16_t port = 0;
    std::string password;
};

struct GoodRequests {
    Latencies latencies;  // of the correct replies
    std::uint64_t wrong = 0;
    std::uint64_t lost = 0;
    std::string problem;  // the first
};

// Two lines: the good client's round trips before and `during` something, how much
// slower its p99 was then, and how many replies were wrong or lost.
std::string DescribeGood(const GoodRequests& quiet, const GoodRequests& during, const std::string& what);

// "2 wrong and 1 lost replies (request 7 lost)"; empty when every reply was right.
std::string GoodFailures(const GoodRequests& quiet, const GoodRequests& during);

class GoodClient {
public:
    // `command` must be answered with `expect`, every time.
    GoodClient(Endpoint server, std::string from, std::string command, std::string expect);

    // Connects and authenticates, again after a lost reply.
    bool Connect();

    // One round trip; false, with the problem noted, when the reply is lost or wrong.
    bool Request(GoodRequests& into);

    // Connects, then makes `count` round trips `gap` apart into `quiet`: the figures
    // an attack is compared with. False, with the problem noted, when it cannot connect.
    bool MeasureQuiet(GoodRequests& quiet, std::size_t count, std::chrono::steady_clock::duration gap);

private:
    Endpoint server_;
    std::string from_;
    std::string command_;
    std::string expect_;
    std::unique_ptr<RconClient> client_;
    std::int32_t id_ = 1;
};

}  // namespace kestrova::tools
