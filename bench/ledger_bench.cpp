// The delivery ledger's costs on this machine's disk: what an ordinary line
// costs the thread that writes it (queued only), what an order's two durable
// lines cost, how long a ledger of a million orders takes to read back, with
// the memory each known order takes, and how long the game thread waits
// meanwhile.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#if defined(__GLIBC__)
#  include <malloc.h>
#endif

#include "ledger/ledger.h"
#include "ledger/ledger_reader.h"

namespace {

using namespace kestrova;
using Clock = std::chrono::steady_clock;

// Bytes the heap has handed out and not taken back, large blocks included; 0
// where the C library does not tell.
std::size_t HeapInUse()
{
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#else
    return 0;
#endif
}

// A folder of its own under the system's temporary folder (this machine's disk),
// removed afterwards.
class BenchFolder {
public:
    BenchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("kestrova-ledger-bench-" + std::to_string(std::random_device()())))
    {
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Lines of the size and shape the plugin writes: the source, the line as
// received, the target and the outcome.
std::string StartedLine(const std::string& id)
{
    return R"({"v":1,"time":"2026-12-08T16:20:01.123Z","order":")" + id +
           R"(","event":"started","from":{"rcon":"203.0.113.7:50123"},"line":"KV.Order )" + id +
           R"( KV.SpawnDinoFor 1002 Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP' \"\" 0 150 0 0 0 0 F","target":{"id":"1002","name":"Bob"}})";
}

std::string OutcomeLine(const std::string& id)
{
    return R"({"v":1,"time":"2026-12-08T16:20:01.456Z","order":")" + id +
           R"(","event":"outcome","outcome":{"result":"delivered","creatures":[{"class":"Raptor_Character_BP_C","level":150,"delivery":"cryopod"}],"items":[]}})";
}

std::string RunLine()
{
    return R"({"v":1,"time":"2026-12-08T16:20:01.123Z","from":{"player":"1001","name":"Alice"},"line":"KV.SpawnDino Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP' \"\" 0 150 0 0 0 0 F","target":{"id":"1001","name":"Alice"},"outcome":{"result":"delivered"}})";
}

