#include "UiTestSupport.h"
#include "ui/Button.h"
#include "ui/CheckListComboBox.h"
#include "ui/ComboBox.h"
#include "ui/DialogAids.h"
#include "ui/Edit.h"
#include "ui/TabControl.h"

#include <string>
#include <vector>

namespace
{
using ui::Rect;

/// A parent that records the commands and notifications its controls send.
struct Parent : ui::Window
{
    std::vector<std::pair<int, int>> events;
    std::intptr_t refuseTabChange = 0;
    bool OnCommand(int id, int code, Window*) override
    {
        events.emplace_back(id, code);
        return true;
    }
    bool OnNotify(ui::NotifyHeader& header, std::intptr_t& result) override
    {
        events.emplace_back(header.idFrom, header.code);
        if (header.code == TCN_SELCHANGING)
            result = refuseTabChange;
        return true;
    }
};

class ControlsTest : public uitest::UiTest
{
protected:
    ControlsTest()
    {
        parent.Create("#32770", "Parent", WS_POPUP | WS_VISIBLE, Rect(0, 0, 300, 200), nullptr, 0);
    }
    ~ControlsTest() override { parent.DestroyWindow(); }

    template <typename T>
    T* make(const char* className, std::uint32_t style, int id = 1, const char* text = "")
    {
        return static_cast<T*>(ui::createControl(className, text, WS_CHILD | WS_VISIBLE | style,
                                                 Rect(0, 0, 50, 12), &parent, id));
    }

    Parent parent;
};

TEST_F(ControlsTest, ButtonKindsReactToClicksAsThePlatformDoes)
{
    struct Case
    {
        std::uint32_t kind;
        int before;
        int after;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, BST_UNCHECKED, BST_UNCHECKED},
        {BS_CHECKBOX, BST_UNCHECKED, BST_UNCHECKED},
        {BS_AUTOCHECKBOX, BST_UNCHECKED, BST_CHECKED},
        {BS_AUTOCHECKBOX, BST_CHECKED, BST_UNCHECKED},
        {BS_AUTO3STATE, BST_CHECKED, BST_INDETERMINATE},
        {BS_AUTO3STATE, BST_INDETERMINATE, BST_UNCHECKED},
        {BS_3STATE, BST_INDETERMINATE, BST_INDETERMINATE},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE, BST_UNCHECKED, BST_CHECKED},
    };
    int id = 100;
    for (const Case& c : cases)
    {
        auto* b = make<ui::Button>("BUTTON", c.kind, ++id);
        b->SetCheck(c.before);
        parent.events.clear();
        EXPECT_TRUE(b->click());
        EXPECT_EQ(b->GetCheck(), c.after) << "kind " << c.kind << " from " << c.before;
        EXPECT_EQ(parent.events, (std::vector<std::pair<int, int>>{{id, BN_CLICKED}}));
    }

    auto* group = make<ui::Button>("BUTTON", BS_GROUPBOX, 200);
    EXPECT_FALSE(group->click());
    auto* disabled = make<ui::Button>("BUTTON", BS_AUTOCHECKBOX | WS_DISABLED, 201);
    EXPECT_FALSE(disabled->click());
    EXPECT_EQ(disabled->GetCheck(), BST_UNCHECKED);
}

TEST_F(ControlsTest, TwoStateButtonsHaveNoThirdStateAndKeepOtherStyleBitsWhenRetyped)
{
    auto* b = make<ui::Button>("BUTTON", BS_AUTO3STATE | BS_PUSHLIKE | BS_ICON);
    b->SetCheck(BST_INDETERMINATE);
    EXPECT_EQ(b->GetCheck(), BST_INDETERMINATE);
    b->SetButtonStyle(BS_AUTOCHECKBOX);
    EXPECT_EQ(b->GetCheck(), BST_CHECKED);
    EXPECT_EQ(b->GetStyle() & (BS_PUSHLIKE | BS_ICON), BS_PUSHLIKE | BS_ICON);
    b->SetCheck(BST_INDETERMINATE);
    EXPECT_EQ(b->GetCheck(), BST_CHECKED);

    auto* tri = make<ui::Button>("BUTTON", BS_AUTO3STATE, 2);
    tri->SetCheck(BST_INDETERMINATE);
    disableTriState(tri);
    EXPECT_EQ(tri->GetButtonStyle(), BS_AUTOCHECKBOX);
    EXPECT_EQ(tri->GetCheck(), BST_CHECKED);
}

