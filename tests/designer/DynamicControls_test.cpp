// A template bound to a macro tab on a live page: what each control shows, how values go in
// and out, the keyboard order, and the flex/fix buttons.

#include "DesignerTestSupport.h"
#include "DesignerWorkbench.h"
#include "host/MacroTabData.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Driver.h"
#include "ui/UiTestSupport.h"

namespace
{
using namespace designertest;
using ui::Rect;

/// Builds a template on a 200 × 150 image, control by control, in pixels.
class TemplateBuilder
{
public:
    explicit TemplateBuilder(const ScratchLibrary& library) : library_(library)
    {
        library_.writeImage("Tab.bmp", 200, 150);
        data_.attachBitmap(library_.root("Tab.bmp"));
    }
    Kdr_DesignerControl& add(Kdr_ControlType type, Rect pixels, const char* contents, const char* extra = "")
    {
        Kdr_DesignerControl control;
        control.type = type;
        control.topLeftX = pixels.left / 200.0;
        control.topLeftY = pixels.top / 150.0;
        control.bottomRightX = pixels.right / 200.0;
        control.bottomRightY = pixels.bottom / 150.0;
        control.contents = contents;
        control.setSplitExtComboList(extra);
        data_.append(control);
        return *data_.getControlWrite(data_.getNrControls() - 1);
    }
    /// Saves the template as "Tab" and returns its name for a tab.
    Kdr_String save()
    {
        EXPECT_TRUE(data_.writeToFile(library_.root("Tab.txt")));
        return "Tab";
    }

private:
    const ScratchLibrary& library_;
    Kdr_DlgDesignerData data_;
};

MacroTabData sampleTab()
{
    MacroTabData tab("Plate", MacroTabData::kVariables);
    tab.addCell({"tp", "12", MacroCellData::kNumber, false, {}, 0});
    tab.addCell({"hp", "300", MacroCellData::kNumber, true, {}, 0});
    tab.addCell({"grade", "S355", MacroCellData::kCombo, false, {"S235", "S275", "S355"}, 0});
    tab.addCell({"stiff", "1", MacroCellData::kCheck, false, {}, 0});
    tab.addCell({"offset", "40", MacroCellData::kNumber, true, {}, 0});
    tab.addPattern({"Bolts", "3", "-1", 0, 0, 0});
    tab.addPattern({"Grid", "2", "4", 0, 0, 0});
    DynArrayData regular;
    regular.name = "Ribs";
    regular.texts = {"0", "100", "5", "a", "b"};
    tab.addArray(regular);
    DynArrayData irregular;
    irregular.name = "Holes";
    irregular.mode = 2;
    irregular.entries = {{"50", 0}, {"75", 0}};
    tab.addArray(irregular);
    tab.addCut({"EndCut", 2, 0});
    tab.addFlexFixGroup({"Dims", {{"tp", false}, {"hp", true}}});
    return tab;
}

class DynamicControls : public uitest::UiTest
{
protected:
    ui::Window* item(int index) const
    {
        const Kdr_DesignerControl* control = page.data.getControl(index);
        return control ? page.GetDlgItem(control->resourceId) : nullptr;
    }
    int idOf(int index) const { return page.data.getControl(index)->resourceId; }

