// A fresh game with the plugin loaded into it, on a server folder of its own.
#pragma once

#include <string_view>
#include <vector>

#include "game/item.h"
#include "plugin/lifecycle.h"
#include "support/game_fixture.h"
#include "support/server_dir.h"

namespace kestrova::test {

class PluginTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        Load();
    }

    void TearDown() override
    {
        Unload();
        GameTest::TearDown();
    }

    // The items in the player's inventory, in the order they were added; none for a
    // player without an inventory.
    std::vector<sim::Item*> InventoryOf(std::string_view id)
    {
        const sim::Inventory* inventory = Player(id).inventory;
        return inventory != nullptr ? inventory->items : std::vector<sim::Item*>{};
    }

    TempServerDir server_;
};

}  // namespace kestrova::test
