// Game members as typed descriptors, and the calls that use them.
//
// Each member is declared once, its full game name together with the C++ type it
// is used with (host/members.h):
//
//   inline constexpr Method<AShooterPlayerController, FString()> PlayerCharacterName{
//       "AShooterPlayerController.GetPlayerCharacterName()"};
//   Call(member::PlayerCharacterName, controller);    // an FString
//
// Every use resolves the name again; nothing is cached. A name the game does not
// have raises MissingMember at its use: nothing is called or read through null.
// GameHas asks whether the game has a member without using it. Where the host can check a
// use against the game's declaration (CheckedResolve.h), every resolution is
// checked, unless the build says it is for a host without the check
// (KESTROVA_NO_MEMBER_CHECKS). Functions are called as the game's compiler compiled them
// (GameConvention.h); a signature whose convention it cannot decide does not
// compile.
#pragma once

#include <bit>
#include <cstddef>
#include <new>
#include <string_view>
#include <type_traits>
#include <utility>

#include "AsaApi.h"
#include "GameConvention.h"
#include "host/missing_member.h"

#if __has_include("CheckedResolve.h") && !defined(KESTROVA_NO_MEMBER_CHECKS)
#  include "CheckedResolve.h"
#  define KESTROVA_CHECKED_MEMBERS 1
#endif

namespace kestrova {
namespace detail {

// The parameters that a full name declares: top-level commas between its
// parentheses, "()" being none. Template arguments hold commas of their own.
consteval std::size_t DeclaredParameterCount(std::string_view name)
{
    const std::size_t open = name.find('(');
    if (open == std::string_view::npos || name.back() != ')')
        throw "a function's name ends in its parameter list";
    if (open + 2 == name.size())
        return 0;
    std::size_t count = 1;
    int depth = 0;
    for (std::size_t i = open + 1; i + 1 < name.size(); ++i) {
        depth += name[i] == '<' ? 1 : name[i] == '>' ? -1 : 0;
        if (name[i] == ',' && depth == 0)
            ++count;
    }
    return count;
}

consteval bool NamesAField(std::string_view name)
{
    return name.find('.') != std::string_view::npos && name.find('(') == std::string_view::npos;
}

}  // namespace detail

// A member function of `Self`, used with the type `Signature`, R(Args...).
template <typename Self, typename Signature>
struct Method;

template <typename Self, typename R, typename... Args>
struct Method<Self, R(Args...)> {
    static_assert(game_convention::CheckSignature<R, Args...>());

    consteval Method(const char* fullName) : name(fullName)
    {
        if (detail::DeclaredParameterCount(name) != sizeof...(Args))
            throw "the name declares another number of parameters than the signature";
    }
    std::string_view name;
};

// A static function, used with the type `Signature`, R(Args...).
template <typename Signature>
struct Static;

template <typename R, typename... Args>
struct Static<R(Args...)> {
    static_assert(game_convention::CheckSignature<R, Args...>());

