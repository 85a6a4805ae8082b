// kestrova-sim from its command line to its exit status.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sim {

// Console lines from standard input and RCON requests run on one game thread, one
// at a time. The run ends at /quit, at the end of input (with --serve: at SIGINT or
// SIGTERM after it) or at SIGINT or SIGTERM.
//
// Exit status: 0 after a normal end; 1 when the world cannot be read, the plugin did
// not load, or --serve was given and RCON could not start; 2 for a wrong command line.
int RunSimulator(const std::vector<std::string>& args, const std::filesystem::path& defaultServerDir);

}  // namespace sim
