// The plain record dialogs, driven as a user drives them: what the form shows of the record,
// typing, ticking and choosing, refused entries, and what comes back on OK.

#include "frame/KaldorSS.h"
#include "frame/ZxFormDlg.h"
#include "frame/ZxRecordDialogs.h"
#include "ui/Driver.h"
#include "ui/Edit.h"
#include "ui/UiTestSupport.h"

namespace
{
constexpr int field(int index)
{
    return ZxFormDlg::controlId(index);
}

class FormDialogs : public uitest::UiTest
{
};

TEST_F(FormDialogs, ShowsTheRecordAndHandsBackWhatTheUserTyped)
{
    ZxGridDlgData grid;
    grid.name = "Hall";
    grid.extension = 1250.5;
    agent_.expectDialog(IDD_GRID,
                        [](ui::Driver& user)
                        {
                            EXPECT_EQ(user.window()->GetWindowText(), "Grid");
                            EXPECT_EQ(user.text(ZxFormDlg::labelId(0)), "Name");
                            EXPECT_EQ(user.text(field(0)), "Hall");
                            EXPECT_EQ(user.text(field(3)), "A");
                            EXPECT_EQ(user.text(field(5)), "1250.5");
                            EXPECT_EQ(user.text(field(6)), "Show labels");
                            EXPECT_EQ(user.check(field(6)), BST_CHECKED);
                            user.type(field(0), "Hall B");
                            user.type(field(1), "5000 2*6000");
                            user.type(field(5), " 800 ");
                            user.setCheck(field(6), BST_UNCHECKED);
                            user.pressKey(VK_RETURN);
                        });
    ASSERT_TRUE(StartDlgGrid(grid));
    ZxGridDlgData expected;
    expected.name = "Hall B";
    expected.spacingsX = "5000 2*6000";
    expected.extension = 800;
    expected.showLabels = false;
    EXPECT_EQ(grid, expected);
}

TEST_F(FormDialogs, ANumberFieldWithoutANumberKeepsTheFormOpenOnThatField)
{
    ZxCladdingDlgData cladding;
    agent_
        .expectDialog(IDD_CLADDING,
                      [](ui::Driver& user)
                      {
                          EXPECT_EQ(user.text(field(2)), "0.7");
                          user.type(field(2), "0,75");
                          user.type(field(3), "1e2");
                          user.click(IDOK);
                          EXPECT_FALSE(user.dialog()->hasEnded());
                          EXPECT_EQ(ui::Window::GetFocus(), user.item(field(2)));
                          user.type(field(2), "0.75");
                          user.choose(field(5), "Vertical");
                          user.click(IDOK);
                      })
        .expectMessageBox("Enter a number for \"Thickness\".", IDOK);
    ASSERT_TRUE(StartDlgCladdingSettings(cladding));
    EXPECT_EQ(cladding.thickness, 0.75);
    EXPECT_EQ(cladding.overlap, 100);
    EXPECT_EQ(cladding.direction, 1);
}

TEST_F(FormDialogs, TheArrayOfAMacroTabKeepsItsReferencesAndNeedsACount)
{
    DynArrayData array;
    array.name = "Row";
    array.texts = {"70", "35", "2", "", ""};
    array.entries = {{"100", 7}};
    array.buttonRef = 12;
    agent_
        .expectDialog(IDD_ARRAY,
                      [](ui::Driver& user)
                      {
                          EXPECT_EQ(user.window()->GetWindowText(), "Array of 2 objects");
                          EXPECT_EQ(user.text(field(0)), "Row");
                          EXPECT_EQ(user.text(field(4)), "2");
                          EXPECT_EQ(user.text(field(7)), "100");
                          user.type(field(1), "1.5");
                          user.click(IDOK);
                          EXPECT_EQ(ui::Window::GetFocus(), user.item(field(1)));
                          user.type(field(1), "1");
                          user.type(field(4), "0");
                          user.click(IDOK);
                          user.type(field(4), "3");
                          user.type(field(7), "120\r\n250");
                          user.click(IDOK);
                      })
        .expectMessageBox("Enter a whole number for \"Mode\".", IDOK)
        .expectMessageBox("A regular array needs a count of at least 1.", IDOK);
    const Kdr_Array<AcDbObjectId> objects({AcDbObjectId(3), AcDbObjectId(4)});
    ASSERT_TRUE(StartArrayDlg(array, objects, "Array of 2 objects"));
    EXPECT_EQ(array.texts[2], "3");
    EXPECT_EQ(array.entries, (std::vector<DynArrayEntry>{{"120", 7}, {"250", 0}}));
    EXPECT_EQ(array.buttonRef, 12);
}

TEST_F(FormDialogs, ACancelAfterRefusedEntriesLeavesTheRecordAsPassed)
{
    ZxLevelsDlgData levels;
    levels.names = {"Ground"};
    levels.elevations = {"0"};
    const ZxLevelsDlgData passed = levels;
    agent_
        .expectDialog(IDD_LEVELS,
                      [](ui::Driver& user)
                      {
                          EXPECT_EQ(user.text(field(0)), "Ground");
                          user.type(field(0), "Ground\r\nFirst\r\nRoof");
                          user.type(field(1), "0\r\n3600");
                          user.click(IDOK);
                          user.click(IDCANCEL);
                      })
        .expectMessageBox("Give one elevation for every level.", IDOK);
    EXPECT_FALSE(StartDlgLevels(levels));
    EXPECT_EQ(levels, passed);
}

TEST_F(FormDialogs, ListFieldsTakeOneItemPerLine)
{
    ZxAutoStandardsData variables;
    agent_
        .expectDialog(IDD_GEN_VARS,
                      [](ui::Driver& user)
                      {
                          user.type(field(0), "Grade\r\nCoating\r\n");
                          user.type(field(1), "S355\r\n");
                          user.click(IDOK);
                          user.type(field(1), "S355\r\nZinc 85");
                          user.click(IDOK);
                      })
        .expectMessageBox("Give one value for every variable.", IDOK);
    ASSERT_TRUE(StartDlgGenVars(variables));
    EXPECT_EQ(variables.names, (Kdr_StringArray{"Grade", "Coating"}));
    EXPECT_EQ(variables.values, (Kdr_StringArray{"S355", "Zinc 85"}));
}

TEST_F(FormDialogs, MacroSelectionOffersTheNamesAndRefusesOnesThatCannotBeChosen)
{
    const Kdr_StringArray names{"Corner", "Splice", "Base plate"};
    Kdr_String selected = "previous";
    bool useFilter = false;
    agent_
        .expectDialog(IDD_SELECT_MACRO,
                      [](ui::Driver& user)
                      {
                          EXPECT_EQ(user.window()->GetWindowText(), "Choose a connection");
                          EXPECT_EQ(user.selection(field(0)), 2);
                          user.choose(field(0), "splice");
                          user.click(IDOK);
                          user.choose(field(0), "Corner");
                          user.setCheck(field(1), BST_CHECKED);
                          user.click(IDOK);
                      })
        .expectMessageBox("This macro cannot be chosen.", IDOK);
    ASSERT_TRUE(StartDlgSelectMacro("Choose a connection", names, AcArray<bool>({true, false, true}), 0, 2,
                                    selected, useFilter, false));
    EXPECT_EQ(selected, "Corner");
    EXPECT_TRUE(useFilter);

    // Without an initial choice, OK needs one unless none is allowed.
    agent_
        .expectDialog(IDD_SELECT_MACRO,
                      [](ui::Driver& user)
                      {
                          EXPECT_EQ(user.selection(field(0)), -1);
                          user.click(IDOK);
                          user.click(IDCANCEL);
                      })
        .expectMessageBox("Choose a macro.", IDOK);
    agent_.expectDialog(IDD_SELECT_MACRO, [](ui::Driver& user) { user.click(IDOK); });
    EXPECT_FALSE(StartDlgSelectMacro("", names, 0, -1, selected, useFilter, false));
    EXPECT_EQ(selected, "Corner");
    EXPECT_TRUE(StartDlgSelectMacro("", names, 0, 7, selected, useFilter, true));
    EXPECT_EQ(selected, "");
}

TEST_F(FormDialogs, MacroCutsTellWhetherTheAcceptedRecordChanged)
{
    DlgMacroCutsData cuts;
    cuts.macroName = "Corner 3";
    bool changed = true;
    agent_.expectDialog(IDD_MACRO_CUTS,
                        [](ui::Driver& user)
                        {
                            EXPECT_EQ(user.text(field(0)), "Corner 3");
                            EXPECT_EQ(user.selection(field(1)), 0);
                            user.click(IDOK);
                        });
    ASSERT_TRUE(StartDlgMacroCuts(cuts, changed));
    EXPECT_FALSE(changed);
    agent_.expectDialog(IDD_MACRO_CUTS,
                        [](ui::Driver& user)
                        {
                            user.choose(field(1), "Cope");
                            user.click(IDOK);
                        });
    ASSERT_TRUE(StartDlgMacroCuts(cuts, changed));
    EXPECT_TRUE(changed);
    EXPECT_EQ(cuts.cutType, 2);
}

MacroData beams()
{
    MacroTabData tab("Beams", MacroTabData::kProfiles);
    MacroProfData group;
    group.groupName = "Main";
    group.merged = {"Rafter", "IPE-240", "S355", 2, "90"};
    tab.addProfData(group);
    MacroData data;
    data.addTab(tab);
    return data;
}

MacroProfProps mergedOf(const MacroData& data)
{
    MacroProfProps props;
    data.tabs().front().getMergedPropsOfGroup("Main", props);
    return props;
}

TEST_F(FormDialogs, AdvancedProfileEditsTheMemberGroupOfTheMacro)
{
    MacroData data = beams();
    agent_.expectDialog(IDD_MACRO_PROF_ADV,
                        [](ui::Driver& user)
                        {
                            EXPECT_EQ(user.window()->GetWindowText(), "Main");
                            EXPECT_EQ(user.text(field(1)), "IPE-240");
                            user.type(field(1), "IPE-300");
                            user.type(field(3), "1");
                            user.click(IDOK);
                        });
    StartDlgMacroProfAdv(data, "beams", "MAIN", false);
    EXPECT_EQ(mergedOf(data), (MacroProfProps{"Rafter", "IPE-300", "S355", 1, "90"}));

    // Read only: nothing can be typed and nothing is stored.
    const MacroData before = data;
    agent_.expectDialog(IDD_MACRO_PROF_ADV,
                        [](ui::Driver& user)
                        {
                            EXPECT_TRUE(user.itemAs<ui::Edit>(field(1))->isReadOnly());
                            user.click(IDOK);
                        });
    StartDlgMacroProfAdv(data, "Beams", "Main", true);
    EXPECT_EQ(data, before);
    // An unknown group shows nothing.
    StartDlgMacroProfAdv(data, "Beams", "Bracing", false);
    EXPECT_EQ(data, before);
}

std::vector<ZxMACallBackType> gCalls;
bool gRefuseApply = false;

bool drawingCallback(ZxMACallBackType type, const ZxMACallBackData& data, MacroProfData& group)
{
    gCalls.push_back(type);
    EXPECT_EQ(data.objects.length(), 2);
    EXPECT_EQ(data.groupName, "Main");
    if (type == kMACallBackInit)
        group.merged.section = "HEA-200"; // what the drawing holds
    return type != kMACallBackApply || !gRefuseApply;
}

TEST_F(FormDialogs, AdvancedProfileOnObjectsAsksTheCallbackToFillAndToApply)
{
    const Kdr_Array<AcDbObjectId> objects({AcDbObjectId(11), AcDbObjectId(12)});
    MacroData data = beams();
    bool ok = false;
    gCalls.clear();
    agent_.expectDialog(IDD_MACRO_PROF_ADV,
                        [](ui::Driver& user)
                        {
                            EXPECT_EQ(user.text(field(1)), "HEA-200");
                            user.type(field(2), "S275");
                            user.click(IDOK);
                        });
    StartDlgMacroProfAdv(data, "Beams", "Main", objects, ok, drawingCallback);
    EXPECT_TRUE(ok);
    EXPECT_EQ(gCalls, (std::vector<ZxMACallBackType>{kMACallBackInit, kMACallBackApply}));
    EXPECT_EQ(mergedOf(data), (MacroProfProps{"Rafter", "HEA-200", "S275", 2, "90"}));

    // The host refuses to apply: the macro keeps its properties.
    gRefuseApply = true;
    const MacroData before = data;
    agent_.expectDialog(IDD_MACRO_PROF_ADV,
                        [](ui::Driver& user)
                        {
                            user.type(field(2), "S235");
                            user.click(IDOK);
                        });
    StartDlgMacroProfAdv(data, "Beams", "Main", objects, ok, drawingCallback);
    gRefuseApply = false;
    EXPECT_FALSE(ok);
    EXPECT_EQ(data, before);
}

TEST_F(FormDialogs, DstvPointsStayForTheSession)
{
    dstvPoints() = {};
    agent_.expectDialog(IDD_DSTV_POINTS,
                        [](ui::Driver& user)
                        {
                            user.choose(field(0), "Front");
                            user.type(field(1), "0,0\r\n120,35");
                            user.click(IDOK);
                        });
    agent_.expectDialog(IDD_DSTV_POINTS,
                        [](ui::Driver& user)
                        {
                            EXPECT_EQ(user.selection(field(0)), 2);
                            EXPECT_EQ(user.text(field(1)), "0,0\r\n120,35");
                            user.click(IDCANCEL);
                        });
    StartDSTVPointsDlg();
    StartDSTVPointsDlg();
    EXPECT_EQ(dstvPoints(), (ZxDSTVPointsData{2, {"0,0", "120,35"}, false}));
}

TEST(FormFields, NumbersAreShownSoThatTheyReadBackExactly)
{
    double value = 0.1 + 0.2;
    int whole = -42;
    ZxFormFields form;
    form.number("Value", value).integer("Whole", whole);
    const Kdr_String shown = ZxFormFields::display(form.fields()[0]);
    value = 0;
    ASSERT_TRUE(ZxFormFields::store(form.fields()[0], shown));
    EXPECT_EQ(value, 0.1 + 0.2);
    EXPECT_EQ(ZxFormFields::display(form.fields()[1]), "-42");
    for (const char* refused : {"", " ", "4 2", "42x", "nan", "inf", "-inf", "0x10"})
    {
        SCOPED_TRACE(refused);
        EXPECT_FALSE(ZxFormFields::store(form.fields()[0], refused));
        EXPECT_FALSE(ZxFormFields::store(form.fields()[1], refused));
    }
    EXPECT_FALSE(ZxFormFields::store(form.fields()[1], "99999999999"));
    EXPECT_FALSE(ZxFormFields::store(form.fields()[1], "2.5"));
    EXPECT_EQ(value, 0.1 + 0.2);
    EXPECT_EQ(whole, -42);
    EXPECT_TRUE(ZxFormFields::store(form.fields()[1], "+7"));
    EXPECT_EQ(whole, 7);
}
} // namespace
