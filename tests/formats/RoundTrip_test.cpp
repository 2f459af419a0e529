// Sheets through .xlsx and back, and workbooks that LibreOffice wrote (made once by
// scripts/make-workbook-samples.sh and kept with the test data).

#include "formats/SheetFiles.h"
#include "formats/WorkbookTestSupport.h"
#include "grid/Sheet.h"
#include "grid/SheetFormats.h"
#include "grid/formula/Formula.h"
#include "grid/formula/ReferenceText.h"
#include "host/CommandLine.h"
#include "spread/StandardsFunctions.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

const std::string kData = KALDOR_TEST_DATA;
const std::string kFormats = kData + "formats/";

/// Value texts (formula cells also their formula, in A1 style whatever the sheet's reference
/// style) of every body cell, one per line.
std::string valuesAndFormulas(const grid::Sheet& sheet)
{
    std::string out;
    sheet.forEachCell(
        [&](int col, int row)
        {
            if (col < 1 || row < 1)
                return;
            std::string value = sheet.cellValueText(col, row);
            if (sheet.hasFormula(col, row))
                value += " [=" +
                         grid::formulaText(*sheet.cellFormula(col, row), col, row, grid::ReferenceStyle::A1) +
                         "]";
            if (!value.empty())
                out += grid::columnLetters(col) + std::to_string(row) + "=" + value + "\n";
        });
    return out;
}

std::string valuesOnly(const grid::Sheet& sheet)
{
    std::string out;
    sheet.forEachCell(
        [&](int col, int row)
        {
            const std::string value = sheet.cellValueText(col, row);
            if (col >= 1 && row >= 1 && !value.empty())
                out += grid::columnLetters(col) + std::to_string(row) + "=" + value + "\n";
        });
    return out;
}

class Scratch
{
public:
    Scratch() : path_(fs::temp_directory_path() / ("formats-roundtrip-" + std::to_string(::getpid())))
    {
        fs::create_directories(path_);
    }
    ~Scratch() { fs::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

bool loadWithSteelFunctions(const std::string& path, grid::Sheet& sheet)
{
    registerStandardsFunctions(sheet);
    host::CommandLineCapture quiet;
    return sheet.loadFile(path);
}

bool readWorkbookFile(const std::string& path, grid::Sheet& sheet, std::vector<std::string>& remarks)
{
    registerStandardsFunctions(sheet);
    std::string error;
    const bool ok = formats::readSheetFile(path, sheet, error, remarks);
    EXPECT_TRUE(ok) << path << ": " << error;
    return ok;
}

std::vector<std::string> sampleSheets()
{
    std::vector<std::string> paths;
    for (const fs::path& folder : {fs::path(KALDOR_SAMPLE_LIBRARY) / "Connection Standards",
                                   fs::path(KALDOR_SAMPLE_LIBRARY) / "Connection Standards/Childs",
                                   fs::path(kData) / "grid", fs::path(kFormats)})
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".zxs" || entry.path().extension() == ".csv")
                paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(XlsxRoundTrip, EverySampleSheetKeepsItsValuesAndFormulas)
{
    Scratch scratch;
    const std::vector<std::string> sheets = sampleSheets();
    ASSERT_GE(sheets.size(), 6u);
    for (const std::string& path : sheets)
    {
        SCOPED_TRACE(path);
        grid::Sheet original;
        ASSERT_TRUE(loadWithSteelFunctions(path, original));
        std::string error;
        const std::string written = scratch / "sheet.xlsx";
        ASSERT_TRUE(formats::writeXlsxFile(written, original, error)) << error;
        grid::Sheet again;
        std::vector<std::string> remarks;
        ASSERT_TRUE(readWorkbookFile(written, again, remarks));
        EXPECT_EQ(valuesAndFormulas(again), valuesAndFormulas(original));
        EXPECT_TRUE(remarks.empty()) << remarks.front();
    }
}

TEST(XlsxRoundTrip, KeepsLayoutFormatsTypesAndNotes)
{
    Scratch scratch;
    grid::Sheet original;
    ASSERT_TRUE(loadWithSteelFunctions(kFormats + "styled.zxs", original));
    std::string error;
    ASSERT_TRUE(formats::writeXlsxFile(scratch / "styled.xlsx", original, error)) << error;
    grid::Sheet again;
    std::vector<std::string> remarks;
    ASSERT_TRUE(readWorkbookFile(scratch / "styled.xlsx", again, remarks));
    EXPECT_EQ(again.columnWidths(), original.columnWidths());
    EXPECT_EQ(again.rowHeights(), original.rowHeights());
    EXPECT_EQ(again.spans(), original.spans());
    original.forEachCell(
        [&](int col, int row)
        {
            if (col < 1 || row < 1)
                return;
            SCOPED_TRACE(grid::columnLetters(col) + std::to_string(row));
            EXPECT_EQ(again.cellType(col, row), original.cellType(col, row));
            EXPECT_EQ(again.cellFormat(col, row), original.cellFormat(col, row));
            EXPECT_EQ(again.cellNote(col, row), original.cellNote(col, row));
            EXPECT_EQ(again.cellDataText(col, row), original.cellDataText(col, row));
        });
}

TEST(XlsxWriter, ReplacesTheFileOnlyWhenComplete)
{
    Scratch scratch;
    grid::Sheet sheet;
    sheet.setMaxCols(1);
    sheet.setMaxRows(1);
    sheet.setData(1, 1, std::string(40000, 'x'));
    std::string error;
    EXPECT_FALSE(formats::writeXlsxFile(scratch / "long.xlsx", sheet, error));
    EXPECT_EQ(error.substr(0, 8), "cell A1:");
    EXPECT_FALSE(fs::exists(scratch / "long.xlsx"));
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch / ""), fs::directory_iterator()), 0);
}

