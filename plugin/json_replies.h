// The one line of JSON an RCON request gets when config.json's "RconReplies" is
// "json". Its fields are a stable interface for shops and bots: "v" changes when
// one of them changes meaning. Like every JSON line the plugin writes, it is
// ASCII (host/json_text.h), so it passes through a game string unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/outcome.h"

namespace kestrova {

class JsonText;

inline constexpr int kReplyVersion = 1;

// The player a targeted form looked up: name unset when no player has the id.
struct ReplyTarget {
    std::string id;
    std::optional<std::string> name;
};

// {"id":...,"name":...}, or null.
void WriteJson(JsonText& json, const std::optional<ReplyTarget>& target);

// {"command":...,"outcome":{...},"target":{"id":...,"name":...}|null,"v":1}
std::string SpawnReply(std::string_view command, const std::optional<ReplyTarget>& target, const Outcome& outcome);

// {"command":"Kestrova.Reload","reloaded":true,"v":1}, or with "error" and false.
std::string ReloadReply(bool reloaded, std::string_view error);

}  // namespace kestrova
