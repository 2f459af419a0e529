#pragma once

#include "grid/CellFormat.h"
#include "grid/formula/Formula.h"

#include <map>
#include <string>
#include <vector>

namespace grid
{
/// A key bound to one of the control's actions (0 … 2): key code and modifier bits; 0 and 0
/// mean no key.
struct ActionKey
{
    int key = 0;
    int modifiers = 0;
    bool operator==(const ActionKey&) const = default;
};

/// The tips shown over cells: mode (0 off), delay in milliseconds, font and colours.
struct TextTip
{
    int mode = 0;
    int delay = 500;
    Font font;
    Color background = kDefaultColor;
    Color foreground = kDefaultColor;
    bool operator==(const TextTip&) const = default;
};

/// A rectangle of cells (inclusive); an empty selection has col1 = 0.
struct Selection
{
    int col1 = 0;
    int row1 = 0;
    int col2 = 0;
    int row2 = 0;
    bool operator==(const Selection&) const = default;
};

/// The control's own state next to its cells. Plain data: the sheet keeps it, the sheet
/// file stores it (the changes-made flag, redraw and edit mode are transient and not stored).
struct ControlState
{
    /// Control properties by number, a plain map; unset properties read 0. The redraw flag
    /// (8) and the changes-made flag (30) are kept apart (see Sheet::property).
    std::map<int, int> properties;
    /// Further settings by name (grid colours, header modes, …), each a list of numbers, kept
    /// for whoever draws the sheet.
    std::map<std::string, std::vector<int>> settings;

    bool redraw = true;
    bool changesMade = false;

    ReferenceStyle referenceStyle = ReferenceStyle::A1;
    int appearance = 0;
    std::map<int, ActionKey> actionKeys;
    Color selectionBackground = kDefaultColor;
    Color selectionForeground = kDefaultColor;
    TextTip textTip;
    int noteIndicator = 1;
    int verticalScrollBarWidth = 17;
    int horizontalScrollBarHeight = 17;

    int activeCol = 0; ///< 0: no active cell
    int activeRow = 0;
    Selection selection;
    bool editMode = false;
    int editSelectionStart = 0; ///< the cell editor's selection, in bytes
    int editSelectionEnd = 0;
};
} // namespace grid
