#include "plugin/spawn_commands.h"

#include "dino/spawn_dino_command.h"
#include "item/spawn_item_command.h"
#include "host/text.h"
#include "plugin/containment.h"
#include "plugin/delivery_ledger.h"
#include "plugin/messenger.h"
#include "plugin/settings.h"

namespace kestrova {

const SpawnCommand kSpawnDinoCommand{"KV.SpawnDino", &SpawnDino};
const SpawnCommand kSpawnDinoStatsCommand{"KV.SpawnDinoStats", &SpawnDinoStats};
const SpawnCommand kSpawnItemCommand{"KV.SpawnItem", &SpawnItem};

Outcome RunSpawnCommand(const SpawnCommand& command, APlayerController* player, const FString& line)
{
    return RunForOutcome([&] { return command.run(player, line); });
}

void TellIssuingPlayer(std::string_view command, APlayerController* player, const Outcome& outcome)
{
    if (player == nullptr || outcome.result == Outcome::Result::Delivered || !ConsoleFeedbackSetting())
        return;
    SendToPlayer(player, kRed, PlainWords(command, outcome));
}

namespace {

void RunOnConsole(const SpawnCommand& command, APlayerController* player, const FString& line)
{
    const Outcome outcome = RunSpawnCommand(command, player, line);
    TellIssuingPlayer(command.name, player, outcome);
    if (DeliveryLedger() != nullptr)
        RecordRun({player, nullptr}, ToUtf8(line.View()), command.name, std::nullopt, outcome);
}

}  // namespace

void SpawnDinoCommand(APlayerController* player, FString* line, bool) { RunOnConsole(kSpawnDinoCommand, player, *line); }
void SpawnDinoStatsCommand(APlayerController* player, FString* line, bool)
{
    RunOnConsole(kSpawnDinoStatsCommand, player, *line);
}
void SpawnItemCommand(APlayerController* player, FString* line, bool) { RunOnConsole(kSpawnItemCommand, player, *line); }

}  // namespace kestrova
