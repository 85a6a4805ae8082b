// Game members called through Call and CallStatic, checked against callees
// written in assembly from Microsoft's x64 rules (member_access_callees_windows.S),
// not against the stand-in's thunks, which share the access layer's reading of
// the rules. Each test routes members of host/members.h, one per shape of
// signature, to a callee that records every register and stack slot it received;
// the expectations below place each argument where Microsoft's rules put it.
//
// The shapes, and the members.h signatures each stands for:
// - a member returning a class: FString() and TArray<FName>();
// - the same with one argument: FString(APlayerController*);
// - a static returning a class through storage: TSubclassOf<UObject>(FString&);
// - a static returning a pointer in RAX: UClass*() and UObject*(UClass*);
// - floats by position in XMM1-XMM3 and on the stack, a float result in XMM0;
// - bools and ints in registers and on the stack, a bool result in AL;
// - 8-byte classes (FName, TSubclassOf) in a register, as integers;
// - 24-byte structs by pointer to an aligned copy: CreateCloneFertilizedEgg;
// - fifteen arguments: AddNewItem.
// Every other signature there is pointers, references, ints, enums and bools in
// the first four places, which these cover too.
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <new>
#include <string>
#include <string_view>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "framework/memory.h"
#include "framework/members.h"
#include "host/members.h"

extern "C" {

// What a callee received. Its layout is the callees' too.
struct ProbeSeen {
    std::uint64_t rcx, rdx, r8, r9;
    std::uint64_t xmm[4];           // the low 8 bytes of XMM0-XMM3
    std::uint64_t rsp;              // on entry, where the return address is
    std::uint64_t stack[16];        // [RSP+8] onwards: four home slots, then argument 5, 6...
    unsigned char copies[2][24];    // what RDX and R8 pointed at
};

// What a callee gives back.
struct ProbeAnswer {
    std::uint64_t rax, xmm0;
    std::uint64_t words[4];  // a class result's bytes, written through the result pointer
    std::uint64_t wordCount;
};

ProbeSeen probe_seen;
ProbeAnswer probe_answer;

void probe_result_after_this();
void probe_result_first();
void probe_result_in_registers();
void probe_copies_in_rdx_r8();
}

static_assert(offsetof(ProbeSeen, xmm) == 32 && offsetof(ProbeSeen, rsp) == 64 && offsetof(ProbeSeen, stack) == 72 &&
              offsetof(ProbeSeen, copies) == 200);
static_assert(offsetof(ProbeAnswer, words) == 16 && offsetof(ProbeAnswer, wordCount) == 48);

// A class the sdk would read as a plain aggregate while the game returns it
// through storage, as it does its name: declared the sdk's way, to see the
// mistake caught.
struct MisdeclaredName {
    std::uint32_t index = 0, number = 0;
};
template <>
struct GameClass<MisdeclaredName> {
    static constexpr GameClassDefinition kDefinition{.trivialCopyAndDestruction = true};
};

// A plain aggregate of 8 bytes, which a static function returns in RAX.
struct PlainPair {
    std::int32_t first = 0, second = 0;
};
template <>
struct GameClass<PlainPair> {
    static constexpr GameClassDefinition kDefinition{.trivialCopyAndDestruction = true};
};

namespace kestrova {
namespace {

std::uint64_t Word(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }
std::uint64_t Bits(float value) { return std::bit_cast<std::uint32_t>(value); }

// Argument N (from 1) that went on the stack, above the four home slots.
std::uint64_t Argument(int n) { return probe_seen.stack[n - 1]; }

// One place the callee saw, against what the rules put there. Only the value's
// own bytes count: the rest of a register or slot is undefined.
struct Place {
    std::string_view what;
    std::uint64_t seen;
    std::uint64_t expected;
    unsigned bytes = 8;
};

Place Pointer(std::string_view what, std::uint64_t seen, const void* expected) { return {what, seen, Word(expected)}; }
Place Int(std::string_view what, std::uint64_t seen, std::int32_t expected)
{
    return {what, seen, static_cast<std::uint32_t>(expected), 4};
}
Place Bool(std::string_view what, std::uint64_t seen, bool expected) { return {what, seen, expected ? 1u : 0u, 1}; }
Place Float(std::string_view what, std::uint64_t seen, float expected) { return {what, seen, Bits(expected), 4}; }

// The places, and a stack 16-byte aligned at the call.
::testing::AssertionResult Saw(std::initializer_list<Place> places)
{
    std::string wrong;
    if ((probe_seen.rsp + 8) % 16 != 0)
        wrong += fmt::format("RSP {:#x} on entry: not 16-byte aligned at the call\n", probe_seen.rsp);
    for (const Place& place : places) {
        const std::uint64_t mask = place.bytes == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * place.bytes)) - 1;
        if ((place.seen & mask) != (place.expected & mask))
            wrong += fmt::format("{}: {:#x}, not {:#x}\n", place.what, place.seen & mask, place.expected & mask);
    }
    if (wrong.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong;
}

// Storage for a class result: somewhere in the caller's frame, aligned for it.
::testing::AssertionResult IsResultStorage(std::uint64_t seen, std::size_t alignment)
{
    if (seen != 0 && seen % alignment == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << fmt::format("{:#x} is no storage for the result", seen);
}

class MemberAccessWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::ClearMembers();
        sim::RegisterAllocator();
        probe_seen = {};
        probe_answer = {};
    }
    void TearDown() override
    {
        sim::ClearMembers();
        sim::RegisterAllocator();
    }

