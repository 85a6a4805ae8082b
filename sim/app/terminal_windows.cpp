#include "terminal.h"

#include <io.h>
#include <windows.h>

namespace sim {
namespace {

// The console handle behind `stream`, or null. _isatty alone is not enough: it is
// true for any character device, the NUL device that `< NUL` gives among them.
HANDLE ConsoleHandle(std::FILE* stream, DWORD& mode)
{
    const int descriptor = _fileno(stream);
    if (descriptor < 0 || !_isatty(descriptor))
        return nullptr;
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode))
        return nullptr;
    return handle;
}

}  // namespace

bool IsTerminal(std::FILE* stream)
{
    DWORD mode = 0;
    return ConsoleHandle(stream, mode) != nullptr;
}

bool IsColourTerminal(std::FILE* stream)
{
    DWORD mode = 0;
    HANDLE handle = ConsoleHandle(stream, mode);
    return handle != nullptr && SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace sim
