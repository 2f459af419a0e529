#include "ProgramRun.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace
{
using namespace clitest;

const char* const kBoltsCsv = "Bolt,Grade,Note\n"
                              "M16,8.8,steel\n"
                              "M20,Steel 10.9,\"=A2&\"\" steel\"\"\"\n"
                              "M24,steel and STEEL,none\n";

} // namespace

TEST(SheetFind, ListsMatchingCellsFromTheStartCellThenFromTheTop)
{
    ScratchFolder scratch;
    const std::string csv = scratch.write("bolts.csv", kBoltsCsv);
    ProgramResult all = runProgram({"sheet", "find", csv, "STEEL"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "C2\tsteel\nB3\tSteel 10.9\nC3\tM16 steel\nB4\tsteel and STEEL\n");

    ProgramResult from = runProgram({"sheet", "find", csv, "steel", "--from", "c3"});
    ASSERT_EQ(from.status, 0) << from.err;
    EXPECT_EQ(from.out, "C3\tM16 steel\nB4\tsteel and STEEL\nC2\tsteel\nB3\tSteel 10.9\n");

    ProgramResult none = runProgram({"sheet", "find", csv, "girder"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");

    ProgramResult badCell = runProgram({"sheet", "find", csv, "steel", "--from", "not-a-cell"});
    EXPECT_NE(badCell.status, 0);
    EXPECT_NE(badCell.err.find("not-a-cell"), std::string::npos);
}

TEST(SheetReplace, ReplacesLikeReplaceAllAndWritesOnlyWithOut)
{
    ScratchFolder scratch;
    const std::string csv = scratch.write("bolts.csv", kBoltsCsv);
    ProgramResult dry = runProgram({"sheet", "replace", csv, "steel", "steel plate"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    // The formula cell shows the text but keeps its formula; each other cell counts once.
    EXPECT_EQ(dry.out, "Replaced 3 times.\n");
    EXPECT_EQ(readFile(csv), kBoltsCsv);

    const std::string out = scratch / "out.csv";
    ProgramResult written = runProgram({"sheet", "replace", csv, "steel", "steel plate", "--out", out});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "Replaced 3 times.\n");
    ProgramResult values = runProgram({"sheet", "values", out});
    ASSERT_EQ(values.status, 0) << values.err;
    EXPECT_NE(values.out.find("C2\tsteel plate\n"), std::string::npos);
    EXPECT_NE(values.out.find("B3\tsteel plate 10.9\n"), std::string::npos);
    EXPECT_NE(values.out.find("C3\tM16 steel\n"), std::string::npos);
    EXPECT_NE(values.out.find("B4\tsteel plate and steel plate\n"), std::string::npos);
    EXPECT_EQ(std::filesystem::exists(out + ".tmp"), false);

    // An empty find text does nothing.
    ProgramResult empty = runProgram({"sheet", "replace", csv, "", "x"});
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_EQ(empty.out, "Replaced 0 times.\n");

    ProgramResult missing = runProgram({"sheet", "replace", scratch / "none.csv", "a", "b"});
    EXPECT_NE(missing.status, 0);
}
