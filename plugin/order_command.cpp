#include "plugin/order_command.h"

#include <system_error>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "host/rcon.h"
#include "host/text.h"
#include "host/words.h"
#include "plugin/json_replies.h"
#include "plugin/ledger.h"
#include "plugin/messenger.h"
#include "plugin/targeted_forms.h"

namespace kestrova {
namespace {

constexpr int kIdWord = 1;
constexpr int kFormWord = 2;

nlohmann::json Reply(const nlohmann::json& order)
{
    return {{"v", kReplyVersion}, {"command", kOrderCommand}, {"order", order}};
}

std::string Refused(const nlohmann::json& order, std::string_view error)
{
    nlohmann::json reply = Reply(order);
    reply["error"] = error;
    return JsonLine(reply);
}

// The targeted line: the words from the form's name on, each followed by one blank.
FString TargetedLine(const CommandWords& words)
{
    FString line;
    for (int32 i = kFormWord; i < words.Num(); ++i) {
        line.AppendChars(words[i].data(), static_cast<int32>(words[i].size()));
        line.AppendChars(WTEXT(" "), 1);
    }
    return line;
}

// A repeat answers with what the ledger recorded, and runs nothing.
std::string Repeat(Ledger& ledger, const std::string& id, const KnownOrder& known)
{
    nlohmann::json reply = Reply(id);
    reply["repeat"] = true;
    if (!known.hasOutcome) {
        reply["outcome"] = {{"result", "interrupted"}};
    } else if (std::optional<nlohmann::json> outcome = ledger.RecordedOutcome(id)) {
        reply["outcome"] = std::move(*outcome);
    } else {
        reply["outcome"] = nullptr;
        reply["error"] = "the recorded outcome could not be read back from the ledger";
    }
    return JsonLine(reply);
}

std::string Unrecorded(std::string_view what, const std::error_code& error)
{
    return fmt::format("the {} could not be made durable in the ledger ({})", what, error.message());
}

}  // namespace

std::string RunOrder(const Issuer& issuer, const FString& line)
{
    const CommandWords words(line.View());
    if (words.Num() <= kFormWord)
        return Refused(words.Num() > kIdWord ? nlohmann::json(ToUtf8(words[kIdWord])) : nlohmann::json(),
                       "KV.Order needs an order id and a targeted spawn line");
    const std::string id = ToUtf8(words[kIdWord]);
    if (!IsValidOrderId(id))
        return Refused(id, "an order id is 1 to 64 characters of A-Z a-z 0-9 . _ : -");
    const TargetedForm* form = FindTargetedForm(words[kFormWord]);
    if (form == nullptr)
        return Refused(id, "the line after the order id must be KV.SpawnDinoFor, KV.SpawnDinoStatsFor or "
                           "KV.SpawnItemFor");
    Ledger* ledger = DeliveryLedger();
    if (ledger == nullptr)
        return Refused(id, DeliveryLedgerClosedBecause());
    if (!ledger->Ready())
        return Refused(id, "the delivery ledger is still being read back; nothing was run, try again shortly");

    const auto known = ledger->FindOrder(id);
    if (known && !known->RunsAgain())
        return Repeat(*ledger, id, *known);

    // Made durable before the line runs: a server that dies from here on leaves
    // an order that is never run again.
    nlohmann::json started = LedgerLineStart();
    started["order"] = id;
    started["event"] = "started";
    started["from"] = IssuerJson(issuer);
    started["line"] = ToUtf8(line.View());
    if (const std::error_code error = ledger->WriteDurable(JsonLine(started)))
        return Refused(id, Unrecorded("order", error) + ", so it was not run");

    const FString targetedLine = TargetedLine(words);
    FString handedOn;
    const TargetedRun run = RunTargeted(*form, targetedLine, handedOn, true);

    nlohmann::json ended = LedgerLineStart();
    ended["order"] = id;
    ended["event"] = "outcome";
    ended["command"] = NameOf(*form);
    ended["target"] = TargetJson(run.target);
    ended["outcome"] = ToJson(run.outcome);
    const std::error_code error = ledger->WriteDurable(JsonLine(ended));

    nlohmann::json reply = Reply(id);
    reply["repeat"] = false;
    reply["target"] = ended["target"];
    reply["outcome"] = ended["outcome"];
    if (error)
        reply["error"] = Unrecorded("outcome", error) + "; a retry answers \"interrupted\"";
    return JsonLine(reply);
}

namespace {

// An order always gets its reply, also when something in it raised.
std::string ContainedOrder(const Issuer& issuer, const FString& line)
{
    try {
        return RunOrder(issuer, line);
    } catch (const std::exception& e) {
        return Refused(nullptr, e.what());
    }
}

}  // namespace

void OrderConsole(APlayerController* player, FString* line, bool)
{
    if (player == nullptr)
        return;
    SendToPlayer(player, kWhite, ContainedOrder({player, nullptr}, *line));
}

void OrderRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld*)
{
    FString reply(ContainedOrder({nullptr, connection}, packet->Body).c_str());
    SendRconReply(connection, packet->Id, reply);
}

}  // namespace kestrova
