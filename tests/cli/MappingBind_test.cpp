#include "ProgramRun.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace
{
using namespace clitest;

/// The bindings of the shipped FinPlate.map for target BeamWeb, as choices of the page.
const std::vector<std::string> kBeamWebBindings = {
    "BeamSection=Prof1.PrPlName",
    "BeamDepth=Prof1;0h",
    "BeamWeb=Prof1;2tw",
    "BoltDiameter=FinBolts.BoltsDiameter",
    "Clearance=gen_Clearance.GenVar",
    "PlateThickness=FinPlate.Thickness",
    "PlateHeight=FinPlate.Height",
    "PlateWidth=FinPlate.Width",
    "Pitch=FinBolts.Pitch",
    "EndDistance=FinBolts.EndDistance",
    "BoltRows=FinBolts.Rows",
    "NrBolts=FinBolts.Web.PatternNrBolts1",
    "Chamfer=FinPlate.Corner.CutChamferOffset1",
};

std::vector<std::string> bindArgs(const std::string& library, const std::string& macro,
                                  const std::vector<std::string>& bindings,
                                  const std::vector<std::string>& tail)
{
    std::vector<std::string> args = {"--lib", library, "mapping", "bind", "FinPlate", "--macro", macro};
    args.insert(args.end(), bindings.begin(), bindings.end());
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
}

bool isKeyLine(const std::string& out)
{
    return out.size() == 25 && out.back() == '\n' &&
           std::all_of(out.begin(), out.end() - 1, [](unsigned char c) { return std::isalnum(c); });
}
} // namespace

TEST(MappingChoicesCommand, ListsEachVariableWithThePagesChoicesAndTheStoredBinding)
{
    ProgramResult result =
        runProgram({"mapping", "choices", "FinPlate", "--macro", sampleMacro("FinPlate-IPE240.json")});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = result.lines();
    // A String variable is offered the String kinds only, in catalogue order.
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
              (std::vector<std::string>{"Input\tString\tBeamSection\tProf1.PrPlName",
                                        "\tFinBolts.Web.PatternNrBolts1", "\tProf0.PrPlName",
                                        "\tProf0.PrPlMaterial", "\tProf1.PrPlName", "\tProf1.PrPlMaterial"}));
    std::vector<std::string> variables;
    for (const std::string& line : lines)
        if (line[0] != '\t')
            variables.push_back(line);
    EXPECT_EQ(variables.size(), 13u) << "every Input and Output variable, no Local one";
    EXPECT_EQ(variables[1], "Input\tDouble\tBeamDepth\tProf1;0h");
    EXPECT_EQ(variables[5], "Output\tDouble\tPlateThickness\tFinPlate.Thickness");
    EXPECT_EQ(variables[12], "Output\tDouble\tChamfer\tFinPlate.Corner.CutChamferOffset1");
    // Offered to each of the 11 numeric variables, to neither String variable.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\tFinPlate.Thickness"), 11);

    ProgramResult other = runProgram({"mapping", "choices", "FinPlate", "--macro",
                                      sampleMacro("FinPlate-IPE240.json"), "--target", "BeamIsFirstProfile"});
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_EQ(other.lines()[0], "Input\tString\tBeamSection\tProf0.PrPlName");

    // A target without a line preselects nothing rather than another target's bindings.
    ProgramResult none = runProgram({"mapping", "choices", "FinPlate", "--macro",
                                     sampleMacro("FinPlate-IPE240.json"), "--target", "Nowhere"});
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(none.lines()[0], "Input\tString\tBeamSection\t");
}

TEST(MappingBindCommand, MakesAMappingThatEvaluatesLikeTheShippedOne)
{
    ProgramResult shipped =
        runProgram({"evaluate", "FinPlate", "--macro", sampleMacro("FinPlate-IPE240.json")});
    ASSERT_EQ(shipped.status, 0) << shipped.err;

    ScratchFolder scratch;
    const std::string library = scratch.copyOfSampleLibrary();
    const std::string mapFile = library + "/Connection Standards/FinPlate.map";
    std::filesystem::remove(mapFile);
    const std::string macro = scratch.write("fin.json", readFile(sampleMacro("FinPlate-IPE240.json")));
    const std::string bound = scratch / "bound.json";

    ProgramResult bind = runProgram(bindArgs(library, macro, kBeamWebBindings, {"--out", bound}));
    ASSERT_EQ(bind.status, 0) << bind.err;
    ASSERT_TRUE(isKeyLine(bind.out)) << bind.out;
    const std::string key = bind.out.substr(0, 24);
    EXPECT_EQ(readFile(macro), readFile(sampleMacro("FinPlate-IPE240.json")))
        << "--out leaves the input alone";
    EXPECT_NE(readFile(bound).find("\"target\": \"" + key + "\""), std::string::npos) << readFile(bound);

    // The line holds the shipped bindings in the page's order.
    const std::string shippedMap = readFile(sampleMacro("../library/Connection Standards/FinPlate.map"));
    const size_t beamWeb = shippedMap.find("BeamWeb=");
    const std::string shippedLine =
        shippedMap.substr(beamWeb + 8, shippedMap.find('\n', beamWeb) - beamWeb - 8);
    EXPECT_EQ(readFile(mapFile), "Mapping version 1.0\n" + key + "=" + shippedLine + "\n");

    ProgramResult evaluated = runProgram({"--lib", library, "evaluate", "FinPlate", "--macro", bound});
    ASSERT_EQ(evaluated.status, 0) << evaluated.err;
    EXPECT_EQ(evaluated.err, "");
    EXPECT_EQ(evaluated.out, shipped.out);
    EXPECT_EQ(outputLines(evaluated).size(), 8u);
}