TEST_F(ControlsTest, AutomaticRadioButtonsUncheckTheirGroupOnly)
{
    auto* a = make<ui::Button>("BUTTON", BS_AUTORADIOBUTTON | WS_GROUP, 1);
    auto* b = make<ui::Button>("BUTTON", BS_AUTORADIOBUTTON, 2);
    auto* c = make<ui::Button>("BUTTON", BS_AUTORADIOBUTTON | WS_GROUP, 3);
    auto* d = make<ui::Button>("BUTTON", BS_AUTORADIOBUTTON, 4);
    a->click();
    c->click();
    b->click();
    EXPECT_EQ(std::vector<int>({a->GetCheck(), b->GetCheck(), c->GetCheck(), d->GetCheck()}),
              std::vector<int>({BST_UNCHECKED, BST_CHECKED, BST_CHECKED, BST_UNCHECKED}));
}

TEST_F(ControlsTest, EditTextFromCodeNotifiesAndUserTypingFollowsTheStyle)
{
    auto* edit = make<ui::Edit>("EDIT", 0, 5);
    edit->SetWindowText("abc");
    edit->SetWindowText("abc");
    EXPECT_EQ(parent.events, (std::vector<std::pair<int, int>>{
                                 {5, EN_UPDATE}, {5, EN_CHANGE}, {5, EN_UPDATE}, {5, EN_CHANGE}}));

    struct Case
    {
        std::uint32_t style;
        const char* typed;
        bool taken;
        const char* result;
    };
    const Case cases[] = {
        {0, "a\r\nb", true, "ab"},          {ES_MULTILINE, "a\r\nb", true, "a\r\nb"},
        {ES_UPPERCASE, "Mix", true, "MIX"}, {ES_LOWERCASE, "Mix", true, "mix"},
        {ES_NUMBER, "12", true, "12"},      {ES_NUMBER, "1.5", false, "old"},
        {ES_READONLY, "new", false, "old"}, {WS_DISABLED, "new", false, "old"},
    };
    int id = 10;
    for (const Case& c : cases)
    {
        auto* e = make<ui::Edit>("EDIT", c.style, ++id);
        e->SetWindowText("old");
        EXPECT_EQ(e->replaceAllAsUser(c.typed), c.taken) << c.typed;
        EXPECT_EQ(e->GetWindowText(), c.result) << "style " << c.style;
    }
}

TEST_F(ControlsTest, EditSelectionReplaceLimitAndLines)
{
    auto* edit = make<ui::Edit>("EDIT", ES_MULTILINE);
    edit->SetWindowText("one\r\ntwo\nthree");
    EXPECT_EQ(edit->GetLineCount(), 3);
    EXPECT_EQ(edit->line(0), "one");
    EXPECT_EQ(edit->line(2), "three");
    EXPECT_EQ(edit->line(3), "");

    edit->SetWindowText("hello world");
    edit->SetSel(6, -1);
    EXPECT_EQ(edit->selectedText(), "world");
    edit->ReplaceSel("there");
    EXPECT_EQ(edit->GetWindowText(), "hello there");
    int start = 0;
    int end = 0;
    edit->GetSel(start, end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(11, 11)) << "the caret follows the inserted text";

    edit->SetLimitText(13);
    edit->SetSel(0, 0);
    parent.events.clear();
    EXPECT_TRUE(edit->typeText(">>>>"));
    EXPECT_EQ(edit->GetWindowText(), ">>hello there");
    EXPECT_EQ(parent.events.front(), std::make_pair(1, EN_MAXTEXT));
}

