// The game's allocator. Every buffer of a game string or array goes through it,
// so the game and the plugin can free each other's buffers.
#pragma once

#include <cstddef>

#include "Resolve.h"

struct FMemory {
    static void* Malloc(std::size_t size)
    {
        using Fn = void* (*)(unsigned long long, unsigned int);
        return reinterpret_cast<Fn>(GetAddress("FMemory.Malloc(unsigned__int64,unsignedint)"))(size, 0);
    }

    static void* Realloc(void* block, std::size_t size)
    {
        using Fn = void* (*)(void*, unsigned long long, unsigned int);
        return reinterpret_cast<Fn>(GetAddress("FMemory.Realloc(void*,unsigned__int64,unsignedint)"))(block, size, 0);
    }

    static void Free(void* block)
    {
        using Fn = void (*)(void*);
        reinterpret_cast<Fn>(GetAddress("FMemory.Free(void*)"))(block);
    }
};
