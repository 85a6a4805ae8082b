// kestrova-soak: starts kestrova-sim, drives it with the load generator and then with
// the fault mix, samples its memory and open files throughout, stops it as a user
// would, and says whether it held up. Loopback only; bounded in count and time.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include <fmt/format.h>

#include "churn.h"
#include "cli.h"
#include "defaults.h"
#include "faults.h"
#include "load.h"
#include "sim_process.h"

namespace {

using namespace kestrova::tools;
using namespace std::chrono_literals;

constexpr char kUsage[] =
    "usage: kestrova-soak [--sim PATH] [--clients N] [--requests M] [--warmup W] [--faults K]\n"
    "                     [--max-rss-growth-mb X] [--time-limit-s S] [--sim-arg ARG]...\n"
    "  --sim PATH             kestrova-sim (default: the one beside this program)\n"
    "  --sim-arg ARG          one more argument for it (repeatable)\n"
    "  --port N               instead, an RCON server already running (nothing is sampled)\n"
    "  --clients N            load clients at once (default 8)\n"
    "  --warmup W             requests before the baseline is taken (default 5000)\n"
    "  --requests M           requests after the warm-up (default 50000)\n"
    "  --faults K             then each kind of hostile connection K times while a good\n"
    "                         client keeps sending and honest ones keep logging in (default 0)\n"
    "  --fault-workers N      hostile connections at work at once (default 4)\n"
    "  --fault-rate N         hostile connections a second at most (default 2000; 0: unpaced)\n"
    "  --churn N              then N connections that never authenticate and reconnect\n"
    "                         as soon as they are closed, silent ones and then ones that\n"
    "                         send a partial header, while honest clients log in (default 0)\n"
    "  --churn-from N         loopback addresses the churn comes from (default 50)\n"
    "  --honest N             honest clients in each churn phase (default 100)\n"
    "  --max-p99-ratio X      fail when the good client's p99 under churn is more than X\n"
    "                         times its quiet p99\n"
    "  --hostile-from ADDR    where hostile connections come from (repeatable; default\n"
    "                         127.0.0.2 to 127.0.0.5; the honest ones come from 127.0.0.1)\n"
    "  --max-rss-growth-mb X  fail when the resident set grows more than X MB past the warm-up\n"
    "  --max-reply-ms N       fail when a load reply (after the warm-up) took longer than N ms\n"
    "  --sample-ms N          how often memory and open files are sampled (default 250)\n"
    "  --time-limit-s S       for each phase (default 900)\n"
    "Exits 1 when a reply was wrong or lost, an honest client was refused (in the churn:\n"
    "shut out after 3 tries, or fewer than 95% in within 2 s), a hostile connection was\n"
    "not handled as it should be, open files did not come back, the sim did not exit\n"
    "cleanly, or a limit given above was passed.\n";

std::string Megabytes(std::uint64_t bytes)
{
    return fmt::format("{:.1f} MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
}

// Samples the sim's memory and open files on a thread of its own, from a mark on.
class Sampler {
public:
    Sampler(const SimProcess* sim, std::chrono::milliseconds every) : sim_(sim)
    {
        if (sim_ != nullptr)
            thread_ = std::thread([this, every] {
                while (!stop_) {
                    Sample();
                    std::this_thread::sleep_for(every);
                }
            });
    }

    ~Sampler()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }

    std::optional<ProcessUsage> Sample()
    {
        if (sim_ == nullptr)
            return std::nullopt;
        const std::optional<ProcessUsage> usage = sim_->Usage();
        if (usage) {
            std::lock_guard lock(mutex_);
            peak_ = std::max(peak_, usage->residentBytes);
        }
        return usage;
    }

    // The peak since the last call; sampled once more now.
    std::uint64_t TakePeak()
    {
        Sample();
        std::lock_guard lock(mutex_);
        return std::exchange(peak_, 0);
    }

private:
    const SimProcess* sim_;
    std::mutex mutex_;
    std::uint64_t peak_ = 0;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

std::string Describe(const std::optional<ProcessUsage>& usage)
{
    return usage ? fmt::format("RSS {}, {} open files", Megabytes(usage->residentBytes), usage->openFiles)
                 : std::string("(not sampled here)");
}

struct Verdict {
    std::vector<std::string> failures;
    void Fail(const std::string& why) { failures.push_back(why); }
};

// At least 95% of the honest clients in within the time, none shut out, every reply right.
void JudgeChurn(const ChurnPhase& phase, const GoodRequests& quiet, const ChurnOptions& options, double maxP99Ratio,
                Verdict& verdict)
{
    const std::string name = fmt::format("churn of {} {} connections", options.connections, Name(phase.kind));
    if (phase.honestShutOut > 0)
        verdict.Fail(fmt::format("{}: {} of {} honest clients shut out after {} tries", name, phase.honestShutOut,
                                 options.honest, options.honestTries));
    if (phase.honestIn * 100 < options.honest * 95)
        verdict.Fail(fmt::format("{}: only {} of {} honest clients in within {} ms", name, phase.honestIn,
                                 options.honest, options.honestWithin.count()));
    if (const std::string bad = GoodFailures(GoodRequests{}, phase.good); !bad.empty())
        verdict.Fail(fmt::format("{}: the good client had {}", name, bad));
    const double quietP99 = quiet.latencies.Percentile(0.99);
    const double p99 = phase.good.latencies.Percentile(0.99);
    if (maxP99Ratio > 0 && quietP99 > 0 && p99 > maxP99Ratio * quietP99)
        verdict.Fail(fmt::format("{}: the good client's p99 was {:.1f}x its quiet p99, more than {}x", name,
                                 p99 / quietP99, maxP99Ratio));
    if (phase.timedOut)
        verdict.Fail(name + ": ran out of time");
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        CommandLine line(argc, argv, {"--help"});
        if (line.Has("--help")) {
            std::cout << kUsage;
            return 0;
        }
        const std::filesystem::path self = std::filesystem::absolute(argv[0]);
        const std::string simPath =
            line.Text("--sim", (self.parent_path() / ("kestrova-sim" + self.extension().string())).string());
        const std::vector<std::string> simArgs = line.All("--sim-arg");
        const bool external = line.Has("--port");
        const auto externalPort = static_cast<std::uint16_t>(line.Number("--port", 0, 1, 65535));
        const std::size_t clients = line.Number("--clients", 8, 1, 1000);
        const std::uint64_t warmup = line.Number("--warmup", 5000, 0, 100'000'000);
        const std::uint64_t requests = line.Number("--requests", 50'000, 0, 100'000'000);
        const std::size_t faults = line.Number("--faults", 0, 0, 1'000'000);
        const std::size_t workers = line.Number("--fault-workers", 4, 1, 64);
        const std::size_t rate = line.Number("--fault-rate", 2000, 0, 1'000'000);
        std::vector<std::string> hostileFrom = line.All("--hostile-from");
        const std::size_t churn = line.Number("--churn", 0, 0, 10'000);
        const std::size_t churnFrom = line.Number("--churn-from", 50, 1, 250);
        const std::size_t honest = line.Number("--honest", 100, 1, 250);
        const bool p99Limit = line.Has("--max-p99-ratio");
        const double maxP99Ratio = static_cast<double>(line.Number("--max-p99-ratio", 0, 1, 1000));
        const bool rssLimit = line.Has("--max-rss-growth-mb");
        const std::uint64_t maxGrowth = line.Number("--max-rss-growth-mb", 0, 0, 1'000'000) * 1024 * 1024;
        const bool replyLimit = line.Has("--max-reply-ms");
        const auto maxReply = std::chrono::milliseconds(line.Number("--max-reply-ms", 0, 1, 3'600'000));
        const auto sampleEvery = std::chrono::milliseconds(line.Number("--sample-ms", 250, 10, 60'000));
        const auto timeLimit = std::chrono::seconds(line.Number("--time-limit-s", 900, 1, 86'400));
        line.CheckAllUsed();

        const std::string password = kDefaultPassword;
        std::unique_ptr<SimProcess> sim;
        std::uint16_t port = externalPort;
        if (!external) {
            // Not --serve: the sim's console is this process's pipe, so when this process
            // ends, however it ends, the sim ends with it.
            std::vector<std::string> args = {"--rcon-port", "0", "--rcon-password", password};
            args.insert(args.end(), simArgs.begin(), simArgs.end());
            sim = std::make_unique<SimProcess>(simPath, args);
            const auto listening = sim->WaitForLine(std::regex(R"(rcon: +listening on 127\.0\.0\.1:([0-9]+))"), 30s);
            if (!listening) {
                std::cerr << "kestrova-soak: " << simPath << " did not start serving RCON\n" << sim->Tail();
                return 1;
            }
            port = static_cast<std::uint16_t>(std::stoi(*listening));
        }
        std::cout << "kestrova-soak: " << (external ? "the server" : simPath) << " on 127.0.0.1:" << port << ", "
                  << std::thread::hardware_concurrency() << " cores\n";

        Verdict verdict;
        Sampler sampler(sim.get(), sampleEvery);
        const auto start = sampler.Sample();
        std::cout << "start:     " << Describe(start) << "\n" << std::flush;

        LoadOptions load;
        load.port = port;
        load.password = password;
        load.clients = clients;
        load.command = kSpawnCommand;
        load.expect = kSpawnReply;
        load.timeLimit = timeLimit;
        const auto runLoad = [&](const char* name, std::uint64_t count) {
            load.requests = count;
            const LoadResult result = RunLoad(load);
            std::cout << fmt::format("{:<10} {}\n", name, Describe(result));
            std::cout << fmt::format("           replies later than 50 ms: {}\n", result.latencies.Over(50ms));
            if (!result.Clean() || result.clientsIn != clients)
                verdict.Fail(fmt::format("{}: {} wrong, {} lost, {} of {} clients in ({})", name, result.wrong,
                                         result.lost, result.clientsIn, clients, result.firstProblem));
            return result;
        };

        // Once a phase's connections have closed, the sim holds as many files open as at the start.
        const auto settle = [&](const char* name) {
            if (!start)
                return;
            const auto settleStart = std::chrono::steady_clock::now();
            auto now = sampler.Sample();
            while (now && now->openFiles > start->openFiles && std::chrono::steady_clock::now() - settleStart < 15s) {
                std::this_thread::sleep_for(100ms);
                now = sampler.Sample();
            }
            std::cout << fmt::format("{:<10} {}\n", name, Describe(now));
            if (now && now->openFiles > start->openFiles)
                verdict.Fail(fmt::format("{} open files stayed at {}, not back to {}", name, now->openFiles,
                                         start->openFiles));
        };

        if (warmup > 0)
            runLoad("warm-up:", warmup);
        settle("baseline:");
        sampler.TakePeak();
        const auto baseline = sampler.Sample();

        if (requests > 0) {
            const LoadResult result = runLoad("load:", requests);
            if (replyLimit && result.latencies.Over(maxReply) > 0)
                verdict.Fail(fmt::format("{} replies took longer than {} ms, the longest {}",
                                         result.latencies.Over(maxReply), maxReply.count(),
                                         FormatMicros(result.latencies.Max())));
            const std::uint64_t peak = sampler.TakePeak();
            if (baseline) {
                const std::uint64_t growth = peak > baseline->residentBytes ? peak - baseline->residentBytes : 0;
                std::cout << fmt::format("           RSS peak {}, {} past the baseline\n", Megabytes(peak),
                                         Megabytes(growth));
                if (rssLimit && growth > maxGrowth)
                    verdict.Fail(fmt::format("RSS grew {} past the baseline, more than {}", Megabytes(growth),
                                             Megabytes(maxGrowth)));
            }
            settle("after:");
            std::cout << std::flush;
        }

        if (faults > 0) {
            FaultOptions mix;
            mix.server = {"127.0.0.1", port, password};
            mix.perKind = faults;
            mix.workers = workers;
            mix.rate = rate;
            if (!hostileFrom.empty())
                mix.hostileFrom = hostileFrom;
            mix.command = kSpawnCommand;
            mix.expect = kSpawnReply;
            mix.cheapCommand = kCheapCommand;
            mix.timeLimit = timeLimit;
            const std::uint64_t noticesBefore = sim ? sim->NoticeLines() : 0;
            const FaultResult result = RunFaultMix(mix);
            std::cout << Describe(result, mix);
            if (const std::string bad = GoodFailures(result.quiet, result.underAttack); !bad.empty())
                verdict.Fail("the good client had " + bad + " during the fault mix");
            if (result.honestRefused > 0 || result.honestIn < result.honestTries)
                verdict.Fail(fmt::format("{} of {} honest clients did not get in ({} refused)",
                                         result.honestTries - result.honestIn, result.honestTries,
                                         result.honestRefused));
            if (result.Unexpected() > 0)
                verdict.Fail(fmt::format("{} hostile connections were not handled as they should be",
                                         result.Unexpected()));
            if (result.timedOut)
                verdict.Fail("the fault mix ran out of time");
            if (sim) {
                std::this_thread::sleep_for(1500ms);  // the last held-back notices come out after a second
                std::cout << fmt::format("           console: {} notice lines for {} hostile connections\n",
                                         sim->NoticeLines() - noticesBefore, faults * mix.kinds.size());
            }
            settle("after:");
            std::cout << std::flush;
        }

        if (churn > 0) {
            ChurnOptions options;
            options.server = {"127.0.0.1", port, password};
            options.connections = churn;
            options.addresses = churnFrom;
            options.honest = honest;
            options.command = kSpawnCommand;
            options.expect = kSpawnReply;
            options.timeLimit = timeLimit;
            const std::uint64_t noticesBefore = sim ? sim->NoticeLines() : 0;
            const ChurnResult result = RunChurn(options);
            std::cout << Describe(result, options);
            for (const ChurnPhase& phase : result.phases)
                JudgeChurn(phase, result.quiet, options, p99Limit ? maxP99Ratio : 0, verdict);
            if (sim) {
                std::this_thread::sleep_for(1500ms);
                std::cout << fmt::format("           console: {} notice lines in the churn\n",
                                         sim->NoticeLines() - noticesBefore);
            }
            settle("after:");
            std::cout << std::flush;
        }

        if (sim) {
            sim->WriteInput("/quit\n");
            const std::optional<int> status = sim->Wait(30s);
            std::cout << "stop:      /quit, " << (status ? "exit status " + std::to_string(*status) : "still running")
                      << "\n";
            if (status != 0) {
                verdict.Fail("kestrova-sim did not exit cleanly");
                std::cout << sim->Tail();
            }
        }
        if (verdict.failures.empty()) {
            std::cout << "kestrova-soak: held up\n";
            return 0;
        }
        for (const std::string& failure : verdict.failures)
            std::cout << "FAILED: " << failure << "\n";
        return 1;
    } catch (const UsageError& error) {
        std::cerr << "kestrova-soak: " << error.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "kestrova-soak: " << error.what() << "\n";
        return 1;
    }
}
