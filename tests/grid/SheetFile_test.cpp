#include "grid/Sheet.h"
#include "grid/SheetFile.h"
#include "host/CommandLine.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace grid
{
namespace
{
namespace fs = std::filesystem;

const std::string kGolden = std::string(KALDOR_TEST_DATA) + "grid/every-state.zxs";

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

/// A folder of its own for one test, removed afterwards.
class TempFolder
{
public:
    TempFolder()
    {
        path_ = fs::temp_directory_path() / ("kaldor-sheetfile-" + std::to_string(std::rand()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
    }

private:
    fs::path path_;
};

std::int32_t half(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t)
{
    result->status = kCalcStatusValid;
    result->type = kCalcTypeDouble;
    result->value.doubleValue = args[0].value.doubleValue / 2;
    return 1;
}

/// A sheet using every kind of state the engine keeps.
Sheet everyStateSheet()
{
    Sheet sheet;
    sheet.setMaxCols(7);
    sheet.setMaxRows(5);
    sheet.setDefaultFont(Font{"Arial", 14, 400});

    ControlState& state = sheet.state();
    state.appearance = 1;
    state.noteIndicator = 0;
    state.verticalScrollBarWidth = 17;
    state.horizontalScrollBarHeight = 15;
    state.selectionBackground = 0x6A240A;
    state.selectionForeground = 0xFFFFFF;
    state.textTip = TextTip{2, 10, Font{"Tahoma", 15, 700}, 0xE6E6E6, 0x8000000B};
    for (int action = 0; action < 3; ++action)
        state.actionKeys[action] = ActionKey{};
    for (int number : {3, 4, 11, 13, 21, 22, 32, 34})
        sheet.setProperty(number, 1);
    sheet.setProperty(12, 0);
    sheet.setProperty(10, 5);
    state.settings["gridColor"] = {0xC0C0C0, static_cast<int>(0x8000000B)};
    state.settings["userResize"] = {1, -1};
    sheet.setActiveCell(2, 3);
    sheet.setSelection(1, 1, 3, 2);

    sheet.setColumnWidth(kHeader, 50);
    sheet.setColumnWidth(2, 120.5);
    sheet.setRowHeight(kHeader, 24);
    sheet.setRowHeight(3, 40);
    sheet.addSpan(2, 4, 3, 1);
    sheet.addSpan(1, 5, 1, 1);

    sheet.setData(1, kHeader, "Name");
    sheet.setData(2, kHeader, "Qty");
    sheet.setData(kHeader, 1, "first");
    sheet.setFont(kHeader, kHeader, 7, kHeader, Font{"Arial", 14, 700});
    sheet.setCellTag(0, 0,
                     "border\xA4"
                     "2\xA4"
                     "1\xA4");

    sheet.setCellType(1, 1, CellType::textCell(0x110000, 200));
    sheet.setValue(1, 1, "Ab\tc\\d\ne \xE9\xBF\x01 end");
    sheet.setCellType(2, 1, 2, 3, CellType::number(2, CellType::kNumberMin, CellType::kNumberMax, true));
    sheet.setValue(2, 1, "1234.5");
    sheet.setValue(2, 2, "-0.125");
    sheet.setFormula(2, 3, "SUM(B1:B2)*2");
    sheet.setCellType(3, 1, CellType::checkBox(0, "", "res:8134", "res:8136"));
    sheet.setValue(3, 1, "1");
    sheet.setCellType(4, 1, CellType::combo(0, {"a", "b\tc", ""}));
    sheet.setValue(4, 1, "b\tc");
    sheet.setCellType(5, 1, CellType::button(0, "Go", "go.bmp"));
    sheet.setCellType(6, 1, CellType::edit(4, 100, 0, CellType::CaseAsTyped));
    sheet.setData(6, 1, "edit me");
    sheet.setCellType(7, 1, CellType::pictureCell(36, "pictures/part 1.bmp"));
    sheet.setFormula(1, 2, "CONCATENATE(\"a\"\"b\",A1)");
    sheet.setFormula(1, 3, "HALF(B1)");
    sheet.setFormula(3, 3, "IF(C1=1,\"yes\",\"no\")");
    sheet.setData(4, 2, "plain text");
    sheet.setData(5, 2, "42");

    sheet.setCellTag(2, 1, "total");
    sheet.setCellNote(2, 1, "Sum of the\nparts");
    sheet.setFont(1, 2, 2, 2, Font{"Courier New", 12, 700});
    sheet.setColors(1, 2, 1, 3, 0xFFD1A4, 0x000080);
    sheet.setBorder(2, 3, 2, 3, Border{31, 1, 0x8000000B});
    sheet.setLock(1, 4, 7, 4, true);
    sheet.setSkip(7, 5, 7, 5, true);
    sheet.setReferenceStyle(ReferenceStyle::R1C1);
    return sheet;
}

TEST(SheetFile, GoldenRoundTripOfEveryKindOfState)
{
    Sheet sheet = everyStateSheet();
    ASSERT_TRUE(sheet.addCustomFunction("HALF", 1, 1, half, 0));
    const std::string text = writeSheetText(sheet);
    if (std::getenv("KALDOR_UPDATE_GOLDEN"))
        std::ofstream(kGolden, std::ios::binary) << text;
    EXPECT_EQ(text, readBytes(kGolden));

    Sheet loaded;
    ASSERT_TRUE(loaded.addCustomFunction("HALF", 1, 1, half, 0));
    FileError error;
    ASSERT_TRUE(readSheetText(readBytes(kGolden), loaded, error)) << error.line << ": " << error.message;
    EXPECT_EQ(writeSheetText(loaded), text);

    // What was read is what was built, not only the same text.
    EXPECT_EQ(loaded.cellValueText(1, 1), "Ab\tc\\d\ne \xE9\xBF\x01 end");
    EXPECT_EQ(loaded.cellDataText(2, 1), "1,234.50");
    EXPECT_EQ(loaded.cellValueText(2, 3), "2468.75");
    EXPECT_EQ(loaded.cellValueText(1, 2), "a\"bAb\tc\\d\ne \xE9\xBF\x01 end");
    EXPECT_EQ(loaded.cellValueText(1, 3), "617.25");
    EXPECT_EQ(loaded.cellValueText(3, 3), "yes");
    EXPECT_EQ(loaded.cellFormulaText(2, 3), "SUM(R[-2]C:R[-1]C)*2");
    EXPECT_EQ(loaded.cellType(4, 1), sheet.cellType(4, 1));
    EXPECT_EQ(loaded.cellTypeCode(7, 1), 8);
    EXPECT_EQ(loaded.cellTag(kHeader, kHeader), "border\xA4"
                                                "2\xA4"
                                                "1\xA4");
    EXPECT_EQ(loaded.cellNote(2, 1), "Sum of the\nparts");
    EXPECT_EQ(loaded.cellFormat(1, 2), sheet.cellFormat(1, 2));
    EXPECT_TRUE(loaded.cellFormat(7, 5).skip);
    EXPECT_EQ(loaded.spans(), sheet.spans());
    EXPECT_EQ(loaded.columnWidth(2), 120.5);
    EXPECT_EQ(loaded.rowHeight(0), 24);
    EXPECT_EQ(loaded.property(13), 1);
    EXPECT_EQ(loaded.state().textTip, sheet.state().textTip);
    EXPECT_EQ(loaded.state().settings, sheet.state().settings);
    EXPECT_EQ(loaded.selection(), sheet.selection());
    EXPECT_EQ(loaded.referenceStyle(), ReferenceStyle::R1C1);
    EXPECT_FALSE(loaded.changesMade());
}

TEST(SheetFile, TheDocumentedExampleLoadsAsDescribed)
{
    Sheet sheet;
    ASSERT_TRUE(sheet.loadFile(std::string(KALDOR_TEST_DATA) + "grid/documented-example.zxs"));
    EXPECT_EQ(sheet.cellDataText(1, 1), "1,234.50");
    EXPECT_EQ(sheet.cellValueText(2, 1), "2469");
    EXPECT_EQ(sheet.cellDataText(1, kHeader), "Length");
    EXPECT_TRUE(sheet.cellFormat(1, kHeader).font.bold());
    EXPECT_EQ(sheet.cellTag(2, 1), "double length");
    EXPECT_EQ(sheet.columnWidth(1), 120);
    EXPECT_EQ(writeSheetText(sheet),
              readBytes(std::string(KALDOR_TEST_DATA) + "grid/documented-example.zxs"));
}

TEST(SheetFile, DataOnlyKeepsEntriesAndSize)
{
    Sheet sheet = everyStateSheet();
    Sheet loaded;
    FileError error;
    ASSERT_TRUE(readSheetText(writeSheetText(sheet, true), loaded, error)) << error.message;
    EXPECT_EQ(loaded.maxCols(), 7);
    EXPECT_EQ(loaded.cellEntry(6, 1), "edit me");
    EXPECT_EQ(loaded.cellFormulaText(2, 3), "SUM(R[-2]C:R[-1]C)*2"); // the reference style is kept
    EXPECT_EQ(loaded.cellTypeCode(2, 1), 0);
    EXPECT_TRUE(loaded.spans().empty());
}

struct Malformed
{
    const char* text;
    int line;
    const char* message;
};

TEST(SheetFile, MalformedFilesAreRefusedWithTheirLine)
{
    const std::string head = "KALDOR-SHEET 1\nsize\t3\t3\n";
    const Malformed cases[] = {
        {"", 0, "the file is empty"},
        {"KALDOR-SHEET 2\nsize\t1\t1\nend\n", 1, "version 2 is not supported"},
        {"<html>\n", 1, "not a sheet file"},
        {"KALDOR-SHEET 1\ndata\t1\t1\tx\nend\n", 2, "the size line must come first"},
        {"KALDOR-SHEET 1\nsize\t1\t1000000000\nend\n", 2, "out of range"},
        {"KALDOR-SHEET 1\nsize\t16385\t1\nend\n", 2, "out of range"},
        {"KALDOR-SHEET 1\nsize\t1\n", 2, "\"size\" takes 2 fields, not 1"},
        {"KALDOR-SHEET 1\nsize\t1\t1\n", 3, "the end line is missing"},
        {"KALDOR-SHEET 1\nsize\t1\t1\nend\ndata\t1\t1\tx\n", 4, "text after the end line"},
        {"bogus\t1\nend\n", 3, "unknown record \"bogus\""},
        {"data\t4\t1\tx\nend\n", 3, "cell (4, 1) lies outside the sheet of 3 columns and 3 rows"},
        {"data\t-1\t1\tx\nend\n", 3, "out of range"},
        {"data\tone\t1\tx\nend\n", 3, "not a whole number"},
        {"data\t1\t1\ta\\qb\nend\n", 3, "unknown escape \\q"},
        {"data\t1\t1\tab\\\nend\n", 3, "lone backslash"},
        {"data\t1\t1\tab\\x4\nend\n", 3, "two hex digits"},
        {"data\t1\t1\tx\ndata\t1\t1\ty\nend\n", 4, "has a second entry"},
        {"formula\t1\t1\t1+\nend\n", 3, "the formula does not parse"},
        {"formula\t0\t1\t1+1\nend\n", 3, "header cell cannot hold a formula"},
        {"style\t1\t1\t1\t0\nend\n", 3, "type 1 is not defined"},
        {"type\t1\tslider\t0\nend\n", 3, "unknown cell type \"slider\""},
        {"type\t1\tnumber\t2\tx\t1\t0\t0\nend\n", 3, "is not a number"},
        {"type\t1\ttext\t0\t5\ntype\t1\ttext\t0\t6\nend\n", 4, "defined twice"},
        {"format\t1\tArial\t0\t400\tdefault\tdefault\t0\t0\tdefault\t0\t0\nend\n", 3, "out of range"},
        {"format\t1\tArial\t12\t400\tred\tdefault\t0\t0\tdefault\t0\t0\nend\n", 3, "is not a colour"},
        {"span\t1\t1\t2\t2\n\nspan\t2\t2\t1\t1\nend\n", 5, "the span overlaps another"},
        {"span\t1\t1\t16385\t1\nend\n", 3, "out of range"},
        {"prop\t30\t1\nend\n", 3, "not kept in files"},
        {"refstyle\tZ9\nend\n", 3, "must be A1 or R1C1"},
        {"width\t4\t10\nend\n", 3, "out of range"},
        {"height\t1\t-5\nend\n", 3, "must lie between 0 and"},
        {"active\t0\t0\nend\n", 3, "active cell"},
        {"end\tnow\n", 3, "the end line has fields"},
    };
    for (const Malformed& c : cases)
    {
        std::string text = c.text;
        if (text.rfind("KALDOR", 0) != 0 && text.rfind("<html>", 0) != 0 && !text.empty())
            text = head + text;
        Sheet sheet;
        FileError error;
        EXPECT_FALSE(readSheetText(text, sheet, error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.message.find(c.message), std::string::npos) << c.text << " gave: " << error.message;
    }
}

TEST(SheetFile, LongLinesAreRefusedBeforeTheyAreRead)
{
    std::string text =
        "KALDOR-SHEET 1\nsize\t1\t1\ndata\t1\t1\t" + std::string(kMaxLineBytes, 'x') + "\nend\n";
    Sheet sheet;
    FileError error;
    EXPECT_FALSE(readSheetText(text, sheet, error));
    EXPECT_EQ(error.line, 3);
    EXPECT_NE(error.message.find("longer than"), std::string::npos);
}

TEST(SheetFile, CommentsBlankLinesAndCrLfAreAccepted)
{
    Sheet sheet;
    FileError error;
    ASSERT_TRUE(readSheetText("KALDOR-SHEET 1\r\n# a note\r\n\r\nsize\t2\t1\r\ndata\t2\t1\tx\r\nend\r\n",
                              sheet, error))
        << error.message;
    EXPECT_EQ(sheet.cellDataText(2, 1), "x");
}

TEST(SheetFile, AFailedLoadLeavesTheSheetAndNamesFileAndLine)
{
    TempFolder folder;
    const std::string path = folder.file("broken.zxs");
    std::ofstream(path, std::ios::binary)
        << "KALDOR-SHEET 1\nsize\t2\t2\ndata\t1\t1\tnew\ndata\t9\t1\tx\nend\n";

    Sheet sheet = everyStateSheet();
    const std::string before = writeSheetText(sheet);
    host::CommandLineCapture capture;
    EXPECT_FALSE(sheet.loadFile(path));
    EXPECT_EQ(capture.text(),
              "*Error* Sheet file \"" + path +
                  "\", line 4: cell (9, 1) lies outside the sheet of 2 columns and 2 rows.\n");
    EXPECT_EQ(writeSheetText(sheet), before);

    capture.clear();
    EXPECT_FALSE(sheet.loadFile(folder.file("missing.zxs")));
    EXPECT_EQ(capture.text(), "*Error* Sheet file \"" + folder.file("missing.zxs") + "\": no such file.\n");
}

TEST(SheetFile, SaveAndLoadReplaceEverythingButCustomFunctions)
{
    TempFolder folder;
    const std::string path = folder.file("sheet.zxs");
    Sheet source = everyStateSheet();
    source.addCustomFunction("HALF", 1, 1, half, 0);
    ASSERT_TRUE(source.saveFile(path));
    EXPECT_EQ(folder.entries(), 1u); // no temporary file left behind

    Sheet target;
    target.setMaxCols(30);
    target.setMaxRows(30);
    target.setValue(30, 30, "old");
    target.addSpan(10, 10, 2, 2);
    ASSERT_TRUE(target.addCustomFunction("half", 1, 1, half, 0));
    ASSERT_TRUE(target.loadFile(path));
    EXPECT_EQ(target.maxCols(), 7);
    EXPECT_EQ(target.cellValueText(1, 3), "617.25"); // calculated with the registration it kept
    EXPECT_EQ(target.spans(), source.spans());
    EXPECT_NE(target.findCustomFunction("HALF"), nullptr);
    EXPECT_FALSE(target.changesMade());
    EXPECT_EQ(writeSheetText(target), writeSheetText(source));

    // Saving again over the file replaces it.
    target.setValue(5, 2, "43");
    ASSERT_TRUE(target.saveFile(path));
    Sheet again;
    ASSERT_TRUE(again.loadFile(path));
    EXPECT_EQ(again.cellValueText(5, 2), "43");
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(SheetFile, SavingIntoAMissingFolderFailsCleanly)
{
    TempFolder folder;
    Sheet sheet;
    EXPECT_FALSE(sheet.saveFile(folder.file("no/such/folder/sheet.zxs")));
    EXPECT_EQ(folder.entries(), 0u);
}

TEST(SheetFile, BackslashesInPathsAreFolderSeparators)
{
    TempFolder folder;
    fs::create_directories(folder.file("Connection Standards"));
    Sheet sheet;
    sheet.setMaxCols(1);
    sheet.setMaxRows(1);
    sheet.setValue(1, 1, "x");
    std::string path = folder.file("Connection Standards\\plate.zxs");
    ASSERT_TRUE(sheet.saveFile(path));
    EXPECT_TRUE(fs::exists(folder.file("Connection Standards/plate.zxs")));
    Sheet loaded;
    EXPECT_TRUE(loaded.loadFile(path));
}
} // namespace
} // namespace grid