TEST(LibreOfficeWorkbooks, CalculateAsTheCsvOfTheSameSheet)
{
    grid::Sheet csv;
    ASSERT_TRUE(loadWithSteelFunctions(kFormats + "calc.csv", csv));
    for (const char* name : {"calc-libreoffice.xlsx", "calc-libreoffice.ods"})
    {
        SCOPED_TRACE(name);
        grid::Sheet workbook;
        std::vector<std::string> remarks;
        ASSERT_TRUE(readWorkbookFile(kFormats + name, workbook, remarks));
        EXPECT_EQ(valuesOnly(workbook), valuesOnly(csv));
    }
}

TEST(LibreOfficeWorkbooks, KeepWhatLibreOfficeKeptOfTheLook)
{
    grid::Sheet original;
    ASSERT_TRUE(loadWithSteelFunctions(kFormats + "styled.zxs", original));
    for (const char* name : {"styled-libreoffice.xlsx", "styled-libreoffice.ods"})
    {
        SCOPED_TRACE(name);
        grid::Sheet workbook;
        std::vector<std::string> remarks;
        ASSERT_TRUE(readWorkbookFile(kFormats + name, workbook, remarks));
        EXPECT_EQ(valuesAndFormulas(workbook), valuesAndFormulas(original));
        EXPECT_EQ(workbook.spans(), original.spans());
        EXPECT_EQ(workbook.cellType(1, 2), original.cellType(1, 2));
        EXPECT_EQ(workbook.cellType(2, 2), original.cellType(2, 2));
        EXPECT_EQ(workbook.cellType(3, 2).kind, grid::CellType::Kind::Text);
        EXPECT_EQ(workbook.cellFormat(1, 1).font.weight, 700);
        EXPECT_EQ(workbook.cellFormat(1, 1).foreground, original.cellFormat(1, 1).foreground);
        EXPECT_EQ(workbook.cellFormat(1, 2).background, original.cellFormat(1, 2).background);
        EXPECT_EQ(workbook.cellFormat(1, 2).border.mask, 15);
        EXPECT_EQ(workbook.cellFormat(1, 2).font.face, "Arial");
        EXPECT_EQ(workbook.cellNote(2, 2), "a note");
        EXPECT_NEAR(workbook.rowHeight(2), 30, 2);
        // LibreOffice turns the character widths of .xlsx into lengths by its own font, so
        // the .ods widths keep their order but not their pixels.
        if (std::string_view(name).ends_with(".xlsx"))
        {
            EXPECT_NEAR(workbook.columnWidth(1), 120, 3);
        }
        EXPECT_GT(workbook.columnWidth(1), workbook.columnWidth(3));
        EXPECT_GT(workbook.columnWidth(3), workbook.columnWidth(2));
    }
}

TEST(SheetFormats, SheetFilesOfTheEngineReadAndWriteWorkbooksOnceRegistered)
{
    Scratch scratch;
    formats::registerSheetFormats();
    grid::Sheet sheet;
    ASSERT_TRUE(sheet.loadFile(kFormats + "calc.csv"));
    ASSERT_TRUE(sheet.saveFile(scratch / "calc.xlsx"));
    grid::Sheet again;
    ASSERT_TRUE(again.loadFile(scratch / "calc.xlsx#sheet1"));
    EXPECT_EQ(valuesAndFormulas(again), valuesAndFormulas(sheet));
    EXPECT_EQ(grid::sheetFilePath("a/b.ODS#Loads"), "a/b.ODS");
    EXPECT_EQ(grid::sheetFilePath("a/b#c.zxs"), "a/b#c.zxs");

    // A workbook that holds something the sheet cannot says so once, and still loads; a
    // failure names the file.
    const std::string path = scratch / "remarks.xlsx";
    {
        std::ofstream out(path, std::ios::binary);
        out << formatstest::makeXlsx(
            "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData>"
            "<conditionalFormatting/><conditionalFormatting/><conditionalFormatting/>"
            "<hyperlinks><hyperlink ref=\"A1\"/></hyperlinks>");
    }
    host::CommandLineCapture capture;
    grid::Sheet remarked;
    ASSERT_TRUE(remarked.loadFile(path));
    EXPECT_EQ(remarked.cellValueText(1, 1), "1");
    EXPECT_EQ(capture.text(),
              "Sheet file \"" + path + "\": 3 conditional formats ignored, 1 hyperlink ignored.\n");
    capture.clear();
    EXPECT_FALSE(remarked.loadFile(kFormats + "calc-libreoffice.ods#NoSuchSheet"));
    EXPECT_EQ(capture.text(),
              "*Error* Sheet file \"" + kFormats +
                  "calc-libreoffice.ods#NoSuchSheet\": the workbook has no table \"NoSuchSheet\".\n");
    EXPECT_EQ(remarked.cellValueText(1, 1), "1");
}
} // namespace
