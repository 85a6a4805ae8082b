#include "support/ledger_fixture.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/server_dir.h"

namespace kestrova::test {

struct FaultyDisk::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t bytesLeft = SIZE_MAX;
    bool failSyncs = false;
    bool held = false;
    int heldWrites = 0;
};

namespace {

class FaultyFile final : public AppendFile {
public:
    FaultyFile(std::unique_ptr<AppendFile> file, std::shared_ptr<FaultyDisk::State> state)
        : file_(std::move(file)), state_(std::move(state))
    {}

    Written Append(std::string_view bytes) override
    {
        std::unique_lock lock(state_->mutex);
        ++state_->heldWrites;
        state_->changed.notify_all();
        state_->changed.wait(lock, [this] { return !state_->held; });
        --state_->heldWrites;
        if (bytes.size() <= state_->bytesLeft) {
            if (state_->bytesLeft != SIZE_MAX)
                state_->bytesLeft -= bytes.size();
            return file_->Append(bytes);
        }
        Written written = file_->Append(bytes.substr(0, state_->bytesLeft));
        state_->bytesLeft = 0;
        written.error = std::make_error_code(std::errc::no_space_on_device);
        return written;
    }

    std::error_code Sync() override
    {
        {
            std::lock_guard lock(state_->mutex);
            if (state_->failSyncs)
                return std::make_error_code(std::errc::io_error);
        }
        return file_->Sync();
    }

private:
    std::unique_ptr<AppendFile> file_;
    std::shared_ptr<FaultyDisk::State> state_;
};

}  // namespace

FaultyDisk::FaultyDisk() : state_(std::make_shared<State>()) {}

AppendFileOpener FaultyDisk::Opener() const
{
    return [state = state_](const std::filesystem::path& path, std::error_code& error) -> std::unique_ptr<AppendFile> {
        std::unique_ptr<AppendFile> file = OpenAppendFile(path, error);
        if (!file)
            return nullptr;
        return std::make_unique<FaultyFile>(std::move(file), state);
    };
}

void FaultyDisk::FullAfter(std::size_t bytes)
{
    std::lock_guard lock(state_->mutex);
    state_->bytesLeft = bytes;
}

void FaultyDisk::FailSyncs()
{
    std::lock_guard lock(state_->mutex);
    state_->failSyncs = true;
}

void FaultyDisk::Heal()
{
    std::lock_guard lock(state_->mutex);
    state_->bytesLeft = SIZE_MAX;
    state_->failSyncs = false;
}

void FaultyDisk::Hold()
{
    std::lock_guard lock(state_->mutex);
    state_->held = true;
}

void FaultyDisk::Release()
{
    std::lock_guard lock(state_->mutex);
    state_->held = false;
    state_->changed.notify_all();
}

void FaultyDisk::WaitForHeldWrite()
{
    std::unique_lock lock(state_->mutex);
    state_->changed.wait(lock, [this] { return state_->heldWrites > 0; });
}

LedgerTest::LedgerTest()
    : folder_(MakeTempDir("kestrova-ledger")), sink_(std::make_shared<sim::CapturingSink>()),
      logger_(std::make_shared<spdlog::logger>("Kestrova", sink_))
{
    sink_->set_pattern("[%l] %v");
}

LedgerTest::~LedgerTest()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

LedgerFiles LedgerTest::Files(std::uint64_t maxBytes, std::uint32_t kept) const
{
    return {folder_, "deliveries.jsonl", maxBytes, kept};
}

std::string LedgerTest::ReadFile(const std::string& name) const
{
    std::ifstream in(folder_ / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void LedgerTest::WriteFile(const std::string& name, const std::string& text) const
{
    std::ofstream(folder_ / name, std::ios::binary) << text;
}

std::vector<std::string> LedgerTest::FileNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string StartedLine(const std::string& order)
{
    return R"({"v":1,"time":"2026-12-08T16:20:01.123Z","order":")" + order +
           R"(","event":"started","line":"KV.SpawnDinoFor 1002 x"})";
}

std::string OutcomeLine(const std::string& order, const std::string& result)
{
    return R"({"v":1,"time":"2026-12-08T16:20:01.456Z","order":")" + order +
           R"(","event":"outcome","outcome":{"result":")" + result + R"(","creatures":1}})";
}

LineMaker Made(std::string line)
{
    return [line = std::move(line)] { return line; };
}

std::string RunLine(int number)
{
    return R"({"v":1,"time":"2026-12-08T16:20:02.000Z","line":"KV.SpawnDino )" + std::to_string(number) +
           R"(","outcome":{"result":"delivered"}})";
}

bool ReadBack(Ledger& ledger)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!ledger.Ready()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace kestrova::test
