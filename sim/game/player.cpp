#include "player.h"

#include <set>

#include "game.h"
#include "thunk.h"

namespace sim {
namespace {

FString GetPlayerCharacterName(PlayerController* self) { return FString(WideView(self->name)); }
FString GetUniqueNetIdAsString(PlayerController* self) { return FString(WideView(self->netId)); }
UPrimalInventoryComponent* GetPlayerInventory(PlayerController* self)
{
    return Handle<UPrimalInventoryComponent>(self->inventory);
}

// The class of controllers that the game notifies of level-ups, as a subclass
// so that a world can leave it out for a player.
Class& NotifyingControllerClass(Game& game)
{
    if (Class* cls = game.FindClass("PlayerController_BP_C"))
        return *cls;
    Class& cls = game.DefineClass("PlayerController_BP_C", "AShooterPlayerController");
    game.AddScriptFunction(cls, "ClientNotifyLevelUp");
    return cls;
}

}  // namespace

void RegisterPlayerMembers()
{
    RegisterMethod<"AShooterPlayerController.GetPlayerCharacterName()", &GetPlayerCharacterName>();
    RegisterMethod<"AShooterPlayerController.GetUniqueNetIdAsString()", &GetUniqueNetIdAsString>();
    RegisterMethod<"AShooterPlayerController.GetPlayerInventoryComponent()", &GetPlayerInventory>();
    RegisterMethod<"AShooterPlayerController.GetPlayerInventory()", &GetPlayerInventory>();
    RegisterField<"AController.PlayerState", &Controller::PlayerState, AShooterPlayerState*>();
}

void BuildPlayers(Game& game, const nlohmann::json& world)
{
    const nlohmann::json& players = ListAt(world, "players");
    std::set<std::string> ids;
    for (std::size_t i = 0; i < players.size(); ++i) {
        const nlohmann::json& entry = players[i];
        const std::string where = fmt::format("players[{}]", i);
        if (!entry.is_object())
            throw WorldError(fmt::format("{}: must be an object, not {}", where, entry.type_name()));
        const std::string id = TextAt(entry, "id", where);
        const std::string name = TextAt(entry, "name", where);
        if (id.empty() || id.find(' ') != std::string::npos)
            throw WorldError(fmt::format("{}.id: must be one word, not \"{}\"", where, id));
        if (!ids.insert(id).second)
            throw WorldError(fmt::format("{}.id: \"{}\" is given twice", where, id));
        const int team = IntAt(entry, "team", where);
        const std::string netId = TextAt(entry, "netId", where);
        const bool hasInventory = FlagAt(entry, "hasInventory", where, true);
        const int slots = IntAt(entry, "inventorySlots", where, 1000);
        if (slots < 0)
            throw WorldError(fmt::format("{}.inventorySlots: must not be negative", where));
        const bool notifyLevelUp = FlagAt(entry, "notifyLevelUp", where, true);

        Class* cls = notifyLevelUp ? &NotifyingControllerClass(game) : game.FindClass("AShooterPlayerController");
        auto& player = game.Make<PlayerController>(cls, name, &game.GetWorld());
        player.id = FromUtf8(id);
        player.name = FromUtf8(name);
        player.netId = FromUtf8(netId);
        player.TargetingTeam = team;
        auto& state = game.Make<PlayerState>(game.FindClass("AShooterPlayerState"), name + ".PlayerState", &game.GetWorld());
        state.TargetingTeam = team;
        player.PlayerState = &state;
        if (hasInventory)
            player.inventory =
                &game.Make<Inventory>(game.FindClass("UPrimalInventoryComponent"), name + ".Inventory", &player, slots);
        game.AddPlayer(player);
    }
}

}  // namespace sim
