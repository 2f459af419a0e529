#include "host/Kdr_StringArray.h"

#include <gtest/gtest.h>

TEST(Kdr_String, NumberTextDropsOrKeepsTrailingZeros)
{
    EXPECT_EQ(Kdr_String(20.0, 6, false), "20");
    EXPECT_EQ(Kdr_String(2.5, 4, false), "2.5");
    EXPECT_EQ(Kdr_String(1.0 / 3.0, 4, false), "0.3333");
    EXPECT_EQ(Kdr_String(20.0, 6, true), "20.000000");
    EXPECT_EQ(Kdr_String(-0.0000001, 6, false), "0");
}

TEST(Kdr_String, ComparisonsHonourTheCaseFlag)
{
    Kdr_String text("Connection Standards");
    EXPECT_TRUE(text.startsWith("connection", false));
    EXPECT_FALSE(text.startsWith("connection", true));
    EXPECT_TRUE(text.endsWith("STANDARDS", false));
    EXPECT_FALSE(text.endsWith("STANDARDS", true));
    EXPECT_EQ(text.find("standards", false), 11);
    EXPECT_EQ(text.find("standards", true), -1);
    EXPECT_TRUE(text.equal("CONNECTION STANDARDS", false));
    // Folding is ASCII only: bytes above 0x7F compare as they are.
    EXPECT_FALSE(Kdr_String("\xC9").equal("\xE9", false));
}

TEST(Kdr_StringArray, BadPositionsPrintTheHostMessageAndChangeNothing)
{
    host::CommandLineCapture capture;
    Kdr_StringArray list{"a", "b"};
    EXPECT_FALSE(list.insertAt(3, "x"));
    EXPECT_FALSE(list.removeAt(2));
    EXPECT_FALSE(list.removeAt(-1));
    EXPECT_EQ(capture.text(), "*Error* Invalid index passed to insert.\n"
                              "*Error* Invalid index passed to remove.\n"
                              "*Error* Invalid index passed to remove.\n");
    EXPECT_EQ(list, (Kdr_StringArray{"a", "b"}));
    EXPECT_TRUE(list.insertAt(2, "c"));
    EXPECT_EQ(list.find("C", false), 2);
    EXPECT_EQ(list.find("C", true), -1);
}

TEST(Kdr_String, NumberTextRoundsTheDecimalTheUserSees)
{
    const std::tuple<double, int, const char*> cases[] = {
        {2.675, 2, "2.68"},    {1.005, 2, "1.01"},  {0.125, 2, "0.13"}, {-2.5, 0, "-3"},
        {9.995, 2, "10"},      {-0.004, 2, "0"},    {99.96, 1, "100"},  {1e21, 0, "1000000000000000000000"},
        {0.1 + 0.2, 6, "0.3"}, {123.4, 1, "123.4"}, {7, 0, "7"},
    };
    for (auto [value, precision, text] : cases)
        EXPECT_EQ(Kdr_String(value, precision, false), text) << value;
    EXPECT_EQ(Kdr_String(9.995, 2, true), "10.00");
    EXPECT_EQ(Kdr_String(-0.004, 2, true), "0.00");
}

TEST(Kdr_String, SubstringListsAndOrdering)
{
    Kdr_StringArray natives{"CallChild"};
    int index = 7;
    EXPECT_TRUE(Kdr_String("x = callchild(\"a\", b)").hasASubstr(natives, false, &index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(Kdr_String("x = callchild(\"a\", b)").hasASubstr(natives, true, &index));
    EXPECT_EQ(index, -1);
    EXPECT_FALSE(Kdr_String("anything").hasASubstr(Kdr_StringArray{""}, false));
    EXPECT_LT(Kdr_String("apple").compareTo("Banana", false), 0);
    EXPECT_GT(Kdr_String("apple").compareTo("Banana", true), 0);
    EXPECT_EQ(Kdr_String("ABC").compareTo("abc", false), 0);
    Kdr_String text = "aXbxc";
    EXPECT_EQ(text.replace("x", "--", false), 2);
    EXPECT_EQ(text, "a--b--c");
    Kdr_String after;
    EXPECT_TRUE(Kdr_String("Name=Value").getSubstrAfter("=", after, false));
    EXPECT_EQ(after, "Value");
}

TEST(Kdr_StringArray, SortIgnoresCaseUnlessAsked)
{
    Kdr_StringArray names{"beam", "Column", "anchor", "Beam"};
    names.sort();
    EXPECT_EQ(names, (Kdr_StringArray{"anchor", "Beam", "beam", "Column"}));
    names.sort(true);
    EXPECT_EQ(names, (Kdr_StringArray{"Beam", "Column", "anchor", "beam"}));
}

TEST(Kdr_String, AppendWithANumberAppendsTheNumber)
{
    Kdr_String header;
    header.append(Kdr_String("Value"), 1);
    EXPECT_EQ(header, "Value1");
    header.append("x", 2);
    header.append(std::string("y"), 0.25);
    header.append(std::string_view("z"), 1.0 / 3.0, 2);
    EXPECT_EQ(header, "Value1x2y0.25z0.33");
}
