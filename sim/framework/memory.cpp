#include "memory.h"

#include <cstdlib>
#include <cstring>

#include "members.h"

namespace sim {
namespace {

// Each block carries its size and a mark in front, so frees of foreign or
// already-freed pointers are caught instead of corrupting the heap.
constexpr std::uint64_t kLive = 0x4b657374726f7661ull;
constexpr std::uint64_t kFreed = 0x667265656466726full;

struct alignas(16) Header {
    std::uint64_t mark;
    std::uint64_t size;
};

MemoryStats& Stats()
{
    static MemoryStats stats;
    return stats;
}

Header* HeaderOf(void* block)
{
    Header* header = static_cast<Header*>(block) - 1;
    if (header->mark != kLive)
        Fatal("FMemory", header->mark == kFreed ? "block freed twice" : "block not from FMemory");
    return header;
}

void* Malloc(unsigned long long size, unsigned int)
{
    auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + size));
    if (header == nullptr)
        return nullptr;
    *header = {kLive, size};
    ++Stats().liveBlocks;
    Stats().liveBytes += static_cast<std::int64_t>(size);
    ++Stats().allocations;
    return header + 1;
}

void Free(void* block)
{
    if (block == nullptr)
        return;
    Header* header = HeaderOf(block);
    --Stats().liveBlocks;
    Stats().liveBytes -= static_cast<std::int64_t>(header->size);
    header->mark = kFreed;
    std::free(header);
}

void* Realloc(void* block, unsigned long long size, unsigned int alignment)
{
    if (block == nullptr)
        return Malloc(size, alignment);
    if (size == 0) {
        Free(block);
        return nullptr;
    }
    Header* header = HeaderOf(block);
    const auto old = header->size;
    auto* grown = static_cast<Header*>(std::realloc(header, sizeof(Header) + size));
    if (grown == nullptr)
        return nullptr;
    grown->size = size;
    Stats().liveBytes += static_cast<std::int64_t>(size) - static_cast<std::int64_t>(old);
    if (size > old)
        ++Stats().allocations;
    return grown + 1;
}

}  // namespace

MemoryStats GetMemoryStats() { return Stats(); }

void RegisterAllocator()
{
    // The allocator is counted, not journaled: every string the plugin builds would
    // otherwise bury the game calls that matter.
    RegisterMember("FMemory.Malloc(unsigned__int64,unsignedint)", {MemberKind::Function, reinterpret_cast<void*>(&Malloc)});
    RegisterMember("FMemory.Realloc(void*,unsigned__int64,unsignedint)", {MemberKind::Function, reinterpret_cast<void*>(&Realloc)});
    RegisterMember("FMemory.Free(void*)", {MemberKind::Function, reinterpret_cast<void*>(&Free)});
}

}  // namespace sim
