#include "SampleMacro.h"
#include "TempFolder.h"
#include "host/MacroLangs.h"
#include "host/SectionTables.h"
#include "host/TableFile.h"

#include <gtest/gtest.h>

namespace
{
class SectionTables : public ::testing::Test
{
protected:
    void TearDown() override { gSectionTables.reset(); }
    TestLibrary library;
};
} // namespace

TEST_F(SectionTables, TablesOfTheLibraryLoadWithoutTheActiveFlag)
{
    EXPECT_TRUE(gSectionTables.hasTable("IPE"));
    EXPECT_TRUE(gSectionTables.hasTable("hea.pr"));
    EXPECT_FALSE(gSectionTables.hasTable("UPN"));
    Kdr_StringArray names;
    gSectionTables.getTableNames(names);
    EXPECT_EQ(names, (Kdr_StringArray{"HEA", "IPE"}));

    const Kdr_SectionTable* ipe = nullptr;
    ASSERT_TRUE(gSectionTables.findTable("IPE.pr", ipe));
    EXPECT_EQ(ipe->picture, "1");
    EXPECT_EQ(ipe->columnNames, (Kdr_StringArray{"SysName", "English", "Dutch", "German", "French", "h", "b",
                                                 "tw", "tf", "r", "G"}));
    EXPECT_EQ(ipe->rows.length(), 7);
    EXPECT_EQ(ipe->rows[2], (Kdr_StringArray{"200", "IPE 200", "IPE 200", "IPE 200", "IPE 200", "200", "100",
                                             "5.6", "8.5", "12", "22.4"}));
}

TEST_F(SectionTables, SectionValuesByPropertyIndex)
{
    // Real dimensions of an HEA 200: h 190, b 200, tw 6.5, tf 10, r 18, 42.3 kg/m.
    const char* expected[] = {"190", "200", "6.5", "10", "18", "42.3"};
    for (int index = 0; index < 6; ++index)
    {
        Kdr_String value;
        ASSERT_TRUE(gSectionTables.getSectionValue("HEA-200", index, value)) << index;
        EXPECT_EQ(value, expected[index]) << index;
    }
    Kdr_String value = "kept";
    EXPECT_FALSE(gSectionTables.getSectionValue("HEA-200", 6, value));
    EXPECT_FALSE(gSectionTables.getSectionValue("HEA-200", -1, value));
    EXPECT_FALSE(gSectionTables.getSectionValue("HEA-210", 0, value));
    EXPECT_FALSE(gSectionTables.getSectionValue("HEA200", 0, value));
    EXPECT_FALSE(gSectionTables.getSectionValue("", 0, value));
    EXPECT_EQ(value, "kept");
    ASSERT_TRUE(gSectionTables.getSectionValue("ipe-270", 3, value));
    EXPECT_EQ(value, "10.2");

    Kdr_StringArray columns;
    ASSERT_TRUE(gSectionTables.getSectionColumnNames("IPE-160", columns));
    EXPECT_EQ(columns, (Kdr_StringArray{"h", "b", "tw", "tf", "r", "G"}));
}

TEST_F(SectionTables, SystemNamesFromDisplayNamesInAnyLanguage)
{
    Kdr_String system;
    ASSERT_TRUE(gSectionTables.getSystemName("HE 240 A", system));
    EXPECT_EQ(system, "HEA-240");
    ASSERT_TRUE(gSectionTables.getSystemName("hea 240", system));
    EXPECT_EQ(system, "HEA-240");
    ASSERT_TRUE(gSectionTables.getSystemName("IPE 180", system));
    EXPECT_EQ(system, "IPE-180");
    ASSERT_TRUE(gSectionTables.getSystemName("IPE-180", system));
    EXPECT_EQ(system, "IPE-180");
    system = "kept";
    EXPECT_FALSE(gSectionTables.getSystemName("IPE 190", system));
    EXPECT_FALSE(gSectionTables.getSystemName("", system));
    EXPECT_EQ(system, "kept");

    Kdr_String user;
    ASSERT_TRUE(gSectionTables.getUserName("HEA-240", user));
    EXPECT_EQ(user, "HEA 240");
    gSectionTables.setCurrentLanguage("Dutch");
    ASSERT_TRUE(gSectionTables.getUserName("HEA-240", user));
    EXPECT_EQ(user, "HE 240 A");
    gSectionTables.setCurrentLanguage("");
    ASSERT_TRUE(MacroLangs::SetCurLanguage("Dutch"));
    ASSERT_TRUE(gSectionTables.getUserName("hea-160", user));
    EXPECT_EQ(user, "HE 160 A");
    MacroLangs::SetCurLanguage("English");
    EXPECT_FALSE(gSectionTables.getUserName("HEA-999", user));
}

