#include "TempFolder.h"
#include "host/CommandLine.h"
#include "host/Kdr_PropertiesList.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{
const std::string kGolden = std::string(KALDOR_TEST_DATA) + "host/properties_golden.txt";
}

TEST(Kdr_PropertiesList, GoldenFileReadsAndWritesBackByteForByte)
{
    Kdr_PropertiesList list;
    ASSERT_TRUE(list.readFromFile(kGolden));
    ASSERT_EQ(list.count(), 8);
    int whole = 0;
    double number = 0;
    Kdr_String text;
    EXPECT_TRUE(list.getInt("nrOfControls", whole));
    EXPECT_EQ(whole, 2);
    EXPECT_TRUE(list.getInt("type0", whole));
    EXPECT_EQ(whole, -7);
    EXPECT_TRUE(list.getDouble("topLeftX0", number));
    EXPECT_EQ(number, 0.1);
    EXPECT_TRUE(list.getDouble("ratio", number));
    EXPECT_EQ(number, 1.0 / 3.0);
    EXPECT_TRUE(list.getDouble("big", number));
    EXPECT_EQ(number, std::numeric_limits<double>::max());
    EXPECT_TRUE(list.getString("contents0", text));
    EXPECT_EQ(text, "Width\tof plate\nsecond line \\ C:\\lib\\");
    EXPECT_TRUE(list.getString("key\twith tab", text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(list.getString("high\xBF\xE9", text));
    EXPECT_EQ(text, "\xE9\xE8\xFF\x80 caf\xE9");
    EXPECT_EQ(list.keyAt(7), "high\xBF\xE9");

    TempFolder folder;
    ASSERT_TRUE(list.writeToFile(folder.path("copy.txt")));
    std::ifstream in(kGolden, std::ios::binary);
    std::string expected((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(folder.read("copy.txt"), expected);
}

TEST(Kdr_PropertiesList, EveryValueRoundTripsExactly)
{
    Kdr_PropertiesList list;
    const double awkward[] = {0.1 + 0.2,           -0.0,    5e-324,
                              123456789.123456789, -1e-300, std::numeric_limits<double>::infinity()};
    for (size_t i = 0; i < std::size(awkward); ++i)
        list.setDouble("d" + std::to_string(i), awkward[i]);
    list.setInt("min", std::numeric_limits<int>::min());
    std::string every;
    for (int c = 1; c < 256; ++c)
        every.push_back(static_cast<char>(c));
    list.setString("all bytes", every);
    list.setString("\\\t\n\r", "\\n is not a line feed");

    Kdr_PropertiesList back;
    ASSERT_TRUE(back.fromText(list.toText(), "memory"));
    EXPECT_EQ(back, list);
    double zero = 1;
    ASSERT_TRUE(back.getDouble("d1", zero));
    EXPECT_TRUE(std::signbit(zero));
}

TEST(Kdr_PropertiesList, KeysKeepTheirPlaceAndTypesAreChecked)
{
    Kdr_PropertiesList list;
    list.setInt("b", 1);
    list.setString("a", "x");
    list.setDouble("b", 2.5); // replaced in place, type changes
    EXPECT_EQ(list.keyAt(0), "b");
    int whole = 42;
    EXPECT_FALSE(list.getInt("b", whole));
    EXPECT_EQ(whole, 42);
    list.setInt("n", 3);
    double number = 0;
    EXPECT_TRUE(list.getDouble("n", number)); // an integer reads as a double
    EXPECT_EQ(number, 3.0);
    Kdr_String text;
    EXPECT_FALSE(list.getString("A", text)); // keys are case-sensitive
    EXPECT_TRUE(list.remove("a"));
    EXPECT_FALSE(list.has("a"));
    EXPECT_EQ(list.toText(), "b\td\t2.5\nn\ti\t3\n");
}

TEST(Kdr_PropertiesList, MalformedFilesAreRefusedWithTheirLineAndChangeNothing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a\ti\t1\nb\ts\tbad\\q\n", "line 2: a broken escape in the value"},
        {"a\ti\t1\n\nb\tx\t1\n", "line 3: the type must be i, d or s"},
        {"a\ti\t1.5\n", "line 1: the value is not a whole number"},
        {"a\ti\t99999999999\n", "line 1: the value is not a whole number"},
        {"a\td\t1e\n", "line 1: the value is not a number"},
        {"a\td\t\n", "line 1: the value is not a number"},
        {"a\ti\n", "line 1: expected key, type and value separated by TAB"},
        {"a\ts\tx\ty\n", "line 1: expected key, type and value separated by TAB"},
        {"k\\\ts\tx\n", "line 1: a broken escape in the key"},
        {"\ts\tx\n", "line 1: an empty key"},
    };
    TempFolder folder;
    for (auto [content, message] : cases)
    {
        folder.write("bad.txt", content);
        Kdr_PropertiesList list;
        list.setString("keep", "me");
        const Kdr_PropertiesList before = list;
        host::CommandLineCapture capture;
        EXPECT_FALSE(list.readFromFile(folder.path("bad.txt"))) << content;
        EXPECT_EQ(capture.text(), "*Error* File \"" + folder.path("bad.txt") + "\", " + message + ".\n");
        EXPECT_EQ(list, before);
    }
    host::CommandLineCapture capture;
    Kdr_PropertiesList list;
    EXPECT_FALSE(list.readFromFile(folder.path("missing.txt")));
    EXPECT_EQ(capture.text(),
              "*Error* Cannot open file \"" + folder.path("missing.txt") + "\": not found.\n");
}

TEST(Kdr_PropertiesList, AFailedWriteKeepsTheOldFile)
{
    TempFolder folder;
    folder.write("template.txt", "nrOfControls\ti\t1\n");
    Kdr_PropertiesList list;
    list.setInt("nrOfControls", 5);
    host::CommandLineCapture capture;
    EXPECT_FALSE(list.writeToFile(folder.path("no folder/template.txt")));
    EXPECT_TRUE(list.writeToFile(folder.path("template.txt")));
    EXPECT_EQ(folder.read("template.txt"), "nrOfControls\ti\t5\n");
    EXPECT_NE(capture.text().find("no folder/template.txt"), std::string::npos);
}
