#pragma once

#include <algorithm>

namespace ui
{
/// A point in pixels.
struct Point
{
    int x = 0;
    int y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

/// A size in pixels.
struct Size
{
    int cx = 0;
    int cy = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

/// A rectangle in pixels; right and bottom lie just outside it, as on the platform.
struct Rect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    Rect() = default;
    Rect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    Rect(Point topLeft, Size size)
        : left(topLeft.x), top(topLeft.y), right(topLeft.x + size.cx), bottom(topLeft.y + size.cy)
    {
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    Size GetSize() const { return {Width(), Height()}; }
    Point TopLeft() const { return {left, top}; }
    Point BottomRight() const { return {right, bottom}; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool PtInRect(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy)
    {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
    }
    /// The overlap of two rectangles; empty (all zero) when they do not meet.
    static Rect intersection(const Rect& a, const Rect& b)
    {
        Rect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom));
        return r.IsRectEmpty() ? Rect() : r;
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

/// Dialog units to pixels: a template's horizontal unit is 1.5 pixels and its vertical unit
/// 1.625 pixels (a base unit of 6 by 13 pixels, divided by 4 and by 8), rounded half away
/// from zero as the platform's multiply-divide does.
int dialogUnitsToPixelsX(int units);
int dialogUnitsToPixelsY(int units);
/// Converts every edge of a rectangle given in dialog units.
Rect dialogUnitsToPixels(const Rect& units);
} // namespace ui
