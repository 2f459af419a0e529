#include "grid/Csv.h"
#include "grid/Sheet.h"
#include "host/CommandLine.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace grid
{
namespace
{
Sheet readCsv(std::string_view text)
{
    Sheet sheet;
    FileError error;
    EXPECT_TRUE(readCsvText(text, sheet, error)) << error.line << ": " << error.message;
    return sheet;
}

TEST(Csv, ChainsReadingForwardAndBackwardCalculateWithOrWithoutRangesAndCycles)
{
    // Formulas reading cells further down and further up: every one must come after what
    // it reads, whether the whole-sheet order is made from the reader lists alone (no
    // ranges) or by the general plan (a range, or a cycle, present).
    const std::string chain = "=B1+1,=C1*2,=A2-1\n=B2+A3,=C2/2,5\n=B2-2,,\n";
    const Sheet plain = readCsv(chain);
    const std::vector<std::pair<std::pair<int, int>, std::string>> expected = {
        {{3, 2}, "5"}, {{2, 2}, "2.5"}, {{1, 3}, "0.5"}, {{1, 2}, "3"},
        {{3, 1}, "2"}, {{2, 1}, "4"},   {{1, 1}, "5"}};
    for (const auto& [cell, text] : expected)
        EXPECT_EQ(plain.cellValueText(cell.first, cell.second), text) << cell.first << "," << cell.second;
    const Sheet ranged = readCsv(chain + "=SUM(A1:C2),,\n");
    EXPECT_EQ(ranged.cellValueText(1, 1), "5");
    EXPECT_EQ(ranged.cellValueText(1, 4), "21.5");
    const Sheet cyclic = readCsv(chain + "=B4+1,=A4+1,=A1+1\n");
    EXPECT_EQ(cyclic.cellValueText(1, 1), "5");
    EXPECT_EQ(cyclic.cellValueText(3, 4), "6");
    EXPECT_EQ(cyclic.cellValueText(1, 4), cyclic.cellValueText(2, 4));
    EXPECT_NE(cyclic.cellValueText(1, 4).find('#'), std::string::npos);
}

TEST(Csv, FieldsQuotesLineBreaksNumbersAndFormulas)
{
    const Sheet sheet = readCsv("name,\"a, b\",\"say \"\"hi\"\"\"\r\n"
                                "\"two\nlines\",1.5e3,-2E-2\r\n"
                                "=A4*2,=SUM(B2:C2),=1+\r\n"
                                "21,,\"=x\"");
    EXPECT_EQ(sheet.maxCols(), 3);
    EXPECT_EQ(sheet.maxRows(), 4);
    EXPECT_EQ(sheet.cellValueText(2, 1), "a, b");
    EXPECT_EQ(sheet.cellValueText(3, 1), "say \"hi\"");
    EXPECT_EQ(sheet.cellValueText(1, 2), "two\nlines");
    EXPECT_TRUE(sheet.cellValue(2, 2).isNumber());
    EXPECT_EQ(sheet.cellValueText(2, 2), "1500");
    EXPECT_EQ(sheet.cellValueText(3, 2), "-0.02");
    EXPECT_EQ(sheet.cellValueText(1, 3), "42"); // reads a cell of a later record
    EXPECT_EQ(sheet.cellValueText(2, 3), "1499.98");
    EXPECT_EQ(sheet.cellValueText(3, 3), "#NAME?"); // does not parse: an error, never text
    EXPECT_EQ(sheet.cellValueText(2, 4), "");
    EXPECT_TRUE(sheet.cellValue(1, 1).isText());
    EXPECT_FALSE(sheet.changesMade());
}

TEST(Csv, AFormulaThatDoesNotParseIsAnErrorReportedWithItsCell)
{
    ::testing::internal::CaptureStderr();
    const Sheet sheet = readCsv("1,=SUM(A1\n=A1*2,=1+)\n");
    const std::string report = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(sheet.cellValueText(2, 1), "#NAME?");
    EXPECT_EQ(sheet.cellValueText(2, 2), "#NAME?");
    EXPECT_EQ(sheet.cellValueText(1, 2), "2");
    EXPECT_NE(report.find("cell B1: the formula \"=SUM(A1\" does not parse (Missing ')' or ','"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("cell B2: the formula \"=1+)\" does not parse (Unexpected ')' at position 4)"),
              std::string::npos)
        << report;
}

TEST(Csv, RecordsOfDifferentLengthsAndEmptyLines)
{
    const Sheet sheet = readCsv("a\n\nb,c,\nd\n");
    EXPECT_EQ(sheet.maxCols(), 3);
    EXPECT_EQ(sheet.maxRows(), 4);
    EXPECT_EQ(sheet.cellValueText(1, 3), "b");
    EXPECT_EQ(sheet.cellValueText(1, 4), "d");
    EXPECT_EQ(readCsv("").maxRows(), 0);
    EXPECT_EQ(readCsv("x,").maxCols(), 2);
}

TEST(Csv, MalformedQuotingIsRefusedWithItsLine)
{
    struct Case
    {
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"a\nb,\"open\nstill open", 2, "a quoted field is not closed"},
        {"a\n\"x\"y,z", 2, "a closing quote must be followed by a comma"},
    };
    for (const Case& c : cases)
    {
        Sheet sheet;
        FileError error;
        EXPECT_FALSE(readCsvText(c.text, sheet, error));
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
    }
    // A quote inside an unquoted field is taken as it is.
    EXPECT_EQ(readCsv("5\"6").cellValueText(1, 1), "5\"6");
}

TEST(Csv, WritesDataTextsQuotedWhereNeeded)
{
    Sheet sheet;
    sheet.setMaxCols(3);
    sheet.setMaxRows(2);
    sheet.setCellType(1, 1, CellType::number(2, CellType::kNumberMin, CellType::kNumberMax, true));
    sheet.setValue(1, 1, "1234.5");
    sheet.setData(2, 1, "say \"hi\"");
    sheet.setData(3, 1, "two\nlines");
    sheet.setFormula(1, 2, "3*4");
    EXPECT_EQ(writeCsvText(sheet), "\"1,234.50\",\"say \"\"hi\"\"\",\"two\nlines\"\r\n12,,\r\n");

    const Sheet back = readCsv(writeCsvText(sheet));
    EXPECT_EQ(back.cellValueText(2, 1), "say \"hi\"");
    EXPECT_EQ(back.cellValueText(3, 1), "two\nlines");
    EXPECT_EQ(back.cellValueText(1, 2), "12");
}

TEST(Csv, LoadFileChoosesCsvByExtension)
{
    namespace fs = std::filesystem;
    const fs::path path = fs::temp_directory_path() / "kaldor-csv-test.CSV";
    std::ofstream(path, std::ios::binary) << "1,2\n=A1+B1,\"x\n";
    Sheet sheet;
    host::CommandLineCapture capture;
    EXPECT_FALSE(sheet.loadFile(path.string()));
    EXPECT_EQ(capture.text(),
              "*Error* Sheet file \"" + path.string() + "\", line 2: a quoted field is not closed.\n");

    std::ofstream(path, std::ios::binary | std::ios::trunc) << "1,2\n=A1+B1,x\n";
    ASSERT_TRUE(sheet.loadFile(path.string()));
    EXPECT_EQ(sheet.cellValueText(1, 2), "3");
    ASSERT_TRUE(sheet.saveFile(path.string()));
    std::ifstream in(path, std::ios::binary);
    std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(saved, "1,2\r\n3,x\r\n");
    fs::remove(path);
}

TEST(Csv, LargeFilesLoad)
{
    // 200,000 fields; the reader is linear, so this takes a moment even unoptimised.
    std::string text;
    for (int row = 1; row <= 20000; ++row)
    {
        for (int col = 1; col <= 10; ++col)
            text += (col > 1 ? "," : "") + std::to_string(row * col);
        text += "\n";
    }
    const Sheet sheet = readCsv(text);
    EXPECT_EQ(sheet.maxRows(), 20000);
    EXPECT_EQ(sheet.cellValueText(10, 20000), "200000");
}
} // namespace
} // namespace grid
