#include "FormulaTestContext.h"
#include "grid/formula/Formula.h"

#include <gtest/gtest.h>
#include <string>

namespace grid::test
{
namespace
{
/// A1..A3 = 1, 2, 3; A4 empty; A5 "abc"; B1 the text "5"; B2 TRUE; B3 #DIV/0!; B4 the empty
/// text; C1 10; C2 -2.5; C3 the text "Abc".
void fillSheet(FormulaTestContext& sheet)
{
    sheet.set(1, 1, Value::number(1));
    sheet.set(1, 2, Value::number(2));
    sheet.set(1, 3, Value::number(3));
    sheet.set(1, 5, Value::text("abc"));
    sheet.set(2, 1, Value::text("5"));
    sheet.set(2, 2, Value::logical(true));
    sheet.set(2, 3, Value::error(ErrorCode::Div0));
    sheet.set(2, 4, Value::text(""));
    sheet.set(3, 1, Value::number(10));
    sheet.set(3, 2, Value::number(-2.5));
    sheet.set(3, 3, Value::text("Abc"));
}

struct Case
{
    const char* formula;
    const char* expected; ///< value text
    Value::Type type;
};

using T = Value::Type;

// Expected values as the familiar spreadsheets give them, evaluated in cell E10.
const Case kCases[] = {
    // Precedence and associativity.
    {"1+2*3", "7", T::Number},
    {"(1+2)*3", "9", T::Number},
    {"-2^2", "4", T::Number},
    {"=-2^2", "4", T::Number},
    {"0-2^2", "-4", T::Number},
    {"2^3^2", "64", T::Number},
    {"2^-1", "0.5", T::Number},
    {"--3", "3", T::Number},
    {"-+-3", "3", T::Number},
    {"10-4-3", "3", T::Number},
    {"12/3/2", "2", T::Number},
    {"1+2&3", "33", T::Text},
    {"1&2=12", "FALSE", T::Logical},
    {"\"12\"=1&2", "TRUE", T::Logical},
    {"1<2=TRUE", "TRUE", T::Logical},
    {"50%", "0.5", T::Number},
    {"200%%", "0.02", T::Number},
    {"-50%", "-0.5", T::Number},
    {"2*50%^2", "0.5", T::Number},
    {"  1 +\t2 ", "3", T::Number},
    // Literals.
    {"1.5E3", "1500", T::Number},
    {".5", "0.5", T::Number},
    {"\"say \"\"hi\"\"\"", "say \"hi\"", T::Text},
    {"\"\"", "", T::Text},
    {"true", "TRUE", T::Logical},
    {"False", "FALSE", T::Logical},
    {"#N/A", "#N/A", T::Error},
    {"#div/0!", "#DIV/0!", T::Error},
    {"#NAME?", "#NAME?", T::Error},
    {"#NULL!", "#NULL!", T::Error},
    {"#NUM!", "#NUM!", T::Error},
    // Arithmetic coercion.
    {"A1+B1", "6", T::Number},
    {"B1*2", "10", T::Number},
    {"\" 2 \"+1", "3", T::Number},
    {"\"25%\"*4", "1", T::Number},
    {"TRUE+TRUE", "2", T::Number},
    {"B2*3", "3", T::Number},
    {"A4+1", "1", T::Number},
    {"A4*5", "0", T::Number},
    {"-A4", "0", T::Number},
    {"A5+1", "#VALUE!", T::Error},
    {"B4+1", "#VALUE!", T::Error},
    {"\"1e3\"+0", "1000", T::Number},
    {"\"2024-03-15\"+1", "45367", T::Number},
    {"\"14:30\"*24", "14.5", T::Number},
    {"\"x\"*1", "#VALUE!", T::Error},
    {"-\"a\"", "#VALUE!", T::Error},
    {"+\"a\"", "a", T::Text},
    {"\"2\"^\"3\"", "8", T::Number},
    // Arithmetic faults.
    {"1/0", "#DIV/0!", T::Error},
    {"1/A4", "#DIV/0!", T::Error},
    {"0^0", "#NUM!", T::Error},
    {"0^-1", "#DIV/0!", T::Error},
    {"(-8)^(1/3)", "#NUM!", T::Error},
    {"(-8)^3", "-512", T::Number},
    {"1E308*10", "#NUM!", T::Error},
    {"0.1+0.2", "0.3", T::Number},
    {"1-1", "0", T::Number},
    // Concatenation.
    {"\"a\"&\"b\"", "ab", T::Text},
    {"A4&\"x\"", "x", T::Text},
    {"\"x\"&A4&\"y\"", "xy", T::Text},
    {"1/4&\"\"", "0.25", T::Text},
    {"TRUE&1", "TRUE1", T::Text},
    {"C2&\"mm\"", "-2.5mm", T::Text},
    {"1E20&\"\"", "1E+20", T::Text},
    {"1/3&\"\"", "0.333333333333333", T::Text},
    // Comparisons across types: numbers < texts < logicals; texts ignore case.
    {"1=\"1\"", "FALSE", T::Logical},
    {"\"1\"=1", "FALSE", T::Logical},
    {"\"a\">1", "TRUE", T::Logical},
    {"\"0\">99999", "TRUE", T::Logical},
    {"TRUE>\"z\"", "TRUE", T::Logical},
    {"FALSE>100", "TRUE", T::Logical},
    {"TRUE=1", "FALSE", T::Logical},
    {"\"abc\"=\"ABC\"", "TRUE", T::Logical},
    {"A5=C3", "TRUE", T::Logical},
    {"\"a\"<\"B\"", "TRUE", T::Logical},
    {"\"ab\"<\"abc\"", "TRUE", T::Logical},
    {"\"b\"<=\"a\"", "FALSE", T::Logical},
    {"\"_\"<\"a\"", "TRUE", T::Logical},
    {"2<>2", "FALSE", T::Logical},
    {"2>=2", "TRUE", T::Logical},
    {"0.1+0.2=0.3", "TRUE", T::Logical},
    {"A4=0", "TRUE", T::Logical},
    {"A4=\"\"", "TRUE", T::Logical},
    {"A4=FALSE", "TRUE", T::Logical},
    {"A4=A4", "TRUE", T::Logical},
    {"A4<1", "TRUE", T::Logical},
    {"A4<\"a\"", "TRUE", T::Logical},
    {"B4=A4", "TRUE", T::Logical},
    {"-1<A4", "TRUE", T::Logical},
    // Error propagation: the left error wins.
    {"B3+1", "#DIV/0!", T::Error},
    {"1+B3", "#DIV/0!", T::Error},
    {"#N/A+B3", "#N/A", T::Error},
    {"B3&\"x\"", "#DIV/0!", T::Error},
    {"B3=B3", "#DIV/0!", T::Error},
    {"-B3", "#DIV/0!", T::Error},
    {"B3%", "#DIV/0!", T::Error},
    {"#REF!", "#REF!", T::Error},
    // References.
    {"A1", "1", T::Number},
    {"$A$2", "2", T::Number},
    {"a3", "3", T::Number},
    {"A4", "0", T::Number},
    {"B4", "", T::Text},
    {"A5", "abc", T::Text},
    {"(A4)", "0", T::Number},
    {"Z999", "0", T::Number},
    {"XFD1048576", "0", T::Number},
    {"SUM(A1:A3)", "6", T::Number},
    {"SUM(A3:A1)", "6", T::Number},
    {"SUM($A$1:A3)+1", "7", T::Number},
    {"sum(A1,A2)", "3", T::Number},
    // A range where one value is wanted: the cell in the formula's row or column, else #VALUE!.
    {"A1:A20", "0", T::Number},
    {"A9:A11+1", "1", T::Number},
    {"A1:C1", "#VALUE!", T::Error},
    {"A1:A3", "#VALUE!", T::Error},
    {"A1:B2+1", "#VALUE!", T::Error},
    {"D10:H10*2", "0", T::Number},
    // Names and functions that do not exist.
    {"Thickness*10", "#NAME?", T::Error},
    {"NOSUCHFUNCTION(1)", "#NAME?", T::Error},
    {"IFERROR(Thickness,7)", "7", T::Number},
    // IF, IFERROR, CHOOSE.
    {"IF(TRUE,1,2)", "1", T::Number},
    {"IF(FALSE,1,2)", "2", T::Number},
    {"IF(0,1,2)", "2", T::Number},
    {"IF(-0.1,1,2)", "1", T::Number},
    {"IF(\"true\",1,2)", "1", T::Number},
    {"IF(\"yes\",1,2)", "#VALUE!", T::Error},
    {"IF(A4,1,2)", "2", T::Number},
    {"IF(B3,1,2)", "#DIV/0!", T::Error},
    {"IF(FALSE,1)", "FALSE", T::Logical},
    {"IF(TRUE,1)", "1", T::Number},
    {"IF(TRUE,,2)", "0", T::Number},
    {"IF(FALSE,1,)", "0", T::Number},
    {"IF(TRUE,A4,1)", "0", T::Number},
    {"IF(TRUE,A5,1)", "abc", T::Text},
    {"IF(A1>0,\"pos\",\"neg\")", "pos", T::Text},
    {"IF(1,IF(0,1,IF(1,3,4)),5)", "3", T::Number},
    {"IF(TRUE,1,1/0)", "1", T::Number},
    {"IF(FALSE,1/0,2)", "2", T::Number},
    {"SUM(IF(TRUE,A1:A3,0))", "6", T::Number},
    {"IF(TRUE,A1:A3)", "#VALUE!", T::Error},
    {"1+IF(FALSE,1)", "1", T::Number},
    {"IFERROR(1/0,\"x\")", "x", T::Text},
    {"IFERROR(1,\"x\")", "1", T::Number},
    {"IFERROR(A4,\"x\")", "0", T::Number},
    {"IFERROR(B3,B3)", "#DIV/0!", T::Error},
    {"IFERROR(#N/A,)", "0", T::Number},
    {"CHOOSE(2,\"a\",\"b\",\"c\")", "b", T::Text},
    {"CHOOSE(2.9,\"a\",\"b\",\"c\")", "b", T::Text},
    {"CHOOSE(\"3\",\"a\",\"b\",\"c\")", "c", T::Text},
    {"CHOOSE(TRUE,\"a\",\"b\")", "a", T::Text},
    {"CHOOSE(0,\"a\")", "#VALUE!", T::Error},
    {"CHOOSE(4,\"a\",\"b\",\"c\")", "#VALUE!", T::Error},
    {"CHOOSE(B3,1,2)", "#DIV/0!", T::Error},
    {"CHOOSE(1,1,1/0)", "1", T::Number},
    {"CHOOSE(2,1,)", "0", T::Number},
    {"SUM(CHOOSE(2,A1:A2,A1:A3))", "6", T::Number},
    {"CHOOSE(1,A4)", "0", T::Number},
};

TEST(EvaluateTest, FormulaTable)
{
    FormulaTestContext sheet;
    fillSheet(sheet);
    for (const Case& c : kCases)
    {
        Value v = sheet.eval(c.formula, 5, 10);
        EXPECT_EQ(valueText(v), c.expected) << c.formula;
        EXPECT_EQ(v.type(), c.type) << c.formula;
    }
}

TEST(EvaluateTest, ImplicitIntersectionFollowsTheFormulasCell)
{
    FormulaTestContext sheet;
    fillSheet(sheet);
    // In row 2 the column range A1:A3 gives A2; in column 3 the row range A1:C1 gives C1.
    EXPECT_EQ(sheet.text("A1:A3*10", 4, 2), "20");
    EXPECT_EQ(sheet.text("A1:C1", 3, 7), "10");
    EXPECT_EQ(sheet.text("-A1:A3", 9, 3), "-3");
    EXPECT_EQ(sheet.text("A1:A3", 1, 4), "#VALUE!");
}

TEST(EvaluateTest, RelativeReferencesResolveFromTheFormulasCellAndFailOutsideTheSheet)
{
    FormulaTestContext sheet;
    fillSheet(sheet);
    auto parsed = parseFormula("A2+1", 2, 3); // one column left, one row up
    ASSERT_TRUE(parsed.formula);
    sheet.col = 2;
    sheet.row = 3;
    EXPECT_EQ(valueText(evaluateFormula(*parsed.formula, sheet)), "3");
    sheet.col = 4; // the same formula in D4 reads C3
    sheet.row = 4;
    EXPECT_EQ(valueText(evaluateFormula(*parsed.formula, sheet)), "#VALUE!"); // C3 is "Abc"
    sheet.col = 1; // in A1 it would read column 0: no such cell
    sheet.row = 1;
    EXPECT_EQ(valueText(evaluateFormula(*parsed.formula, sheet)), "#REF!");
    sheet.col = 1; // SUM over a range that leaves the sheet is #REF! too
    auto sum = parseFormula("SUM(A1:A2)", 2, 2);
    ASSERT_TRUE(sum.formula);
    EXPECT_EQ(valueText(evaluateFormula(*sum.formula, sheet)), "#REF!");
}

// A custom function that counts its calls shows which arguments were evaluated.
int gProbeCalls = 0;
std::int32_t probe(SpreadCalcValue* result, SpreadCalcValue*, std::int16_t)
{
    ++gProbeCalls;
    writeCalcValue(*result, Value::number(99));
    return 1;
}

TEST(EvaluateTest, LazyFunctionsEvaluateOnlyTheBranchTaken)
{
    FormulaTestContext sheet;
    sheet.functions.push_back({"PROBE", 0, 0, probe, 0});
    struct Lazy
    {
        const char* formula;
        const char* expected;
        int calls;
    };
    const Lazy cases[] = {
        {"IF(TRUE,1,PROBE())", "1", 0},           {"IF(FALSE,PROBE(),2)", "2", 0},
        {"IF(FALSE,PROBE(),PROBE())", "99", 1},   {"IF(PROBE(),PROBE(),PROBE())", "99", 2},
        {"IF(#N/A,PROBE(),PROBE())", "#N/A", 0},  {"IFERROR(1,PROBE())", "1", 0},
        {"IFERROR(1/0,PROBE())", "99", 1},        {"CHOOSE(2,PROBE(),5,PROBE())", "5", 0},
        {"CHOOSE(3,PROBE(),5,PROBE())", "99", 1}, {"CHOOSE(9,PROBE(),PROBE())", "#VALUE!", 0},
        {"SUM(PROBE(),PROBE())", "198", 2},
    };
    for (const Lazy& c : cases)
    {
        gProbeCalls = 0;
        EXPECT_EQ(sheet.text(c.formula), c.expected) << c.formula;
        EXPECT_EQ(gProbeCalls, c.calls) << c.formula;
    }
}

TEST(EvaluateTest, DeepButLegalFormulasEvaluate)
{
    FormulaTestContext sheet;
    std::string chain = "1";
    for (int i = 0; i < 100000; ++i)
        chain += "+1";
    EXPECT_EQ(sheet.text(chain), "100001");

    std::string nested(kMaxFormulaDepth, '(');
    nested += "2";
    nested += std::string(kMaxFormulaDepth, ')');
    EXPECT_EQ(sheet.text(nested), "2");

    std::string ifs;
    for (int i = 0; i < 100; ++i)
        ifs += "IF(FALSE,0,";
    ifs += "7" + std::string(100, ')');
    EXPECT_EQ(sheet.text(ifs), "7");
}

TEST(EvaluateTest, ReadsOnlyTheCellsItNeeds)
{
    FormulaTestContext sheet;
    fillSheet(sheet);
    sheet.reads = 0;
    EXPECT_EQ(sheet.text("IF(A1>0,A2,A3)"), "2");
    EXPECT_EQ(sheet.reads, 2);
}
} // namespace
} // namespace grid::test
