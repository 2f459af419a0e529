#include "grid/CellStore.h"

#include <algorithm>

namespace grid
{
CellStore::CellStore(const CellStore& other)
    : blocks_(other.blocks_), pool_(other.pool_), free_(other.free_), count_(other.count_)
{
}

CellStore& CellStore::operator=(const CellStore& other)
{
    if (this != &other)
    {
        blocks_ = other.blocks_;
        pool_ = other.pool_;
        free_ = other.free_;
        count_ = other.count_;
        lastKey_ = ~std::uint64_t{0};
        lastBlock_ = nullptr;
    }
    return *this;
}

CellStore::CellStore(CellStore&& other) noexcept
    : blocks_(std::move(other.blocks_)), pool_(std::move(other.pool_)), free_(std::move(other.free_)),
      count_(other.count_)
{
    other.clear();
}

CellStore& CellStore::operator=(CellStore&& other) noexcept
{
    if (this != &other)
    {
        blocks_ = std::move(other.blocks_);
        pool_ = std::move(other.pool_);
        free_ = std::move(other.free_);
        count_ = other.count_;
        lastKey_ = ~std::uint64_t{0};
        lastBlock_ = nullptr;
        other.clear();
    }
    return *this;
}

const CellStore::Block* CellStore::findBlock(std::uint64_t key) const
{
    if (key == lastKey_)
        return lastBlock_;
    auto it = blocks_.find(key);
    const Block* block = it == blocks_.end() ? nullptr : &it->second;
    // Only hits are remembered: a miss may be followed by the block's creation.
    if (block)
    {
        lastKey_ = key;
        lastBlock_ = block;
    }
    return block;
}

const Cell* CellStore::find(int col, int row) const
{
    const Block* block = findBlock(blockKey(col, row));
    if (!block)
        return nullptr;
    std::uint32_t slot = block->slots[static_cast<std::size_t>(row % kBlockRows)];
    return slot == 0 ? nullptr : &pool_[slot - 1];
}

std::uint32_t CellStore::slotOf(int col, int row) const
{
    const Block* block = findBlock(blockKey(col, row));
    return block ? block->slots[static_cast<std::size_t>(row % kBlockRows)] : 0;
}

Cell* CellStore::find(int col, int row)
{
    return const_cast<Cell*>(static_cast<const CellStore*>(this)->find(col, row));
}

Cell& CellStore::obtain(int col, int row)
{
    Block& block = blocks_[blockKey(col, row)];
    std::uint32_t& slot = block.slots[static_cast<std::size_t>(row % kBlockRows)];
    if (slot == 0)
    {
        std::uint32_t index;
        if (!free_.empty())
        {
            index = free_.back();
            free_.pop_back();
        }
        else
        {
            index = static_cast<std::uint32_t>(pool_.size());
            pool_.emplace_back();
        }
        slot = index + 1;
        ++block.used;
        ++count_;
        Cell& cell = pool_[index];
        cell.col = col;
        cell.row = row;
    }
    return pool_[slot - 1];
}

void CellStore::erase(int col, int row)
{
    std::uint64_t key = blockKey(col, row);
    auto it = blocks_.find(key);
    if (it == blocks_.end())
        return;
    std::uint32_t& slot = it->second.slots[static_cast<std::size_t>(row % kBlockRows)];
    if (slot == 0)
        return;
    pool_[slot - 1] = Cell{};
    free_.push_back(slot - 1);
    slot = 0;
    --count_;
    if (--it->second.used == 0)
    {
        blocks_.erase(it);
        lastKey_ = ~std::uint64_t{0};
        lastBlock_ = nullptr;
    }
}

void CellStore::clear()
{
    blocks_.clear();
    pool_.clear();
    free_.clear();
    count_ = 0;
    lastKey_ = ~std::uint64_t{0};
    lastBlock_ = nullptr;
}

std::vector<CellKey> CellStore::sortedKeys() const
{
    // Sorted as row-major keys (row high, column low), then turned back into cell keys.
    std::vector<CellKey> keys;
    keys.reserve(count_);
    forEach([&](const Cell& cell) { keys.push_back(cellKey(cell.row, cell.col)); });
    std::sort(keys.begin(), keys.end());
    for (CellKey& key : keys)
        key = cellKey(keyRow(key), keyCol(key));
    return keys;
}
} // namespace grid
