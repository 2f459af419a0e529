// The sheet's range and structure operations: copying and moving ranges, inserting and
// deleting rows and columns.

#include "grid/Sheet.h"

#include <algorithm>

namespace grid
{
namespace
{
/// A copy of the cells of a range, taken before the range is written to.
struct Snapshot
{
    int width = 0;
    int height = 0;
    std::vector<std::optional<Cell>> cells; ///< row by row

    const Cell* at(int dx, int dy) const
    {
        const auto& cell = cells[static_cast<std::size_t>(dy) * static_cast<std::size_t>(width) +
                                 static_cast<std::size_t>(dx)];
        return cell ? &*cell : nullptr;
    }
};

/// Where a row (or column) index lands when `count` are inserted (count > 0) or deleted
/// (count < 0) at `at`; 0 when it is deleted. Header index 0 never moves.
int shiftedIndex(int index, int at, int count)
{
    if (index == 0 || index < at)
        return index;
    if (count > 0)
        return index + count;
    if (index < at - count)
        return 0;
    return index + count;
}
} // namespace

bool Sheet::copyRange(int col1, int row1, int col2, int row2, int destCol, int destRow, CellContent what)
{
    if (col1 > col2)
        std::swap(col1, col2);
    if (row1 > row2)
        std::swap(row1, row2);
    if (col1 < 1 || row1 < 1 || col2 > cols_ || row2 > rows_ || destCol < 1 || destRow < 1 ||
        destCol > cols_ || destRow > rows_)
        return false;
    Snapshot snapshot{col2 - col1 + 1, row2 - row1 + 1, {}};
    const int width = std::min(snapshot.width, cols_ - destCol + 1);
    const int height = std::min(snapshot.height, rows_ - destRow + 1);
    snapshot.width = width;
    snapshot.height = height;
    snapshot.cells.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int dy = 0; dy < height; ++dy)
        for (int dx = 0; dx < width; ++dx)
        {
            const Cell* cell = cells_.find(col1 + dx, row1 + dy);
            snapshot.cells.push_back(cell ? std::optional<Cell>(*cell) : std::nullopt);
        }
    std::vector<CellKey> changed;
    for (int dy = 0; dy < height; ++dy)
        for (int dx = 0; dx < width; ++dx)
        {
            placeCell(destCol + dx, destRow + dy, snapshot.at(dx, dy), what);
            changed.push_back(cellKey(destCol + dx, destRow + dy));
        }
    touch();
    recalculate(std::move(changed));
    return true;
}

bool Sheet::moveRange(int col1, int row1, int col2, int row2, int destCol, int destRow)
{
    if (col1 > col2)
        std::swap(col1, col2);
    if (row1 > row2)
        std::swap(row1, row2);
    if (col1 < 1 || row1 < 1 || col2 > cols_ || row2 > rows_ || destCol < 1 || destRow < 1 ||
        destCol > cols_ || destRow > rows_)
        return false;
    const int width = std::min(col2 - col1 + 1, cols_ - destCol + 1);
    const int height = std::min(row2 - row1 + 1, rows_ - destRow + 1);
    Snapshot snapshot{width, height, {}};
    for (int dy = 0; dy < height; ++dy)
        for (int dx = 0; dx < width; ++dx)
        {
            const Cell* cell = cells_.find(col1 + dx, row1 + dy);
            if (!cell)
            {
                snapshot.cells.emplace_back();
                continue;
            }
            Cell copy = *cell;
            // A moved formula reads the same cells as before: print it where it was and
            // read it back where it goes.
            if (copy.formula)
            {
                ParseResult moved =
                    parseFormula(formulaText(*copy.formula, cell->col, cell->row, ReferenceStyle::A1),
                                 destCol + dx, destRow + dy, ReferenceStyle::A1);
                if (moved.formula)
                    copy.formula = std::move(moved.formula);
            }
            snapshot.cells.emplace_back(std::move(copy));
        }
    std::vector<CellKey> changed;
    for (CellKey key : storedIn(col1, row1, col2, row2))
    {
        const int col = keyCol(key), row = keyRow(key);
        const bool overwritten =
            col >= destCol && col < destCol + width && row >= destRow && row < destRow + height;
        if (!overwritten)
        {
            placeCell(col, row, nullptr, CellContent::All);
            changed.push_back(key);
        }
    }
    for (int dy = 0; dy < height; ++dy)
        for (int dx = 0; dx < width; ++dx)
        {
            placeCell(destCol + dx, destRow + dy, snapshot.at(dx, dy), CellContent::All);
            changed.push_back(cellKey(destCol + dx, destRow + dy));
        }
    touch();
    recalculate(std::move(changed));
    return true;
}

