#include "host/StringFunctions.h"

#include <gtest/gtest.h>
#include <set>

TEST(StringFunctions, GetAlfabetCountsColumnsInBijectiveBase26)
{
    const std::pair<int, const char*> cases[] = {{1, "A"},     {26, "Z"},  {27, "AA"},
                                                 {52, "AZ"},   {53, "BA"}, {702, "ZZ"},
                                                 {703, "AAA"}, {0, ""},    {-4, ""}};
    for (auto [column, letters] : cases)
        EXPECT_EQ(getAlfabet(column), letters) << column;
}

TEST(StringFunctions, SplittingAndJoiningRoundTrip)
{
    Kdr_StringArray items;
    strToArr("a;b;;c", items);
    EXPECT_EQ(items, (Kdr_StringArray{"a", "b", "", "c"}));
    EXPECT_EQ(arrToStr(items), "a;b;;c");
    strToArr("", items);
    EXPECT_EQ(items, (Kdr_StringArray{""}));

    // Rows through TAB and through the separator byte of the stock files.
    Kdr_Array<Kdr_StringArray> rows{Kdr_StringArray{"100", "x", "\xE9t\xE9"}, Kdr_StringArray{""},
                                    Kdr_StringArray{"a", ""}};
    for (std::string_view separator : {std::string_view("\t"), std::string_view("\xBF")})
    {
        Kdr_StringArray lines;
        arrArrToArr(rows, lines, separator);
        Kdr_Array<Kdr_StringArray> back;
        arrToArrArr(lines, back, separator);
        EXPECT_EQ(back, rows);
    }
    Kdr_StringArray lines;
    arrArrToArr(rows, lines);
    EXPECT_EQ(lines[0], "100\tx\t\xE9t\xE9");
}

TEST(StringFunctions, SplitAtSymbolTakesTheFirstSymbolOutsideQuotes)
{
    Kdr_String left = "unchanged", right = "unchanged";
    EXPECT_FALSE(splitStringAtSymbol("SUM(A1:A3)", '=', left, right, true));
    EXPECT_EQ(left, "unchanged");

    EXPECT_TRUE(splitStringAtSymbol(" width = IF(a=b, 1, 2) ", '=', left, right, true));
    EXPECT_EQ(left, "width");
    EXPECT_EQ(right, "IF(a=b, 1, 2)");
    EXPECT_TRUE(splitStringAtSymbol("x =y", '=', left, right, false));
    EXPECT_EQ(left, "x ");
    EXPECT_EQ(right, "y");
    EXPECT_TRUE(splitStringAtSymbol("100x10", 'x', left, right, true));
    EXPECT_EQ(left, "100");
    EXPECT_EQ(right, "10");

    Kdr_StringArray parts;
    EXPECT_TRUE(splitStringAtSymbol("\"child, one.zxs\", a , b", ',', parts, true));
    EXPECT_EQ(parts, (Kdr_StringArray{"\"child, one.zxs\"", "a", "b"}));
    EXPECT_FALSE(splitStringAtSymbol("alone", ',', parts, true));
    EXPECT_EQ(parts, (Kdr_StringArray{"alone"}));
}

TEST(StringFunctions, DuplicatesKeepTheFirstOccurrence)
{
    Kdr_StringArray names{"a", "B", "A", "c", "b", "a"};
    Kdr_Array<int> indices;
    EXPECT_TRUE(getDuplicates(names, indices, false));
    EXPECT_EQ(indices, (Kdr_Array<int>{2, 4, 5}));
    EXPECT_TRUE(getDuplicates(names, indices, true));
    EXPECT_EQ(indices, (Kdr_Array<int>{5}));

    Kdr_StringArray duplicates;
    EXPECT_TRUE(hasDuplicates(names, duplicates, false));
    EXPECT_EQ(duplicates, (Kdr_StringArray{"a", "B"}));
    EXPECT_FALSE(hasDuplicates(Kdr_StringArray{"a", "b"}, duplicates, false));
    EXPECT_TRUE(duplicates.isEmpty());
}

TEST(StringFunctions, CommentsAreRemovedAcrossLines)
{
    Kdr_StringArray lines{"8 /* eight", "still comment", "end */ 10 // ten", "12/**/x12", "/* open"};
    removeComments(lines);
    removeLineComment(lines);
    EXPECT_EQ(lines, (Kdr_StringArray{"8 ", "", " 10 ", "12x12", ""}));
}

