// A file opened for appending, as the operating system offers it, and the seam
// through which the ledger opens its files (tests hand it one that fails).
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <system_error>

namespace kestrova {

class AppendFile {
public:
    struct Written {
        std::size_t bytes = 0;  // how much reached the file, also when it failed
        std::error_code error;
    };

    virtual ~AppendFile() = default;
    // Writes at the end of the file.
    virtual Written Append(std::string_view bytes) = 0;
    // Makes what was written durable, on the disk itself (fdatasync, FlushFileBuffers).
    virtual std::error_code Sync() = 0;
};

// Opens `path` for appending, creating it if it is missing; null on failure,
// with `error` set. Other handles may read, rename and delete it while it is open.
std::unique_ptr<AppendFile> OpenAppendFile(const std::filesystem::path& path, std::error_code& error);

using AppendFileOpener = std::function<std::unique_ptr<AppendFile>(const std::filesystem::path&, std::error_code&)>;

// Makes the folder's entries durable: a file created or renamed in it survives a
// power loss. Windows keeps them in its file system's journal; nothing to do there.
std::error_code SyncFolder(const std::filesystem::path& folder);

}  // namespace kestrova
