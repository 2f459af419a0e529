#include "ProgramRun.h"

#include <gtest/gtest.h>

namespace
{
using namespace clitest;

ProgramResult runOnSamples(std::vector<std::string> args)
{
    args.insert(args.begin(), {"--lib", (samplesFolder() / "library").string()});
    return runProgram(args);
}
} // namespace

TEST(TemplateCommands, ListAndShowTheSamples)
{
    ProgramResult list = runOnSamples({"template", "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "End plate\nPlates/Fin plate\n");

    // The same template by its name, with ".txt", with a backslash and by its full path.
    const std::string full =
        (samplesFolder() / "library/Dialog Templates/Dialog Design/Plates/Fin plate.txt").string();
    for (const std::string& path : {std::string("Plates/Fin plate"), std::string("Plates/Fin plate.txt"),
                                    std::string("Plates\\Fin plate"), full})
    {
        ProgramResult show = runOnSamples({"template", "show", path});
        ASSERT_EQ(show.status, 0) << path << "\n" << show.err;
        EXPECT_EQ(show.out, "33000\tSTATIC\t40,2-140,16\tFin plate\n"
                            "33001\tEDIT\t124,82-160,98\tHeight\n"
                            "33002\tEDIT\t52,156-88,172\tWidth\n"
                            "33003\tSTATIC\t170,150-210,164\tThickness\n"
                            "33004\tCOMBOBOX\t212,148-256,164\tThickness\n")
            << path;
    }
    ProgramResult endPlate = runOnSamples({"template", "show", "End plate"});
    ASSERT_EQ(endPlate.status, 0) << endPlate.err;
    ASSERT_EQ(endPlate.lines().size(), 20u);
    EXPECT_EQ(endPlate.lines()[13], "33013\tEDIT\t212,152-250,168\tMain");
    EXPECT_EQ(endPlate.lines()[18], "33018\tCOMBOBOX\t180,20-280,36\tBeam");
}

TEST(TemplateCommands, NamesAndPositions)
{
    ProgramResult names = runOnSamples({"template", "names", "End plate"});
    ASSERT_EQ(names.status, 0) << names.err;
    EXPECT_EQ(names.out,
              "TopExtension\nBottomExtension\nHeight\nThickness\nPitch\nWidth\nEdgeDistance\nGauge\n"
              "BoltRows\nWeight\n");

    ProgramResult positions = runOnSamples({"template", "positions", "Plates/Fin plate"});
    ASSERT_EQ(positions.status, 0) << positions.err;
    const std::vector<std::string> lines = positions.lines();
    ASSERT_EQ(lines.size(), 5u * 3 + 1);
    EXPECT_EQ(lines[0], "**** Control Fin plate ****");
    EXPECT_EQ(lines[1], "Left: 0.153846 - Right: 0.538462");
    EXPECT_EQ(lines[2], "Top: 0.011111 - Bottom: 0.088889");
    EXPECT_EQ(lines.back(), "********");
}

TEST(TemplateCommands, TemplatesThatCannotBeReadAreReportedWithTheirPath)
{
    ScratchFolder scratch;
    const std::string library = scratch.copyOfSampleLibrary();
    scratch.write("library/Dialog Templates/Dialog Design/Broken.txt", "nrOfControls\ti\t-3\n");
    const auto run = [&](std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--lib", library});
        return runProgram(args);
    };

    ProgramResult missing = run({"template", "show", "Missing"});
    EXPECT_EQ(missing.status, 3);
    EXPECT_NE(missing.err.find("cannot read dialog template \"Missing\""), std::string::npos) << missing.err;

    ProgramResult broken = run({"template", "names", "Broken"});
    EXPECT_EQ(broken.status, 3);
    EXPECT_NE(broken.err.find("key \"nrOfControls\": expected a whole number from 0 to 10000."),
              std::string::npos)
        << broken.err;
    EXPECT_EQ(broken.out, "");

    ProgramResult outside = run({"template", "positions", "../../prof/IPE.pr"});
    EXPECT_EQ(outside.status, 3);
    EXPECT_NE(outside.err.find("is no dialog template"), std::string::npos) << outside.err;

    ProgramResult usage = run({"template", "show"});
    EXPECT_EQ(usage.status, 2);
}
