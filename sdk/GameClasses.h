// The game's classes as the plugin sees them: empty shells that carry only their
// place in the class hierarchy, so a pointer to a creature passes where an actor is
// expected. Fields and functions are reached only by name (Resolve.h).
#pragma once

#include "GameConvention.h"

class UObjectBase {};
class UObjectBaseUtility : public UObjectBase {};
class UObject : public UObjectBaseUtility {};
class UField : public UObject {};
class UStruct : public UField {};
class UClass : public UStruct {};
class UFunction : public UStruct {};
class UWorld : public UObject {};
class UVictoryCore : public UObject {};

class AActor : public UObject {};
class AController : public AActor {};
class APlayerController : public AController {};
class AShooterPlayerController : public APlayerController {};
class APlayerState : public AActor {};
class AShooterPlayerState : public APlayerState {};
class APrimalCharacter : public AActor {};
class APrimalDinoCharacter : public APrimalCharacter {};
class ADroppedItem : public AActor {};

class UActorComponent : public UObject {};
class UPrimalInventoryComponent : public UActorComponent {};
class UPrimalCharacterStatusComponent : public UActorComponent {};
class UPrimalItem : public UObject {};

class RCONClientConnection {};

// A class reference as the game passes it: one pointer. It has constructors, so
// the game's compiler never returns it in a register.
template <typename T>
struct TSubclassOf {
    TSubclassOf() = default;
    TSubclassOf(UClass* cls) : uClass(cls) {}

    UClass* uClass = nullptr;
};

template <typename T>
struct GameClass<TSubclassOf<T>> {
    static constexpr GameClassDefinition kDefinition{.userDefinedConstructor = true, .trivialCopyAndDestruction = true};
};

static_assert(sizeof(TSubclassOf<UObject>) == 8, "a class reference is one pointer");
