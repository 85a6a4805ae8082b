// The ledger's files in one folder: the current file, which lines are appended
// to, and the rotations it leaves behind. A line is never rewritten: a write
// that fails part-way leaves a torn line, and the next write starts on a fresh
// line after it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include <spdlog/logger.h>

#include "ledger/append_file.h"
#include "ledger/ledger_location.h"

namespace kestrova {

// Where the ledger lives and how much of it is kept.
struct LedgerFiles {
    std::filesystem::path folder;
    std::string name;                      // the current file, e.g. "deliveries.jsonl"
    std::uint64_t maxBytes = 64ull << 20;  // a file is rotated before it would grow past this
    std::uint32_t kept = 4;                // files in all, the current one included

    // File `index`: 0 is the current file, `name`; k is its k-th rotation,
    // "deliveries.k.jsonl" (the number goes before the extension).
    std::string Name(std::uint32_t index) const;
    std::filesystem::path Path(std::uint32_t index) const;
    // The generation of file `index` before any rotation.
    std::uint32_t GenerationAtOpen(std::uint32_t index) const { return kept - 1 - index; }
};

// Whether `name` can name a ledger file: a plain file name in the folder.
bool IsLedgerFileName(std::string_view name);

// Why the files cannot be the ledger's: one of them is there but is no regular
// file (a device, a FIFO, a folder), which may never end or never answer.
// Empty when each is a regular file or absent.
std::string NotRegularFile(const LedgerFiles& files);

class LedgerFile {
public:
    struct Appended {
        // Where the text begins; its length is the text's without the final '\n'.
        LineLocation where;
        std::error_code error;
    };

    // `logger` (may be null) hears of rotations that fail.
    LedgerFile(LedgerFiles files, AppendFileOpener open, std::shared_ptr<spdlog::logger> logger);

    // Appends `lines`: whole lines, each ending in '\n'. When they would take a
    // non-empty current file past the limit, the file is rotated first. With
    // `durable`, they are on the disk itself when it returns without an error.
    // On an error, part of the text may have reached the file.
    Appended Append(std::string_view lines, bool durable);

    // Makes everything appended so far durable, with the folder's entries.
    // Appends from other threads go on while it waits for the disk.
    std::error_code Sync();

    // The line at `where`, re-read from its file; nothing when the file was
    // rotated out, cannot be read or holds no whole line there.
    std::optional<std::string> ReadLine(LineLocation where) const;

    // The current file's generation; the kept files hold this and the `kept - 1` before it.
    std::uint32_t Generation() const;
    const LedgerFiles& Files() const { return files_; }

private:
    std::error_code OpenCurrent();
    void RotateIfFull(std::uint64_t incoming);
    std::error_code Rotate();
    std::error_code SyncFileAndFolder(AppendFile& file);

    const LedgerFiles files_;
    const AppendFileOpener open_;
    const std::shared_ptr<spdlog::logger> logger_;

    mutable std::mutex mutex_;
    std::shared_ptr<AppendFile> file_;  // null until opened, and after a failure
    std::uint64_t size_ = 0;
    bool needsNewline_ = false;  // the file ends in a torn line
    std::uint32_t generation_;
    std::chrono::steady_clock::time_point retryRotationAt_{};
    std::atomic<bool> folderChanged_{false};
};

}  // namespace kestrova
