// Full names of the game members the plugin calls, in one place.
#pragma once

namespace kestrova::member {

inline constexpr char SpawnActor[] = "AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)";
inline constexpr char ClassPrivate[] = "UObjectBase.ClassPrivate";
inline constexpr char IsChildOf[] = "UStruct.IsChildOf(UStruct*)";
inline constexpr char DinoStaticClass[] = "APrimalDinoCharacter.GetPrivateStaticClass()";
inline constexpr char TamingTeamID[] = "APrimalDinoCharacter.TamingTeamID";
inline constexpr char TargetingTeam[] = "UPrimalActor.TargetingTeam";
inline constexpr char TamerString[] = "APrimalDinoCharacter.TamerString";
inline constexpr char PlayerCharacterName[] = "AShooterPlayerController.GetPlayerCharacterName()";
inline constexpr char UniqueNetId[] = "AShooterPlayerController.GetUniqueNetIdAsString()";
inline constexpr char PlayerState[] = "AController.PlayerState";
inline constexpr char SetTribeTamingDinoSettings[] = "AShooterPlayerState.SetTribeTamingDinoSettings(APrimalDinoCharacter*)";
inline constexpr char TameDino[] = "APrimalDinoCharacter.TameDino(AShooterPlayerController*,bool,int,bool,bool,bool)";
inline constexpr char DoNeuter[] = "APrimalDinoCharacter.DoNeuter_Implementation()";
inline constexpr char AbsoluteBaseLevel[] = "APrimalDinoCharacter.AbsoluteBaseLevel";
inline constexpr char BeginPlay[] = "APrimalDinoCharacter.BeginPlay()";
inline constexpr char ImprinterName[] = "APrimalDinoCharacter.ImprinterName";
inline constexpr char ImprinterNetId[] = "APrimalDinoCharacter.ImprinterPlayerUniqueNetId";
inline constexpr char CharacterStatusComponent[] = "APrimalCharacter.GetCharacterStatusComponent()";
inline constexpr char MyCharacterStatusComponent[] = "APrimalCharacter.MyCharacterStatusComponent";
inline constexpr char DinoImprintingQuality[] = "UPrimalCharacterStatusComponent.DinoImprintingQuality";
inline constexpr char MulticastProperty[] = "UPrimalActor.MulticastProperty(FName,bool)";
inline constexpr char ServerSyncReplicatedValues[] = "UPrimalCharacterStatusComponent.ServerSyncReplicatedValues()";
inline constexpr char SetAllStatsToMaximum[] = "UPrimalCharacterStatusComponent.SetAllStatsToMaximum()";
inline constexpr char ForceUpdateColorSets[] = "APrimalDinoCharacter.ForceUpdateColorSets_Implementation(int,int)";
inline constexpr char UsesGender[] = "APrimalDinoCharacter.bUsesGender";
inline constexpr char IsFemale[] = "APrimalDinoCharacter.bIsFemale";
inline constexpr char Neutered[] = "APrimalDinoCharacter.bNeutered";
inline constexpr char ForceDestroy[] = "AActor.ForceDestroy()";
inline constexpr char StringReferenceToClass[] = "UVictoryCore.StringReferenceToClass(FString&)";
inline constexpr char AddNewItem[] =
    "UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,int,bool,float,"
    "bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool)";
inline constexpr char MyInventoryComponent[] = "APrimalCharacter.MyInventoryComponent";
inline constexpr char ItemDurability[] = "UPrimalItem.ItemDurability";
inline constexpr char AddItemDurability[] = "UPrimalItem.AddItemDurability(float)";
inline constexpr char SetCustomItemData[] = "UPrimalItem.SetCustomItemData(FCustomItemData&)";
inline constexpr char UpdatedItem[] = "UPrimalItem.UpdatedItem(bool,bool)";
inline constexpr char PlayerInventoryComponent[] = "AShooterPlayerController.GetPlayerInventoryComponent()";
inline constexpr char PlayerInventory[] = "AShooterPlayerController.GetPlayerInventory()";
inline constexpr char AddItemObject[] = "UPrimalInventoryComponent.AddItemObject(UPrimalItem*)";
inline constexpr char DestroyDino[] = "APrimalDinoCharacter.Destroy(bool,bool)";

// Stat and level application.
inline constexpr char LevelUpPointsApplied[] = "UPrimalCharacterStatusComponent.NumberOfLevelUpPointsApplied";
inline constexpr char BaseCharacterLevel[] = "UPrimalCharacterStatusComponent.BaseCharacterLevel";
inline constexpr char MaxStatusValues[] = "UPrimalCharacterStatusComponent.MaxStatusValues";
inline constexpr char BaseLevelMaxStatusValues[] = "UPrimalCharacterStatusComponent.BaseLevelMaxStatusValues";
inline constexpr char RescaleAllStats[] = "UPrimalCharacterStatusComponent.RescaleAllStats()";
inline constexpr char ForceNetUpdate[] = "AActor.ForceNetUpdate(bool,bool,bool)";
inline constexpr char ActorProcessEvent[] = "AActor.ProcessEvent(UFunction*,void*)";
inline constexpr char ObjectProcessEvent[] = "UObject.ProcessEvent(UFunction*,void*)";
inline constexpr char CharacterUpdatedInventory[] = "UPrimalCharacterStatusComponent.CharacterUpdatedInventory(bool)";
inline constexpr char UpdateWeightStat[] = "UPrimalCharacterStatusComponent.UpdateWeightStat(bool)";

// Cryopod packaging.
inline constexpr char GetDinoData[] = "APrimalDinoCharacter.GetDinoData(FARKDinoData&)";
inline constexpr char ColorSetNames[] = "APrimalDinoCharacter.GetColorSetNamesAsArray()";
inline constexpr char ColorSetIndices[] = "APrimalDinoCharacter.GetColorSetInidcesAsString()";
inline constexpr char CurrentDinoName[] = "APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)";
inline constexpr char CurrentStatusValues[] = "UPrimalCharacterStatusComponent.CurrentStatusValues";
inline constexpr char RecoveryRate[] =
    "UPrimalCharacterStatusComponent.GetStatusValueRecoveryRate(EPrimalCharacterStatusValue::Type)";
inline constexpr char MutationsAppliedTamed[] = "UPrimalCharacterStatusComponent.NumberOfMutationsAppliedTamed";
inline constexpr char LevelUpPointsAppliedTamed[] = "UPrimalCharacterStatusComponent.NumberOfLevelUpPointsAppliedTamed";
inline constexpr char GetWorld[] = "AActor.GetWorld()";
inline constexpr char TimeSeconds[] = "UWorld.TimeSeconds";
inline constexpr char BabyNextCuddleTime[] = "APrimalDinoCharacter.BabyNextCuddleTime";
inline constexpr char NextAllowedMatingTime[] = "APrimalDinoCharacter.NextAllowedMatingTime";
inline constexpr char RandomMutationsMale[] = "APrimalDinoCharacter.RandomMutationsMale";
inline constexpr char RandomMutationsFemale[] = "APrimalDinoCharacter.RandomMutationsFemale";
inline constexpr char GetItemBytes[] = "UPrimalItem.GetItemBytes(TArray<unsignedchar,TSizedDefaultAllocator<32>>&)";
inline constexpr char TamedAggressionLevel[] = "APrimalDinoCharacter.TamedAggressionLevel";

// Items.
inline constexpr char ItemQualityIndex[] = "UPrimalItem.ItemQualityIndex";
inline constexpr char ItemStatInfos[] = "UPrimalItem.ItemStatInfos";
inline constexpr char ItemStatValues[] = "UPrimalItem.ItemStatValues";
inline constexpr char GetItemStatModifier[] = "UPrimalItem.GetItemStatModifier(EPrimalItemStat::Type)";

// Fertilized eggs.
inline constexpr char FertilizedEggItemsToSpawn[] = "APrimalDinoCharacter.FertilizedEggItemsToSpawn";
inline constexpr char GetClassDefaultObject[] = "UVictoryCore.GetClassDefaultObject(UClass*)";
inline constexpr char GetPathName[] = "UObjectBaseUtility.GetPathName(UObject*,FString&)";
inline constexpr char GetDefaultObject[] = "UClass.GetDefaultObject(bool)";
inline constexpr char CreateCloneFertilizedEgg[] =
    "APrimalDinoCharacter.CreateCloneFertilizedEgg(UE::Math::TVector<double>,UE::Math::TRotator<double>,"
    "TSubclassOf<ADroppedItem>,int,bool)";
inline constexpr char DroppedItemMyItem[] = "ADroppedItem.MyItem";

}  // namespace kestrova::member
