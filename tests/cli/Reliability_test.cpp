// What bad input, cycles and file-system corners did to the program, run as a user would.

#include "ProgramRun.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace
{
using namespace clitest;
namespace fs = std::filesystem;
using Json = nlohmann::json;

/// A dialog variable of a module in a macro file.
std::string moduleVariable(const std::string& path, const std::string& module, const std::string& name)
{
    const Json macro = Json::parse(readFile(path));
    for (const Json& item : macro["modules"])
        if (item["name"] == module)
            for (const Json& variable : item["variables"])
                if (variable["name"] == name)
                    return variable["value"].get<std::string>();
    return "<missing>";
}

/// A module-group sheet writing the plate's Thickness and Width from equations that fail in
/// every way an equation can.
const char* const kFailingSheet = "Input\n"
                                  "Double TopExtension\n"
                                  "Output\n"
                                  "Double Thickness,Double Width\n"
                                  "Calc\n"
                                  "Thickness = TopExtension / 0\n"
                                  "Width = Unknown + 1\n"
                                  "Width = SQRT(-1)\n"
                                  "Width = \"abc\"\n"
                                  "Thickness = \"\"\n"
                                  "Width = \"1%s\"\n";

std::string failingSheet()
{
    std::string text = kFailingSheet;
    text.replace(text.find("%s"), 2, std::string(400, '0'));
    return text;
}
} // namespace

TEST(Reliability, FailedEquationsFailTheEvaluationAndWriteNothing)
{
    ScratchFolder scratch;
    const std::string sheet = scratch.write("Failing.csv", failingSheet());
    const std::string macro = scratch.write("m.json", readFile(sampleMacro("EndPlate-IPE300.json")));
    const std::string out = scratch / "out.json";
    ProgramResult result = runProgram(
        {"--no-messages", "evaluate", sheet, "--macro", macro, "--target", "Module.Plate", "--out", out});
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(fs::exists(out));
    const std::string lead = "kaldor-ss: " + macro + ": " + sheet;
    for (const std::string& line : {
             lead + " (line 6): Thickness = TopExtension / 0: the result is the error #DIV/0!\n",
             lead + " (line 7): Width = Unknown + 1: ",
             lead + " (line 8): Width = SQRT(-1): the result is the error #NUM!\n",
             lead + " (line 9): Width = \"abc\": the result \"abc\" is not a number, as the Double variable "
                    "Width needs\n",
             lead + " (line 10): Thickness = \"\": the result \"\" is not a number, as the Double variable "
                    "Thickness "
                    "needs\n",
             "kaldor-ss: " + macro +
                 ": 6 failures; the macro was not written (--keep-going writes it all the same)\n",
         })
        EXPECT_NE(result.err.find(line), std::string::npos) << line << "\n" << result.err;
    EXPECT_NE(result.err.find(lead + " (line 11): Width = \"1000"), std::string::npos) << result.err;

    // Kept going, the macro is written and holds what was printed: the old values.
    ProgramResult kept = runProgram({"--no-messages", "--quiet", "evaluate", sheet, "--macro", macro,
                                     "--target", "Module.Plate", "--out", out, "--keep-going"});
    ASSERT_EQ(kept.status, 0) << kept.err;
    EXPECT_EQ(kept.err, "");
    EXPECT_NE(
        kept.out.find("Output\tDouble\tThickness\t" + moduleVariable(out, "EndPlate1", "Thickness") + "\n"),
        std::string::npos)
        << kept.out;
    EXPECT_NE(kept.out.find("Output\tDouble\tWidth\t" + moduleVariable(out, "EndPlate1", "Width") + "\n"),
              std::string::npos)
        << kept.out;
    EXPECT_EQ(moduleVariable(out, "EndPlate1", "Width"), moduleVariable(macro, "EndPlate1", "Width"));
}

