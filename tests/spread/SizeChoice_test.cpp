#include "spread/SizeChoice.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <vector>

namespace
{
struct PickCase
{
    const char* what;
    std::vector<double> sizes;
    double down;
    double up;
    double value;
    std::optional<double> expected;
};

TEST(PickNearest, ChoosesTheNearerSizeThatTheWindowAllows)
{
    const PickCase cases[] = {
        {"empty list", {}, 1, 1, 11, std::nullopt},
        {"equal distances: below wins", {8, 10, 12}, 1, 1, 11, 10},
        {"above nearer", {8, 10, 12}, 1, 1, 11.2, 12},
        {"exact match counts as below", {8, 10, 12}, 0, 0, 10, 10},
        {"list order does not matter", {12, 8, 10}, 1, 1, 11, 10},
        {"below nearer but outside down: above taken", {8, 12}, 0.5, 3, 9, 12},
        {"above nearer but outside up: below taken", {8, 10.5}, 2, 0.2, 10, 8},
        {"nothing within reach", {8, 10, 12}, 0.5, 0.5, 11, std::nullopt},
        {"only sizes above, one in reach", {20, 15}, 0, 5, 11, 15},
        {"only sizes below, none in reach", {1, 2}, 3, 3, 11, std::nullopt},
        {"inverted window: below fails its distance, above its lower bound",
         {8, 10, 12},
         -2,
         1,
         11,
         std::nullopt},
        {"inverted window: above must still lie over value - down", {8, 12}, -1.5, 2, 11, std::nullopt},
        {"negative sizes", {-10, -8}, 1, 1, -9.2, -10},
    };
    for (const PickCase& c : cases)
    {
        Kdr_Array<double> sizes(c.sizes);
        double out = -12345;
        const bool found = pickNearest(sizes, c.down, c.up, c.value, out);
        EXPECT_EQ(found, c.expected.has_value()) << c.what;
        if (c.expected)
            EXPECT_DOUBLE_EQ(out, *c.expected) << c.what;
        else
            EXPECT_EQ(out, -12345) << c.what << ": out must stay untouched";
    }
}

TEST(PickNearest, SizesThatAreNotNumbersAreNeverCandidates)
{
    const double inf = std::numeric_limits<double>::infinity();
    Kdr_Array<double> sizes{std::numeric_limits<double>::quiet_NaN(), inf, -inf, 10};
    double out = 0;
    ASSERT_TRUE(pickNearest(sizes, 5, 5, 9, out));
    EXPECT_EQ(out, 10);
}

TEST(FloorToStep, GivesTheMultipleAtOrBelow)
{
    struct Case
    {
        double value, step, expected;
    } cases[] = {
        {7.3, 1, 7},   {7.6, 1, 7},   {7, 1, 7},     {0.35, 0.1, 0.3}, {0.7, 0.1, 0.7},
        {-2.4, 1, -3}, {-2.5, 1, -3}, {5.5, 0, 5.5}, {7.6, -1, 7},     {12.5, 5, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(floorToStep(c.value, c.step), c.expected) << c.value << " step " << c.step;
}

TEST(RoundWithinTolerance, PrefersTheNearerMultipleInsideTheWindow)
{
    struct Case
    {
        const char* what;
        double value, step, up, down, expected;
    } cases[] = {
        {"lower nearer", 12, 5, 5, 5, 10},
        {"upper nearer", 13, 5, 5, 5, 15},
        {"tie goes down", 12.5, 5, 5, 5, 10},
        {"lower out of reach, upper in", 11, 5, 5, 0.5, 15},
        {"upper out of reach, lower in", 14, 5, 0.5, 5, 10},
        {"neither fits: the value itself", 11, 5, 0.5, 0.5, 11},
        {"decimal step stays decimal", 2.34, 0.1, 0.1, 0.1, 2.3},
        {"on a multiple", 15, 5, 1, 1, 15},
        {"inverted window clamps up to value - down", 11, 5, 1, -2, 13},
        {"negative up clamps down to value + up", 11, 5, -0.5, 0.8, 10.5},
        {"step 0 keeps the value", 11.3, 0, 1, 1, 11.3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(roundWithinTolerance(c.value, c.step, c.up, c.down), c.expected) << c.what;
}

TEST(WidthsForThickness, KeepsWidthsForAnyThicknessAndThatThicknessSorted)
{
    Kdr_Array<double> firsts{150, 100, 120, 90, 80};
    Kdr_Array<double> seconds{0, 10, 12, 10.5, 0};
    Kdr_Array<double> expected{80, 100, 150};
    EXPECT_EQ(widthsForThickness(firsts, seconds, 10), expected);

    Kdr_Array<double> forTwelve{80, 120, 150};
    EXPECT_EQ(widthsForThickness(firsts, seconds, 12), forTwelve);
}
} // namespace
