#include "grid/functions/Criteria.h"

#include <gtest/gtest.h>

namespace grid::fn
{
namespace
{
TEST(Wildcards, MatchWholeTextsWithStarsQuestionMarksAndEscapes)
{
    struct Case
    {
        const char* pattern;
        const char* text;
        bool matches;
    } cases[] = {
        {"abc", "ABC", true},     {"a*", "apple", true},
        {"a*", "banana", false},  {"*a", "banana", true},
        {"*", "", true},          {"?", "", false},
        {"?????", "forty", true}, {"?????", "thirty", false},
        {"a*c", "abbbc", true},   {"a*c", "abbbcd", false},
        {"*t*y", "twenty", true}, {"~*", "*", true},
        {"~*", "a", false},       {"~?", "?", true},
        {"a~~b", "a~b", true},    {"**a**", "xax", true},
        {"", "", true},           {"", "x", false},
        {"a?c*", "abcdef", true}, {"*ab", "aab", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatch(c.pattern, c.text), c.matches) << c.pattern << " ~ " << c.text;
}

TEST(Wildcards, PathologicalPatternsFinishQuickly)
{
    const std::string text(5000, 'a');
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*b", text));
    EXPECT_TRUE(wildcardMatch("*a*a*a*a*a*a*a*a*", text));
}

TEST(Wildcards, SearchFindsTheFirstStart)
{
    EXPECT_EQ(wildcardSearch("a?c", "xxabcx", 0), 2u);
    EXPECT_EQ(wildcardSearch("b", "abcabc", 2), 4u);
    EXPECT_EQ(wildcardSearch("", "abc", 1), 1u);
    EXPECT_EQ(wildcardSearch("z", "abc", 0), std::nullopt);
    EXPECT_EQ(wildcardSearch("x", "abc", 3), std::nullopt);
}

TEST(Criteria, ComparisonsAndEquality)
{
    const Value five = Value::number(5), ten = Value::number(10), apple = Value::text("apple"),
                banana = Value::text("Banana"), empty, emptyText = Value::text(""),
                yes = Value::logical(true), div0 = Value::error(ErrorCode::Div0),
                five_text = Value::text("5");
    struct Case
    {
        Value criterion;
        Value cell;
        bool matches;
    } cases[] = {
        {Value::text(">5"), ten, true},
        {Value::text(">5"), five, false},
        {Value::text(">=5"), five, true},
        {Value::text("<5"), apple, false}, // numbers compare only with numbers
        {Value::text("<>5"), apple, true},
        {Value::text("<>5"), empty, true},
        {Value::text("<>5"), five, false},
        {five, five, true},
        {Value::text("5"), five, true},
        {five, five_text, true},               // a number matches the texts that read as it
        {Value::text(">4"), five_text, false}, // but orders only against numbers
        {Value::text("="), emptyText, false},  // "=" wants a cell that holds nothing
        {Value::text("<>"), emptyText, true},  // "<>" takes the empty text as something
        {Value::text("=apple"), apple, true},
        {Value::text("APPLE"), apple, true},
        {Value::text("a*"), apple, true},
        {Value::text("<>a*"), apple, false},
        {Value::text("<>a*"), banana, true},
        {Value::text("<c"), banana, true}, // texts compare with texts, case ignored
        {Value::text("<c"), ten, false},
        {Value::text(""), empty, true},
        {Value::text(""), emptyText, true},
        {Value::text(""), apple, false},
        {Value::text("="), empty, true},
        {Value::text("<>"), empty, false},
        {Value::text("<>"), apple, true},
        {Value::text("TRUE"), yes, true},
        {yes, Value::number(1), false},
        {Value::text("#DIV/0!"), div0, true},
        {Value::text(">2024-01-01"), Value::number(45300), true},
        {Value::text(">1e1"), Value::number(11), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Criteria(c.criterion).matches(c.cell), c.matches)
            << valueText(c.criterion) << " against " << valueText(c.cell);
}
} // namespace
} // namespace grid::fn
