#include "grid/NumberText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace grid
{
namespace
{
struct FixedCase
{
    double value;
    int decimals;
    bool thousands;
    const char* text;
};

TEST(NumberText, FixedTextRoundsTheDecimalDigitsHalfAwayFromZero)
{
    const FixedCase cases[] = {
        {2.675, 2, false, "2.68"}, // the double lies just below 2.675
        {1.005, 2, false, "1.01"},
        {-1.475, 2, false, "-1.48"},
        {0.5, 0, false, "1"},
        {-0.5, 0, false, "-1"},
        {2.5, 0, false, "3"},
        {1234.5, 2, true, "1,234.50"},
        {-1234567.125, 2, true, "-1,234,567.13"},
        {999.999, 2, true, "1,000.00"},
        {123, 0, true, "123"},
        {0, 7, false, "0.0000000"},
        {0.1 + 0.2, 7, false, "0.3000000"},
        {1.23456785, 7, false, "1.2345679"},
        {-0.001, 2, false, "0.00"}, // no negative zero
        {0.006, 2, false, "0.01"},
        {0.0049, 2, false, "0.00"},
        // Beyond 15 significant digits a spreadsheet keeps no more digits.
        {12345678901234.56, 2, true, "12,345,678,901,234.60"},
        {123456789.123456789, 7, false, "123456789.1234570"},
        {1e20, 0, false, "100000000000000000000"},
        {1e-20, 3, false, "0.000"},
        {99.5, 0, false, "100"},
    };
    for (const FixedCase& c : cases)
        EXPECT_EQ(fixedText(c.value, c.decimals, c.thousands), c.text) << c.value << " with " << c.decimals;
    EXPECT_EQ(fixedText(std::numeric_limits<double>::infinity(), 2, false), "#NUM!");
}

TEST(NumberText, RoundToDecimalsGivesTheNearestDoubleOfTheRoundedDecimal)
{
    EXPECT_EQ(roundToDecimals(2.675, 2), 2.68);
    EXPECT_EQ(roundToDecimals(-2.675, 2), -2.68);
    EXPECT_EQ(roundToDecimals(0.285, 2), 0.29);
    EXPECT_EQ(roundToDecimals(1234.5678, 0), 1235.0);
    EXPECT_EQ(roundToDecimals(0.1 + 0.2, 15), 0.3);
    EXPECT_EQ(roundToDecimals(5e-324, 2), 0.0);
    // 15 digits of the largest double round up beyond it: the number stays as it is.
    EXPECT_EQ(roundToDecimals(1.7976931348623157e308, 2), 1.7976931348623157e308);
}

TEST(NumberText, ShortestTextReadsBackExactly)
{
    for (double v : {0.1, 1.0 / 3, 1e300, -2.5e-7, 123456789012345678.0})
    {
        double back = 0;
        ASSERT_TRUE(readDouble(shortestText(v), back));
        EXPECT_EQ(back, v);
    }
    double ignored = 0;
    EXPECT_FALSE(readDouble("1.5x", ignored));
    EXPECT_FALSE(readDouble("", ignored));
}
} // namespace
} // namespace grid
