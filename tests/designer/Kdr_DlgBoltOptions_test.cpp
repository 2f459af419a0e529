// The bolt options dialog on the bolt tab of the sample end plate, opened from the macro
// dialog's "Geavanceerd ..." button and driven by keys and clicks.

#include "designer/Kdr_DlgBoltOptions.h"
#include "designer/MacroDialogTestSupport.h"
#include "ui/CheckListComboBox.h"

namespace
{
using macrotest::MacroDialogTest;
using macrotest::SampleMacro;

class BoltOptionsTest : public MacroDialogTest
{
protected:
    BoltOptionsTest() : sample_(load("EndPlate-IPE300")) {}

    MacroBoltData& bolts()
    {
        MacroBoltData* data = nullptr;
        EXPECT_TRUE(sample_.data.tabs()[0].getBoltData(data));
        return *data;
    }

    /// Opens the macro dialog, then the bolt options with `script`; returns the bolt data
    /// the macro dialog holds afterwards.
    MacroBoltData run(const ui::ScriptedAgent::DialogScript& script)
    {
        int index = -1;
        EXPECT_TRUE(StartDlgMacroModeless(true, sample_.data, index));
        agent_.expectDialog(IDD_BOLT_OPTIONS, script);
        user(index).click(IDC_PAGE_ADVANCED);
        MacroData live;
        EXPECT_TRUE(GetDlgMacroData(index, live));
        const MacroBoltData* data = nullptr;
        EXPECT_TRUE(live.tabs()[0].getBoltData(data));
        return data != nullptr ? *data : MacroBoltData();
    }

    static bool ended(ui::Driver& user) { return user.dialog() == nullptr || user.dialog()->hasEnded(); }

