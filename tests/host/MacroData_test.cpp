#include "SampleMacro.h"
#include "TempFolder.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/MacroData.h"

#include <gtest/gtest.h>

TEST(MacroData, TabsByNameAndIndex)
{
    Kdr_DbMacro macro;
    MacroData data;
    buildSampleMacro(macro, data);
    int index = -1;
    ASSERT_TRUE(data.findTab("bolts", index));
    EXPECT_EQ(index, 1);
    MacroTabData* tab = nullptr;
    ASSERT_TRUE(data.getTab(index, tab));
    EXPECT_EQ(tab->name(), "Bolts");
    EXPECT_FALSE(data.findTab("Cleat", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(data.getTab(3, tab));
    EXPECT_FALSE(data.getTab(-1, tab));
    EXPECT_FALSE(data.addTab(MacroTabData("PLATE", 0)));
}

TEST(MacroData, PropertyFileRoundTripCountsUnusedEntries)
{
    TempFolder folder;
    Kdr_DbMacro macro;
    MacroData data;
    buildSampleMacro(macro, data);
    MacroTabData* plate = nullptr;
    ASSERT_TRUE(data.getTab(0, plate));
    plate->addCell({"Weight", "6.71", MacroCellData::kNumber, true, {}, 0});
    plate->addCell({"Note", "a\tb", MacroCellData::kText, false, {}, 0});
    ASSERT_TRUE(data.writeToFile(folder.path("props.txt")));

    MacroData changed = data;
    ASSERT_TRUE(changed.getTab(0, plate));
    for (MacroCellData& cell : plate->cells())
        cell.value = "0";
    // An entry for a read-only variable, a missing tab and a missing variable is not used.
    std::string bytes;
    ASSERT_TRUE(host::readFileBytes(folder.path("props.txt"), bytes));
    bytes += "Cleat\tLeg\t90\nPlate\tMissing\t1\n";
    ASSERT_TRUE(host::writeFileAtomically(folder.path("props.txt"), bytes));

    int unused = -1;
    ASSERT_TRUE(changed.readFromFile(folder.path("props.txt"), unused));
    EXPECT_EQ(unused, 3);
    const MacroCellData* cell = nullptr;
    ASSERT_TRUE(plate->findCellWithName("Gap", cell));
    EXPECT_EQ(cell->value, "10");
    ASSERT_TRUE(plate->findCellWithName("Note", cell));
    EXPECT_EQ(cell->value, "a\tb");
    ASSERT_TRUE(plate->findCellWithName("Weight", cell));
    EXPECT_EQ(cell->value, "0");

    host::CommandLineCapture capture;
    unused = 7;
    EXPECT_FALSE(changed.readFromFile(folder.path("missing.txt"), unused));
    EXPECT_EQ(unused, 7);
    EXPECT_NE(capture.text().find("missing.txt"), std::string::npos);
}

TEST(MacroData, LoadFromStandardsRunsTheInstalledLoader)
{
    MacroData data;
    data.addTab(MacroTabData("Plate", 0));
    EXPECT_FALSE(data.loadFromStandards());
    int calls = 0;
    MacroData::setStandardsLoader(
        [&](MacroData& loaded)
        {
            ++calls;
            loaded.setCurrentTab("Plate");
            return true;
        });
    EXPECT_TRUE(data.loadFromStandards());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(data.currentTab(), "Plate");
    MacroData::setStandardsLoader(nullptr);
    EXPECT_FALSE(data.loadFromStandards());
}
