#include "grid/CellStore.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace grid
{
// --- CellText ------------------------------------------------------------------------------

void CellText::assign(std::string_view text)
{
    if (text.empty())
        return;
    if (text.size() <= 7)
    {
        std::uint64_t word = 1 | (static_cast<std::uint64_t>(text.size()) << 1);
        std::memcpy(reinterpret_cast<char*>(&word) + kInlineOffset, text.data(), text.size());
        word_ = word;
        return;
    }
    void* memory = ::operator new(sizeof(Block) + text.size());
    Block* block = new (memory) Block{{1}, static_cast<std::uint32_t>(text.size())};
    std::memcpy(reinterpret_cast<char*>(block + 1), text.data(), text.size());
    word_ = reinterpret_cast<std::uintptr_t>(block);
}

void CellText::release()
{
    if (word_ == 0 || (word_ & 1))
        return;
    Block* block = const_cast<Block*>(this->block());
    if (block->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
    {
        block->~Block();
        ::operator delete(block);
    }
}

// --- CellValue -----------------------------------------------------------------------------

void CellValue::set(const Value& value)
{
    type_ = value.type();
    switch (type_)
    {
    case Type::Empty:
        break;
    case Type::Number:
        number_ = value.asNumber();
        break;
    case Type::Text:
        new (&text_) CellText(value.asText());
        break;
    case Type::Logical:
        small_ = value.asLogical() ? 1 : 0;
        break;
    case Type::Error:
        small_ = static_cast<std::uint8_t>(value.asError());
        break;
    }
}

void CellValue::copyFrom(const CellValue& other)
{
    type_ = other.type_;
    small_ = other.small_;
    if (type_ == Type::Text)
        new (&text_) CellText(other.text_);
    else
        number_ = other.number_;
}

Value CellValue::toValue() const
{
    switch (type_)
    {
    case Type::Number:
        return Value::number(number_);
    case Type::Text:
        return Value::text(std::string(text_.view()));
    case Type::Logical:
        return Value::logical(small_ != 0);
    case Type::Error:
        return Value::error(static_cast<ErrorCode>(small_));
    case Type::Empty:
        break;
    }
    return Value{};
}

// --- CellStore -----------------------------------------------------------------------------

CellStore::CellStore(const CellStore& other)
    : blocks_(other.blocks_), free_(other.free_), count_(other.count_)
{
    copyPool(other);
}

CellStore& CellStore::operator=(const CellStore& other)
{
    if (this != &other)
    {
        CellStore copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CellStore::CellStore(CellStore&& other) noexcept
    : blocks_(std::move(other.blocks_)), chunks_(std::move(other.chunks_)), poolSize_(other.poolSize_),
      free_(std::move(other.free_)), count_(other.count_)
{
    other.chunks_.clear();
    other.poolSize_ = 0;
    other.clear();
}

CellStore& CellStore::operator=(CellStore&& other) noexcept
{
    if (this != &other)
    {
        freePool();
        blocks_ = std::move(other.blocks_);
        chunks_ = std::move(other.chunks_);
        poolSize_ = other.poolSize_;
        free_ = std::move(other.free_);
        count_ = other.count_;
        forgetRecent();
        other.chunks_.clear();
        other.poolSize_ = 0;
        other.clear();
    }
    return *this;
}

CellStore::~CellStore()
{
    freePool();
}

void CellStore::copyPool(const CellStore& other)
{
    for (std::uint32_t slot = 0; slot < other.poolSize_; ++slot)
        new (&atSlot(newSlot())) Cell(other.atSlot(slot));
}

std::uint32_t CellStore::newSlot()
{
    const std::uint32_t slot = poolSize_;
    const std::uint32_t chunk = chunkOf(slot);
    if (chunk == chunks_.size())
        chunks_.push_back(
            static_cast<Cell*>(::operator new(sizeof(Cell) * (std::size_t{kFirstChunk} << chunk))));
    ++poolSize_;
    return slot;
}

void CellStore::freePool()
{
    for (std::uint32_t slot = 0; slot < poolSize_; ++slot)
        atSlot(slot).~Cell();
    for (Cell* chunk : chunks_)
        ::operator delete(chunk);
    chunks_.clear();
    poolSize_ = 0;
}

const CellStore::Block* CellStore::findBlock(std::uint64_t key) const
{
    Recent& recent = recentOf(key);
    if (key == recent.key)
        return recent.block;
    auto it = blocks_.find(key);
    const Block* block = it == blocks_.end() ? nullptr : &it->second;
    // Only hits are remembered: a miss may be followed by the block's creation.
    if (block)
    {
        recent = {key, block};
    }
    return block;
}

std::uint32_t CellStore::slotOf(int col, int row) const
{
    const Block* block = findBlock(blockKey(col, row));
    if (!block)
        return kNoSlot;
    const std::uint32_t slot = block->slots[static_cast<std::size_t>(row % kBlockRows)];
    return slot == 0 ? kNoSlot : slot - 1;
}

const Cell* CellStore::find(int col, int row) const
{
    const std::uint32_t slot = slotOf(col, row);
    return slot == kNoSlot ? nullptr : &atSlot(slot);
}

Cell* CellStore::find(int col, int row)
{
    return const_cast<Cell*>(static_cast<const CellStore*>(this)->find(col, row));
}

Cell& CellStore::obtain(int col, int row)
{
    const std::uint64_t key = blockKey(col, row);
    Recent& recent = recentOf(key);
    Block* block = key == recent.key ? const_cast<Block*>(recent.block) : &blocks_[key];
    recent = {key, block};
    std::uint32_t& slot = block->slots[static_cast<std::size_t>(row % kBlockRows)];
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
            index = newSlot();
            new (&atSlot(index)) Cell();
        }
        slot = index + 1;
        ++block->used;
        ++count_;
        Cell& cell = atSlot(index);
        cell.col = col;
        cell.row = row;
    }
    return atSlot(slot - 1);
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
    atSlot(slot - 1) = Cell{};
    free_.push_back(slot - 1);
    slot = 0;
    --count_;
    if (--it->second.used == 0)
    {
        blocks_.erase(it);
        forgetRecent();
    }
}

void CellStore::clear()
{
    blocks_.clear();
    freePool();
    free_.clear();
    count_ = 0;
    forgetRecent();
}

bool CellStore::slotsInRowOrder() const
{
    if (!free_.empty())
        return false;
    for (std::uint32_t slot = 1; slot < poolSize_; ++slot)
    {
        const Cell& before = atSlot(slot - 1);
        const Cell& cell = atSlot(slot);
        if (before.row > cell.row || (before.row == cell.row && before.col >= cell.col))
            return false;
    }
    return true;
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
