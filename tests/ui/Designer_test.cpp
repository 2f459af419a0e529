// A small layout designer built on the toolkit: controls lie disabled over a background
// picture, so the mouse reaches the dialog, which selects, drags and rubber-band selects them
// and draws tracker handles. The tests use it only through the mouse and the keyboard.

#include "UiTestSupport.h"
#include "ui/Dialog.h"
#include "ui/Driver.h"
#include "ui/Input.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
using ui::Point;
using ui::Rect;

constexpr int kBeam = 101;
constexpr int kColumn = 102;
constexpr int kLength = 103;
constexpr int kHandle = 7;
constexpr unsigned kTrackerStyle = 0x01 | 0x08; // solid line, handles inside

std::string idList(const std::vector<int>& ids)
{
    std::string out;
    for (int id : ids)
        out += (out.empty() ? "" : " ") + std::to_string(id);
    return out;
}

class DesignerDialog : public ui::Dialog
{
public:
    /// What the dialog made of the user's actions, one line each.
    std::vector<std::string> received;
    std::vector<int> selection;

protected:
    bool OnInitDialog() override
    {
        ui::Bitmap picture(160, 100, RGB(255, 255, 255));
        picture.fillRect(Rect(0, 45, 160, 55), RGB(0, 0, 128)); // a beam across the picture
        picture.fillRect(Rect(70, 0, 80, 100), RGB(128, 0, 0)); // and a column
        image_ = std::make_shared<const ui::Bitmap>(std::move(picture));
        mask_ = std::make_shared<const ui::BitmapMask>(image_->maskFor(RGB(255, 255, 255)));
        place(kBeam, Rect(20, 20, 80, 36));
        place(kColumn, Rect(20, 60, 80, 76));
        place(kLength, Rect(120, 20, 180, 40));
        return false;
    }

    bool OnEraseBkgnd(ui::PaintContext& dc) override
    {
        dc.FillSolidRect(GetClientRect(), GetSysColor(COLOR_BTNFACE));
        dc.DrawBitmap(image_, Rect(Point{0, 0}, image_->size()), mask_);
        return true;
    }

    void OnPaint(ui::PaintContext& dc) override
    {
        for (int id : selection)
            dc.DrawTrackerHandles(rectOf(id), kHandle, kTrackerStyle);
        if (mode_ == Mode::Band)
            dc.DrawFocusRect(band_);
    }

    ui::Brush OnCtlColor(ui::PaintContext& dc, ui::Window*, unsigned ctlColor) override
    {
        if (ctlColor != CTLCOLOR_STATIC)
            return {};
        dc.SetBkMode(TRANSPARENT);
        return ui::Brush::hollow();
    }

    bool OnSetCursor(ui::Window*, unsigned hitTest, unsigned) override
    {
        if (hitTest != HTCLIENT)
            return false;
        Point p;
        GetCursorPos(&p);
        ScreenToClient(p);
        ui::Cursor shape = ui::Cursor::Arrow;
        for (int id : selection)
        {
            const Rect r = rectOf(id);
            if (Rect(r.right - kHandle, r.bottom - kHandle, r.right, r.bottom).PtInRect(p))
                shape = ui::Cursor::SizeNWSE;
            else if (r.PtInRect(p) && shape == ui::Cursor::Arrow)
                shape = ui::Cursor::SizeAll;
        }
        SetCursor(shape);
        return true;
    }

    void OnLButtonDown(unsigned flags, Point p) override
    {
        received.push_back("press " + std::to_string(p.x) + "," + std::to_string(p.y));
        SetCapture();
        const int id = controlAt(p);
        if (id != 0)
        {
            const bool selected = std::find(selection.begin(), selection.end(), id) != selection.end();
            if ((flags & MK_CONTROL) != 0)
                selected ? std::erase(selection, id) : (selection.push_back(id), 0);
            else if (!selected)
                selection = {id};
            mode_ = Mode::Move;
            start_ = last_ = p;
        }
        else
        {
            if ((flags & MK_SHIFT) == 0)
                selection.clear();
            mode_ = Mode::Band;
            start_ = p;
            band_ = Rect(p.x, p.y, p.x, p.y);
        }
        Invalidate();
    }

    void OnMouseMove(unsigned, Point p) override
    {
        if (mode_ == Mode::Move)
        {
            const Rect client = GetClientRect();
            for (int id : selection)
            {
                // Controls stay inside the drawing area, however far the pointer goes.
                Rect r = rectOf(id);
                const int x = std::clamp(r.left + p.x - last_.x, 0, client.right - r.Width());
                const int y = std::clamp(r.top + p.y - last_.y, 0, client.bottom - r.Height());
                r.OffsetRect(x - r.left, y - r.top);
                GetDlgItem(id)->MoveWindow(r);
            }
            last_ = p;
            Invalidate();
        }
        else if (mode_ == Mode::Band)
        {
            band_ = Rect(std::min(start_.x, p.x), std::min(start_.y, p.y), std::max(start_.x, p.x),
                         std::max(start_.y, p.y));
            Invalidate();
        }
    }

