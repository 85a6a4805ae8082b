// Every command form through its registered callback, on the console and over
// RCON: byte 0 picks the form, byte 1 the issuing player, the rest is the line
// after the command name.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/invariants.h"
#include "fuzz/plugin_session.h"

namespace {

struct Form {
    const char* name;
    bool rcon;
};

constexpr std::array kForms = {
    Form{"KV.SpawnDino", false},         Form{"KV.SpawnDinoStats", false}, Form{"KV.SpawnItem", false},
    Form{"KV.SpawnDinoFor", false},      Form{"KV.SpawnDinoStatsFor", false}, Form{"KV.SpawnItemFor", false},
    Form{"Kestrova.Reload", false},      Form{"KV.SpawnDinoFor", true},    Form{"KV.SpawnDinoStatsFor", true},
    Form{"KV.SpawnItemFor", true},       Form{"Kestrova.Reload", true},
};

constexpr std::array kPlayers = {"1001", "1002", "1003", "1004", "1005", "server"};

// Item counts have no upper bound; a line asking for billions of items is valid
// and merely slow, so such lines are left out rather than reported as hangs.
bool AsksForTooMuch(std::string_view text)
{
    int digits = 0;
    for (const char c : text) {
        digits = (c >= '0' && c <= '9') ? digits + 1 : 0;
        if (digits > 4)
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static kestrova::fuzz::PluginSession session("command");
    if (size < 2)
        return 0;
    const Form& form = kForms[data[0] % kForms.size()];
    const char* player = kPlayers[data[1] % kPlayers.size()];
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    if (AsksForTooMuch(rest))
        return 0;
    const std::string line = std::string(form.name) + " " + std::string(rest);

    session.Begin();
    if (form.rcon) {
        const auto replies = session.Rcon(line, 7);
        kestrova::fuzz::Require(replies.size() <= 1, "more than one reply to one request");
        for (const sim::RconReply& reply : replies)
            kestrova::fuzz::Require(reply.id == 7, "a reply for another request");
    } else {
        session.Console(player, line);
    }
    session.End();
    return 0;
}