TEST(Reliability, ChildSheetsCallingEachOtherStopAtOnceNamingTheCircle)
{
    ScratchFolder scratch;
    const std::string lib = scratch.copyOfSampleLibrary();
    const std::string childs = lib + "/Connection Standards/Childs/";
    // Three calls each: without cycle detection this ran 3^16 evaluations.
    for (const auto& [name, other] : {std::pair<std::string, std::string>{"Ping", "Pong"}, {"Pong", "Ping"}})
        scratch.write("library/Connection Standards/Childs/" + name + ".csv",
                      "Input\nDouble A\nOutput\nDouble C\nCalc\n"
                      "\"CallChild(\"\"" +
                          other +
                          ".csv\"\", A, C)\"\n"
                          "\"CallChild(\"\"" +
                          other +
                          ".csv\"\", A, C)\"\n"
                          "\"CallChild(\"\"" +
                          other + ".csv\"\", A, C)\"\nC = A + 1\n");
    const std::string sheet =
        scratch.write("Main.csv", "Input\nDouble TopExtension\nOutput\nDouble Width\nCalc\n"
                                  "\"CallChild(\"\"Ping.csv\"\", TopExtension, Width)\"\n");
    const auto start = std::chrono::steady_clock::now();
    ProgramResult result = runProgram({"--lib", lib, "--quiet", "evaluate", sheet, "--macro",
                                       sampleMacro("EndPlate-IPE300.json"), "--target", "Module.Plate"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("the child calls form a circle: Ping.csv -> Pong.csv -> Ping.csv"),
              std::string::npos)
        << result.err;

    // The message box names the circle and gives its own tip.
    ProgramResult shown =
        runProgram({"--lib", lib, "evaluate", sheet, "--macro", sampleMacro("EndPlate-IPE300.json"),
                    "--target", "Module.Plate", "--keep-going"});
    EXPECT_NE(shown.err.find(
                  "Here's a tip for finding the cause :\nA sheet may not call itself, directly or through "
                  "other child sheets"),
              std::string::npos)
        << shown.err;
    ProgramResult missing =
        runProgram({"--lib", lib, "evaluate",
                    scratch.write("Lost.csv", "Input\nDouble A\nOutput\nDouble Width\nCalc\n"
                                              "\"CallChild(\"\"Lost.csv2\"\", A, Width)\"\n"),
                    "--macro", sampleMacro("EndPlate-IPE300.json"), "--target", "Module.Plate"});
    EXPECT_NE(missing.err.find("child sheet \"Lost.csv2\" not found"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("The child sheet is looked for in the folder of this sheet"),
              std::string::npos)
        << missing.err;
}

TEST(Reliability, TheCurrentFolderNeverChangesWhatASheetReads)
{
    ScratchFolder scratch;
    scratch.write("BoltSpacing.txt", "// planted\n20\t999\n24\t999\n16\t999\n");
    RunOptions inScratch;
    inScratch.workingFolder = scratch.path();
    ProgramResult here =
        runProgram({"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json")}, inScratch);
    ProgramResult elsewhere =
        runProgram({"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json")});
    ASSERT_EQ(here.status, 0) << here.err;
    EXPECT_EQ(here.out, elsewhere.out);
}

TEST(Reliability, SheetsReadOnlyTheLibraryAndTheirOwnFolderUnlessTrusted)
{
    ScratchFolder scratch;
    const std::string sheet = scratch.write(
        "Spy.csv", "Input\nDouble TopExtension\nOutput\nDouble Width\nLocal\nString Spy,Double Dummy\nCalc\n"
                   "\"Spy = GETCELL(\"\"/proc/self/status\"\", \"\"Uid:\"\")\"\n"
                   "\"CallChild(\"\"/etc/passwd\"\", TopExtension, Dummy)\"\n");
    const std::vector<std::string> args = {
        "evaluate", sheet,          "--macro",      sampleMacro("EndPlate-IPE300.json"),
        "--target", "Module.Plate", "--no-messages"};
    ProgramResult confined = runProgram(args);
    EXPECT_EQ(confined.status, 1);
    EXPECT_NE(confined.err.find("reading \"/proc/self/status\" refused: it lies outside the library folder"),
              std::string::npos)
        << confined.err;
    EXPECT_NE(confined.err.find("reading \"/etc/passwd\" refused"), std::string::npos) << confined.err;
    EXPECT_NE(confined.out.find("Local\tString\tSpy\t\n"), std::string::npos) << confined.out;

    std::vector<std::string> trusted = args;
    trusted.push_back("--trust-sheets");
    trusted.push_back("--keep-going");
    ProgramResult open = runProgram(trusted);
    EXPECT_EQ(open.err.find("refused"), std::string::npos) << open.err;
    EXPECT_NE(open.out.find("Local\tString\tSpy\t0\n"), std::string::npos) << open.out;
}

