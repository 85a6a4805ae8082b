// The tools' command lines: "--name value" or "--name=value", and switches.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova::tools {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CommandLine {
public:
    // `switches` take no value; every other flag takes one, and may be repeated.
    CommandLine(int argc, char** argv, std::set<std::string> switches);

    bool Has(const std::string& flag);
    std::string Text(const std::string& flag, const std::string& fallback);
    std::vector<std::string> All(const std::string& flag);
    std::uint64_t Number(const std::string& flag, std::uint64_t fallback, std::uint64_t min, std::uint64_t max);

    // Throws UsageError naming a flag that nothing asked for.
    void CheckAllUsed() const;

private:
    std::set<std::string> switches_;
    std::map<std::string, std::vector<std::string>> values_;
    std::set<std::string> used_;
};

}  // namespace kestrova::tools
