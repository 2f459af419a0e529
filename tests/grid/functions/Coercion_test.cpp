#include "grid/functions/Coercion.h"

#include <gtest/gtest.h>

namespace grid::fn
{
namespace
{
TEST(Coercion, TextReadsAsTypedNumbers)
{
    const struct
    {
        const char* text;
        double value;
    } accepted[] = {
        {"$4.00", 4},
        {" 1,000 ", 1000},
        {"1,234,567.5", 1234567.5},
        {"(5)", -5},
        {"($1,200.50)", -1200.5},
        {"-$3", -3},
        {"$-3", -3},
        {"12.5 %", 0.125},
        {"(50%)", -0.5},
        {"$1e3", 1000},
        {"1 1/2", 1.5},
        {"0 3/4", 0.75},
        {"3/15/2024", 45366},
        {"3/15/24", 45366},
        {"15-Mar-2024", 45366},
        {"15 mar 2024", 45366},
        {"March 15, 2024", 45366},
        {"Mar-2024", 45352},
        {"Mar-24", 45352},
        {"1/2/1930", 10960},
        {"3/15/2024 6:00 PM", 45366.75},
    };
    for (const auto& c : accepted)
    {
        const auto n = textToNumber(c.text);
        ASSERT_TRUE(n.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*n, c.value) << c.text;
    }
    for (const char* text :
         {"1,00", "1,,000", "1,0000", "$", "()", "(-5)", "$$5", "1 1/0", "1 3/2", "2/30/2024", "15-Foo-2024",
          "Mar 32, 2024", "1.2.3", "5-", "1e400", "(5", "1 1/2%"})
        EXPECT_FALSE(textToNumber(text).has_value()) << text;
}
} // namespace
} // namespace grid::fn
