// The game's classes as the plugin sees them: opaque. Fields and functions are
// reached only by name (Resolve.h).
#pragma once

class UObject;
class UClass;
class UStruct;
class UFunction;
class UWorld;
class AActor;
class APlayerController;
class AShooterPlayerController;
class AShooterPlayerState;
class APrimalCharacter;
class APrimalDinoCharacter;
class ADroppedItem;
class UPrimalItem;
class UPrimalInventoryComponent;
class UPrimalCharacterStatusComponent;
class RCONClientConnection;

// A class reference as the game passes it: one pointer.
template <typename T>
struct TSubclassOf {
    UClass* uClass = nullptr;
};

static_assert(sizeof(TSubclassOf<UObject>) == 8, "a class reference is one pointer");
