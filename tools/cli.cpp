#include "cli.h"

#include <charconv>

namespace kestrova::tools {

CommandLine::CommandLine(int argc, char** argv, std::set<std::string> switches) : switches_(std::move(switches))
{
    for (int i = 1; i < argc; ++i) {
        std::string flag = argv[i];
        if (!flag.starts_with("--"))
            throw UsageError("unexpected \"" + flag + "\"");
        std::string value;
        if (const auto equals = flag.find('='); equals != flag.npos) {
            value = flag.substr(equals + 1);
            flag.resize(equals);
        } else if (!switches_.contains(flag)) {
            if (i + 1 >= argc)
                throw UsageError(flag + " needs a value");
            value = argv[++i];
        }
        values_[flag].push_back(value);
    }
}

bool CommandLine::Has(const std::string& flag)
{
    used_.insert(flag);
    return values_.contains(flag);
}

std::string CommandLine::Text(const std::string& flag, const std::string& fallback)
{
    used_.insert(flag);
    const auto found = values_.find(flag);
    return found == values_.end() ? fallback : found->second.back();
}

std::vector<std::string> CommandLine::All(const std::string& flag)
{
    used_.insert(flag);
    const auto found = values_.find(flag);
    return found == values_.end() ? std::vector<std::string>{} : found->second;
}

std::uint64_t CommandLine::Number(const std::string& flag, std::uint64_t fallback, std::uint64_t min, std::uint64_t max)
{
    used_.insert(flag);
    const auto found = values_.find(flag);
    if (found == values_.end())
        return fallback;
    const std::string& text = found->second.back();
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < min || number > max)
        throw UsageError(flag + " needs a number from " + std::to_string(min) + " to " + std::to_string(max) +
                         ", not \"" + text + "\"");
    return number;
}

void CommandLine::CheckAllUsed() const
{
    for (const auto& [flag, values] : values_) {
        if (!used_.contains(flag))
            throw UsageError("unknown option \"" + flag + "\"");
    }
}

}  // namespace kestrova::tools