TEST(Reliability, WorkFollowsTheCellsNotTheDeclaredSize)
{
    ScratchFolder scratch;
    const std::string huge = scratch.write("huge.zxs", "KALDOR-SHEET 1\nsize\t16384\t1048576\nend\n");
    const auto start = std::chrono::steady_clock::now();
    ProgramResult show = runProgram({"sheet", "show", huge});
    ProgramResult values = runProgram({"sheet", "values", huge});
    ProgramResult csv = runProgram({"sheet", "convert", huge, scratch / "huge.csv"});
    ProgramResult native = runProgram({"sheet", "convert", huge, scratch / "copy.zxs"});
    ProgramResult evaluate = runProgram(
        {"evaluate",
         scratch.write("Big.zxs",
                       "KALDOR-SHEET 1\nsize\t16384\t1048576\ndata\t1\t1\tInput\ndata\t2\t2\tDouble "
                       "TopExtension\ndata\t1\t3\tOutput\ndata\t2\t4\tDouble Width\ndata\t1\t5\tCalc\n"
                       "data\t1\t6\tWidth = TopExtension * 3\nend\n"),
         "--macro", sampleMacro("EndPlate-IPE300.json"), "--target", "Module.Plate"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out, "\n\n");
    EXPECT_EQ(values.status, 0);
    EXPECT_EQ(values.out, "");
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(readFile(scratch / "huge.csv"), "");
    EXPECT_EQ(native.status, 0);
    EXPECT_EQ(evaluate.status, 0) << evaluate.err;
    EXPECT_EQ(evaluate.out, "Input\tDouble\tTopExtension\t40\nOutput\tDouble\tWidth\t120\n");
}

TEST(Reliability, SmallerFaultsOfTheCommandLine)
{
    ProgramResult bogus = runProgram({"bogus"});
    EXPECT_EQ(bogus.status, 2);
    EXPECT_EQ(bogus.err.rfind("kaldor-ss: unknown command \"bogus\"; the commands are: evaluate sheet", 0),
              0u)
        << bogus.err;

    ScratchFolder scratch;
    ProgramResult emptyOut =
        runProgram({"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json"), "--out", ""});
    EXPECT_EQ(emptyOut.status, 2);
    EXPECT_NE(emptyOut.err.find("needs a file name"), std::string::npos) << emptyOut.err;

    // Control bytes in a result never reach the output raw.
    const std::string csv = scratch.write("ctl.csv", "\"a\x01"
                                                     "b\x1b[2J\"\n");
    ProgramResult values = runProgram({"sheet", "values", csv});
    EXPECT_EQ(values.out, "A1\ta\\x01b\\x1B[2J\n");

    // A sheet file with 99 decimals or limits that are no numbers is refused by line.
    for (const std::string& type :
         {std::string("type\t1\tnumber\t99\t0\t10\t0\t0"), std::string("type\t1\tnumber\t2\tnan\t10\t0\t0"),
          std::string("type\t1\tnumber\t2\t0\tinf\t0\t0")})
    {
        const std::string sheet = scratch.write("bad.zxs", "KALDOR-SHEET 1\nsize\t2\t2\n" + type + "\nend\n");
        ProgramResult bad = runProgram({"sheet", "values", sheet});
        EXPECT_EQ(bad.status, 3) << type;
        EXPECT_NE(bad.err.find("line 3"), std::string::npos) << bad.err;
    }

    // A macro nested eighty thousand levels deep is refused, not a crash.
    const std::string deep = scratch.write("deep.json", std::string(80000, '[') + std::string(80000, ']'));
    ProgramResult nested = runProgram({"evaluate", "EndPlate", "--macro", deep});
    EXPECT_EQ(nested.status, 3);
    EXPECT_NE(nested.err.find("nested deeper than 256 levels"), std::string::npos) << nested.err;

    ProgramResult missing = runProgram({"evaluate", "EndPlate", "--macro", scratch / "none.json"});
    EXPECT_NE(missing.err.find("none.json\": not found."), std::string::npos) << missing.err;
}
