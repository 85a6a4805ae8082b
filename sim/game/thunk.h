// Registration of simulated members. Each function is registered under its full
// game name with a thunk that checks the receiver, journals the call (receiver,
// arguments, result) and runs the implementation, passing the tripwire
// (framework/tripwire.h) on the way in and on the way back; each field and
// bitfield with an accessor that checks the object's class and journals the
// access (journal.h says how a write is told from a read).
//
//   RegisterMethod<"AActor.GetWorld()", &GetWorld>();          // UWorld* GetWorld(Actor* self)
//   RegisterStatic<"UVictoryCore.StringReferenceToClass(FString&)", &StringReferenceToClass>();
//   RegisterField<"UWorld.TimeSeconds", &World::TimeSeconds>();
//   RegisterBit<"APrimalDinoCharacter.bIsFemale", &Dino::flags, 3>();
//
// A method whose arguments need more than their types tell (a parameter block laid
// out as a script function declares it) takes a recorder as a third argument:
// void Record(JournalRecord&, Self*, Args...), which fills the arguments itself.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

#include <fmt/format.h>

#include "FName.h"
#include "FString.h"
#include "GameClasses.h"
#include "GameConvention.h"
#include "GameStructs.h"
#include "framework/host.h"
#include "framework/journal.h"
#include "framework/tripwire.h"
#include "journal_values.h"
#include "object.h"

namespace sim {

template <std::size_t N>
struct MemberName {
    constexpr MemberName(const char (&text)[N]) { std::copy_n(text, N, chars); }
    constexpr std::string_view View() const { return {chars, N - 1}; }
    char chars[N];
};

// A parameter the game writes into (an FString&, FARKDinoData&...): journaled as
// the call left it. Every other argument is journaled as it was passed.
template <typename T>
inline constexpr bool kIsOutParameter = std::is_lvalue_reference_v<T> && !std::is_const_v<std::remove_reference_t<T>>;

// Journals the arguments whose `out` is as asked, each at its index.
template <bool Out, typename... A, std::size_t... I>
void RecordArgs(JournalRecord& record, std::index_sequence<I...>, const std::remove_reference_t<A>&... args)
{
    ((kIsOutParameter<A> == Out ? record.Arg(I, Capture(record, args)) : void()), ...);
}

template <typename Self>
JournalValue ReceiverValue(Self* self)
{
    if constexpr (std::is_base_of_v<Object, Self>)
        return ObjectValue(static_cast<const Object*>(self));
    else
        return {};  // a value that the game builds in the caller's storage, such as a name
}

struct NoRecorder {};

// Class results as the game's compiler passes them (GameConvention.h): on Windows
// x64 a member function returns one through a hidden pointer passed right after
// `this`, and a static function through one passed first unless Microsoft's rules
// return it in RAX; the pointer comes back as the result. The thunks take exactly
// those arguments, so a caller that calls such a member any other way hands
// `this` in the result's place, and the receiver check below stops it. Elsewhere
// a class result is an ordinary return.
template <auto Impl>
struct MethodThunk;

template <typename Self, typename R, typename... A, R (*Impl)(Self*, A...)>
struct MethodThunk<Impl> {
    static constexpr std::string_view kType = TypeSpelling<R(A...)>();

    template <MemberName Name, auto Recorder>
    static R Run(void* self, A... args)
    {
        const GameCodeScope inGame;
        Self* typed = nullptr;
        if constexpr (std::is_base_of_v<Object, Self>)
            typed = As<Self>(self, Name.View());
        else
            typed = static_cast<Self*>(self);
        JournalRecord record =
            GetJournal().Begin(JournalKind::Call, Name.View(), ReceiverValue(typed), sizeof...(A), !std::is_void_v<R>);
        if (record) {
            if constexpr (std::is_same_v<std::remove_cv_t<decltype(Recorder)>, NoRecorder>)
                RecordArgs<false, A...>(record, std::index_sequence_for<A...>{}, args...);
            else
                Recorder(record, typed, args...);
        }
        PassTripwire(TripWhen::Call, Name.View());
        if constexpr (std::is_void_v<R>) {
            Impl(typed, args...);
            PassTripwire(TripWhen::Return, Name.View());
            if (record)
                RecordArgs<true, A...>(record, std::index_sequence_for<A...>{}, args...);
        } else {
            R result = Impl(typed, args...);
            PassTripwire(TripWhen::Return, Name.View());
            if (record) {
                RecordArgs<true, A...>(record, std::index_sequence_for<A...>{}, args...);
                record.Result(Capture(record, result));
            }
            return result;
        }
    }