    void OnLButtonUp(unsigned, Point p) override
    {
        OnMouseMove(MK_LBUTTON, p);
        if (mode_ == Mode::Move)
            received.push_back("moved " + idList(selection) + " to " + corners());
        else if (mode_ == Mode::Band)
        {
            for (ui::Window* c : children())
            {
                const Rect r = c->rectInParent();
                if (r.left >= band_.left && r.right <= band_.right && r.top >= band_.top &&
                    r.bottom <= band_.bottom &&
                    std::find(selection.begin(), selection.end(), c->GetDlgCtrlID()) == selection.end())
                    selection.push_back(c->GetDlgCtrlID());
            }
            received.push_back("selected " + idList(selection));
        }
        mode_ = Mode::None;
        ReleaseCapture();
        Invalidate();
    }

    void OnCaptureChanged(ui::Window*) override
    {
        // Losing the mouse in the middle of a drag ends it where it is.
        if (mode_ != Mode::None)
            received.push_back("drag cancelled");
        mode_ = Mode::None;
        Invalidate();
    }

    void OnKeyDown(unsigned key) override
    {
        if (key == VK_DELETE && !selection.empty())
        {
            received.push_back("deleted " + idList(selection));
            for (int id : selection)
                GetDlgItem(id)->DestroyWindow();
            selection.clear();
        }
        else if (key == VK_RIGHT || key == VK_DOWN)
        {
            for (int id : selection)
            {
                Rect r = rectOf(id);
                r.OffsetRect(key == VK_RIGHT ? 1 : 0, key == VK_DOWN ? 1 : 0);
                GetDlgItem(id)->MoveWindow(r);
            }
            received.push_back("nudged " + idList(selection));
        }
        Invalidate();
    }

private:
    enum class Mode
    {
        None,
        Move,
        Band,
    };

    void place(int id, const Rect& r)
    {
        ui::Window* c = GetDlgItem(id);
        c->MoveWindow(r);
        c->EnableWindow(false);
    }
    Rect rectOf(int id) const { return GetDlgItem(id)->rectInParent(); }
    int controlAt(Point p) const
    {
        for (ui::Window* c : children())
            if (c->rectInParent().PtInRect(p))
                return c->GetDlgCtrlID();
        return 0;
    }
    std::string corners() const
    {
        std::string out;
        for (int id : selection)
        {
            const Rect r = rectOf(id);
            out += (out.empty() ? "" : " ") + std::to_string(r.left) + "," + std::to_string(r.top);
        }
        return out;
    }

    std::shared_ptr<const ui::Bitmap> image_;
    std::shared_ptr<const ui::BitmapMask> mask_;
    Mode mode_ = Mode::None;
    Point start_;
    Point last_;
    Rect band_;
};

class DesignerTest : public uitest::UiTest
{
protected:
    DesignerTest()
    {
        ui::DialogTemplate t(9001, "Designer", 0, 0, 160, 100);
        t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        t.ltext(kBeam, "Beam", 0, 0, 10, 10)
            .ltext(kColumn, "Column", 0, 0, 10, 10)
            .editText(kLength, 0, 0, 10, 10);
        EXPECT_TRUE(dialog.CreateIndirect(t));
        ui::MessageLoop::instance().pump();
    }
    ~DesignerTest() override { dialog.DestroyWindow(); }

    std::vector<std::string> painted() const { return dialog.displayList().describe(); }
    std::string background() const
    {
        return "fill 0,0," + std::to_string(dialog.GetClientRect().right) + "," +
               std::to_string(dialog.GetClientRect().bottom) + " #F0F0F0";
    }

    DesignerDialog dialog;
};

