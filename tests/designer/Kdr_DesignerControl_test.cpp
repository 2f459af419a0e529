#include "designer/Kdr_DesignerControl.h"
#include "host/Kdr_PropertiesList.h"
#include "host/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
Kdr_DesignerControl controlOf(Kdr_ControlType type)
{
    Kdr_DesignerControl control;
    control.type = type;
    return control;
}

TEST(DesignerControl, EveryTypeHasItsWindowClass)
{
    const char* expected[kNrControlTypes] = {
        "STATIC",   "BUTTON", "EDIT",   "COMBOBOX", "EDIT",     "EDIT",     "BUTTON", "COMBOBOX",
        "EDIT",     "EDIT",   "EDIT",   "EDIT",     "BUTTON",   "COMBOBOX", "BUTTON", "COMBOBOX",
        "COMBOBOX", "BUTTON", "EDIT",   "EDIT",     "EDIT",     "EDIT",     "EDIT",   "EDIT",
        "BUTTON",   "BUTTON", "BUTTON", "COMBOBOX", "COMBOBOX", "BUTTON",   "BUTTON"};
    for (int type = 0; type < kNrControlTypes; ++type)
        EXPECT_STREQ(getControlClassName(type), expected[type]) << "type " << type;
    EXPECT_STREQ(getControlClassName(-1), "STATIC");
    EXPECT_STREQ(getControlClassName(31), "STATIC");
    EXPECT_STREQ(getControlClassName(1000), "STATIC");
}

TEST(DesignerControl, MergedListsCarryEverySeparator)
{
    Kdr_DesignerControl cellButton = controlOf(ctCellButtonA);
    cellButton.cellBtnFields[0] = "A";
    EXPECT_EQ(cellButton.getMergedExtComboList(), "A;;;;");
    cellButton.cellBtnFields = {"Base", "-Target", "Partner", "2.5"};
    cellButton.comboList = "extra";
    EXPECT_EQ(cellButton.getMergedExtComboList(), "Base;-Target;Partner;2.5;extra");

    EXPECT_EQ(controlOf(ctFlexFixButton).getMergedExtComboList(), ";;;");
    Kdr_DesignerControl flex = controlOf(ctFlexFixButton);
    flex.flexFields = {"G1", "b", "c", "d"};
    flex.comboList = "kept";
    EXPECT_EQ(flex.getMergedExtComboList(), "G1;b;c;d");

    Kdr_DesignerControl combo = controlOf(ctCellCombo);
    combo.comboList = "items.txt";
    EXPECT_EQ(combo.getMergedExtComboList(), "items.txt");
}

TEST(DesignerControl, SplittingFillsTheTargetsOfTheType)
{
    Kdr_DesignerControl cellButton = controlOf(ctCellButtonB);
    cellButton.cellBtnFields = {"old", "old", "old", "old"};
    cellButton.comboList = "old";
    EXPECT_TRUE(cellButton.setSplitExtComboList("Base;;Partner"));
    EXPECT_EQ(cellButton.cellBtnFields[0], "Base");
    EXPECT_EQ(cellButton.cellBtnFields[1], "");
    EXPECT_EQ(cellButton.cellBtnFields[2], "Partner");
    EXPECT_EQ(cellButton.cellBtnFields[3], "");
    EXPECT_EQ(cellButton.comboList, "");
    cellButton.setSplitExtComboList("a;b;c;d;e;f;g");
    EXPECT_EQ(cellButton.comboList, "e") << "parts after the fifth are ignored";

    Kdr_DesignerControl flex = controlOf(ctFlexFixButton);
    flex.comboList = "kept";
    flex.setSplitExtComboList("G;x");
    EXPECT_EQ(flex.flexFields[0], "G");
    EXPECT_EQ(flex.flexFields[1], "x");
    EXPECT_EQ(flex.flexFields[2], "");
    EXPECT_EQ(flex.comboList, "kept");

    Kdr_DesignerControl edit = controlOf(ctCellEdit);
    edit.cellBtnFields[1] = "stale";
    edit.setSplitExtComboList("one;two");
    EXPECT_EQ(edit.comboList, "one;two") << "other types keep the semicolon";
    EXPECT_EQ(edit.cellBtnFields[1], "");
}

TEST(DesignerControl, PropertyListKeysAndRoundTrip)
{
    Kdr_DesignerControl control = controlOf(ctCellButtonA);
    control.topLeftX = 0.1;
    control.topLeftY = 0.2;
    control.bottomRightX = 1.0 / 3.0;
    control.bottomRightY = 0.45;
    control.contents = "Caption";
    control.cellBtnFields = {"A", "", "", ""};
    control.resourceId = 33004;
    control.tabOrder = 3;
    control.readOnly = true;
    Kdr_PropertiesList list;
    control.setToPropList(list, 3);
    ASSERT_EQ(list.count(), 7);
    const char* keys[] = {"type3",         "topLeftX3", "topLeftY3", "bottomRightX3",
                          "bottomRightY3", "contents3", "comboList3"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(list.keyAt(i), keys[i]);
    Kdr_String merged;
    ASSERT_TRUE(list.getString("comboList3", merged));
    EXPECT_EQ(merged, "A;;;;");

    Kdr_DesignerControl back;
    back.getFromPropList(list, 3);
    EXPECT_TRUE(back.sameTemplateData(control));
    EXPECT_EQ(back.resourceId, 0);
    EXPECT_EQ(back.tabOrder, 0);
    EXPECT_FALSE(back.readOnly);
}

TEST(DesignerControl, MissingKeysGiveDefaultsOrKeepMembers)
{
    Kdr_PropertiesList list;
    list.setString("contents0", "Only this");
    Kdr_DesignerControl control = controlOf(ctCellEdit);
    control.topLeftX = 0.5;
    control.comboList = "previous";
    control.getFromPropList(list, 0);
    EXPECT_EQ(control.type, ctText);
    EXPECT_EQ(control.topLeftX, 0.5);
    EXPECT_EQ(control.contents, "Only this");
    EXPECT_EQ(control.comboList, "") << "a missing extra list splits an empty text";
}

TEST(DesignerControl, ComboItemsComeFromTheNamedFile)
{
    TempFolder folder;
    folder.write("items.txt", "M16\nM20\r\nM24\n");
    Kdr_DesignerControl control = controlOf(ctCellCombo);
    Kdr_StringArray items{"kept"};
    control.getComboItemsFromFile(items);
    EXPECT_EQ(items, Kdr_StringArray{"kept"}) << "no file named";
    control.comboList = folder.path("missing.txt");
    control.getComboItemsFromFile(items);
    EXPECT_EQ(items, Kdr_StringArray{"kept"});
    control.comboList = folder.path("items.txt");
    control.getComboItemsFromFile(items);
    EXPECT_EQ(items, (Kdr_StringArray{"M16", "M20", "M24"}));
}
} // namespace
