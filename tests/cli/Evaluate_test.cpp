#include "ProgramRun.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>

namespace
{
using namespace clitest;
using Json = nlohmann::json;

const std::vector<std::string> kEndPlateOutputs = {
    "Output\tDouble\tThickness\t15",    "Output\tDouble\tWidth\t200",   "Output\tDouble\tHeight\t380",
    "Output\tDouble\tEdgeDistance\t40", "Output\tDouble\tPitch\t70",    "Output\tInt\tBoltRows\t5",
    "Output\tInt\tMain.NrBolts1\t5",    "Output\tDouble\tWeight\t8.95",
};

/// A dialog variable of a module in a macro file.
std::string moduleVariable(const Json& macro, const std::string& module, const std::string& name)
{
    for (const Json& item : macro["modules"])
        if (item["name"] == module)
            for (const Json& variable : item["variables"])
                if (variable["name"] == name)
                    return variable["value"].get<std::string>();
    return "<missing>";
}

const char* const kTinySheet = "Input\n"
                               ",Double TopExtension\n"
                               "Output\n"
                               ",Double Height\n"
                               "Calc\n"
                               "Height = TopExtension * 2\n";
} // namespace

TEST(Evaluate, SampleEndPlateWorksOnItsModuleGroup)
{
    ProgramResult result =
        runProgram({"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(outputLines(result), kEndPlateOutputs);
    // Inputs come first, in the order of the sheet; then outputs, then locals.
    const std::vector<std::string> lines = result.lines();
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "Input\tString\tBeam.Name\tIPE 300");
    EXPECT_EQ(lines[3], "Input\tDouble\tgen.BoltGrade\t8.8");
    EXPECT_EQ(lines[14], "Local\tString\tBeamSys\tIPE-300");
    // A sound sample raises no message at all.
    EXPECT_EQ(result.err, "");
}

TEST(Evaluate, SampleFinPlateReadsAndWritesThroughItsMappingFile)
{
    ProgramResult result =
        runProgram({"evaluate", "FinPlate", "--macro", sampleMacro("FinPlate-IPE240.json")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> lines = result.lines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"Input\tString\tBeamSection\tIPE-240",
                                        "Input\tDouble\tBeamDepth\t240", "Input\tDouble\tBeamWeb\t6.2",
                                        "Input\tDouble\tBoltDiameter\t20", "Input\tDouble\tClearance\t10"}));
    EXPECT_EQ(
        outputLines(result),
        (std::vector<std::string>{"Output\tDouble\tPlateThickness\t10", "Output\tDouble\tPlateHeight\t150",
                                  "Output\tDouble\tPlateWidth\t120", "Output\tDouble\tPitch\t70",
                                  "Output\tDouble\tEndDistance\t40", "Output\tDouble\tBoltRows\t2",
                                  "Output\tString\tNrBolts\t2", "Output\tDouble\tChamfer\t15"}));
}

TEST(Evaluate, OutWritesTheUpdatedMacroAndNothingElse)
{
    ScratchFolder scratch;
    const std::string library = scratch.copyOfSampleLibrary();
    const std::string macro =
        scratch.write("in/FinPlate.json", readFile(sampleMacro("FinPlate-IPE240.json")));
    const auto before = snapshot(scratch.path());

    // Without --out the evaluation changes no file: not the macro, not the library.
    ProgramResult plain = runProgram({"--lib", library, "evaluate", "FinPlate", "--macro", macro});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(snapshot(scratch.path()), before);

    const std::string out = scratch / "out/FinPlate.json";
    std::filesystem::create_directories(scratch.path() / "out");
    ProgramResult written =
        runProgram({"--lib", library, "evaluate", "FinPlate", "--macro", macro, "--out", out});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, plain.out);
    EXPECT_EQ(readFile(macro), before.at("in/FinPlate.json"));

    const Json saved = Json::parse(readFile(out));
    EXPECT_EQ(moduleVariable(saved, "Fin", "Thickness"), "10");
    EXPECT_EQ(moduleVariable(saved, "Fin", "Height"), "150");
    EXPECT_EQ(moduleVariable(saved, "WebBolts", "Rows"), "2");
    EXPECT_EQ(saved["modules"][0]["cuts"][0]["values"][6], 15.0);
    EXPECT_EQ(saved["tabs"][1]["patterns"][0]["count1"], "2");

    // The written macro already holds the results: evaluating it again changes nothing.
    ProgramResult again =
        runProgram({"--lib", library, "evaluate", "FinPlate", "--macro", out, "--in-place"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, plain.out);
    EXPECT_EQ(Json::parse(readFile(out)), saved);
}

