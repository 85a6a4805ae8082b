// The one line of JSON an RCON request gets when config.json's "RconReplies" is
// "json". Its fields are a stable interface for shops and bots: "v" changes when
// one of them changes meaning.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "host/outcome.h"

namespace kestrova {

inline constexpr int kReplyVersion = 1;

// The player a targeted form looked up: name unset when no player has the id.
struct ReplyTarget {
    std::string id;
    std::optional<std::string> name;
};

// {"id":...,"name":...}, or null.
nlohmann::json TargetJson(const std::optional<ReplyTarget>& target);

// One line of ASCII: other characters are escaped, so the line passes through a
// game string unchanged; text that is not UTF-8 is replaced, not refused.
std::string JsonLine(const nlohmann::json& json);

// {"v":1,"command":...,"target":{"id":...,"name":...}|null,"outcome":{...}}
std::string SpawnReply(std::string_view command, const std::optional<ReplyTarget>& target, const Outcome& outcome);

// {"v":1,"command":"Kestrova.Reload","reloaded":true} or ...,"reloaded":false,"error":...}
std::string ReloadReply(bool reloaded, std::string_view error);

}  // namespace kestrova
