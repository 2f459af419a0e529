#include "designer/CMultiRectTracker.h"

#include "ui/Cursor.h"
#include "ui/PaintContext.h"

#include <algorithm>

void CMultiRectTracker::add(CControlRect* rect)
{
    if (rect != nullptr && std::find(known_.begin(), known_.end(), rect) == known_.end())
        known_.push_back(rect);
}

void CMultiRectTracker::remove(CControlRect* rect)
{
    std::erase(known_, rect);
    std::erase(selected_, rect);
    if (current_ == rect)
        current_ = selected_.empty() ? nullptr : selected_.back();
}

void CMultiRectTracker::removeAll()
{
    cancel();
    known_.clear();
    clear();
}

void CMultiRectTracker::clear()
{
    selected_.clear();
    current_ = nullptr;
}

void CMultiRectTracker::select(CControlRect* rect)
{
    if (rect == nullptr || std::find(known_.begin(), known_.end(), rect) == known_.end())
        return;
    if (!isSelected(rect))
        selected_.push_back(rect);
    current_ = rect;
}

bool CMultiRectTracker::isSelected(const CControlRect* rect) const
{
    return std::find(selected_.begin(), selected_.end(), rect) != selected_.end();
}

std::vector<ui::Window*> CMultiRectTracker::getSelectedWindows() const
{
    std::vector<ui::Window*> windows;
    for (const CControlRect* rect : selected_)
        if (ui::Window* window = rect->window())
            windows.push_back(window);
    return windows;
}

ui::Window* CMultiRectTracker::getCurWindow() const
{
    return current_ ? current_->window() : nullptr;
}

void CMultiRectTracker::draw(ui::PaintContext& dc) const
{
    for (const CControlRect* rect : selected_)
        dc.DrawTrackerHandles(rect->rect(), CControlRect::kHandleSize, CControlRect::kTrackerStyle);
    if (mode_ == Mode::Band)
        dc.DrawFocusRect(band_);
}

bool CMultiRectTracker::setCursor(ui::Point point) const
{
    for (auto it = selected_.rbegin(); it != selected_.rend(); ++it)
    {
        ui::Cursor shape = ui::Cursor::Arrow;
        switch ((*it)->hitTest(point))
        {
        case CControlRect::hitNothing:
            continue;
        case CControlRect::hitTopLeft:
        case CControlRect::hitBottomRight:
            shape = ui::Cursor::SizeNWSE;
            break;
        case CControlRect::hitTopRight:
        case CControlRect::hitBottomLeft:
            shape = ui::Cursor::SizeNESW;
            break;
        case CControlRect::hitTop:
        case CControlRect::hitBottom:
            shape = ui::Cursor::SizeNS;
            break;
        case CControlRect::hitLeft:
        case CControlRect::hitRight:
            shape = ui::Cursor::SizeWE;
            break;
        case CControlRect::hitMiddle:
            shape = ui::Cursor::SizeAll;
            break;
        }
        SetCursor(shape);
        return true;
    }
    return false;
}

CControlRect* CMultiRectTracker::rectAt(ui::Point point) const
{
    // The last rectangle drawn lies on top.
    for (auto it = known_.rbegin(); it != known_.rend(); ++it)
        if ((*it)->hitTest(point) != CControlRect::hitNothing)
            return *it;
    return nullptr;
}

void CMultiRectTracker::onLButtonDown(unsigned flags, ui::Point point)
{
    ui::Window* owner = dialog();
    start_ = last_ = point;
    const bool toggle = (flags & MK_CONTROL) != 0;
    const bool extend = (flags & MK_SHIFT) != 0;
    // A handle of the current rectangle sizes it.
    if (current_ != nullptr && !toggle && !extend)
    {
        const CControlRect::Hit hit = current_->hitTest(point);
        if (hit != CControlRect::hitNothing && hit != CControlRect::hitMiddle)
        {
            mode_ = Mode::Size;
            sizing_ = hit;
        }
    }
    if (mode_ != Mode::Size)
    {
        if (CControlRect* rect = rectAt(point))
        {
            if (toggle && isSelected(rect))
            {
                std::erase(selected_, rect);
                current_ = selected_.empty() ? nullptr : selected_.back();
                mode_ = Mode::None;
            }
            else
            {
                if (!toggle && !extend && !isSelected(rect))
                    clear();
                select(rect);
                mode_ = Mode::Move;
            }
        }
        else
        {
            if (!toggle && !extend)
                clear();
            mode_ = Mode::Band;
            band_ = ui::Rect(point.x, point.y, point.x, point.y);
        }
    }
    if (mode_ != Mode::None && owner != nullptr)
        owner->SetCapture();
    repaint();
}

void CMultiRectTracker::onMouseMove(unsigned, ui::Point point)
{
    const int dx = point.x - last_.x;
    const int dy = point.y - last_.y;
    switch (mode_)
    {
    case Mode::None:
        return;
    case Mode::Move:
        for (CControlRect* rect : selected_)
        {
            ui::Rect r = rect->rect();
            r.OffsetRect(dx, dy);
            rect->setRect(r);
        }
        break;
    case Mode::Size:
        if (current_ != nullptr)
        {
            ui::Rect r = current_->rect();
            switch (sizing_)
            {
            case CControlRect::hitTopLeft:
                r.left += dx;
                r.top += dy;
                break;
            case CControlRect::hitTopRight:
                r.right += dx;
                r.top += dy;
                break;
            case CControlRect::hitBottomRight:
                r.right += dx;
                r.bottom += dy;
                break;
            case CControlRect::hitBottomLeft:
                r.left += dx;
                r.bottom += dy;
                break;
            case CControlRect::hitTop:
                r.top += dy;
                break;
            case CControlRect::hitRight:
                r.right += dx;
                break;
            case CControlRect::hitBottom:
                r.bottom += dy;
                break;
            case CControlRect::hitLeft:
                r.left += dx;
                break;
            default:
                break;
            }
            current_->setRect(r);
        }
        break;
    case Mode::Band:
        band_ = ui::Rect(std::min(start_.x, point.x), std::min(start_.y, point.y),
                         std::max(start_.x, point.x), std::max(start_.y, point.y));
        break;
    }
    last_ = point;
    repaint();
}

void CMultiRectTracker::onLButtonUp(unsigned flags, ui::Point point)
{
    if (mode_ == Mode::None)
        return;
    onMouseMove(flags, point);
    if (mode_ == Mode::Band)
        for (CControlRect* rect : known_)
        {
            const ui::Rect r = rect->rect();
            if (r.left >= band_.left && r.right <= band_.right && r.top >= band_.top &&
                r.bottom <= band_.bottom)
                select(rect);
        }
    mode_ = Mode::None;
    if (ui::Window::GetCapture() == dialog() && dialog() != nullptr)
        ReleaseCapture();
    repaint();
}

void CMultiRectTracker::cancel()
{
    if (mode_ == Mode::None)
        return;
    mode_ = Mode::None;
    repaint();
}

void CMultiRectTracker::repaint() const
{
    if (ui::Window* owner = dialog())
        owner->Invalidate();
}
