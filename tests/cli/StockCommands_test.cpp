// The stock commands run on a copy of the sample library's "Cutting Stock" folder.

#include "ProgramRun.h"

#include <gtest/gtest.h>

namespace
{
using namespace clitest;

const std::string kSep = "\xBF";

TEST(StockCommands, ListShowSaveAndReportOnTheSampleFolder)
{
    ScratchFolder scratch;
    const std::string lib = scratch.copyOfSampleLibrary();

    ProgramResult groups = runProgram({"--lib", lib, "stock", "groups"});
    ASSERT_EQ(groups.status, 0) << groups.err;
    EXPECT_EQ(groups.out, "S235\nS355\n");

    ProgramResult show = runProgram({"--lib", lib, "stock", "show", "S235"});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out, "12000\t4\tHall 1\n9000\t2\tHall 1\n6000\t7\tYard\n");
    ProgramResult purchase = runProgram({"--lib", lib, "stock", "show", "S235", "--purchase"});
    EXPECT_EQ(purchase.lines().size(), 2u);

    // A CSV becomes the group's next numbered stock file, cells untouched.
    const std::string csv = scratch.write("new.csv", "Length,Count,Place\n\"12000\",0012,\"Hall 3, back\"\n");
    ProgramResult save = runProgram({"--lib", lib, "stock", "save", "S235", csv});
    ASSERT_EQ(save.status, 0) << save.err;
    EXPECT_EQ(save.out, lib + "/Cutting Stock/S235/Stock2.shp\n");
    EXPECT_EQ(readFile(lib + "/Cutting Stock/S235/Stock2.shp"),
              "Length" + kSep + "Count" + kSep + "Place\n12000" + kSep + "0012" + kSep + "Hall 3, back\n");

    // The report loads the latest file of every group; the purchase file of S355 is missing.
    const std::string record = samplesFolder().string() + "cutting-stock.json";
    const std::string out = scratch / "loaded.json";
    ProgramResult report = runProgram({"--lib", lib, "stock", "report", record, "--out", out});
    ASSERT_EQ(report.status, 0) << report.err;
    const std::vector<std::string> lines = report.lines();
    ASSERT_EQ(lines.size(), 9u) << report.out;
    EXPECT_EQ(lines[0], std::string(116, '-'));
    EXPECT_EQ(lines[1].rfind("Loaded stock file \"Stock2.shp\" for group \"S235\" written on ", 0), 0u)
        << lines[1];
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[7], "No purchase file found for group \"S355\".");
    EXPECT_NE(readFile(out).find("\"Hall 3, back\""), std::string::npos);
}

TEST(StockCommands, RefusesWhatWouldLeaveTheFolderOrCorruptAFile)
{
    ScratchFolder scratch;
    const std::string lib = scratch.copyOfSampleLibrary();
    const auto before = snapshot(lib);

    const std::string csv = scratch.write("ok.csv", "1,2\n");
    for (const char* group : {"../x", "a/b", "", ".."})
        EXPECT_EQ(runProgram({"--lib", lib, "stock", "save", group, csv}).status, 2) << group;
    // A cell holding the separator byte or a line break cannot be kept by the file.
    const std::string bad = scratch.write("bad.csv", "1,\"two\nlines\"\n");
    ProgramResult refused = runProgram({"--lib", lib, "stock", "save", "S235", bad});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("Row 1 of group \"S235\" holds a line break"), std::string::npos)
        << refused.err;
    EXPECT_EQ(runProgram({"--lib", lib, "stock", "show", "Nothing"}).status, 3);
    EXPECT_EQ(
        runProgram({"--lib", lib, "stock", "report", scratch.write("r.json", "{\"groups\": 3}")}).status, 3);
    EXPECT_EQ(snapshot(lib), before);
}
} // namespace
