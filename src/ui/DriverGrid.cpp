// The Driver's grid actions: clicks, typing and choices in the cells of a grid control, sent
// through the grid's own mouse and keyboard handlers.

#include "ui/Driver.h"
#include "ui/GridControl.h"
#include "ui/Input.h"
#include "ui/MessageLoop.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace ui
{
namespace
{
std::string cellName(int col, int row)
{
    auto index = [](int i) { return i == kGridHeader ? std::string("header") : std::to_string(i); };
    return "(" + index(col) + ", " + index(row) + ")";
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) {
                                                  return std::tolower(static_cast<unsigned char>(x)) ==
                                                         std::tolower(static_cast<unsigned char>(y));
                                              });
}

/// Sends the characters of `text` to the window one by one, as typed.
void typeCharacters(Window& window, std::string_view text)
{
    const WindowHandle handle = window.GetSafeHwnd();
    for (char c : text)
    {
        Window* target = Window::FromHandle(handle);
        if (target == nullptr)
            return;
        Message character{target, WM_CHAR, static_cast<unsigned char>(c), 0};
        dispatchInput(character);
    }
}
} // namespace

GridControl* Driver::reachableGrid(int id, const char* action) const
{
    Window* control = reachable(id, action);
    if (control == nullptr)
        return nullptr;
    auto* grid = dynamic_cast<GridControl*>(control);
    if (grid == nullptr)
        fail(std::string(action) + " " + std::to_string(id) + ": not a grid");
    return grid;
}

bool Driver::mouseOnCell(int id, int col, int row, bool right, const char* action)
{
    DispatchScope scope;
    GridControl* grid = reachableGrid(id, action);
    if (grid == nullptr)
        return false;
    Rect rect;
    if (!grid->revealCell(col, row, rect))
        return fail(std::string(action) + " " + std::to_string(id) + ": no cell " + cellName(col, row));
    Window* window = dynamic_cast<Window*>(grid);
    const WindowHandle handle = window->GetSafeHwnd();
    const Point point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const std::intptr_t where = MAKELPARAM(point.x, point.y);
    Message down{window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, where};
    dispatchInput(down);
    if (Window* w = Window::FromHandle(handle))
    {
        Message up{w, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, where};
        dispatchInput(up);
    }
    if (right)
        if (Window* w = Window::FromHandle(handle))
        {
            Point screen = point;
            w->ClientToScreen(screen);
            w->SendMessage(WM_CONTEXTMENU, handle, MAKELPARAM(screen.x, screen.y));
        }
    settle();
    return true;
}

bool Driver::clickCell(int id, int col, int row)
{
    return mouseOnCell(id, col, row, false, "click cell in");
}

bool Driver::clickHeader(int id, int col)
{
    return mouseOnCell(id, col, kGridHeader, false, "click header in");
}

bool Driver::clickRowHeader(int id, int row)
{
    return mouseOnCell(id, kGridHeader, row, false, "click row header in");
}

bool Driver::rightClickCell(int id, int col, int row)
{
    return mouseOnCell(id, col, row, true, "right-click cell in");
}

bool Driver::typeInGrid(int id, std::string_view text)
{
    DispatchScope scope;
    GridControl* grid = reachableGrid(id, "type in grid");
    if (grid == nullptr)
        return false;
    Window* window = dynamic_cast<Window*>(grid);
    const WindowHandle handle = window->GetSafeHwnd();
    if (Window::GetFocus() != window)
        window->SetFocus();
    if (Window* w = Window::FromHandle(handle))
        typeCharacters(*w, text);
    settle();
    return true;
}

bool Driver::editCell(int id, int col, int row, std::string_view text)
{
    GridControl* grid = reachableGrid(id, "edit cell in");
    if (grid == nullptr)
        return false;
    const std::string where = "edit cell in " + std::to_string(id) + ": cell " + cellName(col, row);
    if (!grid->isCellEditable(col, row))
        return fail(where + " cannot be typed into");
    if (!clickCell(id, col, row) || !typeInGrid(id, text))
        return false;
    grid = reachableGrid(id, "edit cell in");
    if (grid == nullptr)
        return false;
    if (!grid->isEditing())
        return fail(where + ": the typing did not open the cell editor");
    if (!pressKey(VK_RETURN))
        return false;
    grid = reachableGrid(id, "edit cell in");
    if (grid == nullptr)
        return false;
    if (grid->isEditing())
        return fail(where + ": Enter did not close the cell editor");
    return !grid->lastEditRefused() || fail(where + " refused \"" + std::string(text) + "\"");
}

bool Driver::chooseInComboCell(int id, int col, int row, std::string_view itemText)
{
    GridControl* grid = reachableGrid(id, "choose in cell of");
    if (grid == nullptr)
        return false;
    const std::string where = "choose in cell of " + std::to_string(id) + ": cell " + cellName(col, row);
    std::vector<std::string> items;
    if (!grid->comboCellItems(col, row, items))
        return fail(where + " is no combo cell");
    const auto found =
        std::find_if(items.begin(), items.end(),
                     [&](const std::string& item) { return equalIgnoringCase(item, itemText); });
    if (found == items.end())
        return fail(where + " has no item \"" + std::string(itemText) + "\"");
    if (!clickCell(id, col, row))
        return false;
    DispatchScope scope;
    grid = reachableGrid(id, "choose in cell of");
    if (grid == nullptr)
        return false;
    const bool taken = grid->chooseComboItemAsUser(static_cast<int>(found - items.begin()));
    settle();
    return taken || fail(where + ": the choice was not taken");
}

bool Driver::pressKeyInGrid(int id, unsigned key, bool shift, bool control)
{
    {
        DispatchScope scope;
        GridControl* grid = reachableGrid(id, "press key in grid");
        if (grid == nullptr)
            return false;
        Window* window = dynamic_cast<Window*>(grid);
        if (Window::GetFocus() != window)
            window->SetFocus();
        if (Window::GetFocus() != window)
            return fail("press key in grid " + std::to_string(id) + ": the grid does not take the focus");
    }
    return pressKey(key, shift, control);
}
} // namespace ui
