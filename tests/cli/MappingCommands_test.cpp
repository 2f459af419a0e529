#include "ProgramRun.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{
using namespace clitest;

bool hasLine(const ProgramResult& result, const std::string& line)
{
    const std::vector<std::string> lines = result.lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
} // namespace

TEST(Catalogue, ListsEveryBindableVariableAsTheMappingPageShowsIt)
{
    ProgramResult result = runProgram({"catalogue", "--macro", sampleMacro("FinPlate-IPE240.json")});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = result.lines();
    // 3 variables and 3 chamfer cut values of the plate; 3 variables, 2 bolt values and
    // 2 pattern values of the bolts; 2 + 6 per base profile; 2 general variables.
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines.front(), "FinPlate.Thickness\tDistance\tZichtbaar en instelbaar");
    EXPECT_EQ(lines.back(), "gen_BoltGrade.GenVar\tGenVar\tZichtbaar en instelbaar");
    for (const char* line : {"FinPlate.Corner.CutChamferOffset1\tCutChamferOffset1\tZichtbaar en instelbaar",
                             "FinBolts.BoltsDiameter\tBoltsDiameter\tZichtbaar en instelbaar",
                             "FinBolts.Web.PatternNrBolts1\tPatternNrBolts1\tZichtbaar en instelbaar",
                             "Prof1.PrPlName\tPrPlName\tZichtbaar en instelbaar",
                             "Prof1;2tw\tMemberSectionSize\tZichtbaar en instelbaar"})
        EXPECT_TRUE(hasLine(result, line)) << line;

    // Hidden and fixed variables carry their own visibility.
    ScratchFolder scratch;
    const std::string macro = scratch.write(
        "hidden.json", "{\"name\": \"H\", \"modules\": [{\"name\": \"M\", \"variables\": ["
                       "{\"name\": \"A\", \"value\": \"1\", \"visible\": false, \"settable\": false},"
                       "{\"name\": \"B\", \"value\": \"1\", \"visible\": true, \"settable\": false}]}]}");
    ProgramResult hidden = runProgram({"catalogue", "--macro", macro});
    ASSERT_EQ(hidden.status, 0) << hidden.err;
    EXPECT_EQ(hidden.out,
              "M.A\tDistance\tOnzichtbaar niet instelbaar\nM.B\tDistance\tZichtbaar niet instelbaar\n");

    ProgramResult missing = runProgram({"catalogue", "--macro", scratch / "none.json"});
    EXPECT_EQ(missing.status, 3);
}

TEST(MappingShow, ListsTheBindingsOfEachTarget)
{
    ProgramResult all = runProgram({"mapping", "show", "FinPlate"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.lines().size(), 26u);
    EXPECT_TRUE(hasLine(all, "BeamIsFirstProfile\tBeamSection\tProf0.PrPlName\tPrPlName"));

    ProgramResult one = runProgram({"mapping", "show", "FinPlate", "--target", "BeamWeb"});
    ASSERT_EQ(one.status, 0) << one.err;
    const std::vector<std::string> lines = one.lines();
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "BeamWeb\tBeamSection\tProf1.PrPlName\tPrPlName");
    EXPECT_EQ(lines[1], "BeamWeb\tBeamDepth\tProf1;0\tMemberSectionSize");
    EXPECT_EQ(lines[3], "BeamWeb\tBoltDiameter\tFinBolts.BoltsDiameter\tBoltsDiameter");
    EXPECT_EQ(lines[12], "BeamWeb\tChamfer\tFinPlate.Corner.CutChamferOffset1\tCutChamferOffset1");

    ProgramResult group = runProgram({"mapping", "show", "EndPlate", "--target", "Module.Plate"});
    EXPECT_EQ(group.status, 0);
    EXPECT_NE(group.out.find("module group \"Plate\""), std::string::npos) << group.out;
}

TEST(MappingShow, MissingFilesTargetsAndMalformedLinesAreReported)
{
    EXPECT_EQ(runProgram({"mapping", "show", "EndPlate"}).status, 3) << "the end plate has no mapping file";

    ProgramResult unknown = runProgram({"mapping", "show", "FinPlate", "--target", "beamweb"});
    EXPECT_EQ(unknown.status, 1) << "targets are compared with case";
    EXPECT_NE(unknown.err.find("\"beamweb\""), std::string::npos) << unknown.err;

    ScratchFolder scratch;
    const std::string library = scratch.copyOfSampleLibrary();
    // Line 2 holds one good entry and one without its 0x83 byte; line 3 has no '='.
    scratch.write("library/Connection Standards/Odd.map", "Mapping version 1.0\n"
                                                          "T=A\x83G\x95"
                                                          "Distance Gap\xBF"
                                                          "broken\n"
                                                          "no target here\n");
    ProgramResult odd = runProgram({"--lib", library, "mapping", "show", "Odd"});
    EXPECT_EQ(odd.status, 3);
    EXPECT_EQ(odd.out, "T\tA\tG.Gap\tDistance\n");
    EXPECT_NE(odd.err.find("Odd.map, line 2: 1 malformed entry skipped"), std::string::npos) << odd.err;
    EXPECT_NE(odd.err.find("Odd.map, line 3: "), std::string::npos) << odd.err;
}
