#pragma once

#include "ui/Geometry.h"
#include "ui/Window.h"

#include <string>
#include <vector>

namespace ui
{
/// Notification codes a grid control sends its parent as WM_NOTIFY, with a GridNotify as the
/// header. Every one is sent after the grid has changed, so a handler that reads the grid
/// (its active cell, a cell's text) sees the new state. Only what a person does with the
/// mouse and the keyboard sends them; setting cells or the active cell from code sends none.
enum GridNotification : int
{
    GRIDN_LEAVECELL = 0x509,      ///< the active cell moved: (col, row) → (newCol, newRow)
    GRIDN_LEAVEROW = 0x50A,       ///< the active cell moved to another row: row → newRow
    GRIDN_HEADERCLICK = 0x50B,    ///< a header cell was clicked; the header index is kGridHeader
    GRIDN_CLICK = 0x50C,          ///< a body cell was clicked (it is the active cell by then)
    GRIDN_RIGHTCLICK = 0x50D,     ///< right button on a cell or header; a nonzero answer keeps
                                  ///< the grid's own context menu away
    GRIDN_BUTTONCLICKED = 0x50E,  ///< a button cell was pressed (click or Space)
    GRIDN_CHECKCLICKED = 0x50F,   ///< a check-box cell was toggled; `index` is the new state
    GRIDN_COMBOSELCHANGE = 0x510, ///< an item of a combo cell was chosen; `index` is the item
    GRIDN_FINDREPLACE = 0x511,    ///< F3 (index 0) or F5 (index 1) with no find handler set
    GRIDN_EDITSTART = 0x515,      ///< the cell editor opened on (col, row)
    GRIDN_CHANGE = 0x516,         ///< the user changed the entry of (col, row)
    GRIDN_EDITEND = 0x517,        ///< the cell editor closed; `changed` tells whether it wrote
    GRIDN_DBLCLICK = 0x518,       ///< a cell was double-clicked
};

/// The index that addresses a grid's column-header row or row-header column.
inline constexpr int kGridHeader = -32767;

/// What a grid tells its parent with each GridNotification.
struct GridNotify : NotifyHeader
{
    int col = 0; ///< the cell concerned (kGridHeader for a header), 0 for none
    int row = 0;
    int newCol = 0; ///< GRIDN_LEAVECELL, GRIDN_LEAVEROW: the new active cell
    int newRow = 0;
    bool changed = false; ///< GRIDN_EDITEND: whether the entry changed
    int index = -1;       ///< GRIDN_COMBOSELCHANGE, GRIDN_CHECKCLICKED, GRIDN_FINDREPLACE
};

/// What a person can reach of a grid control, for the Driver: where a cell is on the screen,
/// whether it can be typed into, and the drop-down list of a combo cell. Clicks and keys go
/// through the grid's ordinary mouse and keyboard handlers; this interface only tells the
/// Driver where to click and offers the one gesture (picking from an open list) that has no
/// message of its own here.
class GridControl
{
public:
    virtual ~GridControl() = default;

    /// Scrolls the cell into view, as a person would before clicking it, and gives its
    /// rectangle in client coordinates. Headers are addressed with kGridHeader. False when the
    /// grid has no such cell or no room to show it.
    virtual bool revealCell(int col, int row, Rect& rect) = 0;
    /// Whether typing into the cell would open the cell editor on it.
    virtual bool isCellEditable(int col, int row) const = 0;
    /// Whether the cell editor is open.
    virtual bool isEditing() const = 0;
    /// Whether the last entry the user tried to write was refused (a number cell given text,
    /// a number out of range); the cell then keeps its previous entry.
    virtual bool lastEditRefused() const = 0;
    /// The items of a combo cell; false when the cell is no combo cell.
    virtual bool comboCellItems(int col, int row, std::vector<std::string>& items) const = 0;
    /// Picks item `index` from the open drop-down list of the active combo cell; false when
    /// the active cell is no unlocked combo cell or has no such item.
    virtual bool chooseComboItemAsUser(int index) = 0;
};
} // namespace ui