    template <typename Self, typename R, typename... A>
    static void Route(const Method<Self, R(A...)>& method, void (*callee)())
    {
        Register(method.name, MemberUse::Kind::Method, TypeSpelling<R(A...)>(), callee);
    }
    template <typename R, typename... A>
    static void Route(const Static<R(A...)>& function, void (*callee)())
    {
        Register(function.name, MemberUse::Kind::Static, TypeSpelling<R(A...)>(), callee);
    }

    // The game's string as the callee hands it back: its bytes, whose buffer the
    // result then owns.
    static void AnswerString(const WIDECHAR* text)
    {
        alignas(FString) unsigned char built[sizeof(FString)];
        new (built) FString(text);
        std::memcpy(probe_answer.words, built, sizeof(FString));
        probe_answer.wordCount = sizeof(FString) / 8;
    }

private:
    static void Register(std::string_view name, MemberUse::Kind kind, std::string_view type, void (*callee)())
    {
        sim::Member member{sim::MemberKind::Function, reinterpret_cast<void*>(callee)};
        member.declared = {kind, type};
        sim::RegisterMember(std::string(name), member);
    }
};

TEST_F(MemberAccessWindows, MemberReturnsAClassThroughStorageAfterThis)
{
    Route(member::ColorSetIndices, probe_result_after_this);
    Route(member::CurrentDinoName, probe_result_after_this);
    APrimalDinoCharacter dino;
    APlayerController controller;

    AnswerString(WTEXT("12,0,7"));
    EXPECT_EQ(Call(member::ColorSetIndices, &dino).View(), WTEXT("12,0,7"));
    EXPECT_TRUE(Saw({Pointer("RCX, this", probe_seen.rcx, &dino)}));
    EXPECT_TRUE(IsResultStorage(probe_seen.rdx, alignof(FString)));

    AnswerString(WTEXT("Raptor"));
    EXPECT_EQ(Call(member::CurrentDinoName, &dino, &controller).View(), WTEXT("Raptor"));
    EXPECT_TRUE(Saw({Pointer("RCX, this", probe_seen.rcx, &dino), Pointer("R8, the controller", probe_seen.r8, &controller)}));
    EXPECT_TRUE(IsResultStorage(probe_seen.rdx, alignof(FString)));
}

// The checks a static function returning a class through storage passes: the
// storage in RCX, its argument in RDX.
::testing::AssertionResult SawStorageFirst(const void* argument)
{
    const ::testing::AssertionResult storage = IsResultStorage(probe_seen.rcx, 8);
    if (!storage)
        return storage;
    return Saw({Pointer("RDX, the argument", probe_seen.rdx, argument)});
}

TEST_F(MemberAccessWindows, StaticReturnsAClassWithConstructorsThroughStoragePassedFirst)
{
    Route(member::StringReferenceToClass, probe_result_first);
    UClass raptorClass;
    probe_answer.words[0] = Word(&raptorClass);
    probe_answer.wordCount = 1;
    probe_answer.rax = Word(&probe_answer);  // not where the result is
    FString reference(WTEXT("Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'"));

    EXPECT_EQ(CallStatic(member::StringReferenceToClass, reference).uClass, &raptorClass);
    EXPECT_TRUE(SawStorageFirst(&reference));
}

TEST_F(MemberAccessWindows, StaticReturnsPointersAndPlainEightByteAggregatesInRax)
{
    Route(member::GetClassDefaultObject, probe_result_in_registers);
    Route(member::DinoStaticClass, probe_result_in_registers);
    UClass dinoClass;
    UObject defaults;
    probe_answer.xmm0 = 0x5151515151515151;  // not where the result is

    probe_answer.rax = Word(&defaults);
    EXPECT_EQ(CallStatic(member::GetClassDefaultObject, &dinoClass), &defaults);
    EXPECT_TRUE(Saw({Pointer("RCX, the class", probe_seen.rcx, &dinoClass)}));

    probe_answer.rax = Word(&dinoClass);
    EXPECT_EQ(CallStatic(member::DinoStaticClass), &dinoClass);

    static constexpr Static<PlainPair(int)> kPair{"UObject.PlainPair(int)"};
    Route(kPair, probe_result_in_registers);
    probe_answer.rax = 0x0000000700000005;
    const PlainPair pair = CallStatic(kPair, 42);
    EXPECT_EQ(pair.first, 5);
    EXPECT_EQ(pair.second, 7);
    EXPECT_TRUE(Saw({Int("RCX, the int", probe_seen.rcx, 42)}));
}

