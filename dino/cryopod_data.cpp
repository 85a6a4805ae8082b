#include "dino/cryopod_data.h"

#include <chrono>

#include "host/game.h"
#include "host/members.h"

namespace kestrova {
namespace {

// Status value indices 0 to 10 are stored; index 11 never is.
constexpr int kStoredStats = 11;

void AddNames(FCustomItemData& data, APrimalDinoCharacter* creature)
{
    data.Names = Call(member::ColorSetNames, creature);
    data.Names.Add(MakeName("MissionTemporary", FNAME_Add));
    data.Names.Add(MakeName("None", FNAME_Find));
}

// Status value indices 0 to 10 of `values`, or zeros without a status component.
template <typename Read>
void AddStats(FCustomItemData& data, UPrimalCharacterStatusComponent* status, Read read)
{
    for (int i = 0; i < kStoredStats; ++i)
        data.Floats.Add(status != nullptr ? static_cast<float>(read(status, i)) : 0.0f);
}

void AddFloats(FCustomItemData& data, APrimalDinoCharacter* creature)
{
    // A creature without a status component stores zeros for its stats rather than
    // taking the server down.
    UPrimalCharacterStatusComponent* status = StatusComponentOf(creature);
    AddStats(data, status, [](auto* s, int i) { return FieldOf(member::CurrentStatusValues, s)[i]; });
    AddStats(data, status, [](auto* s, int i) { return FieldOf(member::MaxStatusValues, s)[i]; });
    AddStats(data, status, [](auto* s, int i) {
        return Call(member::RecoveryRate, s, static_cast<EPrimalCharacterStatusValue::Type>(i));
    });
    data.Floats.Add(ReadBit(member::IsFemale, creature) ? 1.0f : 0.0f);

    const int firstPointEntry = data.Floats.Num();
    AddStats(data, status, [](auto* s, int i) {
        return FieldOf(member::LevelUpPointsApplied, s)[i] + FieldOf(member::MutationsAppliedTamed, s)[i];
    });
    AddStats(data, status, [](auto* s, int i) { return FieldOf(member::LevelUpPointsAppliedTamed, s)[i]; });
    data.Floats.Add(static_cast<float>(firstPointEntry));
}

double GameTimeNow()
{
    AActor* serverActor = AsaApi::GetApiUtils().GetServerActor();
    UWorld* world = serverActor != nullptr ? Call(member::GetWorld, serverActor) : nullptr;
    return world != nullptr ? FieldOf(member::TimeSeconds, world) : 0.0;
}

double Mutations(APrimalDinoCharacter* creature, const Field<APrimalDinoCharacter, int>& field)
{
    return static_cast<double>(static_cast<float>(FieldOf(field, creature)));
}

void AddDoubles(FCustomItemData& data, APrimalDinoCharacter* creature)
{
    const double now = GameTimeNow();
    data.Doubles.Add(now);
    data.Doubles.Add(FieldOf(member::BabyNextCuddleTime, creature) - now);
    data.Doubles.Add(FieldOf(member::NextAllowedMatingTime, creature));
    data.Doubles.Add(Mutations(creature, member::RandomMutationsMale));
    data.Doubles.Add(Mutations(creature, member::RandomMutationsFemale));
    if (auto* status = FieldOf(member::MyCharacterStatusComponent, creature))
        data.Doubles.Add(FieldOf(member::DinoImprintingQuality, status));
    const auto wallClock = std::chrono::system_clock::now().time_since_epoch();
    data.Doubles.Add(static_cast<double>(std::chrono::duration_cast<std::chrono::seconds>(wallClock).count()));
}

const char* SexText(APrimalDinoCharacter* creature)
{
    if (!ReadBit(member::UsesGender, creature))
        return "";
    return ReadBit(member::IsFemale, creature) ? "FEMALE" : "MALE";
}

void AddStrings(FCustomItemData& data, APrimalDinoCharacter* creature, const FARKDinoData& dinoData)
{
    data.Strings.Add(dinoData.Text1);
    data.Strings.Add(dinoData.Text2);
    data.Strings.Add(Call(member::ColorSetIndices, creature));
    data.Strings.Add(FString(ReadBit(member::Neutered, creature) ? "NEUTERED" : ""));
    data.Strings.Add(FString(SexText(creature)));
    for (const char* fixed : {"", "0", "", "", "", "0", "0", "0", ""})
        data.Strings.Add(FString(fixed));
    data.Strings.Add(Call(member::CurrentDinoName, creature, nullptr));
}

void AddByteArrays(FCustomItemData& data, APrimalDinoCharacter* creature, UPrimalItem* inventoryItem,
                   const FARKDinoData& dinoData)
{
    data.ByteArrays.Add(dinoData.CreatureBytes);
    if (inventoryItem != nullptr) {
        TArray<uint8> itemBytes;
        Call(member::GetItemBytes, inventoryItem, itemBytes);
        data.ByteArrays.Add(std::move(itemBytes));
    }
    data.ByteArrays.Add(TArray<uint8>());
    TArray<uint8> aggression;
    aggression.Add(FieldOf(member::TamedAggressionLevel, creature));
    data.ByteArrays.Add(std::move(aggression));
}

}  // namespace

FCustomItemData& BuildCryopodData(FCustomItemData& data, APrimalDinoCharacter* creature, UPrimalItem* inventoryItem)
{
    data = FCustomItemData();
    FARKDinoData dinoData;
    Call(member::GetDinoData, creature, dinoData);

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
