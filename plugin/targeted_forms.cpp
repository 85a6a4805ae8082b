#include "plugin/targeted_forms.h"

#include <utility>

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

// Splits the line, finds the player named by word 1 and rebuilds the line without
// that word. False when the line has fewer words than the form needs.
bool Forward(const FString& line, const TargetedForm& form, Forwarded& out)
{
    const CommandWords words(line.View());
    if (words.Num() < form.minimumWords)
        return false;
    out.target = AsaApi::GetApiUtils().FindPlayerById(FString(words[1]));
    out.line = LineWithout(words, 1);
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
    Forwarded forwarded;
    if (!Forward(packet->Body, form, forwarded))
        return;
    packet->Body = std::move(forwarded.line);
    const bool handedOn = forwarded.target != nullptr;
    if (handedOn) {
        // The plain command ends silently on a line it cannot use, as when it is
        // typed; either way the line was handed on.
        RunContained([&] { form.plain(AsPlayerController(forwarded.target), &packet->Body, true); });
    }
    // Made once the answer is known, so no reply text is made only to be replaced.
    FString reply(handedOn ? "Success! Sent to the command processor." : "Failed to give!");
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
