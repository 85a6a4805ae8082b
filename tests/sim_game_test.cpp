// The simulated game as the plugin reaches it: by member name only.
#include "framework/members.h"
#include "game/names.h"
#include "host/game.h"
#include "support/game_fixture.h"

namespace kestrova::test {
namespace {

using SimGameTest = GameTest;
using SimGameDeathTest = GameTest;

std::string Text(const FString& text) { return sim::ToUtf8(text.View()); }

TEST_F(SimGameDeathTest, UnresolvedMemberStopsNamingIt)
{
    EXPECT_DEATH(GetAddress("AActor.GetWorld(bool)"), "unresolved game member: AActor\\.GetWorld\\(bool\\)");
    EXPECT_DEATH(GetAddress(&Game().GetWorld(), "UWorld.TimeSecond"), "unresolved game member: UWorld\\.TimeSecond");
    EXPECT_DEATH(GetAddress("UWorld.TimeSeconds"), "not a function: UWorld\\.TimeSeconds");
}

TEST_F(SimGameDeathTest, MemberOnAnObjectOfAnotherClassStops)
{
    UWorld* world = sim::Handle<UWorld>(&Game().GetWorld());
    EXPECT_DEATH(Call(member::PlayerCharacterName, reinterpret_cast<AShooterPlayerController*>(world)),
                 "used on an object of another class: AShooterPlayerController\\.GetPlayerCharacterName\\(\\)");
    EXPECT_DEATH(FieldOf(member::TargetingTeam, reinterpret_cast<AActor*>(world)),
                 "used on an object of another class: UPrimalActor\\.TargetingTeam");
    EXPECT_DEATH(Call(member::GetWorld, nullptr), "called on a null object: AActor\\.GetWorld\\(\\)");
}

TEST_F(SimGameTest, PlayerMembersAnswerFromTheWorldAndAreJournaled)
{
    AShooterPlayerController* alice = Controller("1001");
    EXPECT_EQ(Text(Call(member::PlayerCharacterName, alice)), "Alice");
    EXPECT_EQ(Text(Call(member::UniqueNetId, alice)),
              "0002f3a1c9e84b7d9a1e5c6b7d8e9f01");
    EXPECT_EQ(FieldOf(member::TargetingTeam, alice), 50001);
    auto* state = FieldOf(member::PlayerState, alice);
    EXPECT_EQ(FieldOf(member::TargetingTeam, state), 50001);

    auto* world = Call(member::GetWorld, alice);
    EXPECT_EQ(FieldOf(member::TimeSeconds, world), 5000.0);
    EXPECT_EQ(Call(member::GetWorld, sim::GetUtils().GetServerActor()), world);

    EXPECT_NE(Call(member::PlayerInventoryComponent, alice), nullptr);
    EXPECT_EQ(Call(member::PlayerInventory, Controller("1004")),
              nullptr);

    const auto& entries = Journal().Entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].ToString(), "Alice AShooterPlayerController.GetPlayerCharacterName() <- () -> \"Alice\"");
    EXPECT_EQ(Journal().CallsTo("AActor.GetWorld()").size(), 2u);
}

// On a real server the game's own code reaches its allocator directly: a member
// that builds a string costs the plugin one resolution, and freeing it one more.
TEST_F(SimGameTest, OnlyThePluginsResolutionsCount)
{
    AShooterPlayerController* alice = Controller("1001");
    sim::ResetResolutionCount();
    const std::uint64_t allocationsBefore = Memory().allocations;
    {
        const FString name = Call(member::PlayerCharacterName, alice);
        EXPECT_EQ(sim::ResolutionCount(), 1u) << "the member; not the game's Malloc";
        EXPECT_EQ(Memory().allocations - allocationsBefore, 1u) << "still a game allocation";
    }
    EXPECT_EQ(sim::ResolutionCount(), 2u) << "the plugin's Free";
}

TEST_F(SimGameTest, NamesAreFoundOrAddedAsAsked)
{
    EXPECT_EQ(MakeName("NoSuchName", FNAME_Find).ComparisonIndex, 0u);
    const FName added = MakeName("NoSuchName", FNAME_Add);
    EXPECT_NE(added.ComparisonIndex, 0u);
    EXPECT_EQ(MakeName("NoSuchName", FNAME_Find).ComparisonIndex, added.ComparisonIndex);
    EXPECT_EQ(sim::NameText(added), "NoSuchName");
    EXPECT_EQ(sim::NameText(FName{}), "None");
    EXPECT_EQ(Journal().Entries().front().ToString(), "FName.FName(char*,EFindName) <- (\"NoSuchName\", 0)");
}

