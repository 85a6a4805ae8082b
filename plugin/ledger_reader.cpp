#include "plugin/ledger_reader.h"

#include <cstring>
#include <fstream>
#include <limits>

namespace kestrova {
namespace {

constexpr std::size_t kReadSize = std::size_t{4} << 20;
// Damaged lines described one by one, per file; the rest are counted.
constexpr std::size_t kProblemsNamed = 20;

class FileReading {
public:
    FileReading(std::string fileName, std::uint32_t generation, LedgerReading& reading)
        : fileName_(std::move(fileName)), generation_(generation), reading_(reading)
    {}

    void Line(std::string_view line, std::uint64_t offset)
    {
        ++lineNumber_;
        if (line.empty())
            return;  // holds nothing
        if (line.size() > std::numeric_limits<std::uint32_t>::max() || !ScanLedgerLine(line, fields_))
            return Damaged("not a JSON object");
        OrderLine order;
        if (const std::string_view problem = ReadOrderLine(fields_, order); !problem.empty())
            return Damaged(problem);
        if (!order.id.empty())
            reading_.orders.Record(order, {offset, static_cast<std::uint32_t>(line.size()), generation_});
    }

    void TornEnd()
    {
        ++lineNumber_;
        reading_.problems.push_back("Ledger " + fileName_ + " line " + std::to_string(lineNumber_) +
                                    ": incomplete, the server stopped while writing it; ignored");
    }

    void CannotRead()
    {
        reading_.problems.push_back("Ledger " + fileName_ + ": can't be read after line " +
                                    std::to_string(lineNumber_) + "; the rest of it is not known");
    }

    void Finish()
    {
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

    const std::string fileName_;
    const std::uint32_t generation_;
    LedgerReading& reading_;
    LedgerLineFields fields_;
    std::uint64_t lineNumber_ = 0;
    std::size_t damaged_ = 0;
};

// Hands each line of `in` to `reading`, in large reads: a line may span two.
void ReadLines(std::ifstream& in, FileReading& reading)
{
    std::vector<char> buffer(kReadSize);
    std::size_t carried = 0;         // the start of a line that the next read completes
    std::uint64_t bufferOffset = 0;  // the file offset of buffer[0]
    for (;;) {
        in.read(buffer.data() + carried, static_cast<std::streamsize>(buffer.size() - carried));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        const std::size_t filled = carried + got;
        std::size_t start = 0;
        while (const void* found = std::memchr(buffer.data() + start, '\n', filled - start)) {
            const auto end = static_cast<std::size_t>(static_cast<const char*>(found) - buffer.data());
            reading.Line(std::string_view(buffer.data() + start, end - start), bufferOffset + start);
            start = end + 1;
        }
        carried = filled - start;
        std::memmove(buffer.data(), buffer.data() + start, carried);
        bufferOffset += start;
        if (carried == buffer.size())
            buffer.resize(buffer.size() * 2);  // one line longer than a read
    }
    if (in.bad())
        reading.CannotRead();
    else if (carried > 0)
        reading.TornEnd();
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
    return static_cast<std::size_t>(bytes / kBytesPerOrder);
}

}  // namespace

LedgerReading ReadLedger(const LedgerFiles& files)
{
    LedgerReading reading;
    reading.orders.Reserve(OrdersLikelyIn(files));
    for (std::uint32_t index = files.kept; index-- > 0;) {
        const std::filesystem::path path = files.Path(index);
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::error_code error;
            if (std::filesystem::exists(path, error))
                reading.problems.push_back("Ledger " + files.Name(index) + ": can't be read");
            continue;
        }
        ++reading.filesRead;
        FileReading fileReading(files.Name(index), files.GenerationAtOpen(index), reading);
        ReadLines(in, fileReading);
    }
    return reading;
}

}  // namespace kestrova
