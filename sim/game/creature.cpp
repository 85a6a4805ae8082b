#include "creature.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include <fmt/ranges.h>

#include "dropped_item.h"
#include "game.h"
#include "held_blocks.h"
#include "item.h"
#include "names.h"
#include "player.h"
#include "thunk.h"

namespace sim {
namespace {

constexpr char kMagic[4] = {'D', 'I', 'N', 'O'};

void PutWord(std::vector<std::uint8_t>& bytes, std::uint32_t word)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(word >> shift));
}

void PutText(std::vector<std::uint8_t>& bytes, const FString& text)
{
    const std::string utf8 = ToUtf8(text.View());
    PutWord(bytes, static_cast<std::uint32_t>(utf8.size()));
    bytes.insert(bytes.end(), utf8.begin(), utf8.end());
}

std::uint32_t WordAt(const std::uint8_t* bytes)
{
    return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) | (std::uint32_t{bytes[2]} << 16) |
           (std::uint32_t{bytes[3]} << 24);
}

// Reads a text written by PutText at `at`; false when the bytes end first.
bool TakeText(const std::uint8_t* bytes, std::size_t size, std::size_t& at, std::string& text)
{
    if (size - at < 4)
        return false;
    const std::uint32_t length = WordAt(bytes + at);
    at += 4;
    if (size - at < length)
        return false;
    text.assign(reinterpret_cast<const char*>(bytes + at), length);
    at += length;
    return true;
}

// Creatures for creature classes; any other catalogue class gives a plain actor of
// it, which the plugin must tell apart. Null for a reference the game does not know.
AActor* SpawnActor(PlayerController*, FString& reference, float, float, float, bool)
{
    Game& game = Game::Active();
    Class* cls = game.GetCatalogue().Find(ToUtf8(reference.View()));
    if (cls == nullptr)
        return nullptr;
    if (const CreatureEntry* creature = game.GetCatalogue().Creature(cls))
        return Handle<AActor>(&SpawnCreature(game, *creature));
    Actor& actor = game.Make<Actor>(cls, fmt::format("{}#{}", cls->name, game.NextNumber()), &game.GetWorld());
    game.AddActor(actor);
    return Handle<AActor>(&actor);
}

UClass* GetPrivateStaticClass() { return Handle<UClass>(Game::Active().FindClass("APrimalDinoCharacter")); }

void SetTribeTamingDinoSettings(PlayerState*, APrimalDinoCharacter* creature)
{
    As<Dino>(creature, "AShooterPlayerState.SetTribeTamingDinoSettings(APrimalDinoCharacter*)");
}

// A tamed creature fights for the team it was tamed to.
void TameDino(Dino* self, AShooterPlayerController*, bool, int, bool, bool, bool)
{
    self->tamed = true;
    self->TargetingTeam = self->TamingTeamID;
}

void DoNeuter(Dino* self) { self->SetFlag(kNeuteredBit, true); }

// The game's base level follows a level forced before play begins.
void BeginPlay(Dino* self)
{
    self->begunPlay = true;
    if (self->AbsoluteBaseLevel > 0 && self->statusComponent != nullptr)
        self->statusComponent->BaseCharacterLevel = self->AbsoluteBaseLevel;
}
void MulticastProperty(Actor*, FName, bool) {}
void ForceNetUpdate(Actor*, bool, bool, bool) {}

void ForceUpdateColorSets(Dino* self, int region, int color)
{
    if (region < 0 || region >= static_cast<int>(self->colors.size()))
        Fatal(fmt::format("colour region {} out of range", region),
              "APrimalDinoCharacter.ForceUpdateColorSets_Implementation(int,int)");
    self->colors[static_cast<std::size_t>(region)] = color;
}

void ForceDestroy(Actor* self) { DestroyActor(Game::Active(), *self, "AActor.ForceDestroy()"); }
void Destroy(Dino* self, bool, bool) { DestroyActor(Game::Active(), *self, "APrimalDinoCharacter.Destroy(bool,bool)"); }

UPrimalCharacterStatusComponent* GetCharacterStatusComponent(Dino* self)
{
    return Handle<UPrimalCharacterStatusComponent>(self->statusComponent);
}

