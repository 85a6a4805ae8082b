#include "plugin/member_census.h"

#include <array>

#include "host/members.h"
#include "plugin/logger.h"

namespace kestrova {
namespace {

constexpr auto kCreatures = static_cast<std::uint8_t>(MemberNeed::Creatures);
constexpr auto kItems = static_cast<std::uint8_t>(MemberNeed::Items);
constexpr auto kReplies = static_cast<std::uint8_t>(MemberNeed::Replies);
constexpr auto kOptional = static_cast<std::uint8_t>(MemberNeed::Optional);

template <const auto& Member>
bool Present()
{
    return GameHas(Member);
}

template <const auto& Member>
constexpr CensusRow Row(std::uint8_t needs)
{
    return {Member.name, &Present<Member>, needs};
}

// In the order of host/members.h.
constexpr std::array kCensus = {
    Row<member::MakeName>(kCreatures),
    Row<member::FindFunctionChecked>(kCreatures),
    Row<member::ActorProcessEvent>(kCreatures),
    Row<member::ObjectProcessEvent>(kCreatures),
    Row<member::PeerAddress>(kOptional),
    Row<member::SendMessage>(kReplies),
    Row<member::PlayerCharacterName>(kCreatures),
    Row<member::UniqueNetId>(kCreatures),
    Row<member::PlayerInventoryComponent>(kCreatures),
    Row<member::PlayerInventory>(kCreatures | kItems),
    Row<member::PlayerState>(kCreatures),
    Row<member::TargetingTeam>(kCreatures),
    Row<member::SpawnActor>(kCreatures),
    Row<member::ClassPrivate>(kCreatures),
    Row<member::IsChildOf>(kCreatures | kItems),
    Row<member::DinoStaticClass>(kCreatures),
    Row<member::TamingTeamID>(kCreatures),
    Row<member::TamerString>(kCreatures),
    Row<member::SetTribeTamingDinoSettings>(kCreatures),
    Row<member::TameDino>(kCreatures),
    Row<member::DoNeuter>(kCreatures),
    Row<member::AbsoluteBaseLevel>(kCreatures),
    Row<member::BeginPlay>(kCreatures),
    Row<member::ImprinterName>(kCreatures),
    Row<member::ImprinterNetId>(kCreatures),
    Row<member::CharacterStatusComponent>(kCreatures),
    Row<member::MyCharacterStatusComponent>(kCreatures),
    Row<member::MyInventoryComponent>(kCreatures),
    Row<member::MulticastProperty>(kCreatures),
    Row<member::ForceUpdateColorSets>(kCreatures),
    Row<member::UsesGender>(kCreatures),
    Row<member::IsFemale>(kCreatures),
    Row<member::Neutered>(kCreatures),
    Row<member::ForceDestroy>(kCreatures),
    Row<member::DestroyDino>(kCreatures),
    Row<member::DinoImprintingQuality>(kCreatures),
    Row<member::ServerSyncReplicatedValues>(kCreatures),
    Row<member::SetAllStatsToMaximum>(kCreatures),
    Row<member::LevelUpPointsApplied>(kCreatures),
    Row<member::LevelUpPointsAppliedTamed>(kCreatures),
    Row<member::MutationsAppliedTamed>(kCreatures),
    Row<member::BaseCharacterLevel>(kCreatures),
    Row<member::CurrentStatusValues>(kCreatures),
    Row<member::MaxStatusValues>(kCreatures),
    Row<member::BaseLevelMaxStatusValues>(kCreatures),
    Row<member::RescaleAllStats>(kCreatures),
    Row<member::ForceNetUpdate>(kCreatures),
    Row<member::CharacterUpdatedInventory>(kCreatures),
    Row<member::UpdateWeightStat>(kCreatures),
    Row<member::RecoveryRate>(kCreatures),
    Row<member::StringReferenceToClass>(kCreatures | kItems),
    Row<member::AddNewItem>(kCreatures | kItems),
    Row<member::ItemStaticClass>(kItems),
    Row<member::ItemDurability>(kCreatures | kItems),
    Row<member::AddItemDurability>(kCreatures),
    Row<member::SetCustomItemData>(kCreatures),
    Row<member::UpdatedItem>(kCreatures | kItems),
    Row<member::GetItemBytes>(kCreatures),
    Row<member::ItemQualityIndex>(kItems),
    Row<member::ItemStatInfos>(kItems),
    Row<member::ItemStatValues>(kItems),
    Row<member::GetItemStatModifier>(kItems),
    Row<member::AddItemObject>(kCreatures),
    Row<member::GetDinoData>(kCreatures),
    Row<member::ColorSetNames>(kCreatures),
    Row<member::ColorSetIndices>(kCreatures),
    Row<member::CurrentDinoName>(kCreatures),
    Row<member::GetWorld>(kCreatures),
    Row<member::TimeSeconds>(kCreatures),
    Row<member::BabyNextCuddleTime>(kCreatures),
    Row<member::NextAllowedMatingTime>(kCreatures),
    Row<member::RandomMutationsMale>(kCreatures),
    Row<member::RandomMutationsFemale>(kCreatures),
    Row<member::TamedAggressionLevel>(kCreatures),
    Row<member::FertilizedEggItemsToSpawn>(kCreatures),
    Row<member::GetClassDefaultObject>(kCreatures),
    Row<member::GetPathName>(kCreatures),
    Row<member::GetDefaultObject>(kCreatures),
    Row<member::CreateCloneFertilizedEgg>(kCreatures),
    Row<member::DroppedItemMyItem>(kCreatures),
};

}  // namespace

std::span<const CensusRow> MemberCensus() { return kCensus; }

std::string WhatFailsWithout(const CensusRow& row)
{
    const bool creatures = (row.needs & kCreatures) != 0;
    const bool items = (row.needs & kItems) != 0;
    if (creatures && items)
        return "KV.SpawnDino, KV.SpawnDinoStats, KV.SpawnItem and their targeted forms will fail until the plugin is "
               "updated";
    if (creatures)
        return "KV.SpawnDino, KV.SpawnDinoStats and their targeted forms will fail until the plugin is updated";
    if (items)
        return "KV.SpawnItem and its targeted form will fail until the plugin is updated";
    if ((row.needs & kReplies) != 0)
        return "every RCON command will run without a reply until the plugin is updated";
    return "the delivery ledger will record RCON clients without their address";
}

std::string MissingMembersLine()
{
    std::string line;
    for (const CensusRow& row : kCensus) {
        if (row.present())
            continue;
        line += line.empty() ? "Kestrova: " : "; ";
        line += "the game has no member ";
        line += row.name;
        line += "; ";
        line += WhatFailsWithout(row);
    }
    return line;
}

void LogMissingMembers() noexcept
{
    try {
        const std::string line = MissingMembersLine();
        if (!line.empty())
            if (const auto& logger = PluginLogger())
                logger->warn("{}", line);
    } catch (...) {
        // No memory for the line: each command still names what it lacks.
    }
}

}  // namespace kestrova
