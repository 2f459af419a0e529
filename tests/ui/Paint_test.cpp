#include "UiTestSupport.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/Driver.h"
#include "ui/Input.h"
#include "ui/ScreenText.h"
#include "ui/Static.h"

#include <string>
#include <vector>

namespace
{
using ui::DrawKind;
using ui::Point;
using ui::Rect;
using ui::Window;

/// Records the paints observers hear of.
struct PaintLog : ui::WindowObserver
{
    std::vector<std::string> lines;
    void painted(Window& w) override
    {
        lines.push_back(std::to_string(w.GetDlgCtrlID()) + ": " + std::to_string(w.displayList().size()));
    }
};

/// A top-level window whose handlers can be steered and which logs what it hears.
struct Canvas : Window
{
    std::vector<std::string> heard;
    ui::Brush labelBrush;
    bool transparentLabels = false;
    bool destroyWhilePainting = false;
    bool destroyWhileErasing = false;
    ui::Cursor cursor = ui::Cursor::Cross;

protected:
    bool OnEraseBkgnd(ui::PaintContext& dc) override
    {
        if (destroyWhileErasing)
            DestroyWindow();
        return Window::OnEraseBkgnd(dc);
    }
    void OnPaint(ui::PaintContext& dc) override
    {
        dc.SelectPen(RGB(255, 0, 0), 2);
        dc.MoveTo({0, 0});
        dc.LineTo({10, 10});
        dc.DrawFocusRect(Rect(1, 1, 5, 5));
        if (destroyWhilePainting)
            DestroyWindow();
    }
    ui::Brush OnCtlColor(ui::PaintContext& dc, Window*, unsigned ctlColor) override
    {
        if (ctlColor == CTLCOLOR_STATIC && transparentLabels)
        {
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(RGB(0, 0, 255));
            return ui::Brush::hollow();
        }
        return labelBrush;
    }
    bool OnSetCursor(Window* window, unsigned hitTest, unsigned message) override
    {
        if (window == this && hitTest == HTCLIENT)
        {
            SetCursor(cursor);
            return true;
        }
        return Window::OnSetCursor(window, hitTest, message);
    }
    void OnLButtonDown(unsigned flags, Point p) override { log("down", flags, p); }
    void OnLButtonUp(unsigned flags, Point p) override { log("up", flags, p); }
    void OnLButtonDblClk(unsigned flags, Point p) override { log("double", flags, p); }
    void OnMouseMove(unsigned flags, Point p) override { log("move", flags, p); }
    void OnCaptureChanged(Window* next) override
    {
        heard.push_back(std::string("capture lost") + (next != nullptr ? " to another" : ""));
    }

private:
    void log(const char* what, unsigned flags, Point p)
    {
        std::string keys;
        if ((flags & MK_LBUTTON) != 0)
            keys += "L";
        if ((flags & MK_SHIFT) != 0)
            keys += "S";
        if ((flags & MK_CONTROL) != 0)
            keys += "C";
        heard.push_back(std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y) +
                        (keys.empty() ? "" : " " + keys));
    }
};

class PaintTest : public uitest::UiTest
{
protected:
    // Windows that earlier tests left waiting (the host's main window) are painted first, so
    // that each test sees only its own paints.
    PaintTest() { ui::MessageLoop::instance().pump(); }

    void open(Canvas& canvas)
    {
        ASSERT_TRUE(canvas.Create("Canvas", "", WS_POPUP | WS_VISIBLE, Rect(100, 100, 300, 220), nullptr, 7));
    }
    static ui::Static* label(Window& parent, int id, const Rect& rect, std::uint32_t extra = 0)
    {
        return dynamic_cast<ui::Static*>(
            ui::createControl("STATIC", "Oriëntatie", WS_CHILD | WS_VISIBLE | extra, rect, &parent, id));
    }
};

