// Collecting the variable cells of a sheet and moving their values to and from it.

#include "grid/Sheet.h"
#include "spread/Kdr_Spread.h"
#include "standards/ZxVarCells.h"

#include <algorithm>
#include <array>

namespace
{
struct Block
{
    const char* heading;
    int start = -1; ///< first row under the heading; -1 without a heading
    int end = -1;   ///< last row of the block
};

/// Scans one block row by row, left to right; false when the sheet has no such block.
bool scanBlock(Kdr_Spread& ss, const std::vector<std::pair<int, int>>& stored, const Block& block,
               ZxCellType type, Kdr_Array<ZxVarCell>& cells)
{
    if (block.start < 0)
        return false;
    const int rows = std::min(block.end, ss.getMaxRows());
    const int cols = ss.getMaxCols();
    // One scratch cell for the whole scan: a declaration carries no value. Only stored cells
    // can declare a variable, so the scan follows them (row by row, left to right) instead of
    // every address of the block.
    ZxVarCell scratch;
    for (const auto& [col, row] : stored)
        if (row >= block.start && row <= rows && col >= 1 && col <= cols &&
            scratch.initialize(ss, col, row, type) == Acad::eOk)
            cells.append(scratch);
    return true;
}
} // namespace

Acad::ErrorStatus ZxVarCells::collectFromSheet(Kdr_Spread& ss)
{
    resetVarCells();

    // Collecting reads the sheet without changing it: one list of its cells serves the
    // searches for the headings and the scans of the blocks.
    const std::vector<std::pair<int, int>> stored = ss.storedCellsByRow();
    std::array<Block, 4> blocks{{{"Input"}, {"Output"}, {"Local"}, {"Calc"}}};
    for (Block& block : blocks)
    {
        int row = 1;
        int col = 1;
        if (ss.findFirst(stored, block.heading, row, col))
            block.start = row + 1;
    }
    // A block runs to the row of the next heading below it, whatever that heading is, or to
    // the last row of the sheet.
    const int rowCount = ss.getMaxRows();
    for (Block& block : blocks)
    {
        int next = -1;
        for (const Block& other : blocks)
            if (&other != &block && other.start > block.start && (next < 0 || other.start < next))
                next = other.start;
        block.end = next < 0 ? rowCount : next - 1;
    }

    if (!scanBlock(ss, stored, blocks[0], cellInput, cells_) ||
        !scanBlock(ss, stored, blocks[1], cellOutput, cells_))
        return Acad::eInvalidInput;
    scanBlock(ss, stored, blocks[2], cellLocal, cells_);
    return Acad::eOk;
}

Acad::ErrorStatus ZxVarCells::getValuesFromSS(Kdr_Spread& ss)
{
    for (ZxVarCell& cell : cells_)
    {
        if (!cell.isOutput())
            continue;
        Kdr_String text;
        if (cell.getCurrentValue(ss, text) != Acad::eOk)
            return Acad::eInvalidInput;
        cell.value = text;
    }
    return Acad::eOk;
}

Acad::ErrorStatus ZxVarCells::setValuesToSS(Kdr_Spread& ss)
{
    for (ZxVarCell& cell : cells_)
        if (cell.setValueToSS(ss) != Acad::eOk)
            return Acad::eInvalidInput;
    return Acad::eOk;
}