    ScratchLibrary library;
    TemplateBuilder builder{library};
    MacroTabData tab = sampleTab();
    TabWorkbench page;
    ui::Driver driver{page};
};

TEST_F(DynamicControls, EveryControlShowsWhatItIsBoundTo)
{
    builder.add(ctText, {0, 0, 40, 10}, "Thickness:");
    builder.add(ctText, {0, 10, 40, 20}, "Gone", "missing");
    builder.add(ctCellEdit, {40, 0, 70, 10}, "tp");
    builder.add(ctCellEdit, {40, 10, 70, 20}, "nothere");
    builder.add(ctCellCombo, {80, 0, 120, 20}, "grade");
    builder.add(ctPatternCount1, {0, 30, 30, 40}, "Bolts");
    builder.add(ctPatternCount2, {30, 30, 60, 40}, "Bolts");
    builder.add(ctPatternCount2, {60, 30, 90, 40}, "Grid");
    builder.add(ctPatternButton, {90, 30, 100, 40}, "Bolts");
    builder.add(ctArrayProp3, {0, 50, 30, 60}, "Ribs");
    builder.add(ctArrayEntry, {30, 50, 60, 60}, "Holes", "1");
    builder.add(ctArrayEntry, {60, 50, 90, 60}, "Holes", "7");
    builder.add(ctArrayEntry, {90, 50, 120, 60}, "Ribs", "0");
    builder.add(ctArrayButton, {120, 50, 130, 60}, "Ribs");
    builder.add(ctCutType, {0, 70, 60, 80}, "EndCut");
    builder.add(ctCellCheck, {0, 90, 60, 100}, "Stiffener", "stiff");
    builder.add(ctCellButtonA, {60, 90, 100, 100}, "Offset", "offset;tp;;2");
    builder.add(ctFlexFixButton, {100, 90, 120, 100}, "tp", "Dims;;;");
    builder.add(ctFlexFixButton, {120, 90, 140, 100}, "nope", "Dims;;;");
    tab.setTemplatePath(builder.save());

    ASSERT_TRUE(page.data.loadMacroTab(&page, tab));
    std::vector<std::string> shown;
    for (int i = 0; i < page.data.getNrControls(); ++i)
    {
        const Kdr_DesignerControl& control = *page.data.getControl(i);
        shown.push_back(std::to_string(control.type) + " " + item(i)->GetClassName() + " \"" +
                        item(i)->GetWindowText() + "\"");
    }
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "0 STATIC \"Thickness:\"", "0 STATIC \"\"", "2 EDIT \"12\"", "3 COMBOBOX \"S355\"",
                         "4 EDIT \"3\"", "5 EDIT \"4\"", "6 BUTTON \"...\"", "20 EDIT \"5\"",
                         "23 EDIT \"75\"", "23 EDIT \"Ribs\"", "24 BUTTON \"...\"", "28 COMBOBOX \"Mitred\"",
                         "29 BUTTON \"Stiffener\"", "25 BUTTON \"Offset\"", "30 BUTTON \"tp\""}))
        << "a missing variable, a pattern without a second count, a missing entry and an unknown "
           "flex variable drop their controls";

    const MacroCellData* cell = nullptr;
    ASSERT_TRUE(tab.findCellWithName("tp", cell));
    EXPECT_EQ(cell->dlgRef, idOf(2));
    ASSERT_TRUE(tab.findCellWithName("offset", cell));
    EXPECT_EQ(cell->dlgRef, idOf(13)) << "a cell button records its base variable";
    const MacroPatternProps* pattern = nullptr;
    ASSERT_TRUE(tab.findPatternWithName("Bolts", pattern));
    EXPECT_EQ(pattern->count1Ref, idOf(4));
    EXPECT_EQ(pattern->count2Ref, 0);
    EXPECT_EQ(pattern->buttonRef, idOf(6));
    DynArrayData* array = nullptr;
    ASSERT_TRUE(tab.findArrayWithBtnId(idOf(10), array));
    EXPECT_EQ(array->name, "Ribs");
    EXPECT_EQ(array->dlgRefs[2], idOf(7));
    ASSERT_TRUE(tab.findArrayWithName("Holes", array));
    EXPECT_EQ(array->entries[1].dlgRef, idOf(8));
    const MacroCutData* cut = nullptr;
    ASSERT_TRUE(tab.findCutWithName("EndCut", cut));
    EXPECT_EQ(cut->dlgRef, idOf(11));

    // The grade combo offers the variable's choices; the cut combo the four cut types and
    // the mixed state.
    auto* grade = dynamic_cast<ui::ComboBox*>(item(3));
    ASSERT_NE(grade, nullptr);
    EXPECT_EQ(grade->itemTexts(), (Kdr_StringArray{"S235", "S275", "S355"}));
    EXPECT_EQ(grade->GetCurSel(), 2);
    EXPECT_EQ(dynamic_cast<ui::ComboBox*>(item(11))->itemTexts(),
              (Kdr_StringArray{"None", "Straight", "Mitred", "Coped", "*varies*"}));
    EXPECT_EQ(dynamic_cast<ui::Button*>(item(12))->GetCheck(), BST_CHECKED);
    EXPECT_EQ(dynamic_cast<ui::Button*>(item(14))->GetCheck(), BST_CHECKED) << "tp is the flexible one";
}

