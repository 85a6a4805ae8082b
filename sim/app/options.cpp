#include "options.h"

#include <fmt/format.h>

namespace sim {

Options ParseOptions(const std::vector<std::string>& args, const std::filesystem::path& defaultServerDir,
                     const std::filesystem::path& defaultPlugin)
{
    Options options{defaultServerDir, std::nullopt, defaultPlugin};
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string flag = args[i];
        std::optional<std::string> value;
        if (const auto equals = flag.find('='); flag.starts_with("--") && equals != std::string::npos) {
            value = flag.substr(equals + 1);
            flag.resize(equals);
        }
        if (flag == "--help" || flag == "-h") {
            options.help = true;
            continue;
        }
        if (flag != "--server-dir" && flag != "--world" && flag != "--plugin")
            throw UsageError(fmt::format("unknown option \"{}\"", args[i]));
        if (!value) {
            if (i + 1 >= args.size())
                throw UsageError(fmt::format("{} needs a value", flag));
            value = args[++i];
        }
        if (value->empty())
            throw UsageError(fmt::format("{} needs a value", flag));
        if (flag == "--server-dir")
            options.serverDir = *value;
        else if (flag == "--world")
            options.world = *value;
        else
            options.plugin = *value;
    }
    return options;
}

std::string Usage()
{
    return "usage: kestrova-sim [--server-dir DIR] [--world FILE] [--plugin PATH]\n"
           "  --server-dir DIR  the game server's folder (default: the example server)\n"
           "  --world FILE      a world file (JSON) to play in (default: the built-in world)\n"
           "  --plugin PATH     the plugin library (default: the one beside kestrova-sim)\n"
           "Lines on standard input are console commands; /help lists the stand-in's own.\n";
}

}  // namespace sim