TEST_F(MemberAccessWindows, FloatsGoInXmmByPositionThenOnTheStackAndComeBackInXmm0)
{
    Route(member::SpawnActor, probe_result_in_registers);
    Route(member::AddItemDurability, probe_result_in_registers);
    Route(member::RecoveryRate, probe_result_in_registers);
    AShooterPlayerController controller;
    AActor actor;
    FString path(WTEXT("Blueprint'/Game/Dinos/Raptor/Raptor_Character_BP.Raptor_Character_BP'"));

    probe_answer.rax = Word(&actor);
    EXPECT_EQ(Call(member::SpawnActor, &controller, path, 1.5f, -2.25f, 3.75f, true), &actor);
    EXPECT_TRUE(Saw({Pointer("RCX, this", probe_seen.rcx, &controller), Pointer("RDX, the path", probe_seen.rdx, &path),
                     Float("XMM2, the first float", probe_seen.xmm[2], 1.5f),
                     Float("XMM3, the second float", probe_seen.xmm[3], -2.25f),
                     Float("argument 5, the third float", Argument(5), 3.75f),
                     Bool("argument 6, the bool", Argument(6), true)}));

    UPrimalItem item;
    Call(member::AddItemDurability, &item, 12.5f);
    EXPECT_TRUE(Saw({Pointer("RCX, this", probe_seen.rcx, &item), Float("XMM1, the float", probe_seen.xmm[1], 12.5f)}));

    UPrimalCharacterStatusComponent status;
    probe_answer.rax = Bits(-1.0f);  // not where the result is
    probe_answer.xmm0 = Bits(0.625f) | 0xDEADBEEF00000000;
    EXPECT_EQ(Call(member::RecoveryRate, &status, EPrimalCharacterStatusValue::Food), 0.625f);
    EXPECT_TRUE(Saw({Pointer("RCX, this", probe_seen.rcx, &status),
                     Int("RDX, the status value", probe_seen.rdx, EPrimalCharacterStatusValue::Food)}));
}

// The places TameDino's arguments go: two pointers and two values in the four
// registers, the last three flags on the stack.
::testing::AssertionResult SawTameDino(const void* dino, const void* controller)
{
    return Saw({Pointer("RCX, this", probe_seen.rcx, dino), Pointer("RDX, the tamer", probe_seen.rdx, controller),
                Bool("R8, the first flag", probe_seen.r8, true), Int("R9, the team", probe_seen.r9, 50001),
                Bool("argument 5", Argument(5), false), Bool("argument 6", Argument(6), true),
                Bool("argument 7", Argument(7), false)});
}

TEST_F(MemberAccessWindows, BoolsAndIntsGoInTheirRegisterOrSlotAndABoolComesBackInAl)
{
    Route(member::TameDino, probe_result_in_registers);
    Route(member::IsChildOf, probe_result_in_registers);
    APrimalDinoCharacter dino;
    AShooterPlayerController controller;

    Call(member::TameDino, &dino, &controller, true, 50001, false, true, false);
    EXPECT_TRUE(SawTameDino(&dino, &controller));

    UClass child, parent;
    probe_answer.rax = 0xFFFFFFFFFFFFFF00;  // false: the bits above AL are undefined
    EXPECT_FALSE(Call(member::IsChildOf, &child, &parent));
    probe_answer.rax = 0x0000000000000101;
    EXPECT_TRUE(Call(member::IsChildOf, &child, &parent));
    EXPECT_TRUE(Saw({Pointer("RCX, this", probe_seen.rcx, &child), Pointer("RDX, the parent", probe_seen.rdx, &parent)}));
}

TEST_F(MemberAccessWindows, EightByteClassesGoInARegisterAsIntegers)
{
    Route(member::FindFunctionChecked, probe_result_in_registers);
    Route(member::MulticastProperty, probe_result_in_registers);
    UObject object;
    UFunction function;
    const FName name{0x01020304, 5};
    const std::uint64_t nameBits = std::bit_cast<std::uint64_t>(name);

    probe_answer.rax = Word(&function);
    EXPECT_EQ(Call(member::FindFunctionChecked, &object, name), &function);
    EXPECT_TRUE(Saw({Pointer("RCX, this", probe_seen.rcx, &object), {"RDX, the name", probe_seen.rdx, nameBits}}));

    AActor actor;
    Call(member::MulticastProperty, &actor, name, true);
    EXPECT_TRUE(Saw({Pointer("RCX, this", probe_seen.rcx, &actor), {"RDX, the name", probe_seen.rdx, nameBits},
                     Bool("R8, the flag", probe_seen.r8, true)}));
}

