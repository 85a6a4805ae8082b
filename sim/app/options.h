// kestrova-sim's command line.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/tripwire.h"

namespace sim {

// The password RCON uses when none is given. Good enough for a stand-in that only
// listens on this machine; binding elsewhere needs a password of one's own.
inline constexpr char kDefaultRconPassword[] = "kestrova";

struct RconOptions {
    bool enabled = true;
    std::string bindAddress = "127.0.0.1";
    std::uint16_t port = 27020;               // 0 picks a free port
    std::optional<std::string> password;      // kDefaultRconPassword when absent
    std::chrono::milliseconds authTimeout = std::chrono::seconds(10);
    std::size_t lockoutFailures = 5;           // wrong passwords within the window that lock an address out
    std::chrono::milliseconds lockoutWindow = std::chrono::seconds(60);
    std::size_t maxConnections = 16;           // no flags: for programs that embed the service
    std::size_t maxConnectionsPerAddress = 4;
    // The reply to this command request (counted from 1 over every connection) is
    // dropped after the command ran, and its connection closed; 0: none is.
    std::uint64_t dropReply = 0;
};

struct Options {
    std::filesystem::path serverDir;               // the server's current directory
    std::optional<std::filesystem::path> world;    // the built-in world when absent
    std::filesystem::path plugin;                  // the plugin library
    RconOptions rcon;
    bool serve = false;  // keep running after the end of standard input, until a stop signal
    std::size_t journalEntries = 100'000;  // the journal keeps this many entries; 0: off
    std::optional<TripPoint> killAt;       // the process kills itself when the plugin gets here
    std::vector<std::string> withoutMembers;  // members the game lacks, besides the world file's
    bool help = false;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments (without the program name). Flags take their value as the
// next argument or after "=". Throws UsageError for anything else.
Options ParseOptions(const std::vector<std::string>& args, const std::filesystem::path& defaultServerDir,
                     const std::filesystem::path& defaultPlugin);

std::string Usage();

}  // namespace sim