TEST_F(SimGameTest, ScriptFunctionsAndEvents)
{
    EXPECT_NE(FindFunction(Controller("1001"), "ClientNotifyLevelUp"), nullptr);
    EXPECT_EQ(FindFunction(Controller("1004"), "ClientNotifyLevelUp"), nullptr);  // the world leaves it out
    EXPECT_EQ(FindFunction(Controller("1001"), "NoSuchFunction"), nullptr);

    std::vector<std::string> seen;
    Game().OnEvent("ClientNotifyLevelUp", [&](sim::Object& target, const sim::Function& function, void* params) {
        seen.push_back(target.label + " " + function.name + (params ? " block" : " none"));
    });
    FString block;  // laid out as the controller's notification declares it
    UFunction* notify = FindFunction(Controller("1002"), "ClientNotifyLevelUp");
    Call(member::ActorProcessEvent, Controller("1002"), notify, &block);
    Call(member::ObjectProcessEvent, Controller("1003"), notify, nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"Bob ClientNotifyLevelUp block", "Carol ClientNotifyLevelUp none"}));
    EXPECT_EQ(Journal().CallsTo("AActor.ProcessEvent(UFunction*,void*)").at(0).ToString(),
              "Bob AActor.ProcessEvent(UFunction*,void*) <- (Function:ClientNotifyLevelUp, string block {data null, "
              "count 0, capacity 0})");
}

// A use that disagrees with the game's declaration: the wrong result, a static
// function called as a method, a field of another type.
constexpr Method<AShooterPlayerController, UClass*()> kNameAsClass{"AShooterPlayerController.GetPlayerCharacterName()"};
constexpr Method<UVictoryCore, TSubclassOf<UObject>(FString&)> kStaticAsMethod{
    "UVictoryCore.StringReferenceToClass(FString&)"};
constexpr Field<UWorld, float> kTimeAsFloat{"UWorld.TimeSeconds"};

TEST_F(SimGameDeathTest, MemberUsedWithAnotherSignatureStopsNamingBoth)
{
#if defined(KESTROVA_NO_MEMBER_CHECKS)
    GTEST_SKIP() << "only checked resolution knows the signature a member is used with";
#endif
    EXPECT_DEATH(Call(kNameAsClass, Controller("1001")),
                 // GCC spells the types "UClass*()" and "FString()", clang "UClass *()" and "FString ()".
                 "used with another signature than the game declares \\(used as method UClass ?\\*\\(\\); declared "
                 "method FString ?\\(\\)\\): AShooterPlayerController\\.GetPlayerCharacterName\\(\\)");
    FString reference("x");
    EXPECT_DEATH(Call(kStaticAsMethod, nullptr, reference), "used as method .* declared static function");
    EXPECT_DEATH(FieldOf(kTimeAsFloat, sim::Handle<UWorld>(&Game().GetWorld())),
                 "used as field float; declared field double\\): UWorld\\.TimeSeconds");
}

TEST_F(SimGameDeathTest, MemberUsedOnSomethingThatIsNoGameObjectStops)
{
    FString notAnObject;
    EXPECT_DEATH(Call(member::PlayerCharacterName, reinterpret_cast<AShooterPlayerController*>(&notAnObject)),
                 "not a live game object: AShooterPlayerController\\.GetPlayerCharacterName\\(\\)");
}

#if defined(_WIN64)
// Elsewhere a member and a plain function returning a class are called alike; on
// Windows the result's hidden pointer comes after `this` for a member only, so a
// caller that calls it as a plain function hands its result storage in as `this`.
TEST_F(SimGameDeathTest, MemberReturningAClassCalledAsAPlainFunctionStops)
{
    using PlainFunction = FString (*)(void*);
    void* address = GetAddress(member::PlayerCharacterName.name);
    EXPECT_DEATH(reinterpret_cast<PlainFunction>(address)(Controller("1001")), "not a live game object");
}
#endif

TEST_F(SimGameDeathTest, EventOfAnotherClassStops)
{
    UFunction* notify = FindFunction(Controller("1001"), "ClientNotifyLevelUp");
    EXPECT_DEATH((Call(member::ActorProcessEvent, Controller("1004"), notify,
                                                nullptr)),
                 "ClientNotifyLevelUp is not a function of Dave");
}

TEST_F(SimGameTest, FindPlayerByIdMatchesExactly)
{
    IApiUtils& utils = AsaApi::GetApiUtils();
    EXPECT_EQ(utils.FindPlayerById(FString("1002")), Controller("1002"));
    EXPECT_EQ(utils.FindPlayerById(FString("01002")), nullptr);
    EXPECT_EQ(utils.FindPlayerById(FString("1002 ")), nullptr);
    EXPECT_EQ(utils.FindPlayerById(FString("")), nullptr);
}

TEST_F(SimGameTest, RconRepliesAreRecorded)
{
    sim::RconConnection& connection = Game().MakeRconConnection();
    FString text("Reloaded Config!");
    Call(member::SendMessage, sim::Handle<RCONClientConnection>(&connection), 7, 0, text);
    ASSERT_EQ(connection.replies.size(), 1u);
    EXPECT_EQ(connection.replies[0].id, 7);
    EXPECT_EQ(connection.replies[0].text, WTEXT("Reloaded Config!"));
}

TEST_F(SimGameTest, GameAllocatorCountsLiveBlocks)
{
    void* block = FMemory::Malloc(24);
    EXPECT_EQ(LiveBlocks(), 1);
    const auto bytes = Memory().liveBytes;
    block = FMemory::Realloc(block, 100);
    EXPECT_EQ(Memory().liveBytes, bytes + 76);
    FMemory::Free(block);
    EXPECT_EQ(LiveBlocks(), 0);
    {
        FString text("a string the game can free");
        EXPECT_EQ(LiveBlocks(), 1);
    }
    EXPECT_EQ(LiveBlocks(), 0);
}

}  // namespace
}  // namespace kestrova::test
