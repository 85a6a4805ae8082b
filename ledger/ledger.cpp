#include "ledger/ledger.h"

#include <stdexcept>

#include "ledger/ledger_reader.h"

namespace kestrova {
namespace {

LedgerFiles Checked(LedgerFiles files)
{
    if (!IsLedgerFileName(files.name))
        throw std::invalid_argument("Ledger file name \"" + files.name +
                                    "\" is not a file name in the plugin's folder");
    if (files.kept == 0)
        files.kept = 1;
    if (const std::string problem = NotRegularFile(files); !problem.empty())
        throw std::invalid_argument("Ledger file " + problem);
    return files;
}

}  // namespace

Ledger::Ledger(LedgerSettings settings)
    : logger_(std::move(settings.logger)),
      file_(Checked(std::move(settings.files)), std::move(settings.openFile), logger_),
      forgottenBefore_(OldestKeptGeneration()), writer_(file_, settings.queueLines, logger_)
{}

Ledger::~Ledger() { Stop(); }

void Ledger::ReadBack(const std::atomic<bool>& stopping)
{
    LedgerReading reading = ReadLedger(file_.Files(), &stopping);
    if (stopping)
        return;  // closing: what was read is of no use
    const std::size_t known = reading.orders.Size();
    orders_ = std::move(reading.orders);
    // Told once the orders are the caller's: whoever reads the count in the log
    // finds the ledger ready.
    read_.store(true, std::memory_order_release);
    if (logger_) {
        try {
            for (const std::string& problem : reading.problems)
                logger_->error("{}", problem);
            logger_->info("Ledger {}: {} orders known from {} files", file_.Files().name, known, reading.filesRead);
        } catch (...) {
        }
    }
}

void Ledger::StartReading() noexcept
{
    try {
        if (!writer_.Started())
            writer_.Start([this](const std::atomic<bool>& stopping) { ReadBack(stopping); });
    } catch (...) {
        // No thread: the files are read on this one, late rather than never.
        static const std::atomic<bool> going{false};
        try {
            ReadBack(going);
        } catch (...) {
        }
    }
}

bool Ledger::Ready() noexcept
{
    if (read_.load(std::memory_order_acquire))
        return true;
    StartReading();
    return read_.load(std::memory_order_acquire);
}

void Ledger::Write(LineMaker makeLine) noexcept
{
    StartReading();
    writer_.Enqueue(std::move(makeLine));
}

std::error_code Ledger::WriteDurable(std::string_view line) noexcept
{
    if (!Ready())
        return std::make_error_code(std::errc::resource_unavailable_try_again);
    try {
        LedgerLineFields fields;
        OrderLine order;
        if (line.find('\n') != std::string_view::npos || !ScanLedgerLine(line, fields) ||
            !ReadOrderLine(fields, order).empty())
            return std::make_error_code(std::errc::invalid_argument);
        std::string text;
        text.reserve(line.size() + 1);
        text.append(line).push_back('\n');
        const LedgerFile::Appended appended = file_.Append(text, true);
        if (appended.error)
            return appended.error;
        if (!order.id.empty())
            orders_.Record(order, appended.where);
        // Rotations also happen on the writer's thread; the orders are this thread's to prune.
        if (const std::uint32_t oldest = OldestKeptGeneration(); oldest > forgottenBefore_) {
            orders_.ForgetBefore(oldest);
            forgottenBefore_ = oldest;
        }
        return {};
    } catch (const std::bad_alloc&) {
        return std::make_error_code(std::errc::not_enough_memory);
    } catch (...) {
        return std::make_error_code(std::errc::io_error);
    }
}

std::optional<KnownOrder> Ledger::FindOrder(std::string_view id) const
{
    if (!read_.load(std::memory_order_acquire))
        return std::nullopt;
    const std::optional<KnownOrder> order = orders_.Find(id);
    // Between prunes, an order rotated out is already forgotten.
    if (order && order->latest.generation < OldestKeptGeneration())
        return std::nullopt;
    return order;
}

std::optional<Ledger::Recorded> Ledger::RecordedOutcome(std::string_view id) const
{
    std::optional<nlohmann::json> line = LatestLine(id, "outcome");
    if (!line)
        return std::nullopt;
    const auto outcome = line->find("outcome");
    const auto time = line->find("time");
    if (outcome == line->end() || !outcome->is_object())
        return std::nullopt;
    return Recorded{std::move(*outcome), time != line->end() && time->is_string() ? time->get<std::string>() : ""};
}

std::optional<nlohmann::json> Ledger::LatestLine(std::string_view id, std::string_view event) const
{
    const std::optional<KnownOrder> order = FindOrder(id);
    if (!order)
        return std::nullopt;
    try {
        const std::optional<std::string> text = file_.ReadLine(order->latest);
        if (!text)
            return std::nullopt;
        nlohmann::json line = nlohmann::json::parse(*text, nullptr, false);
        const auto is = [&line](const char* key, std::string_view value) {
            const auto found = line.find(key);
            return found != line.end() && found->is_string() && found->get_ref<const std::string&>() == value;
        };
        // The line must still be this order's: a rotation that failed part-way
        // can leave a file under another file's name.
        if (!line.is_object() || !is("order", id) || !is("event", event))
            return std::nullopt;
        return line;
    } catch (...) {
        return std::nullopt;  // no memory to read it back
    }
}

std::uint32_t Ledger::OldestKeptGeneration() const { return file_.Generation() - (file_.Files().kept - 1); }

}  // namespace kestrova