void GetDinoData(Dino* self, FARKDinoData& data)
{
    const std::vector<std::uint8_t> bytes = EncodeCreature(*self);
    data.CreatureClass = Handle<UClass>(self->ClassPrivate);
    data.CreatureBytes = TArray<uint8>();
    data.CreatureBytes.Append(bytes.data(), static_cast<int32>(bytes.size()));
    data.Text1 = FString(WideView(FromUtf8(self->entry->name)));
    data.Text2 = FString(WideView(FromUtf8(fmt::format("{} - Lvl {}", self->entry->name, self->BaseLevel()))));
}

TArray<FName> GetColorSetNamesAsArray(Dino* self)
{
    TArray<FName> names;
    for (const std::string& name : self->entry->colorSetNames)
        names.Add(FindName(name, FNAME_Add));
    return names;
}

FString GetColorSetIndicesAsString(Dino* self)
{
    return FString(WideView(FromUtf8(fmt::format("{}", fmt::join(self->colors, ",")))));
}

FString GetCurrentDinoName(Dino* self, APlayerController*) { return FString(WideView(FromUtf8(self->entry->name))); }

// A dropped egg of the creature's first egg class, lying in the world.
ADroppedItem* CreateCloneFertilizedEgg(Dino* self, UE::Math::TVector<double>, UE::Math::TRotator<double>,
                                       TSubclassOf<ADroppedItem>, int, bool)
{
    Game& game = Game::Active();
    if (self->FertilizedEggItemsToSpawn.Num() == 0)
        return nullptr;
    const ItemEntry* eggEntry =
        game.GetCatalogue().Item(reinterpret_cast<Class*>(self->FertilizedEggItemsToSpawn[0].uClass));
    if (eggEntry == nullptr)
        return nullptr;
    Item& egg = MakeItem(game, *eggEntry);
    Class* droppedClass = game.FindClass("DroppedItemGeneric_C");
    auto& dropped = game.Make<DroppedItem>(droppedClass, fmt::format("{}#{}", droppedClass->name, game.NextNumber()),
                                           &game.GetWorld());
    dropped.MyItem = &egg;
    egg.droppedAs = &dropped;
    game.AddActor(dropped);
    return Handle<ADroppedItem>(&dropped);
}

// The controller's notification carries an empty string, which the game fills
// for the client; the caller frees it. The creature's carries nothing.
void OnClientNotifyLevelUp(Object& target, void* params)
{
    if (dynamic_cast<PlayerController*>(&target) != nullptr) {
        auto* text = static_cast<FString*>(params);
        if (text == nullptr || text->GetCharArray().GetData() != nullptr || text->GetCharArray().Num() != 0 ||
            text->GetCharArray().Max() != 0)
            Fatal("the parameter block must be an empty string", "ClientNotifyLevelUp");
        *text = FString(WTEXT("Level up!"));
    } else if (params != nullptr) {
        Fatal(fmt::format("{} takes no parameter block", target.label), "ClientNotifyLevelUp");
    }
}

}  // namespace

Dino::Dino(Class* cls, std::string objectLabel, World* actorWorld, const CreatureEntry& species)
    : Actor(cls, std::move(objectLabel), actorWorld), entry(&species), colors(species.colors)
{
}

void Dino::Release()
{
    TamerString = FString();
    ImprinterName = FString();
    ImprinterPlayerUniqueNetId = FString();
    FertilizedEggItemsToSpawn = TArray<TSubclassOf<UPrimalItem>>();
    if (MyInventoryComponent != nullptr)
        while (!MyInventoryComponent->items.empty())
            MyInventoryComponent->items.back()->Destroy();
}

std::int32_t Dino::BaseLevel() const
{
    if (statusComponent != nullptr)
        return statusComponent->BaseCharacterLevel;
    return AbsoluteBaseLevel > 0 ? AbsoluteBaseLevel : 1;
}

std::int64_t Dino::HeldBlocks() const
{
    return BlocksOf(TamerString) + BlocksOf(ImprinterName) + BlocksOf(ImprinterPlayerUniqueNetId) +
           BlocksOf(FertilizedEggItemsToSpawn);
}

std::vector<std::uint8_t> EncodeCreature(const Dino& dino)
{
    std::vector<std::uint8_t> bytes(std::begin(kMagic), std::end(kMagic));
    PutWord(bytes, static_cast<std::uint32_t>(dino.BaseLevel()));
    PutWord(bytes, static_cast<std::uint32_t>(dino.TamingTeamID));
    PutWord(bytes, dino.flags);
    for (const int color : dino.colors)
        PutWord(bytes, static_cast<std::uint32_t>(color));
    const float imprint = dino.statusComponent != nullptr ? dino.statusComponent->DinoImprintingQuality : 0.0f;
    PutWord(bytes, std::bit_cast<std::uint32_t>(imprint));
    PutText(bytes, dino.TamerString);
    PutText(bytes, dino.ImprinterName);
    PutText(bytes, dino.ImprinterPlayerUniqueNetId);
    return bytes;
}

