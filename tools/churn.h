// The churn: many connections that never authenticate and reconnect as soon as they
// are closed, as a flooding script does, while honest new clients try to log in and
// the good client keeps sending. One phase for each kind of churning connection.
// Loopback only; bounded in time.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "good_client.h"
#include "latency.h"

namespace kestrova::tools {

enum class Churn {
    Silent,         // connects and says nothing
    PartialHeader,  // two bytes of a size field, then nothing
};

const char* Name(Churn kind);

struct ChurnOptions {
    Endpoint server;
    std::vector<Churn> kinds = {Churn::Silent, Churn::PartialHeader};
    std::size_t connections = 200;  // churning at once
    std::size_t addresses = 50;     // they come from, in turn: 127.0.1.1, 127.0.1.2...

    // Honest new clients, each from an address of its own (127.0.2.1, ...), one every
    // `honestEvery` and at most `honestAtOnce` at a time; each tries up to
    // `honestTries` times and counts as in within `honestWithin`.
    std::size_t honest = 100;
    std::chrono::milliseconds honestEvery{40};
    std::size_t honestAtOnce = 16;
    std::size_t honestTries = 3;
    std::chrono::milliseconds honestWithin{2000};
    std::chrono::milliseconds rampUp{500};  // of churn before the first honest client

    // The good client, from 127.0.0.1.
    std::string command;
    std::string expect;
    std::size_t quietRequests = 1000;  // before any churn, for comparison
    std::chrono::milliseconds goodGap{1};
    std::chrono::seconds timeLimit{600};
};

struct ChurnPhase {
    Churn kind = Churn::Silent;
    std::uint64_t connects = 0;  // churning connections made
    std::size_t honestIn = 0;        // authenticated within `honestWithin`, in at most `honestTries` tries
    std::size_t honestShutOut = 0;   // not in at all
    std::size_t honestRetried = 0;   // in, but not at the first try
    std::size_t mostTries = 0;
    Latencies honest;                // first connect to authenticated, of those in
    GoodRequests good;               // the good client during the phase
    double seconds = 0;
    bool timedOut = false;

    double ConnectsPerSecond() const { return seconds > 0 ? static_cast<double>(connects) / seconds : 0; }
};

struct ChurnResult {
    GoodRequests quiet;  // the good client before any churn
    std::vector<ChurnPhase> phases;
};

ChurnResult RunChurn(const ChurnOptions& options);

// Per phase: the churn, the honest clients, the good client.
std::string Describe(const ChurnResult& result, const ChurnOptions& options);

}  // namespace kestrova::tools
