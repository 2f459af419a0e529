// The macro dialog as a person uses it on the sample connections: values changed in the
// template and in the grid, Enter, the cell buttons, closing — and what the drawing (the
// host stand-in) was asked and holds afterwards.

#include "designer/DesignerTestSupport.h"
#include "designer/MacroDialogTestSupport.h"

#include <sstream>

namespace
{
using macrotest::MacroDialogTest;
using macrotest::SampleMacro;

constexpr int kGrid = IDC_PAGE_GRID;
constexpr int kFirst = IDC_PAGE_FIRST_DYNAMIC;

/// One control of a test template: type, rectangle as factors, contents and extra list.
struct TemplateControl
{
    int type;
    double left, top, right, bottom;
    std::string contents;
    std::string comboList;
};

class MacroDialogPageTest : public MacroDialogTest
{
protected:
    /// Writes a template of `controls` over a 400 × 300 image under `name`.
    void writeTemplate(const std::string& name, const std::vector<TemplateControl>& controls)
    {
        std::ostringstream text;
        text << "nrOfControls\ti\t" << controls.size() << "\n";
        for (size_t i = 0; i < controls.size(); ++i)
        {
            const TemplateControl& c = controls[i];
            text << "type" << i << "\ti\t" << c.type << "\n"
                 << "topLeftX" << i << "\td\t" << c.left << "\n"
                 << "topLeftY" << i << "\td\t" << c.top << "\n"
                 << "bottomRightX" << i << "\td\t" << c.right << "\n"
                 << "bottomRightY" << i << "\td\t" << c.bottom << "\n"
                 << "contents" << i << "\ts\t" << c.contents << "\n"
                 << "comboList" << i << "\ts\t" << c.comboList << "\n";
        }
        library_.writeTemplateFile(name + ".txt", text.str());
        library_.writeImage(name + ".bmp", 400, 300);
    }

    int open(MacroData& data)
    {
        int index = -1;
        EXPECT_TRUE(StartDlgMacroModeless(true, data, index));
        return index;
    }

    Kdr_DlgMacroPage* page(int index, int tab) { return macroDlgInSlot(index)->page(tab); }

    static std::string cellText(Kdr_Spread& grid, int col, int row)
    {
        Kdr_String text;
        grid.getCellText(col, row, text, ctkData);
        return text;
    }

    static const MacroCellData& cell(const MacroData& data, int tab, const char* name)
    {
        const MacroCellData* found = nullptr;
        EXPECT_TRUE(data.tabs()[static_cast<size_t>(tab)].findCellWithName(name, found)) << name;
        static const MacroCellData none;
        return found != nullptr ? *found : none;
    }

    designertest::ScratchLibrary library_;
};

TEST_F(MacroDialogPageTest, ChangesInTemplateAndGridReachTheMacroAtOnceAndCloseKeepsThem)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    writeTemplate("FinPlate", {{2, 0.1, 0.1, 0.3, 0.16, "Height", ""}});
    sample.data.tabs()[0].setTemplatePath("FinPlate");

    agent_.expectDialog(IDD_MACRO,
                        [&](ui::Driver& user)
                        {
                            EXPECT_EQ(user.text(kFirst), "160");
                            // The grid holds what the template does not place, in tab order.
                            auto* grid = user.itemAs<Kdr_Spread>(kGrid);
                            ASSERT_NE(grid, nullptr);
                            ASSERT_EQ(grid->getMaxRows(), 2);
                            EXPECT_EQ(cellText(*grid, 1, 1), "Thickness");
                            EXPECT_EQ(cellText(*grid, 1, 2), "Width");

                            user.type(kFirst, "175");
                            user.pressKey(VK_RETURN);
                            EXPECT_EQ(variable(sample.macro, "Fin", "Height"), "175");
                            user.pressKey(VK_RETURN); // nothing changed: nothing applied

                            user.editCell(kGrid, 3, 2, "110");
                            EXPECT_EQ(variable(sample.macro, "Fin", "Width"), "110");
                            user.chooseInComboCell(kGrid, 3, 1, "12");
                            EXPECT_EQ(variable(sample.macro, "Fin", "Thickness"), "12");
                            EXPECT_TRUE(user.isVisible(IDOK)) << "Enter never closes the dialog";
                            user.click(IDOK);
                        });
    ASSERT_TRUE(StartDlgMacro(sample.data));