bool Sheet::insertRows(int row, int count)
{
    if (row < 1 || row > rows_ || count < 1 || count > rows_ - row + 1)
        return false;
    const int firstLost = rows_ - count + 1;
    bool losesContent = false;
    cells_.forEach(
        [&](const Cell& cell)
        {
            if (cell.row >= firstLost &&
                (!cell.data.empty() || cell.formula || !cell.tag.empty() || !cell.note.empty()))
                losesContent = true;
        });
    if (losesContent)
        return false;
    shiftCells(true, row, count);
    return true;
}

bool Sheet::deleteRows(int row, int count)
{
    if (row < 1 || row > rows_ || count < 1)
        return false;
    shiftCells(true, row, -std::min(count, rows_ - row + 1));
    return true;
}

bool Sheet::insertColumns(int col, int count)
{
    if (col < 1 || col > cols_ || count < 1 || count > cols_ - col + 1)
        return false;
    const int firstLost = cols_ - count + 1;
    bool losesContent = false;
    cells_.forEach(
        [&](const Cell& cell)
        {
            if (cell.col >= firstLost &&
                (!cell.data.empty() || cell.formula || !cell.tag.empty() || !cell.note.empty()))
                losesContent = true;
        });
    if (losesContent)
        return false;
    shiftCells(false, col, count);
    return true;
}

bool Sheet::deleteColumns(int col, int count)
{
    if (col < 1 || col > cols_ || count < 1)
        return false;
    shiftCells(false, col, -std::min(count, cols_ - col + 1));
    return true;
}

void Sheet::shiftCells(bool rows, int at, int count)
{
    const int limit = rows ? rows_ : cols_;
    const Shift shift{rows, at, count};
    // Formulas first, while every cell still knows where it was.
    cells_.forEach(
        [&](Cell& cell)
        {
            if (!cell.formula || cell.col == 0 || cell.row == 0)
                return;
            int newCol = cell.col, newRow = cell.row;
            int& moving = rows ? newRow : newCol;
            moving = shiftedIndex(moving, at, count);
            if (moving == 0 || moving > limit)
                return; // the cell goes
            if (auto shifted = shiftFormula(*cell.formula, cell.col, cell.row, newCol, newRow, shift))
                cell.formula = std::move(shifted);
        });
    cells_.relocate(
        [&](int col, int row, int& newCol, int& newRow)
        {
            int& moving = rows ? newRow : newCol;
            moving = shiftedIndex(rows ? row : col, at, count);
            return (rows ? row : col) == 0 || (moving != 0 && moving <= limit);
        });

    // Spans grow or shrink with the rows or columns inserted or deleted inside them.
    std::vector<Span> spans;
    for (Span span : spans_)
    {
        int& start = rows ? span.row : span.col;
        int& size = rows ? span.height : span.width;
        const int end = start + size - 1;
        if (count > 0)
        {
            if (at <= start)
                start += count;
            else if (at <= end)
                size += count;
            if (start > limit)
                continue;
        }
        else
        {
            const int lastDeleted = at - count - 1;
            const int overlap = std::max(0, std::min(end, lastDeleted) - std::max(start, at) + 1);
            size -= overlap;
            if (size <= 0)
                continue;
            if (start > lastDeleted)
                start += count;
            else if (start >= at)
                start = at;
        }
        spans.push_back(span);
    }
    spans_ = std::move(spans);
    boundSpanRows();

    std::map<int, double>& sizes = rows ? rowHeights_ : columnWidths_;
    std::map<int, double> shifted;
    for (const auto& [index, pixels] : sizes)
    {
        const int moved = shiftedIndex(index, at, count);
        if ((index == 0 || moved != 0) && moved <= limit)
            shifted.emplace(moved, pixels);
    }
    sizes = std::move(shifted);

    int& active = rows ? state_.activeRow : state_.activeCol;
    if (active != 0)
    {
        active = shiftedIndex(active, at, count);
        if (active == 0 || active > limit)
            state_.activeCol = state_.activeRow = 0;
    }

    touch();
    rebuildDependencies();
    recalcAll();
}
} // namespace grid
