// Registration of simulated members. Each function is registered under its full
// game name with a thunk that records the call in the journal (name, receiver,
// argument values) and then runs the implementation; each field and bitfield with
// an accessor that checks the object's class.
//
//   RegisterMethod<"AActor.GetWorld()", &GetWorld>();          // UWorld* GetWorld(Actor* self)
//   RegisterStatic<"UVictoryCore.StringReferenceToClass(FString&)", &StringReferenceToClass>();
//   RegisterField<"UWorld.TimeSeconds", &World::TimeSeconds>();
//   RegisterBit<"APrimalDinoCharacter.bIsFemale", &Dino::flags, 3>();
#pragma once

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>
#include <type_traits>

#include <fmt/format.h>

#include "FName.h"
#include "FString.h"
#include "GameClasses.h"
#include "GameStructs.h"
#include "host.h"
#include "journal.h"
#include "object.h"

namespace sim {

template <std::size_t N>
struct MemberName {
    constexpr MemberName(const char (&text)[N]) { std::copy_n(text, N, chars); }
    constexpr std::string_view View() const { return {chars, N - 1}; }
    char chars[N];
};

// The text of a name value, as the game's name table holds it.
std::string NameText(FName name);

// Argument values as the journal shows them.
inline std::string Describe(bool v) { return v ? "true" : "false"; }
inline std::string Describe(float v) { return fmt::format("{}", v); }
inline std::string Describe(double v) { return fmt::format("{}", v); }
inline std::string Describe(const FString& v) { return fmt::format("\"{}\"", ToUtf8(v.View())); }
inline std::string Describe(FString* v) { return v ? Describe(*v) : "null"; }
inline std::string Describe(FName v) { return NameText(v); }
inline std::string Describe(const char* v) { return v ? fmt::format("\"{}\"", v) : "null"; }
inline std::string Describe(const void* v) { return v ? "<block>" : "null"; }  // a parameter block
template <typename T>
std::string Describe(TSubclassOf<T> v) { return LabelOf(v.uClass); }
template <typename T>
    requires std::is_integral_v<T> || std::is_enum_v<T>
std::string Describe(T v) { return fmt::format("{}", static_cast<std::int64_t>(v)); }
inline std::string Describe(const FCustomItemData& v)
{
    return fmt::format("{}{{{} strings, {} floats, {} classes, {} names, {} byte arrays, {} doubles}}",
                       NameText(v.DataName), v.Strings.Num(), v.Floats.Num(), v.Classes.Num(), v.Names.Num(),
                       v.ByteArrays.Num(), v.Doubles.Num());
}
inline std::string Describe(const FARKDinoData&) { return "<creature data>"; }  // an out-parameter
template <typename T>
std::string Describe(const TArray<T>& v) { return fmt::format("<{} entries>", v.Num()); }
template <typename T>
std::string Describe(const UE::Math::TVector<T>& v) { return fmt::format("({}, {}, {})", v.X, v.Y, v.Z); }
template <typename T>
std::string Describe(const UE::Math::TRotator<T>& v) { return fmt::format("({}, {}, {})", v.Pitch, v.Yaw, v.Roll); }
// Game objects, by label. UFunction is an object too.
template <typename T>
    requires std::is_class_v<T> && (!std::is_same_v<T, FString>)
std::string Describe(T* v) { return LabelOf(v); }

// How the game's compiler passes a class result. On Windows x64 a member
// function returns every class through a hidden pointer passed right after
// `this`, and a static function returns a class through a hidden pointer passed
// first unless it is a plain aggregate of 1, 2, 4 or 8 bytes; the pointer comes
// back as the result. The thunks take exactly those arguments, so a caller that
// calls such a member any other way hands `this` in the result's place, and the
// receiver check below stops it. Elsewhere a class result is an ordinary return.
#if defined(_WIN64)
inline constexpr bool kWindowsX64 = true;
#else
inline constexpr bool kWindowsX64 = false;
#endif

template <typename R>
inline constexpr bool kMethodResultByPointer = kWindowsX64 && std::is_class_v<R>;

template <typename R>
inline constexpr bool kStaticResultByPointer =
    kWindowsX64 && std::is_class_v<R> &&
    !(std::is_aggregate_v<R> && std::is_trivially_copyable_v<R> &&
      (sizeof(R) == 1 || sizeof(R) == 2 || sizeof(R) == 4 || sizeof(R) == 8));

template <auto Impl>
struct MethodThunk;

template <typename Self, typename R, typename... A, R (*Impl)(Self*, A...)>
struct MethodThunk<Impl> {
    static constexpr std::string_view kType = TypeSpelling<R(A...)>();