TEST_F(MemberAccessWindows, TwentyFourByteStructsGoAsPointersToAlignedCopies)
{
    Route(member::CreateCloneFertilizedEgg, probe_copies_in_rdx_r8);
    APrimalDinoCharacter dino;
    ADroppedItem egg;
    UClass eggClass;
    probe_answer.rax = Word(&egg);
    const UE::Math::TVector<double> location{1.5, -2.25, 300.0};
    const UE::Math::TRotator<double> rotation{10.0, 20.0, -30.0};

    EXPECT_EQ(Call(member::CreateCloneFertilizedEgg, &dino, location, rotation, &eggClass, 3, true), &egg);
    EXPECT_TRUE(Saw({Pointer("RCX, this", probe_seen.rcx, &dino), Pointer("R9, the class", probe_seen.r9, &eggClass),
                     Int("argument 5, the int", Argument(5), 3), Bool("argument 6, the bool", Argument(6), true)}));
    EXPECT_EQ(probe_seen.rdx % 16, 0u) << "the vector's copy is 16-byte aligned";
    EXPECT_EQ(probe_seen.r8 % 16, 0u) << "the rotator's copy is 16-byte aligned";
    EXPECT_EQ(std::memcmp(probe_seen.copies[0], &location, 24), 0) << "RDX points at a copy of the vector";
    EXPECT_EQ(std::memcmp(probe_seen.copies[1], &rotation, 24), 0) << "R8 points at a copy of the rotator";
}

TEST_F(MemberAccessWindows, FifteenArgumentsFillFourRegistersThenElevenStackSlots)
{
    Route(member::AddNewItem, probe_result_in_registers);
    UClass itemClass, secondClass;
    UPrimalInventoryComponent inventory;
    UPrimalItem item;
    probe_answer.rax = Word(&item);

    EXPECT_EQ(CallStatic(member::AddNewItem, &itemClass, &inventory, true, false, 0.25f, true, 7, false, 100.5f, true,
                         &secondClass, -1.0f, false, true, false),
              &item);
    EXPECT_TRUE(Saw({Pointer("RCX, the class", probe_seen.rcx, &itemClass),
                     Pointer("RDX, the inventory", probe_seen.rdx, &inventory), Bool("R8", probe_seen.r8, true),
                     Bool("R9", probe_seen.r9, false), Float("argument 5", Argument(5), 0.25f),
                     Bool("argument 6", Argument(6), true), Int("argument 7", Argument(7), 7),
                     Bool("argument 8", Argument(8), false), Float("argument 9", Argument(9), 100.5f),
                     Bool("argument 10", Argument(10), true), Pointer("argument 11", Argument(11), &secondClass),
                     Float("argument 12", Argument(12), -1.0f), Bool("argument 13", Argument(13), false),
                     Bool("argument 14", Argument(14), true), Bool("argument 15", Argument(15), false)}));
}

// Negative controls: calls made another way than the game's are seen to fail.
TEST_F(MemberAccessWindows, ACallMadeAnotherWayFailsTheChecks)
{
    // A class the game returns through storage, declared as a plain aggregate the
    // way the sdk's own FName reads: the call reads RAX, which holds the storage's
    // address, and its argument lands in RCX instead of RDX.
    static constexpr Static<MisdeclaredName(void*)> kMisdeclared{"UObject.MisdeclaredName(void*)"};
    Route(kMisdeclared, probe_result_first);
    probe_answer.words[0] = 0x0000000700000005;
    probe_answer.wordCount = 1;
    std::uint64_t scratch = 0;
    const MisdeclaredName name = CallStatic(kMisdeclared, &scratch);
    EXPECT_FALSE(SawStorageFirst(&scratch));
    EXPECT_FALSE(name.index == 5 && name.number == 7);

    // The game function reached by name and called with GCC's convention for
    // Linux, which passes TameDino's arguments in RDI, RSI, RDX, RCX, R8, R9 and
    // then the stack, with no home slots.
    Route(member::TameDino, probe_result_in_registers);
    using LinuxTameDino = void(__attribute__((sysv_abi))*)(void*, void*, bool, int, bool, bool, bool);
    APrimalDinoCharacter dino;
    AShooterPlayerController controller;
    reinterpret_cast<LinuxTameDino>(GetAddress(member::TameDino.name))(&dino, &controller, true, 50001, false, true,
                                                                        false);
    EXPECT_FALSE(SawTameDino(&dino, &controller));
}

}  // namespace
}  // namespace kestrova