    SampleMacro& sample_;
};

TEST_F(BoltOptionsTest, ShowsTheBoltDataAndEnterAppliesWithoutClosing)
{
    bolts().switches = {1, 0, -1, -1, -1};
    const MacroBoltData after = run(
        [&](ui::Driver& user)
        {
            EXPECT_EQ(user.window()->GetWindowText(), dialString(983));
            EXPECT_EQ(user.text(IDC_BOLT_ASSEMBLY), "M20 8.8 ISO 4017");
            EXPECT_EQ(user.text(IDC_BOLT_DIAMETER), "20");
            EXPECT_EQ(user.text(IDC_BOLT_TOLERANCE), "2");
            EXPECT_EQ(user.text(IDC_BOLT_NUT1_LABEL), dialString(991) + " 1");
            EXPECT_FALSE(user.isVisible(IDCANCEL));
            // A switch that does not apply is shown disabled.
            EXPECT_EQ(user.check(IDC_BOLT_NUT1), BST_CHECKED);
            EXPECT_TRUE(user.isEnabled(IDC_BOLT_NUT2));
            EXPECT_FALSE(user.isEnabled(IDC_BOLT_WASHER1));
            // Without slots there is no slot to show: the slot controls are off.
            EXPECT_FALSE(user.isEnabled(IDC_BOLT_SLOTS));
            EXPECT_FALSE(user.isEnabled(IDC_BOLT_SLOT_ACTIVE));
            EXPECT_FALSE(user.isEnabled(IDC_BOLT_SLOT_RADIUS));
            EXPECT_FALSE(user.isEnabled(IDC_BOLT_EXTRA));
            EXPECT_EQ(user.text(IDC_BOLT_EXTRA_NOTE), dialString(998));

            user.type(IDC_BOLT_LENGTH1, "55");
            user.pressKey(VK_RETURN);
            EXPECT_FALSE(ended(user)) << "Enter applies; only OK closes";
            EXPECT_EQ(calls("UpdateModule"), (std::vector<std::string>{"UpdateModule Plate: BoltData"}));
            user.setCheck(IDC_BOLT_NUT2, BST_CHECKED);
            EXPECT_EQ(calls("UpdateModule").size(), 2u) << "a switch click applies at once";
            user.click(IDOK);
            EXPECT_TRUE(ended(user));
        });
    EXPECT_EQ(after.penetrationLength, "55");
    EXPECT_EQ(after.switches, (std::array<int, 5>{1, 1, -1, -1, -1}));
    EXPECT_EQ(after.diameter, "20");
}

TEST_F(BoltOptionsTest, AnActiveSlotNeedsARadiusAndALength)
{
    bolts().slots = {{false, "0", "0", "", "", -1}, {true, "11", "30", "0", "", 1}};
    const MacroBoltData after = run(
        [&](ui::Driver& user)
        {
            EXPECT_EQ(user.selection(IDC_BOLT_SLOTS), 0);
            EXPECT_EQ(user.text(IDC_BOLT_SLOTS), dialString(999) + " nr: 1");
            EXPECT_FALSE(user.isEnabled(IDC_BOLT_SLOT_RADIUS)) << "an inactive slot's fields are off";
            EXPECT_EQ(user.selection(IDC_BOLT_SLOT_KIND), 2) << "-1 selects the last kind";

            // Activating the first slot with a length of 0 cannot be applied, and says which.
            agent_.expectMessageBox(dialString(1000) + " 1 " + dialString(1001) + "\n\n" + dialString(888) +
                                        ".",
                                    "Ongeldige waarde", IDOK);
            user.click(IDC_BOLT_SLOT_ACTIVE);
            EXPECT_TRUE(user.isEnabled(IDC_BOLT_SLOT_RADIUS));
            EXPECT_EQ(user.itemAs<ui::CheckListComboBox>(IDC_BOLT_SLOTS)->GetCheck(0), 1);
            agent_.expectMessageBox(dialString(1000) + " 1 " + dialString(1001) + "\n\n" + dialString(888) +
                                        ".",
                                    "Ongeldige waarde", IDOK);
            user.click(IDOK);
            EXPECT_FALSE(ended(user));
            EXPECT_TRUE(calls("UpdateModule").empty());

            user.type(IDC_BOLT_SLOT_RADIUS, "11");
            user.type(IDC_BOLT_SLOT_LENGTH, "25");
            // The second slot: what was typed for the first stays with the first.
            user.chooseIndex(IDC_BOLT_SLOTS, 1);
            EXPECT_EQ(user.text(IDC_BOLT_SLOT_LENGTH), "30");
            EXPECT_EQ(user.selection(IDC_BOLT_SLOT_KIND), 1);
            user.click(IDOK);
            EXPECT_TRUE(ended(user));
        });
    ASSERT_EQ(after.slots.size(), 2u);
    EXPECT_EQ(after.slots[0], (MacroBoltSlot{true, "11", "25", "", "", -1}));
    EXPECT_EQ(after.slots[1], (MacroBoltSlot{true, "11", "30", "0", "", 1}));
}

TEST_F(BoltOptionsTest, AMixedFlagLeavesItsThirdStateOnTheFirstClick)
{
    bolts().flags = {2, 1, 0, 0};
    bolts().holeColumns = {{"Left", true}, {"Right", true}};
    const MacroBoltData after = run(
        [&](ui::Driver& user)
        {
            EXPECT_EQ(user.check(IDC_BOLT_TAPPED), BST_INDETERMINATE);
            user.click(IDC_BOLT_TAPPED);
            EXPECT_EQ(user.check(IDC_BOLT_TAPPED), BST_UNCHECKED);
            user.click(IDC_BOLT_TAPPED);
            user.click(IDC_BOLT_TAPPED);
            EXPECT_EQ(user.check(IDC_BOLT_TAPPED), BST_UNCHECKED) << "two states from then on";
            // A hole column taken out in the grid: a click toggles its check.
            user.clickCell(IDC_BOLT_COLUMNS, 1, 2);
            user.click(IDOK);
        });
    EXPECT_EQ(after.flags, (std::array<int, 4>{0, 1, 0, 0}));
    EXPECT_EQ(after.holeColumns, (std::vector<MacroHoleColumn>{{"Left", true}, {"Right", false}}));
}

TEST(BoltOptionsWithoutTab, AppliesWithoutValidation)
{
    // Nothing to report to: the entry is taken as it is.
    Kdr_DlgBoltOptions options;
    options.boltData.slots = {{true, "", "", "", "", 0}};
    EXPECT_TRUE(options.apply());
}
} // namespace
