// Round trips over loopback through the RCON endpoint and the game thread, for one
// and for several clients at once, with a command that does nothing: what the
// endpoint itself costs. Then the same through the simulator's whole path (game
// thread, host registry, the loaded plugin, the simulated game), for a targeted spawn
// and for requests that end early, so the plugin's share shows.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/read.hpp>
#include <asio/write.hpp>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "AsaApi.h"
#include "app/rcon_service.h"
#include "game/game.h"
#include "framework/host.h"
#include "plugin/lifecycle.h"
#include "rcon/game_thread.h"
#include "rcon/protocol.h"
#include "rcon/server.h"

namespace {

using namespace sim::rcon;
using asio::ip::tcp;

constexpr const char* kPassword = "bench";

// Waits for each reply before sending the next request, as a shop or bot would.
class BlockingClient {
public:
    explicit BlockingClient(std::uint16_t port)
    {
        socket_.connect({asio::ip::make_address("127.0.0.1"), port});
        socket_.set_option(tcp::no_delay(true));
        if (RoundTrip({1, kAuth, kPassword}).id != 1)
            throw std::runtime_error("authentication failed");
    }

    Packet RoundTrip(const Packet& request)
    {
        asio::write(socket_, asio::buffer(EncodePacket(request)));
        std::array<unsigned char, 4> size;
        asio::read(socket_, asio::buffer(size));
        const std::uint32_t length = size[0] | size[1] << 8 | size[2] << 16 | static_cast<std::uint32_t>(size[3]) << 24;
        if (length > static_cast<std::uint32_t>(kMaxPacketSize))
            throw std::runtime_error("oversized reply");
        std::string frame(4 + length, '\0');
        std::copy(size.begin(), size.end(), frame.begin());
        asio::read(socket_, asio::buffer(frame.data() + 4, length));
        std::deque<Packet> packets;
        if (!PacketDecoder().Feed(frame, packets) || packets.size() != 1)
            throw std::runtime_error("malformed reply");
        return packets.front();
    }

private:
    asio::io_context io_;
    tcp::socket socket_{io_};
};

// The endpoint in front of a game thread, as the simulator runs it, with a command
// that answers at once.
struct Endpoint {
    static ServerOptions Options()
    {
        ServerOptions options;
        options.port = 0;
        options.password = kPassword;
        options.maxConnections = 64;
        options.maxConnectionsPerAddress = 64;
        return options;
    }

    Endpoint()
    {
        if (!server.Start())
            throw std::runtime_error(server.Error());
    }

    GameThread game;
    Server server{Options(), [this](Request request, Respond respond) {
                      game.Post([request = std::move(request), respond = std::move(respond)] {
                          respond({{request.id, ""}});
                      });
                  }};
};

Endpoint& SharedEndpoint()
{
    static Endpoint endpoint;
    return endpoint;
}

double Percentile(std::vector<double>& sorted, double fraction)
{
    if (sorted.empty())
        return 0;
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(fraction * static_cast<double>(sorted.size())))];
}

// Reports round-trip latency (median and 99th percentile, in microseconds, averaged
// over the clients) and requests per second (over all clients).
void MeasureRoundTrips(benchmark::State& state, std::uint16_t port, const std::string& command)
{
    BlockingClient client(port);
    std::vector<double> micros;
    micros.reserve(1 << 16);
    std::int32_t id = 1;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const Packet reply = client.RoundTrip({++id, kExecCommand, command});
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        if (reply.id != id) {
            state.SkipWithError("reply to another request");
            break;
        }
    }
    std::sort(micros.begin(), micros.end());
    state.counters["p50_us"] = benchmark::Counter(Percentile(micros, 0.50), benchmark::Counter::kAvgThreads);
    state.counters["p99_us"] = benchmark::Counter(Percentile(micros, 0.99), benchmark::Counter::kAvgThreads);
    state.SetItemsProcessed(state.iterations());
}

void BM_RconRoundTripNothing(benchmark::State& state)
{
    MeasureRoundTrips(state, SharedEndpoint().server.Port(), "Kestrova.Nothing");
}
BENCHMARK(BM_RconRoundTripNothing)->UseRealTime()->Threads(1)->Threads(4)->Threads(16);

// kestrova-sim's RCON path in one process: the built-in world (Alice with room for
// every item the benchmark makes), the plugin loaded from a server folder of its
// own, and the service that runs each request on the game thread. The console's
// traffic line is built but not printed.
struct SimulatorPath {
    static nlohmann::json World()
    {
        nlohmann::json world = sim::DefaultWorld();
        world["players"][0]["inventorySlots"] = 1 << 30;
        return world;
    }

    static std::filesystem::path ServerDir()
    {
        const auto dir = std::filesystem::temp_directory_path() / "kestrova-bench-server";
        std::filesystem::create_directories(dir / "ArkApi" / "Plugins" / "Kestrova");
        std::ofstream(dir / "ArkApi" / "Plugins" / "Kestrova" / "config.json") << "{}";
        return dir;
    }

    SimulatorPath()
    {
        sim::SetCurrentDir(ServerDir().string());
        kestrova::Load();
        sim::RconOptions options;
        options.port = 0;
        options.password = kPassword;
        options.maxConnections = 64;
        options.maxConnectionsPerAddress = 64;
        std::string error;
        if (!service.Start(options, error))
            throw std::runtime_error(error);
    }

    sim::Game game{World()};
    GameThread gameThread;
    sim::RconService service{game, gameThread, [](const std::string& line) { benchmark::DoNotOptimize(line.size()); }};
};

SimulatorPath& SharedSimulatorPath()
{
    static SimulatorPath path;
    return path;
}

// A stone into Alice's inventory: the forwarder, KV.SpawnItem and the item factory.
void BM_SimRconTargetedSpawn(benchmark::State& state)
{
    MeasureRoundTrips(state, SharedSimulatorPath().service.Port(),
                      "KV.SpawnItemFor 1001 Blueprint'/Game/Items/Resources/PrimalItemResource_Stone."
                      "PrimalItemResource_Stone' \"\" 0 0 1");
}
BENCHMARK(BM_SimRconTargetedSpawn)->UseRealTime()->Threads(1)->Threads(4)->Threads(16);

// The forwarder alone: no player has the id, so nothing is spawned.
void BM_SimRconTargetedUnknownId(benchmark::State& state)
{
    MeasureRoundTrips(state, SharedSimulatorPath().service.Port(), "KV.SpawnItemFor 9999 a b 0 0 1");
}
BENCHMARK(BM_SimRconTargetedUnknownId)->UseRealTime()->Threads(1)->Threads(4)->Threads(16);

// No plugin code at all: the stand-in answers a command nothing registered.
void BM_SimRconUnknownCommand(benchmark::State& state)
{
    MeasureRoundTrips(state, SharedSimulatorPath().service.Port(), "Kestrova.Nothing");
}
BENCHMARK(BM_SimRconUnknownCommand)->UseRealTime()->Threads(1)->Threads(4)->Threads(16);

}  // namespace