TEST_F(ControlsTest, ComboSearchesIgnoreCaseStartAfterAnItemAndWrapRound)
{
    auto* combo = make<ui::ComboBox>("COMBOBOX", CBS_DROPDOWNLIST);
    for (const char* item : {"Plate", "plate", "Beam", "Plate rib"})
        combo->AddString(item);
    EXPECT_EQ(combo->FindStringExact(-1, "PLATE"), 0);
    EXPECT_EQ(combo->FindStringExact(0, "plate"), 1);
    EXPECT_EQ(combo->FindStringExact(1, "plate"), 0) << "wraps round";
    EXPECT_EQ(combo->FindStringExact(-1, "Plat"), CB_ERR);
    EXPECT_EQ(combo->FindString(1, "plat"), 3);
    EXPECT_EQ(combo->FindString(-1, ""), 0);
    EXPECT_EQ(combo->SelectString(-1, "be"), 2);
    EXPECT_EQ(combo->GetWindowText(), "Beam");
    EXPECT_EQ(combo->SetCurSel(9), CB_ERR);
    EXPECT_EQ(combo->GetCurSel(), -1) << "a bad index clears the selection";
    EXPECT_EQ(combo->GetWindowText(), "");

    ui::ComboBox* empty = make<ui::ComboBox>("COMBOBOX", CBS_DROPDOWN, 2);
    EXPECT_EQ(empty->FindStringExact(-1, ""), CB_ERR);
}

TEST_F(ControlsTest, ComboItemsKeepOrderSelectionAndData)
{
    auto* sorted = make<ui::ComboBox>("COMBOBOX", CBS_DROPDOWNLIST | CBS_SORT);
    for (const char* item : {"delta", "Alpha", "charlie", "Bravo"})
        sorted->AddString(item);
    EXPECT_EQ(sorted->itemTexts(), (Kdr_StringArray{"Alpha", "Bravo", "charlie", "delta"}));

    auto* combo = make<ui::ComboBox>("COMBOBOX", CBS_DROPDOWNLIST, 2);
    combo->AddString("a");
    combo->AddString("c");
    combo->SetItemData(1, 77);
    combo->SetCurSel(1);
    EXPECT_EQ(combo->InsertString(1, "b"), 1);
    EXPECT_EQ(combo->GetCurSel(), 2) << "the selection stays on its item";
    EXPECT_EQ(combo->GetItemData(2), 77u);
    EXPECT_EQ(combo->InsertString(9, "z"), CB_ERR);
    EXPECT_EQ(combo->DeleteString(0), 2);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->DeleteString(1), 1);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->DeleteString(5), CB_ERR);
}

TEST_F(ControlsTest, EditableComboShowsItsTextAndUserActionsNotify)
{
    auto* combo = make<ui::ComboBox>("COMBOBOX", CBS_DROPDOWN, 4);
    combo->AddString("M12");
    combo->AddString("M16");
    combo->SetCurSel(1);
    EXPECT_EQ(combo->GetWindowText(), "M16");
    combo->SetWindowText("M20");
    EXPECT_EQ(combo->GetWindowText(), "M20");
    EXPECT_EQ(combo->GetCurSel(), 1) << "setting the text leaves the selection";
    EXPECT_TRUE(parent.events.empty()) << "calls from code notify nobody";

    EXPECT_TRUE(combo->typeAsUser("m12"));
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_TRUE(combo->typeAsUser("M24"));
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_TRUE(combo->selectAsUser(1));
    EXPECT_EQ(combo->GetWindowText(), "M16");
    EXPECT_EQ(parent.events, (std::vector<std::pair<int, int>>{{4, CBN_EDITUPDATE},
                                                               {4, CBN_EDITCHANGE},
                                                               {4, CBN_EDITUPDATE},
                                                               {4, CBN_EDITCHANGE},
                                                               {4, CBN_DROPDOWN},
                                                               {4, CBN_SELCHANGE},
                                                               {4, CBN_SELENDOK},
                                                               {4, CBN_CLOSEUP}}));
    auto* list = make<ui::ComboBox>("COMBOBOX", CBS_DROPDOWNLIST, 5);
    EXPECT_FALSE(list->typeAsUser("x")) << "a drop-down list has no edit field";
    list->SetWindowText("ignored");
    EXPECT_EQ(list->GetWindowText(), "");
}

