#include "plugin/order_book.h"

#include <algorithm>

namespace kestrova {
namespace {

bool IsOrderIdCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == ':' || c == '-';
}

OrderResult ResultFromText(std::string_view text)
{
    if (text == "delivered")
        return OrderResult::Delivered;
    if (text == "kept-in-world")
        return OrderResult::KeptInWorld;
    if (text == "partly")
        return OrderResult::Partly;
    if (text == "nothing")
        return OrderResult::Nothing;
    if (text == "failed")
        return OrderResult::Failed;
    return OrderResult::Other;
}

}  // namespace

bool IsValidOrderId(std::string_view id)
{
    return !id.empty() && id.size() <= 64 && std::all_of(id.begin(), id.end(), IsOrderIdCharacter);
}

std::string_view ReadOrderLine(const LedgerLineFields& fields, OrderLine& line)
{
    using Kind = LedgerLineFields::Kind;
    line = {};
    if (fields.order.kind == Kind::Absent)
        return {};
    if (fields.order.kind != Kind::Text || !IsValidOrderId(fields.order.text))
        return "its \"order\" is not an order id";
    if (fields.event.kind != Kind::Text)
        return "an order line without an \"event\"";
    if (fields.event.text == "outcome") {
        if (fields.result.kind != Kind::Text)
            return "an outcome line without a \"result\"";
        line.hasOutcome = true;
        line.result = ResultFromText(fields.result.text);
    } else if (fields.event.text != "started") {
        return "an order line of an unknown \"event\"";
    }
    line.id = fields.order.text;
    return {};
}

void OrderBook::Record(const OrderLine& line, LineLocation where)
{
    const KnownOrder order{where, line.hasOutcome, line.result};
    if (const auto found = orders_.find(line.id); found != orders_.end())
        found->second = order;
    else
        orders_.emplace(std::string(line.id), order);
}

const KnownOrder* OrderBook::Find(std::string_view id) const
{
    const auto found = orders_.find(id);
    return found == orders_.end() ? nullptr : &found->second;
}

void OrderBook::ForgetBefore(std::uint32_t generation)
{
    std::erase_if(orders_, [generation](const auto& entry) { return entry.second.latest.generation < generation; });
}

}  // namespace kestrova
