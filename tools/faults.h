// The fault mix: hostile connections of every kind, come and go, while a good client
// keeps sending requests and honest new clients keep trying to get in. Loopback
// only; bounded by the count of each kind and by a time limit.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "good_client.h"
#include "latency.h"

namespace kestrova::tools {

enum class Fault {
    Silent,          // connects and says nothing
    PartialHeader,   // two bytes of a size field, then nothing
    SizeMinusOne,    // a size field the server must refuse, then some bytes
    SizeZero,
    SizeNine,
    Size4097,
    SizeMax,         // 2^31 - 1
    TruncatedBody,   // a packet cut off, then the client's side closed
    BeforeAuth,      // a command before authenticating
    WrongPassword,   // from an address of its own, again and again
    RandomBytes,
    CloseMidReply,   // authenticates, sends a command and goes before its reply is read
};
inline constexpr std::size_t kFaultKinds = static_cast<std::size_t>(Fault::CloseMidReply) + 1;

const char* Name(Fault kind);
std::vector<Fault> AllFaults();

struct FaultOptions {
    Endpoint server;
    std::size_t perKind = 500;
    std::vector<Fault> kinds = AllFaults();
    std::size_t workers = 4;   // hostile connections at work at once, besides the ones left open
    std::size_t rate = 2000;   // hostile connections a second at most; 0 for as fast as they go
    std::size_t lingering = 8; // silent ones each worker leaves open before it drops its oldest

    // Addresses to connect from. Other loopback addresses stand for other machines;
    // the password guessers get one of their own, since it will be locked out.
    std::string honestFrom = "127.0.0.1";
    std::vector<std::string> hostileFrom = {"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5"};
    std::string guesserFrom = "127.0.0.6";

    // The good client's request and its reply, and a cheap one for CloseMidReply.
    std::string command;
    std::string expect;
    std::string cheapCommand;

    std::size_t quietRequests = 1000;  // the good client's round trips before the attack, for comparison
    std::chrono::milliseconds goodGap{1};  // between the good client's requests, before and during the attack
    std::chrono::milliseconds honestGap{5};
    std::chrono::milliseconds honestWithin{1000};
    std::chrono::seconds timeLimit{600};
};

struct FaultOutcome {
    std::size_t runs = 0;
    std::size_t unexpected = 0;  // the server did not answer the way it should have
    std::string firstUnexpected;
};

struct FaultResult {
    std::array<FaultOutcome, kFaultKinds> kinds{};
    std::size_t evicted = 0;  // silent connections the server closed before the worker dropped them

    GoodRequests quiet;        // the good client before the attack
    GoodRequests underAttack;  // and during it

    std::size_t honestTries = 0;
    std::size_t honestIn = 0;      // authenticated
    std::size_t honestInTime = 0;  // within `honestWithin`
    std::size_t honestRefused = 0; // closed or answered -1
    Latencies honest;              // connect to authenticated

    double seconds = 0;  // the attack's length
    bool timedOut = false;

    std::size_t Unexpected() const;
};

FaultResult RunFaultMix(const FaultOptions& options);

// Several lines: per kind, the good client, the honest clients.
std::string Describe(const FaultResult& result, const FaultOptions& options);

}  // namespace kestrova::tools
