#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/MacroLangs.h"
#include "host/SectionTables.h"
#include "host/Settings.h"
#include "host/TempFolder.h"
#include "library/Kdr_ProfValuesTable.h"
#include "spread/Kdr_Spread.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>

namespace
{
const char* const kHeader = "SysName\tI/O\tEnglish\tDutch\tGerman\tFrench\th\tb\tG\n";

/// A library folder of its own, with a "prof" folder, for the life of a test.
class ProfValuesTable : public ::testing::Test
{
protected:
    ProfValuesTable() : previous_(gSettings.libDir())
    {
        std::filesystem::create_directories(folder.path("prof"));
        gSettings.setLibDir(folder.path());
    }
    ~ProfValuesTable() override
    {
        gSettings.setLibDir(previous_);
        gSectionTables.reset();
        MacroLangs::ResetTranslations();
    }

    void writeTable(const std::string& name, const std::string& bytes)
    {
        folder.write("prof/" + name, bytes);
    }
    std::string readTable(const std::string& name) { return folder.read("prof/" + name); }

    /// A small table of three sizes, the middle one inactive.
    Kdr_ProfValuesTable threeSizes()
    {
        writeTable("UPE.pr", std::string("2\n") + kHeader +
                                 "80\t1\tUPE 80\tUPE 80\tUPE 80\tUPE 80\t80\t50\t7.9\n" +
                                 "100\t0\tUPE 100\tUPE 100\tUPE 100\tUPE 100\t100\t55\t9.82\n" +
                                 "120\t1\tUPE 120\tUPE 120\tUPE 120\tUPE 120\t120\t60\t12.1\n");
        Kdr_ProfValuesTable table;
        EXPECT_TRUE(table.readFromFile("UPE"));
        return table;
    }

    TempFolder folder;

private:
    Kdr_String previous_;
};

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Kdr_StringArray sysNamesOf(const Kdr_ProfValuesTable& table)
{
    Kdr_StringArray names;
    table.getSysNames(names);
    return names;
}
} // namespace

TEST_F(ProfValuesTable, EveryTableOfTheSampleLibraryReadsAndWritesBackByteForByte)
{
    Kdr_StringArray files;
    ASSERT_TRUE(ObjectExportFindFiles(KALDOR_SAMPLE_LIBRARY "prof", "*.pr", files));
    ASSERT_GE(files.length(), 5);
    for (const Kdr_String& file : files)
    {
        const std::string original = readBytes(file);
        const std::string name = host::getFileName(file);
        writeTable(name, original);
        Kdr_ProfValuesTable table;
        ASSERT_TRUE(table.readFromFile(host::getFileTitle(file))) << file;
        EXPECT_EQ(table.name(), host::getFileTitle(file));
        EXPECT_FALSE(table.picture().empty()) << file;
        ASSERT_GE(table.columnNames().length(), 8) << file;
        EXPECT_EQ(table.columnNames()[0], "SysName");
        EXPECT_EQ(table.columnNames()[1], "I/O");
        EXPECT_EQ(table.columnNames().last(), "G") << file;
        std::filesystem::remove(folder.path("prof/" + name));
        ASSERT_TRUE(table.writeToFile(table.name() + ".pr")) << file;
        EXPECT_EQ(readTable(name), original) << file;
    }
}

TEST_F(ProfValuesTable, ANameWithOrWithoutItsEndingNamesTheSameFile)
{
    writeTable("ONE.pr", std::string("1\n") + kHeader + "10\t1\tO 10\t\t\t\t10\t5\t1.5\n");
    Kdr_ProfValuesTable plain, ended;
    ASSERT_TRUE(plain.readFromFile("ONE"));
    ASSERT_TRUE(ended.readFromFile("ONE.pr"));
    EXPECT_EQ(plain.rows(), ended.rows());
    EXPECT_EQ(plain.rowCount(), 1);
    EXPECT_EQ(plain.name(), "ONE");
    EXPECT_EQ(plain.picture(), "1");
    Kdr_StringArray row;
    ASSERT_TRUE(plain.getRow(row, 0));
    EXPECT_EQ(row, (Kdr_StringArray{"10", "1", "O 10", "", "", "", "10", "5", "1.5"}));
    EXPECT_FALSE(plain.getRow(row, 1));

    // A table of one size writes back as the same three lines.
    ASSERT_TRUE(plain.writeToFile("COPY"));
    EXPECT_EQ(readTable("COPY.pr"), readTable("ONE.pr"));
}