    template <MemberName Name>
    static R Run(void* self, A... args)
    {
        if constexpr (std::is_base_of_v<Object, Self>) {
            Self* typed = As<Self>(self, Name.View());
            GetJournal().Record({std::string(Name.View()), typed->label, {Describe(args)...}});
            return Impl(typed, args...);
        } else {
            // A value that the game builds in the caller's storage, such as a name.
            GetJournal().Record({std::string(Name.View()), "", {Describe(args)...}});
            return Impl(static_cast<Self*>(self), args...);
        }
    }

    template <MemberName Name>
    static R* RunIntoResult(void* self, R* result, A... args)
    {
        return new (result) R(Run<Name>(self, args...));
    }

    template <MemberName Name>
    static void* Entry()
    {
        if constexpr (kMethodResultByPointer<R>)
            return reinterpret_cast<void*>(&RunIntoResult<Name>);
        else
            return reinterpret_cast<void*>(&Run<Name>);
    }
};

template <auto Impl>
struct StaticThunk;

template <typename R, typename... A, R (*Impl)(A...)>
struct StaticThunk<Impl> {
    static constexpr std::string_view kType = TypeSpelling<R(A...)>();

    template <MemberName Name>
    static R Run(A... args)
    {
        GetJournal().Record({std::string(Name.View()), "", {Describe(args)...}});
        return Impl(args...);
    }

    template <MemberName Name>
    static R* RunIntoResult(R* result, A... args)
    {
        return new (result) R(Run<Name>(args...));
    }

    template <MemberName Name>
    static void* Entry()
    {
        if constexpr (kStaticResultByPointer<R>)
            return reinterpret_cast<void*>(&RunIntoResult<Name>);
        else
            return reinterpret_cast<void*>(&Run<Name>);
    }
};

template <MemberName Name, auto Impl>
void RegisterMethod()
{
    using Thunk = MethodThunk<Impl>;
    Member member{MemberKind::Function, Thunk::template Entry<Name>()};
    member.declared = {MemberUse::Kind::Method, Thunk::kType};
    RegisterMember(std::string(Name.View()), member);
}

template <MemberName Name, auto Impl>
void RegisterStatic()
{
    using Thunk = StaticThunk<Impl>;
    Member member{MemberKind::Function, Thunk::template Entry<Name>()};
    member.declared = {MemberUse::Kind::Static, Thunk::kType};
    RegisterMember(std::string(Name.View()), member);
}

template <typename Pointer>
struct MemberOf;

template <typename C, typename T>
struct MemberOf<T C::*> {
    using Class = C;
    using Type = T;
};

// A field, declared to the plugin with the game's type: the field's own type,
// unless it points at a simulated object, whose game class is then given.
template <MemberName Name, auto Field, typename Declared = typename MemberOf<decltype(Field)>::Type>
void RegisterField()
{
    using C = typename MemberOf<decltype(Field)>::Class;
    using T = typename MemberOf<decltype(Field)>::Type;
    static_assert(sizeof(Declared) == sizeof(T) && std::is_pointer_v<Declared> == std::is_pointer_v<T>,
                  "the declared type must have the field's layout");
    Member member{MemberKind::Field};
    member.field = [](void* object) -> void* { return &(As<C>(object, Name.View())->*Field); };
    member.declared = {MemberUse::Kind::Field, TypeSpelling<Declared>()};
    RegisterMember(std::string(Name.View()), member);
}

template <MemberName Name, auto Word, std::uint32_t Bit>
void RegisterBit()
{
    using C = typename MemberOf<decltype(Word)>::Class;
    Member member{MemberKind::BitField};
    member.bitfield = [](void* object) -> BitField { return {&(As<C>(object, Name.View())->*Word), Bit, 1}; };
    RegisterMember(std::string(Name.View()), member);
}

}  // namespace sim
