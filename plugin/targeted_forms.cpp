#include "plugin/targeted_forms.h"

#include <optional>
#include <utility>

#include "host/game.h"
#include "host/members.h"
#include "host/rcon.h"
#include "host/text.h"
#include "host/words.h"
#include "plugin/json_replies.h"
#include "plugin/reply_settings.h"
#include "plugin/spawn_commands.h"

namespace kestrova {
namespace {

// What sets the six forwarders apart, besides their channel.
struct TargetedForm {
    const char* name;
    int minimumWords;  // counting the command name and the player id
    const SpawnCommand& plain;
};

const TargetedForm kSpawnDinoFor{"KV.SpawnDinoFor", 6, kSpawnDinoCommand};
const TargetedForm kSpawnDinoStatsFor{"KV.SpawnDinoStatsFor", 8, kSpawnDinoStatsCommand};
const TargetedForm kSpawnItemFor{"KV.SpawnItemFor", 6, kSpawnItemCommand};

// The player id word: the targeted forms all take it as word 1.
constexpr int kIdWord = 1;

struct Forwarded {
    AShooterPlayerController* target = nullptr;
    FString line;  // the words without the player id, each followed by one blank
};

// The words, each followed by one blank, without word `leftOut`; its storage
// allocated once.
FString LineWithout(const CommandWords& words, int32 leftOut)
{
    int32 length = 1;  // the NUL
    for (int32 i = 0; i < words.Num(); ++i)
        if (i != leftOut)
            length += static_cast<int32>(words[i].size()) + 1;
    FString line;
    line.GetCharArray().Reserve(length);
    for (int32 i = 0; i < words.Num(); ++i) {
        if (i == leftOut)
            continue;
        line.AppendChars(words[i].data(), static_cast<int32>(words[i].size()));
        line.AppendChars(WTEXT(" "), 1);
    }
    return line;
}

// Splits the line, finds the player named by the id and rebuilds the line without
// it. A line with fewer words than the form needs stops there, with its outcome.
std::optional<Outcome> Forward(const CommandWords& words, const TargetedForm& form, Forwarded& out)
{
    if (words.Num() < form.minimumWords) {
        Stop stop;
        stop.needed = form.minimumWords;
        stop.words = words.Num();
        return Outcome::Nothing(stop);
    }
    out.target = AsaApi::GetApiUtils().FindPlayerById(FString(words[kIdWord]));
    out.line = LineWithout(words, kIdWord);
    if (out.target == nullptr)
        return Outcome::Nothing(StopAt(StopRule::NoSuchPlayer, words, kIdWord));
    return std::nullopt;
}

APlayerController* AsPlayerController(AShooterPlayerController* controller) { return controller; }

// The plain command's outcome, numbered as the targeted line was typed.
Outcome RunPlain(const TargetedForm& form, AShooterPlayerController* target, const FString& line)
{
    Outcome outcome = RunSpawnCommand(form.plain, AsPlayerController(target), line);
    ShiftForTargetedForm(outcome);
    return outcome;
}

void ForwardConsole(const TargetedForm& form, APlayerController* player, FString* line)
{
    if (player == nullptr)
        return;
    const CommandWords words(line->View());
    Forwarded forwarded;
    std::optional<Outcome> stopped = Forward(words, form, forwarded);
    const Outcome outcome = stopped ? std::move(*stopped) : RunPlain(form, forwarded.target, forwarded.line);
    TellIssuingPlayer(form.name, player, outcome);
}

std::optional<ReplyTarget> TargetOf(const CommandWords& words, AShooterPlayerController* target)
{
    if (words.Num() <= kIdWord)
        return std::nullopt;
    ReplyTarget reply{ToUtf8(words[kIdWord]), std::nullopt};
    if (target != nullptr)
        reply.name = ToUtf8(Call(member::PlayerCharacterName, target).View());
    return reply;
}

void ForwardRcon(const TargetedForm& form, RCONClientConnection* connection, RCONPacket* packet)
{
    const bool json = RconRepliesSetting() == RconReplies::Json;
    Forwarded forwarded;
    std::optional<Outcome> stopped;
    std::optional<ReplyTarget> target;
    {
        const CommandWords words(packet->Body.View());
        stopped = Forward(words, form, forwarded);
        if (json && (!stopped || stopped->stop->rule == StopRule::NoSuchPlayer))
            target = TargetOf(words, forwarded.target);
        if (stopped && stopped->stop->rule == StopRule::TooFewWords) {
            // Too short to hand on: no reply at all, unless replies are JSON.
            if (json) {
                FString reply(SpawnReply(form.name, std::nullopt, *stopped).c_str());
                SendRconReply(connection, packet->Id, reply);
            }
            return;
        }
    }
    // The body is rewritten whether or not a player has the id; the words above
    // viewed the old body and are gone.
    packet->Body = std::move(forwarded.line);
    const bool handedOn = forwarded.target != nullptr;
    const Outcome outcome = handedOn ? RunPlain(form, forwarded.target, packet->Body) : std::move(*stopped);
    // Made once the answer is known, so no reply text is made only to be replaced.
    FString reply(json       ? SpawnReply(form.name, target, outcome).c_str()
                  : handedOn ? "Success! Sent to the command processor."
                             : "Failed to give!");
    SendRconReply(connection, packet->Id, reply);
}

}  // namespace

void SpawnDinoForConsole(APlayerController* p, FString* line, bool) { ForwardConsole(kSpawnDinoFor, p, line); }
void SpawnDinoStatsForConsole(APlayerController* p, FString* line, bool) { ForwardConsole(kSpawnDinoStatsFor, p, line); }
void SpawnItemForConsole(APlayerController* p, FString* line, bool) { ForwardConsole(kSpawnItemFor, p, line); }

void SpawnDinoForRcon(RCONClientConnection* c, RCONPacket* packet, UWorld*) { ForwardRcon(kSpawnDinoFor, c, packet); }
void SpawnDinoStatsForRcon(RCONClientConnection* c, RCONPacket* packet, UWorld*) { ForwardRcon(kSpawnDinoStatsFor, c, packet); }
void SpawnItemForRcon(RCONClientConnection* c, RCONPacket* packet, UWorld*) { ForwardRcon(kSpawnItemFor, c, packet); }

}  // namespace kestrova