TEST_F(SectionTables, AddedTablesAndAChangedLibraryFolder)
{
    const Kdr_StringArray columns{"SysName", "English", "Dutch", "German", "Korean", "Hangul", "h"};
    const Kdr_Array<Kdr_StringArray> rows{
        Kdr_StringArray{"100", "U 100", "U 100", "U 100", "U 100", "U 100", "100"}};
    // Column 5 is a language when it is "Korean"; here it is column 4, so "Hangul" is the
    // first property.
    ASSERT_EQ(gSectionTables.addSectionTable("UPN.pr", "2", columns, rows), Acad::eOk);
    Kdr_StringArray properties;
    ASSERT_TRUE(gSectionTables.getSectionColumnNames("UPN-100", properties));
    EXPECT_EQ(properties, (Kdr_StringArray{"Hangul", "h"}));
    EXPECT_EQ(gSectionTables.addSectionTable("upn", "2", columns, rows), Acad::eInvalidInput);
    EXPECT_EQ(gSectionTables.addSectionTable(".pr", "2", columns, rows), Acad::eInvalidInput);

    const Kdr_StringArray korean{"SysName", "English", "Dutch", "German", "French", "Korean", "h"};
    ASSERT_EQ(
        gSectionTables.addSectionTable(
            "HD", "1", korean, Kdr_Array<Kdr_StringArray>{Kdr_StringArray{"260", "", "", "", "", "", "290"}}),
        Acad::eOk);
    Kdr_String value;
    ASSERT_TRUE(gSectionTables.getSectionValue("HD-260", 0, value));
    EXPECT_EQ(value, "290");

    EXPECT_TRUE(gSectionTables.removeTable("UPN"));
    EXPECT_FALSE(gSectionTables.removeTable("UPN"));

    // Another library folder brings its own tables, and drops those of the old one.
    TempFolder other;
    std::filesystem::create_directories(other.path("prof"));
    ASSERT_TRUE(writeFile(other.path("prof/HEB.pr"),
                          Kdr_Array<Kdr_StringArray>{
                              Kdr_StringArray{"1"},
                              Kdr_StringArray{"SysName", "I/O", "English", "Dutch", "German", "French", "h"},
                              Kdr_StringArray{"200", "0", "HEB 200", "HE 200 B", "", "", "200"}}));
    gSettings.setLibDir(other.path());
    EXPECT_FALSE(gSectionTables.hasTable("IPE"));
    EXPECT_FALSE(gSectionTables.hasTable("HD"));
    ASSERT_TRUE(gSectionTables.getSectionValue("HEB-200", 0, value));
    EXPECT_EQ(value, "200");
}

TEST_F(SectionTables, BrokenTableFilesAreSkipped)
{
    TempFolder other;
    std::filesystem::create_directories(other.path("prof"));
    std::ofstream(other.path("prof/BAD.pr")) << "1\nSysName\tI/O\nbad\\q\n";
    std::ofstream(other.path("prof/SHORT.pr")) << "1\n";
    std::ofstream(other.path("prof/GOOD.PR")) << "1\nSysName\tI/O\tEnglish\tDutch\tGerman\tFrench\th\n"
                                                 "10\t1\tG 10\t\t\t\t10\n";
    host::CommandLineCapture capture;
    gSettings.setLibDir(other.path());
    Kdr_StringArray names;
    gSectionTables.getTableNames(names);
    EXPECT_EQ(names, (Kdr_StringArray{"GOOD"}));
    EXPECT_NE(capture.text().find("BAD.pr\", line 3"), std::string::npos);
    EXPECT_NE(capture.text().find("SHORT.pr\", line 2: no header line."), std::string::npos)
        << capture.text();
}

// Every table of the library was read on the first question, used or not.
TEST_F(SectionTables, ATableIsReadWhenFirstAskedFor)
{
    TempFolder other;
    std::filesystem::create_directories(other.path("prof"));
    const char* const header = "1\nSysName\tI/O\tEnglish\tDutch\tGerman\tFrench\th\n";
    std::ofstream(other.path("prof/USED.pr")) << header << "10\t1\tU 10\t\t\t\t10\n";
    std::ofstream(other.path("prof/LATER.pr")) << header << "10\t1\tL 10\t\t\t\t10\n";
    gSettings.setLibDir(other.path());
    Kdr_String value;
    ASSERT_TRUE(gSectionTables.getSectionValue("USED-10", 0, value));
    EXPECT_EQ(value, "10");
    // The other table is read only now, so its file as it is now counts.
    std::ofstream(other.path("prof/LATER.pr")) << header << "10\t1\tL 10\t\t\t\t99\n";
    ASSERT_TRUE(gSectionTables.getSectionValue("LATER-10", 0, value));
    EXPECT_EQ(value, "99");
    EXPECT_FALSE(gSectionTables.getSectionValue("NONE-10", 0, value));
}