    EXPECT_EQ(calls("UpdateModule"),
              (std::vector<std::string>{"UpdateModule FinPlate: Height", "UpdateModule FinPlate: Width",
                                        "UpdateModule FinPlate: Thickness"}));
    EXPECT_EQ(cell(sample.data, 0, "Height").value, "175");
    EXPECT_EQ(cell(sample.data, 0, "Width").value, "110");
    EXPECT_EQ(ui::hostRequests().postedCommands, (std::vector<std::string>{"CANCELCMD"}));
    EXPECT_EQ(calls("changeView"), (std::vector<std::string>{"changeView FinPlate 3"}));
    // Each accepted change is followed by a clash check, and the dialog's end is reported.
    EXPECT_EQ(calls("clashcheck").size(), 4u);
    EXPECT_EQ(calls("clashDlgClosed").size(), 1u);
}

TEST_F(MacroDialogPageTest, EscapeClosesAndWhatWasAppliedStays)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    agent_.expectDialog(IDD_MACRO,
                        [&](ui::Driver& user)
                        {
                            user.editCell(kGrid, 3, 2, "170");
                            user.typeInGrid(kGrid, "");
                            user.pressKey(VK_ESCAPE);
                        });
    StartDlgMacro(sample.data);
    EXPECT_EQ(variable(sample.macro, "Fin", "Height"), "170");
    EXPECT_EQ(cell(sample.data, 0, "Height").value, "170");
    EXPECT_EQ(ui::hostRequests().commandPrompts, 2) << "once after the change, once at the close";
}

TEST_F(MacroDialogPageTest, EnterWithoutAChangeKeepsEveryDecimal)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    sample.data.tabs()[0].cells()[2].value = "12.345";
    const int index = open(sample.data);
    ui::Driver user = MacroDialogTest::user(index);
    user.clickCell(kGrid, 3, 3);
    user.pressKey(VK_RETURN);
    EXPECT_TRUE(calls("UpdateModule").empty());
    MacroData live;
    GetDlgMacroData(index, live);
    EXPECT_EQ(cell(live, 0, "Width").value, "12.345");
    EXPECT_EQ(cellText(page(index, 0)->grid(), 3, 3), "12.345");
}

TEST_F(MacroDialogPageTest, AChangeTheDrawingRefusesIsUndoneInTheDialog)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    macroDialogHost().updateSucceeds = false;
    const int index = open(sample.data);
    const std::size_t checksBefore = calls("clashcheck").size();
    MacroDialogTest::user(index).editCell(kGrid, 3, 2, "999");

    EXPECT_EQ(calls("UpdateModule"), (std::vector<std::string>{"UpdateModule FinPlate: Height"}));
    EXPECT_EQ(calls("clashcheck").size(), checksBefore) << "no clash check after a refusal";
    EXPECT_EQ(cellText(page(index, 0)->grid(), 3, 2), "160");
    MacroData live;
    GetDlgMacroData(index, live);
    EXPECT_EQ(cell(live, 0, "Height").value, "160");
    EXPECT_EQ(variable(sample.macro, "Fin", "Height"), "160");
}

