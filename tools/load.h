// The load generator: N clients over loopback, each sending a request and waiting
// for its reply before the next, as a shop or bot does, until M requests in all
// have been answered. Every reply is checked.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "latency.h"

namespace kestrova::tools {

struct LoadOptions {
    std::string host = "127.0.0.1";
    std::uint16_t port = 0;
    std::string password;
    std::size_t clients = 8;
    std::uint64_t requests = 10'000;  // in all
    std::string command;
    std::string expect;  // the one reply each request must get
    // Where client i connects from: from[i % size]. Empty: 127.0.0.1 for the first
    // four, 127.0.0.2 for the next four and so on, since kestrova-sim lets four
    // connections in from one address.
    std::vector<std::string> from;
    std::chrono::milliseconds replyTimeout = std::chrono::seconds(10);  // later, the reply counts as lost
    std::chrono::seconds timeLimit = std::chrono::minutes(10);          // the whole run
};

struct LoadResult {
    std::uint64_t answered = 0;  // correct replies
    std::uint64_t wrong = 0;     // a reply with another id, type or text
    std::uint64_t lost = 0;      // no reply in time, or the connection closed first
    std::size_t clientsIn = 0;   // clients that authenticated
    Latencies latencies;         // of the correct replies
    double seconds = 0;
    std::string firstProblem;

    double RequestsPerSecond() const { return seconds > 0 ? static_cast<double>(answered) / seconds : 0; }
    bool Clean() const { return wrong == 0 && lost == 0; }
};

// Runs the load on the calling thread. `progress`, if given, hears every so many
// correct replies (the count so far), to sample the server while it works.
LoadResult RunLoad(const LoadOptions& options, const std::function<void(std::uint64_t)>& progress = {});

// "50000 requests from 8 clients in 3.1 s: 16129 requests/s; p50 ..., 0 wrong, 0 lost".
std::string Describe(const LoadResult& result);

}  // namespace kestrova::tools
