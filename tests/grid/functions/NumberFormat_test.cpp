#include "grid/functions/NumberFormat.h"

#include <gtest/gtest.h>

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
}

TEST(NumberFormat, MalformedCodesNeverCrash)
{
    const char* codes[] = {"\"unclosed", "[",
                           "\\",         "_",
                           "*",          "0.0E+",
                           "E+00",       ";;;;;",
                           "0.0.0",      ",,,,",
                           "%%%",        "[h",
                           "yyyy\"",     "00000000000000000000000000000000000000000.000000000000000000000"};
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
