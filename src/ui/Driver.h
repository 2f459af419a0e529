#pragma once

#include "host/Kdr_String.h"
#include "ui/Window.h"

#include <functional>
#include <string>
#include <string_view>

namespace ui
{
class Dialog;
class GridControl;

/// Acts on a window the way a user does: clicks, types, chooses, presses keys, resizes and
/// closes. Every action works on what the user could reach — a control that is missing,
/// hidden or disabled, or a modal dialog that has already ended, fails the action; the failure
/// goes to the failure handler (a test failure under a scripted agent) and the action returns
/// false. Messages posted by an action are delivered before it returns.
class Driver
{
public:
    using FailureHandler = std::function<void(const std::string&)>;

    explicit Driver(Window& window, FailureHandler onFailure = {});

    /// The window driven, or null once it is gone.
    Window* window() const;
    Dialog* dialog() const;
    /// The control `id` as the user sees it: the first visible descendant with that id,
    /// else the first one.
    Window* item(int id) const;
    template <typename T> T* itemAs(int id) const { return dynamic_cast<T*>(item(id)); }

    /// Focuses and clicks a button (or a notifying static).
    bool click(int id);
    /// Clicks an automatic check box until it shows `state`.
    bool setCheck(int id, int state);
    /// Focuses an edit field or an editable combo box and replaces its text as typed.
    bool type(int id, std::string_view text);
    /// Focuses a combo box and picks the item equal to `itemText` (letter case ignored).
    bool choose(int id, std::string_view itemText);
    bool chooseIndex(int id, int index);
    /// Toggles the check mark of an item of a check-list combo box.
    bool toggleItemCheck(int id, int index);
    /// Clicks a tab of a tab control.
    bool selectTab(int id, int index);
    bool focus(int id);
    /// Presses and releases a key on the focused window (the driven window when the focus
    /// is elsewhere), holding Shift and Control as asked.
    bool pressKey(unsigned key, bool shift = false, bool control = false);
    /// Closes the window with its close box.
    bool close();
    /// Drags the window's frame to a new size (held to its minimum size).
    bool resize(int width, int height);
    /// Mouse clicks at a point of a control's client area (id 0: the driven window).
    bool leftClick(int id, Point point);
    bool rightClick(int id, Point point);

    Kdr_String text(int id) const;
    int check(int id) const;
    /// The selected item of a combo box or tab control; −1 for none or another kind.
    int selection(int id) const;
    bool isEnabled(int id) const;
    bool isVisible(int id) const;

    /// Reports a failure of the script itself.
    bool fail(const std::string& message) const;

private:
    Window* reachable(int id, const char* action) const;
    template <typename T> T* reachableAs(int id, const char* action, const char* kind) const;
    bool ended(const char* action) const;
    void settle() const;

    WindowHandle window_;
    int dialogId_ = 0;
    FailureHandler onFailure_;

    // ---- grid actions (DriverGrid.cpp) -------------------------------------------------
    // Each works on the grid control `id` through its own mouse and keyboard handlers, as a
    // person does; cells and headers are scrolled into view first. Headers are addressed with
    // kGridHeader.
public:
    /// Clicks a cell (or a header cell).
    bool clickCell(int id, int col, int row);
    /// Clicks a column header; clickRowHeader a row header.
    bool clickHeader(int id, int col);
    bool clickRowHeader(int id, int row);
    /// Right-clicks a cell or header cell (then the context menu, when the grid shows one,
    /// goes to the user agent).
    bool rightClickCell(int id, int col, int row);
    /// Clicks the cell, types `text` into it and presses Enter; fails when the cell cannot be
    /// typed into or refuses the entry.
    bool editCell(int id, int col, int row, std::string_view text);
    /// Types into the active cell of the grid without pressing Enter.
    bool typeInGrid(int id, std::string_view text);
    /// Clicks a combo cell and picks the item equal to `itemText` (letter case ignored) from
    /// its drop-down list.
    bool chooseInComboCell(int id, int col, int row, std::string_view itemText);
    /// Focuses the grid (without moving its active cell) and presses a key there.
    bool pressKeyInGrid(int id, unsigned key, bool shift = false, bool control = false);

private:
    GridControl* reachableGrid(int id, const char* action) const;
    bool mouseOnCell(int id, int col, int row, bool right, const char* action);
};
} // namespace ui
