// Where a grid's cells are on the screen, and what the mouse does in a grid: clicks on cells
// and headers, double clicks, the right button and the context menu.

#include "spread/Kdr_Spread.h"

#include <algorithm>

namespace
{
constexpr int kHeader = Kdr_Spread::kHeaderIndex;
} // namespace

// ---- Geometry ------------------------------------------------------------------------------

int Kdr_Spread::headerWidth() const
{
    return rowHeaderVisible_ ? static_cast<int>(sheet_.columnWidth(kHeader)) : 0;
}

int Kdr_Spread::headerHeight() const
{
    return static_cast<int>(sheet_.rowHeight(kHeader));
}

int Kdr_Spread::viewWidth() const
{
    return std::max(0, GetClientRect().Width() - sheet_.state().verticalScrollBarWidth);
}

int Kdr_Spread::viewHeight() const
{
    return std::max(0, GetClientRect().Height() - sheet_.state().horizontalScrollBarHeight);
}

bool Kdr_Spread::hitTest(ui::Point point, int& col, int& row) const
{
    if (!created_ || point.x < 0 || point.y < 0 || point.x >= viewWidth() || point.y >= viewHeight())
        return false;
    const int headerW = headerWidth();
    const int headerH = headerHeight();
    if (rowHeaderVisible_ && point.x < headerW)
        col = kHeader;
    else
    {
        int x = headerW;
        col = 0;
        for (int c = std::max(leftCol_, 1); c <= sheet_.maxCols() && x <= point.x; ++c)
        {
            x += static_cast<int>(sheet_.columnWidth(c));
            if (point.x < x)
                col = c;
        }
        if (col == 0)
            return false;
    }
    if (point.y < headerH)
        row = kHeader;
    else
    {
        int y = headerH;
        row = 0;
        for (int r = std::max(topRow_, 1); r <= sheet_.maxRows() && y <= point.y; ++r)
        {
            y += static_cast<int>(sheet_.rowHeight(r));
            if (point.y < y)
                row = r;
        }
        if (row == 0)
            return false;
    }
    if (col != kHeader && row != kHeader)
        anchorOf(col, row);
    return true;
}

bool Kdr_Spread::revealCell(int col, int row, ui::Rect& rect)
{
    if (!created_)
        return false;
    const bool colOk = col == kHeader ? rowHeaderVisible_ : col >= 1 && col <= sheet_.maxCols();
    const bool rowOk = row == kHeader || (row >= 1 && row <= sheet_.maxRows());
    if (!colOk || !rowOk)
        return false;
    const int headerW = headerWidth();
    const int headerH = headerHeight();
    // Scroll as a person would: only as far as needed to bring the cell into view.
    if (col != kHeader)
    {
        if (col < leftCol_)
            leftCol_ = col;
        else
        {
            int x = headerW;
            for (int c = leftCol_; c <= col && x <= viewWidth(); ++c)
                x += static_cast<int>(sheet_.columnWidth(c));
            if (x > viewWidth())
            {
                leftCol_ = col;
                int width = headerW + static_cast<int>(sheet_.columnWidth(col));
                while (leftCol_ > 1 && width + sheet_.columnWidth(leftCol_ - 1) <= viewWidth())
                    width += static_cast<int>(sheet_.columnWidth(--leftCol_));
            }
        }
    }
    if (row != kHeader)
    {
        if (row < topRow_)
            topRow_ = row;
        else
        {
            int y = headerH;
            for (int r = topRow_; r <= row && y <= viewHeight(); ++r)
                y += static_cast<int>(sheet_.rowHeight(r));
            if (y > viewHeight())
            {
                topRow_ = row;
                int height = headerH + static_cast<int>(sheet_.rowHeight(row));
                while (topRow_ > 1 && height + sheet_.rowHeight(topRow_ - 1) <= viewHeight())
                    height += static_cast<int>(sheet_.rowHeight(--topRow_));
            }
        }
    }
    int left = 0, right = headerW;
    if (col != kHeader)
    {
        left = headerW;
        for (int c = leftCol_; c < col; ++c)
            left += static_cast<int>(sheet_.columnWidth(c));
        right = left + static_cast<int>(sheet_.columnWidth(col));
    }
    int top = 0, bottom = headerH;
    if (row != kHeader)
    {
        top = headerH;
        for (int r = topRow_; r < row; ++r)
            top += static_cast<int>(sheet_.rowHeight(r));
        bottom = top + static_cast<int>(sheet_.rowHeight(row));
    }
    rect = ui::Rect(left, top, std::min(right, viewWidth()), std::min(bottom, viewHeight()));
    return !rect.IsRectEmpty();
}

// ---- Mouse ---------------------------------------------------------------------------------

