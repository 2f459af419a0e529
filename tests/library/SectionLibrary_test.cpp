// The rules behind the section library dialogs and commands: table names, the shapes and
// their icons, the name pattern of new sizes and where they go, and the host's record.

#include "host/DlgEditLibData.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/TempFolder.h"
#include "hostio/DlgEditLibJson.h"
#include "library/Kdr_ProfValuesTable.h"
#include "library/SectionLibrary.h"
#include "library/SectionShapes.h"
#include "ui/Bitmap.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace
{
Kdr_ProfValuesTable angles(const Kdr_Array<Kdr_StringArray>& rows)
{
    Kdr_ProfValuesTable table;
    table.setName("L");
    table.setPicture("3");
    table.setColumnNames({"SysName", "I/O", "English", "Dutch", "German", "French", "h", "b", "t", "G"});
    table.setRows(rows);
    return table;
}

Kdr_StringArray angle(const Kdr_String& name, const Kdr_String& h, const Kdr_String& b, const Kdr_String& t)
{
    return {name, "1", "L " + name, "Hoek " + name, "L " + name, "L " + name, h, b, t, "1"};
}

class SectionLibraryFolder : public ::testing::Test
{
protected:
    SectionLibraryFolder() : previousLib_(gSettings.libDir()), previousApp_(gSettings.appDir())
    {
        gSettings.setLibDir(folder_.path("lib"));
        gSettings.setAppDir(folder_.path("app"));
    }
    ~SectionLibraryFolder() override
    {
        gSettings.setLibDir(previousLib_);
        gSettings.setAppDir(previousApp_);
    }
    TempFolder folder_;
    Kdr_String previousLib_;
    Kdr_String previousApp_;
};
} // namespace

