#include "dino/cryopod_data.h"

#include <chrono>

#include "host/game.h"
#include "host/members.h"

namespace kestrova {
namespace {

// Status value indices 0 to 10 are stored; index 11 never is.
constexpr int kStoredStats = 11;

UPrimalCharacterStatusComponent* StatusComponent(APrimalDinoCharacter* creature)
{
    return Call<UPrimalCharacterStatusComponent*>(member::CharacterStatusComponent, creature);
}

void AddNames(FCustomItemData& data, APrimalDinoCharacter* creature)
{
    const TArray<FName> colorNames = Call<TArray<FName>>(member::ColorSetNames, creature);
    data.Names = colorNames;
    data.Names.Add(MakeName("MissionTemporary", FNAME_Add));
    data.Names.Add(MakeName("None", FNAME_Find));
}

void AddStatusArray(FCustomItemData& data, UPrimalCharacterStatusComponent* status, const char* field)
{
    const float* values = status != nullptr ? &Field<float>(status, field) : nullptr;
    for (int i = 0; i < kStoredStats; ++i)
        data.Floats.Add(values != nullptr ? values[i] : 0.0f);
}

void AddFloats(FCustomItemData& data, APrimalDinoCharacter* creature)
{
    // A creature without a status component stores zeros for its stats rather than
    // taking the server down.
    UPrimalCharacterStatusComponent* status = StatusComponent(creature);
    AddStatusArray(data, status, member::CurrentStatusValues);
    AddStatusArray(data, status, member::MaxStatusValues);
    for (int i = 0; i < kStoredStats; ++i) {
        data.Floats.Add(status == nullptr ? 0.0f
                                          : Call<float, EPrimalCharacterStatusValue::Type>(
                                                member::RecoveryRate, status,
                                                static_cast<EPrimalCharacterStatusValue::Type>(i)));
    }
    data.Floats.Add(ReadBit(creature, member::IsFemale) ? 1.0f : 0.0f);

    const int firstPointEntry = data.Floats.Num();
    const uint8* points = status != nullptr ? &Field<uint8>(status, member::LevelUpPointsApplied) : nullptr;
    const uint8* mutations = status != nullptr ? &Field<uint8>(status, member::MutationsAppliedTamed) : nullptr;
    for (int i = 0; i < kStoredStats; ++i)
        data.Floats.Add(points != nullptr ? static_cast<float>(points[i] + mutations[i]) : 0.0f);
    const uint8* tamedPoints = status != nullptr ? &Field<uint8>(status, member::LevelUpPointsAppliedTamed) : nullptr;
    for (int i = 0; i < kStoredStats; ++i)
        data.Floats.Add(tamedPoints != nullptr ? static_cast<float>(tamedPoints[i]) : 0.0f);
    data.Floats.Add(static_cast<float>(firstPointEntry));
}

double GameTimeNow()
{
    AActor* serverActor = AsaApi::GetApiUtils().GetServerActor();
    UWorld* world = serverActor != nullptr ? Call<UWorld*>(member::GetWorld, serverActor) : nullptr;
    return world != nullptr ? Field<double>(world, member::TimeSeconds) : 0.0;
}

double Mutations(APrimalDinoCharacter* creature, const char* field)
{
    return static_cast<double>(static_cast<float>(Field<std::int32_t>(creature, field)));
}

void AddDoubles(FCustomItemData& data, APrimalDinoCharacter* creature)
{
    const double now = GameTimeNow();
    data.Doubles.Add(now);
    data.Doubles.Add(Field<double>(creature, member::BabyNextCuddleTime) - now);
    data.Doubles.Add(Field<double>(creature, member::NextAllowedMatingTime));
    data.Doubles.Add(Mutations(creature, member::RandomMutationsMale));
    data.Doubles.Add(Mutations(creature, member::RandomMutationsFemale));
    if (auto* status = Field<UPrimalCharacterStatusComponent*>(creature, member::MyCharacterStatusComponent))
        data.Doubles.Add(Field<float>(status, member::DinoImprintingQuality));
    const auto wallClock = std::chrono::system_clock::now().time_since_epoch();
    data.Doubles.Add(static_cast<double>(std::chrono::duration_cast<std::chrono::seconds>(wallClock).count()));
}

const char* SexText(APrimalDinoCharacter* creature)
{
    if (!ReadBit(creature, member::UsesGender))
        return "";
    return ReadBit(creature, member::IsFemale) ? "FEMALE" : "MALE";
}

void AddStrings(FCustomItemData& data, APrimalDinoCharacter* creature, const FARKDinoData& dinoData)
{
    data.Strings.Add(dinoData.Text1);
    data.Strings.Add(dinoData.Text2);
    data.Strings.Add(Call<FString>(member::ColorSetIndices, creature));
    data.Strings.Add(FString(ReadBit(creature, member::Neutered) ? "NEUTERED" : ""));
    data.Strings.Add(FString(SexText(creature)));
    for (const char* fixed : {"", "0", "", "", "", "0", "0", "0", ""})
        data.Strings.Add(FString(fixed));
    data.Strings.Add(Call<FString, APlayerController*>(member::CurrentDinoName, creature, nullptr));
}

void AddByteArrays(FCustomItemData& data, APrimalDinoCharacter* creature, UPrimalItem* inventoryItem,
                   const FARKDinoData& dinoData)
{
    data.ByteArrays.Add(dinoData.CreatureBytes);
    if (inventoryItem != nullptr) {
        TArray<uint8> itemBytes;
        Call<void, TArray<uint8>&>(member::GetItemBytes, inventoryItem, itemBytes);
        data.ByteArrays.Add(std::move(itemBytes));
    }
    data.ByteArrays.Add(TArray<uint8>());
    TArray<uint8> aggression;
    aggression.Add(Field<uint8>(creature, member::TamedAggressionLevel));
    data.ByteArrays.Add(std::move(aggression));
}

}  // namespace

FCustomItemData& BuildCryopodData(FCustomItemData& data, APrimalDinoCharacter* creature, UPrimalItem* inventoryItem)
{
    data = FCustomItemData();
    FARKDinoData dinoData;
    Call<void, FARKDinoData&>(member::GetDinoData, creature, dinoData);

    data.DataName = MakeName("Dino", FNAME_Add);
    AddNames(data, creature);
    AddFloats(data, creature);
    AddDoubles(data, creature);
    AddStrings(data, creature, dinoData);
    data.Classes.Add(dinoData.CreatureClass);
    AddByteArrays(data, creature, inventoryItem, dinoData);
    return data;
}

}  // namespace kestrova