    template <MemberName Name, auto Recorder>
    static R* RunIntoResult(void* self, R* result, A... args)
    {
        return new (result) R(Run<Name, Recorder>(self, args...));
    }

    template <MemberName Name, auto Recorder>
    static void* Entry()
    {
        if constexpr (game_convention::kMethodResultByPointer<R>)
            return reinterpret_cast<void*>(&RunIntoResult<Name, Recorder>);
        else
            return reinterpret_cast<void*>(&Run<Name, Recorder>);
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
        const GameCodeScope inGame;
        JournalRecord record = GetJournal().Begin(JournalKind::Call, Name.View(), {}, sizeof...(A), !std::is_void_v<R>);
        if (record)
            RecordArgs<false, A...>(record, std::index_sequence_for<A...>{}, args...);
        PassTripwire(TripWhen::Call, Name.View());
        if constexpr (std::is_void_v<R>) {
            Impl(args...);
            PassTripwire(TripWhen::Return, Name.View());
            if (record)
                RecordArgs<true, A...>(record, std::index_sequence_for<A...>{}, args...);
        } else {
            R result = Impl(args...);
            PassTripwire(TripWhen::Return, Name.View());
            if (record) {
                RecordArgs<true, A...>(record, std::index_sequence_for<A...>{}, args...);
                record.Result(Capture(record, result));
            }
            return result;
        }
    }

    template <MemberName Name>
    static R* RunIntoResult(R* result, A... args)
    {
        return new (result) R(Run<Name>(args...));
    }

    template <MemberName Name>
    static auto RunIntoRegister(A... args)
    {
        return std::bit_cast<game_convention::RegisterWord<sizeof(R)>>(Run<Name>(args...));
    }

    template <MemberName Name>
    static void* Entry()
    {
        if constexpr (game_convention::kStaticResultByPointer<R>)
            return reinterpret_cast<void*>(&RunIntoResult<Name>);
        else if constexpr (game_convention::kStaticClassResultInRegister<R>)
            return reinterpret_cast<void*>(&RunIntoRegister<Name>);
        else
            return reinterpret_cast<void*>(&Run<Name>);
    }
};

template <MemberName Name, auto Impl, auto Recorder = NoRecorder{}>
void RegisterMethod()
{
    using Thunk = MethodThunk<Impl>;
    Member member{MemberKind::Function, Thunk::template Entry<Name, Recorder>()};
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
    member.field = [](void* object) -> void* {
        C* typed = As<C>(object, Name.View());
        T* field = &(typed->*Field);
        if (Journal& journal = GetJournal(); journal.On())
            journal.Access(Name.View(), ReceiverValue(typed), field, FieldWatch<T>::kOps);
        return field;
    };
    member.declared = {MemberUse::Kind::Field, TypeSpelling<Declared>()};
    RegisterMember(std::string(Name.View()), member);
}

template <MemberName Name, auto Word, std::uint32_t Bit>
void RegisterBit()
{
    using C = typename MemberOf<decltype(Word)>::Class;
    Member member{MemberKind::BitField};
    member.bitfield = [](void* object) -> BitField {
        C* typed = As<C>(object, Name.View());
        std::uint32_t* word = &(typed->*Word);
        if (Journal& journal = GetJournal(); journal.On())
            journal.Access(Name.View(), ReceiverValue(typed), word, BitWatch::kOps, Bit);
        return {word, Bit, 1};
    };
    RegisterMember(std::string(Name.View()), member);
}

}  // namespace sim
