#include "support/creature_fixture.h"

#include <algorithm>
#include <stdexcept>

#include "config/config.h"
#include "host/game.h"
#include "host/members.h"

namespace kestrova::test {

void CreatureTest::UseConfig(std::string_view json)
{
    server_.WriteConfig(json);
    LoadConfig();
}

std::vector<std::string> CreatureTest::Trail() const
{
    std::vector<std::string> lines;
    for (const sim::JournalEntry& entry : sim::GetJournal().Entries())
        if (entry.kind != sim::JournalKind::Dispatch)
            lines.push_back(entry.ToString());
    return lines;
}

std::vector<std::string> CreatureTest::Steps(std::initializer_list<std::string_view> only) const
{
    std::vector<std::string> steps;
    for (const sim::JournalEntry& entry : sim::GetJournal().Entries()) {
        if (entry.kind != sim::JournalKind::Call)
            continue;
        const std::string_view member = entry.member;
        const std::size_t open = member.find('(');
        const std::size_t dot = member.substr(0, open).rfind('.');
        const std::string_view method = member.substr(dot + 1, open - dot - 1);
        if (only.size() != 0 && std::find(only.begin(), only.end(), method) == only.end())
            continue;
        std::string step = entry.receiver.empty() ? std::string(method) : entry.receiver + " " + std::string(method);
        step += "(";
        for (std::size_t i = 0; i < entry.args.size(); ++i)
            step += (i ? ", " : "") + entry.args[i];
        steps.push_back(step + ")");
    }
    return steps;
}

std::vector<std::string> CreatureTest::TrailOf(std::string_view member) const
{
    std::vector<std::string> lines;
    for (const sim::JournalEntry& entry : sim::GetJournal().CallsTo(member))
        lines.push_back(entry.ToString());
    return lines;
}

std::size_t CreatureTest::CountOf(std::string_view member) const
{
    return sim::GetJournal().CallsTo(member).size();
}

std::vector<sim::Dino*> CreatureTest::Creatures() const
{
    std::vector<sim::Dino*> creatures;
    for (sim::Actor* actor : const_cast<CreatureTest*>(this)->Game().Actors())
        if (auto* dino = dynamic_cast<sim::Dino*>(actor))
            creatures.push_back(dino);
    return creatures;
}

sim::Dino& CreatureTest::OnlyCreature() const
{
    const std::vector<sim::Dino*> creatures = Creatures();
    if (creatures.size() != 1)
        throw std::logic_error("expected exactly one creature in the world, found " + std::to_string(creatures.size()));
    return *creatures.front();
}

sim::Dino& CreatureTest::NewestCreature() const
{
    const std::vector<sim::Dino*> creatures = Creatures();
    if (creatures.empty())
        throw std::logic_error("expected a creature in the world, found none");
    return *creatures.back();
}

sim::Dino& CreatureTest::SpawnDirect(const char* reference, std::string_view player)
{
    FString text(reference);
    AActor* actor = Call(member::SpawnActor, Controller(player), text, 100.0f, 0.0f, 0.0f, true);
    if (actor == nullptr)
        throw std::logic_error(std::string("no creature for ") + reference);
    return *sim::As<sim::Dino>(actor, "test");
}

std::string TextOf(const FString& text) { return sim::ToUtf8(text.View()); }

}  // namespace kestrova::test