TEST_F(PaintTest, InvalidWindowsArePaintedByTheLoopAndUpdateWindowPaintsAtOnce)
{
    PaintLog log;
    ui::WindowObserverScope scope(log);
    Canvas canvas;
    open(canvas);
    label(canvas, 11, Rect(10, 10, 80, 24));
    EXPECT_TRUE(canvas.needsPaint());
    EXPECT_EQ(canvas.paintCount(), 0);

    ui::MessageLoop::instance().pump();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"7: 3", "11: 2"})) << "parents paint before children";
    EXPECT_EQ(
        canvas.displayList().describe(),
        (std::vector<std::string>{"fill 0,0,200,120 #F0F0F0", "line 0,0 10,10 #FF0000", "focus 1,1,5,5"}));
    EXPECT_EQ(canvas.displayList().ofKind(DrawKind::Line).front()->thickness, 2);

    ui::MessageLoop::instance().pump();
    EXPECT_EQ(log.lines.size(), 2u) << "nothing is painted twice without a reason";

    canvas.Invalidate();
    EXPECT_EQ(canvas.paintRequests(), 1);
    canvas.UpdateWindow();
    EXPECT_EQ(canvas.paintCount(), 2);
    EXPECT_FALSE(canvas.needsPaint());

    // A hidden window waits; showing it paints it and its children again.
    canvas.ShowWindow(SW_HIDE);
    canvas.Invalidate();
    ui::MessageLoop::instance().pump();
    EXPECT_EQ(canvas.paintCount(), 2);
    canvas.ShowWindow(SW_SHOW);
    ui::MessageLoop::instance().pump();
    EXPECT_EQ(canvas.paintCount(), 3);
    EXPECT_EQ(log.lines.back(), "11: 2");
    canvas.DestroyWindow();
}

TEST_F(PaintTest, LabelsTakeTheirColoursFromTheParent)
{
    Canvas canvas;
    open(canvas);
    ui::Static* plain = label(canvas, 11, Rect(10, 10, 80, 24), SS_CENTER);
    ui::MessageLoop::instance().pump();
    EXPECT_EQ(plain->displayList().describe(),
              (std::vector<std::string>{"fill 0,0,70,14 #F0F0F0",
                                        "text \"Oriëntatie\" 0,0,70,14 #000000 on #F0F0F0"}));
    EXPECT_EQ(plain->displayList().ops[1].format, DT_CENTER | DT_WORDBREAK);

    canvas.labelBrush = ui::Brush::solid(RGB(255, 255, 0));
    plain->Invalidate();
    plain->UpdateWindow();
    EXPECT_EQ(plain->displayList().describe().front(), "fill 0,0,70,14 #FFFF00");

    canvas.transparentLabels = true;
    plain->EnableWindow(false); // a change of state repaints by itself
    ui::MessageLoop::instance().pump();
    EXPECT_EQ(plain->displayList().describe(),
              (std::vector<std::string>{"text \"Oriëntatie\" 0,0,70,14 #0000FF transparent"}));
    canvas.DestroyWindow();
}

TEST_F(PaintTest, ButtonsAndFieldsDrawTheirStateAndRepaintWhenItChanges)
{
    Canvas canvas;
    open(canvas);
    auto* ok = ui::createControl("BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON,
                                 Rect(10, 80, 70, 100), &canvas, 1);
    auto* box = dynamic_cast<ui::Button*>(ui::createControl(
        "BUTTON", "Tapped", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, Rect(10, 10, 90, 25), &canvas, 2));
    auto* secret = ui::createControl("EDIT", "abc", WS_CHILD | WS_VISIBLE | ES_PASSWORD,
                                     Rect(100, 10, 160, 30), &canvas, 3);
    ui::MessageLoop::instance().pump();
    EXPECT_EQ(ok->displayList().describe(),
              (std::vector<std::string>{"fill 0,0,60,20 #F0F0F0", "frame 0,0,60,20 #0078D7 width 2",
                                        "text \"OK\" 0,0,60,20 #000000 transparent"}));
    EXPECT_TRUE(box->displayList().ofKind(DrawKind::Line).empty());
    EXPECT_EQ(secret->displayList().texts(), (std::vector<std::string>{"***"}));

    ui::Driver driver(canvas);
    ASSERT_TRUE(driver.click(2));
    EXPECT_EQ(box->displayList().ofKind(DrawKind::Line).size(), 2u) << "the check mark";
    EXPECT_EQ(box->displayList().ofKind(DrawKind::FocusRect).size(), 1u);
    ASSERT_TRUE(driver.focus(3));
    EXPECT_TRUE(box->displayList().ofKind(DrawKind::FocusRect).empty()) << "losing the focus repaints too";
    canvas.DestroyWindow();
}

