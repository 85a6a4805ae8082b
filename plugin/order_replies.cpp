#include "plugin/order_replies.h"

#include <fmt/format.h>

#include "host/rcon.h"
#include "host/text.h"
#include "ledger/order_book.h"
#include "plugin/json_replies.h"
#include "plugin/messenger.h"

namespace kestrova {
namespace {

// The settlement a "settled" line records; nothing when the line lacks a part.
std::optional<Settlement> SettlementOf(const nlohmann::json& line)
{
    const auto text = [&line](const char* key) -> const std::string* {
        const auto found = line.find(key);
        return found != line.end() && found->is_string() ? &found->get_ref<const std::string&>() : nullptr;
    };
    const auto from = line.find("from");
    const auto note = line.find("note");
    if (text("decision") == nullptr || text("time") == nullptr || from == line.end() || note == line.end() ||
        !(note->is_string() || note->is_null()))
        return std::nullopt;
    Settlement settlement{*text("decision"), from->dump(-1, ' ', true, nlohmann::json::error_handler_t::replace),
                          std::nullopt, *text("time")};
    if (note->is_string())
        settlement.note = note->get<std::string>();
    return settlement;
}

// Every request gets its reply, also when something in it raised.
std::string Answered(const char* command, OrderAnswer answer, const Issuer& issuer, const FString& line)
{
    try {
        return answer(issuer, line);
    } catch (const std::exception& e) {
        return Refused(command, std::nullopt, e.what());
    }
}

}  // namespace

JsonText ReplyUpToError(const char* command)
{
    JsonText reply;
    reply.Open().Key("command").String(command);
    return reply;
}

std::string Refused(const char* command, const std::optional<std::string>& order, std::string_view error)
{
    JsonText reply = ReplyUpToError(command);
    reply.Key("error").String(error).Key("order").StringOrNull(order);
    return reply.Key("v").Int(kReplyVersion).Close().Take();
}

std::optional<std::string> LedgerUnusable(Ledger* ledger)
{
    if (ledger == nullptr)
        return DeliveryLedgerClosedBecause();
    if (!ledger->Ready())
        return "the delivery ledger is still being read back; nothing was run, try again shortly";
    return std::nullopt;
}

OrderId ReadOrderId(const char* command, const CommandWords& words, int wordsNeeded, std::string_view usage)
{
    if (words.Num() < wordsNeeded)
        return {{},
                Refused(command, words.Num() > kOrderIdWord ? std::optional(ToUtf8(words[kOrderIdWord])) : std::nullopt,
                        usage)};
    std::string id = ToUtf8(words[kOrderIdWord]);
    if (!IsValidOrderId(id))
        return {{}, Refused(command, id, "an order id is 1 to 64 characters of A-Z a-z 0-9 . _ : -")};
    return {std::move(id), {}};
}

std::string Unrecorded(std::string_view what, const std::error_code& error)
{
    return fmt::format("the {} could not be made durable in the ledger ({})", what, error.message());
}

void WriteSettlement(JsonText& reply, const std::optional<Settlement>& recorded)
{
    reply.Key("settlement");
    if (!recorded) {
        reply.Null();
        return;
    }
    const Settlement& settlement = *recorded;
    reply.Open().Key("decision").String(settlement.decision).Key("from").Raw(settlement.fromJson);
    reply.Key("note").StringOrNull(settlement.note).Key("time").String(settlement.time).Close();
}

KnownLines WriteKnown(JsonText& reply, const Ledger& ledger, const std::string& id, const KnownOrder& known)
{
    KnownLines lines;
    if (known.hasOutcome) {
        lines.outcome = ledger.RecordedOutcome(id);
        if (!lines.outcome)
            reply.Key("error").String("the recorded outcome could not be read back from the ledger");
    } else if (known.settlement != OrderSettlement::None) {
        if (const std::optional<nlohmann::json> line = ledger.LatestLine(id, "settled"))
            lines.settlement = SettlementOf(*line);
        if (!lines.settlement)
            reply.Key("error").String("the recorded settlement could not be read back from the ledger");
    }
    reply.Key("order").String(id).Key("outcome");
    if (!known.hasOutcome)
        reply.Open().Key("result").String("interrupted").Close();
    else if (lines.outcome)
        // Read back from a line these rules wrote, and so written as they write it.
        reply.Raw(lines.outcome->outcome.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace));
    else
        reply.Null();
    return lines;
}

void AnswerOnConsole(const char* command, OrderAnswer answer, APlayerController* player, const FString& line)
{
    if (player == nullptr)
        return;  // the server's console has nobody to answer
    SendToPlayer(player, kWhite, Answered(command, answer, {player, nullptr}, line));
}

void AnswerOverRcon(const char* command, OrderAnswer answer, RCONClientConnection* connection,
                    const RCONPacket& packet)
{
    FString text(Answered(command, answer, {nullptr, connection}, packet.Body).c_str());
    SendRconReply(connection, packet.Id, text);
}

}  // namespace kestrova
