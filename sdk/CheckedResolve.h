// Checked member resolution, offered by development hosts.
//
// The same lookups as Resolve.h, told how the caller will use the member: as a
// member function, a static function or a field, and with which C++ type. A host
// that knows the game's declarations stops, naming the member, when the use does
// not match; a wrong signature would otherwise pass arguments and results in the
// wrong places without a word. Hosts without it do not ship this header.
// A name the game does not have comes back empty, as Resolve.h says, and a null
// object asks only whether the game has the field.
#pragma once

#include <string_view>

#include "Resolve.h"

// How a caller uses a member.
struct MemberUse {
    enum class Kind { Method, Static, Field };

    Kind kind = Kind::Method;
    // TypeSpelling<R(Args...)>() for a function, the receiver not included;
    // TypeSpelling<T>() for a field of type T.
    std::string_view type;
};

// The C++ spelling of a type, as the compiler writes it. The host and its plugins
// are built by one compiler, so both spell a type alike.
template <typename T>
constexpr std::string_view TypeSpelling()
{
#if defined(_MSC_VER) && !defined(__clang__)
    constexpr std::string_view whole = __FUNCSIG__;
    constexpr std::string_view open = "TypeSpelling<";
    constexpr std::string_view close = ">(void)";
    const auto first = whole.find(open) + open.size();
    return whole.substr(first, whole.rfind(close) - first);
#else
    constexpr std::string_view whole = __PRETTY_FUNCTION__;
    constexpr std::string_view open = "T = ";
    const auto first = whole.find(open) + open.size();
    const auto last = whole.find_first_of(";]", first);
    return whole.substr(first, last - first);
#endif
}

// The function `name`, used as `use` says.
SDK_API void* GetCheckedAddress(std::string_view name, const MemberUse& use);

// The field `name` of `object`, used as `use` says.
SDK_API void* GetCheckedAddress(const void* object, std::string_view name, const MemberUse& use);
