#include "host/NumberFunctions.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(NumberFunctions, RoundToGivesTheDecimalMultipleWithTiesAwayFromZero)
{
    struct Case
    {
        double value, step, expected;
    };
    const Case cases[] = {
        {0.3, 0.1, 0.3},       {0.1 + 0.2, 0.1, 0.3}, {2.5, 0.5, 2.5},       {2.5, 1, 3},
        {3.5, 1, 4},           {-2.5, 1, -3},         {-2.4, 1, -2},         {0.25, 0.1, 0.3},
        {-0.25, 0.1, -0.3},    {0.35, 0.1, 0.4},      {1.15, 0.1, 1.2},      {7, 5, 5},
        {7.5, 5, 10},          {-7.5, 5, -10},        {12.3, -5, 10},        {0.2, 0.5, 0},
        {1.005, 0.01, 1.01},   {2.675, 0.01, 2.68},   {-2.675, 0.01, -2.68}, {-0.2, 0.5, 0},
        {123.456, 0, 123.456}, {1e300, 0.1, 1e300},
    };
    for (const Case& c : cases)
    {
        double result = ObjectExportRoundTo(c.value, c.step);
        EXPECT_EQ(result, c.expected) << c.value << " to " << c.step;
        EXPECT_FALSE(std::signbit(result) && result == 0) << "negative zero for " << c.value;
    }
    EXPECT_TRUE(std::isnan(ObjectExportRoundTo(std::nan(""), 1)));
}

TEST(NumberFunctions, RoundUpGoesTowardsPlusInfinityWithinTheTolerance)
{
    struct Case
    {
        double value, step, tolerance, expected;
    };
    const Case cases[] = {
        {11, 5, 0, 15},   {10, 5, 0, 10},       {0.1 + 0.2, 0.1, 0, 0.3}, {0.31, 0.1, 0, 0.4},
        {-2.3, 1, 0, -2}, {-2.5, 0.5, 0, -2.5}, {10.000001, 5, 0, 15},    {10.000001, 5, 1e-5, 10},
        {11, 5, 1, 15},   {4.2, 0, 1, 4.2},     {2.5, 0.5, 0, 2.5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ObjectExportRoundUp(c.value, c.step, c.tolerance), c.expected)
            << c.value << " to " << c.step << " tol " << c.tolerance;
}

TEST(NumberFunctions, SortingAndSortedInsertion)
{
    Kdr_Array<double> values{5, 3, 9, 1};
    ObjectExportSort(values, 3);
    EXPECT_EQ(values, (Kdr_Array<double>{3, 5, 9, 1}));
    ObjectExportSort(values, 99);
    EXPECT_EQ(values, (Kdr_Array<double>{1, 3, 5, 9}));
    EXPECT_EQ(ObjectExportAddToSorted(values, 5), 3);
    EXPECT_EQ(ObjectExportAddToSorted(values, 0), 0);
    EXPECT_EQ(ObjectExportAddToSorted(values, 10), 6);
    EXPECT_EQ(values, (Kdr_Array<double>{0, 1, 3, 5, 5, 9, 10}));

    Kdr_StringArray names{"M10", "m8", "M12"};
    ObjectExportSort(names);
    EXPECT_EQ(names, (Kdr_StringArray{"m8", "M10", "M12"}));
    Kdr_StringArray sizes{"100x100", "120x120", "200x200"};
    EXPECT_EQ(ObjectExportAddToSorted(sizes, "140x140"), 2);
    EXPECT_EQ(ObjectExportAddToSorted(sizes, "90x90"), 0);
    EXPECT_EQ(sizes, (Kdr_StringArray{"90x90", "100x100", "120x120", "140x140", "200x200"}));
}
