// The full path of the plugin's own library file.
#pragma once

#include <cstddef>

#include "host/text.h"

namespace kestrova {

WideString PluginLibraryPath();

// A module's file name, read the way GetModuleFileNameW reports it: `read(buffer,
// size)` writes at most `size` units including a terminating NUL and returns the
// count without it; a name that does not fit is cut to `size - 1` units and `size`
// is returned. The first read uses the classic 260 units; a longer name is read
// again into a larger buffer rather than kept cut. Empty when reading fails.
template <typename Read>
WideString ReadModuleFileName(Read read)
{
    constexpr std::size_t kFirstSize = 260;
    constexpr std::size_t kLongestPath = 32768;  // the longest path Windows accepts, NUL included
    for (std::size_t size = kFirstSize;; size *= 2) {
        WideString buffer(size, WIDECHAR{});
        const std::size_t length = read(buffer.data(), size);
        if (length == 0 || length > size)
            return {};
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
        if (size >= kLongestPath)
            return {};
    }
}

}  // namespace kestrova
