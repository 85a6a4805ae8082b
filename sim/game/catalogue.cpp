#include "catalogue.h"

#include "game.h"
#include "names.h"
#include "thunk.h"

namespace sim {
namespace {

const nlohmann::json& SectionOf(const nlohmann::json& world)
{
    const auto found = world.find("catalogue");
    if (found == world.end()) {
        // A world that brings no catalogue of its own gets the built-in one.
        static const nlohmann::json builtIn = DefaultWorld().at("catalogue");
        return builtIn;
    }
    if (!found->is_object())
        throw WorldError(fmt::format("\"catalogue\" must be an object, not {}", found->type_name()));
    return *found;
}

const nlohmann::json& EntryAt(const nlohmann::json& list, std::size_t i, const std::string& where)
{
    if (!list[i].is_object())
        throw WorldError(fmt::format("{}: must be an object, not {}", where, list[i].type_name()));
    return list[i];
}

float FloatAt(const nlohmann::json& object, const char* key, const std::string& where, double fallback)
{
    return static_cast<float>(NumberAt(object, key, where, fallback));
}

template <std::size_t N, typename T>
std::array<T, N> FixedListAt(const nlohmann::json& object, const char* key, const std::string& where,
                             std::array<T, N> fallback)
{
    const auto found = object.find(key);
    if (found == object.end())
        return fallback;
    const std::string place = fmt::format("{}.{}", where, key);
    if (!found->is_array() || found->size() != N)
        throw WorldError(fmt::format("{}: must be an array of {} numbers", place, N));
    std::array<T, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const nlohmann::json& value = (*found)[i];
        if (!value.is_number() || (std::is_integral_v<T> && !value.is_number_integer()))
            throw WorldError(fmt::format("{}[{}]: must be {}", place, i, std::is_integral_v<T> ? "an integer" : "a number"));
        values[i] = value.get<T>();
    }
    return values;
}

std::vector<std::string> TextListAt(const nlohmann::json& object, const char* key, const std::string& where)
{
    std::vector<std::string> texts;
    const auto found = object.find(key);
    if (found == object.end())
        return texts;
    if (!found->is_array())
        throw WorldError(fmt::format("{}.{}: must be an array of strings", where, key));
    for (const nlohmann::json& value : *found) {
        if (!value.is_string())
            throw WorldError(fmt::format("{}.{}: must be an array of strings", where, key));
        texts.push_back(value.get<std::string>());
    }
    return texts;
}

// Base maxima of a creature without its own: health, stamina, torpidity, oxygen,
// food, water, temperature, weight, melee, speed, fortitude, crafting.
constexpr std::array<float, kStatusValueCount> kDefaultStats = {200, 150, 300, 150, 1500, 100,
                                                                0,   250, 1,   1,   0,    1};

std::string PackageOf(std::string_view blueprint)
{
    const auto dot = blueprint.rfind('.');
    return std::string(dot == blueprint.npos ? blueprint : blueprint.substr(0, dot));
}

std::string AssetOf(std::string_view blueprint)
{
    const auto dot = blueprint.rfind('.');
    const auto slash = blueprint.rfind('/');
    const auto start = dot != blueprint.npos ? dot + 1 : (slash != blueprint.npos ? slash + 1 : 0);
    return std::string(blueprint.substr(start));
}

TSubclassOf<UObject> StringReferenceToClass(FString& reference)
{
    return Handle<UClass>(Game::Active().GetCatalogue().Find(ToUtf8(reference.View())));
}

UObject* GetClassDefaultObject(UClass* cls)
{
    Class* typed = AsOrNull<Class>(cls, "UVictoryCore.GetClassDefaultObject(UClass*)");
    return typed == nullptr ? nullptr : Handle<UObject>(typed->defaultObject);
}

UObject* GetDefaultObject(Class* self, bool) { return Handle<UObject>(self->defaultObject); }

// Classes answer with their path, default objects with theirs, and anything else
// with where it lives in the level.
void GetPathName(Object* self, UObject*, FString& path)
{
    std::string text;
    if (auto* cls = dynamic_cast<Class*>(self))
        text = cls->pathName.empty() ? "/Script/Engine." + cls->name : cls->pathName;
    else if (self->ClassPrivate != nullptr && self->ClassPrivate->defaultObject == self)
        text = DefaultObjectPath(*self->ClassPrivate);
    else
        text = "/Game/Maps/World.World:PersistentLevel." + self->label;
    path = FString(WideView(FromUtf8(text)));
}

}  // namespace

std::string ReferenceText(std::string_view blueprint) { return fmt::format("Blueprint'{}'", blueprint); }

std::string DefaultObjectPath(const Class& cls)
{
    return fmt::format("{}.Default__{}", PackageOf(cls.pathName), cls.name);
}

void DefineCreatureAndItemClasses(Game& game)
{
    game.DefineClass("APrimalCharacter", "AActor");
    game.AddScriptFunction(game.DefineClass("APrimalDinoCharacter", "APrimalCharacter"), "ClientNotifyLevelUp");
    game.DefineClass("UPrimalCharacterStatusComponent", "UActorComponent");
    game.AddScriptFunction(game.DefineClass("DinoCharacterStatusComponent_BP_C", "UPrimalCharacterStatusComponent"),
                           "NetSyncMaxStatusValues");
    game.DefineClass("UPrimalItem", "UObject");
    game.DefineClass("ADroppedItem", "AActor");
    game.DefineClass("DroppedItemGeneric_C", "ADroppedItem");
    game.DefineClass("APrimalStructure", "AActor");
}

