#include "UiTestSupport.h"
#include "ui/Dialog.h"
#include "ui/Edit.h"
#include "ui/ResourceModule.h"
#include "ui/TabControl.h"

namespace
{
constexpr int kTabbed = 500;
constexpr int kPageA = 501;
constexpr int kPageB = 502;
constexpr int kTabs = 10;

void registerTemplates()
{
    ui::DialogTemplate main(kTabbed, "Tabbed", 0, 0, 200, 150);
    main.tabControl(kTabs, 5, 5, 190, 120).defPushButton(IDOK, "Close", 145, 130, 50, 14);
    ui::hostResources().addDialog(main);
    for (int id : {kPageA, kPageB})
    {
        ui::DialogTemplate page(id, "", 8, 30, 180, 80);
        page.style = WS_CHILD | DS_CONTROL;
        page.editText(id * 10 + 1, 5, 5, 80, 12)
            .editText(id * 10 + 2, 5, 25, 80, 12, ES_MULTILINE | ES_WANTRETURN);
        ui::hostResources().addDialog(page);
    }
}

/// A dialog with one page per tab, shown as the tab control selects them.
class Tabbed : public ui::Dialog
{
public:
    Tabbed() : Dialog(kTabbed) {}
    ui::Dialog pages[2];

protected:
    bool OnInitDialog() override
    {
        auto* tabs = dlgItem<ui::TabControl>(kTabs);
        tabs->InsertItem(0, "A");
        tabs->InsertItem(1, "B");
        pages[0].Create(kPageA, this);
        pages[1].Create(kPageB, this);
        // Pages follow the tab control in the tab order.
        pages[0].SetWindowPos(tabs, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        pages[1].SetWindowPos(&pages[0], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        onNotify(kTabs, TCN_SELCHANGE, [this](ui::NotifyHeader&, std::intptr_t&) { showPage(); });
        showPage();
        return true;
    }

private:
    void showPage()
    {
        const int selected = dlgItem<ui::TabControl>(kTabs)->GetCurSel();
        for (int i = 0; i < 2; ++i)
            pages[i].ShowWindow(i == selected ? SW_SHOW : SW_HIDE);
    }
};

class DialogTest : public uitest::UiTest
{
protected:
    DialogTest() { registerTemplates(); }
    static int focusedId()
    {
        return ui::Window::GetFocus() != nullptr ? ui::Window::GetFocus()->GetDlgCtrlID() : -1;
    }
};

TEST_F(DialogTest, TabRunsThroughTheShownPageOnlyAndEnterStaysInAWantReturnField)
{
    Tabbed dialog;
    agent_.expectDialog(kTabbed,
                        [](ui::Driver& user)
                        {
                            EXPECT_EQ(focusedId(), kTabs);
                            std::vector<int> order;
                            for (int i = 0; i < 4; ++i)
                            {
                                user.pressKey(VK_TAB);
                                order.push_back(focusedId());
                            }
                            EXPECT_EQ(order, (std::vector<int>{5011, 5012, IDOK, kTabs}));

                            user.selectTab(kTabs, 1);
                            user.pressKey(VK_TAB);
                            EXPECT_EQ(focusedId(), 5021) << "the hidden page is skipped";
                            user.pressKey(VK_TAB);
                            user.pressKey(VK_RETURN);
                            EXPECT_EQ(user.text(5022), "\r\n")
                                << "Enter types a line break in a ES_WANTRETURN field";
                            EXPECT_FALSE(user.dialog()->hasEnded());
                            user.pressKey(VK_TAB, true);
                            user.pressKey(VK_RETURN);
                            EXPECT_TRUE(user.dialog()->hasEnded()) << "elsewhere Enter is the default button";
                        });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(dialog.pages[0].IsWindow()) << "pages go with their dialog";
}

TEST_F(DialogTest, PreTranslateSeesKeysFromTheFocusedControlUpwards)
{
    // A control that takes F3 itself, and a dialog that swallows Escape.
    struct Grid : ui::Edit
    {
        int f3 = 0;
        bool PreTranslateMessage(ui::Message& m) override
        {
            if (m.message == WM_KEYDOWN && m.wParam == VK_F3)
                return ++f3, true;
            return false;
        }
    };
    struct NoEscape : ui::Dialog
    {
        NoEscape() : Dialog(kPageA) {}
        Grid grid;
        int f3 = 0;
        bool OnInitDialog() override
        {
            grid.SubclassDlgItem(5011, this);
            return true;
        }
        bool PreTranslateMessage(ui::Message& m) override
        {
            if (m.message == WM_KEYDOWN && (m.wParam == VK_ESCAPE || m.wParam == VK_F3))
                return m.wParam == VK_F3 ? (++f3, true) : true;
            return Dialog::PreTranslateMessage(m);
        }
    };
    ui::DialogTemplate popup = *ui::hostResources().findDialog(kPageA);
    popup.style = WS_POPUP | WS_CAPTION;
    ui::hostResources().addDialog(popup);

    NoEscape dialog;
    agent_.expectDialog(kPageA,
                        [&](ui::Driver& user)
                        {
                            user.pressKey(VK_ESCAPE);
                            EXPECT_FALSE(dialog.hasEnded());
                            user.pressKey(VK_F3);
                            user.focus(5012);
                            user.pressKey(VK_F3);
                            EXPECT_EQ(dialog.grid.f3, 1);
                            EXPECT_EQ(dialog.f3, 1);
                            user.close();
                        });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, AnEndInOnInitDialogSkipsTheAgentAndAMissingTemplateGivesMinusOne)
{
    struct Immediate : ui::Dialog
    {
        Immediate() : Dialog(kPageA) {}
        bool OnInitDialog() override
        {
            EndDialog(7);
            return true;
        }
    } immediate;
    EXPECT_EQ(immediate.DoModal(), 7);
    EXPECT_TRUE(agent_.transcript().empty());

    ui::Dialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_FALSE(missing.Create(4242));
}

TEST_F(DialogTest, ModelessEndHidesAndEscapeIsSwallowedWhileCancelIsDisabled)
{
    ui::DialogTemplate t(600, "Modeless", 0, 0, 100, 50);
    t.style |= WS_VISIBLE | DS_CENTER;
    t.editText(1, 5, 5, 50, 12).pushButton(IDCANCEL, "Cancel", 5, 25, 50, 14, WS_DISABLED);
    ui::Dialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(t));
    EXPECT_TRUE(dialog.IsWindowVisible());
    const ui::Rect r = dialog.GetWindowRect();
    EXPECT_EQ(r.left + r.Width() / 2, 960) << "DS_CENTER centres on the screen";

    ui::Driver user(dialog);
    user.pressKey(VK_ESCAPE);
    EXPECT_FALSE(dialog.hasEnded());
    dialog.GetDlgItem(IDCANCEL)->EnableWindow(true);
    user.pressKey(VK_ESCAPE);
    EXPECT_TRUE(dialog.hasEnded());
    EXPECT_EQ(dialog.endResult(), IDCANCEL);
    EXPECT_FALSE(dialog.IsWindowVisible()) << "a modeless dialog is hidden, its owner destroys it";
    EXPECT_TRUE(dialog.IsWindow());
    dialog.DestroyWindow();
}
} // namespace
