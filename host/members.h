// Every game member the plugin uses: its full name and the C++ type it is used
// with, in one place. plugin/member_census.cpp lists them again with what needs
// each, for the check at load.
//
// A game update may take any of them away; a use of one the game lacks raises
// MissingMember. Most are required: the command that uses one fails, naming it.
// Optional members are those only the stand-in game is known to have; the plugin
// uses them only for details and does without them:
//   RCONClientConnection.PeerAddress: the RCON client's address in a ledger line,
//   which then records {"rcon": null}. Nothing says the real game's connection
//   has it.
#pragma once

#include "host/member_access.h"

namespace kestrova::member {

using Dino = APrimalDinoCharacter;
using Controller = AShooterPlayerController;
using Status = UPrimalCharacterStatusComponent;

inline constexpr int kStatusValues = EPrimalCharacterStatusValue::MAX;
inline constexpr int kItemStats = EPrimalItemStat::MAX;

// Names, script functions and replies.
inline constexpr Method<FName, void(const char*, EFindName)> MakeName{"FName.FName(char*,EFindName)"};
inline constexpr Method<UObject, UFunction*(FName)> FindFunctionChecked{"UObject.FindFunctionChecked(FName)"};
inline constexpr Method<AActor, void(UFunction*, void*)> ActorProcessEvent{"AActor.ProcessEvent(UFunction*,void*)"};
inline constexpr Method<UObject, void(UFunction*, void*)> ObjectProcessEvent{"UObject.ProcessEvent(UFunction*,void*)"};
// Optional (above).
inline constexpr Field<RCONClientConnection, FString> PeerAddress{"RCONClientConnection.PeerAddress"};
inline constexpr Method<RCONClientConnection, void(int, int, FString&)> SendMessage{
    "RCONClientConnection.SendMessage(int,int,FString&)"};

// Players.
inline constexpr Method<Controller, FString()> PlayerCharacterName{"AShooterPlayerController.GetPlayerCharacterName()"};
inline constexpr Method<Controller, FString()> UniqueNetId{"AShooterPlayerController.GetUniqueNetIdAsString()"};
inline constexpr Method<Controller, UPrimalInventoryComponent*()> PlayerInventoryComponent{
    "AShooterPlayerController.GetPlayerInventoryComponent()"};
inline constexpr Method<Controller, UPrimalInventoryComponent*()> PlayerInventory{
    "AShooterPlayerController.GetPlayerInventory()"};
inline constexpr Field<AController, AShooterPlayerState*> PlayerState{"AController.PlayerState"};
inline constexpr Field<AActor, int> TargetingTeam{"UPrimalActor.TargetingTeam"};

// Spawning and taming a creature.
inline constexpr Method<Controller, AActor*(FString&, float, float, float, bool)> SpawnActor{
    "AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)"};
inline constexpr Field<UObjectBase, UClass*> ClassPrivate{"UObjectBase.ClassPrivate"};
inline constexpr Method<UStruct, bool(UStruct*)> IsChildOf{"UStruct.IsChildOf(UStruct*)"};
inline constexpr Static<UClass*()> DinoStaticClass{"APrimalDinoCharacter.GetPrivateStaticClass()"};
inline constexpr Field<Dino, int> TamingTeamID{"APrimalDinoCharacter.TamingTeamID"};
inline constexpr Field<Dino, FString> TamerString{"APrimalDinoCharacter.TamerString"};
inline constexpr Method<AShooterPlayerState, void(APrimalDinoCharacter*)> SetTribeTamingDinoSettings{
    "AShooterPlayerState.SetTribeTamingDinoSettings(APrimalDinoCharacter*)"};
inline constexpr Method<Dino, void(AShooterPlayerController*, bool, int, bool, bool, bool)> TameDino{
    "APrimalDinoCharacter.TameDino(AShooterPlayerController*,bool,int,bool,bool,bool)"};
inline constexpr Method<Dino, void()> DoNeuter{"APrimalDinoCharacter.DoNeuter_Implementation()"};
inline constexpr Field<Dino, int> AbsoluteBaseLevel{"APrimalDinoCharacter.AbsoluteBaseLevel"};
inline constexpr Method<Dino, void()> BeginPlay{"APrimalDinoCharacter.BeginPlay()"};
inline constexpr Field<Dino, FString> ImprinterName{"APrimalDinoCharacter.ImprinterName"};
inline constexpr Field<Dino, FString> ImprinterNetId{"APrimalDinoCharacter.ImprinterPlayerUniqueNetId"};
inline constexpr Method<APrimalCharacter, Status*()> CharacterStatusComponent{
    "APrimalCharacter.GetCharacterStatusComponent()"};
inline constexpr Field<APrimalCharacter, Status*> MyCharacterStatusComponent{
    "APrimalCharacter.MyCharacterStatusComponent"};
inline constexpr Field<APrimalCharacter, UPrimalInventoryComponent*> MyInventoryComponent{
    "APrimalCharacter.MyInventoryComponent"};
inline constexpr Method<AActor, void(FName, bool)> MulticastProperty{"UPrimalActor.MulticastProperty(FName,bool)"};
inline constexpr Method<Dino, void(int, int)> ForceUpdateColorSets{
    "APrimalDinoCharacter.ForceUpdateColorSets_Implementation(int,int)"};
inline constexpr Bit<Dino> UsesGender{"APrimalDinoCharacter.bUsesGender"};
inline constexpr Bit<Dino> IsFemale{"APrimalDinoCharacter.bIsFemale"};
inline constexpr Bit<Dino> Neutered{"APrimalDinoCharacter.bNeutered"};
inline constexpr Method<AActor, void()> ForceDestroy{"AActor.ForceDestroy()"};
inline constexpr Method<Dino, void(bool, bool)> DestroyDino{"APrimalDinoCharacter.Destroy(bool,bool)"};

// Status components.
inline constexpr Field<Status, float> DinoImprintingQuality{"UPrimalCharacterStatusComponent.DinoImprintingQuality"};
inline constexpr Method<Status, void()> ServerSyncReplicatedValues{
    "UPrimalCharacterStatusComponent.ServerSyncReplicatedValues()"};
inline constexpr Method<Status, void()> SetAllStatsToMaximum{"UPrimalCharacterStatusComponent.SetAllStatsToMaximum()"};
inline constexpr Field<Status, uint8[kStatusValues]> LevelUpPointsApplied{
    "UPrimalCharacterStatusComponent.NumberOfLevelUpPointsApplied"};
inline constexpr Field<Status, uint8[kStatusValues]> LevelUpPointsAppliedTamed{
    "UPrimalCharacterStatusComponent.NumberOfLevelUpPointsAppliedTamed"};
inline constexpr Field<Status, uint8[kStatusValues]> MutationsAppliedTamed{
    "UPrimalCharacterStatusComponent.NumberOfMutationsAppliedTamed"};
inline constexpr Field<Status, int> BaseCharacterLevel{"UPrimalCharacterStatusComponent.BaseCharacterLevel"};
inline constexpr Field<Status, float[kStatusValues]> CurrentStatusValues{
    "UPrimalCharacterStatusComponent.CurrentStatusValues"};
inline constexpr Field<Status, float[kStatusValues]> MaxStatusValues{"UPrimalCharacterStatusComponent.MaxStatusValues"};
inline constexpr Field<Status, float[kStatusValues]> BaseLevelMaxStatusValues{
    "UPrimalCharacterStatusComponent.BaseLevelMaxStatusValues"};
inline constexpr Method<Status, void()> RescaleAllStats{"UPrimalCharacterStatusComponent.RescaleAllStats()"};
inline constexpr Method<AActor, void(bool, bool, bool)> ForceNetUpdate{"AActor.ForceNetUpdate(bool,bool,bool)"};
inline constexpr Method<Status, void(bool)> CharacterUpdatedInventory{
    "UPrimalCharacterStatusComponent.CharacterUpdatedInventory(bool)"};
inline constexpr Method<Status, void(bool)> UpdateWeightStat{"UPrimalCharacterStatusComponent.UpdateWeightStat(bool)"};
inline constexpr Method<Status, float(EPrimalCharacterStatusValue::Type)> RecoveryRate{
    "UPrimalCharacterStatusComponent.GetStatusValueRecoveryRate(EPrimalCharacterStatusValue::Type)"};

// Items and inventories.
inline constexpr Static<TSubclassOf<UObject>(FString&)> StringReferenceToClass{
    "UVictoryCore.StringReferenceToClass(FString&)"};
inline constexpr Static<UPrimalItem*(TSubclassOf<UPrimalItem>, UPrimalInventoryComponent*, bool, bool, float, bool,
                                     int, bool, float, bool, TSubclassOf<UPrimalItem>, float, bool, bool, bool)>
    AddNewItem{"UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,int,"
               "bool,float,bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool)"};
inline constexpr Static<UClass*()> ItemStaticClass{"UPrimalItem.GetPrivateStaticClass()"};
inline constexpr Field<UPrimalItem, float> ItemDurability{"UPrimalItem.ItemDurability"};
inline constexpr Method<UPrimalItem, void(float)> AddItemDurability{"UPrimalItem.AddItemDurability(float)"};
inline constexpr Method<UPrimalItem, void(FCustomItemData&)> SetCustomItemData{
    "UPrimalItem.SetCustomItemData(FCustomItemData&)"};
inline constexpr Method<UPrimalItem, void(bool, bool)> UpdatedItem{"UPrimalItem.UpdatedItem(bool,bool)"};
inline constexpr Method<UPrimalItem, void(TArray<uint8>&)> GetItemBytes{
    "UPrimalItem.GetItemBytes(TArray<unsignedchar,TSizedDefaultAllocator<32>>&)"};
inline constexpr Field<UPrimalItem, uint8> ItemQualityIndex{"UPrimalItem.ItemQualityIndex"};
inline constexpr Field<UPrimalItem, FItemStatInfo[kItemStats]> ItemStatInfos{"UPrimalItem.ItemStatInfos"};
inline constexpr Field<UPrimalItem, std::uint16_t[kItemStats]> ItemStatValues{"UPrimalItem.ItemStatValues"};
inline constexpr Method<UPrimalItem, float(EPrimalItemStat::Type)> GetItemStatModifier{
    "UPrimalItem.GetItemStatModifier(EPrimalItemStat::Type)"};
inline constexpr Method<UPrimalInventoryComponent, UPrimalItem*(UPrimalItem*)> AddItemObject{
    "UPrimalInventoryComponent.AddItemObject(UPrimalItem*)"};

// The creature a cryopod stores.
inline constexpr Method<Dino, void(FARKDinoData&)> GetDinoData{"APrimalDinoCharacter.GetDinoData(FARKDinoData&)"};
inline constexpr Method<Dino, TArray<FName>()> ColorSetNames{"APrimalDinoCharacter.GetColorSetNamesAsArray()"};
inline constexpr Method<Dino, FString()> ColorSetIndices{"APrimalDinoCharacter.GetColorSetInidcesAsString()"};
inline constexpr Method<Dino, FString(APlayerController*)> CurrentDinoName{
    "APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)"};
inline constexpr Method<AActor, UWorld*()> GetWorld{"AActor.GetWorld()"};
inline constexpr Field<UWorld, double> TimeSeconds{"UWorld.TimeSeconds"};
inline constexpr Field<Dino, double> BabyNextCuddleTime{"APrimalDinoCharacter.BabyNextCuddleTime"};
inline constexpr Field<Dino, double> NextAllowedMatingTime{"APrimalDinoCharacter.NextAllowedMatingTime"};
inline constexpr Field<Dino, int> RandomMutationsMale{"APrimalDinoCharacter.RandomMutationsMale"};
inline constexpr Field<Dino, int> RandomMutationsFemale{"APrimalDinoCharacter.RandomMutationsFemale"};
inline constexpr Field<Dino, uint8> TamedAggressionLevel{"APrimalDinoCharacter.TamedAggressionLevel"};

// Fertilized eggs.
inline constexpr Field<Dino, TArray<TSubclassOf<UPrimalItem>>> FertilizedEggItemsToSpawn{
    "APrimalDinoCharacter.FertilizedEggItemsToSpawn"};
inline constexpr Static<UObject*(UClass*)> GetClassDefaultObject{"UVictoryCore.GetClassDefaultObject(UClass*)"};
inline constexpr Method<UObjectBaseUtility, void(UObject*, FString&)> GetPathName{
    "UObjectBaseUtility.GetPathName(UObject*,FString&)"};
inline constexpr Method<UClass, UObject*(bool)> GetDefaultObject{"UClass.GetDefaultObject(bool)"};
inline constexpr Method<Dino, ADroppedItem*(UE::Math::TVector<double>, UE::Math::TRotator<double>,
                                            TSubclassOf<ADroppedItem>, int, bool)>
    CreateCloneFertilizedEgg{"APrimalDinoCharacter.CreateCloneFertilizedEgg(UE::Math::TVector<double>,"
                             "UE::Math::TRotator<double>,TSubclassOf<ADroppedItem>,int,bool)"};
inline constexpr Field<ADroppedItem, UPrimalItem*> DroppedItemMyItem{"ADroppedItem.MyItem"};

}  // namespace kestrova::member
