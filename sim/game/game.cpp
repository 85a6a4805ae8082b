#include "game.h"

#include <algorithm>

#include "creature.h"
#include "framework/host.h"
#include "held_blocks.h"
#include "item.h"
#include "framework/journal.h"
#include "journal_values.h"
#include "framework/memory.h"
#include "names.h"

namespace sim {
namespace {

Game*& ActiveGame()
{
    static Game* active = nullptr;
    return active;
}

// The world's "withoutMembers": names that resolve as members the game lacks. The
// allocator stays: without it no string could be made, by the host either.
void WithholdMembers(const nlohmann::json& world)
{
    const nlohmann::json& names = ListAt(world, kWithoutMembersKey);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string where = fmt::format("{}[{}]", kWithoutMembersKey, i);
        if (!names[i].is_string())
            throw WorldError(fmt::format("{}: must be a string, not {}", where, names[i].type_name()));
        WithholdNamedMember(names[i].get<std::string>(), where);
    }
}

}  // namespace

void WithholdNamedMember(const std::string& name, const std::string& where)
{
    if (name.starts_with("FMemory."))
        throw WorldError(fmt::format("{}: \"{}\" is the game's allocator, which every host has", where, name));
    if (!WithholdMember(name))
        throw WorldError(fmt::format("{}: \"{}\" names no member the stand-in has (as /journal names them)",
                                     where, name));
}

void RegisterGameMembers()
{
    RegisterAllocator();
    RegisterNameMembers();
    RegisterScriptMembers();
    RegisterWorldMembers();
    RegisterPlayerMembers();
    RegisterRconMembers();
    RegisterCatalogueMembers();
    RegisterStatusComponentMembers();
    RegisterCreatureMembers();
    RegisterItemMembers();
    RegisterInventoryMembers();
}

Game::Game(const nlohmann::json& world, std::string source) { Reset(world, std::move(source)); }

Game::~Game() { TearDown(); }

Game& Game::Active()
{
    if (ActiveGame() == nullptr)
        Fatal("no game is running", "a simulated member was called");
    return *ActiveGame();
}

void Game::Reset(const nlohmann::json& world, std::string source)
{
    TearDown();
    source_ = std::move(source);
    ClearMembers();
    ClearNames();
    GetJournal().Clear();
    GetRegistry().Clear();
    GetUtils().messages.clear();
    GetUtils().onMessage = nullptr;
    RegisterGameMembers();
    try {
        WithholdMembers(world);
        Build(world);
    } catch (const WorldError& e) {
        TearDown();
        throw WorldError(fmt::format("{}: {}", source_, e.what()));
    }
    HookIntoHost();
}

void Game::TearDown()
{
    if (ActiveGame() == this) {
        // The journal names this game's objects, which go now.
        GetJournal().Clear();
        ActiveGame() = nullptr;
        GetUtils().serverActor = nullptr;
        GetUtils().findPlayer = nullptr;
    }
    players_.clear();
    actors_.clear();
    objectNumbers_ = 0;
    genderedSpawns_ = 0;
    catalogue_ = Catalogue();
    events_.clear();
    functions_.clear();
    objects_.clear();
    classes_.clear();
    world_ = nullptr;
    serverActor_ = nullptr;
    rconConnections_ = 0;
}

void Game::Build(const nlohmann::json& world)
{
    DefineCoreClasses();
    DefineCreatureAndItemClasses(*this);
    catalogue_.Build(*this, world);
    SetUpCreatureEvents(*this);
    BuildWorld(world);
    BuildPlayers(*this, world);
    GiveStartingItems(*this, world);
}

void Game::DefineCoreClasses()
{
    DefineClass("UObject", "");
    DefineClass("UStruct", "UObject");
    DefineClass("UClass", "UStruct");
    DefineClass("UFunction", "UStruct");
    DefineClass("UWorld", "UObject");
    DefineClass("UActorComponent", "UObject");
    DefineClass("UPrimalInventoryComponent", "UActorComponent");
    DefineClass("AActor", "UObject");
    DefineClass("AGameModeBase", "AActor");
    DefineClass("AController", "AActor");
    DefineClass("APlayerController", "AController");
    DefineClass("AShooterPlayerController", "APlayerController");
    DefineClass("APlayerState", "AActor");
    DefineClass("AShooterPlayerState", "APlayerState");
    DefineClass("RCONClientConnection", "UObject");
    // Classes defined before UClass get their class now.
    for (auto& [name, cls] : classes_)
        cls->ClassPrivate = FindClass("UClass");
}

void Game::BuildWorld(const nlohmann::json& world)
{
    world_ = &Make<World>(FindClass("UWorld"), "World");
    world_->TimeSeconds = NumberAt(world, "timeSeconds", "world", 0.0);
    serverActor_ = &Make<Actor>(FindClass("AGameModeBase"), "ServerActor", world_);
}

void Game::HookIntoHost()
{
    ActiveGame() = this;
    SetObjectDescriber(&DescribeGameObject);
    GetUtils().serverActor = Handle<AActor>(serverActor_);
    GetUtils().findPlayer = [this](WideView id) {
        return Handle<AShooterPlayerController>(FindPlayer(id));
    };
}

PlayerController* Game::FindPlayer(WideView id) const
{
    for (PlayerController* player : players_)
        if (player->id == id)
            return player;
    return nullptr;
}

PlayerController* Game::FindPlayer(std::string_view id) const { return FindPlayer(FromUtf8(id)); }

Class* Game::FindClass(std::string_view name) const
{
    const auto found = classes_.find(name);
    return found == classes_.end() ? nullptr : found->second.get();
}

Class& Game::DefineClass(const std::string& name, std::string_view super)
{
    if (FindClass(name) != nullptr)
        Fatal("class defined twice", name);
    Class* superClass = nullptr;
    if (!super.empty() && (superClass = FindClass(super)) == nullptr)
        Fatal("unknown super class", super);
    auto cls = std::make_unique<Class>(name, superClass);
    cls->ClassPrivate = FindClass("UClass");
    Class& defined = *cls;
    classes_.emplace(name, std::move(cls));
    return defined;
}

void Game::AddScriptFunction(Class& cls, const std::string& name)
{
    cls.functions.insert(name);
    FindName(name, FNAME_Add);
    if (FindScriptFunction(name) == nullptr)
        functions_.emplace(name, &Make<Function>(FindClass("UFunction"), name));
}

Function* Game::FindScriptFunction(std::string_view name) const
{
    const auto found = functions_.find(name);
    return found == functions_.end() ? nullptr : found->second;
}

const EventHandler* Game::HandlerFor(std::string_view name) const
{
    const auto found = events_.find(name);
    return found == events_.end() ? nullptr : &found->second;
}

bool Game::RemoveActor(Actor& actor)
{
    const auto found = std::find(actors_.begin(), actors_.end(), &actor);
    if (found == actors_.end())
        return false;
    actors_.erase(found);
    return true;
}

std::int64_t Game::HeldBlocks() const
{
    std::int64_t blocks = 0;
    for (const auto& object : objects_) {
        if (const auto* dino = dynamic_cast<const Dino*>(object.get()))
            blocks += dino->HeldBlocks();
        else if (const auto* item = dynamic_cast<const Item*>(object.get()))
            blocks += item->HeldBlocks();
        else if (const auto* connection = dynamic_cast<const RconConnection*>(object.get()))
            blocks += BlocksOf(connection->PeerAddress);
    }
    return blocks;
}

RconConnection& Game::MakeRconConnection()
{
    return Make<RconConnection>(FindClass("RCONClientConnection"), fmt::format("RCON#{}", ++rconConnections_));
}

}  // namespace sim
