#include "host/Kdr_String.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(Kdr_String, ToDoubleReadsAsAtofDoes)
{
    EXPECT_EQ(Kdr_String("25.3333333").toDouble(), 25.3333333);
    EXPECT_EQ(Kdr_String("+.5").toDouble(), 0.5);
    EXPECT_EQ(Kdr_String("-1e3").toDouble(), -1000.0);
    // Texts that are no plain decimal number read as far as they go.
    EXPECT_EQ(Kdr_String("  7 mm").toDouble(), 7.0);
    EXPECT_EQ(Kdr_String("0x1A").toDouble(), 26.0);
    EXPECT_EQ(Kdr_String("+-5").toDouble(), 0.0);
    EXPECT_EQ(Kdr_String("abc").toDouble(), 0.0);
    EXPECT_EQ(Kdr_String("1e-400").toDouble(), 0.0);
    EXPECT_TRUE(std::isinf(Kdr_String("1e400").toDouble()));
    EXPECT_EQ(Kdr_String(std::string("12\0"
                                     "34",
                                     5))
                  .toDouble(),
              12.0);
}

TEST(Kdr_String, IsNumberTakesOneDecimalNumberBetweenBlanks)
{
    for (const char* text : {"12", " -1.5 ", "+.5", "3.", "1e3", "2E-4\t"})
        EXPECT_TRUE(Kdr_String(text).isNumber()) << text;
    for (const char* text : {"", " ", ".", "+", "1e", "1e+", "1.2.3", "1 2", "0x1A", "7 mm", "inf"})
        EXPECT_FALSE(Kdr_String(text).isNumber()) << text;
}