TEST_F(ProfValuesTable, AFailedReadLeavesAnEmptyTableThatIsNeverWritten)
{
    Kdr_ProfValuesTable table = threeSizes();
    host::CommandLineCapture capture;
    EXPECT_FALSE(table.readFromFile("MISSING"));
    EXPECT_TRUE(table.name().empty());
    EXPECT_TRUE(table.picture().empty());
    EXPECT_TRUE(table.columnNames().isEmpty());
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_NE(capture.text().find("MISSING.pr"), std::string::npos) << capture.text();

    // Saving what is left cannot replace a table with nothing.
    const std::string before = readTable("UPE.pr");
    EXPECT_FALSE(table.writeToFile("UPE"));
    EXPECT_EQ(readTable("UPE.pr"), before);
}

TEST_F(ProfValuesTable, MalformedFilesAreRefusedWithFileAndLine)
{
    const std::string longLine(1 << 20, 'x');
    const struct
    {
        std::string bytes;
        std::string message;
    } cases[] = {
        {"", "line 1: the file is empty (a picture line and a header line are needed)."},
        {"1\n", "line 2: no header line."},
        {"1\tIPE.dwg\n" + std::string(kHeader), "line 1: the picture line holds 2 fields (one is allowed)."},
        {"1\nSysName\n",
         "line 2: the header holds 1 column names (at least \"SysName\" and \"I/O\" are needed)."},
        {"1\n" + std::string(kHeader) + "10\t1\tA\n",
         "line 3: the row holds 3 fields where the header has 9."},
        {"1\n" + std::string(kHeader) + "\n", "line 3: the row holds 0 fields where the header has 9."},
        {"1\n" + std::string(kHeader) + "10\t1\tA\\q\t\t\t\t1\t2\t3\n", "line 3: broken escape"},
        {"1\nSys\x01Name\tI/O\n", "line 2: binary data (byte 0x01)."},
        {std::string("1\nSysName\tI/O\n\0\0\0", 17), "line 3: binary data (byte 0x00)."},
        {"1\n" + longLine + "\n", "line 2: the line is longer than 65536 bytes."},
    };
    for (const auto& c : cases)
    {
        writeTable("BAD.pr", c.bytes);
        Kdr_ProfValuesTable table = threeSizes();
        host::CommandLineCapture capture;
        EXPECT_FALSE(table.readFromFile("BAD")) << c.message;
        EXPECT_EQ(table.rowCount(), 0);
        EXPECT_NE(capture.text().find("BAD.pr\", " + c.message), std::string::npos)
            << "expected: " << c.message << "\ngot: " << capture.text();
    }

    // A file larger than the read limit is refused before it is read.
    writeTable("HUGE.pr", std::string("1\n") + kHeader + std::string(4096, '\n'));
    const auto limit = host::setMaxReadFileSize(1024);
    host::CommandLineCapture capture;
    Kdr_ProfValuesTable table;
    EXPECT_FALSE(table.readFromFile("HUGE"));
    host::setMaxReadFileSize(limit);
    EXPECT_NE(capture.text().find("HUGE.pr"), std::string::npos) << capture.text();
}

