#include "grid/formula/Formula.h"

#include <gtest/gtest.h>
#include <string>

namespace grid
{
namespace
{
std::string reprint(std::string_view text, int col = 3, int row = 5,
                    ReferenceStyle style = ReferenceStyle::A1)
{
    ParseResult parsed = parseFormula(text, col, row);
    if (!parsed.formula)
        return "error: " + parsed.error;
    return formulaText(*parsed.formula, col, row, style);
}

TEST(ParserTest, PrintsTheFormulaBackInA1Style)
{
    struct Case
    {
        const char* text;
        const char* printed;
    };
    const Case cases[] = {
        {"=1+2", "1+2"},
        {"B3 * 10", "B3*10"},
        {" = ( A1 + $B$2 ) / c$3 ", "(A1+$B$2)/C$3"},
        {"-2^2", "-2^2"},
        {"2^-2", "2^-2"},
        {"-(2^2)", "-(2^2)"},
        {"+A1", "+A1"},
        {"5%", "5%"},
        {"1.50", "1.5"},
        {"1e3", "1000"},
        {"1.5E-10", "1.5E-10"},
        {"1E+16", "1E+16"},
        {"0.1", "0.1"},
        {"\"a\"\"b\"", "\"a\"\"b\""},
        {"\"\"", "\"\""},
        {"true", "TRUE"},
        {"#n/a", "#N/A"},
        {"a1:b7", "A1:B7"},
        {"$A$1:A5", "$A$1:A5"},
        {"B7:A1", "B7:A1"},
        {"sum(A1:A3, 2)", "SUM(A1:A3,2)"},
        {"myFunc( )", "myFunc()"},
        {"if(A1>0,\"y\")", "IF(A1>0,\"y\")"},
        {"If(A1,,)", "IF(A1,,)"},
        {"iferror(1/0,0)", "IFERROR(1/0,0)"},
        {"choose(2,a1,b1,)", "CHOOSE(2,A1,B1,)"},
        {"roundTo(A1, 5)", "roundTo(A1,5)"},
        {"Thickness*10", "Thickness*10"},
        {"a1<>b1", "A1<>B1"},
        {"sum( { 1 , -2.5 ; \"a b\" , true } )", "SUM({1,-2.5;\"a b\",TRUE})"},
        {"{#n/a}", "{#N/A}"},
        {"sum(a:a)", "SUM(A:A)"},
        {"SUM($b:$D,1:1,$2:5)", "SUM($B:$D,1:1,$2:5)"},
        {"xfd:xfd", "XFD:XFD"},
        {"sumproduct((A1:A3>1)*B1:B3)", "SUMPRODUCT((A1:A3>1)*B1:B3)"},
        {"A1<=B1", "A1<=B1"},
        {"A1>=B1", "A1>=B1"},
        {"\"x\"&A1", "\"x\"&A1"},
        {"LOG10(100)", "LOG10(100)"},
        {"XFD1048576", "XFD1048576"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reprint(c.text), c.printed) << c.text;
}

TEST(ParserTest, PrintsR1C1RelativeToTheFormulasCell)
{
    // The formula sits in C5.
    struct Case
    {
        const char* text;
        const char* printed;
    };
    const Case cases[] = {
        {"C4", "R[-1]C"},
        {"$B$2", "R2C2"},
        {"D5", "RC[1]"},
        {"C5", "RC"},
        {"$A6", "R[1]C1"},
        {"A$1", "R1C[-2]"},
        {"SUM(A1:C4)", "SUM(R[-4]C[-2]:R[-1]C)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reprint(c.text, 3, 5, ReferenceStyle::R1C1), c.printed) << c.text;
}

TEST(ParserTest, ReadsR1C1Formulas)
{
    ParseResult parsed = parseFormula("=SUM(R[-4]C[-2]:R[-1]C)+R2C2*rc[1]", 3, 5, ReferenceStyle::R1C1);
    ASSERT_TRUE(parsed.formula) << parsed.error;
    EXPECT_EQ(formulaText(*parsed.formula, 3, 5, ReferenceStyle::A1), "SUM(A1:C4)+$B$2*D5");
    // A reference of the other style is no name either: printed in that style it would
    // turn into a reference.
    EXPECT_EQ(parseFormula("B2+1", 1, 1, ReferenceStyle::R1C1).error, "Invalid name 'B2' at position 1");
    EXPECT_EQ(parseFormula("1+rc", 1, 1).error, "Invalid name 'rc' at position 3");
    EXPECT_EQ(parseFormula("R1C1", 1, 1).error, "Invalid name 'R1C1' at position 1");
}

TEST(ParserTest, RelativeReferencesPrintFromTheCellTheyAreShownIn)
{
    ParseResult parsed = parseFormula("B2+$B$2", 3, 3);
    ASSERT_TRUE(parsed.formula);
    // Copied one column right and two rows down, the relative part follows, the absolute one stays.
    EXPECT_EQ(formulaText(*copyFormula(parsed.formula), 4, 5, ReferenceStyle::A1), "C4+$B$2");
    // Copied so far up that the relative reference leaves the sheet.
    EXPECT_EQ(formulaText(*parsed.formula, 3, 1, ReferenceStyle::A1), "#REF!+$B$2");
}

TEST(ParserTest, RefusesMalformedFormulasWithAPosition)
{
    struct Case
    {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"", "Empty formula"},
        {"=", "Empty formula"},
        {"   ", "Empty formula"},
        {"1+", "Missing operand at end of formula"},
        {"(1+2", "Missing ')' at end of formula"},
        {"1+2)", "Unexpected ')' at position 4"},
        {"1 2", "Unexpected '2' at position 3"},
        {"*3", "Unexpected '*' at position 1"},
        {"\"abc", "Unterminated text at position 1"},
        {"1..2", "Unexpected '.' after a number at position 3"},
        {"12abc", "Unexpected 'a' after a number at position 3"},
        {"1e", "Malformed number at position 1"},
        {"1e999", "Number out of range at position 1"},
        {"#FOO!", "Unknown error value at position 1"},
        {"A1:", "Invalid range end at position 4"},
        {"A1:foo", "Invalid range end at position 4"},
        {"$A$", "Invalid name '$A$' at position 1"},
        {"$foo(1)", "Invalid function name '$foo' at position 1"},
        {"SUM(1,2", "Missing ')' or ',' at end of formula"},
        {"SUM(1;2)", "Expected ')' or ',' at position 6"},
        {"IF(1)", "IF needs 2 or 3 arguments at position 4"},
        {"IF(1,2,3,4)", "IF needs 2 or 3 arguments at position 9"},
        {"IFERROR(1)", "IFERROR needs 2 arguments at position 10"},
        {"CHOOSE(1)", "CHOOSE needs at least 2 arguments at position 9"},
        {"1,2", "Unexpected ',' at position 2"},
        {"1 B1", "Unexpected 'B' at position 3"},
        // The blank, ':' and ',' join references only: around other operands they are faults.
        {"A1 1", "Unexpected '1' at position 4"},
        {"A1 TRUE", "Unexpected 'T' at position 4"},
        {"SUM (A1)", "Unexpected '(' at position 5"},
        {"A1:1", "Invalid range end at position 4"},
        {"A1:(1)", "Invalid range end at position 4"},
        {"1:A1", "Unexpected ':' at position 2"},
        {"SUM(A1):A2", "Unexpected ':' at position 8"},
        {"(A1,1)", "Expected a reference at position 5"},
        {"(1,A1)", "Expected ')' at position 3"},
        {"SUM((A1,B1)", "Missing ')' or ',' at end of formula"},
        {"{1,2", "Missing '}' at end of formula"},
        {"{1,2;3}", "Rows of an array constant differ in length at position 7"},
        {"{A1}", "Array constants hold only numbers, texts, logicals and errors at position 2"},
        {"{-\"a\"}", "Array constants hold only numbers, texts, logicals and errors at position 2"},
        {"{1 2}", "Expected ',', ';' or '}' at position 4"},
    };
    for (const Case& c : cases)
    {
        ParseResult parsed = parseFormula(c.text, 1, 1);
        EXPECT_FALSE(parsed.formula) << c.text;
        EXPECT_EQ(parsed.error, c.message) << c.text;
    }
}

TEST(ParserTest, BuiltinsWithTheWrongNumberOfArgumentsAreRefused)
{
    ParseResult parsed = parseFormula("1+SUM()", 1, 1);
    EXPECT_FALSE(parsed.formula);
    EXPECT_EQ(parsed.error, "Wrong number of arguments for SUM at position 3");
}

TEST(ParserTest, NestingBeyondTheLimitIsAParseErrorNotACrash)
{
    const std::string deep = std::string(10000, '(') + "1" + std::string(10000, ')');
    ParseResult parens = parseFormula(deep, 1, 1);
    EXPECT_FALSE(parens.formula);
    EXPECT_EQ(parens.error, "Formula nested too deeply (more than 256 levels) at position 257");

    std::string calls;
    for (int i = 0; i < 10000; ++i)
        calls += "SUM(";
    calls += "1" + std::string(10000, ')');
    EXPECT_FALSE(parseFormula(calls, 1, 1).formula);

    std::string ifs;
    for (int i = 0; i < 10000; ++i)
        ifs += "IF(1,";
    EXPECT_FALSE(parseFormula(ifs, 1, 1).formula);

    EXPECT_FALSE(parseFormula(std::string(10000, '-') + "1", 1, 1).formula);

    // Right at the limit is still a formula.
    const std::string limit = std::string(kMaxFormulaDepth, '(') + "1" + std::string(kMaxFormulaDepth, ')');
    EXPECT_TRUE(parseFormula(limit, 1, 1).formula);
}

TEST(ParserTest, ListsTheCellsItReads)
{
    ParseResult parsed = parseFormula("A1+SUM($B$2:C3, D9:B7)+IF(E1,F1,G1)+Z1048576", 4, 4);
    ASSERT_TRUE(parsed.formula);
    const std::vector<CellRange> expected = {
        {1, 1, 1, 1},
        {2, 2, 3, 3},
        {2, 7, 4, 9},
        {5, 1, 5, 1},
        {6, 1, 6, 1},
        {7, 1, 7, 1},
        {26, 1048576, 26, 1048576},
    };
    EXPECT_EQ(formulaReferences(*parsed.formula, 4, 4), expected);
    // The same formula in D1: every reference that would sit above row 1 is left out.
    const std::vector<CellRange> moved = {{2, 4, 4, 6}, {26, 1048573, 26, 1048573}};
    EXPECT_EQ(formulaReferences(*parsed.formula, 4, 1), moved);
}
} // namespace
} // namespace grid