TEST(Evaluate, InPlaceUpdatesEveryMacroAndReportsEach)
{
    ScratchFolder scratch;
    const std::string first = scratch.write("a.json", readFile(sampleMacro("EndPlate-IPE300.json")));
    const std::string second = scratch.write("b.json", readFile(sampleMacro("EndPlate-IPE400.json")));
    ProgramResult result =
        runProgram({"evaluate", "EndPlate", "--macro", first, "--macro", second, "--in-place"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = result.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[" + first + "]"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[" + second + "]"), 1);
    EXPECT_EQ(moduleVariable(Json::parse(readFile(first)), "EndPlate1", "Thickness"), "15");
    EXPECT_EQ(moduleVariable(Json::parse(readFile(second)), "EndPlate1", "Thickness"), "20");
    EXPECT_EQ(moduleVariable(Json::parse(readFile(second)), "EndPlate1", "BoltRows"), "6");
}

TEST(Evaluate, JsonGivesOneObjectPerMacroAndTheWorstStatus)
{
    ScratchFolder scratch;
    const std::string broken = scratch.write("broken.json", "{\"name\": \"x\",\n");
    ProgramResult result = runProgram({"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json"),
                                       "--macro", broken, "--json"});
    EXPECT_EQ(result.status, 3);
    const std::vector<std::string> lines = result.lines();
    ASSERT_EQ(lines.size(), 2u);
    const Json good = Json::parse(lines[0]);
    EXPECT_EQ(good["sheet"], "EndPlate");
    EXPECT_EQ(good["macro"], sampleMacro("EndPlate-IPE300.json"));
    EXPECT_EQ(good["ok"], true);
    ASSERT_EQ(good["cells"].size(), 21u);
    EXPECT_EQ(
        good["cells"][6],
        (Json{{"name", "Thickness"}, {"cellType", "Output"}, {"valueType", "Double"}, {"value", "15"}}));
    EXPECT_EQ(Json::parse(lines[1]), (Json{{"sheet", "EndPlate"},
                                           {"macro", broken},
                                           {"ok", false},
                                           {"cells", Json::array()},
                                           {"failures", Json::array()}}));
    EXPECT_NE(result.err.find(broken + ": line 2"), std::string::npos) << result.err;
}

TEST(Evaluate, BadInputFilesAreNamedWithStatusThree)
{
    ScratchFolder scratch;
    // A value of the wrong type: the message gives the JSON path.
    std::string text = readFile(sampleMacro("EndPlate-IPE300.json"));
    text.replace(text.find("\"reverse1\": false"), 17, "\"reverse1\": \"no\"");
    const std::string macro = scratch.write("wrong.json", text);
    ProgramResult wrongType = runProgram({"evaluate", "EndPlate", "--macro", macro});
    EXPECT_EQ(wrongType.status, 3);
    EXPECT_EQ(wrongType.out, "");
    EXPECT_NE(wrongType.err.find(macro + ": /modules/1/patterns/0/reverse1"), std::string::npos)
        << wrongType.err;

    ProgramResult missingMacro = runProgram({"evaluate", "EndPlate", "--macro", scratch / "none.json"});
    EXPECT_EQ(missingMacro.status, 3);
    EXPECT_NE(missingMacro.err.find("none.json"), std::string::npos) << missingMacro.err;

    ProgramResult missingSheet =
        runProgram({"evaluate", "NoSuchPlate", "--macro", sampleMacro("EndPlate-IPE300.json")});
    EXPECT_EQ(missingSheet.status, 3);
    EXPECT_NE(missingSheet.err.find("\"NoSuchPlate\" not found"), std::string::npos) << missingSheet.err;

    const std::string sheet = scratch.write("Broken.zxs", "KALDOR-SHEET 1\nsize\t2\t2\nbogus\nend\n");
    ProgramResult badSheet = runProgram({"evaluate", sheet, "--macro", sampleMacro("EndPlate-IPE300.json"),
                                         "--target", "Module.Plate", "--quiet"});
    EXPECT_EQ(badSheet.status, 3);
    EXPECT_NE(badSheet.err.find(sheet + "\", line 3: unknown record"), std::string::npos) << badSheet.err;
    EXPECT_NE(badSheet.err.find("failed while loading the sheet"), std::string::npos) << badSheet.err;
}

