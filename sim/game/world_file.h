// The world file: a JSON object that describes what the simulated game holds.
//
//   {
//     "timeSeconds": 5000.0,                        // UWorld.TimeSeconds at start
//     "players": [                                  // in order; the first is the console's
//       { "id": "1001", "name": "Alice", "team": 50001,
//         "netId": "0002f3a1c9e84b7d9a1e5c6b7d8e9f01",
//         "hasInventory": true,                     // optional, default true
//         "inventorySlots": 1000,                   // optional, default 1000
//         "notifyLevelUp": true,                    // optional, default true: the controller's
//                                                   //   class has "ClientNotifyLevelUp"
//         "items": [ "/Game/.../Stone.Stone" ] }    // optional: blueprints of catalogue items
//     ],                                            //   the inventory starts with
//     "catalogue": { ... },                         // optional, see catalogue.h (the classes, and
//                                                   //   per creature class its sex, times,
//                                                   //   mutations, tamed points and status field;
//                                                   //   per item class its default object's path);
//                                                   //   absent: the built-in world's catalogue
//     "withoutMembers": [ "UWorld.TimeSeconds" ]    // optional: members this game lacks, as after
//   }                                               //   an update; each resolves empty
//
// Keys the game does not know are ignored, so a file can carry sections that a
// later build reads.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace sim {

// A world description that cannot be read; the message names where it is wrong.
class WorldError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr char kBuiltInWorld[] = "built-in world";
inline constexpr char kWithoutMembersKey[] = "withoutMembers";

// Parses `text` as a world description. Errors start with `source`.
nlohmann::json ParseWorld(std::string_view text, const std::string& source);

// Reads and parses the world file at `path`. Errors start with the path.
nlohmann::json ReadWorldFile(const std::filesystem::path& path);

// The world built into the simulator.
std::string_view DefaultWorldText();
nlohmann::json DefaultWorld();

// Values of a world description, each read with an error that says where
// ("players[2].team: ...") when it is missing or of the wrong type.
std::string TextAt(const nlohmann::json& object, const char* key, const std::string& where);
int IntAt(const nlohmann::json& object, const char* key, const std::string& where, std::optional<int> fallback = {});
double NumberAt(const nlohmann::json& object, const char* key, const std::string& where,
                std::optional<double> fallback = {});
bool FlagAt(const nlohmann::json& object, const char* key, const std::string& where, bool fallback);

// The array under `key` of `object` (found at `where`, or at the top level), empty
// when absent.
const nlohmann::json& ListAt(const nlohmann::json& object, const char* key, const std::string& where = {});

}  // namespace sim
