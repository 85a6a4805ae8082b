// Order ids, and what an order's lines make of it.
#include <gtest/gtest.h>

#include "ledger/order_book.h"
#include "support/ledger_fixture.h"

namespace kestrova::test {
namespace {

TEST(OrderId, OneTo64LettersDigitsDotsUnderscoresColonsAndDashes)
{
    for (const std::string& id :
         std::vector<std::string>{"a", "shop-4711", "A.b_c:d-9", std::string(64, 'x'),
                                  "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ.:", "_-"})
        EXPECT_TRUE(IsValidOrderId(id)) << id;
    for (const std::string& id : std::vector<std::string>{"", std::string(65, 'x'), "a b", "a/b", "a#1", "a+b", "é",
                                                          "a\nb", std::string("a\0b", 3), "\"a\"", "a,b"})
        EXPECT_FALSE(IsValidOrderId(id)) << id;
}

// The order line that `line` is, or its problem. The order's id points into the
// line, so the line is kept until the next read.
std::string Read(const std::string& line, OrderLine& order)
{
    static std::string kept;
    kept = line;
    static LedgerLineFields fields;
    if (!ScanLedgerLine(kept, fields))
        return "not an object";
    return std::string(ReadOrderLine(fields, order));
}

TEST(OrderBook, EachResultIsReadAndOnlyNothingRunsAgain)
{
    const std::pair<const char*, OrderResult> results[] = {
        {"delivered", OrderResult::Delivered}, {"kept-in-world", OrderResult::KeptInWorld},
        {"partly", OrderResult::Partly},       {"nothing", OrderResult::Nothing},
        {"failed", OrderResult::Failed},       {"something new", OrderResult::Other},
    };
    for (const auto& [text, result] : results) {
        OrderLine order;
        ASSERT_EQ(Read(OutcomeLine("a", text), order), "") << text;
        EXPECT_EQ(order.id, "a");
        EXPECT_TRUE(order.hasOutcome);
        EXPECT_EQ(order.result, result) << text;
        EXPECT_EQ((KnownOrder{{}, true, result}.RunsAgain()), result == OrderResult::Nothing) << text;
    }
    // Interrupted: started, no outcome; it never runs again.
    OrderLine started;
    ASSERT_EQ(Read(StartedLine("a"), started), "");
    EXPECT_FALSE(started.hasOutcome);
    EXPECT_FALSE((KnownOrder{{}, false, started.result}.RunsAgain()));
    // A line without "order" is not about an order.
    OrderLine run;
    EXPECT_EQ(Read(RunLine(1), run), "");
    EXPECT_TRUE(run.id.empty());
}

// A settlement follows an interrupted start; only "not-delivered" lets the order
// run again, and the next start leaves it unsettled.
TEST(OrderBook, ASettlementIsReadWithItsDecisionAndEndsWithTheNextStart)
{
    const auto settled = [](const std::string& decision) {
        return R"({"decision":)" + decision + R"(,"event":"settled","from":{"console":null},"note":null,"order":"a"})";
    };
    const std::pair<std::string, OrderSettlement> decisions[] = {
        {R"("delivered")", OrderSettlement::Delivered},
        {R"("not-delivered")", OrderSettlement::NotDelivered},
        {R"("not\u002ddelivered")", OrderSettlement::NotDelivered},
    };
    OrderBook book;
    for (const auto& [decision, settlement] : decisions) {
        OrderLine order;
        ASSERT_EQ(Read(settled(decision), order), "") << decision;
        EXPECT_EQ(order.settlement, settlement);
        EXPECT_FALSE(order.hasOutcome);
        book.Record(order, {});
        EXPECT_EQ(book.Find("a")->settlement, settlement);
        EXPECT_EQ(book.Find("a")->RunsAgain(), settlement == OrderSettlement::NotDelivered) << decision;
    }
    for (const std::string& decision : {std::string(R"("maybe")"), std::string("1"), std::string("null")}) {
        OrderLine order;
        EXPECT_EQ(Read(settled(decision), order),
                  "a settled line without a \"decision\" of delivered or not-delivered")
            << decision;
    }
    OrderLine restarted;
    ASSERT_EQ(Read(StartedLine("a"), restarted), "");
    book.Record(restarted, {});
    EXPECT_EQ(book.Find("a")->settlement, OrderSettlement::None);
    EXPECT_FALSE(book.Find("a")->hasOutcome);
    EXPECT_FALSE(book.Find("a")->RunsAgain());
}

TEST(OrderBook, TheLatestLineOfAnOrderCountsAndRotatedOutOrdersAreForgotten)
{
    OrderBook book;
    const auto record = [&book](std::string_view id, bool hasOutcome, OrderResult result, std::uint32_t generation) {
        book.Record({id, hasOutcome, result}, {0, 1, generation});
    };
    record("a", true, OrderResult::Nothing, 1);
    record("b", false, OrderResult::Other, 1);
    record("a", false, OrderResult::Other, 2);  // a retry that runs again
    record("c", true, OrderResult::Delivered, 3);
    ASSERT_EQ(book.Size(), 3u);
    EXPECT_FALSE(book.Find("a")->hasOutcome);
    EXPECT_EQ(book.Find("a")->latest.generation, 2u);
    EXPECT_FALSE(book.Find("missing"));

    book.ForgetBefore(2);
    EXPECT_EQ(book.Size(), 2u);
    EXPECT_FALSE(book.Find("b"));
    EXPECT_TRUE(book.Find("a"));
    EXPECT_TRUE(book.Find("c"));
}

// Many orders, so that the table grows several times and ids share slots'
// neighbourhoods: each is found with its own state, and a prune keeps exactly
// the newer ones.
TEST(OrderBook, ManyOrdersKeepTheirOwnStateThroughGrowthAndPruning)
{
    OrderBook book;
    const auto id = [](int n) { return "order-" + std::to_string(n); };
    for (int n = 0; n < 20000; ++n)
        book.Record({id(n), n % 3 == 0, OrderResult::Partly},
                    {static_cast<std::uint64_t>(n), 1, static_cast<std::uint32_t>(n % 4)});
    ASSERT_EQ(book.Size(), 20000u);
    book.ForgetBefore(2);
    EXPECT_EQ(book.Size(), 10000u);
    for (int n = 0; n < 20000; ++n) {
        const std::optional<KnownOrder> order = book.Find(id(n));
        ASSERT_EQ(order.has_value(), n % 4 >= 2) << n;
        if (order) {
            EXPECT_EQ(order->latest.offset, static_cast<std::uint64_t>(n));
            EXPECT_EQ(order->hasOutcome, n % 3 == 0);
        }
    }
    EXPECT_FALSE(book.Find("order-20000"));
    EXPECT_FALSE(book.Find(""));
}

}  // namespace
}  // namespace kestrova::test
