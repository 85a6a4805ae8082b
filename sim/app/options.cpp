#include "options.h"

#include <charconv>
#include <utility>

#include <fmt/format.h>

#include "session_input.h"

namespace sim {
namespace {

// A whole decimal number from `min` to `max`.
long long NumberValue(const std::string& flag, const std::string& value, long long min, long long max)
{
    long long number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < min || number > max)
        throw UsageError(fmt::format("{} needs a number from {} to {}, not \"{}\"", flag, min, max, value));
    return number;
}

TripPoint KillPoint(const std::string& value)
{
    std::optional<TripPoint> point = ParseTripPoint(value);
    if (!point)
        throw UsageError(fmt::format("--kill-at needs dispatch:COMMAND, call:MEMBER or return:MEMBER, not \"{}\"", value));
    return std::move(*point);
}

bool IsSwitch(const std::string& flag) { return flag == "--help" || flag == "-h" || flag == "--no-rcon" || flag == "--serve"; }

bool TakesValue(const std::string& flag)
{
    return flag == "--server-dir" || flag == "--world" || flag == "--plugin" || flag == "--rcon-port" ||
           flag == "--rcon-password" || flag == "--rcon-bind" || flag == "--rcon-auth-timeout-ms" ||
           flag == "--rcon-lockout-failures" || flag == "--rcon-lockout-window-ms" || flag == "--journal" ||
           flag == "--rcon-drop-reply" || flag == "--kill-at" || flag == "--without-member";
}

void SetSwitch(Options& options, const std::string& flag)
{
    if (flag == "--no-rcon")
        options.rcon.enabled = false;
    else if (flag == "--serve")
        options.serve = true;
    else
        options.help = true;
}

void SetValue(Options& options, const std::string& flag, const std::string& value)
{
    // An empty password is a choice of its own: RCON then stays off and says so.
    if (value.empty() && flag != "--rcon-password")
        throw UsageError(fmt::format("{} needs a value", flag));
    if (flag == "--server-dir")
        options.serverDir = value;
    else if (flag == "--world")
        options.world = value;
    else if (flag == "--plugin")
        options.plugin = value;
    else if (flag == "--rcon-port")
        options.rcon.port = static_cast<std::uint16_t>(NumberValue(flag, value, 0, 65535));
    else if (flag == "--rcon-password")
        options.rcon.password = value;
    else if (flag == "--rcon-bind")
        options.rcon.bindAddress = value;
    else if (flag == "--rcon-lockout-failures")
        options.rcon.lockoutFailures = static_cast<std::size_t>(NumberValue(flag, value, 1, 1'000'000));
    else if (flag == "--rcon-lockout-window-ms")
        options.rcon.lockoutWindow = std::chrono::milliseconds(NumberValue(flag, value, 1, 86'400'000));
    else if (flag == "--journal")
        options.journalEntries = value == "off" ? 0 : static_cast<std::size_t>(NumberValue(flag, value, 1, 100'000'000));
    else if (flag == "--rcon-drop-reply")
        options.rcon.dropReply = static_cast<std::uint64_t>(NumberValue(flag, value, 1, 1'000'000'000));
    else if (flag == "--kill-at")
        options.killAt = KillPoint(value);
    else if (flag == "--without-member")
        options.withoutMembers.push_back(value);
    else
        options.rcon.authTimeout = std::chrono::milliseconds(NumberValue(flag, value, 1, 3'600'000));
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args, const std::filesystem::path& defaultServerDir,
                     const std::filesystem::path& defaultPlugin)
{
    Options options;
    options.serverDir = defaultServerDir;
    options.plugin = defaultPlugin;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string flag = args[i];
        std::optional<std::string> value;
        if (const auto equals = flag.find('='); flag.starts_with("--") && equals != std::string::npos) {
            value = flag.substr(equals + 1);
            flag.resize(equals);
        }
        if (IsSwitch(flag) && !value) {
            SetSwitch(options, flag);
            continue;
        }
        if (!TakesValue(flag))
            throw UsageError(fmt::format("unknown option \"{}\"", args[i]));
        if (!value) {
            if (i + 1 >= args.size())
                throw UsageError(fmt::format("{} needs a value", flag));
            value = args[++i];
        }
        SetValue(options, flag, *value);
    }
    return options;
}

std::string Usage()
{
    return fmt::format(
        "usage: kestrova-sim [--server-dir DIR] [--world FILE] [--plugin PATH] [--serve]\n"
        "                    [--rcon-port N] [--rcon-password P] [--rcon-bind ADDR] [--no-rcon]\n"
        "  --server-dir DIR      the game server's folder (default: the example server)\n"
        "  --world FILE          a world file (JSON) to play in (default: the built-in world)\n"
        "  --plugin PATH         the plugin library (default: the one beside kestrova-sim)\n"
        "  --serve               keep serving RCON after the end of standard input, until\n"
        "                        {} (without it, the end of input ends the run)\n"
        "  --rcon-port N         the RCON port (default: 27020; 0 picks a free one)\n"
        "  --rcon-password P     the RCON password (default: \"{}\"; empty turns RCON off)\n"
        "  --rcon-bind ADDR      the address RCON listens on (default: 127.0.0.1); another\n"
        "                        than a loopback address needs --rcon-password as well\n"
        "  --rcon-auth-timeout-ms N  how long a client may take to authenticate (default: 10000)\n"
        "  --rcon-lockout-failures N  this many wrong passwords from one address within the\n"
        "                        window below lock it out, from 1 s doubling up to 5 minutes (default: 5)\n"
        "  --rcon-lockout-window-ms N  that window (default: 60000)\n"
        "  --no-rcon             no RCON at all: the console only\n"
        "  --journal N|off       keep the last N journal entries (default: 100000), or none\n"
        "  --rcon-drop-reply N   run the Nth RCON command request, then drop its reply and\n"
        "                        close its connection, as a network that fails would\n"
        "  --kill-at POINT       die at once (SIGKILL, or termination on Windows) when the\n"
        "                        plugin first reaches POINT: dispatch:COMMAND (before the\n"
        "                        host runs it), call:MEMBER or return:MEMBER (a game member,\n"
        "                        named as /journal shows it, called or returned)\n"
        "  --without-member NAME play a game that lacks that member (repeatable; named as\n"
        "                        /journal shows it): the plugin finds it missing, as after\n"
        "                        a game update\n"
        "Lines on standard input are console commands; /help lists the stand-in's own.\n",
        SessionInput::StopRequests(), kDefaultRconPassword);
}

}  // namespace sim
