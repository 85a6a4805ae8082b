// kestrova-load: N clients send M requests in all to an RCON server over loopback,
// each waiting for its reply, and every reply is checked. With --echo the server is
// the floor, a minimal echo server of the same framing, run in this process.
#include <iostream>
#include <memory>

#include "cli.h"
#include "defaults.h"
#include "echo_server.h"
#include "load.h"

namespace {

constexpr char kUsage[] =
    "usage: kestrova-load (--port N | --echo) [--host ADDR] [--password P] [--clients N]\n"
    "                     [--requests M] [--command TEXT] [--expect TEXT] [--time-limit-s S]\n"
    "  --port N          an RCON server on this machine, such as kestrova-sim --serve\n"
    "  --echo            measure the floor instead: a minimal echo server in this process\n"
    "  --host ADDR       the server's loopback address (default 127.0.0.1)\n"
    "  --password P      (default \"kestrova\")\n"
    "  --clients N       clients at once (default 8)\n"
    "  --from ADDR       a loopback address to connect from (repeatable: client i uses the\n"
    "                    i-th, round); default 127.0.0.1 for four clients, then 127.0.0.2...\n"
    "  --requests M      requests in all (default 100000)\n"
    "  --command TEXT    the request (default: a targeted spawn of a stone for player 1001;\n"
    "                    with --echo, a text of the same length)\n"
    "  --expect TEXT     the reply each request must get (default: the plugin's success\n"
    "                    reply; with --echo, the request itself)\n"
    "Exits 1 when a reply was wrong or lost.\n";

bool IsLoopback(const std::string& host)
{
    return host.starts_with("127.") || host == "::1";
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace kestrova::tools;
    try {
        CommandLine line(argc, argv, {"--echo", "--help"});
        if (line.Has("--help")) {
            std::cout << kUsage;
            return 0;
        }
        LoadOptions options;
        const bool echo = line.Has("--echo");
        options.host = line.Text("--host", "127.0.0.1");
        options.password = line.Text("--password", kDefaultPassword);
        options.clients = line.Number("--clients", 8, 1, 1000);
        options.from = line.All("--from");
        options.requests = line.Number("--requests", 100'000, 1, 100'000'000);
        options.timeLimit = std::chrono::seconds(line.Number("--time-limit-s", 3600, 1, 86'400));
        const std::string spawn = kSpawnCommand;
        options.command = line.Text("--command", echo ? std::string(spawn.size(), 'e') : spawn);
        options.expect = line.Text("--expect", echo ? options.command : kSpawnReply);
        std::unique_ptr<EchoServer> floor;
        if (echo) {
            floor = std::make_unique<EchoServer>(options.password);
            options.port = floor->Port();
        } else {
            if (!line.Has("--port"))
                throw UsageError("give --port, or --echo");
            options.port = static_cast<std::uint16_t>(line.Number("--port", 0, 1, 65535));
        }
        line.CheckAllUsed();
        if (!IsLoopback(options.host))
            throw UsageError("--host must be a loopback address: this is a load generator");

        std::cout << "kestrova-load: " << options.requests << " requests from " << options.clients << " clients to "
                  << (echo ? "the echo floor" : options.host + ":" + std::to_string(options.port)) << "\n"
                  << std::flush;
        const LoadResult result = RunLoad(options);
        std::cout << Describe(result) << "\n";
        std::cout << "replies later than 50 ms: " << result.latencies.Over(std::chrono::milliseconds(50)) << "\n";
        if (!result.firstProblem.empty())
            std::cout << "first problem: " << result.firstProblem << "\n";
        return result.Clean() && result.clientsIn == options.clients ? 0 : 1;
    } catch (const UsageError& error) {
        std::cerr << "kestrova-load: " << error.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "kestrova-load: " << error.what() << "\n";
        return 1;
    }
}
