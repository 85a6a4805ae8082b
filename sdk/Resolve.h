// Game members reached by their full name, resolved by the host at run time.
//
// Names are written "Class.Field" for fields and "Class.Method(ParamTypes)" for
// functions, exactly as the game declares them. A name resolves only exactly as
// written. Nothing here caches: every call resolves again.
#pragma once

#include <cstdint>
#include <string_view>

#include "Export.h"

// A one-bit (or few-bit) flag inside a 32-bit word of a game object.
struct BitField {
    std::uint32_t* Word = nullptr;
    std::uint32_t BitPosition = 0;
    std::uint32_t NumBits = 0;

    std::uint32_t Mask() const { return ((NumBits >= 32) ? 0xFFFFFFFFu : ((1u << NumBits) - 1u)) << BitPosition; }
    std::uint32_t Get() const { return (*Word & Mask()) >> BitPosition; }
    void Set(std::uint32_t value) const { *Word = (*Word & ~Mask()) | ((value << BitPosition) & Mask()); }
};

// The game function of that full name, called as a member with the object as its
// first argument, or without one for a static function.
SDK_API void* GetAddress(std::string_view name);

// The address of a field inside `object`, to be read and written in place.
SDK_API void* GetAddress(const void* object, std::string_view name);

// The word, position and width of a bitfield inside `object`.
SDK_API BitField GetBitField(const void* object, std::string_view name);
