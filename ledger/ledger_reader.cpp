#include "ledger/ledger_reader.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace kestrova {
namespace {

// Larger than the longest line: a line that fits is always whole in the buffer.
constexpr std::size_t kReadSize = std::size_t{4} << 20;
static_assert(kReadSize > 2 * kLongestLedgerLine);
// Damaged lines described one by one, per file; the rest are counted.
constexpr std::size_t kProblemsNamed = 20;
// The orders an index is sized for at once, at most: a file's size says little
// when it is damaged (a run of NUL bytes), and an index grows when it must.
constexpr std::size_t kOrdersReservedAtMost = std::size_t{1} << 20;

bool HoldsNul(const char* bytes, std::size_t size) { return std::memchr(bytes, '\0', size) != nullptr; }

class FileReading {
public:
    FileReading(std::string fileName, std::uint32_t generation, LedgerReading& reading)
        : fileName_(std::move(fileName)), generation_(generation), reading_(reading)
    {}

    void Line(std::string_view line, std::uint64_t offset)
    {
        if (line.size() > kLongestLedgerLine)
            return SkippedLine(offset, offset + line.size(), HoldsNul(line.data(), line.size()));
        ++lineNumber_;
        if (line.empty())
            return;  // holds nothing
        if (HoldsNul(line.data(), line.size()))
            return NulBytes(offset, offset + line.size());
        EndNulRun();
        if (!ScanLedgerLine(line, fields_))
            return Damaged("not a JSON object");
        OrderLine order;
        if (const std::string_view problem = ReadOrderLine(fields_, order); !problem.empty())
            return Damaged(problem);
        if (!order.id.empty())
            reading_.orders.Record(order, {offset, static_cast<std::uint32_t>(line.size()), generation_});
    }

    // A line from `begin` to `end` (its '\n', or the end of the file) too long to hold.
    void SkippedLine(std::uint64_t begin, std::uint64_t end, bool holdsNul)
    {
        ++lineNumber_;
        if (holdsNul)
            return NulBytes(begin, end);
        EndNulRun();
        Damaged("longer than " + std::to_string(kLongestLedgerLine) + " bytes, read past");
    }

    void TornEnd(std::string_view line, std::uint64_t offset)
    {
        if (HoldsNul(line.data(), line.size())) {
            ++lineNumber_;
            return NulBytes(offset, offset + line.size());
        }
        EndNulRun();
        ++lineNumber_;
        reading_.problems.push_back("Ledger " + fileName_ + " line " + std::to_string(lineNumber_) +
                                    ": incomplete, the server stopped while writing it; ignored");
    }

    void CannotRead()
    {
        EndNulRun();
        reading_.problems.push_back("Ledger " + fileName_ + ": can't be read after line " +
                                    std::to_string(lineNumber_) + "; the rest of it is not known");
    }

    void Finish()
    {
        EndNulRun();
        if (damaged_ > kProblemsNamed)
            reading_.problems.push_back("Ledger " + fileName_ + ": " + std::to_string(damaged_ - kProblemsNamed) +
                                        " more damaged lines skipped");
    }

private:
    void Damaged(std::string_view problem)
    {
        if (++damaged_ <= kProblemsNamed)
            reading_.problems.push_back("Ledger " + fileName_ + " line " + std::to_string(lineNumber_) + ": " +
                                        std::string(problem) + "; skipped");
    }

    // Lines holding NUL bytes from `begin` to `end`; one next to the last (only
    // its '\n' between) makes the run longer instead of another report.
    void NulBytes(std::uint64_t begin, std::uint64_t end)
    {
        if (nulRun_ && begin <= nulEnd_ + 1) {
            nulEnd_ = std::max(nulEnd_, end);
            return;
        }
        EndNulRun();
        nulRun_ = true;
        nulBegin_ = begin;
        nulEnd_ = end;
    }

    void EndNulRun()
    {
        if (!nulRun_)
            return;
        nulRun_ = false;
        reading_.problems.push_back("Ledger " + fileName_ + " bytes " + std::to_string(nulBegin_) + " to " +
                                    std::to_string(nulEnd_) +
                                    ": NUL bytes, as a crash or a power cut can leave; skipped");
    }

