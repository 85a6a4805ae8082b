// Game members reached by their full name, resolved by the host at run time.
//
// Names are written "Class.Field" for fields and "Class.Method(ParamTypes)" for
// functions, exactly as the game declares them. A name resolves only exactly as
// written. Nothing here caches: every call resolves again.
//
// A name the game does not have (an update renamed or removed it) comes back
// empty, and the host says nothing: GetAddress gives null, in both forms and for
// any object, and GetBitField gives a BitField whose Word is null and NumBits 0.
// Calling or reading what comes back empty is the caller's crash, so every use
// checks.
//
// Asked with a null object, the field forms tell only whether the game has the
// field: null when it does not, anything else when it does (a real host gives
// the field's offset: every game class starts with its virtual table, so no
// field lies at offset 0). That answer is never an address. GetBitField answers
// the same question with NumBits: 0 when the game has no such flag.
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
