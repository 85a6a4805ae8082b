// Every command form through its registered callback, on the console and over
// RCON: byte 0 picks the form, byte 1 the issuing player, the rest is the line
// after the command name. The configuration is valid throughout, so no command
// may log anything.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/invariants.h"
#include "fuzz/plugin_session.h"
#include "host/words.h"
#include "item/spawn_item_grammar.h"

namespace {

struct Form {
    const char* name;
    bool rcon;
    bool items = false;     // KV.SpawnItem or its targeted form
    bool targeted = false;  // word 1 is the player id
};

constexpr std::array kForms = {
    Form{"KV.SpawnDino", false},
    Form{"KV.SpawnDinoStats", false},
    Form{"KV.SpawnItem", false, true},
    Form{"KV.SpawnDinoFor", false, false, true},
    Form{"KV.SpawnDinoStatsFor", false, false, true},
    Form{"KV.SpawnItemFor", false, true, true},
    Form{"Kestrova.Reload", false},
    Form{"KV.SpawnDinoFor", true, false, true},
    Form{"KV.SpawnDinoStatsFor", true, false, true},
    Form{"KV.SpawnItemFor", true, true, true},
    Form{"Kestrova.Reload", true},
};

constexpr std::array kPlayers = {"1001", "1002", "1003", "1004", "1005", "server"};

// Item counts have no upper bound: a line asking for billions of items is valid
// and merely slow, each item one request to the game. Past this many, another
// item adds nothing the fuzzer has not seen.
constexpr std::int32_t kMostItems = 64;

// How many items a line asks for, as the item command's own grammar reads it (a
// targeted form's line without its player id); 0 for a line of another command.
std::int32_t ItemsAsked(const Form& form, const FString& line)
{
    if (!form.items)
        return 0;
    const kestrova::CommandWords words(line.View());
    TArray<FString> plain;
    for (int32 i = 0; i < words.Num(); ++i)
        if (i != 1 || !form.targeted)
            plain.Add(FString(words[i]));
    return kestrova::ParseSpawnItem(kestrova::CommandWords(plain)).count;
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
    const std::string line = std::string(form.name) + " " + std::string(rest);
    if (ItemsAsked(form, FString(sim::WideView(sim::FromUtf8(line)))) > kMostItems)
        return 0;

    session.Begin();
    if (form.rcon) {
        const auto replies = session.Rcon(line, 7);
        kestrova::fuzz::Require(replies.size() <= 1, "more than one reply to one request");
        for (const sim::RconReply& reply : replies)
            kestrova::fuzz::Require(reply.id == 7, "a reply for another request");
    } else {
        session.Console(player, line);
    }
    kestrova::fuzz::Require(session.Logged().empty(), "a command under a valid configuration logged");
    session.End();
    return 0;
}
