#include "FormulaTestContext.h"
#include "grid/formula/Formula.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace grid::test
{
namespace
{
/// Random formulas from the grammar: literals, references, operators, signs, percent,
/// parentheses, lazy and ordinary calls, omitted arguments.
class FormulaGenerator
{
public:
    explicit FormulaGenerator(unsigned seed) : random_(seed) {}

    std::string expression(int depth)
    {
        const int choice = pick(depth <= 0 ? 5 : 12);
        switch (choice)
        {
        case 0:
            return number();
        case 1:
            return reference();
        case 2:
            return pick(2) ? "\"t" + std::to_string(pick(9)) + "\"\"x\"" : "\"\"";
        case 3:
            return pick(2) ? "TRUE" : "#N/A";
        case 4:
            return "SUM(" + reference() + ":" + reference() + ")";
        case 5:
        case 6:
        case 7:
        {
            static const char* ops[] = {"+", "-", "*", "/", "^", "&", "=", "<>", "<", ">", "<=", ">="};
            return expression(depth - 1) + ops[pick(12)] + expression(depth - 1);
        }
        case 8:
            return (pick(2) ? "-" : "+") + expression(depth - 1) + (pick(4) == 0 ? "%" : "");
        case 9:
            return "(" + expression(depth - 1) + ")";
        case 10:
            return "IF(" + expression(depth - 1) + "," + argument(depth) +
                   (pick(2) ? "," + argument(depth) : "") + ")";
        default:
            return pick(2) ? "IFERROR(" + expression(depth - 1) + "," + argument(depth) + ")"
                           : "CHOOSE(" + expression(depth - 1) + "," + argument(depth) + "," +
                                 argument(depth) + ")";
        }
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string number()
    {
        static const char* numbers[] = {"0", "1", "2.5", "0.1", "1E+20", "3E-12", "1000000", "7"};
        return numbers[pick(8)];
    }
    std::string reference()
    {
        std::string ref;
        if (pick(3) == 0)
            ref += '$';
        ref += static_cast<char>('A' + pick(4));
        if (pick(3) == 0)
            ref += '$';
        ref += std::to_string(1 + pick(6));
        return ref;
    }
    std::string argument(int depth) { return pick(6) == 0 ? std::string() : expression(depth - 1); }

    std::mt19937 random_;
};

void fill(FormulaTestContext& sheet)
{
    for (int r = 1; r <= 6; ++r)
        for (int c = 1; c <= 4; ++c)
        {
            const int k = (r * 7 + c * 3) % 5;
            sheet.set(c, r,
                      k == 0   ? Value::number(r - c)
                      : k == 1 ? Value::text(std::to_string(r))
                      : k == 2 ? Value()
                      : k == 3 ? Value::logical(r % 2 == 0)
                               : Value::number(r * 0.5));
        }
}

TEST(RoundTripTest, PrintedFormulasReadBackToTheSameFormula)
{
    FormulaGenerator generator(20240611);
    FormulaTestContext sheet;
    fill(sheet);
    for (int i = 0; i < 3000; ++i)
    {
        const std::string source = generator.expression(5);
        ParseResult first = parseFormula(source, 5, 3);
        ASSERT_TRUE(first.formula) << source << ": " << first.error;
        const std::string printed = formulaText(*first.formula, 5, 3, ReferenceStyle::A1);
        ParseResult second = parseFormula(printed, 5, 3);
        ASSERT_TRUE(second.formula) << printed << ": " << second.error;
        EXPECT_EQ(formulaText(*second.formula, 5, 3, ReferenceStyle::A1), printed);
        // Through R1C1 and back.
        const std::string r1c1 = formulaText(*first.formula, 5, 3, ReferenceStyle::R1C1);
        ParseResult third = parseFormula(r1c1, 5, 3, ReferenceStyle::R1C1);
        ASSERT_TRUE(third.formula) << r1c1 << ": " << third.error;
        EXPECT_EQ(formulaText(*third.formula, 5, 3, ReferenceStyle::A1), printed);

        sheet.col = 5;
        sheet.row = 3;
        EXPECT_EQ(evaluateFormula(*first.formula, sheet), evaluateFormula(*second.formula, sheet)) << source;
    }
}

TEST(RoundTripTest, ArbitraryInputNeverCrashesTheParser)
{
    static const char alphabet[] = "AB1$:(),+-*/^&=<>%\"#!?.e ESUMIF";
    std::mt19937 random(7);
    FormulaTestContext sheet;
    fill(sheet);
    int parsed = 0;
    for (int i = 0; i < 20000; ++i)
    {
        std::string text;
        const int length = static_cast<int>(random() % 24);
        for (int k = 0; k < length; ++k)
            text += alphabet[random() % (sizeof alphabet - 1)];
        if (random() % 50 == 0)
            text += static_cast<char>(random() % 256);
        ParseResult result = parseFormula(text, 2, 2);
        EXPECT_NE(static_cast<bool>(result.formula), !result.error.empty()) << text;
        if (!result.formula)
            continue;
        ++parsed;
        const std::string printed = formulaText(*result.formula, 2, 2, ReferenceStyle::A1);
        ParseResult again = parseFormula(printed, 2, 2);
        ASSERT_TRUE(again.formula) << text << " printed as " << printed << ": " << again.error;
        EXPECT_EQ(formulaText(*again.formula, 2, 2, ReferenceStyle::A1), printed) << text;
        sheet.col = 2;
        sheet.row = 2;
        evaluateFormula(*result.formula, sheet);
    }
    EXPECT_GT(parsed, 100);
}
} // namespace
} // namespace grid::test
