// Finding and replacing text in a grid as a person reads it: the displayed texts of the cells,
// letter case ignored, and the found text selected in place in the cell editor.

#include "editor/Kdr_FindReplaceDlg.h"
#include "host/StringFunctions.h"
#include "spread/Kdr_Spread.h"

#include <algorithm>

bool Kdr_Spread::showFindReplace(bool replace)
{
    if (!created_ || !IsWindow())
        return false;
    if (findDialog_ == nullptr)
    {
        // The dialog deletes itself when its window goes, and tells the grid first.
        auto* dialog = new Kdr_FindReplaceDlg(*this);
        if (!dialog->open())
        {
            delete dialog;
            return false;
        }
        findDialog_ = dialog;
        return true;
    }
    if (replace)
        findDialog_->replace();
    else
        findDialog_->findNext();
    return true;
}

bool Kdr_Spread::closeFindReplace()
{
    if (findDialog_ == nullptr)
        return false;
    Kdr_FindReplaceDlg* dialog = findDialog_;
    findDialog_ = nullptr;
    dialog->DestroyWindow();
    return true;
}

void Kdr_Spread::forgetFindReplace(Kdr_FindReplaceDlg* dialog)
{
    if (findDialog_ == dialog)
        findDialog_ = nullptr;
}

int Kdr_Spread::findInRow(const Kdr_String& text, bool partial, int row, int startCol) const
{
    if (!created_ || text.empty() || row < 1 || row > sheet_.maxRows())
        return -1;
    for (int col = std::max(startCol, 1); col <= sheet_.maxCols(); ++col)
        if (matchesDisplayed(text, partial, col, row))
            return col;
    return -1;
}

bool Kdr_Spread::matchesDisplayed(const Kdr_String& text, bool partial, int col, int row) const
{
    Kdr_String shown;
    if (!getCellText(col, row, shown, ctkData))
        return false;
    return shown.equal(text, false) || (partial && shown.contains(text, false));
}

bool Kdr_Spread::findDisplayedForward(const Kdr_String& text, bool partial, int& col, int& row) const
{
    if (!created_ || text.empty() || row > sheet_.maxRows())
        return false;
    // Only stored cells can show a text, and a sheet may be large and nearly empty: the
    // stored cells are visited instead of every address.
    const int startRow = std::max(row, 1);
    const int startCol = row >= 1 ? std::max(col, 1) : 1;
    const int cols = sheet_.maxCols(), rows = sheet_.maxRows();
    int foundCol = 0, foundRow = 0;
    sheet_.forEachCell(
        [&](int c, int r)
        {
            if (c < 1 || r < 1 || c > cols || r > rows || r < startRow || (r == startRow && c < startCol))
                return;
            if (foundRow > 0 && (r > foundRow || (r == foundRow && c > foundCol)))
                return;
            if (matchesDisplayed(text, partial, c, r))
            {
                foundCol = c;
                foundRow = r;
            }
        });
    if (foundRow == 0)
        return false;
    col = foundCol;
    row = foundRow;
    return true;
}

std::vector<std::pair<int, int>> Kdr_Spread::findAllDisplayed(const Kdr_String& text, bool partial) const
{
    std::vector<std::pair<int, int>> found; // (row, col), sorted into search order below
    if (!created_ || text.empty())
        return found;
    const int cols = sheet_.maxCols(), rows = sheet_.maxRows();
    sheet_.forEachCell(
        [&](int c, int r)
        {
            if (c >= 1 && r >= 1 && c <= cols && r <= rows && matchesDisplayed(text, partial, c, r))
                found.emplace_back(r, c);
        });
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    for (auto& [first, second] : found)
        std::swap(first, second);
    return found;
}

int Kdr_Spread::findInCell(const Kdr_String& text, int col, int row, int startPos) const
{
    Kdr_String shown;
    if (text.empty() || !getCellText(col, row, shown, ctkData))
        return -1;
    return shown.findFirstFrom(text, std::max(startPos, 0), false);
}

bool Kdr_Spread::selectInCell(const Kdr_String& text, int col, int row, int startPos)
{
    const int pos = findInCell(text, col, row, startPos);
    if (pos < 0 || sheet_.hasFormula(col, row) || !isCellEditable(col, row))
        return false;
    // The editor shows the entry, not the displayed text; the selection is only honest when
    // the found characters stand at the same place in both.
    const std::string entry = sheet_.cellEntry(col, row);
    const std::size_t end = static_cast<std::size_t>(pos) + text.size();
    if (end > entry.size() || !host::equalText(std::string_view(entry).substr(pos, text.size()), text, false))
        return false;

    SetFocus();
    int activeCol = 0, activeRow = 0;
    const bool sameCell =
        editing_ && sheet_.activeCell(activeCol, activeRow) && activeCol == col && activeRow == row;
    if (!sameCell)
    {
        if (editing_ && !setEditMode(false))
            return false;
        sheet_.setActiveCell(col, row);
        sheet_.setSelection(col, row, col, row);
        if (!setEditMode(true))
            return false;
    }
    sheet_.setEditSelection(pos, static_cast<int>(end));
    return true;
}

bool Kdr_Spread::replaceInCell(int col, int row, const Kdr_String& text, const Kdr_String& replacement)
{
    Kdr_String shown;
    // A formula cell shows its result; writing the replaced result would turn the formula
    // into a constant.
    if (text.empty() || !getCellText(col, row, shown, ctkData) || sheet_.hasFormula(col, row))
        return false;
    if (replaceSubString(shown, text, replacement, false) == 0)
        return false;
    return setCellText(col, row, shown.c_str());
}

int Kdr_Spread::replaceAll(const Kdr_String& text, const Kdr_String& replacement)
{
    if (!created_ || text.empty())
        return 0;
    // An open editor would write its old text back over the replaced cell.
    setEditMode(false);
    // Each cell is visited once, from (1, 1) row by row, so a replacement that contains the
    // text is not replaced again. Only formula cells can change what other cells show, and
    // they are never replaced.
    int count = 0;
    for (const auto& [col, row] : findAllDisplayed(text, true))
        if (replaceInCell(col, row, text, replacement))
            ++count;
    return count;
}
