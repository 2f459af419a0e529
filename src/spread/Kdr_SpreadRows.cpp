// Moving and sorting whole rows of the grid, as the section library's row commands do.

#include "host/StringFunctions.h"
#include "spread/Kdr_Spread.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace
{
constexpr int kHeader = Kdr_Spread::kHeaderIndex;

/// Orders two sort keys: numbers by value before texts, texts naturally.
bool keyLess(const std::string& a, const std::string& b)
{
    const Kdr_String left(a), right(b);
    const bool leftNumber = !a.empty() && left.isNumber();
    const bool rightNumber = !b.empty() && right.isNumber();
    if (leftNumber != rightNumber)
        return leftNumber;
    if (leftNumber)
        return left.toDouble() < right.toDouble();
    return host::compareNatural(a, b, false) < 0;
}
} // namespace

bool Kdr_Spread::moveRow(int row, bool up)
{
    if (!created_)
        return false;
    const int count = sheet_.maxRows();
    const int other = up ? row - 1 : row + 1;
    if (row < 1 || row > count || other < 1 || other > count)
        return false;
    const int cols = std::max(sheet_.maxCols(), 1);
    // The row goes through a scratch row below the last, so that both rows keep every cell
    // property the engine copies.
    if (!sheet_.setMaxRows(count + 1))
        return false;
    const int scratch = count + 1;
    sheet_.copyRange(1, row, cols, row, 1, scratch);
    sheet_.copyRange(1, other, cols, other, 1, row);
    sheet_.copyRange(1, scratch, cols, scratch, 1, other);
    sheet_.setMaxRows(count);
    const std::string header = sheet_.cellDataText(kHeader, row);
    sheet_.setData(kHeader, row, sheet_.cellDataText(kHeader, other));
    sheet_.setData(kHeader, other, header);

    int activeCol = 0, activeRow = 0;
    if (sheet_.activeCell(activeCol, activeRow) && activeRow == row)
    {
        sheet_.setActiveCell(activeCol, other);
        sheet_.setSelection(activeCol, other, activeCol, other);
    }
    sheet_.setChangesMade(true);
    return true;
}

bool Kdr_Spread::moveActiveRow(bool up)
{
    int col = 0, row = 0;
    if (!created_ || !sheet_.activeCell(col, row))
        return false;
    return moveRow(row, up);
}

bool Kdr_Spread::sortRows(int col, bool ascending)
{
    if (!created_ || col < 1 || col > sheet_.maxCols())
        return false;
    const int count = sheet_.maxRows();
    if (count < 2)
        return true;
    std::vector<std::string> keys(static_cast<std::size_t>(count));
    for (int r = 1; r <= count; ++r)
        keys[static_cast<std::size_t>(r - 1)] = sheet_.cellDataText(col, r);
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b)
                     {
                         const std::string& ka = keys[static_cast<std::size_t>(a - 1)];
                         const std::string& kb = keys[static_cast<std::size_t>(b - 1)];
                         return ascending ? keyLess(ka, kb) : keyLess(kb, ka);
                     });
    bool sorted = true;
    for (int i = 0; i < count && sorted; ++i)
        sorted = order[static_cast<std::size_t>(i)] == i + 1;
    if (sorted)
        return true;

    // The rows are laid out in their new order below the sheet, then copied back in one block.
    const int cols = std::max(sheet_.maxCols(), 1);
    if (!sheet_.setMaxRows(2 * count))
        return false;
    std::vector<std::string> headers(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        const int from = order[static_cast<std::size_t>(i)];
        sheet_.copyRange(1, from, cols, from, 1, count + 1 + i);
        headers[static_cast<std::size_t>(i)] = sheet_.cellDataText(kHeader, from);
    }
    sheet_.copyRange(1, count + 1, cols, 2 * count, 1, 1);
    sheet_.setMaxRows(count);
    for (int i = 0; i < count; ++i)
        sheet_.setData(kHeader, i + 1, headers[static_cast<std::size_t>(i)]);
    sheet_.setChangesMade(true);
    return true;
}