    const std::string fileName_;
    const std::uint32_t generation_;
    LedgerReading& reading_;
    LedgerLineFields fields_;
    std::uint64_t lineNumber_ = 0;
    std::size_t damaged_ = 0;
    bool nulRun_ = false;
    std::uint64_t nulBegin_ = 0;
    std::uint64_t nulEnd_ = 0;  // past the run's last byte
};

bool Stopped(const std::atomic<bool>* stop) { return stop != nullptr && stop->load(std::memory_order_relaxed); }

// Hands each line of `in` to `reading`, in large reads: a line may span two. A
// line that grows past the longest is read past, up to its end, without keeping it.
void ReadLines(std::ifstream& in, FileReading& reading, const std::atomic<bool>* stop)
{
    std::vector<char> buffer(kReadSize);
    std::size_t carried = 0;         // the start of a line that the next read completes
    std::uint64_t bufferOffset = 0;  // the file offset of buffer[0]
    bool skipping = false;           // reading past a line too long to keep
    std::uint64_t skippedFrom = 0;
    bool skippedNul = false;
    while (!Stopped(stop)) {
        in.read(buffer.data() + carried, static_cast<std::streamsize>(buffer.size() - carried));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        const std::size_t filled = carried + got;
        std::size_t start = 0;
        if (skipping) {
            const void* found = std::memchr(buffer.data(), '\n', filled);
            const std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer.data())
                                          : filled;
            skippedNul = skippedNul || HoldsNul(buffer.data(), end);
            if (found == nullptr) {
                bufferOffset += filled;
                carried = 0;
                continue;
            }
            reading.SkippedLine(skippedFrom, bufferOffset + end, skippedNul);
            skipping = false;
            start = end + 1;
        }
        while (const void* found = std::memchr(buffer.data() + start, '\n', filled - start)) {
            const auto end = static_cast<std::size_t>(static_cast<const char*>(found) - buffer.data());
            reading.Line(std::string_view(buffer.data() + start, end - start), bufferOffset + start);
            start = end + 1;
        }
        carried = filled - start;
        if (carried > kLongestLedgerLine) {
            skipping = true;
            skippedFrom = bufferOffset + start;
            skippedNul = HoldsNul(buffer.data() + start, carried);
            bufferOffset += filled;
            carried = 0;
            continue;
        }
        std::memmove(buffer.data(), buffer.data() + start, carried);
        bufferOffset += start;
    }
    if (in.bad())
        reading.CannotRead();
    else if (skipping)
        reading.SkippedLine(skippedFrom, bufferOffset, skippedNul);
    else if (carried > 0 && !Stopped(stop))
        reading.TornEnd(std::string_view(buffer.data(), carried), bufferOffset);
    reading.Finish();
}

// A guess at the orders the files hold, from their size: an order is two
// lines of some 200 bytes or more, and ordinary lines make the guess only
// larger; 8 bytes of index per order guessed too many.
std::size_t OrdersLikelyIn(const LedgerFiles& files)
{
    constexpr std::uint64_t kBytesPerOrder = 400;
    std::uint64_t bytes = 0;
    for (std::uint32_t index = 0; index < files.kept; ++index) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(files.Path(index), error);
        if (!error)
            bytes += size;
    }
    return static_cast<std::size_t>(std::min<std::uint64_t>(bytes / kBytesPerOrder, kOrdersReservedAtMost));
}

}  // namespace

LedgerReading ReadLedger(const LedgerFiles& files, const std::atomic<bool>* stop)
{
    LedgerReading reading;
    reading.orders.Reserve(OrdersLikelyIn(files));
    for (std::uint32_t index = files.kept; index-- > 0 && !Stopped(stop);) {
        const std::filesystem::path path = files.Path(index);
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::status(path, error);
        if (!std::filesystem::exists(status))
            continue;
        // A device or a FIFO may never end, or never answer at all.
        if (!std::filesystem::is_regular_file(status)) {
            reading.problems.push_back("Ledger " + files.Name(index) + ": not a regular file; not read");
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            reading.problems.push_back("Ledger " + files.Name(index) + ": can't be read");
            continue;
        }
        ++reading.filesRead;
        FileReading fileReading(files.Name(index), files.GenerationAtOpen(index), reading);
        ReadLines(in, fileReading, stop);
    }
    return reading;
}

}  // namespace kestrova