TEST_F(MacroDialogPageTest, PagesFollowTheTabKindsAndTheGridShowsWhatNoTemplatePlaces)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    // Every variable of the first tab is on its template: its grid is hidden.
    writeTemplate("AllOnTemplate", {{3, 0.1, 0.1, 0.3, 0.16, "Thickness", ""},
                                    {2, 0.1, 0.2, 0.3, 0.26, "Height", ""},
                                    {2, 0.1, 0.3, 0.3, 0.36, "Width", ""},
                                    {2, 0.1, 0.4, 0.3, 0.46, "NoSuchVariable", ""}});
    sample.data.tabs()[0].setTemplatePath("AllOnTemplate");
    sample.data.addTab(MacroTabData("Members", MacroTabData::kProfiles));
    sample.data.addTab(MacroTabData("Odd", 7));
    const int index = open(sample.data);
    ui::Driver user = MacroDialogTest::user(index);

    auto* tabs = user.itemAs<ui::TabControl>(IDC_MACRO_TABS);
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->GetItemCount(), 3) << "a tab of an unknown kind has no page";
    EXPECT_EQ(tabs->itemText(2), "Members");
    EXPECT_FALSE(page(index, 0)->grid().IsWindowVisible());
    EXPECT_TRUE(page(index, 0)->hasTemplate());
    EXPECT_EQ(user.text(kFirst + 1), "160");
    EXPECT_EQ(page(index, 0)->dialogTemplate().getNrControls(), 3)
        << "a control without its variable is dropped";

    // The bolt tab has no template: every variable and the pattern are grid rows.
    ASSERT_TRUE(user.selectTab(IDC_MACRO_TABS, 1));
    Kdr_Spread& grid = page(index, 1)->grid();
    EXPECT_TRUE(grid.IsWindowVisible());
    ASSERT_EQ(grid.getMaxRows(), 4);
    EXPECT_EQ(cellText(grid, 1, 4), "Web");
    EXPECT_EQ(cellText(grid, 3, 4), "3");
    int anchorCol = 0, anchorRow = 0, width = 0, height = 0;
    ASSERT_TRUE(grid.getCellSpan(3, 4, anchorCol, anchorRow, width, height));
    EXPECT_EQ(width, 2) << "a pattern with one direction shows one count across both columns";
    EXPECT_TRUE(user.isVisible(IDC_PAGE_ADVANCED));
    EXPECT_EQ(user.text(IDC_PAGE_ASSEMBLY), "M20 8.8 ISO 4017");

    // The pattern count typed in the grid lands in the tab.
    user.editCell(kGrid, 3, 4, "4");
    MacroData live;
    GetDlgMacroData(index, live);
    EXPECT_EQ(live.tabs()[1].patterns()[0].count1, "4");
    EXPECT_EQ(live.currentTab(), "FinBolts");
    EXPECT_EQ(calls("UpdateModule").back(), "UpdateModule FinBolts: Web");

    // A new assembly on the bolt row is applied at once.
    user.choose(IDC_PAGE_ASSEMBLY, "M24 10.9 ISO 4017");
    EXPECT_EQ(calls("UpdateModule").back(), "UpdateModule FinBolts: BoltData");
}

TEST_F(MacroDialogPageTest, TheSizeIsKeptUnderTheKeyOfWhatIsEdited)
{
    MacroData& data = load("FinPlate-IPE240").data;
    data.setMacroNames({"A", "B", "C"});
    const int three = open(data);
    ui::Rect rect;
    EXPECT_FALSE(ui::dialogSizes().find("DLG_MACRO_EDITVARS_3_MACROS", rect));
    ui::Driver(*macroDlgInSlot(three)).resize(700, 520);
    EndDlgMacroModeless(three);
    ASSERT_TRUE(ui::dialogSizes().find("DLG_MACRO_EDITVARS_3_MACROS", rect));
    EXPECT_EQ(rect.Width(), 700);

    // The stored size comes back at the next opening.
    const int again = open(data);
    EXPECT_EQ(macroDlgInSlot(again)->GetWindowRect().Width(), 700);
    EndDlgMacroModeless(again);

    data.setGroupName("Fins");
    EXPECT_EQ(ui::Driver(*macroDlgInSlot(open(data))).window()->GetWindowText(), "Macro - Fins");
    DestroyAllMacroDlgs();
    EXPECT_TRUE(ui::dialogSizes().find("DLG_MACRO_EDITVARS_GROUP_Fins", rect));
    data.setMacroNames({"FP-IPE240-HEA200"});
    open(data);
    DestroyAllMacroDlgs();
    EXPECT_TRUE(ui::dialogSizes().find("DLG_MACRO_EDITVARS_FP-IPE240-HEA200", rect));
}

