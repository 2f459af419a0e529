#include "FakeContext.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace grid::testing
{
namespace
{
TEST(Library, OffersEveryFunctionOfTheCoreList)
{
    const char* names = "ABS ACOS ACOSH ASIN ASINH ATAN ATAN2 ATANH CEILING COMBIN COS COSH DEGREES EVEN EXP "
                        "FACT FLOOR GCD INT "
                        "LCM LN LOG LOG10 MOD MROUND ODD PI POWER PRODUCT QUOTIENT RADIANS RAND ROUND "
                        "ROUNDDOWN ROUNDUP SIGN SIN "
                        "SINH SQRT SUM SUMIF SUMPRODUCT SUMSQ TAN TANH TRUNC AVERAGE AVERAGEA COUNT COUNTA "
                        "COUNTBLANK COUNTIF "
                        "LARGE MAX MAXA MEDIAN MIN MINA RANK SMALL STDEV STDEVP VAR VARP AND FALSE NOT OR "
                        "TRUE XOR CHAR CLEAN "
                        "CODE CONCATENATE EXACT FIND FIXED LEFT LEN LOWER MID PROPER REPLACE REPT RIGHT "
                        "SEARCH SUBSTITUTE T TEXT "
                        "TRIM UPPER VALUE ADDRESS COLUMN COLUMNS HLOOKUP INDEX LOOKUP MATCH ROW ROWS VLOOKUP "
                        "ERROR.TYPE ISBLANK "
                        "ISERR ISERROR ISEVEN ISLOGICAL ISNA ISNONTEXT ISNUMBER ISODD ISREF ISTEXT N NA TYPE "
                        "DATE DAY HOUR MINUTE "
                        "MONTH NOW SECOND TIME TODAY WEEKDAY YEAR";
    std::istringstream in(names);
    std::string name;
    int count = 0;
    while (in >> name)
    {
        const FunctionInfo* f = findBuiltin(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(std::string(f->name), name);
        EXPECT_TRUE(f->maxArgs < 0 || f->maxArgs >= f->minArgs) << name;
        ++count;
    }
    EXPECT_GE(builtinFunctions().size(), static_cast<size_t>(count));
    // The lazy functions are the evaluator's.
    for (const char* lazy : {"IF", "IFERROR", "CHOOSE"})
        EXPECT_EQ(findBuiltin(lazy), nullptr) << lazy;
}

TEST(Library, OffersTheFamiliesEngineersReachFor)
{
    for (const char* name : {"IFS",          "SWITCH",       "IFNA",           "SUMIFS",
                             "COUNTIFS",     "AVERAGEIF",    "AVERAGEIFS",     "MAXIFS",
                             "MINIFS",       "XLOOKUP",      "XMATCH",         "TEXTJOIN",
                             "CONCAT",       "DATEVALUE",    "TIMEVALUE",      "EDATE",
                             "EOMONTH",      "DATEDIF",      "DAYS",           "NETWORKDAYS",
                             "WORKDAY",      "ISOWEEKNUM",   "WEEKNUM",        "YEARFRAC",
                             "CEILING.MATH", "FLOOR.MATH",   "STDEV.S",        "STDEV.P",
                             "VAR.S",        "VAR.P",        "PERCENTILE.INC", "PERCENTILE.EXC",
                             "QUARTILE.INC", "QUARTILE.EXC", "MODE",           "GEOMEAN",
                             "HARMEAN",      "AVEDEV",       "DEVSQ",          "CORREL",
                             "SLOPE",        "INTERCEPT",    "FORECAST",       "TREND",
                             "LINEST",       "RANK.EQ",      "RANK.AVG",       "BASE",
                             "DECIMAL",      "BIN2DEC",      "DEC2BIN",        "HEX2DEC",
                             "DEC2HEX",      "ROMAN",        "ARABIC",         "NUMBERVALUE",
                             "UNICHAR",      "UNICODE"})
        EXPECT_NE(findBuiltin(name), nullptr) << name;
    // With IF, IFERROR and CHOOSE, which the evaluator runs itself.
    EXPECT_GE(builtinFunctions().size() + 3, 250u);
}

TEST(Library, NamesIgnoreCase)
{
    EXPECT_EQ(findBuiltin("sum"), findBuiltin("SUM"));
    EXPECT_EQ(findBuiltin("Error.Type"), findBuiltin("ERROR.TYPE"));
    EXPECT_EQ(findBuiltin("SUMX"), nullptr);
    EXPECT_EQ(findBuiltin(""), nullptr);
    EXPECT_EQ(findBuiltin(std::string(100, 'A')), nullptr);
}

TEST(Library, ArraysCountLikeRanges)
{
    FakeContext c;
    const Arg values =
        array(2, 2, {Value::number(1), Value::text("2"), Value::logical(true), Value::number(4)});
    EXPECT_EQ(c.call("SUM", {values}), Value::number(5));
    EXPECT_EQ(c.call("COUNT", {values}), Value::number(2));
    EXPECT_EQ(c.call("COUNTA", {values}), Value::number(4));
    EXPECT_EQ(c.call("AVERAGEA", {values}), Value::number(1.5)); // 1 + 0 + 1 + 4
    EXPECT_EQ(c.call("ROWS", {values}), Value::number(2));
    EXPECT_EQ(c.call("TYPE", {values}), Value::number(64));
    EXPECT_EQ(c.call("INDEX", {values, num(2), num(2)}), Value::number(4));
    EXPECT_EQ(c.call("MATCH",
                     {num(3), array(1, 3, {Value::number(1), Value::number(3), Value::number(5)}), num(0)}),
              Value::number(2));
    EXPECT_EQ(c.call("SUMPRODUCT", {array(1, 2, {Value::number(2), Value::number(3)}),
                                    array(1, 2, {Value::number(4), Value::number(5)})}),
              Value::number(23));
    EXPECT_EQ(c.call("ABS", {array(1, 2, {Value::number(-7), Value::number(3)})}), Value::number(7));
    const Arg withError = array(1, 2, {Value::number(1), Value::error(ErrorCode::NA)});
    EXPECT_EQ(c.call("SUM", {withError}), Value::error(ErrorCode::NA));
}

TEST(Library, ImplicitIntersectionForScalarArguments)
{
    FakeContext c;
    c.cells[{1, 10}] = Value::number(-4);
    c.cells[{10, 2}] = Value::number(-6);
    EXPECT_EQ(c.call("ABS", {ref(1, 1, 1, 20)}), Value::number(4)); // the cell in the calling row
    EXPECT_EQ(c.call("ABS", {ref(1, 2, 20, 2)}), Value::number(6)); // the cell in the calling column
    EXPECT_EQ(c.call("ABS", {ref(1, 11, 1, 20)}), Value::error(ErrorCode::Value));
    EXPECT_EQ(c.call("ABS", {ref(1, 1, 2, 20)}), Value::error(ErrorCode::Value));
}

TEST(Library, ClockAndRandomComeFromTheContext)
{
    FakeContext c;
    EXPECT_EQ(c.call("NOW", {}), Value::number(45000.25));
    EXPECT_EQ(c.call("TODAY", {}), Value::number(45000));
    EXPECT_EQ(c.call("RAND", {}), Value::number(0.125));
    EXPECT_EQ(c.call("ROW", {}), Value::number(10));
    c.col = 3;
    EXPECT_EQ(c.call("COLUMN", {}), Value::number(3));
}

TEST(Library, TextResultsAreCapped)
{
    FakeContext c;
    EXPECT_EQ(c.call("REPT", {text("x"), num(1e12)}), Value::error(ErrorCode::Value));
    const std::string half(20000, 'a');
    c.cells[{1, 1}] = Value::text(half);
    EXPECT_EQ(c.call("CONCATENATE", {ref(1, 1, 1, 1), ref(1, 1, 1, 1)}), Value::error(ErrorCode::Value));
    EXPECT_EQ(c.call("SUBSTITUTE", {ref(1, 1, 1, 1), text("a"), text("bb")}), Value::error(ErrorCode::Value));
    EXPECT_EQ(c.call("REPLACE", {ref(1, 1, 1, 1), num(1), num(0), ref(1, 1, 1, 1)}),
              Value::error(ErrorCode::Value));
}

TEST(Library, HugeNumbersDoNotOverflowIntoNonsense)
{
    FakeContext c;
    EXPECT_EQ(c.call("DATE", {num(2024), num(1e300), num(1)}), Value::error(ErrorCode::Num));
    EXPECT_EQ(c.call("LEFT", {text("abc"), num(1e300)}), Value::text("abc"));
    EXPECT_EQ(c.call("MID", {text("abc"), num(1e300), num(1)}), Value::text(""));
    EXPECT_EQ(c.call("CHAR", {num(-1e300)}), Value::error(ErrorCode::Value));
    EXPECT_EQ(c.call("ROUND", {num(1.5), num(-1e300)}), Value::number(0));
    EXPECT_EQ(c.call("ADDRESS", {num(1e300), num(1)}), Value::error(ErrorCode::Value));
    EXPECT_EQ(c.call("MOD", {num(1e300), num(3)}), Value::error(ErrorCode::Num));
    EXPECT_EQ(c.call("FACT", {num(1e300)}), Value::error(ErrorCode::Num));
    EXPECT_EQ(c.call("COMBIN", {num(1e300), num(5e299)}), Value::error(ErrorCode::Num));
    EXPECT_EQ(c.call("INDEX", {ref(1, 1, 3, 3), num(1e300), num(1)}), Value::error(ErrorCode::Ref));
    EXPECT_EQ(c.call("VLOOKUP", {num(1), ref(1, 1, 3, 3), num(1e300)}), Value::error(ErrorCode::Ref));
}

// Every function called with every mix of awkward arguments, from none up to three more
// than it takes, must return a value: no crash, no undefined behaviour, no infinity or NaN.
TEST(Library, EveryFunctionSurvivesAwkwardArguments)
{
    FakeContext c;
    c.cells[{1, 1}] = Value::number(3);
    c.cells[{1, 2}] = Value::text("x");
    c.cells[{2, 1}] = Value::error(ErrorCode::Div0);
    const std::vector<Arg> samples = {
        Arg::ofValue(Value()),
        num(0),
        num(-1.5),
        num(1e308),
        num(-1e308),
        num(2.5e-320),
        text(""),
        text("12"),
        text("*?~"),
        Arg::ofValue(Value::logical(true)),
        Arg::ofValue(Value::error(ErrorCode::NA)),
        ref(1, 1, 1, 1),
        ref(1, 1, 2, 3),
        ref(5, 5, 4, 4), // an inverted range: no cells
        array(1, 2, {Value::number(1), Value::text("a")}),
        array(0, 0, {}),
    };
    for (const FunctionInfo* f : builtinFunctions())
    {
        const int most = f->maxArgs < 0 ? 3 : std::min(f->maxArgs, 3);
        for (int count = 0; count <= most; ++count)
        {
            size_t combinations = 1;
            for (int i = 0; i < count; ++i)
                combinations *= samples.size();
            for (size_t k = 0; k < combinations; ++k)
            {
                std::vector<Arg> args;
                size_t rest = k;
                for (int i = 0; i < count; ++i)
                {
                    args.push_back(samples[rest % samples.size()]);
                    rest /= samples.size();
                }
                const Value v = f->body(c, args);
                if (v.isNumber())
                {
                    ASSERT_TRUE(std::isfinite(v.asNumber()))
                        << f->name << " with " << count << " arguments, #" << k;
                }
            }
        }
    }
}
} // namespace
} // namespace grid::testing
