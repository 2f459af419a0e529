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