TEST_F(MacroDialogPageTest, TheDialogCannotBeMadeSmallerThanItsPagesNeed)
{
    MacroData& data = load("FinPlate-IPE240").data;
    const int index = open(data);
    ui::Driver user = MacroDialogTest::user(index);
    user.resize(100, 100);
    const ui::Rect rect = macroDlgInSlot(index)->GetWindowRect();
    const ui::Size page = macroDlgInSlot(index)->page(0)->minimumSize();
    EXPECT_GE(rect.Width(), page.cx + 47);
    EXPECT_GE(rect.Height(), page.cy + 160);
}

class CellButtonTest : public MacroDialogPageTest
{
protected:
    /// The end plate's tab with a read-only base variable "Base" of 100 and the template
    /// fields Offset and Other; the cell button is control 2.
    int openWithButton(int type, const std::string& fields, const std::string& offset = "10",
                       const std::string& other = "4")
    {
        SampleMacro& sample = load("EndPlate-IPE300");
        MacroTabData& tab = sample.data.tabs()[0];
        tab.addCell({"Base", "100", MacroCellData::kNumber, true, {}, 0});
        tab.addCell({"Offset", offset, MacroCellData::kNumber, false, {}, 0});
        tab.addCell({"Other", other, MacroCellData::kNumber, false, {}, 0});
        writeTemplate("Button", {{2, 0.1, 0.1, 0.3, 0.16, "Offset", ""},
                                 {2, 0.1, 0.2, 0.3, 0.26, "Other", ""},
                                 {type, 0.4, 0.1, 0.5, 0.16, "Set", fields}});
        tab.setTemplatePath("Button");
        return open(sample.data);
    }
};

TEST_F(CellButtonTest, AFactorButtonAsksTheAbsoluteValueAndWritesTheRelativeOne)
{
    const int index = openWithButton(25, "Base;Offset;;2;");
    agent_.expectPrompt(Kdr_String("110"));
    ui::Driver user = MacroDialogTest::user(index);
    ASSERT_TRUE(user.click(kFirst + 2));
    ASSERT_EQ(agent_.prompts().size(), 1u);
    EXPECT_EQ(agent_.prompts()[0].value, "105.00000"); // 100 + 10 / 2
    EXPECT_EQ(agent_.prompts()[0].label, dialString(1321) + "\n" + dialString(1322));
    EXPECT_EQ(agent_.prompts()[0].title, dialString(971));
    EXPECT_EQ(user.text(kFirst), "20.00000"); // (110 - 100) * 2
    EXPECT_EQ(calls("UpdateModule").back(), "UpdateModule Plate: Offset");
    EXPECT_EQ(ui::hostRequests().postedCommands.front(), "CANCELCMD");
}

TEST_F(CellButtonTest, AFactorButtonWithoutANumberFactorAsksNothing)
{
    for (const char* fields : {"Base;Offset;;;", "Base;Offset;;0;", "Base;Offset;;two;"})
    {
        SCOPED_TRACE(fields);
        const int index = openWithButton(25, fields);
        MacroDialogTest::user(index).click(kFirst + 2); // no prompt is expected
        EXPECT_EQ(MacroDialogTest::user(index).text(kFirst), "10");
        DestroyAllMacroDlgs();
        samples_.clear();
        macroDialogHost().drawing.clear();
    }
}