std::optional<CreatureRecord> DecodeCreature(const std::uint8_t* bytes, std::size_t size)
{
    constexpr std::size_t kFixed = 4 + 4 * 10;
    if (size < kFixed || std::memcmp(bytes, kMagic, 4) != 0)
        return std::nullopt;
    CreatureRecord record;
    record.level = static_cast<std::int32_t>(WordAt(bytes + 4));
    record.team = static_cast<std::int32_t>(WordAt(bytes + 8));
    record.flags = WordAt(bytes + 12);
    for (std::size_t i = 0; i < record.colors.size(); ++i)
        record.colors[i] = static_cast<std::int32_t>(WordAt(bytes + 16 + 4 * i));
    record.imprintQuality = std::bit_cast<float>(WordAt(bytes + 40));
    std::size_t at = kFixed;
    if (!TakeText(bytes, size, at, record.tamer) || !TakeText(bytes, size, at, record.imprinter) ||
        !TakeText(bytes, size, at, record.imprinterNetId) || at != size)
        return std::nullopt;
    return record;
}

Dino& SpawnCreature(Game& game, const CreatureEntry& entry)
{
    auto& dino = game.Make<Dino>(entry.cls, fmt::format("{}#{}", entry.cls->name, game.NextNumber()),
                                 &game.GetWorld(), entry);
    if (entry.statusComponent) {
        StatusComponent& status = game.Make<StatusComponent>(game.FindClass("DinoCharacterStatusComponent_BP_C"),
                                                             dino.label + ".Status", entry.stats);
        std::copy(entry.mutationsAppliedTamed.begin(), entry.mutationsAppliedTamed.end(),
                  status.NumberOfMutationsAppliedTamed);
        std::copy(entry.levelUpPointsAppliedTamed.begin(), entry.levelUpPointsAppliedTamed.end(),
                  status.NumberOfLevelUpPointsAppliedTamed);
        status.Rescale();
        std::copy(std::begin(status.MaxStatusValues), std::end(status.MaxStatusValues), status.CurrentStatusValues);
        dino.statusComponent = &status;
        dino.MyCharacterStatusComponent = entry.statusComponentField ? &status : nullptr;
    }
    dino.BabyNextCuddleTime = entry.babyNextCuddleTime;
    dino.NextAllowedMatingTime = entry.nextAllowedMatingTime;
    dino.RandomMutationsMale = entry.randomMutationsMale;
    dino.RandomMutationsFemale = entry.randomMutationsFemale;
    dino.TamedAggressionLevel = entry.tamedAggressionLevel;
    dino.MyInventoryComponent = &game.Make<Inventory>(game.FindClass("UPrimalInventoryComponent"),
                                                      dino.label + ".Inventory", &dino, entry.inventorySlots);
    if (entry.eggClass != nullptr)
        dino.FertilizedEggItemsToSpawn.Add(TSubclassOf<UPrimalItem>{Handle<UClass>(entry.eggClass)});
    dino.SetFlag(kUsesGenderBit, entry.usesGender);
    if (entry.female)
        dino.SetFlag(kIsFemaleBit, *entry.female);
    else if (entry.usesGender)
        dino.SetFlag(kIsFemaleBit, game.NextSexIsFemale());
    game.AddActor(dino);
    return dino;
}

void DestroyActor(Game& game, Actor& actor, std::string_view member)
{
    if (!game.RemoveActor(actor))
        Fatal(fmt::format("{} is not in the world", actor.label), member);
    if (auto* dino = dynamic_cast<Dino*>(&actor)) {
        dino->Release();
        dino->destroyed = true;
    }
}

