#include "ledger/append_file.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace kestrova {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

class PosixAppendFile final : public AppendFile {
public:
    explicit PosixAppendFile(int fd) : fd_(fd) {}
    ~PosixAppendFile() override { ::close(fd_); }
    PosixAppendFile(const PosixAppendFile&) = delete;
    PosixAppendFile& operator=(const PosixAppendFile&) = delete;

    Written Append(std::string_view bytes) override
    {
        Written written;
        while (written.bytes < bytes.size()) {
            const ssize_t count = ::write(fd_, bytes.data() + written.bytes, bytes.size() - written.bytes);
            if (count > 0) {
                written.bytes += static_cast<std::size_t>(count);
            } else if (count == 0) {
                written.error = std::make_error_code(std::errc::io_error);
                break;
            } else if (errno != EINTR) {
                written.error = LastError();
                break;
            }
        }
        return written;
    }

    std::error_code Sync() override
    {
        while (::fdatasync(fd_) != 0)
            if (errno != EINTR)
                return LastError();
        return {};
    }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<AppendFile> OpenAppendFile(const std::filesystem::path& path, std::error_code& error)
{
    int fd = -1;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = LastError();
        return nullptr;
    }
    error.clear();
    return std::make_unique<PosixAppendFile>(fd);
}

std::error_code SyncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return LastError();
    std::error_code error;
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            error = LastError();
            break;
        }
    }
    ::close(fd);
    return error;
}

}  // namespace kestrova
