#include "plugin/order_command.h"

#include <optional>
#include <system_error>

#include "host/json_text.h"
#include "host/text.h"
#include "host/words.h"
#include "ledger/ledger.h"
#include "plugin/json_replies.h"
#include "plugin/order_replies.h"
#include "plugin/targeted_forms.h"

namespace kestrova {
namespace {

constexpr int kFormWord = 2;

std::string RefusedOrder(const std::optional<std::string>& order, std::string_view error)
{
    return Refused(kOrderCommand, order, error);
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
std::string Repeat(const Ledger& ledger, const std::string& id, const KnownOrder& known)
{
    JsonText reply = ReplyUpToError(kOrderCommand);
    const KnownLines lines = WriteKnown(reply, ledger, id, known);
    reply.Key("repeat").Bool(true);
    if (known.settlement != OrderSettlement::None)
        WriteSettlement(reply, lines.settlement);
    return reply.Key("v").Int(kReplyVersion).Close().Take();
}

}  // namespace

std::string RunOrder(const Issuer& issuer, const FString& line)
{
    const CommandWords words(line.View());
    const OrderId order =
        ReadOrderId(kOrderCommand, words, kFormWord + 1, "KV.Order needs an order id and a targeted spawn line");
    if (!order.refusal.empty())
        return order.refusal;
    const std::string& id = order.id;
    const TargetedForm* form = FindTargetedForm(words[kFormWord]);
    if (form == nullptr)
        return RefusedOrder(id, "the line after the order id must be KV.SpawnDinoFor, KV.SpawnDinoStatsFor or "
                           "KV.SpawnItemFor");
    Ledger* ledger = DeliveryLedger();
    if (const std::optional<std::string> why = LedgerUnusable(ledger))
        return RefusedOrder(id, *why);

    const auto known = ledger->FindOrder(id);
    if (known && !known->RunsAgain())
        return Repeat(*ledger, id, *known);

    // Made durable before the line runs: a server that dies from here on leaves
    // an order that is never run again.
    JsonText started;
    started.Open().Key("event").String("started").Key("from").Raw(IssuerJson(issuer));
    started.Key("line").String(ToUtf8(line.View())).Key("order").String(id);
    EndLedgerLine(started);
    if (const std::error_code error = ledger->WriteDurable(started.Text()))
        return RefusedOrder(id, Unrecorded("order", error) + ", so it was not run");

    const FString targetedLine = TargetedLine(words);
    FString handedOn;
    const TargetedRun run = RunTargeted(*form, targetedLine, handedOn, true);

    // The outcome and the target, each written once for the line and the reply.
    JsonText outcome;
    WriteJson(outcome, run.outcome);
    JsonText target;
    WriteJson(target, run.target);
    JsonText ended;
    ended.Open().Key("command").String(NameOf(*form)).Key("event").String("outcome").Key("order").String(id);
    ended.Key("outcome").Raw(outcome.Text()).Key("target").Raw(target.Text());
    EndLedgerLine(ended);
    const std::error_code error = ledger->WriteDurable(ended.Text());

    JsonText reply = ReplyUpToError(kOrderCommand);
    if (error)
        reply.Key("error").String(Unrecorded("outcome", error) + "; a retry answers \"interrupted\"");
    reply.Key("order").String(id).Key("outcome").Raw(outcome.Text()).Key("repeat").Bool(false);
    return reply.Key("target").Raw(target.Text()).Key("v").Int(kReplyVersion).Close().Take();
}

std::string OrderStatus(const Issuer&, const FString& line)
{
    const CommandWords words(line.View());
    const OrderId order = ReadOrderId(kOrderStatusCommand, words, kOrderIdWord + 1, "KV.OrderStatus needs an order id");
    if (!order.refusal.empty())
        return order.refusal;
    Ledger* ledger = DeliveryLedger();
    if (const std::optional<std::string> why = LedgerUnusable(ledger))
        return Refused(kOrderStatusCommand, order.id, *why);
    const std::optional<KnownOrder> known = ledger->FindOrder(order.id);
    JsonText reply = ReplyUpToError(kOrderStatusCommand);
    if (!known) {
        reply.Key("order").String(order.id).Key("status").String("unknown");
        return reply.Key("v").Int(kReplyVersion).Close().Take();
    }
    const KnownLines lines = WriteKnown(reply, *ledger, order.id, *known);
    if (known->settlement != OrderSettlement::None)
        WriteSettlement(reply, lines.settlement);
    reply.Key("status").String(known->hasOutcome                               ? "outcome"
                               : known->settlement != OrderSettlement::None ? "settled"
                                                                            : "started");
    if (lines.outcome)
        reply.Key("time").String(lines.outcome->time);
    return reply.Key("v").Int(kReplyVersion).Close().Take();
}

void OrderConsole(APlayerController* player, FString* line, bool)
{
    AnswerOnConsole(kOrderCommand, &RunOrder, player, *line);
}

void OrderRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld*)
{
    AnswerOverRcon(kOrderCommand, &RunOrder, connection, *packet);
}

void OrderStatusConsole(APlayerController* player, FString* line, bool)
{
    AnswerOnConsole(kOrderStatusCommand, &OrderStatus, player, *line);
}

void OrderStatusRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld*)
{
    AnswerOverRcon(kOrderStatusCommand, &OrderStatus, connection, *packet);
}

}  // namespace kestrova
