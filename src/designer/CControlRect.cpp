#include "designer/CControlRect.h"

#include <algorithm>

CControlRect::CControlRect(ui::Window* window) : handle_(window ? window->GetSafeHwnd() : 0)
{
}

CControlRect::~CControlRect()
{
    if (ui::Window* control = window())
        control->DestroyWindow();
}

int CControlRect::id() const
{
    const ui::Window* control = window();
    return control ? control->GetDlgCtrlID() : 0;
}

ui::Rect CControlRect::rect() const
{
    const ui::Window* control = window();
    return control ? control->rectInParent() : ui::Rect();
}

void CControlRect::setRect(const ui::Rect& rect)
{
    ui::Window* control = window();
    if (control == nullptr)
        return;
    const ui::Rect normal(std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                          std::max(rect.left, rect.right), std::max(rect.top, rect.bottom));
    control->MoveWindow(normal);
}

CControlRect::Hit CControlRect::hitTest(ui::Point point) const
{
    const ui::Rect r = rect();
    const int h = kHandleSize;
    const int midX = r.left + (r.Width() - h) / 2;
    const int midY = r.top + (r.Height() - h) / 2;
    // Handles lie inside the rectangle; a tiny control is still moved from its middle.
    const struct
    {
        Hit hit;
        ui::Rect box;
    } handles[] = {
        {hitTopLeft, ui::Rect(r.left, r.top, r.left + h, r.top + h)},
        {hitTopRight, ui::Rect(r.right - h, r.top, r.right, r.top + h)},
        {hitBottomRight, ui::Rect(r.right - h, r.bottom - h, r.right, r.bottom)},
        {hitBottomLeft, ui::Rect(r.left, r.bottom - h, r.left + h, r.bottom)},
        {hitTop, ui::Rect(midX, r.top, midX + h, r.top + h)},
        {hitRight, ui::Rect(r.right - h, midY, r.right, midY + h)},
        {hitBottom, ui::Rect(midX, r.bottom - h, midX + h, r.bottom)},
        {hitLeft, ui::Rect(r.left, midY, r.left + h, midY + h)},
    };
    if (!r.PtInRect(point))
        return hitNothing;
    if (r.Width() >= 3 * h && r.Height() >= 2 * h)
        for (const auto& handle : handles)
            if (handle.box.PtInRect(point))
                return handle.hit;
    return hitMiddle;
}
