#include "dino/cryopod_data.h"

#include <chrono>

#include "host/game.h"
#include "host/members.h"

namespace kestrova {
namespace {

// Status value indices 0 to 10 are stored; index 11 never is.
constexpr int kStoredStats = 11;
constexpr int kStringCount = 15;
constexpr int kFloatCount = 5 * kStoredStats + 2;
constexpr int kMostDoubles = 7;
constexpr int kMostByteArrays = 4;

void AddNames(FCustomItemData& data, APrimalDinoCharacter* creature)
{
    data.Names = Call(member::ColorSetNames, creature);
    data.Names.Reserve(data.Names.Num() + 2);
    data.Names.Add(MakeName("MissionTemporary", FNAME_Add));
    data.Names.Add(MakeName("None", FNAME_Find));
}

// Status value indices 0 to 10, each `value(i)`, or zeros without a status component.
template <typename Value>
void AddStats(FCustomItemData& data, bool hasStatus, Value value)
{
    for (int i = 0; i < kStoredStats; ++i)
        data.Floats.Add(hasStatus ? static_cast<float>(value(i)) : 0.0f);
}

// An array field of the status component, read in one access.
template <typename T>
const T* StatArray(UPrimalCharacterStatusComponent* status,
                   const Field<UPrimalCharacterStatusComponent, T[member::kStatusValues]>& field)
{
    return status != nullptr ? FieldOf(field, status) : nullptr;
}

void AddFloats(FCustomItemData& data, APrimalDinoCharacter* creature)
{
    // A creature without a status component stores zeros for its stats rather than
    // taking the server down.
    UPrimalCharacterStatusComponent* status = StatusComponentOf(creature);
    const bool hasStatus = status != nullptr;
    const float* current = StatArray(status, member::CurrentStatusValues);
    AddStats(data, hasStatus, [&](int i) { return current[i]; });
    const float* max = StatArray(status, member::MaxStatusValues);
    AddStats(data, hasStatus, [&](int i) { return max[i]; });
    AddStats(data, hasStatus, [&](int i) {
        return Call(member::RecoveryRate, status, static_cast<EPrimalCharacterStatusValue::Type>(i));
    });
    data.Floats.Add(ReadBit(member::IsFemale, creature) ? 1.0f : 0.0f);

    const int firstPointEntry = data.Floats.Num();
    const uint8* points = StatArray(status, member::LevelUpPointsApplied);
    const uint8* mutations = StatArray(status, member::MutationsAppliedTamed);
    AddStats(data, hasStatus, [&](int i) { return points[i] + mutations[i]; });
    const uint8* tamedPoints = StatArray(status, member::LevelUpPointsAppliedTamed);
    AddStats(data, hasStatus, [&](int i) { return tamedPoints[i]; });
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

// The creature's own data is released after the record is filled, so its texts
// and bytes move into the record rather than being copied.
void AddStrings(FCustomItemData& data, APrimalDinoCharacter* creature, FARKDinoData& dinoData)
{
    data.Strings.Add(std::move(dinoData.Text1));
    data.Strings.Add(std::move(dinoData.Text2));
    data.Strings.Add(Call(member::ColorSetIndices, creature));
    data.Strings.Add(FString(ReadBit(member::Neutered, creature) ? "NEUTERED" : ""));
    data.Strings.Add(FString(SexText(creature)));
    for (const char* fixed : {"", "0", "", "", "", "0", "0", "0", ""})
        data.Strings.Add(FString(fixed));
    data.Strings.Add(Call(member::CurrentDinoName, creature, nullptr));
}

void AddByteArrays(FCustomItemData& data, APrimalDinoCharacter* creature, UPrimalItem* inventoryItem,
                   FARKDinoData& dinoData)
{
    data.ByteArrays.Add(std::move(dinoData.CreatureBytes));
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
    // Every list's length is known: each is allocated once.
    data.Strings.Reserve(kStringCount);
    data.Floats.Reserve(kFloatCount);
    data.Doubles.Reserve(kMostDoubles);
    data.Classes.Reserve(1);
    data.ByteArrays.Reserve(kMostByteArrays);
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