TEST_F(PaintTest, WindowDestroyedWhilePaintingKeepsNoListAndTellsNoObserver)
{
    PaintLog log;
    ui::WindowObserverScope scope(log);
    for (const bool whileErasing : {true, false})
    {
        Canvas canvas;
        open(canvas);
        canvas.destroyWhileErasing = whileErasing;
        canvas.destroyWhilePainting = !whileErasing;
        ui::MessageLoop::instance().pump();
        EXPECT_FALSE(canvas.IsWindow());
        EXPECT_EQ(canvas.paintCount(), 0);
        EXPECT_TRUE(canvas.displayList().empty());
        canvas.UpdateWindow(); // no window: nothing happens
    }
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(PaintTest, MouseGoesToTheWindowUnderThePointerAndDisabledControlsPassItOn)
{
    Canvas canvas;
    open(canvas);
    ui::Static* lbl = label(canvas, 11, Rect(10, 10, 80, 30), SS_NOTIFY);
    auto* edit = ui::createControl("EDIT", "", WS_CHILD | WS_VISIBLE, Rect(100, 10, 180, 30), &canvas, 12);
    ui::Driver driver(canvas);

    EXPECT_EQ(canvas.ChildWindowFromPoint({20, 20}), lbl);
    EXPECT_EQ(canvas.ChildWindowFromPoint({5, 5}), &canvas);
    EXPECT_EQ(canvas.ChildWindowFromPoint({500, 5}), nullptr);
    lbl->EnableWindow(false);
    EXPECT_EQ(canvas.ChildWindowFromPoint({20, 20}), lbl);
    EXPECT_EQ(canvas.ChildWindowFromPoint({20, 20}, CWP_SKIPDISABLED), &canvas);

    // The disabled label lets the click through to the canvas, in the canvas's coordinates.
    EXPECT_TRUE(driver.doubleClick(11, {5, 5}, MK_SHIFT));
    EXPECT_EQ(canvas.heard,
              (std::vector<std::string>{"down 15,15 LS", "up 15,15 S", "double 15,15 LS", "up 15,15 S"}));
    EXPECT_EQ(ui::currentCursor(), ui::Cursor::Cross);
    Point where;
    GetCursorPos(&where);
    EXPECT_EQ(where, (Point{115, 115}));

    EXPECT_TRUE(driver.mouseMove(12, {3, 3}));
    EXPECT_EQ(ui::currentCursor(), ui::Cursor::IBeam);
    EXPECT_EQ(canvas.heard.size(), 4u) << "the edit field took the move";
    EXPECT_TRUE(driver.mouseMove(0, {2, 2}, MK_CONTROL));
    EXPECT_EQ(canvas.heard.back(), "move 2,2 C");
    EXPECT_EQ(ui::GetKeyState(VK_CONTROL), 0) << "keys are released after the action";
    (void)edit;
    canvas.DestroyWindow();
}

TEST_F(PaintTest, CaptureFollowsTheDragOutsideAndDiesWithItsWindow)
{
    Canvas canvas;
    open(canvas);
    Canvas other;
    ASSERT_TRUE(other.Create("Canvas", "", WS_POPUP | WS_VISIBLE, Rect(400, 100, 500, 200), nullptr, 8));
    ui::Driver driver(canvas);

    // Without capture a drag that leaves the window is lost for it once the pointer is out,
    // and the window beside it hears nothing either.
    EXPECT_TRUE(driver.drag(0, {150, 50}, {350, 50}));
    EXPECT_EQ(canvas.heard, (std::vector<std::string>{"move 150,50", "down 150,50 L"}));
    EXPECT_EQ(other.heard, (std::vector<std::string>{}));
    EXPECT_EQ(ui::GetKeyState(VK_LBUTTON), 0);

    canvas.heard.clear();
    EXPECT_EQ(canvas.SetCapture(), nullptr);
    EXPECT_EQ(Window::GetCapture(), &canvas);
    EXPECT_TRUE(driver.drag(0, {150, 50}, {350, 50}, MK_CONTROL));
    EXPECT_EQ(canvas.heard.back(), "up 350,50 C") << "the capture gets the release outside";
    EXPECT_EQ(canvas.heard,
              (std::vector<std::string>{"move 150,50 C", "down 150,50 LC", "move 200,50 LC", "move 250,50 LC",
                                        "move 300,50 LC", "move 350,50 LC", "up 350,50 C"}));

    EXPECT_EQ(other.SetCapture(), &canvas);
    EXPECT_EQ(canvas.heard.back(), "capture lost to another");
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(other.heard.back(), "capture lost");
    EXPECT_FALSE(ReleaseCapture());

    other.SetCapture();
    other.DestroyWindow();
    EXPECT_EQ(Window::GetCapture(), nullptr);
    canvas.heard.clear();
    EXPECT_TRUE(driver.drag(0, {10, 10}, {20, 20}));
    EXPECT_EQ(canvas.heard.front(), "move 10,10");
    canvas.DestroyWindow();
}

TEST_F(PaintTest, NextDueNamesTheEarliestTimerWindowOrNot)
{
    auto& loop = ui::MessageLoop::instance();
    EXPECT_FALSE(loop.nextDue());
    static int windowless = 0;
    windowless = 0;
    const auto id =
        SetTimer(nullptr, 0, 300, [](Window*, unsigned, std::uintptr_t, std::uint32_t) { ++windowless; });
    Canvas canvas;
    open(canvas);
    canvas.SetTimer(1, 100);
    const long long start = loop.now();
    EXPECT_EQ(loop.nextDue(), start + 100);
    loop.advance(250);
    EXPECT_EQ(loop.nextDue(), start + 300);
    loop.advance(50);
    EXPECT_EQ(windowless, 1);
    canvas.DestroyWindow();
    EXPECT_EQ(loop.nextDue(), start + 600) << "the windowless timer keeps running";
    KillTimer(nullptr, id);
    EXPECT_FALSE(loop.nextDue());
}

TEST(ScreenTextTest, Utf8StaysAndEverythingElseIsReadAsWindows1252)
{
    EXPECT_EQ(ui::screenText("Ori\xC3\xABntatie"), "Ori\xC3\xABntatie");
    EXPECT_EQ(ui::screenText("Ori\xEBntatie"), "Ori\xC3\xABntatie");
    EXPECT_EQ(ui::screenText("plain"), "plain");
    // The 0x80-0x9F table, undefined bytes included, and a text mixing both encodings.
    EXPECT_EQ(ui::screenText("\x80\x81\x8A\x93\x94\x96\x99\x9F"),
              "\xE2\x82\xAC\xC2\x81\xC5\xA0\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\x93\xE2\x84\xA2\xC5\xB8");
    EXPECT_EQ(ui::screenText("\xC3\xAB \xEB"), "\xC3\x83\xC2\xAB \xC3\xAB");
    // Overlong forms, surrogates, code points past U+10FFFF and cut sequences are not UTF-8.
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"})
        EXPECT_FALSE(ui::isValidUtf8(bad)) << bad;
    EXPECT_TRUE(ui::isValidUtf8("\xF0\x9F\x98\x80"));
}
} // namespace
