// Running totals inside a real sheet: every recalculation must give the sums a fresh
// calculation gives, whatever changed.

#include "grid/Sheet.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
double expectedSum(const grid::Sheet& sheet, int toRow)
{
    double sum = 0;
    for (int r = 1; r <= toRow; ++r)
    {
        const grid::Value v = sheet.cellValue(1, r);
        if (v.isNumber())
            sum += v.asNumber();
    }
    return sum;
}

void expectSums(const grid::Sheet& sheet, int rows, const char* when)
{
    for (int r = 1; r <= rows; ++r)
    {
        const grid::Value v = sheet.cellValue(2, r);
        ASSERT_TRUE(v.isNumber()) << when << ", row " << r << ": " << grid::valueText(v);
        ASSERT_EQ(v.asNumber(), expectedSum(sheet, r)) << when << ", row " << r;
    }
}

TEST(SheetSums, ColumnOfGrowingSumsFollowsEveryChange)
{
    constexpr int kRows = 300;
    grid::Sheet sheet;
    ASSERT_TRUE(sheet.setMaxCols(3));
    ASSERT_TRUE(sheet.setMaxRows(kRows));
    for (int r = 1; r <= kRows; ++r)
    {
        ASSERT_TRUE(sheet.setNumber(1, r, r * 0.1));
        ASSERT_TRUE(sheet.setFormula(2, r, "=SUM($A$1:A" + std::to_string(r) + ")"));
    }
    expectSums(sheet, kRows, "built");
    ASSERT_TRUE(sheet.setNumber(1, 1, 1000));
    expectSums(sheet, kRows, "head changed");
    ASSERT_TRUE(sheet.setNumber(1, 150, -7.25));
    expectSums(sheet, kRows, "middle changed");
    ASSERT_TRUE(sheet.setValue(1, 2, "text"));
    expectSums(sheet, kRows, "a text in the column");

    // An error in the column reaches every sum below it, and only those.
    ASSERT_TRUE(sheet.setFormula(1, 100, "=1/0"));
    EXPECT_EQ(sheet.cellValueText(2, 99), grid::formatGeneral(expectedSum(sheet, 99)));
    EXPECT_EQ(sheet.cellValueText(2, 100), "#DIV/0!");
    EXPECT_EQ(sheet.cellValueText(2, kRows), "#DIV/0!");
    ASSERT_TRUE(sheet.setNumber(1, 100, 5));
    expectSums(sheet, kRows, "error removed");
}

TEST(SheetSums, FormulaCellsInTheSummedColumnAreFinalBeforeTheSum)
{
    // Column A is itself calculated from column C, so one change of C1 moves all of A and
    // then all of B in the same pass.
    constexpr int kRows = 200;
    grid::Sheet sheet;
    ASSERT_TRUE(sheet.setMaxCols(3));
    ASSERT_TRUE(sheet.setMaxRows(kRows));
    ASSERT_TRUE(sheet.setNumber(3, 1, 1));
    for (int r = kRows; r >= 1; --r)
    {
        const std::string n = std::to_string(r);
        ASSERT_TRUE(sheet.setFormula(1, r, "=$C$1*" + n));
        ASSERT_TRUE(sheet.setFormula(2, r, "=SUM($A$1:A" + n + ")"));
    }
    expectSums(sheet, kRows, "built");
    ASSERT_TRUE(sheet.setNumber(3, 1, 3));
    expectSums(sheet, kRows, "factor changed");
    EXPECT_EQ(sheet.cellValueText(2, kRows), grid::formatGeneral(3.0 * kRows * (kRows + 1) / 2));
}
} // namespace