TEST_F(CellButtonTest, AnEntryThatIsNoNumberChangesNothing)
{
    const int index = openWithButton(25, "Base;Offset;;2;");
    agent_.expectPrompt(Kdr_String("abc"));
    ui::Driver user = MacroDialogTest::user(index);
    user.click(kFirst + 2);
    EXPECT_EQ(user.text(kFirst), "10");
    EXPECT_TRUE(calls("UpdateModule").empty());
}

TEST_F(CellButtonTest, APartnerButtonKeepsThePartnerOutOfTheRelativeValue)
{
    // Target negated: X1 = -10; partner negated: A = 100 + (-10) - 4 = 86.
    const int index = openWithButton(26, "Base;-Offset;-Other;;");
    agent_.expectPrompt(Kdr_String("90"));
    ui::Driver user = MacroDialogTest::user(index);
    user.click(kFirst + 2);
    ASSERT_EQ(agent_.prompts().size(), 1u);
    EXPECT_EQ(agent_.prompts()[0].value, "86.00000");
    // H = 90 - 100 + 4 = -6, written negated.
    EXPECT_EQ(user.text(kFirst), "6.00000");
    EXPECT_EQ(user.text(kFirst + 1), "4");
}

TEST_F(MacroDialogPageTest, TheDialogButtonsAskTheHost)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    macroDialogHost().filterItems[1] = {"FinPlate", "FinBolts"};
    macroDialogHost().pickMacros = [](MacroData& data)
    {
        data.tabs().pop_back();
        return true;
    };
    const int index = open(sample.data);
    ui::Driver user = MacroDialogTest::user(index);

    user.click(IDC_MACRO_VIEW_1);
    EXPECT_EQ(calls("changeView"), (std::vector<std::string>{"changeView FinPlate 1"}));
    user.choose(IDC_MACRO_GROUP_FILTER, "FinBolts");
    EXPECT_EQ(calls("UpdateAllFilterModified"),
              (std::vector<std::string>{"UpdateAllFilterModified 1: -1 1"}));
    EXPECT_EQ(user.selection(IDC_MACRO_GROUP_FILTER), 1);

    user.click(IDC_MACRO_SELECT);
    EXPECT_TRUE(macroDlgInSlot(index)->IsWindowVisible());
    EXPECT_EQ(user.itemAs<ui::TabControl>(IDC_MACRO_TABS)->GetItemCount(), 1)
        << "the tabs follow the selection";

    user.setCheck(IDC_MACRO_CLASH, BST_CHECKED);
    EXPECT_TRUE(macroDialogHost().clashCheckOn);

    macroDialogHost().reApplySucceeds = false;
    user.click(IDC_MACRO_REAPPLY);
    EXPECT_NE(macroDlgInSlot(index), nullptr) << "a failed re-apply keeps the dialog";
    macroDialogHost().reApplySucceeds = true;
    user.click(IDC_MACRO_REAPPLY);
    EXPECT_EQ(macroDlgInSlot(index), nullptr);
}

TEST_F(MacroDialogPageTest, PropertiesLoadFromAndSaveToFiles)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    const std::string file = library_.folder().path() + "props.txt";
    macroDialogHost().propFiles = {Kdr_String(file)};
    const int index = open(sample.data);
    ui::Driver user = MacroDialogTest::user(index);
    user.editCell(kGrid, 3, 2, "180");

    agent_.expectDialog(IDD_PROP_FILES, [](ui::Driver& chooser) { chooser.click(IDOK); });
    user.click(IDC_MACRO_SAVE_PROPS);

    user.editCell(kGrid, 3, 2, "150");
    // Add an entry the dialog data cannot use.
    library_.folder().write("props.txt", library_.folder().read("props.txt") + "Nowhere\ts\tx\n");
    agent_.expectDialog(IDD_PROP_FILES, [](ui::Driver& chooser) { chooser.click(IDOK); });
    agent_.expectMessageBox(dialString(1507) + ".\n" + dialString(1508) + " 1 " + dialString(1509) + ".\n\n" +
                                dialString(1510),
                            IDOK);
    user.click(IDC_MACRO_LOAD_PROPS);
    EXPECT_EQ(cellText(page(index, 0)->grid(), 3, 2), "180");
    EXPECT_EQ(variable(sample.macro, "Fin", "Height"), "180");
    EXPECT_EQ(calls("setAllToMacro").size(), 1u);

    macroDialogHost().propListAllowed = false;
    macroDialogHost().pickMacros = [](MacroData&) { return true; };
    user.click(IDC_MACRO_SELECT);
    EXPECT_FALSE(user.isEnabled(IDC_MACRO_LOAD_PROPS));
    EXPECT_FALSE(user.isEnabled(IDC_MACRO_SAVE_PROPS));
}
} // namespace

