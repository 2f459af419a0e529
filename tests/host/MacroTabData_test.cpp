#include "host/MacroTabData.h"

#include <gtest/gtest.h>

namespace
{
MacroTabData heightTab()
{
    MacroTabData tab("Plate", MacroTabData::kVariables);
    tab.addFlexFixGroup({"Height", {{"Total", false}, {"Top", true}, {"Bottom", true}}});
    tab.addFlexFixGroup({"Lonely", {{"Only", false}}});
    return tab;
}

std::vector<bool> fixedFlags(const MacroTabData& tab, const char* group)
{
    const MacroFlexFixGroup* found = nullptr;
    EXPECT_TRUE(tab.findFlexFixGroup(group, found));
    std::vector<bool> flags;
    for (const auto& member : found->members)
        flags.push_back(member.fixed);
    return flags;
}
} // namespace

TEST(MacroTabData, FlexFixStatusOfAVariable)
{
    MacroTabData tab = heightTab();
    bool fixed = false, flexible = true;
    ASSERT_TRUE(tab.getFlexFixBtnStatus("top", fixed, flexible));
    EXPECT_TRUE(fixed);
    EXPECT_FALSE(flexible);
    ASSERT_TRUE(tab.getFlexFixBtnStatus("Total", fixed, flexible));
    EXPECT_FALSE(fixed);
    EXPECT_TRUE(flexible);

    fixed = false;
    flexible = true;
    EXPECT_FALSE(tab.getFlexFixBtnStatus("Gap", fixed, flexible));
    EXPECT_FALSE(fixed);
    EXPECT_TRUE(flexible);
    EXPECT_TRUE(tab.hasBtnFlexFix("Bottom"));
    EXPECT_FALSE(tab.hasBtnFlexFix("Gap"));
}

TEST(MacroTabData, FlexFixClicksKeepOneFlexibleVariable)
{
    MacroTabData tab = heightTab();
    // Making Top flexible fixes the others.
    ASSERT_TRUE(tab.flexFixBtnClicked("Height", "Top", true));
    EXPECT_EQ(fixedFlags(tab, "Height"), (std::vector<bool>{true, false, true}));
    // Fixing the flexible variable hands flexibility to the next one.
    ASSERT_TRUE(tab.flexFixBtnClicked("Top", false));
    EXPECT_EQ(fixedFlags(tab, "Height"), (std::vector<bool>{true, true, false}));
    // ...wrapping round at the end of the group.
    ASSERT_TRUE(tab.flexFixBtnClicked("Bottom", false));
    EXPECT_EQ(fixedFlags(tab, "Height"), (std::vector<bool>{false, true, true}));
    // Fixing a fixed variable changes nothing.
    ASSERT_TRUE(tab.flexFixBtnClicked("Height", "Top", false));
    EXPECT_EQ(fixedFlags(tab, "Height"), (std::vector<bool>{false, true, true}));
    // The only member of a group stays flexible; unknown names are refused.
    EXPECT_FALSE(tab.flexFixBtnClicked("Only", false));
    EXPECT_EQ(fixedFlags(tab, "Lonely"), (std::vector<bool>{false}));
    EXPECT_FALSE(tab.flexFixBtnClicked("Height", "Gap", true));
    EXPECT_FALSE(tab.flexFixBtnClicked("Width", "Top", true));
    EXPECT_FALSE(tab.flexFixBtnClicked("Gap", false));
}

TEST(MacroTabData, MergedPropertiesOfMemberGroups)
{
    MacroTabData tab("Members", MacroTabData::kProfiles);
    ASSERT_TRUE(tab.addProfData({"Web", {"W1", "IPE-300", "S235", 0, "0"}, true, {}}));
    ASSERT_TRUE(tab.addProfData({"Mixed", {"", "", "", 0, "0"}, false, {}}));
    EXPECT_FALSE(tab.addProfData({"web", {}, true, {}}));

    MacroProfProps props;
    ASSERT_TRUE(tab.getMergedPropsOfGroup("WEB", props));
    EXPECT_EQ(props.memberName, "W1");
    props.memberName = "W2";
    ASSERT_TRUE(tab.setMergedPropsOfGroup("Web", props));
    MacroProfProps again;
    ASSERT_TRUE(tab.getMergedPropsOfGroup("Web", again));
    EXPECT_EQ(again, props);

    // A group whose members cannot be merged, or an unknown one, is refused.
    EXPECT_FALSE(tab.getMergedPropsOfGroup("Mixed", props));
    EXPECT_FALSE(tab.setMergedPropsOfGroup("Mixed", props));
    EXPECT_FALSE(tab.getMergedPropsOfGroup("Flange", props));
}