TEST(MappingBindCommand, UnchangedBindingsKeepTheKeyAndTheFile)
{
    ScratchFolder scratch;
    const std::string library = scratch.copyOfSampleLibrary();
    const std::string mapFile = library + "/Connection Standards/FinPlate.map";
    const std::string macro = scratch.write("fin.json", readFile(sampleMacro("FinPlate-IPE240.json")));
    const std::string before = readFile(mapFile);

    // The macro's target is BeamWeb; binding what it already holds stores nothing.
    ProgramResult same = runProgram(bindArgs(library, macro, {"PlateWidth=FinPlate.Width"}, {"--in-place"}));
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "BeamWeb\n");
    EXPECT_EQ(readFile(mapFile), before);

    // One changed binding: a new line under a new key, the old lines kept, the macro re-pointed.
    ProgramResult changed =
        runProgram(bindArgs(library, macro, {"platewidth=finplate.height"}, {"--in-place"}));
    ASSERT_EQ(changed.status, 0) << changed.err;
    ASSERT_TRUE(isKeyLine(changed.out)) << changed.out;
    const std::string key = changed.out.substr(0, 24);
    const std::string after = readFile(mapFile);
    ASSERT_EQ(after.compare(0, before.size(), before), 0) << "older lines stay in place";
    EXPECT_EQ(after.substr(before.size(), 25), key + "=");
    EXPECT_NE(after.find("PlateWidth\x83"
                         "FinPlate\x95"
                         "Distance Height",
                         before.size()),
              std::string::npos);
    EXPECT_NE(readFile(macro).find("\"target\": \"" + key + "\""), std::string::npos);

    ProgramResult show = runProgram({"--lib", library, "mapping", "show", "FinPlate", "--target", key});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.lines().size(), 13u);
}

TEST(MappingBindCommand, WrongBindingsAreUsageErrorsAndChangeNothing)
{
    ScratchFolder scratch;
    const std::string library = scratch.copyOfSampleLibrary();
    const std::string mapFile = library + "/Connection Standards/FinPlate.map";
    const std::string macro = scratch.write("fin.json", readFile(sampleMacro("FinPlate-IPE240.json")));
    const auto files = snapshot(scratch.path());

    struct Case
    {
        std::string binding;
        std::string message;
    };
    for (const Case& c : {Case{"Spacing=FinPlate.Width", "\"Spacing\" is no Input or Output variable"},
                          Case{"PlateWidth=Prof0.PrPlName", "\"Prof0.PrPlName\" is not among the choices"},
                          Case{"BeamSection=FinPlate.Width", "is not among the choices of \"BeamSection\""},
                          Case{"PlateWidth", "is no binding"}})
    {
        ProgramResult result = runProgram(bindArgs(library, macro, {c.binding}, {"--in-place"}));
        EXPECT_EQ(result.status, 2) << c.binding;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(snapshot(scratch.path()), files);

    // A sheet on a module group without any binding chosen has nothing to store.
    ProgramResult nothing =
        runProgram(bindArgs(library, macro, {}, {"--target", "Module.FinPlate", "--in-place"}));
    EXPECT_EQ(nothing.status, 2);
    EXPECT_EQ(snapshot(scratch.path()), files);

    ProgramResult noMacro =
        runProgram({"--lib", library, "mapping", "bind", "FinPlate", "--macro", scratch / "x.json"});
    EXPECT_EQ(noMacro.status, 3);
    ProgramResult both =
        runProgram(bindArgs(library, macro, {}, {"--in-place", "--out", scratch / "y.json"}));
    EXPECT_EQ(both.status, 2);
}

TEST(Evaluate, SheetNamedByARelativePathFindsTheMappingFileBesideIt)
{
    ScratchFolder scratch;
    // The sheet's own mapping file holds a target the library's copy lacks.
    const std::string shippedMap = readFile(sampleMacro("../library/Connection Standards/FinPlate.map"));
    const size_t beamWeb = shippedMap.find("BeamWeb=");
    scratch.write("sheets/FinPlate.zxs",
                  readFile(sampleMacro("../library/Connection Standards/FinPlate.zxs")));
    scratch.write("sheets/FinPlate.map",
                  "Mapping version 1.0\nMine=" +
                      shippedMap.substr(beamWeb + 8, shippedMap.find('\n', beamWeb) - beamWeb - 7));
    RunOptions options;
    options.workingFolder = scratch.path();
    ProgramResult mine = runProgram({"evaluate", "sheets/FinPlate.zxs", "--macro",
                                     sampleMacro("FinPlate-IPE240.json"), "--target", "Mine"},
                                    options);
    ASSERT_EQ(mine.status, 0) << mine.err;
    EXPECT_EQ(mine.err, "");

    ProgramResult library =
        runProgram({"evaluate", "FinPlate", "--macro", sampleMacro("FinPlate-IPE240.json")});
    EXPECT_EQ(mine.out, library.out);

    // The sample sheet named by its path from the source tree.
    RunOptions fromSource;
    fromSource.workingFolder = samplesFolder().parent_path().parent_path();
    ProgramResult sample = runProgram({"evaluate", "samples/library/Connection Standards/FinPlate.zxs",
                                       "--macro", sampleMacro("FinPlate-IPE240.json"), "--target", "BeamWeb"},
                                      fromSource);
    ASSERT_EQ(sample.status, 0) << sample.err;
    EXPECT_EQ(sample.err, "");
    EXPECT_EQ(sample.out, library.out);
}
