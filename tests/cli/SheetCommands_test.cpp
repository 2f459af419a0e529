#include "ProgramRun.h"

#include <gtest/gtest.h>
#include <map>

namespace
{
using namespace clitest;

const char* const kPlateCsv = "Plate,Width,Height\n"
                              "P1,200,=B2*2\n"
                              "\"tab\there\",,=B2+C2\n";
} // namespace

TEST(SheetValues, ListsCalculatedCellsRowByRow)
{
    ScratchFolder scratch;
    const std::string csv = scratch.write("plate.csv", kPlateCsv);
    ProgramResult result = runProgram({"sheet", "values", csv});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "A1\tPlate\nB1\tWidth\nC1\tHeight\n"
                          "A2\tP1\nB2\t200\nC2\t400\n"
                          "A3\ttab\\there\nC3\t600\n");
}

TEST(SheetValues, AHugeSparseSheetListsOnlyItsCells)
{
    ScratchFolder scratch;
    const std::string sheet =
        scratch.write("sparse.zxs", "KALDOR-SHEET 1\nsize\t16384\t1048576\ndata\t2\t7\tx\n"
                                    "formula\t16384\t1048576\tB7&\"!\"\nend\n");
    ProgramResult result = runProgram({"sheet", "values", sheet});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "B7\tx\nXFD1048576\tx!\n");
}

TEST(SheetValues, TheProcessSwitchesChangeNothingButSpeed)
{
    ScratchFolder scratch;
    const std::string csv = scratch.write("plate.csv", kPlateCsv);
    const ProgramResult plain = runProgram({"sheet", "values", csv});
    ASSERT_EQ(plain.status, 0) << plain.err;
    // Huge pages restart the program once; given other allocator settings, it keeps them.
    for (const std::map<std::string, std::string>& env :
         {std::map<std::string, std::string>{{"KALDOR_HUGE_PAGES", "1"}},
          // Leaving the heap to the system is the point of this switch, so a leak checker
          // (the sanitizer build) must not count it.
          std::map<std::string, std::string>{{"KALDOR_HUGE_PAGES", "1"},
                                             {"KALDOR_EXIT_WITHOUT_FREEING", "1"},
                                             {"ASAN_OPTIONS", "detect_leaks=0"}},
          std::map<std::string, std::string>{{"KALDOR_HUGE_PAGES", "1"},
                                             {"GLIBC_TUNABLES", "glibc.malloc.check=0"}},
          std::map<std::string, std::string>{{"KALDOR_HUGE_PAGES", "0"}}})
    {
        RunOptions options;
        options.env = env;
        const ProgramResult switched = runProgram({"sheet", "values", csv}, options);
        EXPECT_EQ(switched.status, 0) << switched.err;
        EXPECT_EQ(switched.out, plain.out);
        EXPECT_EQ(switched.err, plain.err);
    }
}

TEST(SheetValues, StandardsSheetsCalculateWithTheSteelFunctions)
{
    ScratchFolder scratch;
    const std::string csv =
        scratch.write("steel.csv", "\"=ROUNDTO(17,5)\",\"=SECTIONSIZE(\"\"IPE-300\"\",1)\","
                                   "\"=GETARRAYITEM(\"\"40;70;90\"\",2)\"\n");
    ProgramResult result = runProgram({"sheet", "values", csv});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "A1\t15\nB1\t300\nC1\t70\n");
}

TEST(SheetShow, GivesFirstCellCaptionsAndRows)
{
    ScratchFolder scratch;
    const std::string csv = scratch.write("plate.csv", kPlateCsv);
    ProgramResult result = runProgram({"sheet", "show", csv});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Plate\n"
                          "A\tB\tC\n"
                          "Plate\tWidth\tHeight\n"
                          "P1\t200\t400\n"
                          "tab\\there\t\t600\n");

    // A sample sheet is found by its name in the library.
    ProgramResult sample = runProgram({"sheet", "show", "EndPlate"});
    ASSERT_EQ(sample.status, 0) << sample.err;
    EXPECT_EQ(sample.lines().at(0), "End plate, beam to column flange");
}

TEST(SheetConvert, RoundTripsBetweenSheetFormatAndCsv)
{
    ScratchFolder scratch;
    const std::string csv = scratch.write("plate.csv", kPlateCsv);
    const std::string native = scratch / "plate.zxs";
    const std::string back = scratch / "back.csv";
    ASSERT_EQ(runProgram({"sheet", "convert", csv, native}).status, 0);
    EXPECT_EQ(readFile(native).rfind("KALDOR-SHEET 1\n", 0), 0u);
    EXPECT_NE(readFile(native).find("formula\t3\t2\tB2*2\n"), std::string::npos) << "formulas stay formulas";
    ASSERT_EQ(runProgram({"sheet", "convert", native, back}).status, 0);
    EXPECT_EQ(runProgram({"sheet", "values", native}).out, runProgram({"sheet", "values", csv}).out);
    EXPECT_EQ(readFile(back), "Plate,Width,Height\r\nP1,200,400\r\ntab\there,,600\r\n");

    // The sample standards survive a trip through CSV.
    const std::string sampleCsv = scratch / "EndPlate.csv";
    const std::string sampleBack = scratch / "EndPlate.zxs";
    ASSERT_EQ(runProgram({"sheet", "convert", "EndPlate", sampleCsv}).status, 0);
    ASSERT_EQ(runProgram({"sheet", "convert", sampleCsv, sampleBack}).status, 0);
    EXPECT_EQ(readFile(sampleBack),
              readFile((samplesFolder() / "library/Connection Standards/EndPlate.zxs").string()));
}

TEST(SheetCommands, BadFilesAreNamed)
{
    ScratchFolder scratch;
    const std::string bad = scratch.write("bad.zxs", "KALDOR-SHEET 1\nsize\t2\t2\ndata\t9\t1\tx\nend\n");
    for (const char* command : {"values", "show"})
    {
        ProgramResult result = runProgram({"sheet", command, bad});
        EXPECT_EQ(result.status, 3) << command;
        EXPECT_EQ(result.out, "") << command;
        EXPECT_NE(result.err.find("\"" + bad + "\", line 3: "), std::string::npos) << result.err;
    }
    ProgramResult missing = runProgram({"sheet", "values", scratch / "none.zxs"});
    EXPECT_EQ(missing.status, 3);
    EXPECT_NE(missing.err.find("none.zxs"), std::string::npos) << missing.err;

    // A malformed input never leaves an output file behind.
    const std::string out = scratch / "out.csv";
    EXPECT_EQ(runProgram({"sheet", "convert", bad, out}).status, 3);
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string csv = scratch.write("plate.csv", kPlateCsv);
    ProgramResult unwritable = runProgram({"sheet", "convert", csv, scratch / "no/such/folder/x.zxs"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("x.zxs"), std::string::npos) << unwritable.err;
}
