#pragma once

#include "grid/Value.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace grid
{
class Formula;

/// A cell address packed into one number: column in the high half, row in the low half.
using CellKey = std::uint64_t;
inline CellKey cellKey(int col, int row)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32) |
           static_cast<std::uint32_t>(row);
}
inline int keyCol(CellKey key)
{
    return static_cast<int>(key >> 32);
}
inline int keyRow(CellKey key)
{
    return static_cast<int>(key & 0xFFFFFFFFu);
}

/// Bookkeeping of one recalculation, kept in the cell so that planning needs no hash sets:
/// the cell belongs to the current plan when `generation` is the plan's.
struct CalcMark
{
    std::uint32_t generation = 0;
    std::uint32_t index = 0;
};

/// One stored cell. Its entry is either `data` (a text as set) or `formula`; `value` is what
/// the entry reads as, or the formula's result. Types and formats are ids into the sheet's
/// tables; 0 is the general type and the default format.
struct Cell
{
    int col = 0;
    int row = 0;
    std::string data;
    Value value;
    std::shared_ptr<const Formula> formula;
    std::uint32_t type = 0;
    std::uint32_t format = 0;
    std::string tag;
    std::string note;
    CalcMark mark;

    /// True when the cell holds nothing a fresh cell would not.
    bool blank() const
    {
        return data.empty() && !formula && type == 0 && format == 0 && tag.empty() && note.empty();
    }
};

/// Sparse storage of cells by address. Cells live in blocks of 64 rows of one column, so a
/// formula reading down a column finds neighbouring cells without a hash lookup each.
/// References to cells stay valid until the cell is erased or the store rebuilt.
class CellStore
{
public:
    CellStore() = default;
    CellStore(const CellStore& other);
    CellStore& operator=(const CellStore& other);
    CellStore(CellStore&& other) noexcept;
    CellStore& operator=(CellStore&& other) noexcept;

    Cell* find(int col, int row);
    const Cell* find(int col, int row) const;
    /// The cell at the address, made when missing.
    Cell& obtain(int col, int row);
    void erase(int col, int row);
    void clear();
    std::size_t size() const { return count_; }

    /// The slot a stored cell occupies: a dense number, the cell's until it is erased or the
    /// store rebuilt; 0 for an address without a cell.
    std::uint32_t slotOf(int col, int row) const;
    /// The cell in a slot slotOf gave, or null; after the cell was erased the slot may hold
    /// another cell or none, which its address tells.
    Cell* atSlot(std::uint32_t slot)
    {
        return slot != 0 && slot <= pool_.size() ? &pool_[slot - 1] : nullptr;
    }

    /// Every stored cell, in no particular order.
    template <class Visit> void forEach(Visit&& visit)
    {
        for (auto& [key, block] : blocks_)
            for (std::uint32_t slot : block.slots)
                if (slot != 0)
                    visit(pool_[slot - 1]);
    }
    template <class Visit> void forEach(Visit&& visit) const
    {
        for (const auto& [key, block] : blocks_)
            for (std::uint32_t slot : block.slots)
                if (slot != 0)
                    visit(pool_[slot - 1]);
    }

    /// Visits the stored cells of one column from `row1` to `row2`, top to bottom, until
    /// `visit` returns false; returns false when it did.
    template <class Visit> bool forEachInColumn(int col, int row1, int row2, Visit&& visit) const
    {
        for (int start = row1 - row1 % kBlockRows; start <= row2; start += kBlockRows)
        {
            const Block* block = findBlock(blockKey(col, start));
            if (!block)
                continue;
            const int from = std::max(row1, start) - start;
            const int to = std::min(row2, start + kBlockRows - 1) - start;
            for (int i = from; i <= to; ++i)
                if (std::uint32_t slot = block->slots[static_cast<std::size_t>(i)]; slot != 0)
                    if (!visit(pool_[slot - 1]))
                        return false;
        }
        return true;
    }
    /// How many blocks a column walk over `row1` to `row2` looks up.
    static int blocksBetween(int row1, int row2) { return row2 / kBlockRows - row1 / kBlockRows + 1; }

    /// The addresses of every stored cell, by row and then column.
    std::vector<CellKey> sortedKeys() const;

    /// Moves every cell to the address `place(col, row, newCol, newRow)` gives it, dropping
    /// the cells for which it returns false. Two cells must not land on one address.
    template <class Place> void relocate(Place&& place)
    {
        std::vector<Cell> moved;
        moved.reserve(count_);
        forEach(
            [&](Cell& cell)
            {
                int c = cell.col, r = cell.row;
                if (place(cell.col, cell.row, c, r))
                {
                    cell.col = c;
                    cell.row = r;
                    moved.push_back(std::move(cell));
                }
            });
        clear();
        for (Cell& cell : moved)
        {
            int c = cell.col, r = cell.row;
            obtain(c, r) = std::move(cell);
        }
    }

private:
    static constexpr int kBlockRows = 64;
    struct Block
    {
        std::array<std::uint32_t, kBlockRows> slots{}; ///< pool index + 1; 0 is empty
        int used = 0;
    };
    static std::uint64_t blockKey(int col, int row)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32) |
               static_cast<std::uint32_t>(row / kBlockRows);
    }
    const Block* findBlock(std::uint64_t key) const;

    std::unordered_map<std::uint64_t, Block> blocks_;
    std::deque<Cell> pool_;
    std::vector<std::uint32_t> free_;
    std::size_t count_ = 0;
    // The block last looked up: reading a column hits it 63 times out of 64.
    mutable std::uint64_t lastKey_ = ~std::uint64_t{0};
    mutable const Block* lastBlock_ = nullptr;
};
} // namespace grid
