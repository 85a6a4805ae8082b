// The one line of JSON an RCON request gets when config.json's "RconReplies" is
// "json". Its fields are a stable interface for shops and bots: "v" changes when
// one of them changes meaning.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/outcome.h"

namespace kestrova {

inline constexpr int kReplyVersion = 1;

// The player a targeted form looked up: name unset when no player has the id.
struct ReplyTarget {
    std::string id;
    std::optional<std::string> name;
};

// {"v":1,"command":...,"target":{"id":...,"name":...}|null,"outcome":{...}}
std::string SpawnReply(std::string_view command, const std::optional<ReplyTarget>& target, const Outcome& outcome);

// {"v":1,"command":"Kestrova.Reload","reloaded":true} or ...,"reloaded":false,"error":...}
std::string ReloadReply(bool reloaded, std::string_view error);

}  // namespace kestrova
