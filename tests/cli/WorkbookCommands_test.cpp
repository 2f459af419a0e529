// The program with workbooks of spreadsheet programs wherever it takes a sheet.

#include "ProgramRun.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{
using namespace clitest;

#if KALDOR_HAVE_FORMATS
const char* const kCsv = "Plate,Width,Height\n"
                         "P1,200,=B2*2\n"
                         "\"tab\there\",,\"=ROUNDTO(B2+C2,7)\"\n";

TEST(WorkbookCommands, ConvertWritesXlsxThatReadsBackWithTheSameValues)
{
    ScratchFolder scratch;
    const std::string csv = scratch.write("plate.csv", kCsv);
    ProgramResult converted = runProgram({"sheet", "convert", csv, scratch / "plate.xlsx"});
    ASSERT_EQ(converted.status, 0) << converted.err;
    ProgramResult fromCsv = runProgram({"sheet", "values", csv});
    ProgramResult fromXlsx = runProgram({"sheet", "values", scratch / "plate.xlsx"});
    ASSERT_EQ(fromXlsx.status, 0) << fromXlsx.err;
    EXPECT_EQ(fromXlsx.out, fromCsv.out);
    EXPECT_EQ(fromXlsx.out,
              "A1\tPlate\nB1\tWidth\nC1\tHeight\nA2\tP1\nB2\t200\nC2\t400\nA3\ttab\\there\nC3\t602\n");

    // A worksheet is chosen with '#'; a missing one is bad input naming the file.
    ProgramResult named = runProgram({"sheet", "values", scratch / "plate.xlsx#Sheet1"});
    EXPECT_EQ(named.out, fromCsv.out);
    ProgramResult missing = runProgram({"sheet", "values", scratch / "plate.xlsx#Bolts"});
    EXPECT_EQ(missing.status, 3);
    EXPECT_NE(missing.err.find("the workbook has no worksheet \"Bolts\""), std::string::npos) << missing.err;
}

TEST(WorkbookCommands, WhatTheSheetCannotHoldIsToldOnceUnlessQuiet)
{
    const std::string file =
        (samplesFolder().parent_path().parent_path() / "tests/data/formats/remarks.xlsx").string();
    ProgramResult result = runProgram({"sheet", "values", file});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "kaldor-ss: Sheet file \"" + file +
                              "\": 1 defined name ignored, 1 array formula over several cells ignored, "
                              "1 conditional format ignored.\n");
    EXPECT_EQ(result.lines().front(), "A1\ttext");
    ProgramResult quiet = runProgram({"--quiet", "sheet", "values", file});
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(quiet.out, result.out);
}

TEST(WorkbookCommands, ShowAndConvertReadLibreOfficeFiles)
{
    ScratchFolder scratch;
    const std::string data = (samplesFolder().parent_path().parent_path() / "tests/data/formats/").string();
    ProgramResult csv = runProgram({"sheet", "values", data + "calc.csv"});
    for (const char* name : {"calc-libreoffice.xlsx", "calc-libreoffice.ods"})
    {
        ProgramResult values = runProgram({"sheet", "values", data + name});
        ASSERT_EQ(values.status, 0) << values.err;
        EXPECT_EQ(values.out, csv.out) << name;
    }
    ProgramResult show = runProgram({"sheet", "show", data + "calc-libreoffice.ods"});
    ASSERT_EQ(show.status, 0) << show.err;
    ASSERT_GE(show.lines().size(), 3u);
    EXPECT_EQ(show.lines()[2], "Item\tWidth\tHeight\tArea\tLabel\tCheck");
    ProgramResult back =
        runProgram({"sheet", "convert", data + "calc-libreoffice.ods", scratch / "calc.csv"});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(runProgram({"sheet", "values", scratch / "calc.csv"}).out, csv.out);
}

TEST(WorkbookCommands, TheEndPlateStandardEvaluatesTheSameFromEveryFormat)
{
    const std::string macro = sampleMacro("EndPlate-IPE300.json");
    ProgramResult native = runProgram({"evaluate", "EndPlate", "--macro", macro});
    ASSERT_EQ(native.status, 0) << native.err;
    const std::string data = (samplesFolder().parent_path().parent_path() / "tests/data/formats/").string();
    for (const std::string& sheet : {std::string("EndPlateXlsx"), std::string("EndPlateXlsx.xlsx"),
                                     data + "EndPlate-libreoffice.xlsx", data + "EndPlate-libreoffice.ods"})
    {
        ProgramResult workbook =
            runProgram({"evaluate", sheet, "--macro", macro, "--target", "Module.Plate"});
        ASSERT_EQ(workbook.status, 0) << sheet << ": " << workbook.err;
        EXPECT_EQ(workbook.out, native.out) << sheet;
        EXPECT_EQ(workbook.err, "") << sheet;
    }
}

TEST(WorkbookCommands, ANameWithoutExtensionFindsTheNativeSheetFirstThenXlsxThenOds)
{
    ScratchFolder scratch;
    const std::string library = scratch.copyOfSampleLibrary();
    const std::string standards = library + "/Connection Standards/";
    scratch.write("one.csv", "1\n");
    scratch.write("two.csv", "2\n");
    scratch.write("three.csv", "3\n");
    ASSERT_EQ(runProgram({"sheet", "convert", scratch / "three.csv", standards + "Pick.xlsx"}).status, 0);
    ASSERT_EQ(runProgram({"sheet", "convert", scratch / "three.csv", scratch / "three.xlsx"}).status, 0);
    // The .ods stands in as a copy of an .ods the test data holds, renamed.
    const std::string data = (samplesFolder().parent_path().parent_path() / "tests/data/formats/").string();
    std::filesystem::copy_file(data + "calc-libreoffice.ods", standards + "Pick.ods");
    auto firstValue = [&](const std::string& name)
    {
        ProgramResult result = runProgram({"--lib", library, "sheet", "values", name});
        return result.lines().empty() ? result.err : result.lines().front();
    };
    EXPECT_EQ(firstValue("Pick"), "A1\t3");
    std::filesystem::remove(standards + "Pick.xlsx");
    EXPECT_EQ(firstValue("Pick"), "A1\tItem");
    ASSERT_EQ(runProgram({"sheet", "convert", scratch / "one.csv", standards + "Pick.zxs"}).status, 0);
    EXPECT_EQ(firstValue("Pick"), "A1\t1");

    // Child sheets are found the same way: a parent calling "BoltRowCount" without extension
    // finds the child kept as a workbook.
    const std::string childs = standards + "Childs/";
    ASSERT_EQ(runProgram({"sheet", "convert", childs + "BoltRowCount.csv", childs + "RowsBook.xlsx"}).status,
              0);
    std::string parent = readFile(standards + "EndPlate.zxs");
    const std::size_t at = parent.find("BoltRowCount.csv");
    ASSERT_NE(at, std::string::npos);
    parent.replace(at, std::string("BoltRowCount.csv").size(), "RowsBook");
    scratch.write("library/Connection Standards/EndPlateBook.zxs", parent);
    ProgramResult viaBook = runProgram({"--lib", library, "evaluate", "EndPlateBook", "--macro",
                                        sampleMacro("EndPlate-IPE300.json"), "--target", "Module.Plate"});
    ProgramResult native = runProgram(
        {"--lib", library, "evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json")});
    ASSERT_EQ(viaBook.status, 0) << viaBook.err;
    EXPECT_EQ(viaBook.out, native.out);
}
#else
TEST(WorkbookCommands, NeedTheFormatsLibrary)
{
    GTEST_SKIP() << "built without the workbook formats";
}
#endif
} // namespace