TEST_F(DynamicControls, CombosGetRoomForTheirListAtRunTimeOnly)
{
    builder.add(ctCellCombo, {10, 10, 60, 30}, "grade");
    tab.setTemplatePath(builder.save());
    ASSERT_TRUE(page.data.loadMacroTab(&page, tab));
    EXPECT_EQ(item(0)->rectInParent(), Rect(10, 10, 60, 210));

    DesignerWorkbench designer;
    ASSERT_TRUE(designer.data.readFromFile(library.root("Tab.txt"), true));
    designer.data.redrawAllControls();
    EXPECT_EQ(designer.GetDlgItem(33000)->rectInParent(), Rect(10, 10, 60, 30));
}

TEST_F(DynamicControls, ValuesGoInAndOutByIdentifier)
{
    builder.add(ctCellCheck, {0, 0, 60, 10}, "Stiffener", "stiff");
    builder.add(ctCutType, {0, 20, 60, 30}, "EndCut");
    builder.add(ctCellButtonA, {0, 40, 60, 50}, "Offset", "offset;tp;;2");
    builder.add(ctFlexFixButton, {0, 60, 20, 70}, "hp", "Dims;;;");
    builder.add(ctCellEdit, {0, 80, 60, 90}, "hp");
    tab.setTemplatePath(builder.save());
    ASSERT_TRUE(page.data.loadMacroTab(&page, tab));
    Kdr_String value;

    const int check = idOf(0);
    ASSERT_TRUE(page.data.setCtrlValue(check, "*varies*"));
    EXPECT_EQ(dynamic_cast<ui::Button*>(item(0))->GetCheck(), BST_INDETERMINATE);
    ASSERT_TRUE(page.data.getCtrlValue(check, value));
    EXPECT_EQ(value, "*varies*");
    page.data.setCtrlValue(check, "2.5");
    page.data.getCtrlValue(check, value);
    EXPECT_EQ(value, "1");
    EXPECT_FALSE(dynamic_cast<ui::Button*>(item(0))->isThreeState());
    page.data.setCtrlValue(check, "0");
    page.data.getCtrlValue(check, value);
    EXPECT_EQ(value, "0");

    const int cut = idOf(1);
    dynamic_cast<ui::ComboBox*>(item(1))->SetCurSel(-1);
    page.data.getCtrlValue(cut, value);
    EXPECT_EQ(value, "-1");
    page.data.setCtrlValue(cut, "3");
    page.data.getCtrlValue(cut, value);
    EXPECT_EQ(value, "3");

    ASSERT_TRUE(page.data.setCtrlValue(idOf(2), "99"));
    EXPECT_EQ(item(2)->GetWindowText(), "Offset");

    int status = BST_INDETERMINATE;
    ASSERT_TRUE(page.data.setFlexBtnStatus("Dims", "hp", status));
    EXPECT_EQ(dynamic_cast<ui::Button*>(item(3))->GetCheck(), BST_UNCHECKED);

    EXPECT_FALSE(page.data.getCtrlValue(12345, value));
    EXPECT_FALSE(page.data.setCtrlValue(12345, "x"));
    EXPECT_FALSE(page.data.setCtrlReadOnly(check, true)) << "only variable fields and lists";
    EXPECT_FALSE(item(4)->IsWindowEnabled()) << "a read-only variable's field is created disabled";
    ASSERT_TRUE(page.data.setCtrlReadOnly(idOf(4), false));
    EXPECT_TRUE(item(4)->IsWindowEnabled());
}

