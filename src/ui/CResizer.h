#pragma once

#include "ui/Window.h"

#include <vector>

/// Keeps the controls of a resizable window in place as it grows and shrinks.
///
/// Each control is registered with four factors, one per edge: how much of the change of the
/// parent's client width (left, right) or height (top, bottom) that edge follows. 0 keeps the
/// edge where it was, 1 moves it with the far side, 0.5 keeps it centred. Anchors say the same
/// per side: a control anchored left and right stretches, one anchored right and bottom moves
/// with the bottom-right corner, one with neither side of an axis stays centred on it.
/// Positions are computed from where the control was when it was added, so repeated resizing
/// never drifts.
class CResizer
{
public:
    enum Anchor : unsigned
    {
        anchorLeft = 1,
        anchorTop = 2,
        anchorRight = 4,
        anchorBottom = 8,
        anchorTopLeft = anchorLeft | anchorTop,
        anchorBottomRight = anchorRight | anchorBottom,
        anchorAll = anchorLeft | anchorTop | anchorRight | anchorBottom,
    };

    /// Follows `parent`; false for a window that does not exist.
    bool Attach(ui::Window* parent);
    void Detach();
    bool isAttached() const { return ui::Window::FromHandle(parent_) != nullptr; }

    /// Registers child `id` of the parent with edge factors; its present rectangle and the
    /// parent's present client size are the reference. False when there is no such child.
    bool AddControl(int id, double left, double top, double right, double bottom);
    bool AddControl(int id, unsigned anchors);
    bool RemoveControl(int id);
    int controlCount() const { return static_cast<int>(entries_.size()); }

    /// Places every registered control for the parent's present client size; call it from
    /// the parent's OnSize.
    void Move();

private:
    struct Entry
    {
        int id = 0;
        ui::Rect original;
        ui::Size reference;
        double left = 0;
        double top = 0;
        double right = 0;
        double bottom = 0;
    };

    ui::WindowHandle parent_ = 0;
    std::vector<Entry> entries_;
};