TEST_F(ProfValuesTable, NamesThatLeaveTheProfFolderAreRefused)
{
    writeTable("../OUT.pr", std::string("1\n") + kHeader);
    Kdr_ProfValuesTable table = threeSizes();
    for (const char* name :
         {"../OUT", "..", ".", "", "sub/UPE", "sub\\UPE", "a:b", "a*b", "UPE.", "UPE ", "x\ty"})
    {
        host::CommandLineCapture capture;
        Kdr_ProfValuesTable other;
        EXPECT_FALSE(other.readFromFile(name)) << name;
        EXPECT_FALSE(table.writeToFile(name)) << name;
        EXPECT_NE(capture.text().find("*Error* Invalid section table name"), std::string::npos) << name;
    }
    EXPECT_EQ(folder.entryCount("prof"), 1);
}

TEST_F(ProfValuesTable, LanguageCountAndColumns)
{
    Kdr_ProfValuesTable table;
    const struct
    {
        Kdr_StringArray columns;
        int languages;
    } cases[] = {
        {{"SysName", "I/O", "English", "Dutch", "German", "French", "Korean"}, 5},
        {{"SysName", "I/O", "English", "Dutch", "German", "French", "korean", "h"}, 5},
        {{"SysName", "I/O", "English", "Dutch", "German", "Korean", "h"}, 4},
        {{"SysName", "I/O", "English", "Dutch", "German", "French"}, 4},
        {{}, 4},
    };
    for (const auto& c : cases)
    {
        table.setColumnNames(c.columns);
        EXPECT_EQ(table.getNrLanguages(), c.languages) << c.columns.length();
    }

    table = threeSizes();
    Kdr_StringArray column{"kept"};
    EXPECT_EQ(table.getColumnIdx("b"), 7);
    EXPECT_EQ(table.getColumnIdx("nothing"), -1);
    ASSERT_TRUE(table.getColumn(column, "G"));
    EXPECT_EQ(column, (Kdr_StringArray{"7.9", "9.82", "12.1"}));
    ASSERT_TRUE(table.getColumn(column, 1));
    EXPECT_EQ(column, (Kdr_StringArray{"1", "0", "1"}));
    EXPECT_FALSE(table.getColumn(column, "nothing"));
    EXPECT_FALSE(table.getColumn(column, -1));
    EXPECT_FALSE(table.getColumn(column, 9));
    EXPECT_EQ(column, (Kdr_StringArray{"1", "0", "1"}));

    // Only the first row decides which columns exist; shorter later rows give empty cells.
    Kdr_Array<Kdr_StringArray> rows{{"a", "1"}, {"b", "1", "x"}, {"c"}};
    table.setRows(rows);
    EXPECT_FALSE(table.getColumn(column, 2));
    ASSERT_TRUE(table.getColumn(column, 1));
    EXPECT_EQ(column, (Kdr_StringArray{"1", "1", ""}));
    table.setRows({});
    EXPECT_FALSE(table.getColumn(column, 0));
}

