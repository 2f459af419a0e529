#pragma once

#include "ui/Geometry.h"
#include "ui/Window.h"

/// A rectangle tracker that owns the window of one template control: moving or sizing the
/// tracker moves or sizes the window. The window object belongs to the dialog (which frees
/// it once no message handler still runs on it); the tracker destroys the window when it
/// goes.
class CControlRect
{
public:
    /// Size of the sizing handles in pixels.
    static constexpr int kHandleSize = 7;
    /// Solid outline, handles inside the rectangle (the platform tracker's style bits).
    static constexpr unsigned kTrackerStyle = 0x01u | 0x08u;

    /// Where a point lies on the tracker: nowhere, inside, or on one of the eight handles.
    enum Hit
    {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };

    explicit CControlRect(ui::Window* window);
    ~CControlRect();
    CControlRect(const CControlRect&) = delete;
    CControlRect& operator=(const CControlRect&) = delete;

    /// The control window, or null once it is gone.
    ui::Window* window() const { return ui::Window::FromHandle(handle_); }
    ui::WindowHandle handle() const { return handle_; }
    int id() const;
    /// The window's rectangle in the dialog's client coordinates.
    ui::Rect rect() const;
    /// Moves and sizes the window; the rectangle is normalised first.
    void setRect(const ui::Rect& rect);
    /// Where `point` (dialog client coordinates) lies, handles first.
    Hit hitTest(ui::Point point) const;

private:
    ui::WindowHandle handle_ = 0;
};