void Kdr_Spread::clickCellAsUser(unsigned flags, int col, int row)
{
    const ui::WindowHandle self = GetSafeHwnd();
    if (editing_ && !(col == editCol_ && row == editRow_))
    {
        commitEdit();
        if (FromHandle(self) != this)
            return;
    }
    if (col == kHeader || row == kHeader)
    {
        if (col == kHeader && row == kHeader)
            sheet_.setSelection(1, 1, sheet_.maxCols(), sheet_.maxRows());
        else if (row == kHeader)
            sheet_.setSelection(col, 1, col, sheet_.maxRows());
        else
            sheet_.setSelection(1, row, sheet_.maxCols(), row);
        notify(ui::GRIDN_HEADERCLICK, col, row);
        return;
    }
    int activeCol = 0, activeRow = 0;
    if ((flags & MK_SHIFT) != 0 && sheet_.activeCell(activeCol, activeRow))
    {
        sheet_.setSelection(std::min(activeCol, col), std::min(activeRow, row), std::max(activeCol, col),
                            std::max(activeRow, row));
        return;
    }
    if (editing_)
        return; // a click inside the open editor only places the caret
    moveActiveAsUser(col, row);
    if (FromHandle(self) != this)
        return;
    notify(ui::GRIDN_CLICK, col, row);
    if (FromHandle(self) != this)
        return;
    const grid::CellType::Kind kind = sheet_.cellType(col, row).kind;
    if (kind == grid::CellType::Kind::CheckBox || kind == grid::CellType::Kind::Button)
        toggleCheckAsUser(col, row);
}

void Kdr_Spread::OnLButtonDown(unsigned flags, ui::Point point)
{
    if (!created_)
        return;
    const ui::WindowHandle self = GetSafeHwnd();
    if (GetFocus() != this)
        SetFocus();
    int col = 0, row = 0;
    if (FromHandle(self) == this && hitTest(point, col, row))
        clickCellAsUser(flags, col, row);
}

void Kdr_Spread::OnLButtonDblClk(unsigned flags, ui::Point point)
{
    (void)flags;
    int col = 0, row = 0;
    if (!created_ || !hitTest(point, col, row))
        return;
    const ui::WindowHandle self = GetSafeHwnd();
    notify(ui::GRIDN_DBLCLICK, col, row);
    if (FromHandle(self) != this || col == kHeader || row == kHeader || editing_)
        return;
    int activeCol = 0, activeRow = 0;
    if (sheet_.activeCell(activeCol, activeRow) && activeCol == col && activeRow == row)
    {
        startEdit(col, row, enteredText(col, row), false);
    }
}

void Kdr_Spread::OnRButtonDown(unsigned flags, ui::Point point)
{
    (void)flags;
    rightClickAnswered_ = false;
    if (!created_)
        return;
    const ui::WindowHandle self = GetSafeHwnd();
    if (GetFocus() != this)
        SetFocus();
    if (FromHandle(self) != this)
        return;
    commitEdit();
    int col = 0, row = 0;
    if (FromHandle(self) != this || !hitTest(point, col, row))
        return;
    rightClickCol_ = col;
    rightClickRow_ = row;
    rightClickAnswered_ = notify(ui::GRIDN_RIGHTCLICK, col, row) != 0;
}

void Kdr_Spread::OnContextMenu(ui::Window* window, ui::Point screenPoint)
{
    (void)window;
    const bool answered = rightClickAnswered_;
    rightClickAnswered_ = false;
    if (answered || !contextMenu_ || contextMenu_->GetMenuItemCount() == 0)
        return;
    const int command =
        contextMenu_->TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, this);
    if (command != 0)
        runContextCommand(command);
}

// ---- Context menu --------------------------------------------------------------------------

ui::PopupMenu& Kdr_Spread::contextMenu()
{
    if (!contextMenu_)
    {
        contextMenu_ = std::make_unique<ui::PopupMenu>();
        contextMenu_->CreatePopupMenu();
    }
    return *contextMenu_;
}

void Kdr_Spread::addCheckCommands(const Kdr_String& checkCaption, const Kdr_String& uncheckCaption)
{
    contextMenu().AppendMenu(MF_STRING, kCommandCheckSelection, checkCaption);
    contextMenu().AppendMenu(MF_STRING, kCommandUncheckSelection, uncheckCaption);
    for (int command : {kCommandCheckSelection, kCommandUncheckSelection})
        if (contextCommands_.find(command) < 0)
            contextCommands_.append(command);
}

void Kdr_Spread::runContextCommand(int command)
{
    if (contextCommands_.find(command) < 0)
    {
        if (ui::Window* parent = GetParent())
            parent->SendMessage(WM_COMMAND, MAKEWPARAM(command, 0),
                                static_cast<std::intptr_t>(GetSafeHwnd()));
        return;
    }
    if (command == kCommandCheckSelection || command == kCommandUncheckSelection)
    {
        setChecks(command == kCommandCheckSelection);
        const grid::Selection& s = sheet_.selection();
        if (s.col1 != 0)
            notify(ui::GRIDN_CHANGE, std::min(s.col1, s.col2), std::min(s.row1, s.row2));
    }
}