TEST(SectionLibrary, TableNamesMustNameOneNewFileOfTheProfFolder)
{
    const Kdr_StringArray existing = {"HEA", "IPE"};
    const struct
    {
        const char* name;
        const char* problem;
    } cases[] = {
        {"IPEA", ""},
        {"IPEA.pr", ""},
        {"", "A table needs a name."},
        {"..", "\"..\" cannot name a table."},
        {".", "\".\" cannot name a table."},
        {"../x", "A table name cannot hold the character '/'."},
        {"a\\b", "A table name cannot hold the character '\\'."},
        {"a\tb", "A table name cannot hold the character 'control'."},
        {"IPE ", "A table name cannot end in a blank or a point."},
        {"ipe", "A table named \"ipe\" exists already."},
        {"Hea.PR", "A table named \"Hea\" exists already."},
        {".pr", "\".pr\" cannot name a table."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sectionTableNameProblem(c.name, existing), c.problem) << c.name;
}

TEST(SectionLibrary, ShapesShowTheirNamesAndConvertBack)
{
    EXPECT_EQ(shownShapeName(1), "<I section>");
    EXPECT_EQ(shownShapeName(24), "<Double cleat>");
    EXPECT_EQ(shownShapeName(25), "");
    for (int number = 1; number <= 24; ++number)
    {
        EXPECT_EQ(shapeOfShownName(shownShapeName(number)), number);
        EXPECT_EQ(pictureOfShownText(shownPicture(Kdr_String(number))), Kdr_String(number));
        const int properties = shapePropertyNames(number).length();
        EXPECT_TRUE(properties >= 2 && properties <= 11) << number;
    }
    EXPECT_EQ(sectionShape(19)->iconBase, std::string("ProfSectionSigma+"));
    EXPECT_EQ(shapePropertyNames(10), Kdr_StringArray({"h", "b", "t", "r", "G"}));
    EXPECT_EQ(pictureOfShownText("Crane rail.DWG"), "Crane rail.DWG");
    EXPECT_EQ(shownPicture("Crane rail.dwg"), "Crane rail.dwg");
    EXPECT_EQ(pictureOfShownText("I section"), "-1");
    EXPECT_EQ(sectionShapeOfPicture("01"), sectionShape(1));
    EXPECT_EQ(sectionShapeOfPicture("1.5"), nullptr);
}

TEST(SectionLibrary, TheNamePatternComesFromTheFirstSizeNamedByItsValues)
{
    Kdr_ProfValuesTable table =
        angles({angle("special", "20", "20", "3"), angle("20x3", "20", "20", "3"),
                angle("40x20x4", "40", "20", "4"), angle("30x30x3", "30", "30", "3.0")});
    Kdr_SizePattern pattern;
    ASSERT_TRUE(findSizePattern(table, 0, pattern));
    EXPECT_EQ(pattern.row, 1) << "a name that is no dimension is passed over";
    EXPECT_EQ(pattern.columns, Kdr_Array<int>({6, 8}));
    ASSERT_TRUE(findSizePattern(table, 3, pattern));
    EXPECT_EQ(pattern.columns, Kdr_Array<int>({6, 7, 8})) << "30 takes h, the second 30 b, 3 equals 3.0";

    Kdr_StringArray row = table.rows()[3];
    row[7] = "35";
    EXPECT_EQ(composeSizeName(pattern, row), "30x35x3.0");
    EXPECT_EQ(sizeNamePrefixes(table, 3), Kdr_StringArray({"L ", "Hoek ", "L ", "L "}));

    Kdr_ProfValuesTable none = angles({angle("special", "20", "20", "3")});
    EXPECT_FALSE(findSizePattern(none, 0, pattern));
    EXPECT_EQ(pattern.row, 0);
}

TEST(SectionLibrary, NewSizesGoWhereTheirNamesSort)
{
    const Kdr_ProfValuesTable table =
        angles({angle("40x40x4", "40", "40", "4"), angle("50x50x5", "50", "50", "5"),
                angle("60x30x5", "60", "30", "5"), angle("60x60x6", "60", "60", "6"),
                angle("80x40x6", "80", "40", "6")});
    // Equal legs go among the equal-legged sizes, whatever lies between them.
    EXPECT_EQ(sizeInsertionIndex(table, "55x55x5"), 2);
    EXPECT_EQ(sizeInsertionIndex(table, "70x70x7"), 4);
    EXPECT_EQ(sizeInsertionIndex(table, "30x30x3"), 0) << "before the first, not after it";
    // Unequal legs go where they sort among all names.
    EXPECT_EQ(sizeInsertionIndex(table, "70x35x5"), 4);
    EXPECT_EQ(sizeInsertionIndex(table, "100x50x6"), 5);
}

TEST(SectionLibrary, ANewSizeNeedsAFreshNameAndARoundedTubeCorner)
{
    Kdr_ProfValuesTable tubes = angles({angle("100x50x5", "100", "50", "5")});
    tubes.setPicture("10");
    tubes.setColumnNames({"SysName", "I/O", "English", "Dutch", "German", "French", "h", "b", "t", "r"});
    Kdr_StringArray row = makeSizeRow(tubes, 0, "120x60x5", true, {"120", "60", "5", "5"});
    EXPECT_EQ(row, Kdr_StringArray({"120x60x5", "1", "L 120x60x5", "Hoek 120x60x5", "L 120x60x5",
                                    "L 120x60x5", "120", "60", "5", "5"}));
    EXPECT_EQ(newSizeProblem(tubes, row), tubeRadiusMessage());
    row[9] = "0";
    EXPECT_EQ(newSizeProblem(tubes, row), "");
    row[9] = "7.5";
    EXPECT_EQ(newSizeProblem(tubes, row), "");
    row[0] = "100X50X5";
    EXPECT_EQ(newSizeProblem(tubes, row), "Table \"L\" holds a size named \"100X50X5\" already.");
    row[0] = "";
    EXPECT_EQ(newSizeProblem(tubes, row), "The new size needs a name.");

    const Kdr_StringArray own = makeSizeRow(tubes, 0, "special", false, {});
    EXPECT_EQ(own[2], "special");
    EXPECT_EQ(own[6], "100") << "values not given keep the template's";
}

TEST_F(SectionLibraryFolder, AvailableFilesListTablesAndUserSections)
{
    folder_.write("lib/prof/IPE.pr", "");
    folder_.write("lib/prof/HE10.pr", "");
    folder_.write("lib/prof/HE2.pr", "");
    folder_.write("lib/prof/notes.txt", "");
    folder_.write("lib/User Sections/Rail.dwg", "");
    folder_.write("lib/User Sections/Rail.bmp", "");
    DlgEditLibData data;
    data.tableNames = {"stale"};
    data.GetAvailableFiles();
    EXPECT_EQ(data.tableNames, Kdr_StringArray({"HE2", "HE10", "IPE"}));
    EXPECT_EQ(data.userSections, Kdr_StringArray({"Rail.dwg"}));
}

TEST_F(SectionLibraryFolder, IconsComeFromTheIconsFolderElseAUserSectionsBitmapElseUnknown)
{
    const std::string icons = folder_.path("app/icons/");
    folder_.write("app/icons/ProfSectionI-big.bmp", "I");
    folder_.write("app/icons/Rail-small.bmp", "R");
    EXPECT_EQ(sectionIconFile("1", "", true), icons + "ProfSectionI-big.bmp");
    EXPECT_EQ(sectionIconFile("1", "", false), icons + "Unknown-small.bmp");
    EXPECT_EQ(sectionIconFile("Rail.dwg", "", false), icons + "Rail-small.bmp");
    EXPECT_EQ(sectionIconFile("", "Crane.dwg", true), icons + "Unknown-big.bmp");

    // A user section's own bitmap is copied next to the icons, and copied again once newer.
    folder_.write("lib/User Sections/Crane.bmp", "first");
    const std::string copy = icons + "User Sections/Crane-automated.bmp";
    EXPECT_EQ(sectionIconFile("", "Crane.dwg", false), copy);
    EXPECT_EQ(folder_.read("app/icons/User Sections/Crane-automated.bmp"), "first");
    folder_.write("lib/User Sections/Crane.bmp", "second");
    const auto later = std::filesystem::last_write_time(copy) + std::chrono::seconds(10);
    std::filesystem::last_write_time(folder_.path("lib/User Sections/Crane.bmp"), later);
    EXPECT_EQ(sectionIconFile("", "Crane.dwg", false), copy);
    EXPECT_EQ(folder_.read("app/icons/User Sections/Crane-automated.bmp"), "second");
}

TEST(SectionLibrary, TheRecordRoundTripsThroughJson)
{
    DlgEditLibData data;
    SectionGroup group;
    group.setId(4);
    group.setEnabled(false);
    group.setImage("rolled.bmp");
    group.setLangs({"Rolled", "Gewalst"});
    data.groups.append(group);
    SectionType type;
    type.setGroupId(4);
    type.setTableName("IPE");
    type.setLangs({"IPE \xC3\xA9"});
    data.types.append(type);
    data.tableNames = {"HEA", "IPE"};
    data.userSections = {"Rail.dwg"};
    std::string text, error;
    ASSERT_TRUE(formatEditLibJson(data, text, error)) << error;
    DlgEditLibData back;
    ASSERT_TRUE(parseEditLibJson(text, "record", back, error)) << error;
    EXPECT_EQ(back, data);

    const struct
    {
        const char* json;
        const char* error;
    } bad[] = {
        {R"({"groups": [{"names": []}]})", "record: /groups/0/id: missing; expected a whole number"},
        {R"({"groups": [{"id": 1}, {"id": 1}]})",
         "record: /groups/1/id: a group with this id is listed already"},
        {R"({"types": [{"group": 1.5}]})", "record: /types/0/group: expected a whole number"},
        {R"({"types": [{"colour": 1}]})", "record: /types/0/colour: unknown key"},
        {R"({"tables": ["a", 2]})", "record: /tables/1: expected a string"},
    };
    for (const auto& c : bad)
    {
        DlgEditLibData kept = data;
        EXPECT_FALSE(parseEditLibJson(c.json, "record", kept, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(kept, data);
    }
}

TEST_F(SectionLibraryFolder, TheSampleLibraryHasABigAndASmallIconForEveryShape)
{
    gSettings.setAppDir(std::string(KALDOR_TEST_DATA) + "../../samples/library/");
    for (int number = 1; number <= 24; ++number)
        for (const bool big : {true, false})
        {
            const Kdr_String file = sectionIconFile(Kdr_String(number), "", big);
            EXPECT_FALSE(file.contains("Unknown", true)) << number;
            std::string error;
            const std::optional<ui::Bitmap> icon = ui::Bitmap::load(file, error);
            ASSERT_TRUE(icon.has_value()) << file << ": " << error;
            EXPECT_EQ(icon->width(), big ? 48 : 16) << file;
        }
    std::string error;
    EXPECT_TRUE(ui::Bitmap::load(sectionIconFile("", "", false), error).has_value()) << "Unknown-small.bmp";
}