void RegisterCreatureMembers()
{
    using D = Dino;
    RegisterMethod<"AShooterPlayerController.SpawnActor(FString&,float,float,float,bool)", &SpawnActor>();
    RegisterStatic<"APrimalDinoCharacter.GetPrivateStaticClass()", &GetPrivateStaticClass>();
    RegisterMethod<"AShooterPlayerState.SetTribeTamingDinoSettings(APrimalDinoCharacter*)", &SetTribeTamingDinoSettings>();
    RegisterField<"APrimalDinoCharacter.TamingTeamID", &D::TamingTeamID>();
    RegisterField<"APrimalDinoCharacter.TamerString", &D::TamerString>();
    RegisterField<"APrimalDinoCharacter.AbsoluteBaseLevel", &D::AbsoluteBaseLevel>();
    RegisterField<"APrimalDinoCharacter.ImprinterName", &D::ImprinterName>();
    RegisterField<"APrimalDinoCharacter.ImprinterPlayerUniqueNetId", &D::ImprinterPlayerUniqueNetId>();
    RegisterField<"APrimalDinoCharacter.BabyNextCuddleTime", &D::BabyNextCuddleTime>();
    RegisterField<"APrimalDinoCharacter.NextAllowedMatingTime", &D::NextAllowedMatingTime>();
    RegisterField<"APrimalDinoCharacter.RandomMutationsMale", &D::RandomMutationsMale>();
    RegisterField<"APrimalDinoCharacter.RandomMutationsFemale", &D::RandomMutationsFemale>();
    RegisterField<"APrimalDinoCharacter.TamedAggressionLevel", &D::TamedAggressionLevel>();
    RegisterField<"APrimalDinoCharacter.FertilizedEggItemsToSpawn", &D::FertilizedEggItemsToSpawn>();
    RegisterField<"APrimalCharacter.MyCharacterStatusComponent", &D::MyCharacterStatusComponent,
                  UPrimalCharacterStatusComponent*>();
    RegisterField<"APrimalCharacter.MyInventoryComponent", &D::MyInventoryComponent, UPrimalInventoryComponent*>();
    RegisterBit<"APrimalDinoCharacter.bUsesGender", &D::flags, kUsesGenderBit>();
    RegisterBit<"APrimalDinoCharacter.bIsFemale", &D::flags, kIsFemaleBit>();
    RegisterBit<"APrimalDinoCharacter.bNeutered", &D::flags, kNeuteredBit>();
    RegisterMethod<"APrimalDinoCharacter.TameDino(AShooterPlayerController*,bool,int,bool,bool,bool)", &TameDino>();
    RegisterMethod<"APrimalDinoCharacter.DoNeuter_Implementation()", &DoNeuter>();
    RegisterMethod<"APrimalDinoCharacter.BeginPlay()", &BeginPlay>();
    RegisterMethod<"UPrimalActor.MulticastProperty(FName,bool)", &MulticastProperty>();
    RegisterMethod<"APrimalDinoCharacter.ForceUpdateColorSets_Implementation(int,int)", &ForceUpdateColorSets>();
    RegisterMethod<"AActor.ForceNetUpdate(bool,bool,bool)", &ForceNetUpdate>();
    RegisterMethod<"AActor.ForceDestroy()", &ForceDestroy>();
    RegisterMethod<"APrimalDinoCharacter.Destroy(bool,bool)", &Destroy>();
    RegisterMethod<"APrimalCharacter.GetCharacterStatusComponent()", &GetCharacterStatusComponent>();
    RegisterMethod<"APrimalDinoCharacter.GetDinoData(FARKDinoData&)", &GetDinoData>();
    RegisterMethod<"APrimalDinoCharacter.GetColorSetNamesAsArray()", &GetColorSetNamesAsArray>();
    RegisterMethod<"APrimalDinoCharacter.GetColorSetInidcesAsString()", &GetColorSetIndicesAsString>();
    RegisterMethod<"APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)", &GetCurrentDinoName>();
    RegisterMethod<"APrimalDinoCharacter.CreateCloneFertilizedEgg(UE::Math::TVector<double>,UE::Math::TRotator<double>,"
                   "TSubclassOf<ADroppedItem>,int,bool)",
                   &CreateCloneFertilizedEgg>();
}

void SetUpCreatureEvents(Game& game)
{
    FindName("ImprinterName", FNAME_Add);
    FindName("ImprinterPlayerUniqueNetId", FNAME_Add);
    game.OnEvent("ClientNotifyLevelUp", [](Object& target, const Function&, void* params) {
        OnClientNotifyLevelUp(target, params);
    });
    game.OnEvent("NetSyncMaxStatusValues", [](Object& target, const Function&, void* params) {
        OnNetSyncMaxStatusValues(target, params);
    });
}

}  // namespace sim
