// The simulated game: owns every object, registers every member, builds the
// objects from a world description and hooks itself into the host.
//
// One game is active at a time. Building one starts from nothing: the member
// table, the name table, the call journal, the command registry and the recorded
// player messages are cleared first, so tests can start each case afresh.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "catalogue.h"
#include "player.h"
#include "rcon_connection.h"
#include "script.h"
#include "world.h"
#include "world_file.h"

namespace sim {

class Game {
public:
    // Throws WorldError, its message starting with `source`, for a description
    // that cannot be built.
    explicit Game(const nlohmann::json& world = DefaultWorld(), std::string source = kBuiltInWorld);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The game that simulated members act in; stops the process when there is none.
    static Game& Active();

    // Throws everything away and builds again from `world`.
    void Reset(const nlohmann::json& world = DefaultWorld(), std::string source = kBuiltInWorld);

    const std::string& Source() const { return source_; }
    World& GetWorld() { return *world_; }
    Actor& ServerActor() { return *serverActor_; }

    // Players in world file order.
    const std::vector<PlayerController*>& Players() const { return players_; }
    PlayerController* FindPlayer(WideView id) const;
    PlayerController* FindPlayer(std::string_view id) const;  // UTF-8 id

    // Classes by name. DefineClass stops the process for a name defined twice or
    // an unknown super class.
    Class* FindClass(std::string_view name) const;
    Class& DefineClass(const std::string& name, std::string_view super);
    const std::map<std::string, std::unique_ptr<Class>, std::less<>>& Classes() const { return classes_; }

    // Gives `cls` the script function `name`, so FindFunctionChecked finds it.
    void AddScriptFunction(Class& cls, const std::string& name);
    Function* FindScriptFunction(std::string_view name) const;

    // What ProcessEvent does for the script function `name`.
    void OnEvent(const std::string& name, EventHandler handler) { events_[name] = std::move(handler); }
    const EventHandler* HandlerFor(std::string_view name) const;

    // A new object owned by the game.
    template <typename T, typename... Args>
    T& Make(Args&&... args)
    {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        T& made = *object;
        objects_.push_back(std::move(object));
        return made;
    }

    RconConnection& MakeRconConnection();

    // The classes the world offers by blueprint reference.
    const Catalogue& GetCatalogue() const { return catalogue_; }

    // Actors spawned into the world (creatures, dropped items, others), in spawn
    // order. RemoveActor is false for an actor that is not there.
    const std::vector<Actor*>& Actors() const { return actors_; }
    void AddActor(Actor& actor) { actors_.push_back(&actor); }
    bool RemoveActor(Actor& actor);

    // Numbers that tell spawned objects apart in their labels: 1, 2, 3...
    int NextNumber() { return ++objectNumbers_; }
    // The sex of the next creature whose class uses gender: male, female, male...
    bool NextSexIsFemale() { return (genderedSpawns_++ % 2) == 1; }

    // Game-allocated blocks that game objects hold in their strings and arrays.
    std::int64_t HeldBlocks() const;

    // Called by the player builder.
    void AddPlayer(PlayerController& player) { players_.push_back(&player); }

private:
    void Build(const nlohmann::json& world);
    void TearDown();
    void DefineCoreClasses();
    void BuildWorld(const nlohmann::json& world);
    void HookIntoHost();

    std::string source_;
    std::map<std::string, std::unique_ptr<Class>, std::less<>> classes_;
    std::map<std::string, Function*, std::less<>> functions_;
    std::map<std::string, EventHandler, std::less<>> events_;
    std::deque<std::unique_ptr<Object>> objects_;  // a deque: adding never moves the ones before
    std::vector<PlayerController*> players_;
    Catalogue catalogue_;
    std::vector<Actor*> actors_;
    int objectNumbers_ = 0;
    int genderedSpawns_ = 0;
    World* world_ = nullptr;
    Actor* serverActor_ = nullptr;
    int rconConnections_ = 0;
};

// Registers every simulated member, one kind after another.
void RegisterGameMembers();

// Withholds the member `name` (named as /journal names it) for the rest of this
// game; throws WorldError, starting with `where`, when the stand-in has no such
// member or it is the allocator.
void WithholdNamedMember(const std::string& name, const std::string& where);

// Builds the players of the world description (its "players" array).
void BuildPlayers(Game& game, const nlohmann::json& world);

}  // namespace sim