TEST_F(DynamicControls, ReadingBackLeavesTheCellButtonsBaseVariableAlone)
{
    builder.add(ctCellEdit, {0, 0, 60, 10}, "tp");
    builder.add(ctCellButtonB, {0, 20, 60, 30}, "Set offset", "offset;tp;;");
    builder.add(ctCellCheck, {0, 40, 60, 50}, "Stiffener", "stiff");
    builder.add(ctCutType, {0, 60, 60, 70}, "EndCut");
    tab.setTemplatePath(builder.save());
    ASSERT_TRUE(page.data.loadMacroTab(&page, tab));
    const MacroTabData before = tab;

    ASSERT_TRUE(driver.type(idOf(0), "15"));
    ASSERT_TRUE(driver.click(idOf(2)));
    ASSERT_TRUE(driver.chooseIndex(idOf(3), 1));
    page.data.getTabValuesFromControls(tab);
    Kdr_StringArray changed;
    ASSERT_TRUE(tab.differences(before, changed));
    EXPECT_EQ(changed, (Kdr_StringArray{"tp", "stiff", "EndCut"}));
    const MacroCellData* offset = nullptr;
    ASSERT_TRUE(tab.findCellWithName("offset", offset));
    EXPECT_EQ(offset->value, "40") << "not the button's caption";

    // And back: the tab's values go into the controls.
    MacroCellData* tp = nullptr;
    tab.findCellWithName("tp", tp);
    tp->value = "8";
    page.data.setTabValuesToControls(tab);
    EXPECT_EQ(item(0)->GetWindowText(), "8");
    EXPECT_EQ(item(1)->GetWindowText(), "Set offset");
}

TEST_F(DynamicControls, TabMovesInRowsAndHandsOverAtTheEnds)
{
    // Tops 0.10, 0.12 and 0.40 of the height, the first 0.05 high: the first two are a row,
    // ordered by their left edges; a label, a read-only field and a missing variable take
    // no place.
    builder.add(ctCellEdit, {100, 15, 130, 23}, "tp");        // row 1, right
    builder.add(ctCellCombo, {10, 18, 60, 30}, "grade");      // row 1, left
    builder.add(ctText, {0, 0, 30, 10}, "Label");             // no place
    builder.add(ctCellEdit, {10, 60, 60, 70}, "hp");          // read-only
    builder.add(ctCellEdit, {70, 60, 90, 70}, "nothere");     // dropped
    builder.add(ctCellCheck, {50, 60, 90, 70}, "S", "stiff"); // row 2
    builder.add(ctCellEdit, {10, 60, 40, 70}, "tp");          // row 2, same top, further left
    tab.setTemplatePath(builder.save());
    ASSERT_TRUE(page.data.loadMacroTab(&page, tab));
    ASSERT_EQ(page.data.getNrControls(), 6);
    std::vector<int> order;
    for (int i = 0; i < page.data.getNrControls(); ++i)
        order.push_back(page.data.getControl(i)->tabOrder);
    EXPECT_EQ(order, (std::vector<int>{2, 1, 0, 0, 4, 3}));

    ASSERT_TRUE(page.data.setFocusToCtrl(true));
    EXPECT_EQ(ui::Window::GetFocus(), item(1));
    std::vector<ui::Window*> visited;
    for (int step = 0; step < 3; ++step)
    {
        ASSERT_TRUE(driver.pressKey(VK_TAB));
        visited.push_back(ui::Window::GetFocus());
    }
    EXPECT_EQ(visited, (std::vector<ui::Window*>{item(0), item(5), item(4)}));
    ASSERT_TRUE(driver.pressKey(VK_TAB));
    EXPECT_EQ(page.lastTab, tmhAfterLast);
    EXPECT_EQ(ui::Window::GetFocus(), page.GetDlgItem(kAfter));

    ASSERT_TRUE(page.data.setFocusToCtrl(false));
    EXPECT_EQ(ui::Window::GetFocus(), item(4));
    ASSERT_TRUE(driver.pressKey(VK_TAB, true));
    EXPECT_EQ(page.lastTab, tmhMoved);
    EXPECT_EQ(ui::Window::GetFocus(), item(5));
    page.data.setFocusToCtrl(true);
    ASSERT_TRUE(driver.pressKey(VK_TAB, true));
    EXPECT_EQ(page.lastTab, tmhBeforeFirst);
    EXPECT_EQ(ui::Window::GetFocus(), page.GetDlgItem(kBefore));

    Kdr_TabMsgHandle result = tmhMoved;
    EXPECT_FALSE(page.data.handleTabKey(VK_RETURN, result));
    EXPECT_EQ(result, tmhNotHandled);
}