TEST(MacroTabData, DialogReferencesAndDifferences)
{
    MacroTabData tab("Bolts", MacroTabData::kBolts);
    tab.addCell({"Pitch", "90", MacroCellData::kNumber, false, {}, 0});
    tab.addCell({"Gauge", "90", MacroCellData::kNumber, false, {}, 0});
    tab.addPattern({"Upper", "3", "2", 0, 0, 0});
    tab.setBoltData(MacroBoltData());
    const MacroTabData before = tab;

    MacroCellData* pitch = nullptr;
    ASSERT_TRUE(tab.findCellWithName("PITCH", pitch));
    pitch->dlgRef = 33001;
    MacroPatternProps* upper = nullptr;
    ASSERT_TRUE(tab.findPatternWithName("Upper", upper));
    upper->buttonRef = 33007;
    upper->count2Ref = -3;
    MacroBoltData* bolts = nullptr;
    ASSERT_TRUE(tab.getBoltData(bolts));
    bolts->dlgRefs[1] = 33009;

    MacroPatternProps* byButton = nullptr;
    ASSERT_TRUE(tab.findPatternWithBtnId(33007, byButton));
    EXPECT_EQ(byButton, upper);
    EXPECT_FALSE(tab.findPatternWithBtnId(0, byButton));

    // References alone are no change.
    Kdr_StringArray changed;
    EXPECT_FALSE(tab.differences(before, changed));
    EXPECT_TRUE(changed.isEmpty());

    pitch->value = "100";
    bolts->diameter = "24";
    EXPECT_TRUE(tab.differences(before, changed));
    EXPECT_EQ(changed, (Kdr_StringArray{"Pitch", "BoltData"}));

    tab.removeAllDlgReferences();
    EXPECT_EQ(pitch->dlgRef, 0);
    EXPECT_EQ(upper->buttonRef, 0);
    EXPECT_EQ(upper->count2Ref, 0);
    EXPECT_EQ(bolts->dlgRefs, (std::array<int, 5>{0, 0, 0, 0, 0}));
    EXPECT_FALSE(tab.findPatternWithBtnId(33007, byButton));
}

TEST(MacroTabData, BoltDataOnlyOnTabsThatHaveIt)
{
    MacroTabData tab("Plate", MacroTabData::kVariables);
    MacroBoltData* data = nullptr;
    EXPECT_FALSE(tab.getBoltData(data));
    MacroBoltData bolts;
    bolts.diameter = "20";
    bolts.holeOffset = "2";
    tab.setBoltData(bolts);
    ASSERT_TRUE(tab.getBoltData(data));
    EXPECT_EQ(*data->text(2), "20");
    EXPECT_EQ(*data->text(5), "2");
    EXPECT_EQ(data->text(0), nullptr);
    EXPECT_EQ(data->text(6), nullptr);
}

TEST(MacroPatternProps, CountIsTheLeadingWholeNumber)
{
    const std::pair<const char*, int> cases[] = {{"3", 3},   {" 12 x 70", 12},   {"-1", -1},
                                                 {"", -1},   {"x3", -1},         {"+4", 4},
                                                 {"2.5", 2}, {"99999999999", -1}};
    for (const auto& [text, count] : cases)
        EXPECT_EQ(MacroPatternProps::getCount(text), count) << '"' << text << '"';
    EXPECT_FALSE(MacroPatternProps({"P", "3", "-1", 0, 0, 0}).hasSecondDirection());
    EXPECT_TRUE(MacroPatternProps({"P", "3", "2", 0, 0, 0}).hasSecondDirection());
}

// A large tab is compared by name lookups rather than by searching: the changes found must be
// exactly those a search finds, names compared without case and the first of a name counting.
TEST(MacroTabData, ALargeTabListsTheSameChangesAsASmallOne)
{
    MacroTabData before("Plate", MacroTabData::kVariables);
    for (int i = 0; i < 40; ++i)
    {
        MacroCellData cell;
        cell.name = "Var" + std::to_string(i);
        cell.value = std::to_string(i);
        ASSERT_TRUE(before.addCell(cell));
    }
    MacroTabData tab = before;
    MacroCellData* cell = nullptr;
    ASSERT_TRUE(tab.findCellWithName("VAR7", cell));
    cell->value = "70";
    ASSERT_TRUE(tab.findCellWithName("Var30", cell));
    cell->name = "VAR30"; // found under its old name, and its new spelling is a change
    ASSERT_TRUE(tab.findCellWithName("Var12", cell));
    cell->name = "Renamed";
    MacroCellData added;
    added.name = "Extra";
    ASSERT_TRUE(tab.addCell(added));

    Kdr_StringArray changed;
    EXPECT_TRUE(tab.differences(before, changed));
    EXPECT_EQ(changed, (Kdr_StringArray{"Var7", "Renamed", "VAR30", "Extra", "Var12"}));
}