    consteval Static(const char* fullName) : name(fullName)
    {
        if (detail::DeclaredParameterCount(name) != sizeof...(Args))
            throw "the name declares another number of parameters than the signature";
    }
    std::string_view name;
};

// A field of `Self`, of type T (an array field is T[N]).
template <typename Self, typename T>
struct Field {
    consteval Field(const char* fullName) : name(fullName)
    {
        if (!detail::NamesAField(name))
            throw "a field's name is its class, a dot and the field";
    }
    std::string_view name;
};

// A one-bit flag of `Self`.
template <typename Self>
struct Bit {
    consteval Bit(const char* fullName) : name(fullName)
    {
        if (!detail::NamesAField(name))
            throw "a bitfield's name is its class, a dot and the field";
    }
    std::string_view name;
};

namespace detail {

// Takes the result out of the storage the game built it in.
template <typename R>
R TakeResult(R* built)
{
    R result(std::move(*built));
    built->~R();
    return result;
}

template <typename R, typename... Args>
R CallMethodAt(void* address, void* self, Args... args)
{
    if constexpr (game_convention::kMethodResultByPointer<R>) {
        alignas(R) unsigned char storage[sizeof(R)];
        using Fn = R* (*)(void*, void*, Args...);
        return TakeResult(reinterpret_cast<Fn>(address)(self, storage, args...));
    } else {
        using Fn = R (*)(void*, Args...);
        return reinterpret_cast<Fn>(address)(self, args...);
    }
}

template <typename R, typename... Args>
R CallStaticAt(void* address, Args... args)
{
    if constexpr (game_convention::kStaticResultByPointer<R>) {
        alignas(R) unsigned char storage[sizeof(R)];
        using Fn = R* (*)(void*, Args...);
        return TakeResult(reinterpret_cast<Fn>(address)(storage, args...));
    } else if constexpr (game_convention::kStaticClassResultInRegister<R>) {
        using Fn = game_convention::RegisterWord<sizeof(R)> (*)(Args...);
        return std::bit_cast<R>(reinterpret_cast<Fn>(address)(args...));
    } else {
        using Fn = R (*)(Args...);
        return reinterpret_cast<Fn>(address)(args...);
    }
}

// The function's address; null when the game has no such function.
template <typename Signature>
void* FindFunctionAddress(std::string_view name, [[maybe_unused]] bool isStatic)
{
#if defined(KESTROVA_CHECKED_MEMBERS)
    static constexpr std::string_view type = TypeSpelling<Signature>();
    return GetCheckedAddress(name, MemberUse{isStatic ? MemberUse::Kind::Static : MemberUse::Kind::Method, type});
#else
    return GetAddress(name);
#endif
}

// The field's address in `object`; null when the game has no such field. With a
// null object, only whether it has one (Resolve.h).
template <typename T>
void* FindFieldAddress(const void* object, std::string_view name)
{
#if defined(KESTROVA_CHECKED_MEMBERS)
    static constexpr std::string_view type = TypeSpelling<T>();
    return GetCheckedAddress(object, name, MemberUse{MemberUse::Kind::Field, type});
#else
    return GetAddress(object, name);
#endif
}

template <typename Signature>
void* ResolveFunction(std::string_view name, bool isStatic)
{
    void* address = FindFunctionAddress<Signature>(name, isStatic);
    if (address == nullptr)
        throw MissingMember(name);
    return address;
}

template <typename T>
void* ResolveField(const void* object, std::string_view name)
{
    void* address = FindFieldAddress<T>(object, name);
    if (address == nullptr)
        throw MissingMember(name);
    return address;
}

inline BitField ResolveBit(const void* object, std::string_view name)
{
    const BitField bit = GetBitField(object, name);
    if (bit.Word == nullptr || bit.NumBits == 0)
        throw MissingMember(name);
    return bit;
}

}  // namespace detail

// Calls `method` on `self` with `args`, each converted to its declared type.
template <typename Self, typename R, typename... Params, typename... Args>
R Call(const Method<Self, R(Params...)>& method, const std::type_identity_t<Self>* self, Args&&... args)
{
    static_assert(sizeof...(Args) == sizeof...(Params), "the method takes another number of arguments");
    void* address = detail::ResolveFunction<R(Params...)>(method.name, false);
    return detail::CallMethodAt<R, Params...>(address, const_cast<Self*>(self), std::forward<Args>(args)...);
}

// Calls the static `function` with `args`, each converted to its declared type.
template <typename R, typename... Params, typename... Args>
R CallStatic(const Static<R(Params...)>& function, Args&&... args)
{
    static_assert(sizeof...(Args) == sizeof...(Params), "the function takes another number of arguments");
    void* address = detail::ResolveFunction<R(Params...)>(function.name, true);
    return detail::CallStaticAt<R, Params...>(address, std::forward<Args>(args)...);
}

// The field inside `object`, read and written in place.
template <typename Self, typename T>
T& FieldOf(const Field<Self, T>& field, const std::type_identity_t<Self>* object)
{
    return *static_cast<T*>(detail::ResolveField<T>(object, field.name));
}

template <typename Self>
bool ReadBit(const Bit<Self>& bit, const std::type_identity_t<Self>* object)
{
    return detail::ResolveBit(object, bit.name).Get() != 0;
}

// Changes only the flag's own bit.
template <typename Self>
void WriteBit(const Bit<Self>& bit, const std::type_identity_t<Self>* object, bool set)
{
    detail::ResolveBit(object, bit.name).Set(set ? 1 : 0);
}

// Whether the game has the member, asked without an object and without using it.
template <typename Self, typename R, typename... Params>
bool GameHas(const Method<Self, R(Params...)>& method)
{
    return detail::FindFunctionAddress<R(Params...)>(method.name, false) != nullptr;
}

template <typename R, typename... Params>
bool GameHas(const Static<R(Params...)>& function)
{
    return detail::FindFunctionAddress<R(Params...)>(function.name, true) != nullptr;
}

template <typename Self, typename T>
bool GameHas(const Field<Self, T>& field)
{
    return detail::FindFieldAddress<T>(nullptr, field.name) != nullptr;
}

template <typename Self>
bool GameHas(const Bit<Self>& bit)
{
    return GetBitField(nullptr, bit.name).NumBits != 0;
}

}  // namespace kestrova