TEST_F(ProfValuesTable, NameQueriesAndTheActiveFlag)
{
    Kdr_ProfValuesTable table = threeSizes();
    EXPECT_EQ(sysNamesOf(table), (Kdr_StringArray{"UPE-80", "UPE-100", "UPE-120"}));
    Kdr_StringArray names;
    table.getFilteredSysNames(names);
    EXPECT_EQ(names, (Kdr_StringArray{"UPE-80", "UPE-120"}));
    EXPECT_EQ(table.getfilteredIdx(0), 0);
    EXPECT_EQ(table.getfilteredIdx(2), 1);
    EXPECT_EQ(table.getfilteredIdx(3), -1);
    EXPECT_EQ(table.getfilteredIdx(-1), -1);

    int index = -1;
    ASSERT_TRUE(table.findSysName("120", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(table.findSysName("140", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(table.findUnusedSysName("80"), "81");
    EXPECT_EQ(table.findUnusedSysName("140"), "140");

    // A flag that is neither "1" nor "0" shows in the filtered names but moves the filtered
    // index, as the host's tables have always counted it.
    ASSERT_EQ(table.setSysName(1, "100"), Acad::eOk);
    Kdr_Array<Kdr_StringArray> rows = table.rows();
    rows[0][1] = "x";
    table.setRows(rows);
    table.getFilteredSysNames(names);
    EXPECT_EQ(names, (Kdr_StringArray{"UPE-80", "UPE-120"}));
    EXPECT_EQ(table.getfilteredIdx(2), 0);

    table.removeInactiveEntries();
    EXPECT_EQ(sysNamesOf(table), (Kdr_StringArray{"UPE-80", "UPE-120"}));
    EXPECT_TRUE(table.deleteRow(0));
    EXPECT_FALSE(table.deleteRow(1));
    EXPECT_EQ(sysNamesOf(table), (Kdr_StringArray{"UPE-120"}));
}

TEST_F(ProfValuesTable, InsertedSizesGetFreshNamesAndMayFollowTheLastRow)
{
    Kdr_ProfValuesTable table = threeSizes();
    ASSERT_TRUE(table.insertRow(0));
    EXPECT_EQ(sysNamesOf(table), (Kdr_StringArray{"UPE-80", "UPE-81", "UPE-100", "UPE-120"}));
    Kdr_StringArray row;
    ASSERT_TRUE(table.getRow(row, 1));
    EXPECT_EQ(row, (Kdr_StringArray{"81", "1", "UPE 81", "UPE 80", "UPE 80", "UPE 80", "80", "50", "7.9"}));

    // After the last row: appended.
    ASSERT_TRUE(table.insertRow(3));
    EXPECT_EQ(table.rowCount(), 5);
    ASSERT_TRUE(table.getRow(row, 4));
    EXPECT_EQ(row[0], "121");
    EXPECT_EQ(row[2], "UPE 121");

    // Positions outside the table change nothing and say nothing.
    host::CommandLineCapture capture;
    const Kdr_Array<Kdr_StringArray> before = table.rows();
    EXPECT_FALSE(table.insertRow(5));
    EXPECT_FALSE(table.insertRow(-2));
    EXPECT_EQ(table.rows(), before);
    EXPECT_TRUE(capture.text().empty());

    // The current language's display name gets the new name; with Dutch current the English
    // name is copied unchanged.
    ASSERT_TRUE(MacroLangs::SetCurLanguage("Dutch"));
    ASSERT_TRUE(table.insertRow(0));
    ASSERT_TRUE(table.getRow(row, 1));
    EXPECT_EQ(row[0], "82");
    EXPECT_EQ(row[2], "UPE 80");
    EXPECT_EQ(row[3], "UPE 82");
}

TEST_F(ProfValuesTable, AnEmptyTableGetsItsFirstRow)
{
    writeTable("NEW.pr", std::string("5\n") + kHeader);
    Kdr_ProfValuesTable table;
    ASSERT_TRUE(table.readFromFile("NEW"));
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_FALSE(table.insertRow(0));
    ASSERT_TRUE(table.insertRow(-1));
    Kdr_StringArray row;
    ASSERT_TRUE(table.getRow(row, 0));
    EXPECT_EQ(row, (Kdr_StringArray{"1", "", "NEW1", "", "", "", "", "", ""}));
    ASSERT_EQ(table.insertRow(0, "200", "NEW 200"), Acad::eOk);
    ASSERT_TRUE(table.writeToFile("NEW"));
    EXPECT_EQ(readTable("NEW.pr"), std::string("5\n") + kHeader + "1\t\tNEW1\t\t\t\t\t\t\n" +
                                       "200\t\tNEW 200\tNEW 200\tNEW 200\tNEW 200\t\t\t\n");
}

TEST_F(ProfValuesTable, TheNewNamesOfANamedInsertGoToTheCopy)
{
    Kdr_ProfValuesTable table = threeSizes();
    ASSERT_EQ(table.insertRow(0, "90", "UPE 90"), Acad::eOk);
    EXPECT_EQ(sysNamesOf(table), (Kdr_StringArray{"UPE-80", "UPE-90", "UPE-100", "UPE-120"}));
    Kdr_StringArray original, copy;
    ASSERT_TRUE(table.getRow(original, 0));
    ASSERT_TRUE(table.getRow(copy, 1));
    EXPECT_EQ(original,
              (Kdr_StringArray{"80", "1", "UPE 80", "UPE 80", "UPE 80", "UPE 80", "80", "50", "7.9"}));
    EXPECT_EQ(copy, (Kdr_StringArray{"90", "1", "UPE 90", "UPE 90", "UPE 90", "UPE 90", "80", "50", "7.9"}));

    // A step that fails takes the inserted row out again.
    Kdr_Array<Kdr_StringArray> rows = table.rows();
    rows[3] = Kdr_StringArray{"120", "1", "UPE 120"};
    table.setRows(rows);
    EXPECT_EQ(table.insertRow(3, "130", "UPE 130"), Acad::eInvalidInput);
    EXPECT_EQ(table.rows(), rows);
    EXPECT_EQ(table.insertRow(4, "130", "UPE 130"), Acad::eInvalidInput);
    EXPECT_EQ(table.setSysName(4, "x"), Acad::eInvalidInput);
    EXPECT_EQ(table.setUserNames(-1, "x"), Acad::eInvalidInput);
}

TEST_F(ProfValuesTable, ValuesKeepEveryDigitAndAWrongCountChangesNothing)
{
    Kdr_ProfValuesTable table = threeSizes();
    ASSERT_EQ(table.setValues(0, AcArray<double>{1.25, 0.1 + 0.2, -0.0}), Acad::eOk);
    Kdr_StringArray row;
    ASSERT_TRUE(table.getRow(row, 0));
    EXPECT_EQ(row[6], "1.25");
    EXPECT_EQ(row[7], "0.30000000000000004");
    EXPECT_EQ(row[8], "0");
    EXPECT_EQ(Kdr_String(row[7]).toDouble(), 0.1 + 0.2);
    ASSERT_EQ(table.setValues(1, AcArray<double>{240, 85.5, 1e-7}), Acad::eOk);
    ASSERT_TRUE(table.getRow(row, 1));
    EXPECT_EQ(row[6] + " " + row[7] + " " + row[8], "240 85.5 1e-07");

    const Kdr_Array<Kdr_StringArray> before = table.rows();
    EXPECT_EQ(table.setValues(0, AcArray<double>{1, 2}), Acad::eInvalidInput);
    EXPECT_EQ(table.setValues(0, AcArray<double>{1, 2, 3, 4}), Acad::eInvalidInput);
    EXPECT_EQ(table.setValues(3, AcArray<double>{1, 2, 3}), Acad::eInvalidInput);
    EXPECT_EQ(table.setValues(0, AcArray<double>{1, std::nan(""), 3}), Acad::eInvalidInput);
    EXPECT_EQ(table.setValues(0, AcArray<double>{std::numeric_limits<double>::infinity(), 2, 3}),
              Acad::eInvalidInput);
    EXPECT_EQ(table.rows(), before);
}

TEST_F(ProfValuesTable, TheGridShowsTheTableAndGivesItBack)
{
    Kdr_ProfValuesTable table = threeSizes();
    Kdr_Spread grid;
    ASSERT_TRUE(grid.createHidden());
    ASSERT_TRUE(table.setToSS(grid));
    EXPECT_EQ(grid.getMaxRows(), 3);
    EXPECT_EQ(grid.getMaxCols(), 9);
    EXPECT_EQ(grid.property(Kdr_Spread::kPropChangesMade), 0);
    EXPECT_EQ(grid.sheet().cellTypeCode(2, 3), grid.sheet().cellTypeCode(2, 1));
    EXPECT_NE(grid.sheet().cellTypeCode(2, 1), grid.sheet().cellTypeCode(3, 1));
    Kdr_String text;
    ASSERT_TRUE(grid.getCellText(Kdr_Spread::kHeaderIndex, 3, text, ctkData));
    EXPECT_EQ(text, "UPE");
    ASSERT_TRUE(grid.getCellText(7, Kdr_Spread::kHeaderIndex, text, ctkData));
    EXPECT_EQ(text, "h");

    Kdr_ProfValuesTable back;
    back.setPicture("7");
    ASSERT_TRUE(back.getFromSS(grid));
    EXPECT_EQ(back.name(), "UPE");
    EXPECT_EQ(back.picture(), "7");
    EXPECT_EQ(back.columnNames(), table.columnNames());
    EXPECT_EQ(back.rows(), table.rows());

    // An empty table empties the grid; an empty grid gives nothing back.
    Kdr_ProfValuesTable empty;
    EXPECT_FALSE(empty.setToSS(grid));
    EXPECT_EQ(grid.getMaxRows(), 0);
    EXPECT_EQ(grid.getMaxCols(), 0);
    EXPECT_FALSE(back.getFromSS(grid));
    EXPECT_EQ(back.rows(), table.rows());
    grid.setMaxCols(3, false);
    EXPECT_FALSE(back.getFromSS(grid));
    Kdr_Spread never;
    EXPECT_FALSE(back.getFromSS(never));
    EXPECT_EQ(back.name(), "UPE");
}

TEST_F(ProfValuesTable, PublishedTablesReplaceTheirNamesakesAndAgreeWithTheLoader)
{
    Kdr_ProfValuesTable table = threeSizes();
    EXPECT_EQ(table.setToGlobals(nullptr), Acad::eInvalidInput);

    // The loader found UPE.pr itself; publishing replaces that table.
    Kdr_SectionTableManager manager;
    const Kdr_SectionTable* loaded = nullptr;
    ASSERT_TRUE(manager.findTable("UPE", loaded));
    ASSERT_EQ(table.setValues(2, AcArray<double>{120, 60, 12.5}), Acad::eOk);
    table.setPicture("UPE.dwg");
    ASSERT_EQ(table.setToGlobals(&manager), Acad::eOk);
    const Kdr_SectionTable* published = nullptr;
    ASSERT_TRUE(manager.findTable("UPE", published));
    Kdr_StringArray names;
    manager.getTableNames(names);
    EXPECT_EQ(names, (Kdr_StringArray{"UPE"}));
    EXPECT_EQ(published->picture, "Prof\\UPE.dwg");
    EXPECT_EQ(published->columnNames,
              (Kdr_StringArray{"SysName", "English", "Dutch", "German", "French", "h", "b", "G"}));
    Kdr_String value;
    ASSERT_TRUE(manager.getSectionValue("UPE-120", 2, value));
    EXPECT_EQ(value, "12.5");
    ASSERT_TRUE(manager.getSectionValue("UPE-100", 2, value));
    EXPECT_EQ(value, "9.82");

    // Written and loaded from the folder, the table is the one that was published.
    ASSERT_TRUE(table.writeToFile("UPE"));
    Kdr_SectionTableManager fresh;
    const Kdr_SectionTable* reloaded = nullptr;
    ASSERT_TRUE(fresh.findTable("UPE", reloaded));
    EXPECT_EQ(reloaded->picture, published->picture);
    EXPECT_EQ(reloaded->columnNames, published->columnNames);
    EXPECT_EQ(reloaded->rows, published->rows);
}

TEST_F(ProfValuesTable, CopiesAreIndependent)
{
    Kdr_ProfValuesTable table = threeSizes();
    Kdr_ProfValuesTable copy(table);
    ASSERT_EQ(copy.setSysName(0, "85"), Acad::eOk);
    copy.setPicture("3");
    EXPECT_EQ(sysNamesOf(table)[0], "UPE-80");
    EXPECT_EQ(table.picture(), "2");
    const Kdr_ProfValuesTable& same = copy;
    copy = same;
    EXPECT_EQ(sysNamesOf(copy)[0], "UPE-85");
    table = copy;
    EXPECT_EQ(sysNamesOf(table)[0], "UPE-85");
}
