#pragma once

#include "grid/Value.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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

/// A text kept by a cell, in eight bytes: nothing, up to seven bytes in place, or a shared
/// block of exactly its size. Copies share the block, so a value read from a data text, a
/// copied range or a copied sheet costs no second copy of the text. The block's count is
/// atomic, so sheets copied from one another may live on different threads.
class CellText
{
public:
    CellText() = default;
    CellText(std::string_view text) { assign(text); } // NOLINT: converts like a string does
    CellText(const CellText& other) : word_(other.word_) { retain(); }
    CellText(CellText&& other) noexcept : word_(other.word_) { other.word_ = 0; }
    CellText& operator=(const CellText& other)
    {
        if (word_ != other.word_)
        {
            release();
            word_ = other.word_;
            retain();
        }
        return *this;
    }
    CellText& operator=(CellText&& other) noexcept
    {
        if (this != &other)
        {
            release();
            word_ = other.word_;
            other.word_ = 0;
        }
        return *this;
    }
    CellText& operator=(std::string_view text)
    {
        // Made first: the text may lie in this very block.
        CellText made(text);
        return *this = std::move(made);
    }
    CellText& operator=(const std::string& text) { return *this = std::string_view(text); }
    CellText& operator=(const char* text) { return *this = std::string_view(text); }
    ~CellText() { release(); }

    bool empty() const { return word_ == 0; }
    std::string_view view() const
    {
        if (word_ == 0)
            return {};
        if (word_ & 1)
            return {reinterpret_cast<const char*>(&word_) + kInlineOffset,
                    static_cast<std::size_t>((word_ >> 1) & 7)};
        const Block* block = this->block();
        return {reinterpret_cast<const char*>(block + 1), block->size};
    }
    operator std::string_view() const { return view(); } // NOLINT: reads like a string
    std::string str() const { return std::string(view()); }
    bool operator==(const CellText& other) const { return word_ == other.word_ || view() == other.view(); }
    bool operator==(std::string_view text) const { return view() == text; }

private:
    struct Block
    {
        std::atomic<std::uint32_t> refs;
        std::uint32_t size;
    };
    /// Where the characters of an in-place text start within the word: the byte after the
    /// one that holds the tag bit and the length.
    static constexpr std::size_t kInlineOffset = std::endian::native == std::endian::little ? 1 : 0;

    const Block* block() const { return reinterpret_cast<const Block*>(static_cast<std::uintptr_t>(word_)); }
    void assign(std::string_view text);
    void retain() const
    {
        if (word_ != 0 && !(word_ & 1))
            const_cast<Block*>(block())->refs.fetch_add(1, std::memory_order_relaxed);
    }
    void release();

    /// 0: empty; low bit set: in place, bits 1 to 3 the length, the other bytes the
    /// characters; else the address of the block.
    std::uint64_t word_ = 0;
};

/// A cell's value in sixteen bytes: what Value holds, with a text kept as a CellText.
class CellValue
{
public:
    using Type = Value::Type;

    CellValue() : number_(0) {}
    CellValue(const Value& value) : number_(0) { set(value); } // NOLINT: stores any value
    CellValue(const CellValue& other) : number_(0) { copyFrom(other); }
    CellValue& operator=(const CellValue& other)
    {
        if (this != &other)
        {
            clear();
            copyFrom(other);
        }
        return *this;
    }
    CellValue(CellValue&& other) noexcept : number_(0) { moveFrom(other); }
    CellValue& operator=(CellValue&& other) noexcept
    {
        if (this != &other)
        {
            clear();
            moveFrom(other);
        }
        return *this;
    }
    CellValue& operator=(const Value& value)
    {
        clear();
        set(value);
        return *this;
    }
    ~CellValue() { clear(); }

    static CellValue number(double v)
    {
        CellValue value;
        value.type_ = Type::Number;
        value.number_ = v;
        return value;
    }
    /// A text value sharing the text.
    static CellValue text(const CellText& v)
    {
        CellValue value;
        value.type_ = Type::Text;
        new (&value.text_) CellText(v);
        return value;
    }

    Type type() const { return type_; }
    bool isEmpty() const { return type_ == Type::Empty; }
    bool isNumber() const { return type_ == Type::Number; }
    bool isText() const { return type_ == Type::Text; }
    bool isLogical() const { return type_ == Type::Logical; }
    bool isError() const { return type_ == Type::Error; }

    double asNumber() const { return number_; }
    std::string_view asText() const { return text_.view(); }
    bool asLogical() const { return small_ != 0; }
    ErrorCode asError() const { return static_cast<ErrorCode>(small_); }

    /// The value as functions take it.
    Value toValue() const;

private:
    void set(const Value& value);
    void copyFrom(const CellValue& other);
    void moveFrom(CellValue& other) noexcept
    {
        type_ = other.type_;
        small_ = other.small_;
        if (type_ == Type::Text)
            new (&text_) CellText(std::move(other.text_));
        else
            number_ = other.number_;
        other.clear();
    }
    void clear()
    {
        if (type_ == Type::Text)
            text_.~CellText();
        type_ = Type::Empty;
        number_ = 0;
    }

