// What the tools send kestrova-sim unless told otherwise.
#pragma once

namespace kestrova::tools {

inline constexpr char kDefaultPassword[] = "kestrova";

// A stone into Alice's inventory: the forwarder, the item command and the game. Her
// inventory fills after its first thousand; from then on nothing lasting is made.
inline constexpr char kSpawnCommand[] =
    "KV.SpawnItemFor 1001 Blueprint'/Game/Items/Resources/PrimalItemResource_Stone.PrimalItemResource_Stone' \"\" 0 0 1";
inline constexpr char kSpawnReply[] = "Success! Sent to the command processor.";

// No such player: the forwarder answers at once, nothing is made.
inline constexpr char kCheapCommand[] = "KV.SpawnItemFor 9999 a b 0 0 1";

}  // namespace kestrova::tools
