#include "ledger/append_file.h"

#include <algorithm>

#include <windows.h>

namespace kestrova {
namespace {

std::error_code LastError() { return {static_cast<int>(GetLastError()), std::system_category()}; }

class WindowsAppendFile final : public AppendFile {
public:
    explicit WindowsAppendFile(HANDLE file) : file_(file) {}
    ~WindowsAppendFile() override { CloseHandle(file_); }
    WindowsAppendFile(const WindowsAppendFile&) = delete;
    WindowsAppendFile& operator=(const WindowsAppendFile&) = delete;

    Written Append(std::string_view bytes) override
    {
        Written written;
        while (written.bytes < bytes.size()) {
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written.bytes, 1u << 30));
            DWORD count = 0;
            // Both offsets all ones: at the end of the file, whatever its size now.
            OVERLAPPED atEnd{};
            atEnd.Offset = 0xFFFFFFFF;
            atEnd.OffsetHigh = 0xFFFFFFFF;
            if (!WriteFile(file_, bytes.data() + written.bytes, chunk, &count, &atEnd)) {
                written.error = LastError();
                break;
            }
            if (count == 0) {
                written.error = std::make_error_code(std::errc::io_error);
                break;
            }
            written.bytes += count;
        }
        return written;
    }

    std::error_code Sync() override
    {
        if (!FlushFileBuffers(file_))
            return LastError();
        return {};
    }

private:
    HANDLE file_;
};

}  // namespace

std::unique_ptr<AppendFile> OpenAppendFile(const std::filesystem::path& path, std::error_code& error)
{
    // Write access, which FlushFileBuffers asks for; each write says it goes at
    // the end. Sharing deletion lets the ledger rename the file while a write
    // is being flushed.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = LastError();
        return nullptr;
    }
    error.clear();
    return std::make_unique<WindowsAppendFile>(file);
}

std::error_code SyncFolder(const std::filesystem::path&) { return {}; }

}  // namespace kestrova