    union
    {
        double number_;
        CellText text_;
    };
    Type type_ = Type::Empty;
    std::uint8_t small_ = 0; ///< the logical or the error code
};

/// One stored cell. Its entry is either `data` (a text as set) or `formula`; `value` is what
/// the entry reads as, or the formula's result. Types and formats are ids into the sheet's
/// tables; 0 is the general type and the default format. Texts are kept out of the record
/// (CellText), so that a sheet of numbers and formulas costs a few dozen bytes a cell.
struct Cell
{
    int col = 0;
    int row = 0;
    CellValue value;
    std::shared_ptr<const Formula> formula;
    CellText data;
    CellText tag;
    CellText note;
    std::uint32_t type = 0;
    std::uint32_t format = 0;

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
    ~CellStore();

    Cell* find(int col, int row);
    const Cell* find(int col, int row) const;
    /// The cell at the address, made when missing.
    Cell& obtain(int col, int row);
    void erase(int col, int row);
    void clear();
    std::size_t size() const { return count_; }

    /// Dense cell numbers: every stored cell has a slot below slotCount() that it keeps until
    /// it is erased (a slot freed by an erase is reused by the next new cell). Arrays indexed
    /// by slot can therefore stand in for maps keyed by address.
    static constexpr std::uint32_t kNoSlot = ~std::uint32_t{0};
    std::uint32_t slotCount() const { return poolSize_; }
    /// The slot of the cell at the address, or kNoSlot.
    std::uint32_t slotOf(int col, int row) const;
    /// The cell in a slot below slotCount(); a freed slot holds a blank cell at (0, 0).
    Cell& atSlot(std::uint32_t slot)
    {
        const std::uint32_t chunk = chunkOf(slot);
        return chunks_[chunk][slot - chunkStart(chunk)];
    }
    const Cell& atSlot(std::uint32_t slot) const
    {
        const std::uint32_t chunk = chunkOf(slot);
        return chunks_[chunk][slot - chunkStart(chunk)];
    }

    /// Every stored cell, in no particular order.
    template <class Visit> void forEach(Visit&& visit)
    {
        for (auto& [key, block] : blocks_)
            for (std::uint32_t slot : block.slots)
                if (slot != 0)
                    visit(atSlot(slot - 1));
    }
    template <class Visit> void forEach(Visit&& visit) const
    {
        for (const auto& [key, block] : blocks_)
            for (std::uint32_t slot : block.slots)
                if (slot != 0)
                    visit(atSlot(slot - 1));
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
                    if (!visit(atSlot(slot - 1)))
                        return false;
        }
        return true;
    }
    /// How many blocks a column walk over `row1` to `row2` looks up.
    static int blocksBetween(int row1, int row2) { return row2 / kBlockRows - row1 / kBlockRows + 1; }

    /// The addresses of every stored cell, by row and then column.
    std::vector<CellKey> sortedKeys() const;

    /// Visits every stored cell by row and then column. Cells made in that order (a file
    /// read row by row) are visited in place without sorting anything.
    template <class Visit> void forEachInRowOrder(Visit&& visit) const
    {
        if (slotsInRowOrder())
        {
            for (std::uint32_t slot = 0; slot < poolSize_; ++slot)
                visit(atSlot(slot));
            return;
        }
        for (CellKey key : sortedKeys())
            visit(atSlot(slotOf(keyCol(key), keyRow(key))));
    }

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

    /// Cells live in chunks that never move, so references to cells stay valid while others
    /// are added. Chunk k holds kFirstChunk << k cells: a small sheet takes little memory, a
    /// large one few allocations. A chunk's cells are made as they are first used, so the
    /// unused end of the last chunk is never touched.
    static constexpr std::uint32_t kFirstChunk = 64;
    static std::uint32_t chunkOf(std::uint32_t slot)
    {
        return static_cast<std::uint32_t>(std::bit_width(slot / kFirstChunk + 1)) - 1;
    }
    static std::uint32_t chunkStart(std::uint32_t chunk) { return kFirstChunk * ((1u << chunk) - 1); }
    std::uint32_t newSlot();
    /// True when no slot is free and the slots' cells come by row and then column.
    bool slotsInRowOrder() const;
    void copyPool(const CellStore& other);
    void freePool();

    std::unordered_map<std::uint64_t, Block> blocks_;
    std::vector<Cell*> chunks_;
    std::uint32_t poolSize_ = 0;
    std::vector<std::uint32_t> free_;
    std::size_t count_ = 0;
    // The block last looked up in each of a few columns: reading down a column hits it 63
    // times out of 64, and so does reading or filling a sheet row by row.
    struct Recent
    {
        std::uint64_t key = ~std::uint64_t{0};
        const Block* block = nullptr;
    };
    static constexpr std::size_t kRecentWays = 8;
    Recent& recentOf(std::uint64_t key) const
    {
        return recent_[static_cast<std::size_t>(key >> 32) % kRecentWays];
    }
    void forgetRecent() const { recent_.fill(Recent{}); }
    mutable std::array<Recent, kRecentWays> recent_{};
};
} // namespace grid
