// How the game's compiler, MSVC for Windows x64, passes arguments and returns
// results, decided from the game's own definition of each type.
//
// The sdk's copy of a game type can differ from the game's in exactly what
// Microsoft's rules look at: the sdk's FName is a plain aggregate, the game's has
// constructors. So every class the game passes or returns by value is declared,
// as the game defines it, next to the sdk's copy (a GameClass specialization),
// and the rules below read that declaration, never the sdk type's own C++
// properties. A class without a declaration, or a type the rules do not cover,
// makes the signature that uses it fail to compile.
//
// The rules, from Microsoft's "x64 calling convention"
// (https://learn.microsoft.com/cpp/build/x64-calling-convention):
// - Return values: a global or static member function returns a user-defined type
//   in RAX only when it is 1, 2, 4 or 8 bytes long and has no user-defined
//   constructor, destructor or copy assignment operator, no private or protected
//   non-static data members, no non-static data members of reference type, no
//   base classes, no virtual functions, and no data members that fail these
//   rules. Otherwise the caller passes a pointer to storage for the result as the
//   first argument, shifting the others one place right, and the callee returns
//   that pointer in RAX. Only global and static functions return a user-defined
//   type in RAX; a member function takes the pointer right after `this`.
// - Parameter passing: a struct of 1, 2, 4 or 8 bytes is passed as an integer of
//   its size; any other by a pointer to a copy the caller makes, 16-byte aligned.
//   By-value class arguments are held to trivial copy and destruction (below), so
//   that GCC's and MSVC's different rules for other classes never come into play.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <type_traits>

// What Microsoft's rules look at in a class, as the game defines it. Each flag
// says the game's definition has that feature.
struct GameClassDefinition {
    bool userDefinedConstructor = false;  // or destructor, or copy assignment operator
    bool privateOrProtectedData = false;
    bool referenceMembers = false;
    bool baseClasses = false;
    bool virtualFunctions = false;
    bool memberFailingTheseRules = false;  // a data member whose class has one of the features above
    // Copied bit for bit and destroyed without running code; only such a class may
    // be passed by value.
    bool trivialCopyAndDestruction = false;
};

// Specialized for each game class used by value, with
//   static constexpr GameClassDefinition kDefinition{...};
template <typename T>
struct GameClass {};

namespace game_convention {

#if defined(_WIN64)
inline constexpr bool kWindowsX64 = true;
#else
inline constexpr bool kWindowsX64 = false;
#endif

template <typename T>
concept UserDefined = std::is_class_v<T> || std::is_union_v<T>;

template <typename T>
concept Declared = requires {
    { GameClass<T>::kDefinition } -> std::convertible_to<GameClassDefinition>;
};

// The scalars both compilers pass alike: integers, characters and bool, enums,
// float and double, pointers and references. Not long double: 8 bytes to MSVC,
// 16 to GCC.
template <typename T>
concept Scalar = std::is_reference_v<T> || std::is_pointer_v<T> ||
                 ((std::is_integral_v<T> || std::is_enum_v<T>) && sizeof(T) <= 8) || std::is_same_v<T, float> ||
                 std::is_same_v<T, double>;

constexpr bool IsRegisterSize(std::size_t size) { return size == 1 || size == 2 || size == 4 || size == 8; }

// Microsoft's test for a user-defined type a static function returns in RAX.
constexpr bool ReturnedInRegister(const GameClassDefinition& game, std::size_t size)
{
    return IsRegisterSize(size) && !game.userDefinedConstructor && !game.privateOrProtectedData &&
           !game.referenceMembers && !game.baseClasses && !game.virtualFunctions && !game.memberFailingTheseRules;
}

// Checks, at compile time, that the rules decide how T is passed by value, and
// names what is missing when they do not.
template <typename T>
consteval bool CheckArgument()
{
    if constexpr (UserDefined<T>) {
        static_assert(Declared<T>, "a class passed by value needs a GameClass declaration of how the game defines it");
        if constexpr (Declared<T>) {
            static_assert(GameClass<T>::kDefinition.trivialCopyAndDestruction,
                          "the game copies or destroys this class with code of its own: pass it by reference");
            static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                          "the sdk's copy of this class must copy and destroy trivially, as the game's does");
        }
    } else {
        static_assert(Scalar<T>, "the calling convention for this argument type is not decided here");
    }
    return true;
}

template <typename R>
consteval bool CheckResult()
{
    if constexpr (UserDefined<R>) {
        static_assert(Declared<R>, "a class returned by value needs a GameClass declaration of how the game defines it");
        if constexpr (Declared<R>) {
            static_assert(!ReturnedInRegister(GameClass<R>::kDefinition, sizeof(R)) ||
                              std::is_trivially_copyable_v<R>,
                          "a result the game returns in RAX is copied out of it: the sdk's copy must copy trivially");
        }
    } else {
        static_assert(std::is_void_v<R> || Scalar<R>, "the calling convention for this result type is not decided here");
    }
    return true;
}

template <typename R, typename... Args>
consteval bool CheckSignature()
{
    return CheckResult<R>() && (CheckArgument<Args>() && ...);
}

// How a member function returns R: a user-defined type through storage the
// caller passes right after `this`; anything else as an ordinary result.
template <typename R>
inline constexpr bool kMethodResultByPointer = kWindowsX64 && UserDefined<R>;

template <typename R>
consteval bool StaticResultInRegister()
{
    if constexpr (UserDefined<R>)
        return ReturnedInRegister(GameClass<R>::kDefinition, sizeof(R));
    else
        return true;
}

// How a static function returns R: a user-defined type that fails Microsoft's
// test through storage the caller passes first; one that passes it in RAX, read
// as an integer of its size, whatever the sdk's copy would make the compiler do.
template <typename R>
inline constexpr bool kStaticResultByPointer = kWindowsX64 && !StaticResultInRegister<R>();

template <typename R>
inline constexpr bool kStaticClassResultInRegister = kWindowsX64 && UserDefined<R> && StaticResultInRegister<R>();

// The integer a class of 1, 2, 4 or 8 bytes travels in.
template <std::size_t Size>
using RegisterWord = std::conditional_t<
    Size == 1, std::uint8_t,
    std::conditional_t<Size == 2, std::uint16_t, std::conditional_t<Size == 4, std::uint32_t, std::uint64_t>>>;

}  // namespace game_convention
