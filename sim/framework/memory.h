// The game's allocator behind FMemory, with a count of what is live.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Export.h"

namespace sim {

struct MemoryStats {
    std::int64_t liveBlocks = 0;
    std::int64_t liveBytes = 0;
    std::uint64_t allocations = 0;  // every Malloc and every growing Realloc
};

SDK_API MemoryStats GetMemoryStats();

// Registers FMemory.Malloc, FMemory.Realloc and FMemory.Free in the member table.
SDK_API void RegisterAllocator();

}  // namespace sim
