// The reference operators (':' between reference-valued operands, the blank for the
// intersection, ',' in parentheses for the union) and the reference-valued functions: how
// they print, shift and report what they read. Their values are in the formula case table.

#include "FormulaTestContext.h"
#include "grid/formula/Formula.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace grid::test
{
namespace
{
std::string reprint(std::string_view text, int col, int row, ReferenceStyle style)
{
    ParseResult parsed = parseFormula(text, col, row);
    if (!parsed.formula)
        return "error: " + parsed.error;
    return formulaText(*parsed.formula, col, row, style);
}

TEST(ReferenceOperatorsTest, PrintBackAndReadBackInBothStyles)
{
    struct Case
    {
        const char* text;
        const char* a1;
        const char* r1c1; // printed for the cell C5
    };
    const Case cases[] = {
        {"SUM(INDEX(A1:A9,2):INDEX(A1:A9,4))", "SUM(INDEX(A1:A9,2):INDEX(A1:A9,4))",
         "SUM(INDEX(R[-4]C[-2]:R[4]C[-2],2):INDEX(R[-4]C[-2]:R[4]C[-2],4))"},
        {"a1:index(b1:b3, 2)", "A1:INDEX(B1:B3,2)", "R[-4]C[-2]:INDEX(R[-4]C[-1]:R[-2]C[-1],2)"},
        {"SUM( A1:C3   B2:D4 )", "SUM(A1:C3 B2:D4)", "SUM(R[-4]C[-2]:R[-2]C R[-3]C[-1]:R[-1]C[1])"},
        {"SUM(( A1 , $B$2:C3 ))", "SUM((A1,$B$2:C3))", "SUM((R[-4]C[-2],R2C2:R[-2]C))"},
        {"-(A1,B1) A1%", "-(A1,B1) A1%", "-(R[-4]C[-2],R[-4]C[-1]) R[-4]C[-2]%"},
        {"(A1):(B2)", "(A1):(B2)", "(R[-4]C[-2]):(R[-3]C[-1])"},
        {"A:A 2:2", "A:A 2:2", "C[-2]:C[-2] R[-3]:R[-3]"},
        {"IF(A1,B1,C1):D4", "IF(A1,B1,C1):D4", "IF(R[-4]C[-2],R[-4]C[-1],R[-4]C):R[-1]C[1]"},
        {"#REF!:A1 #REF!", "#REF!:A1 #REF!", "#REF!:R[-4]C[-2] #REF!"},
        {"OFFSET(A1,1,1,,2)", "OFFSET(A1,1,1,,2)", "OFFSET(R[-4]C[-2],1,1,,2)"},
        {"INDIRECT(\"A1\")+FORMULATEXT(B2)", "INDIRECT(\"A1\")+FORMULATEXT(B2)",
         "INDIRECT(\"A1\")+FORMULATEXT(R[-3]C[-1])"},
    };
    for (const Case& c : cases)
    {
        const std::string a1 = reprint(c.text, 3, 5, ReferenceStyle::A1);
        EXPECT_EQ(a1, c.a1) << c.text;
        const std::string r1c1 = reprint(c.text, 3, 5, ReferenceStyle::R1C1);
        EXPECT_EQ(r1c1, c.r1c1) << c.text;
        // Each printed form reads back to the same formula.
        EXPECT_EQ(reprint(a1, 3, 5, ReferenceStyle::A1), a1) << c.text;
        if (r1c1.front() == 'C')
            continue; // whole lines are read in A1 style only
        ParseResult back = parseFormula(r1c1, 3, 5, ReferenceStyle::R1C1);
        ASSERT_TRUE(back.formula) << r1c1 << ": " << back.error;
        EXPECT_EQ(formulaText(*back.formula, 3, 5, ReferenceStyle::A1), a1) << c.text;
    }
}

TEST(ReferenceOperatorsTest, OperandsFollowInsertedAndDeletedRowsAndReadBack)
{
    struct Case
    {
        const char* formula;
        Shift shift;
        const char* after;
    };
    const Case cases[] = {
        {"SUM(A1:INDEX(A1:A9,3))", {true, 2, 2}, "SUM(A1:INDEX(A1:A11,3))"},
        {"SUM(INDEX(A1:A9,2):A9)", {true, 1, -1}, "SUM(INDEX(A1:A8,2):A8)"},
        {"SUM(A1:INDEX(A1:A9,3))", {true, 1, -1}, "SUM(#REF!:INDEX(A1:A8,3))"},
        {"SUM(A1:C3 B2:D4)", {true, 2, 1}, "SUM(A1:C4 B3:D5)"},
        {"SUM(A1:C3 B2:D4)", {false, 1, -1}, "SUM(A1:B3 A2:C4)"},
        {"SUM((A1,C1:C3))", {false, 2, 1}, "SUM((A1,D1:D3))"},
        {"SUM((A1,C1:C3))", {false, 1, -1}, "SUM((#REF!,B1:B3))"},
        {"SUM(OFFSET(B2,1,1,2,2))", {true, 1, 3}, "SUM(OFFSET(B5,1,1,2,2))"},
        {"INDIRECT(\"B2\")&ISFORMULA(B2)", {true, 1, 1}, "INDIRECT(\"B2\")&ISFORMULA(B3)"},
    };
    for (const Case& c : cases)
    {
        ParseResult parsed = parseFormula(c.formula, 8, 20);
        ASSERT_TRUE(parsed.formula) << c.formula;
        const int newRow = c.shift.rows ? 20 + c.shift.count : 20;
        const int newCol = c.shift.rows ? 8 : 8 + c.shift.count;
        auto moved = shiftFormula(*parsed.formula, 8, 20, newCol, newRow, c.shift);
        const std::string text =
            formulaText(moved ? *moved : *parsed.formula, newCol, newRow, ReferenceStyle::A1);
        EXPECT_EQ(text, c.after) << c.formula;
        ParseResult back = parseFormula(text, newCol, newRow);
        EXPECT_TRUE(back.formula) << text << ": " << back.error;
    }
}

TEST(ReferenceOperatorsTest, ABuiltRangeReadsTheBoxAroundItsReferences)
{
    // A1:INDEX(B5:B9,2) may reach A1:B6, cells no reference names: the box is listed too.
    ParseResult parsed = parseFormula("SUM(A1:INDEX(B5:B9,2))", 4, 4);
    ASSERT_TRUE(parsed.formula);
    const std::vector<CellRange> expected = {{1, 1, 1, 1}, {2, 5, 2, 9}, {1, 1, 2, 9}};
    EXPECT_EQ(formulaReferences(*parsed.formula, 4, 4), expected);
    // Intersections and unions read inside their references; nothing more is listed.
    ParseResult plain = parseFormula("SUM((A1,B2) B2:C3)", 4, 4);
    ASSERT_TRUE(plain.formula);
    EXPECT_EQ(formulaReferences(*plain.formula, 4, 4).size(), 3u);
}

TEST(ReferenceOperatorsTest, OnlyIndirectAndOffsetAmongTheReferenceFunctionsAreVolatile)
{
    auto isVolatile = [](const char* text)
    {
        ParseResult parsed = parseFormula(text, 1, 1);
        EXPECT_TRUE(parsed.formula) << text;
        return parsed.formula && formulaIsVolatile(*parsed.formula);
    };
    EXPECT_TRUE(isVolatile("INDIRECT(\"A1\")"));
    EXPECT_TRUE(isVolatile("1+SUM(OFFSET(A1,1,1))"));
    EXPECT_FALSE(isVolatile("SUM(A1:INDEX(B1:B9,2))"));
    EXPECT_FALSE(isVolatile("AREAS((A1,B1))+ISFORMULA(A1)"));
}

TEST(ReferenceOperatorsTest, UnionsReachOnlyTheFunctionsThatTakeThem)
{
    FormulaTestContext c;
    for (int row = 1; row <= 3; ++row)
    {
        c.set(1, row, Value::number(row));
        c.set(2, row, Value::number(10 * row));
    }
    EXPECT_EQ(c.text("SUM((A1:A3,B2))"), "26");
    EXPECT_EQ(c.text("STDEV((A1:A3,A1:A3))"), c.text("STDEV(A1:A3,A1:A3)"));
    EXPECT_EQ(c.text("LARGE((A1:A3,B1),2)"), "3");
    EXPECT_EQ(c.text("ISREF((A1,B1))"), "TRUE");
    // Anything that needs one range or one value answers #VALUE!.
    EXPECT_EQ(c.text("MATCH(2,(A1:A3,B1:B3),0)"), "#VALUE!");
    EXPECT_EQ(c.text("ROWS((A1:A3,B1))"), "#VALUE!");
    EXPECT_EQ(c.text("(A1,B1)"), "#VALUE!");
    EXPECT_EQ(c.text("IF((A1,B1),1,2)"), "#VALUE!");
    EXPECT_EQ(c.text("SUMPRODUCT((A1:A2,B1:B2)*1)"), "#VALUE!");
    EXPECT_EQ(c.text("OFFSET((A1,B1),1,1)"), "#VALUE!");
    // A union reached through CHOOSE or INDEX's area number is still one.
    EXPECT_EQ(c.text("SUM(CHOOSE(1,(A1,B3)))"), "31");
    EXPECT_EQ(c.text("AREAS(CHOOSE(1,(A1,B3)))"), "2");
    EXPECT_EQ(c.text("INDEX((A1:A3,B1:B3),3,1,2)"), "30");
    // An operand that is no reference is #VALUE!; an error stays itself.
    EXPECT_EQ(c.text("SUM(A1:INDEX({1,2},1))"), "#VALUE!");
    EXPECT_EQ(c.text("SUM(A1:IF(TRUE,5))"), "#VALUE!");
    EXPECT_EQ(c.text("SUM(#N/A:A1)"), "#N/A");
    EXPECT_EQ(c.text("SUM((A1,#DIV/0!))"), "#DIV/0!");
}

TEST(ReferenceOperatorsTest, IndirectReadsRelativeR1C1FromTheCallingCellAndRefusesLooseText)
{
    FormulaTestContext c;
    c.set(2, 3, Value::number(7));
    EXPECT_EQ(c.text("INDIRECT(\"R[-1]C[-1]\",FALSE)", 3, 4), "7");
    EXPECT_EQ(c.text("INDIRECT(\"R[-1]C[-1]\",FALSE)", 1, 4), "#REF!"); // column 0
    for (const char* text :
         {"INDIRECT(\" B3\")", "INDIRECT(\"B3 \")", "INDIRECT(\"=B3\")", "INDIRECT(\"B3+1\")",
          "INDIRECT(\"B3 B3\")", "INDIRECT(\"(B3)\")", "INDIRECT(\"Sheet1!B3\")", "INDIRECT(\"TRUE\")"})
        EXPECT_EQ(c.text(text), "#REF!") << text;
    EXPECT_EQ(c.text("INDIRECT(\"b3\",TRUE)"), "7");
    EXPECT_EQ(c.text("INDIRECT(\"B3\",\"x\")"), "#VALUE!");
}

TEST(ReferenceOperatorsTest, OffsetSizesAndEdgesOfTheSheet)
{
    FormulaTestContext c;
    c.set(1, 1, Value::number(1));
    c.set(16384, 1048576, Value::number(5));
    EXPECT_EQ(c.text("OFFSET(A1,1048575,16383)"), "5");
    EXPECT_EQ(c.text("OFFSET(A1,1048575,16384)"), "#REF!");
    EXPECT_EQ(c.text("OFFSET(A1,1E+300,0)"), "#REF!");
    EXPECT_EQ(c.text("ROWS(OFFSET(A1:B2,1,1,3))"), "3");
    EXPECT_EQ(c.text("COLUMNS(OFFSET(A1:B2,1,1,,5))"), "5");
    EXPECT_EQ(c.text("ROW(OFFSET(C5,0,0,-3,-2))&COLUMN(OFFSET(C5,0,0,-3,-2))"), "32");
    EXPECT_EQ(c.text("OFFSET(A1,0,0,1,0)"), "#REF!");
    EXPECT_EQ(c.text("OFFSET(A1,0,0,-2,1)"), "#REF!"); // reaches above row 1
    EXPECT_EQ(c.text("OFFSET(A1,1/0,0)"), "#DIV/0!");
}
/// Random reference expressions: cells and ranges joined by ':', blanks and unions, inside
/// reference-valued functions and parentheses.
class ReferenceGenerator
{
public:
    explicit ReferenceGenerator(unsigned seed) : random_(seed) {}

    std::string reference(int depth)
    {
        switch (depth <= 0 ? pick(2) : pick(9))
        {
        case 0:
            return cell();
        case 1:
            return cell() + ":" + cell();
        case 2:
            return reference(depth - 1) + ":" + primary(depth - 1);
        case 3:
            return reference(depth - 1) + std::string(1 + pick(2), ' ') + primary(depth - 1);
        case 4:
            return "(" + reference(depth - 1) + "," + reference(depth - 1) + ")";
        case 5:
            return "INDEX(" + reference(depth - 1) + "," + std::to_string(pick(3)) + "," +
                   std::to_string(pick(3)) + (pick(2) ? ",1)" : ")");
        case 6:
            return "OFFSET(" + reference(depth - 1) + "," + std::to_string(pick(3)) + "," +
                   std::to_string(pick(3)) + (pick(2) ? "," + std::to_string(1 + pick(2)) + ",1)" : ")");
        case 7:
            return "CHOOSE(" + std::to_string(1 + pick(2)) + "," + reference(depth - 1) + "," +
                   reference(depth - 1) + ")";
        default:
            return "(" + reference(depth - 1) + ")";
        }
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string primary(int depth) { return pick(2) ? cell() : "(" + reference(depth) + ")"; }
    std::string cell()
    {
        std::string ref = pick(4) == 0 ? "$" : "";
        ref += static_cast<char>('A' + pick(4));
        ref += std::to_string(1 + pick(6));
        return ref;
    }
    std::mt19937 random_;
};

TEST(ReferenceOperatorsTest, RandomReferenceExpressionsReadBackInBothStylesAndAgree)
{
    ReferenceGenerator generator(20261208);
    FormulaTestContext sheet;
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 6; ++c)
            sheet.set(c, r, Value::number(r * 10 + c));
    for (int i = 0; i < 2000; ++i)
    {
        const std::string source = (i % 3 == 0   ? "SUM("
                                    : i % 3 == 1 ? "AREAS("
                                                 : "COUNT(") +
                                   generator.reference(4) + ")";
        ParseResult first = parseFormula(source, 7, 9);
        ASSERT_TRUE(first.formula) << source << ": " << first.error;
        const std::string printed = formulaText(*first.formula, 7, 9, ReferenceStyle::A1);
        ParseResult second = parseFormula(printed, 7, 9);
        ASSERT_TRUE(second.formula) << printed << ": " << second.error;
        EXPECT_EQ(formulaText(*second.formula, 7, 9, ReferenceStyle::A1), printed);
        const std::string r1c1 = formulaText(*first.formula, 7, 9, ReferenceStyle::R1C1);
        ParseResult third = parseFormula(r1c1, 7, 9, ReferenceStyle::R1C1);
        ASSERT_TRUE(third.formula) << r1c1 << ": " << third.error;
        EXPECT_EQ(formulaText(*third.formula, 7, 9, ReferenceStyle::A1), printed);
        sheet.col = 7;
        sheet.row = 9;
        const Value value = evaluateFormula(*first.formula, sheet);
        EXPECT_EQ(value, evaluateFormula(*third.formula, sheet)) << source;
        // Whatever the operands, the result is a number or one of the reference errors.
        EXPECT_TRUE(value.isNumber() || value == Value::error(ErrorCode::Null) ||
                    value == Value::error(ErrorCode::Ref) || value == Value::error(ErrorCode::Value))
            << source << " gives " << valueText(value);
    }
}
} // namespace
} // namespace grid::test
