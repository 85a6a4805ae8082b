#include "plugin/targeted_forms.h"

#include <string>
#include <utility>

#include "host/game.h"
#include "host/members.h"
#include "host/rcon.h"
#include "host/words.h"
#include "plugin/delivery_ledger.h"
#include "plugin/settings.h"
#include "plugin/spawn_commands.h"

namespace kestrova {

// What sets the six forwarders apart, besides their channel.
struct TargetedForm {
    const char* name;
    int minimumWords;  // counting the command name and the player id
    const SpawnCommand& plain;
};

namespace {

const TargetedForm kTargetedForms[] = {
    {"KV.SpawnDinoFor", 6, kSpawnDinoCommand},
    {"KV.SpawnDinoStatsFor", 8, kSpawnDinoStatsCommand},
    {"KV.SpawnItemFor", 6, kSpawnItemCommand},
};
const TargetedForm& kSpawnDinoFor = kTargetedForms[0];
const TargetedForm& kSpawnDinoStatsFor = kTargetedForms[1];
const TargetedForm& kSpawnItemFor = kTargetedForms[2];

// The player id word: the targeted forms all take it as word 1.
constexpr int kIdWord = 1;

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

APlayerController* AsPlayerController(AShooterPlayerController* controller) { return controller; }

// Where the ledger's line of a run starts: the line as it arrived.
std::string Received(const FString& line) { return DeliveryLedger() != nullptr ? ToUtf8(line.View()) : std::string(); }

void ForwardConsole(const TargetedForm& form, APlayerController* player, FString* line)
{
    if (player == nullptr)
        return;
    const std::string received = Received(*line);
    FString handedOn;
    const TargetedRun run = RunTargeted(form, *line, handedOn, DeliveryLedger() != nullptr);
    TellIssuingPlayer(form.name, player, run.outcome);
    RecordRun({player, nullptr}, received, form.name, run.target, run.outcome);
}

void ForwardRcon(const TargetedForm& form, RCONClientConnection* connection, RCONPacket* packet)
{
    const bool json = RconRepliesSetting() == RconReplies::Json;
    const std::string received = Received(packet->Body);
    const TargetedRun run = RunTargeted(form, packet->Body, packet->Body, json || DeliveryLedger() != nullptr);
    RecordRun({nullptr, connection}, received, form.name, run.target, run.outcome);
    // Too short to hand on: no reply at all, unless replies are JSON.
    if (!run.target && !json)
        return;
    // Made once the answer is known, so no reply text is made only to be replaced.
    FString reply(json           ? SpawnReply(form.name, run.target, run.outcome).c_str()
                  : run.handedOn ? "Success! Sent to the command processor."
                                 : "Failed to give!");
    SendRconReply(connection, packet->Id, reply);
}

}  // namespace

const TargetedForm* FindTargetedForm(WideView name)
{
    for (const TargetedForm& form : kTargetedForms)
        if (IsCommandName(form.name, name))
            return &form;
    return nullptr;
}

const char* NameOf(const TargetedForm& form) { return form.name; }

TargetedRun RunTargeted(const TargetedForm& form, const FString& line, FString& handedOn, bool named)
{
    TargetedRun run;
    AShooterPlayerController* target = nullptr;
    {
        const CommandWords words(line.View());
        if (words.Num() < form.minimumWords) {
            Stop stop;
            stop.needed = form.minimumWords;
            stop.words = words.Num();
            run.outcome = Outcome::Nothing(stop);
            return run;
        }
        target = AsaApi::GetApiUtils().FindPlayerById(FString(words[kIdWord]));
        run.target = ReplyTarget{ToUtf8(words[kIdWord]), std::nullopt};
        if (target == nullptr)
            run.outcome = Outcome::Nothing(StopAt(StopRule::NoSuchPlayer, words, kIdWord));
        // The words view `line`, which may be `handedOn`: they end before it is written.
        FString rebuilt = LineWithout(words, kIdWord);
        handedOn = std::move(rebuilt);
    }
    if (target == nullptr)
        return run;
    if (named)
        run.target->name = UnlessMissing([&] { return ToUtf8(Call(member::PlayerCharacterName, target).View()); });
    run.handedOn = true;
    run.outcome = RunSpawnCommand(form.plain, AsPlayerController(target), handedOn);
    ShiftForTargetedForm(run.outcome);
    return run;
}

void SpawnDinoForConsole(APlayerController* p, FString* line, bool) { ForwardConsole(kSpawnDinoFor, p, line); }
void SpawnDinoStatsForConsole(APlayerController* p, FString* line, bool) { ForwardConsole(kSpawnDinoStatsFor, p, line); }
void SpawnItemForConsole(APlayerController* p, FString* line, bool) { ForwardConsole(kSpawnItemFor, p, line); }

void SpawnDinoForRcon(RCONClientConnection* c, RCONPacket* packet, UWorld*) { ForwardRcon(kSpawnDinoFor, c, packet); }
void SpawnDinoStatsForRcon(RCONClientConnection* c, RCONPacket* packet, UWorld*) { ForwardRcon(kSpawnDinoStatsFor, c, packet); }
void SpawnItemForRcon(RCONClientConnection* c, RCONPacket* packet, UWorld*) { ForwardRcon(kSpawnItemFor, c, packet); }

}  // namespace kestrova
