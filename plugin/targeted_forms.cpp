#include "plugin/targeted_forms.h"

#include "dino/spawn_dino_command.h"
#include "host/game.h"
#include "host/rcon.h"
#include "host/words.h"
#include "item/spawn_item_command.h"
#include "plugin/containment.h"

namespace kestrova {
namespace {

using PlainHandler = void (*)(APlayerController*, FString*, bool);

// What sets the six forwarders apart, besides their channel.
struct TargetedForm {
    int minimumWords;  // counting the command name and the player id
    PlainHandler plain;
};

constexpr TargetedForm kSpawnDinoFor{6, &SpawnDinoCommand};
constexpr TargetedForm kSpawnDinoStatsFor{8, &SpawnDinoStatsCommand};
constexpr TargetedForm kSpawnItemFor{6, &SpawnItemCommand};

struct Forwarded {
    AShooterPlayerController* target = nullptr;
    FString line;  // the words without the player id, each followed by one blank
};

// Splits the line, finds the player named by word 1 and rebuilds the line without
// that word. False when the line has fewer words than the form needs.
bool Forward(const FString& line, const TargetedForm& form, Forwarded& out)
{
    TArray<FString> words = SplitWords(line);
    if (words.Num() < form.minimumWords)
        return false;
    out.target = AsaApi::GetApiUtils().FindPlayerById(words[1]);
    words.RemoveAt(1);
    int32 length = 1;  // the NUL
    for (const FString& word : words)
        length += word.Len() + 1;
    out.line.GetCharArray().Reserve(length);
    for (const FString& word : words) {
        out.line += word;
        out.line.AppendChars(WTEXT(" "), 1);
    }
    return true;
}

APlayerController* AsPlayerController(AShooterPlayerController* controller) { return controller; }

void ForwardConsole(const TargetedForm& form, APlayerController* player, FString* line, bool consoleFlag)
{
    if (player == nullptr)
        return;
    Forwarded forwarded;
    if (Forward(*line, form, forwarded) && forwarded.target != nullptr)
        RunContained([&] { form.plain(AsPlayerController(forwarded.target), &forwarded.line, consoleFlag); });
}

void ForwardRcon(const TargetedForm& form, RCONClientConnection* connection, RCONPacket* packet)
{
    FString reply("Failed to give!");
    Forwarded forwarded;
    if (!Forward(packet->Body, form, forwarded))
        return;
    packet->Body = forwarded.line;
    if (forwarded.target != nullptr) {
        // The plain command ends silently on a line it cannot use, as when it is
        // typed; either way the line was handed on.
        RunContained([&] { form.plain(AsPlayerController(forwarded.target), &packet->Body, true); });
        reply = FString("Success! Sent to the command processor.");
    }
    SendRconReply(connection, packet->Id, reply);
}

}  // namespace

void SpawnDinoForConsole(APlayerController* p, FString* line, bool flag) { ForwardConsole(kSpawnDinoFor, p, line, flag); }
void SpawnDinoStatsForConsole(APlayerController* p, FString* line, bool flag) { ForwardConsole(kSpawnDinoStatsFor, p, line, flag); }
void SpawnItemForConsole(APlayerController* p, FString* line, bool flag) { ForwardConsole(kSpawnItemFor, p, line, flag); }

void SpawnDinoForRcon(RCONClientConnection* c, RCONPacket* packet, UWorld*) { ForwardRcon(kSpawnDinoFor, c, packet); }
void SpawnDinoStatsForRcon(RCONClientConnection* c, RCONPacket* packet, UWorld*) { ForwardRcon(kSpawnDinoStatsFor, c, packet); }
void SpawnItemForRcon(RCONClientConnection* c, RCONPacket* packet, UWorld*) { ForwardRcon(kSpawnItemFor, c, packet); }

}  // namespace kestrova
