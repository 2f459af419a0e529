#include "ui/PaintContext.h"

#include "ui/Window.h"

#include <cstdio>
#include <utility>

namespace ui
{
namespace
{
// The headless font metrics: an average character is 6 pixels wide.
constexpr int kCharWidth = 6;

std::string rectText(const Rect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::string colourText(COLORREF c)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buffer;
}

int fontPixelHeight(const Font& font)
{
    // A positive height counts the cell, a negative one the character; both read as pixels here.
    const int h = font.height < 0 ? -font.height : font.height;
    return h == 0 ? 13 : h + 5;
}
} // namespace

std::vector<const DrawOp*> DisplayList::ofKind(DrawKind kind) const
{
    std::vector<const DrawOp*> found;
    for (const DrawOp& op : ops)
        if (op.kind == kind)
            found.push_back(&op);
    return found;
}

std::vector<std::string> DisplayList::texts() const
{
    std::vector<std::string> found;
    for (const DrawOp& op : ops)
        if (op.kind == DrawKind::Text)
            found.push_back(op.text);
    return found;
}

std::vector<std::string> DisplayList::describe() const
{
    std::vector<std::string> lines;
    for (const DrawOp& op : ops)
    {
        switch (op.kind)
        {
        case DrawKind::FillRect:
            lines.push_back("fill " + rectText(op.rect) + " " + colourText(op.colour));
            break;
        case DrawKind::FrameRect:
            lines.push_back("frame " + rectText(op.rect) + " " + colourText(op.colour) +
                            (op.thickness != 1 ? " width " + std::to_string(op.thickness) : ""));
            break;
        case DrawKind::FocusRect:
            lines.push_back("focus " + rectText(op.rect));
            break;
        case DrawKind::Line:
            lines.push_back("line " + std::to_string(op.from.x) + "," + std::to_string(op.from.y) + " " +
                            std::to_string(op.to.x) + "," + std::to_string(op.to.y) + " " +
                            colourText(op.colour));
            break;
        case DrawKind::Text:
            lines.push_back(
                "text \"" + op.text + "\" " + rectText(op.rect) + " " + colourText(op.colour) +
                (op.backgroundMode == TRANSPARENT ? " transparent" : " on " + colourText(op.background)));
            break;
        case DrawKind::Bitmap:
            lines.push_back(
                "bitmap " + rectText(op.rect) + " " +
                (op.bitmap ? std::to_string(op.bitmap->width()) + "x" + std::to_string(op.bitmap->height())
                           : std::string("none")) +
                (op.mask ? " masked" : ""));
            break;
        case DrawKind::TrackerHandles:
            lines.push_back("handles " + rectText(op.rect) + " size " + std::to_string(op.handleSize));
            break;
        }
    }
    return lines;
}

PaintContext::PaintContext(const Window& window)
{
    if (const Font* f = window.GetFont())
        font_ = *f;
}

COLORREF PaintContext::SetTextColor(COLORREF colour)
{
    return std::exchange(textColour_, colour & 0xFFFFFF);
}

COLORREF PaintContext::SetBkColor(COLORREF colour)
{
    return std::exchange(background_, colour & 0xFFFFFF);
}

int PaintContext::SetBkMode(int mode)
{
    return std::exchange(backgroundMode_, mode == TRANSPARENT ? TRANSPARENT : OPAQUE);
}

Font PaintContext::SelectFont(const Font& font)
{
    return std::exchange(font_, font);
}

COLORREF PaintContext::SelectPen(COLORREF colour, int thickness)
{
    penThickness_ = thickness < 1 ? 1 : thickness;
    return std::exchange(pen_, colour & 0xFFFFFF);
}

DrawOp& PaintContext::add(DrawKind kind, const Rect& rect)
{
    DrawOp& op = list_.ops.emplace_back();
    op.kind = kind;
    op.rect = rect;
    return op;
}

void PaintContext::FillSolidRect(const Rect& rect, COLORREF colour)
{
    add(DrawKind::FillRect, rect).colour = colour & 0xFFFFFF;
}

void PaintContext::FillRect(const Rect& rect, const Brush& brush, COLORREF fallback)
{
    if (brush.style == Brush::Style::Hollow)
        return;
    FillSolidRect(rect, brush.style == Brush::Style::Solid ? brush.colour : fallback);
}

void PaintContext::FrameRect(const Rect& rect, COLORREF colour, int thickness)
{
    DrawOp& op = add(DrawKind::FrameRect, rect);
    op.colour = colour & 0xFFFFFF;
    op.thickness = thickness < 1 ? 1 : thickness;
}

void PaintContext::DrawFocusRect(const Rect& rect)
{
    add(DrawKind::FocusRect, rect);
}

void PaintContext::LineTo(Point point)
{
    DrawOp& op = add(DrawKind::Line, Rect());
    op.from = position_;
    op.to = point;
    op.colour = pen_;
    op.thickness = penThickness_;
    position_ = point;
}

void PaintContext::TextOut(int x, int y, std::string_view text)
{
    const int width = static_cast<int>(text.size()) * kCharWidth;
    DrawText(text, Rect(x, y, x + width, y + fontPixelHeight(font_)), DT_LEFT | DT_SINGLELINE);
}

void PaintContext::DrawText(std::string_view text, const Rect& rect, unsigned format)
{
    DrawOp& op = add(DrawKind::Text, rect);
    op.text = Kdr_String(text);
    op.font = font_;
    op.colour = textColour_;
    op.format = format;
    op.backgroundMode = backgroundMode_;
    op.background = background_;
}

void PaintContext::DrawBitmap(std::shared_ptr<const Bitmap> bitmap, const Rect& rect,
                              std::shared_ptr<const BitmapMask> mask)
{
    if (!bitmap)
        return;
    DrawOp& op = add(DrawKind::Bitmap, rect);
    op.bitmap = std::move(bitmap);
    op.mask = std::move(mask);
}

void PaintContext::DrawTrackerHandles(const Rect& rect, int handleSize, unsigned trackerStyle)
{
    DrawOp& op = add(DrawKind::TrackerHandles, rect);
    op.handleSize = handleSize;
    op.trackerStyle = trackerStyle;
}

DisplayList PaintContext::take()
{
    return std::exchange(list_, DisplayList{});
}
} // namespace ui
