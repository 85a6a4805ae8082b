// Typed access to the game's members by name. Every access resolves its name
// again; nothing is cached.
#pragma once

#include <string_view>

#include "AsaApi.h"

namespace kestrova {

// Calls the game function `name` as a member of `self`, with the argument types
// that its name declares.
template <typename R, typename... Args>
R Call(std::string_view name, const void* self, Args... args)
{
    using Fn = R (*)(void*, Args...);
    return reinterpret_cast<Fn>(GetAddress(name))(const_cast<void*>(self), args...);
}

// Calls the static game function `name`.
template <typename R, typename... Args>
R CallStatic(std::string_view name, Args... args)
{
    using Fn = R (*)(Args...);
    return reinterpret_cast<Fn>(GetAddress(name))(args...);
}

// A field of `object`, read and written in place with its declared type.
template <typename T>
T& Field(const void* object, std::string_view name)
{
    return *static_cast<T*>(GetAddress(object, name));
}

inline bool ReadBit(const void* object, std::string_view name) { return GetBitField(object, name).Get() != 0; }
inline void WriteBit(const void* object, std::string_view name, bool set) { GetBitField(object, name).Set(set ? 1 : 0); }

// A name value made by the game from narrow text.
inline FName MakeName(const char* text, EFindName find)
{
    FName name;
    Call<void, const char*, EFindName>("FName.FName(char*,EFindName)", &name, text, find);
    return name;
}

// The script function `function` of `target`, or null when it has none.
inline UFunction* FindFunction(const void* target, const char* function)
{
    return Call<UFunction*, FName>("UObject.FindFunctionChecked(FName)", target, MakeName(function, FNAME_Find));
}

}  // namespace kestrova

namespace kestrova {

// Console callbacks receive the game's player controller by its base class.
inline AShooterPlayerController* AsShooterController(APlayerController* player)
{
    return reinterpret_cast<AShooterPlayerController*>(player);
}

}  // namespace kestrova