TEST_F(DesignerTest, DraggingAControlAcrossThePictureMovesItAndDrawsItsHandles)
{
    ASSERT_GE(dialog.GetClientRect().right, 200);
    EXPECT_EQ(painted(), (std::vector<std::string>{background(), "bitmap 0,0,160,100 160x100 masked"}));
    EXPECT_EQ(dialog.GetDlgItem(kBeam)->displayList().describe(),
              (std::vector<std::string>{"text \"Beam\" 0,0,60,16 #6D6D6D transparent"}))
        << "a disabled label shows the picture behind it";

    ui::Driver driver(dialog);
    ASSERT_TRUE(driver.drag(0, {50, 28}, {90, 48}));
    EXPECT_EQ(dialog.received, (std::vector<std::string>{"press 50,28", "moved 101 to 60,40"}));
    EXPECT_EQ(dialog.GetDlgItem(kBeam)->rectInParent(), Rect(60, 40, 120, 56));
    EXPECT_EQ(painted(), (std::vector<std::string>{background(), "bitmap 0,0,160,100 160x100 masked",
                                                   "handles 60,40,120,56 size 7"}));
    EXPECT_EQ(dialog.displayList().ops.back().trackerStyle, kTrackerStyle);
    EXPECT_EQ(ui::Window::GetCapture(), nullptr);

    // The cursor tells what a press would do over the selection.
    driver.mouseMove(0, {90, 48});
    EXPECT_EQ(ui::currentCursor(), ui::Cursor::SizeAll);
    driver.mouseMove(0, {118, 54});
    EXPECT_EQ(ui::currentCursor(), ui::Cursor::SizeNWSE);
    driver.mouseMove(0, {5, 90});
    EXPECT_EQ(ui::currentCursor(), ui::Cursor::Arrow);
}

TEST_F(DesignerTest, RubberBandSelectsTheControlsInsideItAndKeysActOnThem)
{
    ui::Driver driver(dialog);
    ASSERT_TRUE(driver.drag(0, {10, 10}, {100, 90}));
    EXPECT_EQ(dialog.received, (std::vector<std::string>{"press 10,10", "selected 101 102"}));
    EXPECT_EQ(painted(),
              (std::vector<std::string>{background(), "bitmap 0,0,160,100 160x100 masked",
                                        "handles 20,20,80,36 size 7", "handles 20,60,80,76 size 7"}));

    // Ctrl+click takes one out of the selection again; Ctrl+click puts it back.
    ASSERT_TRUE(driver.drag(0, {30, 65}, {30, 65}, MK_CONTROL));
    EXPECT_EQ(dialog.selection, (std::vector<int>{kBeam}));
    ASSERT_TRUE(driver.drag(0, {30, 65}, {30, 65}, MK_CONTROL));
    EXPECT_EQ(dialog.selection, (std::vector<int>{kBeam, kColumn}));

    ASSERT_TRUE(driver.pressKey(VK_RIGHT));
    EXPECT_EQ(dialog.GetDlgItem(kColumn)->rectInParent(), Rect(21, 60, 81, 76));
    ASSERT_TRUE(driver.pressKey(VK_DELETE));
    EXPECT_EQ(dialog.received.back(), "deleted 101 102");
    EXPECT_EQ(dialog.GetDlgItem(kBeam), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(kColumn), nullptr);
    EXPECT_EQ(painted(), (std::vector<std::string>{background(), "bitmap 0,0,160,100 160x100 masked"}));
}

TEST_F(DesignerTest, DragThatLeavesTheWindowEndsConsistently)
{
    ui::Driver driver(dialog);
    const Rect client = dialog.GetClientRect();
    ASSERT_TRUE(driver.drag(0, {150, 30}, {client.right + 300, client.bottom + 300}));
    EXPECT_EQ(dialog.received.back(),
              "moved 103 to " + std::to_string(client.right - 60) + "," + std::to_string(client.bottom - 20));
    EXPECT_EQ(ui::Window::GetCapture(), nullptr);
    EXPECT_EQ(ui::GetKeyState(VK_LBUTTON), 0);

    // Nothing is left half-done: a move afterwards moves nothing, and a band still works.
    const Rect placed = dialog.GetDlgItem(kLength)->rectInParent();
    driver.mouseMove(0, {5, 5});
    EXPECT_EQ(dialog.GetDlgItem(kLength)->rectInParent(), placed);
    ASSERT_TRUE(driver.drag(0, {0, 0}, {client.right, client.bottom}));
    EXPECT_EQ(dialog.received.back(), "selected 101 102 103");

    // Losing the capture in the middle of a drag (another window takes it) cancels the drag.
    ui::Window other;
    ASSERT_TRUE(other.Create("Other", "", WS_POPUP, Rect(0, 0, 10, 10), nullptr, 0));
    struct Thief : ui::WindowObserver
    {
        ui::Window* taker = nullptr;
        void changed(ui::Window& w, ui::Property p) override
        {
            if (p == ui::Property::Rect && taker != nullptr && w.GetDlgCtrlID() == kBeam)
                std::exchange(taker, nullptr)->SetCapture();
        }
    } thief;
    thief.taker = &other;
    ui::WindowObserverScope scope(thief);
    ASSERT_TRUE(driver.drag(0, {30, 25}, {40, 25}));
    EXPECT_EQ(dialog.received.back(), "drag cancelled");
    EXPECT_EQ(ui::Window::GetCapture(), &other);
    ReleaseCapture();
    other.DestroyWindow();
}
} // namespace