void Catalogue::Build(Game& game, const nlohmann::json& world)
{
    const nlohmann::json& section = SectionOf(world);
    AddItems(game, ListAt(section, "items", "catalogue"));
    AddCreatures(game, ListAt(section, "creatures", "catalogue"));
    AddActors(game, ListAt(section, "actors", "catalogue"));
}

Class& Catalogue::DefineBlueprintClass(Game& game, const nlohmann::json& entry, const std::string& where,
                                       std::string_view super, std::string& reference)
{
    const std::string blueprint = TextAt(entry, "blueprint", where);
    if (blueprint.empty() || blueprint.find('\'') != std::string::npos)
        throw WorldError(fmt::format("{}.blueprint: \"{}\" is not a blueprint path", where, blueprint));
    reference = ReferenceText(blueprint);
    if (byReference_.count(reference) != 0)
        throw WorldError(fmt::format("{}.blueprint: \"{}\" is given twice", where, blueprint));
    const std::string name = entry.contains("class") ? TextAt(entry, "class", where) : AssetOf(blueprint) + "_C";
    if (name.empty() || game.FindClass(name) != nullptr)
        throw WorldError(fmt::format("{}.class: \"{}\" is defined twice or empty", where, name));

    Class& cls = game.DefineClass(name, super);
    cls.pathName = PackageOf(blueprint) + "." + name;
    cls.defaultObject = &game.Make<Object>(&cls, "Default__" + name);
    byReference_.emplace(reference, &cls);
    return cls;
}

void Catalogue::AddItems(Game& game, const nlohmann::json& list)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = fmt::format("catalogue.items[{}]", i);
        const nlohmann::json& entry = EntryAt(list, i, where);
        ItemEntry item;
        item.cls = &DefineBlueprintClass(game, entry, where, "UPrimalItem", item.reference);
        item.durability = FloatAt(entry, "durability", where, 100.0);
        const nlohmann::json& stats = ListAt(entry, "stats", where);
        for (std::size_t s = 0; s < stats.size(); ++s) {
            const std::string at = fmt::format("{}.stats[{}]", where, s);
            const int index = IntAt(stats[s], "index", at);
            if (index < 0 || index >= kItemStatCount)
                throw WorldError(fmt::format("{}.index: must be 0 to {}", at, kItemStatCount - 1));
            ItemStatInfo& info = item.stats[static_cast<std::size_t>(index)];
            info.Flags = static_cast<std::uint32_t>(IntAt(stats[s], "flags", at));
            info.FactorA = FloatAt(stats[s], "a", at, 0.0);
            info.FactorB = FloatAt(stats[s], "b", at, 0.0);
            info.Base = FloatAt(stats[s], "base", at, 0.0);
        }
        items_.push_back(std::move(item));
    }
}

void Catalogue::AddCreatures(Game& game, const nlohmann::json& list)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = fmt::format("catalogue.creatures[{}]", i);
        const nlohmann::json& entry = EntryAt(list, i, where);
        CreatureEntry creature;
        creature.cls = &DefineBlueprintClass(game, entry, where, "APrimalDinoCharacter", creature.reference);
        creature.name = entry.contains("name") ? TextAt(entry, "name", where) : creature.cls->name;
        creature.usesGender = FlagAt(entry, "usesGender", where, true);
        creature.statusComponent = FlagAt(entry, "statusComponent", where, true);
        if (entry.contains("eggItem")) {
            const std::string egg = TextAt(entry, "eggItem", where);
            creature.eggClass = Find(ReferenceText(egg));
            if (creature.eggClass == nullptr || Item(creature.eggClass) == nullptr)
                throw WorldError(fmt::format("{}.eggItem: \"{}\" is not an item of the catalogue", where, egg));
        }
        creature.stats = FixedListAt(entry, "stats", where, kDefaultStats);
        creature.colorSetNames = TextListAt(entry, "colorSetNames", where);
        creature.colors = FixedListAt(entry, "colors", where, std::array<int, 6>{});
        creature.inventorySlots = IntAt(entry, "inventorySlots", where, 100);
        creatures_.push_back(std::move(creature));
    }
}

void Catalogue::AddActors(Game& game, const nlohmann::json& list)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = fmt::format("catalogue.actors[{}]", i);
        ActorEntry actor;
        actor.cls = &DefineBlueprintClass(game, EntryAt(list, i, where), where, "APrimalStructure", actor.reference);
        actors_.push_back(std::move(actor));
    }
}

Class* Catalogue::Find(std::string_view reference) const
{
    const auto found = byReference_.find(reference);
    return found == byReference_.end() ? nullptr : found->second;
}

const ItemEntry* Catalogue::Item(const Class* cls) const
{
    for (const ItemEntry& item : items_)
        if (item.cls == cls)
            return &item;
    return nullptr;
}

const CreatureEntry* Catalogue::Creature(const Class* cls) const
{
    for (const CreatureEntry& creature : creatures_)
        if (creature.cls == cls)
            return &creature;
    return nullptr;
}

std::string Catalogue::ReferenceOf(const Class* cls) const
{
    for (const auto& [reference, found] : byReference_)
        if (found == cls)
            return reference;
    return {};
}

void RegisterCatalogueMembers()
{
    RegisterStatic<"UVictoryCore.StringReferenceToClass(FString&)", &StringReferenceToClass>();
    RegisterStatic<"UVictoryCore.GetClassDefaultObject(UClass*)", &GetClassDefaultObject>();
    RegisterMethod<"UClass.GetDefaultObject(bool)", &GetDefaultObject>();
    RegisterMethod<"UObjectBaseUtility.GetPathName(UObject*,FString&)", &GetPathName>();
}

}  // namespace sim
