// The ledger read back from whatever a crash or a disk left: a rotated file and
// the current one, of any bytes. The input's first two bytes (little-endian) give
// the rotated file's length, the rest after it is the current file. The reading
// must end, keep to its bounds, and place every order it knows on a line that
// holds that order.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "fuzz/invariants.h"
#include "ledger/ledger_file.h"
#include "ledger/ledger_reader.h"

namespace {

const kestrova::LedgerFiles& Files()
{
    static const kestrova::LedgerFiles files = [] {
        kestrova::LedgerFiles made;
        made.folder = std::filesystem::temp_directory_path() / "kestrova-fuzz-ledger";
        std::filesystem::create_directories(made.folder);
        made.name = "deliveries.jsonl";
        made.kept = 2;
        return made;
    }();
    return files;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The "order" of a line that parses as a JSON object; nothing for another line.
std::optional<std::string> OrderOf(std::string_view line)
{
    const nlohmann::json value = nlohmann::json::parse(line, nullptr, false);
    if (!value.is_object())
        return std::nullopt;
    const auto found = value.find("order");
    return found != value.end() && found->is_string() ? std::optional(found->get<std::string>()) : std::string();
}

// Every order a line of `text` names that the reading knows lies on a whole line
// that names it, in the file of its generation.
void CheckOrdersOf(std::string_view text, const kestrova::LedgerReading& reading, const std::string_view (&byGeneration)[2])
{
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            break;
        const std::optional<std::string> id = OrderOf(text.substr(start, end - start));
        start = end + 1;
        if (!id || id->empty())
            continue;
        const std::optional<kestrova::KnownOrder> known = reading.orders.Find(*id);
        if (!known)
            continue;
        const kestrova::LineLocation where = known->latest;
        kestrova::fuzz::Require(where.generation < 2, "a known order lies in a kept file");
        const std::string_view file = byGeneration[where.generation];
        kestrova::fuzz::Require(where.offset + where.length < file.size() && file[where.offset + where.length] == '\n',
                                "a known order lies on a whole line");
        const std::optional<std::string> named = OrderOf(file.substr(where.offset, where.length));
        kestrova::fuzz::Require(!named || *named == *id, "a known order's line names it");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t wanted = size < 2 ? 0 : (data[0] | (std::size_t{data[1]} << 8));
    const std::string_view rest = input.substr(size < 2 ? size : 2);
    const std::size_t rotatedSize = wanted < rest.size() ? wanted : rest.size();
    const std::string_view rotated = rest.substr(0, rotatedSize);
    const std::string_view current = rest.substr(rotatedSize);
    const kestrova::LedgerFiles& files = Files();
    WriteFile(files.Path(1), rotated);
    WriteFile(files.Path(0), current);

    const kestrova::LedgerReading reading = kestrova::ReadLedger(files);
    kestrova::fuzz::Require(reading.filesRead == 2, "both files are read");
    kestrova::fuzz::Require(reading.problems.size() <= 2 + size, "no more problems than the bytes could hold");
    // The rotated file is generation 0, the current one generation 1.
    const std::string_view byGeneration[2] = {rotated, current};
    CheckOrdersOf(rotated, reading, byGeneration);
    CheckOrdersOf(current, reading, byGeneration);
    return 0;
}
