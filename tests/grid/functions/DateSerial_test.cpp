#include "grid/functions/DateSerial.h"

#include <gtest/gtest.h>

namespace grid::fn
{
namespace
{
TEST(DateSerial, KeepsTheFictitiousLeapDayOf1900)
{
    EXPECT_EQ(serialFromDate(1900, 1, 1), 1);
    EXPECT_EQ(serialFromDate(1900, 2, 28), 59);
    EXPECT_EQ(serialFromDate(1900, 2, 29), 60);
    EXPECT_EQ(serialFromDate(1900, 3, 1), 61);
    EXPECT_EQ(serialFromDate(1900, 3, 0), 60); // day 0 of March is the 29th of February
    EXPECT_EQ(serialFromDate(1900, 1, 0), 0);
    EXPECT_EQ(serialFromDate(2023, 3, 15), 45000);
    EXPECT_EQ(serialFromDate(9999, 12, 31), 2958465);
    const CivilDate leap = dateFromSerial(60);
    EXPECT_EQ(leap.month * 100 + leap.day, 229);
    const CivilDate zero = dateFromSerial(0);
    EXPECT_EQ(zero.year * 10000 + zero.month * 100 + zero.day, 19000100);
}

TEST(DateSerial, MonthAndDayOverflowCarry)
{
    EXPECT_EQ(serialFromDate(2024, 13, 1), serialFromDate(2025, 1, 1));
    EXPECT_EQ(serialFromDate(2024, 0, 1), serialFromDate(2023, 12, 1));
    EXPECT_EQ(serialFromDate(2024, -13, 1), serialFromDate(2022, 11, 1));
    EXPECT_EQ(serialFromDate(2024, 1, 0), serialFromDate(2023, 12, 31));
    EXPECT_EQ(serialFromDate(2024, 2, 30), serialFromDate(2024, 3, 1));
}

TEST(DateSerial, EverySerialRoundTrips)
{
    for (long serial = 1; serial <= 2958465; serial += 7)
    {
        const CivilDate d = dateFromSerial(serial);
        ASSERT_EQ(serialFromDate(d.year, d.month, d.day), serial) << d.year << "-" << d.month << "-" << d.day;
    }
}

TEST(DateSerial, ReadsDateAndTimeTexts)
{
    EXPECT_EQ(parseDateTimeText("2024-03-15"), 45366);
    EXPECT_EQ(parseDateTimeText("2024/3/15"), 45366);
    EXPECT_EQ(parseDateTimeText(" 12:00 "), 0.5);
    EXPECT_EQ(parseDateTimeText("2:30 PM"), (14.5) / 24);
    EXPECT_EQ(parseDateTimeText("12:15 am"), 0.25 / 24);
    EXPECT_EQ(parseDateTimeText("2024-03-15 18:00"), 45366.75);
    EXPECT_NEAR(*parseDateTimeText("10:20:30.5"), (10 * 3600 + 20 * 60 + 30.5) / 86400, 1e-12);
    // A time may pass a day, as a duration typed into a cell does.
    EXPECT_EQ(parseDateTimeText("25:00"), 25.0 / 24);
    EXPECT_EQ(parseDateTimeText("1000:30"), 1000.5 / 24);
    EXPECT_EQ(parseDateTimeText("2024-03-15 25:00"), 45366 + 25.0 / 24);
    for (const char* bad : {"", "2024-02-30", "2024-13-01", "2024-03", "24-03-15", "10:60", "13:00 PM",
                            "0:30 AM", "2024-03-15x", "12:5", "abc", "2024-03/15", "1899-12-31", "10000:00",
                            "13:00 AM", "2024-03-15 13:00 PM"})
        EXPECT_EQ(parseDateTimeText(bad), std::nullopt) << bad;
}
} // namespace
} // namespace grid::fn