std::string OrderId(std::size_t n)
{
    std::string digits = std::to_string(n);
    return "shop-" + std::string(digits.size() < 7 ? 7 - digits.size() : 0, '0') + digits;
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

void ReportPercentiles(benchmark::State& state, const std::vector<double>& microseconds, const std::string& prefix)
{
    state.counters[prefix + "p50_us"] = Percentile(microseconds, 0.50);
    state.counters[prefix + "p99_us"] = Percentile(microseconds, 0.99);
    state.counters[prefix + "max_us"] = *std::max_element(microseconds.begin(), microseconds.end());
}

// One ordinary line handed over: its maker queued, the line made and written
// on the writer's thread. The queue holds every line of the run, so none is
// dropped. What the spawn commands' maker costs is BM_SpawnDinoLedgerLine's.
void BM_LedgerWriteLine(benchmark::State& state)
{
    BenchFolder folder;
    Ledger ledger(LedgerSettings{{folder.Path(), "deliveries.jsonl", 1ull << 40, 4}, 1 << 21});
    const std::string line = RunLine();
    for (auto _ : state)
        ledger.Write([&line] { return line; });
    ledger.Stop();
    state.counters["dropped"] = static_cast<double>(ledger.Losses().dropped);
    state.counters["line_bytes"] = static_cast<double>(line.size());
}
BENCHMARK(BM_LedgerWriteLine)->Iterations(1'000'000);

// Each hand-over timed alone: its spread, while the writer's thread makes,
// writes and flushes the lines out beside it.
void BM_LedgerWriteLineSpread(benchmark::State& state)
{
    BenchFolder folder;
    Ledger ledger(LedgerSettings{{folder.Path(), "deliveries.jsonl", 1ull << 40, 4}, 1 << 20});
    const std::string line = RunLine();
    std::vector<double> microseconds;
    microseconds.reserve(200'000);
    for (auto _ : state) {
        for (int i = 0; i < 200'000; ++i) {
            const auto start = Clock::now();
            ledger.Write([&line] { return line; });
            microseconds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        }
    }
    ledger.Stop();
    ReportPercentiles(state, microseconds, "");
    state.counters["dropped"] = static_cast<double>(ledger.Losses().dropped);
}
BENCHMARK(BM_LedgerWriteLineSpread)->Unit(benchmark::kMillisecond)->Iterations(1);

// An order's added cost: its "started" line and its outcome line, each made
// durable on the disk before the call returns.
void BM_LedgerOrderDurableLines(benchmark::State& state)
{
    BenchFolder folder;
    Ledger ledger(LedgerSettings{{folder.Path(), "deliveries.jsonl", 64ull << 20, 4}});
    while (!ledger.Ready())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::vector<double> orders;
    std::vector<double> lines;
    std::size_t n = 0;
    for (auto _ : state) {
        const std::string id = OrderId(n++);
        const std::string started = StartedLine(id);
        const std::string outcome = OutcomeLine(id);
        const auto start = Clock::now();
        const std::error_code startedError = ledger.WriteDurable(started);
        const auto between = Clock::now();
        const std::error_code outcomeError = ledger.WriteDurable(outcome);
        const auto end = Clock::now();
        if (startedError || outcomeError)
            state.SkipWithError("a durable write failed");
        orders.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        lines.push_back(std::chrono::duration<double, std::micro>(between - start).count());
        lines.push_back(std::chrono::duration<double, std::micro>(end - between).count());
    }
    ReportPercentiles(state, orders, "order_");
    ReportPercentiles(state, lines, "line_");
}
BENCHMARK(BM_LedgerOrderDurableLines)->Unit(benchmark::kMicrosecond)->Iterations(2000);

constexpr std::size_t kMillionOrders = 1'000'000;
constexpr std::uint32_t kMillionFiles = 4;

// A million orders, each a "started" and an outcome line, over four files;
// their size in bytes.
std::uint64_t WriteMillionOrders(const LedgerFiles& files)
{
    std::uint64_t bytes = 0;
    for (std::uint32_t index = kMillionFiles; index-- > 0;) {
        std::ofstream out(files.Path(index), std::ios::binary);
        std::string text;
        const std::size_t first = (kMillionFiles - 1 - index) * kMillionOrders / kMillionFiles;
        const std::size_t last = (kMillionFiles - index) * kMillionOrders / kMillionFiles;
        for (std::size_t n = first; n < last; ++n)
            text += StartedLine(OrderId(n)) + "\n" + OutcomeLine(OrderId(n)) + "\n";
        out << text;
        bytes += text.size();
    }
    return bytes;
}

// A million orders read back into the known orders; the memory they take, per order.
void BM_LedgerLoadMillionOrders(benchmark::State& state)
{
    BenchFolder folder;
    const LedgerFiles files{folder.Path(), "deliveries.jsonl", 1ull << 40, kMillionFiles};
    const std::uint64_t bytes = WriteMillionOrders(files);
    std::size_t known = 0;
    double bytesPerOrder = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        const LedgerReading reading = ReadLedger(files);
        bytesPerOrder = static_cast<double>(HeapInUse() - before) / static_cast<double>(reading.orders.Size());
        known = reading.orders.Size();
        if (!reading.problems.empty())
            state.SkipWithError("the ledger read back with problems");
    }
    state.counters["orders"] = static_cast<double>(known);
    state.counters["ledger_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["bytes_per_order"] = bytesPerOrder;
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_LedgerLoadMillionOrders)->Unit(benchmark::kMillisecond)->Iterations(3);

// A reload that opens a ledger of a million orders, seen from the game thread:
// it opens the ledger, then, as a busy server would, asks it for an order and
// queues a line every millisecond until the orders are known. The longest of
// those calls is the longest the game thread waited; the read-back happens on
// the ledger's own thread meanwhile.
void BM_LedgerReloadGameThreadWait(benchmark::State& state)
{
    BenchFolder folder;
    const LedgerFiles files{folder.Path(), "deliveries.jsonl", 1ull << 40, kMillionFiles};
    WriteMillionOrders(files);
    double longestMicros = 0;
    double readMillis = 0;
    std::size_t calls = 0;
    for (auto _ : state) {
        const auto opened = Clock::now();
        Ledger ledger(LedgerSettings{files, 1 << 16});
        ledger.StartReading();
        longestMicros = std::chrono::duration<double, std::micro>(Clock::now() - opened).count();
        calls = 1;
        for (bool ready = false; !ready;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const auto start = Clock::now();
            ready = ledger.Ready();
            benchmark::DoNotOptimize(ledger.FindOrder(OrderId(calls)));
            ledger.Write([] { return std::string(R"({"v":1,"bench":"reload"})"); });
            longestMicros = std::max(longestMicros, std::chrono::duration<double, std::micro>(Clock::now() - start).count());
            ++calls;
        }
        readMillis = std::chrono::duration<double, std::milli>(Clock::now() - opened).count();
        if (ledger.OrdersKnown() != kMillionOrders)
            state.SkipWithError("the ledger did not read back every order");
        ledger.Stop();
    }
    state.counters["game_thread_longest_wait_us"] = longestMicros;
    state.counters["read_back_ms"] = readMillis;
    state.counters["game_thread_calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_LedgerReloadGameThreadWait)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
