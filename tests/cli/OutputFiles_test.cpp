#include "ProgramRun.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

namespace
{
using namespace clitest;
namespace fs = std::filesystem;
} // namespace

TEST(OutputFiles, AFifoIsRefusedAndStaysAFifo)
{
    ScratchFolder scratch;
    ASSERT_EQ(::mkfifo((scratch / "pipe").c_str(), 0644), 0);
    ProgramResult result = runProgram({"sheet", "convert", "EndPlate", scratch / "pipe"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "kaldor-ss: *Error* Cannot write file \"" + scratch / "pipe" +
                              "\": it is a FIFO (named pipe), not a regular file.\n");
    EXPECT_TRUE(fs::is_fifo(scratch / "pipe"));
}

TEST(OutputFiles, ADashIsStandardOutput)
{
    ProgramResult sheet = runProgram({"sheet", "convert", "EndPlate", "-"});
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    EXPECT_EQ(sheet.out.rfind("KALDOR-SHEET 1\n", 0), 0u) << sheet.out.substr(0, 80);

    ScratchFolder scratch;
    RunOptions inScratch;
    inScratch.workingFolder = scratch.path();
    ProgramResult macro = runProgram({"--quiet", "evaluate", "EndPlate", "--macro",
                                      sampleMacro("EndPlate-IPE300.json"), "--out", "-", "--json"},
                                     inScratch);
    ASSERT_EQ(macro.status, 0) << macro.err;
    // The result line comes first, then the macro itself; no file named "-" appears.
    const std::vector<std::string> lines = macro.lines();
    ASSERT_GE(lines.size(), 2u);
    const std::string written = macro.out.substr(lines[0].size() + 1);
    EXPECT_EQ(nlohmann::json::parse(written)["name"],
              nlohmann::json::parse(readFile(sampleMacro("EndPlate-IPE300.json")))["name"]);
    EXPECT_FALSE(fs::exists(scratch / "-"));
}

TEST(OutputFiles, InPlaceWritesThroughALinkAndKeepsPermissions)
{
    ScratchFolder scratch;
    const std::string real = scratch.write("real/macro.json", readFile(sampleMacro("EndPlate-IPE300.json")));
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real/macro.json", scratch / "link.json");
    ProgramResult result =
        runProgram({"evaluate", "EndPlate", "--macro", scratch / "link.json", "--in-place"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_symlink(scratch / "link.json"));
    EXPECT_NE(readFile(real), readFile(sampleMacro("EndPlate-IPE300.json")));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}
