#include "world_file.h"

namespace sim {

// Four players: Alice and Carol share a team; Carol's inventory holds only two
// items; Dave has no inventory and his controller lacks "ClientNotifyLevelUp".
std::string_view DefaultWorldText()
{
    return R"json({
  "timeSeconds": 5000.0,
  "players": [
    { "id": "1001", "name": "Alice", "team": 50001, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f01" },
    { "id": "1002", "name": "Bob", "team": 50002, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f02" },
    { "id": "1003", "name": "Carol", "team": 50001, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f03",
      "inventorySlots": 2 },
    { "id": "1004", "name": "Dave", "team": 50004, "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f04",
      "hasInventory": false, "notifyLevelUp": false }
  ]
})json";
}

}  // namespace sim
