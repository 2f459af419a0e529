#include "grid/functions/NumberFormat.h"

#include <gtest/gtest.h>

// Fraction codes such as "# ?\?/??" are written with an escaped question mark inside
// string literals, where "??/" would otherwise read as a trigraph.
namespace grid::fn
{
namespace
{
struct FormatCase
{
    double value;
    const char* format;
    const char* expected;
};

std::string shown(double value, const char* format)
{
    Result<std::string> r = NumberFormat(format).format(value);
    return r.ok() ? *r : std::string("<") + errorText(r.error()) + ">";
}

TEST(NumberFormat, NumberCodes)
{
    const FormatCase cases[] = {
        {1234.567, "0.00", "1234.57"},
        {1234.567, "#,##0", "1,235"},
        {1234.567, "#,##0.00", "1,234.57"},
        {-1234.5, "#,##0.00", "-1,234.50"},
        {1234567.891, "#,##0.0", "1,234,567.9"},
        {999, "#,##0", "999"},
        {5, "0,000", "0,005"},
        {0.256, "0%", "26%"},
        {0.256, "0.0%", "25.6%"},
        {12345.678, "0.0E+00", "1.2E+04"},
        {0.000123, "0.00E+00", "1.23E-04"},
        {12345.678, "0.00E-0", "1.23E4"},
        {0, "0.0E+00", "0.0E+00"},
        {9.99, "0.0E+00", "1.0E+01"},
        {12345, "##0.0E+0", "12.3E+3"},
        {0.5, "#.##", ".5"},
        {0, "#,###", ""},
        {5, "000", "005"},
        {12.3456, "00.00", "12.35"},
        {2.675, "0.00", "2.68"},
        {1.5, "0.0#", "1.5"},
        {1.25, "0.0#", "1.25"},
        {1.5, "0.??", "1.5 "},
        {1234567, "0,", "1235"},
        {1234567, "#,##0.0,,", "1.2"},
        {1234.5, "$#,##0.00", "$1,234.50"},
        {-12, "0;(0)", "(12)"},
        {12, "0;(0)", "12"},
        {0, "0;-0;\"zero\"", "zero"},
        {-3, "0.0;-0.0;\"zero\"", "-3.0"},
        {42, "\"Total: \"0", "Total: 42"},
        {42, "0\\ \\m\\m", "42 mm"},
        {42, "0_)", "42 "},
        {42, "[Red]0", "42"},
        {12, "General", "12"},
        {0.1 + 0.2, "General", "0.3"},
        {123456789, "000-00-0000", "123-45-6789"},
        {-0.4, "0", "-0"},
        {0.123, "0.0 %", "12.3 %"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(shown(c.value, c.format), c.expected) << c.value << " as " << c.format;
}

TEST(NumberFormat, DateAndTimeCodes)
{
    const FormatCase cases[] = {
        {45000, "yyyy-mm-dd", "2023-03-15"},
        {45000, "dd/mm/yyyy", "15/03/2023"},
        {45000, "d/m/yy", "15/3/23"},
        {45000, "d mmm yyyy", "15 Mar 2023"},
        {45000, "mmmm", "March"},
        {45000, "mmmmm", "M"},
        {45000, "ddd", "Wed"},
        {45000, "dddd", "Wednesday"},
        {0.75, "hh:mm", "18:00"},
        {45000.75, "yyyy-mm-dd hh:mm", "2023-03-15 18:00"},
        {0.5, "h:mm AM/PM", "12:00 PM"},
        {0.25, "h:mm am/pm", "6:00 am"},
        {0.0, "h A/P", "12 A"},
        {1.25, "[h]:mm", "30:00"},
        {0.5, "[mm]", "720"},
        {0.5 + 1.5 / 86400, "hh:mm:ss.0", "12:00:01.5"},
        {0.999999, "hh:mm:ss", "00:00:00"}, // rounds into the next day, never 60 seconds
        {0.999999, "yyyy-mm-dd hh:mm:ss", "1900-01-01 00:00:00"},
        {60, "yyyy-mm-dd", "1900-02-29"},
        {61, "dddd", "Thursday"},
        {0, "yyyy-mm-dd", "1900-01-00"},
        {2958465, "yyyy-mm-dd", "9999-12-31"},
        {0.5, "mm:ss", "00:00"},
        {45000, "m", "3"},
        {0.000694444444444444, "h:m", "0:1"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(shown(c.value, c.format), c.expected) << c.value << " as " << c.format;
}

TEST(NumberFormat, DatesOutsideTheDateSystemAreValueErrors)
{
    EXPECT_EQ(shown(-1, "yyyy-mm-dd"), "<#VALUE!>");
    EXPECT_EQ(shown(2958466, "yyyy"), "<#VALUE!>");
    EXPECT_EQ(shown(1e300, "hh:mm"), "<#VALUE!>");
}

TEST(NumberFormat, NumbersAtTheEndsOfTheDoubleRange)
{
    EXPECT_EQ(shown(1e308, "0%"), "<#VALUE!>");
    EXPECT_EQ(shown(4.9e-324, "0.0E+00"), "4.9E-324");
    EXPECT_EQ(shown(2.5e-320, "0.00E+0"), "2.50E-320");
    EXPECT_EQ(shown(1.7e308, "0.0E+00"), "1.7E+308");
    EXPECT_EQ(shown(1e300, "0").size(), 301u);
}

TEST(NumberFormat, TextsGoThroughTheTextSection)
{
    EXPECT_EQ(NumberFormat("0.00").formatText("abc"), "abc");
    EXPECT_EQ(NumberFormat("\"<\"@\">\"").formatText("abc"), "<abc>");
    EXPECT_EQ(NumberFormat("0;-0;0;\"text: \"@").formatText("x"), "text: x");
    // A last section with '@' is the text section whatever the count, so numbers never
    // reach it: a negative number keeps its sign in the first section.
    EXPECT_EQ(NumberFormat("0.00;\"<\"@").formatText("x"), "<x");
    EXPECT_EQ(shown(-5, "0.00;@"), "-5.00");
    EXPECT_EQ(shown(-5, "0.00;(0.00);@"), "(5.00)");
    EXPECT_EQ(shown(0, "0.00;(0.00);@"), "0.00");
    EXPECT_EQ(NumberFormat("0.00;(0.00);0").formatText("x"), "x");
}

TEST(NumberFormat, Fractions)
{
    const FormatCase cases[] = {
        {1.25, "# ?/?", "1 1/4"},
        {1.25, "?/?", "5/4"},
        {1.25, "# ?\?/??", "1  1/4 "}, // numerators pad on the left, denominators on the right
        {0.333, "# ?\?/??", "  1/3 "},
        {3.14159265, "# ??\?/???", "3  16/113"},
        {0.3, "?/?", "2/7"},         // closer than 1/3 with one denominator digit
        {0.1, "# ?\?/??", "  1/10"}, // two digits allow the exact tenth
        {0.85, "?/?", "6/7"},
        {-1.25, "# ?/?", "-1 1/4"},
        {-0.25, "?/?", "-1/4"},
        {0.5, "# ?/?", " 1/2"}, // '#' shows no whole part, the blank stays
        {0.5, "0 ?/?", "0 1/2"},
        {2, "# ?/?", "2    "}, // a whole number keeps the fraction's width in blanks
        {2, "# ?\?/??", "2      "},
        {0, "# ?/?", "0    "},
        {0, "?/?", "0/1"},
        {0.0001, "# ?\?/??", "0      "},
        {0.99, "# ?/?", "1    "}, // the fraction rounds up into the whole part
        {100.999, "# ?/?", "101    "},
        {1.3, "# ?/8", "1 2/8"}, // a fixed denominator is not reduced
        {0.25, "?/100", "25/100"},
        {1.75, "?/4", "7/4"},
        {2, "# ?/8", "2    "},
        {2.5, "0 00/00", "2 01/02"},
        {1234.5, "#,##0 ?/?", "1,234 1/2"},
        {0.3333, "# ?/? \"in\"", " 1/3 in"},
        {-0.5, "# ?/?;(# ?/?)", "( 1/2)"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(shown(c.value, c.format), c.expected) << c.value << " as " << c.format;
}

TEST(NumberFormat, FractionsAreTheClosestWithTheDigitsAllowed)
{
    // Large denominators walk the continued fraction; the result must still be the
    // closest fraction, not merely the last convergent (pi's 355/113 would need fewer).
    EXPECT_EQ(shown(3.14159265358979, "# ????\?/?????"), "3 14093/99532");
    EXPECT_EQ(shown(3.14159265358979, "# ???\?/????"), "3   16/113 ");
    EXPECT_EQ(shown(0.1234567, "?/???????"), "1116184/9041097");
    EXPECT_EQ(shown(2.0 / 3, "?/??????"), "2/3     ");
    EXPECT_EQ(shown(0.55, "?/?"), "5/9"); // not the simpler 1/2
    EXPECT_EQ(shown(1e20, "?/?"), "100000000000000000000/1");
    EXPECT_EQ(shown(1e308, "0% ?/?"), "<#VALUE!>");
}

TEST(NumberFormat, ConditionsAndSections)
{
    const FormatCase cases[] = {
        {150, "[>=100]\"big\";\"small\"", "big"},
        {50, "[>=100]\"big\";\"small\"", "small"},
        {5, "[=5]\"five\";0", "five"},
        {1500, "[<1000]0;[<1000000]0.0,\"K\";0.0,,\"M\"", "1.5K"},
        {2500000, "[<1000]0;[<1000000]0.0,\"K\";0.0,,\"M\"", "2.5M"},
        // A section that takes only negatives writes its own sign, like the plain one.
        {-50, "[>=100]0;0", "50"},
        {-50, "[>=100]0;[<0]0;0", "50"},
        {-50, "[<0]\"neg \"0;0", "neg 50"},
        {-50, "[<10]0;0", "-50"},
        {-50, "[>=100]0;[<=10]0;0", "-50"},
        {50, "[>100]0;[<0]0", "<#VALUE!>"}, // no section takes the number
        {-5, "0;0", "5"},
        {0, "0;(0)", "0"},
        {-0.5, "[h]:mm;-[h]:mm", "-12:00"},
        {5, ";;;", ""},
        {-5, ";", ""},
        {1.5, "", ""},
        {5, "[Blue]0;[Red]-0", "5"},
        {5, "[Color12]0", "5"},
        {5, "[$€-407]0.00", "€5.00"},
        {5, "[$-409]0", "5"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(shown(c.value, c.format), c.expected) << c.value << " as " << c.format;
}

TEST(NumberFormat, MalformedCodesAreValueErrors)
{
    const char* codes[] = {"[",   "\"abc",  "0E+", "E+00", "0;0;0;0;0", "0;0;[>1]0", "[Color57]0",
                           "0\\", "[abc]0", "0_",  "0*",   "[>=]0",     "[>1][<5]0", "0;0;0;[=1]@"};
    for (const char* code : codes)
    {
        const NumberFormat format(code);
        EXPECT_FALSE(format.valid()) << code;
        EXPECT_EQ(shown(5, code), "<#VALUE!>") << code;
    }
    for (const char* code : {"0.0.0", "0 \"kg\"", "[Magenta]0", "[h]", "[ss].00", "[<=-1.5]0", "\\\\0"})
        EXPECT_TRUE(NumberFormat(code).valid()) << code;
}

TEST(NumberFormat, TimeCodesAroundSeconds)
{
    const FormatCase cases[] =
        {
            {0.0001, "[ss].00", "08.64"},         {0.5, "[mm]:ss", "720:00"},
            {1.5, "[h]:mm:ss", "36:00:00"},       {45000.123456, "ss.000", "46.598"},
            {45000.75, "hh mmm", "18 Mar"}, // three letters are always the month
            {0.5 + 61.0 / 86400, "m:ss", "1:01"},
        };
    for (const FormatCase& c : cases)
        EXPECT_EQ(shown(c.value, c.format), c.expected) << c.value << " as " << c.format;
}

TEST(NumberFormat, MalformedCodesNeverCrash)
{
    const char* codes[] = {"\"unclosed",
                           "[",
                           "\\",
                           "_",
                           "*",
                           "0.0E+",
                           "E+00",
                           ";;;;;",
                           "0.0.0",
                           ",,,,",
                           "%%%",
                           "[h",
                           "yyyy\"",
                           "00000000000000000000000000000000000000000.000000000000000000000",
                           "?/",
                           "/?",
                           "?/?/?",
                           "0.0 ?/?",
                           "# ?/0",
                           "?/99999999999999999999999999",
                           "# ???????????????????\?/???????????????????"};
    for (const char* code : codes)
    {
        NumberFormat format(code);
        (void)format.format(1234.5);
        (void)format.format(-1e300);
        (void)format.formatText("x");
    }
}
} // namespace
} // namespace grid::fn