TEST_F(ControlsTest, FillComboSelectsTheMatchingItemOrShowsTheText)
{
    auto* editable = make<ui::ComboBox>("COMBOBOX", CBS_DROPDOWN, 1);
    editable->AddString("old");
    EXPECT_EQ(FillCombo(editable, {"HEA 100", "HEA 120"}, "hea 120"), 1);
    EXPECT_EQ(editable->GetCount(), 2);
    EXPECT_EQ(FillCombo(editable, {"HEA 100", "HEA 120"}, "custom"), -1);
    EXPECT_EQ(editable->GetWindowText(), "custom");
    auto* list = make<ui::ComboBox>("COMBOBOX", CBS_DROPDOWNLIST, 2);
    EXPECT_EQ(FillCombo(list, {"a", "b"}, "c"), -1);
    EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(ControlsTest, CheckListChecksBelongToTheirItems)
{
    auto* list = make<ui::CheckListComboBox>("CheckListCombo", CBS_DROPDOWNLIST, 6);
    for (const char* item : {"Slot 1", "Slot 2", "Slot 3"})
        list->AddString(item);
    list->SetCheck(1, true);
    list->SetCheck(2, true);
    list->InsertString(0, "Slot 0");
    list->DeleteString(2);
    EXPECT_EQ(list->checkedIndices(), (std::vector<int>{2})) << "Slot 3 moved to index 2";
    EXPECT_EQ(list->GetCheck(7), CB_ERR);
    EXPECT_TRUE(parent.events.empty());
    EXPECT_TRUE(list->toggleCheckAsUser(0));
    EXPECT_EQ(list->GetCheck(0), BST_CHECKED);
    EXPECT_EQ(parent.events, (std::vector<std::pair<int, int>>{{6, CBN_CHECKCHANGE}}));
}

TEST_F(ControlsTest, TabControlSelectsItsFirstItemAndAsksBeforeChanging)
{
    auto* tabs = make<ui::TabControl>("SysTabControl32", 0, 8);
    tabs->MoveWindow(Rect(0, 0, 200, 150));
    EXPECT_EQ(tabs->GetCurSel(), -1);
    tabs->InsertItem(0, "Plate");
    tabs->InsertItem(1, "Bolts");
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_EQ(tabs->InsertItem(0, "First"), 0);
    EXPECT_EQ(tabs->GetCurSel(), 1) << "the selected item moves with the insertion";

    Rect item;
    ASSERT_TRUE(tabs->GetItemRect(1, item));
    EXPECT_EQ(item, Rect(44, 2, 86, 20)) << "\"First\" is 42 pixels wide";
    Rect area = tabs->GetClientRect();
    tabs->AdjustRect(false, area);
    EXPECT_EQ(area, Rect(4, 24, 196, 146));
    tabs->AdjustRect(true, area);
    EXPECT_EQ(area, tabs->GetClientRect());

    parent.refuseTabChange = 1;
    EXPECT_FALSE(tabs->selectAsUser(2));
    EXPECT_EQ(tabs->GetCurSel(), 1);
    parent.refuseTabChange = 0;
    EXPECT_TRUE(tabs->selectAsUser(2));
    EXPECT_EQ(tabs->GetCurSel(), 2);
    EXPECT_EQ(parent.events, (std::vector<std::pair<int, int>>{
                                 {8, TCN_SELCHANGING}, {8, TCN_SELCHANGING}, {8, TCN_SELCHANGE}}));
    EXPECT_TRUE(tabs->DeleteItem(2));
    EXPECT_EQ(tabs->GetCurSel(), -1);
}
} // namespace