TEST(Evaluate, AFailedEvaluationSaysWhichStepAndWritesNothing)
{
    ScratchFolder scratch;
    const std::string noCalc =
        scratch.write("NoCalc.csv", "Input\n,Double TopExtension\nOutput\n,Double Height\n");
    const std::string noInput = scratch.write("NoInput.csv", "Output\n,Double Height\nCalc\nHeight = 1\n");
    const std::string out = scratch / "out.json";
    const std::string macro = sampleMacro("EndPlate-IPE300.json");

    ProgramResult calc =
        runProgram({"evaluate", noCalc, "--macro", macro, "--target", "Module.Plate", "--out", out});
    EXPECT_EQ(calc.status, 1);
    EXPECT_NE(calc.err.find("failed while calculating the sheet"), std::string::npos) << calc.err;
    EXPECT_EQ(calc.out, "");
    EXPECT_FALSE(std::filesystem::exists(out));

    ProgramResult input = runProgram({"evaluate", noInput, "--macro", macro, "--target", "Module.Plate"});
    EXPECT_EQ(input.status, 1);
    EXPECT_NE(input.err.find("failed while collecting the variable cells"), std::string::npos) << input.err;
}

TEST(Evaluate, TargetComesFromTheMacroOrTheCommandLine)
{
    ScratchFolder scratch;
    const std::string sheet = scratch.write("Tiny.csv", kTinySheet);
    // The macro lists no target for this sheet: the user is asked for one.
    ProgramResult missing = runProgram({"evaluate", sheet, "--macro", sampleMacro("EndPlate-IPE300.json")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("give one with --target"), std::string::npos) << missing.err;

    ProgramResult given = runProgram(
        {"evaluate", sheet, "--macro", sampleMacro("EndPlate-IPE300.json"), "--target", "Module.Plate"});
    ASSERT_EQ(given.status, 0) << given.err;
    EXPECT_EQ(given.out, "Input\tDouble\tTopExtension\t40\nOutput\tDouble\tHeight\t80\n");

    // A mapping target the sheet's mapping file lacks binds nothing: a failure, unless the
    // user keeps going.
    const std::string out = scratch / "out.json";
    ProgramResult unmapped =
        runProgram({"evaluate", "FinPlate", "--macro", sampleMacro("FinPlate-IPE240.json"), "--target",
                    "Nowhere", "--out", out});
    EXPECT_EQ(unmapped.status, 1);
    EXPECT_NE(unmapped.err.find("target \"Nowhere\": no usable mapping in "), std::string::npos)
        << unmapped.err;
    EXPECT_FALSE(std::filesystem::exists(out));
    ProgramResult unknownGroup = runProgram(
        {"evaluate", sheet, "--macro", sampleMacro("EndPlate-IPE300.json"), "--target", "Module.Nothing"});
    EXPECT_EQ(unknownGroup.status, 1);
    EXPECT_NE(unknownGroup.err.find("the macro has no module group \"Nothing\""), std::string::npos)
        << unknownGroup.err;
}

TEST(Evaluate, MessagesFollowTheOptions)
{
    ScratchFolder scratch;
    // Depth is no variable of the plate, Twice is declared twice.
    const std::string sheet = scratch.write("Odd.csv", "Input\n"
                                                       ",Double Depth\n"
                                                       "Output\n"
                                                       ",Double Twice,Double Twice\n"
                                                       "Calc\n"
                                                       "Twice = 2\n");
    const std::vector<std::string> base = {
        "evaluate", sheet,          "--macro",     sampleMacro("EndPlate-IPE300.json"),
        "--target", "Module.Plate", "--keep-going"};
    const std::string variableMessage = "The following Input variable couldn't be retrieved : \nDepth\n";
    const std::string duplicateMessage = "Duplicate variable names:\n\nTwice";

    ProgramResult shown = runProgram(base);
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(shown.err.find(variableMessage), std::string::npos) << shown.err;
    EXPECT_NE(shown.err.find(duplicateMessage), std::string::npos) << shown.err;

    std::vector<std::string> args = base;
    args.insert(args.begin(), "--no-messages");
    ProgramResult off = runProgram(args);
    EXPECT_EQ(off.err.find(variableMessage), std::string::npos) << off.err;
    // The duplicate warning is shown whatever the setting.
    EXPECT_NE(off.err.find(duplicateMessage), std::string::npos) << off.err;
    EXPECT_EQ(off.out, shown.out);

    args = base;
    args.push_back("--quiet");
    ProgramResult quiet = runProgram(args);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(quiet.out, shown.out);
}

TEST(Evaluate, TimersReportEveryStep)
{
    ProgramResult result = runProgram(
        {"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json"), "--timers", "--quiet"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 26) << result.err;
    EXPECT_EQ(result.err.rfind("timers of " + sampleMacro("EndPlate-IPE300.json") + ":\n", 0), 0u)
        << result.err;
    // The sheet and its child sheet are loaded: two calls.
    EXPECT_TRUE(std::regex_search(result.err, std::regex("\n  gLoadFile: [0-9]+\\.[0-9]{6} s in 2 calls\n")))
        << result.err;
    EXPECT_TRUE(
        std::regex_search(result.err, std::regex("\n  gCalcCellReplaceVariables: [^\n]* in 15 calls\n$")))
        << result.err;
}

TEST(Evaluate, LibraryFolderComesFromOptionEnvironmentOrInstallation)
{
    ScratchFolder scratch;
    const std::string library = scratch.copyOfSampleLibrary();
    // In this copy M20 bolts need a larger end distance and pitch.
    const std::string spacing = library + "/Connection Standards/Data/BoltSpacing.txt";
    std::string table = readFile(spacing);
    table.replace(table.find("20\t40;70;90"), 11, "20\t45;75;90");
    scratch.write("library/Connection Standards/Data/BoltSpacing.txt", table);
    const std::vector<std::string> args = {"evaluate", "EndPlate", "--macro",
                                           sampleMacro("EndPlate-IPE300.json")};

    RunOptions fromEnvironment;
    fromEnvironment.env["KALDOR_LIB"] = library;
    EXPECT_NE(runProgram(args, fromEnvironment).out.find("Output\tDouble\tPitch\t75\n"), std::string::npos);

    // --lib wins over the environment.
    RunOptions elsewhere;
    elsewhere.env["KALDOR_LIB"] = scratch / "nowhere";
    std::vector<std::string> withLib = {"--lib", library};
    withLib.insert(withLib.end(), args.begin(), args.end());
    EXPECT_NE(runProgram(withLib, elsewhere).out.find("Output\tDouble\tPitch\t75\n"), std::string::npos);

    ProgramResult missing = runProgram(args, elsewhere);
    EXPECT_EQ(missing.status, 3);
    EXPECT_NE(missing.err.find("nowhere"), std::string::npos) << missing.err;

    // Installed, the program takes the library in ../share/kaldor-ss/library beside it.
    std::filesystem::create_directories(scratch.path() / "prefix/bin");
    std::filesystem::create_directories(scratch.path() / "prefix/share/kaldor-ss");
    std::filesystem::rename(library, scratch.path() / "prefix/share/kaldor-ss/library");
    RunOptions installed;
    installed.program = scratch / "prefix/bin/kaldor-ss";
    std::filesystem::copy_file(KALDOR_SS_PROGRAM, installed.program);
    EXPECT_NE(runProgram(args, installed).out.find("Output\tDouble\tPitch\t75\n"), std::string::npos);
}

TEST(CommandLine, UsageErrorsHelpAndVersion)
{
    EXPECT_EQ(runProgram({}).status, 2);
    EXPECT_EQ(runProgram({"frobnicate"}).status, 2);
    EXPECT_EQ(runProgram({"evaluate", "EndPlate"}).status, 2) << "--macro is required";
    EXPECT_EQ(runProgram({"sheet"}).status, 2);
    EXPECT_EQ(
        runProgram({"evaluate", "EndPlate", "--macro", "a.json", "--out", "x.json", "--in-place"}).status, 2);
    ProgramResult twoOut =
        runProgram({"evaluate", "EndPlate", "--macro", "a.json", "--macro", "b.json", "--out", "x"});
    EXPECT_EQ(twoOut.status, 2);
    EXPECT_NE(twoOut.err.find("--in-place"), std::string::npos) << twoOut.err;

    ProgramResult help = runProgram({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"evaluate", "sheet", "catalogue", "mapping", "--lib", "--no-messages", "--quiet"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    EXPECT_EQ(runProgram({"evaluate", "--help"}).status, 0);

    ProgramResult version = runProgram({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("kaldor-ss ", 0), 0u) << version.out;
}
