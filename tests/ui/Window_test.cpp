#include "UiTestSupport.h"
#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Window.h"
#include "ui/WindowObserver.h"

#include <string>
#include <vector>

namespace
{
using ui::Rect;
using ui::Window;

/// Records what observers hear, one line per event.
struct Log : ui::WindowObserver
{
    std::vector<std::string> lines;
    static std::string name(Window& w)
    {
        return w.GetWindowText().empty() ? std::to_string(w.GetDlgCtrlID()) : w.GetWindowText();
    }
    void created(Window& w) override { lines.push_back("created " + name(w)); }
    void changed(Window& w, ui::Property p) override
    {
        if (p != ui::Property::Paint)
            lines.push_back("changed " + name(w) + " " + std::to_string(static_cast<int>(p)));
    }
    void destroyed(Window& w) override { lines.push_back("destroyed " + name(w)); }
};

/// A window that records its handler calls.
struct Probe : Window
{
    std::vector<std::string>* calls = nullptr;
    std::vector<std::pair<int, int>> commands;
    void OnDestroy() override
    {
        if (calls != nullptr)
            calls->push_back("OnDestroy " + GetWindowText() + " children " +
                             std::to_string(children().size()));
    }
    bool OnCommand(int id, int code, Window*) override
    {
        commands.emplace_back(id, code);
        return true;
    }
    void OnSize(unsigned, int cx, int cy) override
    {
        if (calls != nullptr)
            calls->push_back("OnSize " + std::to_string(cx) + "x" + std::to_string(cy));
    }
};

using WindowTest = uitest::UiTest;

TEST_F(WindowTest, ChildRectanglesAreRelativeToTheParentClientArea)
{
    Window frame;
    ASSERT_TRUE(frame.Create("#32770", "Frame", WS_POPUP | WS_CAPTION, Rect(100, 50, 400, 300), nullptr, 0));
    EXPECT_EQ(frame.frameThickness(), Rect(5, 20, 5, 5)) << "a captioned window: border 5, caption 15";
    EXPECT_EQ(frame.GetClientRect(), Rect(0, 0, 290, 225));

    Window* child = ui::createControl("EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, Rect(10, 10, 60, 30),
                                      &frame, 7, WS_EX_CLIENTEDGE);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetWindowRect(), Rect(115, 80, 165, 100));
    EXPECT_EQ(child->GetClientRect(), Rect(0, 0, 44, 14)) << "1 pixel border and a 2 pixel client edge";

    ui::Point p{0, 0};
    child->ClientToScreen(p);
    EXPECT_EQ(p, (ui::Point{118, 83}));
    frame.ScreenToClient(p);
    EXPECT_EQ(p, (ui::Point{13, 13}));
    Rect r = child->GetWindowRect();
    frame.ScreenToClient(r);
    EXPECT_EQ(r, child->rectInParent());
    frame.DestroyWindow();
}

TEST_F(WindowTest, ObserversFollowCreationChangesAndDestructionChildrenFirst)
{
    Log log;
    ui::WindowObserverScope observe(log);
    std::vector<std::string> calls;
    Probe frame;
    frame.calls = &calls;
    ASSERT_TRUE(frame.Create("#32770", "Frame", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
    Window* ok = ui::createControl("BUTTON", "OK", WS_CHILD | WS_VISIBLE, Rect(0, 0, 10, 10), &frame, IDOK);
    ok->SetWindowText("Close");
    ok->SetWindowText("Close");
    ok->EnableWindow(false);
    ok->ShowWindow(SW_HIDE);
    frame.DestroyWindow();

    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"created Frame", "created OK", "changed Close 0", "changed Close 3",
                                        "changed Close 4", "destroyed Close", "destroyed Frame"}));
    EXPECT_EQ(calls, (std::vector<std::string>{"OnDestroy Frame children 1"}))
        << "OnDestroy runs before the children go";
}

