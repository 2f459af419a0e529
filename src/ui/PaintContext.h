#pragma once

#include "host/Kdr_String.h"
#include "ui/Bitmap.h"
#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Geometry.h"
#include "ui/WinDefs.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui
{
class Window;

/// What one drawing step does.
enum class DrawKind
{
    FillRect,       ///< `rect` filled with `colour`
    FrameRect,      ///< the outline of `rect`, `thickness` pixels wide, in `colour`
    FocusRect,      ///< the dotted focus outline of `rect`
    Line,           ///< from `from` to `to` (both included), `thickness` wide, in `colour`
    Text,           ///< `text` in `font` and `colour` inside `rect`, aligned by `format`
    Bitmap,         ///< `bitmap` stretched to `rect`; pixels `mask` marks transparent are skipped
    TrackerHandles, ///< a selection outline of `rect` with `handleSize` handles, CRectTracker `trackerStyle`
};

/// One drawing step, in the client coordinates of the painted window. Only the fields its
/// kind names are meaningful.
struct DrawOp
{
    DrawKind kind = DrawKind::FillRect;
    Rect rect;
    Point from;
    Point to;
    COLORREF colour = 0;
    int thickness = 1;
    Kdr_String text;
    Font font;
    /// DT_… alignment of a text.
    unsigned format = 0;
    /// Whether a text is drawn on `background` (OPAQUE) or over what is there (TRANSPARENT).
    int backgroundMode = OPAQUE;
    COLORREF background = 0;
    std::shared_ptr<const Bitmap> bitmap;
    std::shared_ptr<const BitmapMask> mask;
    int handleSize = 0;
    unsigned trackerStyle = 0;
};

/// Everything a window drew the last time it was painted, in drawing order. A renderer
/// replays it; tests assert on it.
struct DisplayList
{
    std::vector<DrawOp> ops;

    std::size_t size() const { return ops.size(); }
    bool empty() const { return ops.empty(); }
    /// The steps of one kind, in order.
    std::vector<const DrawOp*> ofKind(DrawKind kind) const;
    /// The texts drawn, in order.
    std::vector<std::string> texts() const;
    /// One line per step ("fill 0,0,120,80 #F0F0F0", "text \"OK\" 10,4,60,20 #000000 transparent",
    /// "bitmap 0,0,64,48 16x12 masked", "handles 10,10,40,30 size 7", …), for failure messages
    /// and whole-list assertions.
    std::vector<std::string> describe() const;
};

/// A brush as OnCtlColor answers it: the default of the control, a solid colour, or the hollow
/// brush that leaves the background untouched (a transparent label).
struct Brush
{
    enum class Style
    {
        Default,
        Solid,
        Hollow,
    };
    Style style = Style::Default;
    COLORREF colour = 0;

    static Brush solid(COLORREF colour) { return {Style::Solid, colour}; }
    static Brush hollow() { return {Style::Hollow, 0}; }
    friend bool operator==(const Brush&, const Brush&) = default;
};

/// The drawing context handed to OnEraseBkgnd, OnPaint and OnCtlColor: a device context that
/// records instead of drawing. Text colour, background colour and mode, font and pen are
/// state, as on the platform, and each recorded step carries the state it was drawn with.
class PaintContext
{
public:
    PaintContext() = default;
    /// A context for `window`: its font becomes the selected font.
    explicit PaintContext(const Window& window);

    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return textColour_; }
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const { return background_; }
    /// TRANSPARENT or OPAQUE; returns the previous mode.
    int SetBkMode(int mode);
    int GetBkMode() const { return backgroundMode_; }
    /// Selects a font for the texts that follow; returns the previous one.
    Font SelectFont(const Font& font);
    const Font& font() const { return font_; }
    /// Selects the pen for lines; returns the previous colour.
    COLORREF SelectPen(COLORREF colour, int thickness = 1);

    void FillSolidRect(const Rect& rect, COLORREF colour);
    /// Fills with a brush as OnCtlColor answers it; the hollow brush draws nothing and the
    /// default brush stands for `fallback`.
    void FillRect(const Rect& rect, const Brush& brush, COLORREF fallback);
    void FrameRect(const Rect& rect, COLORREF colour, int thickness = 1);
    void DrawFocusRect(const Rect& rect);
    void MoveTo(Point point) { position_ = point; }
    /// A line from the current position to `point` with the selected pen; `point` becomes the
    /// current position.
    void LineTo(Point point);
    /// A text with its top-left corner at (x, y); the text box is as wide as the text needs
    /// at 6 pixels a character and as high as the font.
    void TextOut(int x, int y, std::string_view text);
    void DrawText(std::string_view text, const Rect& rect, unsigned format);
    /// Draws a bitmap stretched to `rect`, through `mask` when given.
    void DrawBitmap(std::shared_ptr<const Bitmap> bitmap, const Rect& rect,
                    std::shared_ptr<const BitmapMask> mask = {});
    /// The selection outline and sizing handles of a rectangle tracker.
    void DrawTrackerHandles(const Rect& rect, int handleSize, unsigned trackerStyle);

    const DisplayList& list() const { return list_; }
    /// Hands the recorded list over and starts an empty one.
    DisplayList take();

private:
    DrawOp& add(DrawKind kind, const Rect& rect);

    DisplayList list_;
    COLORREF textColour_ = RGB(0, 0, 0);
    COLORREF background_ = RGB(255, 255, 255);
    int backgroundMode_ = OPAQUE;
    Font font_;
    COLORREF pen_ = RGB(0, 0, 0);
    int penThickness_ = 1;
    Point position_;
};
} // namespace ui
