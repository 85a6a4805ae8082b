#include "plugin/order_command.h"

#include <optional>
#include <system_error>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "host/json_text.h"
#include "host/rcon.h"
#include "host/text.h"
#include "host/words.h"
#include "ledger/ledger.h"
#include "plugin/json_replies.h"
#include "plugin/messenger.h"
#include "plugin/targeted_forms.h"

namespace kestrova {
namespace {

constexpr int kOrderIdWord = 1;
constexpr int kFormWord = 2;

// A reply's fields are in byte order: command, error, order, outcome, repeat,
// status, target, time, v.
JsonText ReplyUpToError(const char* command)
{
    JsonText reply;
    reply.Open().Key("command").String(command);
    return reply;
}

std::string Refused(const char* command, const std::optional<std::string>& order, std::string_view error)
{
    JsonText reply = ReplyUpToError(command);
    reply.Key("error").String(error).Key("order");
    if (order)
        reply.String(*order);
    else
        reply.Null();
    return reply.Key("v").Int(kReplyVersion).Close().Take();
}

std::string Refused(const std::optional<std::string>& order, std::string_view error)
{
    return Refused(kOrderCommand, order, error);
}

// Why an order request cannot use the ledger now; nothing when it is open and read back.
std::optional<std::string> LedgerUnusable(Ledger* ledger)
{
    if (ledger == nullptr)
        return DeliveryLedgerClosedBecause();
    if (!ledger->Ready())
        return "the delivery ledger is still being read back; nothing was run, try again shortly";
    return std::nullopt;
}

// The id word of `words` when it is a valid order id, or the refusal of `command`.
struct OrderId {
    std::string id;
    std::string refusal;  // empty: the id is valid
};
OrderId ReadOrderId(const char* command, const CommandWords& words, int wordsNeeded, std::string_view usage)
{
    if (words.Num() < wordsNeeded)
        return {{}, Refused(command, words.Num() > kOrderIdWord ? std::optional(ToUtf8(words[kOrderIdWord])) : std::nullopt, usage)};
    std::string id = ToUtf8(words[kOrderIdWord]);
    if (!IsValidOrderId(id))
        return {{}, Refused(command, id, "an order id is 1 to 64 characters of A-Z a-z 0-9 . _ : -")};
    return {std::move(id), {}};
}

// What the ledger recorded of a known order, written at "outcome" of `reply`;
// an interrupted one has the result "interrupted". The error, if the outcome
// cannot be read back, is written first, as the fields' order needs.
std::optional<Ledger::Recorded> WriteRecorded(JsonText& reply, const Ledger& ledger, const std::string& id,
                                              const KnownOrder& known)
{
    std::optional<Ledger::Recorded> recorded;
    if (known.hasOutcome)
        recorded = ledger.RecordedOutcome(id);
    if (known.hasOutcome && !recorded)
        reply.Key("error").String("the recorded outcome could not be read back from the ledger");
    reply.Key("order").String(id).Key("outcome");
    if (!known.hasOutcome)
        reply.Open().Key("result").String("interrupted").Close();
    else if (recorded)
        // Read back from a line these rules wrote, and so written as they write it.
        reply.Raw(recorded->outcome.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace));
    else
        reply.Null();
    return recorded;
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
    WriteRecorded(reply, ledger, id, known);
    return reply.Key("repeat").Bool(true).Key("v").Int(kReplyVersion).Close().Take();
}

std::string Unrecorded(std::string_view what, const std::error_code& error)
{
    return fmt::format("the {} could not be made durable in the ledger ({})", what, error.message());
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
        return Refused(id, "the line after the order id must be KV.SpawnDinoFor, KV.SpawnDinoStatsFor or "
                           "KV.SpawnItemFor");
    Ledger* ledger = DeliveryLedger();
    if (const std::optional<std::string> why = LedgerUnusable(ledger))
        return Refused(id, *why);

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
        return Refused(id, Unrecorded("order", error) + ", so it was not run");

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

std::string OrderStatus(const FString& line)
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
    const std::optional<Ledger::Recorded> recorded = WriteRecorded(reply, *ledger, order.id, *known);
    reply.Key("status").String(known->hasOutcome ? "outcome" : "started");
    if (recorded)
        reply.Key("time").String(recorded->time);
    return reply.Key("v").Int(kReplyVersion).Close().Take();
}

namespace {

// Every request gets its reply, also when something in it raised.
template <typename Run>
std::string Contained(const char* command, Run run)
{
    try {
        return run();
    } catch (const std::exception& e) {
        return Refused(command, std::nullopt, e.what());
    }
}

void ReplyOnConsole(APlayerController* player, const std::string& reply)
{
    if (player != nullptr)
        SendToPlayer(player, kWhite, reply);
}

void ReplyOverRcon(RCONClientConnection* connection, const RCONPacket& packet, const std::string& reply)
{
    FString text(reply.c_str());
    SendRconReply(connection, packet.Id, text);
}

}  // namespace

void OrderConsole(APlayerController* player, FString* line, bool)
{
    if (player == nullptr)
        return;
    ReplyOnConsole(player, Contained(kOrderCommand, [&] { return RunOrder({player, nullptr}, *line); }));
}

void OrderRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld*)
{
    ReplyOverRcon(connection, *packet,
                  Contained(kOrderCommand, [&] { return RunOrder({nullptr, connection}, packet->Body); }));
}

void OrderStatusConsole(APlayerController* player, FString* line, bool)
{
    if (player == nullptr)
        return;
    ReplyOnConsole(player, Contained(kOrderStatusCommand, [&] { return OrderStatus(*line); }));
}

void OrderStatusRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld*)
{
    ReplyOverRcon(connection, *packet, Contained(kOrderStatusCommand, [&] { return OrderStatus(packet->Body); }));
}

}  // namespace kestrova
