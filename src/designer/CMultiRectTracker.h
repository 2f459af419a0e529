#pragma once

#include "designer/CControlRect.h"

#include <vector>

namespace ui
{
class PaintContext;
}

/// The designer's selection: the control rectangles it knows, the selected ones in the order
/// they were selected, and the current (last selected) one. With the mouse it selects (Ctrl
/// toggles, Shift adds), moves the selection, sizes the current rectangle by a handle and
/// selects by rubber band; it draws the handles and sets the sizing cursors.
///
/// Mouse points are client coordinates of the dialog it is attached to; the dialog passes
/// press, move, release and the loss of the capture on to it.
class CMultiRectTracker
{
public:
    void attach(ui::Window* dialog) { dialog_ = dialog ? dialog->GetSafeHwnd() : 0; }
    ui::Window* dialog() const { return ui::Window::FromHandle(dialog_); }

    /// Adds a rectangle the tracker may select (not selected yet).
    void add(CControlRect* rect);
    /// Forgets a rectangle (and drops it from the selection).
    void remove(CControlRect* rect);
    /// Forgets every rectangle.
    void removeAll();
    /// Empties the selection.
    void clear();
    /// Selects a known rectangle (it becomes the current one).
    void select(CControlRect* rect);
    bool isSelected(const CControlRect* rect) const;

    /// The selected windows in selection order.
    std::vector<ui::Window*> getSelectedWindows() const;
    /// The current window, or null.
    ui::Window* getCurWindow() const;

    void draw(ui::PaintContext& dc) const;
    /// Sets a sizing or moving cursor when the pointer (dialog client coordinates) is over a
    /// selected rectangle; true when it did.
    bool setCursor(ui::Point point) const;

    /// A press: on a handle of a selected rectangle starts sizing it, on a rectangle selects
    /// it (Ctrl toggles, Shift adds) and starts moving the selection, elsewhere clears the
    /// selection (unless Shift or Ctrl is held) and starts a rubber band.
    void onLButtonDown(unsigned flags, ui::Point point);
    void onMouseMove(unsigned flags, ui::Point point);
    void onLButtonUp(unsigned flags, ui::Point point);
    /// Ends a drag where it is.
    void cancel();
    bool isTracking() const { return mode_ != Mode::None; }

private:
    enum class Mode
    {
        None,
        Move,
        Size,
        Band,
    };
    CControlRect* rectAt(ui::Point point) const;
    void repaint() const;

    ui::WindowHandle dialog_ = 0;
    std::vector<CControlRect*> known_;
    std::vector<CControlRect*> selected_;
    CControlRect* current_ = nullptr;
    Mode mode_ = Mode::None;
    CControlRect::Hit sizing_ = CControlRect::hitNothing;
    ui::Point start_;
    ui::Point last_;
    ui::Rect band_;
};
