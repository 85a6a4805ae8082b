#include "plugin/order_settle_command.h"

#include <chrono>
#include <optional>
#include <system_error>

#include "host/json_text.h"
#include "host/text.h"
#include "host/words.h"
#include "ledger/ledger.h"
#include "ledger/utc_time.h"
#include "plugin/json_replies.h"
#include "plugin/order_replies.h"

namespace kestrova {
namespace {

constexpr int kDecisionWord = 2;
constexpr int kNoteWord = 3;

std::string RefusedSettlement(const std::string& order, std::string_view error)
{
    return Refused(kOrderSettleCommand, order, error);
}

// Why `known` cannot be settled; nothing when it is interrupted.
std::optional<std::string> NotSettleable(const std::optional<KnownOrder>& known)
{
    if (!known)
        return "the ledger knows no order with this id; only an interrupted order can be settled";
    if (known->settlement != OrderSettlement::None)
        return "the order was settled already; a settlement is final";
    if (known->hasOutcome)
        return "the order has a recorded outcome; only an interrupted order can be settled";
    return std::nullopt;
}

// The note as typed: from its first word to its last, blanks between them kept.
std::optional<std::string> NoteOf(const CommandWords& words)
{
    if (words.Num() <= kNoteWord)
        return std::nullopt;
    const FString::WideView first = words[kNoteWord];
    const FString::WideView last = words[words.Num() - 1];
    return ToUtf8(FString::WideView(first.data(), static_cast<std::size_t>(last.data() + last.size() - first.data())));
}

}  // namespace

std::string SettleOrder(const Issuer& issuer, const FString& line)
{
    const CommandWords words(line.View());
    const OrderId order = ReadOrderId(kOrderSettleCommand, words, kDecisionWord + 1,
                                      "KV.OrderSettle needs an order id and delivered or not-delivered");
    if (!order.refusal.empty())
        return order.refusal;
    const std::string& id = order.id;
    const std::string decision = ToUtf8(words[kDecisionWord]);
    if (decision != "delivered" && decision != "not-delivered")
        return RefusedSettlement(id, "the decision must be delivered or not-delivered");
    Ledger* ledger = DeliveryLedger();
    if (const std::optional<std::string> why = LedgerUnusable(ledger))
        return RefusedSettlement(id, *why);
    if (const std::optional<std::string> why = NotSettleable(ledger->FindOrder(id)))
        return RefusedSettlement(id, *why);

    const auto now = std::chrono::system_clock::now();
    const Settlement settlement{decision, IssuerJson(issuer), NoteOf(words), UtcTimeText(now)};
    JsonText settled;
    settled.Open().Key("decision").String(settlement.decision).Key("event").String("settled");
    settled.Key("from").Raw(settlement.fromJson).Key("note").StringOrNull(settlement.note);
    settled.Key("order").String(id);
    EndLedgerLine(settled, now);
    // Durable before the reply: a settlement answered is a settlement kept.
    if (const std::error_code error = ledger->WriteDurable(settled.Text()))
        return RefusedSettlement(id, Unrecorded("settlement", error) + ", so the order was not settled");

    JsonText reply = ReplyUpToError(kOrderSettleCommand);
    reply.Key("order").String(id);
    WriteSettlement(reply, settlement);
    return reply.Key("v").Int(kReplyVersion).Close().Take();
}

void OrderSettleConsole(APlayerController* player, FString* line, bool)
{
    AnswerOnConsole(kOrderSettleCommand, &SettleOrder, player, *line);
}

void OrderSettleRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld*)
{
    AnswerOverRcon(kOrderSettleCommand, &SettleOrder, connection, *packet);
}

}  // namespace kestrova
