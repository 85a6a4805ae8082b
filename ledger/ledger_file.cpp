#include "ledger/ledger_file.h"

#include <algorithm>
#include <fstream>

namespace kestrova {
namespace {

// A failed rotation is tried again this long after; the file grows past its
// limit meanwhile rather than lose a line.
constexpr std::chrono::minutes kRotationRetry{1};

// Whether the file at `path` ends in '\n'; an empty file does. A file that
// cannot be read is taken to end in a torn line: a fresh line costs only an
// empty line in the file.
bool EndsInNewline(const std::filesystem::path& path, std::uint64_t size)
{
    if (size == 0)
        return true;
    std::ifstream in(path, std::ios::binary);
    char last = 0;
    return in.seekg(static_cast<std::streamoff>(size - 1)) && in.get(last) && last == '\n';
}

}  // namespace

std::string LedgerFiles::Name(std::uint32_t index) const
{
    if (index == 0)
        return name;
    const std::string::size_type dot = name.rfind('.');
    // A leading dot starts a name, not an extension.
    const std::string::size_type cut = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, cut) + "." + std::to_string(index) + name.substr(cut);
}

std::filesystem::path LedgerFiles::Path(std::uint32_t index) const
{
    const std::string file = Name(index);
    return folder / std::filesystem::path(std::u8string(file.begin(), file.end()));
}

bool IsLedgerFileName(std::string_view name)
{
    const bool hasControl =
        std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string_view::npos &&
           !hasControl;
}

std::string NotRegularFile(const LedgerFiles& files)
{
    for (std::uint32_t index = 0; index < files.kept; ++index) {
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::status(files.Path(index), error);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
            return files.Name(index) + " is not a regular file (a device, a FIFO or a folder)";
    }
    return {};
}

LedgerFile::LedgerFile(LedgerFiles files, AppendFileOpener open, std::shared_ptr<spdlog::logger> logger)
    : files_(std::move(files)), open_(std::move(open)), logger_(std::move(logger)),
      generation_(files_.GenerationAtOpen(0))
{}

LedgerFile::Appended LedgerFile::Append(std::string_view lines, bool durable)
{
    std::unique_lock lock(mutex_);
    if (!file_)
        if (const auto error = OpenCurrent())
            return {{}, error};
    RotateIfFull(lines.size());
    if (!file_)
        if (const auto error = OpenCurrent())
            return {{}, error};
    if (needsNewline_) {
        const AppendFile::Written written = file_->Append("\n");
        if (written.error) {
            file_.reset();
            return {{}, written.error};
        }
        size_ += 1;
        needsNewline_ = false;
    }
    const LineLocation where{size_, static_cast<std::uint32_t>(lines.empty() ? 0 : lines.size() - 1), generation_};
    const AppendFile::Written written = file_->Append(lines);
    size_ += written.bytes;
    if (written.error) {
        // Opened again at the next append, which then sees whatever the failure
        // left at the end of the file.
        file_.reset();
        return {where, written.error};
    }
    if (!durable)
        return {where, {}};
    // The file these lines went to, even if another thread rotates it meanwhile.
    const std::shared_ptr<AppendFile> file = file_;
    lock.unlock();
    return {where, SyncFileAndFolder(*file)};
}

std::error_code LedgerFile::Sync()
{
    std::shared_ptr<AppendFile> file;
    {
        std::lock_guard lock(mutex_);
        file = file_;
    }
    if (!file)
        return std::make_error_code(std::errc::bad_file_descriptor);
    return SyncFileAndFolder(*file);
}

std::error_code LedgerFile::SyncFileAndFolder(AppendFile& file)
{
    if (const auto error = file.Sync())
        return error;
    if (folderChanged_.exchange(false)) {
        if (const auto error = SyncFolder(files_.folder)) {
            folderChanged_ = true;
            return error;
        }
    }
    return {};
}

std::optional<std::string> LedgerFile::ReadLine(LineLocation where) const
{
    std::lock_guard lock(mutex_);
    if (where.generation > generation_ || generation_ - where.generation >= files_.kept)
        return std::nullopt;
    std::ifstream in(files_.Path(generation_ - where.generation), std::ios::binary);
    std::string line(std::size_t{where.length} + 1, '\0');
    if (!in.seekg(static_cast<std::streamoff>(where.offset)) ||
        !in.read(line.data(), static_cast<std::streamsize>(line.size())) || line.back() != '\n')
        return std::nullopt;
    line.pop_back();
    return line;
}

std::uint32_t LedgerFile::Generation() const
{
    std::lock_guard lock(mutex_);
    return generation_;
}

std::error_code LedgerFile::OpenCurrent()
{
    const std::filesystem::path path = files_.Path(0);
    std::error_code error;
    const bool existed = std::filesystem::exists(path, error);
    std::unique_ptr<AppendFile> file = open_(path, error);
    if (!file)
        return error;
    const std::uint64_t size = std::filesystem::file_size(path, error);
    if (error)
        return error;
    file_ = std::move(file);
    size_ = size;
    needsNewline_ = !EndsInNewline(path, size);
    if (!existed)
        folderChanged_ = true;
    return {};
}

void LedgerFile::RotateIfFull(std::uint64_t incoming)
{
    const auto now = std::chrono::steady_clock::now();
    if (size_ == 0 || size_ + (needsNewline_ ? 1 : 0) + incoming <= files_.maxBytes || now < retryRotationAt_)
        return;
    if (const auto error = Rotate()) {
        retryRotationAt_ = now + kRotationRetry;
        if (logger_)
            logger_->error("Ledger {}: can't rotate: {}; writing on past its size limit", files_.name, error.message());
    }
}

std::error_code LedgerFile::Rotate()
{
    // What was written must be on the disk before its file changes name.
    if (const auto error = file_->Sync())
        return error;
    file_.reset();
    std::error_code error;
    // The oldest goes, the others move up one; a file missing from the row
    // (the server stopped part-way through an earlier rotation) is passed over.
    const std::uint32_t oldest = files_.kept - 1;
    std::filesystem::remove(files_.Path(oldest), error);
    if (error)
        return error;
    for (std::uint32_t index = oldest; index-- > 0;) {
        const std::filesystem::path from = files_.Path(index);
        if (!std::filesystem::exists(from, error))
            continue;
        std::filesystem::rename(from, files_.Path(index + 1), error);
        if (error)
            return error;
    }
    ++generation_;
    folderChanged_ = true;
    return {};
}

}  // namespace kestrova