TEST_F(WindowTest, StateChangesReportThePreviousState)
{
    Window w;
    ASSERT_TRUE(w.Create("STATIC", "", WS_POPUP, Rect(0, 0, 10, 10), nullptr, 0));
    EXPECT_FALSE(w.ShowWindow(SW_SHOW)) << "was hidden";
    EXPECT_TRUE(w.ShowWindow(SW_SHOW));
    EXPECT_TRUE(w.IsWindowVisible());
    EXPECT_FALSE(w.EnableWindow(false)) << "was enabled";
    EXPECT_TRUE(w.EnableWindow(true)) << "was disabled";
    EXPECT_TRUE(w.ModifyStyle(0, WS_BORDER));
    EXPECT_FALSE(w.ModifyStyle(0, WS_BORDER));

    Window* child = ui::createControl("STATIC", "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 5, 5), &w, 1);
    w.ShowWindow(SW_HIDE);
    EXPECT_FALSE(child->IsWindowVisible()) << "a child of a hidden window is not visible";
    w.DestroyWindow();
    EXPECT_FALSE(w.ShowWindow(SW_SHOW));
    EXPECT_FALSE(w.IsWindowEnabled());
}

TEST_F(WindowTest, MemberChildrenLoseTheirWindowsWithTheParentButLiveOn)
{
    Window frame;
    ASSERT_TRUE(frame.Create("#32770", "Frame", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
    ui::Button member;
    ASSERT_TRUE(member.Create("Member", WS_CHILD | BS_PUSHBUTTON, Rect(0, 0, 10, 10), &frame, 5));
    EXPECT_EQ(frame.GetDlgItem(5), &member);
    const ui::WindowHandle handle = member.GetSafeHwnd();
    frame.DestroyWindow();
    EXPECT_FALSE(member.IsWindow());
    EXPECT_EQ(Window::FromHandle(handle), nullptr);
    EXPECT_EQ(member.GetParent(), nullptr);
    // The object can make a new window.
    Window other;
    ASSERT_TRUE(other.Create("#32770", "Other", WS_POPUP, Rect(0, 0, 10, 10), nullptr, 0));
    EXPECT_TRUE(member.Create("Again", WS_CHILD, Rect(0, 0, 10, 10), &other, 6));
    other.DestroyWindow();
}

TEST_F(WindowTest, CreationFailsWithoutALiveParentOrWhenRefused)
{
    struct Refusing : Window
    {
        int OnCreate() override { return -1; }
    };
    Window dead;
    Window child;
    EXPECT_FALSE(child.Create("STATIC", "", WS_CHILD, Rect(), nullptr, 1));
    EXPECT_FALSE(child.Create("STATIC", "", WS_CHILD, Rect(), &dead, 1));
    Refusing refusing;
    EXPECT_FALSE(refusing.Create("STATIC", "", WS_POPUP, Rect(), nullptr, 1));
    EXPECT_FALSE(refusing.IsWindow());
}

TEST_F(WindowTest, SubclassingTakesOverIdentityStatePlaceAndFocus)
{
    Window frame;
    ASSERT_TRUE(frame.Create("#32770", "Frame", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
    ui::createControl("STATIC", "first", WS_CHILD, Rect(0, 0, 5, 5), &frame, 1);
    auto* placeholder = static_cast<ui::Button*>(ui::createControl(
        "BUTTON", "Pick", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, Rect(1, 2, 30, 12), &frame, 2));
    ui::createControl("STATIC", "last", WS_CHILD, Rect(0, 0, 5, 5), &frame, 3);
    placeholder->SetCheck(BST_CHECKED);
    placeholder->SetFocus();
    const ui::WindowHandle handle = placeholder->GetSafeHwnd();

    struct Special : ui::Button
    {
    } special;
    ASSERT_TRUE(special.SubclassDlgItem(2, &frame));
    EXPECT_EQ(frame.children()[1], &special);
    EXPECT_EQ(special.GetWindowText(), "Pick");
    EXPECT_EQ(special.rectInParent(), Rect(1, 2, 30, 12));
    EXPECT_EQ(special.GetCheck(), BST_CHECKED);
    EXPECT_EQ(Window::FromHandle(handle), &special);
    EXPECT_EQ(Window::GetFocus(), &special);
    EXPECT_FALSE(special.SubclassDlgItem(3, &frame)) << "already has a window";
    ui::Button spare;
    EXPECT_FALSE(spare.SubclassDlgItem(99, &frame));
    frame.DestroyWindow();
}

TEST_F(WindowTest, FocusMovesWithKillAndSetNotificationsAndIsClearedSilentlyOnDestruction)
{
    Probe frame;
    ASSERT_TRUE(frame.Create("#32770", "Frame", WS_POPUP | WS_VISIBLE, Rect(0, 0, 100, 100), nullptr, 0));
    Window* first = ui::createControl("EDIT", "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 10, 10), &frame, 1);
    Window* second = ui::createControl("EDIT", "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 10, 10), &frame, 2);
    EXPECT_EQ(first->SetFocus(), nullptr);
    EXPECT_EQ(second->SetFocus(), first);
    EXPECT_EQ(frame.commands,
              (std::vector<std::pair<int, int>>{{1, EN_SETFOCUS}, {1, EN_KILLFOCUS}, {2, EN_SETFOCUS}}));

    frame.commands.clear();
    second->DestroyWindow();
    EXPECT_EQ(Window::GetFocus(), nullptr);
    EXPECT_TRUE(frame.commands.empty()) << "no kill-focus from a window that is going away";
    frame.DestroyWindow();
}

TEST_F(WindowTest, AControlMayDestroyItselfFromItsOwnNotification)
{
    struct Frame : Window
    {
        bool OnCommand(int id, int code, Window* control) override
        {
            if (id == 9 && code == BN_CLICKED)
                control->DestroyWindow();
            return true;
        }
    } frame;
    ASSERT_TRUE(frame.Create("#32770", "Frame", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
    auto* button = static_cast<ui::Button*>(
        ui::createControl("BUTTON", "Gone", WS_CHILD | WS_VISIBLE, Rect(0, 0, 9, 9), &frame, 9));
    EXPECT_TRUE(button->click()); // runs to its end on a live object (the sanitizers watch this)
    EXPECT_EQ(frame.GetDlgItem(9), nullptr);
    ui::collectDestroyedWindows();
    frame.DestroyWindow();
}

TEST_F(WindowTest, OwnedPopupsDieWithTheirOwnerAndResizingSendsOnSize)
{
    std::vector<std::string> calls;
    Window owner;
    ASSERT_TRUE(owner.Create("#32770", "Owner", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
    Probe popup;
    popup.calls = &calls;
    ASSERT_TRUE(popup.Create("#32770", "Popup", WS_POPUP | WS_BORDER, Rect(10, 10, 60, 60), &owner, 0));
    popup.MoveWindow(10, 10, 52, 32);
    popup.MoveWindow(20, 20, 52, 32); // moving alone sends no size
    owner.DestroyWindow();
    EXPECT_FALSE(popup.IsWindow());
    EXPECT_EQ(calls, (std::vector<std::string>{"OnSize 50x30", "OnDestroy Popup children 0"}));
}

TEST_F(WindowTest, DialogItemHelpersReadAndWriteChildren)
{
    Window frame;
    ASSERT_TRUE(frame.Create("#32770", "Frame", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
    ui::createControl("EDIT", "", WS_CHILD, Rect(), &frame, 1);
    for (int id = 10; id <= 12; ++id)
        ui::createControl("BUTTON", "", WS_CHILD | BS_AUTORADIOBUTTON, Rect(), &frame, id);
    frame.SetDlgItemInt(1, -42);
    bool ok = false;
    EXPECT_EQ(frame.GetDlgItemInt(1, &ok), -42);
    EXPECT_TRUE(ok);
    frame.SetDlgItemText(1, "4x");
    EXPECT_EQ(frame.GetDlgItemInt(1, &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(frame.GetCheckedRadioButton(10, 12), 0);
    frame.CheckRadioButton(10, 12, 11);
    EXPECT_EQ(frame.GetCheckedRadioButton(10, 12), 11);
    frame.CheckRadioButton(10, 12, 12);
    EXPECT_EQ(frame.IsDlgButtonChecked(11), BST_UNCHECKED);
    EXPECT_EQ(frame.GetDlgItemText(404), "");
    frame.DestroyWindow();
}
} // namespace
