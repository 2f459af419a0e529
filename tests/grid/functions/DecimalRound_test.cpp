#include "grid/functions/DecimalRound.h"

#include <cmath>
#include <gtest/gtest.h>

namespace grid::fn
{
namespace
{
struct RoundCase
{
    double value;
    int digits;
    RoundMode mode;
    double expected;
};

TEST(DecimalRound, RoundsTheDecimalValueNotTheBinaryOne)
{
    const RoundCase cases[] = {
        // Doubles just below a halfway point still round up: the decimal value is what counts.
        {2.15, 1, RoundMode::HalfAwayFromZero, 2.2},
        {-1.475, 2, RoundMode::HalfAwayFromZero, -1.48},
        {1.005, 2, RoundMode::HalfAwayFromZero, 1.01},
        {21.9 / 0.2, 0, RoundMode::HalfAwayFromZero, 110},
        {2.675, 2, RoundMode::HalfAwayFromZero, 2.68},
        {0.285, 2, RoundMode::HalfAwayFromZero, 0.29},
        {1.0049999, 2, RoundMode::HalfAwayFromZero, 1.0},
        {-2.5, 0, RoundMode::HalfAwayFromZero, -3},
        {1234.5678, -2, RoundMode::HalfAwayFromZero, 1200},
        {49.9, -2, RoundMode::HalfAwayFromZero, 0},
        {50, -2, RoundMode::HalfAwayFromZero, 100},
        {123456789.125, 2, RoundMode::HalfAwayFromZero, 123456789.13},
        {0.1 + 0.2, 1, RoundMode::AwayFromZero, 0.3},
        {3.2, 0, RoundMode::AwayFromZero, 4},
        {-3.2, 0, RoundMode::AwayFromZero, -4},
        {0.001, 0, RoundMode::AwayFromZero, 1},
        {5, -3, RoundMode::AwayFromZero, 1000},
        {0.3 / 0.1, 0, RoundMode::TowardZero, 3},
        {-8.9, 0, RoundMode::TowardZero, -8},
        {3.14159, 3, RoundMode::TowardZero, 3.141},
        {0.004, 2, RoundMode::HalfAwayFromZero, 0},
        {1e300, 2, RoundMode::HalfAwayFromZero, 1e300},
        {1.5e-300, 2, RoundMode::HalfAwayFromZero, 0},
        {1.23456789e-5, 7, RoundMode::HalfAwayFromZero, 1.23e-5},
    };
    for (const RoundCase& c : cases)
        EXPECT_EQ(roundDecimal(c.value, c.digits, c.mode), c.expected)
            << c.value << " to " << c.digits << " (mode " << static_cast<int>(c.mode) << ")";
}

TEST(DecimalRound, ExtremeDigitCountsAndNonFiniteValuesAreSafe)
{
    EXPECT_EQ(roundDecimal(1.5, 1000, RoundMode::HalfAwayFromZero), 1.5);
    EXPECT_EQ(roundDecimal(1.5, -1000, RoundMode::HalfAwayFromZero), 0);
    EXPECT_EQ(roundDecimal(1.5, -1000, RoundMode::AwayFromZero), INFINITY); // 1e1000: caller reports #NUM!
    EXPECT_TRUE(std::isnan(roundDecimal(NAN, 2, RoundMode::HalfAwayFromZero)));
    EXPECT_EQ(roundDecimal(0.0, 2, RoundMode::AwayFromZero), 0);
}

TEST(DecimalRound, FixedDecimalsWritesExactlyTheDecimalsAsked)
{
    EXPECT_EQ(fixedDecimals(1234.5, 2), "1234.50");
    EXPECT_EQ(fixedDecimals(2.675, 2), "2.68");
    EXPECT_EQ(fixedDecimals(-0.001, 2), "0.00");
    EXPECT_EQ(fixedDecimals(0.5, 0), "1");
    EXPECT_EQ(fixedDecimals(1e20, 0), "100000000000000000000");
    EXPECT_EQ(fixedDecimals(1e308, 3).size(), 313u);
}
} // namespace
} // namespace grid::fn
