// kestrova-sim's command line.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

struct Options {
    std::filesystem::path serverDir;               // the server's current directory
    std::optional<std::filesystem::path> world;    // the built-in world when absent
    std::filesystem::path plugin;                  // the plugin library
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