TEST(StringFunctions, FindFirstNumbersFindsTheStartOfTheFirstNumber)
{
    struct Case
    {
        const char* text;
        bool found;
        int start;
        const char* number;
    };
    const Case cases[] = {{"HEA 100", true, 4, "100"},    {"L50x5", true, 1, "50"},
                          {"IPE", false, 0, ""},          {"d .5 mm", true, 2, ".5"},
                          {"x -12.5y", true, 2, "-12.5"}, {"L-50", true, 2, "50"},
                          {"v1.2.3", true, 1, "1.2"}};
    for (const Case& c : cases)
    {
        int start = 0;
        Kdr_String number;
        EXPECT_EQ(findFirstNumbers(c.text, start, number), c.found) << c.text;
        if (c.found)
        {
            EXPECT_EQ(start, c.start) << c.text;
            EXPECT_EQ(number, c.number) << c.text;
        }
    }
}

TEST(StringFunctions, NameChecks)
{
    EXPECT_TRUE(hasOnlyLettersNumbers("Bolt12"));
    EXPECT_FALSE(hasOnlyLettersNumbers("bolt_12"));
    EXPECT_FALSE(hasOnlyLettersNumbers(""));
    EXPECT_FALSE(hasOnlyLettersNumbers("caf\xE9"));
    EXPECT_TRUE(startsWithNumber("1abc"));
    EXPECT_FALSE(startsWithNumber("abc1"));
    EXPECT_FALSE(hasInvalidFileNameChars("Plate 10 mm.zxs"));
    for (const char* bad : {"a/b", "a\\b", "a:b", "a*", "a?", "\"a\"", "<a>", "a|b", "a\tb"})
        EXPECT_TRUE(hasInvalidFileNameChars(bad)) << bad;

    Kdr_String path = "\\\\/Childs\\x.zxs";
    EXPECT_EQ(ensureNoStartBSlash(path), "Childs\\x.zxs");
    Kdr_String folder = "lib\\dwg";
    EXPECT_EQ(ensureEndBSlash(folder), "lib\\dwg/");
    EXPECT_EQ(ensureEndBSlash(folder), "lib\\dwg/");
}

TEST(StringFunctions, FindNonExistingStringVariesTheBase)
{
    Kdr_StringArray used{"New table", "new table_1", "1", "2", "100x50x5", "100x50x5_1"};
    EXPECT_EQ(findNonExistingString(used, "Other"), "Other");
    EXPECT_EQ(findNonExistingString(used, "NEW TABLE"), "NEW TABLE_2");
    EXPECT_EQ(findNonExistingString(used, "NEW TABLE", true), "NEW TABLE");
    EXPECT_EQ(findNonExistingString(used, "1"), "3");
    EXPECT_EQ(findNonExistingString(used, "100x50x5"), "100x50x5_2");
    EXPECT_EQ(findNonExistingString(used, "100x50x5_1"), "100x50x5_2");
}

TEST(StringFunctions, RandomStringsUseTheirAlphabetAndDiffer)
{
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i)
    {
        Kdr_String key;
        ASSERT_TRUE(generateRandomString(24, key, true));
        ASSERT_EQ(key.size(), 24u);
        EXPECT_TRUE(hasOnlyLettersNumbers(key));
        seen.insert(key);
    }
    EXPECT_EQ(seen.size(), 50u);
    Kdr_String upper = generateRandomString(200, false);
    EXPECT_EQ(upper, upper.upper());
    Kdr_String none = "x";
    EXPECT_FALSE(generateRandomString(0, none, true));
    EXPECT_TRUE(none.empty());
}

TEST(StringFunctions, FieldEscapesRoundTripAndRefuseBrokenOnes)
{
    const std::string awkward = "a\\b\tc\nd\re\xBF\xFF";
    Kdr_String escaped = host::escapeField(awkward);
    EXPECT_EQ(escaped, "a\\\\b\\tc\\nd\\re\xBF\xFF");
    Kdr_String back;
    ASSERT_TRUE(host::unescapeField(escaped, back));
    EXPECT_EQ(back, awkward);
    for (const char* broken : {"end\\", "\\x", "a\\ b"})
        EXPECT_FALSE(host::unescapeField(broken, back)) << broken;
}

TEST(StringFunctions, NaturalOrderAndWildcards)
{
    EXPECT_LT(host::compareNatural("M8", "M10", false), 0);
    EXPECT_LT(host::compareNatural("100x50x5", "100x60x5", false), 0);
    EXPECT_GT(host::compareNatural("100x100", "100x60", false), 0);
    EXPECT_EQ(host::compareNatural("hea100", "HEA100", false), 0);
    EXPECT_NE(host::compareNatural("007", "7", false), 0); // distinct texts never tie

    EXPECT_TRUE(host::matchWildcard("*.zxs", "Plate.ZXS"));
    EXPECT_TRUE(host::matchWildcard("Stock?.shp", "Stock7.shp"));
    EXPECT_FALSE(host::matchWildcard("*.zxs", "Plate.zxs.bak"));
    EXPECT_TRUE(host::matchWildcard("*a*b*c", "xxaxxbxxbc"));
    EXPECT_FALSE(host::matchWildcard("a", ""));
}
