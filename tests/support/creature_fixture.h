// The plugin's game for the creature commands: the catalogue's references, the
// journal as text, and the creatures and items a run leaves behind.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "game/creature.h"
#include "game/item.h"
#include "support/catalogue_references.h"
#include "support/plugin_fixture.h"

namespace kestrova::test {

inline constexpr char kCryopodClass[] = "PrimalItem_WeaponEmptyCryopod_C";

class CreatureTest : public PluginTest {
protected:
    // Writes config.json and reads it again, as a reload would.
    void UseConfig(std::string_view json);

    // Everything the plugin did, in order: calls, field reads and writes and host
    // services, as JournalEntry::ToString shows them (no command dispatches).
    std::vector<std::string> Trail() const;
    // The calls in short form, "receiver Method(args)" (the class, the parameter
    // types and the result left out); with `only`, just the calls of those methods.
    std::vector<std::string> Steps(std::initializer_list<std::string_view> only = {}) const;
    // The entries for `member` alone, as text.
    std::vector<std::string> TrailOf(std::string_view member) const;
    std::size_t CountOf(std::string_view member) const;

    // The creatures in the world, in spawn order.
    std::vector<sim::Dino*> Creatures() const;
    // The one creature in the world; fails the test when there is not exactly one.
    sim::Dino& OnlyCreature() const;
    // The creature spawned last; fails the test, rather than reading past the end,
    // when there is none.
    sim::Dino& NewestCreature() const;

    // The creature a spawn run hands to the plugin's functions directly.
    sim::Dino& SpawnDirect(const char* reference, std::string_view player = "1001");

    int Escaped() { return Registry().EscapedExceptions(); }
};

std::string TextOf(const FString& text);

}  // namespace kestrova::test
