// Behaviour of single functions that the formula case table does not reach: round trips
// over many values, byte texts, argument shapes and the spreadsheet rules engineers rely on.

#include "FakeContext.h"

#include <gtest/gtest.h>

namespace grid::testing
{
namespace
{
Value n(double x)
{
    return Value::number(x);
}

TEST(Functions, RoundingIsDecimalCorrectAndHalfAwayFromZero)
{
    FakeContext c;
    EXPECT_EQ(c.call("ROUND", {num(2.15), num(1)}), n(2.2));
    EXPECT_EQ(c.call("ROUND", {num(-1.475), num(2)}), n(-1.48));
    EXPECT_EQ(c.call("ROUND", {num(1.005), num(2)}), n(1.01));
    EXPECT_EQ(c.call("ROUND", {num(21.9 / 0.2), num(0)}), n(110));
    EXPECT_EQ(c.call("ROUND", {num(-2.5), num(0)}), n(-3));
    EXPECT_EQ(c.call("ROUNDUP", {num(-2.1), num(0)}), n(-3));
    EXPECT_EQ(c.call("ROUNDDOWN", {num(-2.9), num(0)}), n(-2));
    EXPECT_EQ(c.call("MROUND", {num(1.3), num(0.2)}), n(1.4));
    EXPECT_EQ(c.call("CEILING", {num(0.3), num(0.1)}), n(0.3));
    EXPECT_EQ(c.call("FLOOR", {num(0.7), num(0.1)}), n(0.7));
}

TEST(Functions, AndOrLookAtEveryArgument)
{
    FakeContext c;
    const Arg na = Arg::ofValue(Value::error(ErrorCode::NA));
    const Arg no = Arg::ofValue(Value::logical(false));
    const Arg yes = Arg::ofValue(Value::logical(true));
    EXPECT_EQ(c.call("AND", {no, na}), Value::error(ErrorCode::NA));
    EXPECT_EQ(c.call("OR", {yes, na}), Value::error(ErrorCode::NA));
    EXPECT_EQ(c.call("XOR", {yes, na}), Value::error(ErrorCode::NA));
    EXPECT_EQ(c.call("AND", {Arg::ofValue(Value())}), Value::error(ErrorCode::Value)); // nothing to judge
}

TEST(Functions, DatePartsRoundTripThroughDate)
{
    FakeContext c;
    for (int year : {1900, 1901, 1904, 1999, 2000, 2024, 2100, 9999})
        for (int month = 1; month <= 12; ++month)
            for (int day : {1, 15, 28})
            {
                const Value serial = c.call("DATE", {num(year), num(month), num(day)});
                ASSERT_TRUE(serial.isNumber()) << year << "-" << month << "-" << day;
                const Arg s = Arg::ofValue(serial);
                EXPECT_EQ(c.call("YEAR", {s}), n(year));
                EXPECT_EQ(c.call("MONTH", {s}), n(month));
                EXPECT_EQ(c.call("DAY", {s}), n(day));
            }
}

TEST(Functions, WeekdayNumberingsOverOneWeek)
{
    FakeContext c;
    // 17 March 2024 was a Sunday; expected numbers for Sunday…Saturday per return type.
    const struct
    {
        int type;
        int sunday[7];
    } types[] = {
        {1, {1, 2, 3, 4, 5, 6, 7}},  {2, {7, 1, 2, 3, 4, 5, 6}},  {3, {6, 0, 1, 2, 3, 4, 5}},
        {11, {7, 1, 2, 3, 4, 5, 6}}, {12, {6, 7, 1, 2, 3, 4, 5}}, {13, {5, 6, 7, 1, 2, 3, 4}},
        {14, {4, 5, 6, 7, 1, 2, 3}}, {15, {3, 4, 5, 6, 7, 1, 2}}, {16, {2, 3, 4, 5, 6, 7, 1}},
        {17, {1, 2, 3, 4, 5, 6, 7}},
    };
    for (const auto& t : types)
        for (int d = 0; d < 7; ++d)
            EXPECT_EQ(c.call("WEEKDAY", {num(45368 + d), num(t.type)}), n(t.sunday[d]))
                << t.type << " day " << d;
}

TEST(Functions, TimePartsRoundToTheNearestSecond)
{
    FakeContext c;
    const double t = (13 * 3600 + 59 * 60 + 59.6) / 86400.0; // 13:59:59.6 shows as 14:00:00
    EXPECT_EQ(c.call("HOUR", {num(t)}), n(14));
    EXPECT_EQ(c.call("MINUTE", {num(t)}), n(0));
    EXPECT_EQ(c.call("SECOND", {num(t)}), n(0));
    EXPECT_EQ(c.call("TIME", {num(13), num(59), num(59)}), n((13 * 3600 + 59 * 60 + 59) / 86400.0));
    EXPECT_EQ(c.call("TIME", {num(32768), num(0), num(0)}), Value::error(ErrorCode::Num));
}

TEST(Functions, TextsAreBytes)
{
    FakeContext c;
    const std::string accented = "caf\xC3\xA9"; // UTF-8 bytes pass through untouched
    c.cells[{1, 1}] = Value::text(accented);
    EXPECT_EQ(c.call("LEN", {ref(1, 1, 1, 1)}), n(5));
    EXPECT_EQ(c.call("UPPER", {ref(1, 1, 1, 1)}), Value::text("CAF\xC3\xA9"));
    EXPECT_EQ(c.call("CHAR", {num(200)}), Value::text("\xC8"));
    EXPECT_EQ(c.call("CODE", {text("\xE9")}), n(233));
    EXPECT_EQ(c.call("CLEAN", {text("a\x01\x1F\x7F"
                                    "b")}),
              Value::text("a\x7F"
                          "b"));
    EXPECT_EQ(c.call("TRIM", {text("\ta  b\t")}), Value::text("\ta b\t")); // only spaces are trimmed
}

TEST(Functions, AddressQuotesSheetNames)
{
    FakeContext c;
    EXPECT_EQ(
        c.call("ADDRESS", {num(3), num(2), num(1), Arg::ofValue(Value::logical(true)), text("O'Brien")}),
        Value::text("'O''Brien'!$B$3"));
    EXPECT_EQ(c.call("ADDRESS", {num(3), num(2), num(4), Arg::ofValue(Value::logical(true)), text("2024")}),
              Value::text("'2024'!B3"));
    EXPECT_EQ(c.call("ADDRESS", {num(3), num(2), num(1), Arg::ofValue(Value::logical(true)), text("")}),
              Value::text("$B$3"));
}

TEST(Functions, FixedAndTextFormatNumbersForPeople)
{
    FakeContext c;
    EXPECT_EQ(c.call("FIXED", {num(-1234567.891), num(1)}), Value::text("-1,234,567.9"));
    EXPECT_EQ(c.call("FIXED", {num(0.125), num(2)}), Value::text("0.13"));
    EXPECT_EQ(c.call("FIXED", {num(5), num(128)}), Value::error(ErrorCode::Value));
    EXPECT_EQ(c.call("TEXT", {num(-0.5), text("0%;(0%)")}), Value::text("(50%)"));
    EXPECT_EQ(c.call("TEXT", {text("2024-03-15"), text("dd.mm.yyyy")}), Value::text("15.03.2024"));
    EXPECT_EQ(c.call("TEXT", {text("abc"), text("\"[\"@\"]\"")}), Value::text("[abc]"));
    EXPECT_EQ(c.call("TEXT", {Arg::ofValue(Value()), text("0.0")}), Value::text("0.0"));
}

TEST(Functions, ValueReadsNumbersAsPeopleWriteThem)
{
    FakeContext c;
    const struct
    {
        const char* text;
        Value expected;
    } cases[] = {
        {"1,234,567.5", n(1234567.5)},
        {"(12)", n(-12)},
        {"-$3.50", n(-3.5)},
        {"1,23", Value::error(ErrorCode::Value)},
        {",123", Value::error(ErrorCode::Value)},
        {"1,2345", Value::error(ErrorCode::Value)},
        {"12%", n(0.12)},
        {"2:30 PM", n(14.5 / 24)},
        {"1e400", Value::error(ErrorCode::Value)},
    };
    for (const auto& t : cases)
        EXPECT_EQ(c.call("VALUE", {text(t.text)}), t.expected) << t.text;
}

TEST(Functions, LookupsOverArraysAndMixedTypes)
{
    FakeContext c;
    const Arg keys = array(1, 5, {n(1), n(3), Value::text("a"), n(5), Value::text("c")});
    EXPECT_EQ(c.call("MATCH", {num(4), keys}), n(2)); // texts are passed over by a number
    EXPECT_EQ(c.call("MATCH", {text("b"), keys}), n(3));
    EXPECT_EQ(c.call("MATCH", {text("C"), keys, num(0)}), n(5));
    const Arg descending = array(4, 1, {n(40), n(30), n(20), n(10)});
    EXPECT_EQ(c.call("MATCH", {num(25), descending, num(-1)}), n(2));
    EXPECT_EQ(c.call("MATCH", {num(50), descending, num(-1)}), Value::error(ErrorCode::NA));
    const Arg table = array(2, 3, {n(1), n(2), n(3), Value::text("x"), Value::text("y"), Value::text("z")});
    EXPECT_EQ(c.call("HLOOKUP", {num(2.5), table, num(2)}), Value::text("y"));
    EXPECT_EQ(c.call("LOOKUP", {num(9), table}), Value::text("z"));
    EXPECT_EQ(c.call("INDEX", {table, num(0), num(2)}), Value::error(ErrorCode::Value));
    EXPECT_EQ(c.call("VLOOKUP", {Arg::ofValue(Value()), table, num(1)}), Value::error(ErrorCode::NA));
}

TEST(Functions, SumifSumRangeTakesTheCriteriaShape)
{
    FakeContext c;
    for (int r = 1; r <= 4; ++r)
    {
        c.cells[{1, r}] = n(r);
        c.cells[{2, r}] = n(r * 10);
    }
    c.cells[{2, 5}] = n(1000); // beyond the criteria range's height: never summed
    EXPECT_EQ(c.call("SUMIF", {ref(1, 1, 1, 4), text(">2"), ref(2, 1, 2, 1)}), n(70));
    EXPECT_EQ(c.call("SUMIF", {ref(1, 1, 1, 4), text("<>3"), ref(2, 1, 2, 1)}), n(70));
    c.cells[{2, 4}] = Value::error(ErrorCode::Div0);
    EXPECT_EQ(c.call("SUMIF", {ref(1, 1, 1, 4), text(">3"), ref(2, 1, 2, 4)}), Value::error(ErrorCode::Div0));
    EXPECT_EQ(c.call("SUMIF", {ref(1, 1, 1, 4), text("<3"), ref(2, 1, 2, 4)}),
              n(30)); // unmatched errors ignored
}
} // namespace
} // namespace grid::testing