TEST_F(DynamicControls, ATemplateOfLabelsAndReadOnlyFieldsTakesNoFocus)
{
    builder.add(ctText, {0, 0, 30, 10}, "Label");
    builder.add(ctGroup, {0, 20, 100, 60}, "Group");
    builder.add(ctCellEdit, {10, 30, 60, 40}, "hp");
    tab.setTemplatePath(builder.save());
    ASSERT_TRUE(page.data.loadMacroTab(&page, tab));
    EXPECT_FALSE(page.data.setFocusToCtrl(true));
    EXPECT_FALSE(page.data.setFocusToCtrl(false));
    page.GetDlgItem(kBefore)->SetFocus();
    Kdr_TabMsgHandle result = tmhMoved;
    EXPECT_FALSE(page.data.handleTabKey(VK_TAB, result));
    EXPECT_EQ(result, tmhNotHandled);
}

TEST_F(DynamicControls, AFlexButtonClickReachesTheTab)
{
    builder.add(ctFlexFixButton, {0, 0, 20, 10}, "tp", "Dims;;;");
    builder.add(ctFlexFixButton, {30, 0, 50, 10}, "hp", "Dims;;x;");
    tab.setTemplatePath(builder.save());
    ASSERT_TRUE(page.data.loadMacroTab(&page, tab));
    page.onClicked(idOf(1), [this] { page.data.flexBtnClicked(idOf(1), tab); });
    ASSERT_TRUE(driver.click(idOf(1)));
    const MacroFlexFixGroup* group = nullptr;
    ASSERT_TRUE(tab.findFlexFixGroup("Dims", group));
    EXPECT_FALSE(group->findMember("hp")->fixed);
    EXPECT_TRUE(group->findMember("tp")->fixed) << "the group keeps one flexible variable";
    page.data.setFlexFixStates(tab);
    EXPECT_EQ(dynamic_cast<ui::Button*>(item(0))->GetCheck(), BST_UNCHECKED);

    Kdr_Array<int> all;
    Kdr_Array<int> marked;
    ASSERT_TRUE(page.data.getFlexBtnsInGroup("Dims", all, marked));
    EXPECT_EQ(all.length(), 2);
    EXPECT_EQ(marked.length(), 1);
    page.data.hideAllFlexBtns("Dims");
    EXPECT_FALSE(item(0)->IsWindowVisible());
}

TEST_F(DynamicControls, ATabWithoutATemplateShowsNoControls)
{
    EXPECT_FALSE(page.data.loadMacroTab(&page, tab));
    tab.setTemplatePath("Missing");
    EXPECT_FALSE(page.data.loadMacroTab(&page, tab));
    EXPECT_EQ(page.data.getNrControls(), 0);
}
} // namespace