namespace
{
TEST_F(MacroDialogPageTest, TabRunsThroughTheTemplateAndOnIntoTheGrid)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    // The template's order is by position: Width lies above Height.
    writeTemplate("Order", {{2, 0.1, 0.5, 0.3, 0.56, "Height", ""}, {2, 0.1, 0.1, 0.3, 0.16, "Width", ""}});
    sample.data.tabs()[0].setTemplatePath("Order");
    const int index = open(sample.data);
    ui::Driver user = MacroDialogTest::user(index);
    user.focus(kFirst + 1);
    user.pressKey(VK_TAB);
    EXPECT_EQ(ui::Window::GetFocus()->GetDlgCtrlID(), kFirst);
    user.pressKey(VK_TAB);
    EXPECT_EQ(ui::Window::GetFocus()->GetDlgCtrlID(), kGrid) << "past the template's last control";

    // Leaving an edited template field applies it.
    user.type(kFirst, "190");
    user.focus(kFirst + 1);
    EXPECT_EQ(variable(sample.macro, "Fin", "Height"), "190");
}

TEST_F(MacroDialogPageTest, AFlexFixClickTheTabAcceptsIsApplied)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    MacroTabData& tab = sample.data.tabs()[0];
    tab.addCell({"Total", "300", MacroCellData::kNumber, false, {}, 0});
    tab.addCell({"Top", "100", MacroCellData::kNumber, false, {}, 0});
    tab.addFlexFixGroup({"Sizes", {{"Total", false}, {"Top", true}}});
    writeTemplate("Flex", {{30, 0.1, 0.1, 0.15, 0.16, "Total", "Sizes;;;"},
                           {30, 0.1, 0.2, 0.15, 0.26, "Top", "Sizes;;;"}});
    tab.setTemplatePath("Flex");
    const int index = open(sample.data);
    ui::Driver user = MacroDialogTest::user(index);
    EXPECT_EQ(user.check(kFirst), BST_CHECKED) << "the flexible member is checked";
    EXPECT_EQ(user.check(kFirst + 1), BST_UNCHECKED);

    user.click(kFirst + 1);
    EXPECT_EQ(user.check(kFirst), BST_UNCHECKED);
    EXPECT_EQ(user.check(kFirst + 1), BST_CHECKED);
    EXPECT_EQ(calls("UpdateModule"), (std::vector<std::string>{"UpdateModule FinPlate: Sizes"}));
}

TEST_F(MacroDialogPageTest, ATemplateThatCannotBeReadLeavesEveryVariableInTheGrid)
{
    SampleMacro& sample = load("FinPlate-IPE240");
    sample.data.tabs()[0].setTemplatePath("Missing");
    const int index = open(sample.data);
    EXPECT_FALSE(page(index, 0)->hasTemplate());
    EXPECT_EQ(page(index, 0)->grid().getMaxRows(), 3);
    EXPECT_FALSE(MacroDialogTest::user(index).isVisible(IDC_PAGE_TEMPLATE_AREA));
}
} // namespace
