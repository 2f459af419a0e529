// Reading texts as numbers and rounding them take shortcuts for the common cases; these pin
// the edge cases the shortcuts must leave as they were.

#include "grid/NumberText.h"
#include "grid/Sheet.h"
#include "grid/Value.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace grid;

TEST(NumberReading, EdgesOfTheNumberSyntax)
{
    EXPECT_EQ(parseNumber("+.5"), 0.5);
    EXPECT_EQ(parseNumber("-.5"), -0.5);
    EXPECT_EQ(parseNumber("5."), 5.0);
    EXPECT_EQ(parseNumber(" 12.5 % "), 0.125);
    EXPECT_EQ(parseNumber("1E3"), 1000.0);
    EXPECT_EQ(parseNumber("9007199254740993"), 9007199254740992.0); // nearest double
    // Below the smallest double reads as zero; beyond the largest is no number.
    EXPECT_EQ(parseNumber("1e-400"), 0.0);
    EXPECT_EQ(parseNumber("4e-320"), 4e-320);
    EXPECT_FALSE(parseNumber("1e400"));
    const auto negativeZero = parseNumber("-0");
    ASSERT_TRUE(negativeZero);
    EXPECT_TRUE(std::signbit(*negativeZero));
    for (const char* text : {"", " ", "+", "-", ".", "+-1", "1e", "1e+", "0x10", "inf", "nan", "1.2.3",
                             "1e5.5", "12%%", "1,000", "L1 = In1 * 2"})
        EXPECT_FALSE(parseNumber(text)) << text;
}

TEST(NumberReading, NumberCellsTakeSeparatorsButNotFormulasWithCommas)
{
    Sheet sheet;
    sheet.setMaxCols(3);
    sheet.setMaxRows(3);
    ASSERT_TRUE(
        sheet.setCellType(1, 1, 1, 3, CellType::number(2, CellType::kNumberMin, CellType::kNumberMax, true)));
    double number = 0;
    ASSERT_TRUE(sheet.setValue(1, 1, " 1,234.5 "));
    ASSERT_TRUE(sheet.cellNumber(1, 1, number));
    EXPECT_EQ(number, 1234.5);
    ASSERT_TRUE(sheet.setValue(1, 2, "MAX(1, 2)"));
    EXPECT_FALSE(sheet.cellNumber(1, 2, number));
    EXPECT_EQ(sheet.cellValueText(1, 2), "MAX(1, 2)");
}

TEST(NumberReading, RoundingKeepsNumbersThatNeedNone)
{
    EXPECT_FALSE(std::signbit(roundToDecimals(-0.0, 7)));
    EXPECT_EQ(roundToDecimals(25.5, 7), 25.5);
    EXPECT_EQ(roundToDecimals(-0.1, 1), -0.1);
    EXPECT_EQ(roundToDecimals(2.5, 0), 3.0);
    EXPECT_EQ(roundToDecimals(-2.5, 0), -3.0);
    EXPECT_EQ(roundToDecimals(123456789012345.6, 7), 123456789012346.0); // 15 significant digits
    EXPECT_EQ(roundToDecimals(1e-300, 7), 0.0);
    EXPECT_EQ(roundToDecimals(0.30000000000000004, 7), 0.3);
    EXPECT_EQ(roundToDecimals(1.5, -3), 2.0); // decimals below 0 count as 0
    EXPECT_EQ(formatGeneral(-42.0), "-42");
    EXPECT_EQ(formatGeneral(25.3333333), "25.3333333");
}
