#pragma once

#include "grid/CellStore.h"
#include "grid/functions/Function.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace grid
{
/// Which formula cells read which cells.
///
/// Every address the graph knows (a formula cell, or a cell some formula reads by itself)
/// gets a dense node number; what hangs off a node lives in flat arrays indexed by it, so a
/// recalculation walks numbers and never looks an address up. The readers of a cell sit in
/// one shared pool, each node's list in one piece. Ranges are kept by column (ranges wider
/// than a few columns in one list of their own) as intervals sorted by their first row, so a
/// change finds the ranges that hold it by search.
class DependencyGraph
{
public:
    using Node = std::uint32_t;
    static constexpr Node kNoNode = ~Node{0};

    DependencyGraph();

    /// The formula cell `reader`, kept in the cell store's slot `slot`, reads the ranges
    /// `refs` (one-cell references are 1x1 ranges).
    void add(CellKey reader, std::uint32_t slot, const std::vector<CellRange>& refs);
    /// Forgets what `reader` reads; `refs` must be what was added for it.
    void remove(CellKey reader, const std::vector<CellRange>& refs);
    void clear();

    /// Between these, `add` only notes the readers, and the end lays every list out in one
    /// pass: the way to build the graph of a whole sheet.
    void beginBuild(std::size_t formulas);
    void endBuild();

    /// True when some formula reads the cell.
    bool hasReaders(int col, int row) const;

    /// One step of a recalculation: the formula cell, the slot it had when the graph
    /// learnt of it, and whether it sits on a reference cycle.
    struct Step
    {
        CellKey cell;
        std::uint32_t slot;
        bool circular;
    };
    /// An evaluation order for the formula cells affected by a change of `changed`: the
    /// changed cells that are formula cells, and every formula cell that reads, directly or
    /// through others, any changed cell. A cell comes after every affected cell it reads.
    /// Cells on a reference cycle are listed with `circular` set, after the cells they read
    /// outside the cycle. Nothing recurses: any chain length works.
    std::vector<Step> plan(const std::vector<CellKey>& changed);
    /// The plan of every formula cell, as plan() gives it for all of them, made straight
    /// from the graph's own lists. Only for sheets without range references and cycles;
    /// false (and `steps` empty) otherwise, when plan() is the way.
    bool planAll(std::vector<Step>& steps);

private:
    struct RangeEntry
    {
        int row1;
        int row2;
        int col1;
        int col2;
        Node reader; ///< kNoNode once removed
    };
    /// The ranges of one column (or the wide ranges): a part sorted by first and last row,
    /// with the largest last row of each block of it, and the ranges added since it was
    /// last sorted.
    struct RangeList
    {
        std::vector<RangeEntry> sorted;
        std::vector<int> blockEnd;
        std::vector<RangeEntry> recent;
        std::size_t removed = 0;

        bool empty() const { return sorted.size() == removed && recent.empty(); }
        void add(const RangeEntry& entry);
        void remove(const CellRange& range, Node reader);
        void merge();
        template <class Visit> void forEachHolding(int col, int row, bool checkCols, Visit&& visit) const;
    };
    static constexpr int kBlock = 16;
    /// Ranges at most this many columns wide are listed under each of their columns.
    static constexpr int kNarrowWidth = 8;

    struct NodeData
    {
        CellKey key = 0;
        std::uint32_t slot = 0;     ///< the formula cell's slot in the cell store
        std::uint32_t readerAt = 0; ///< where its readers start in `readerPool_`
        std::uint32_t readerCount = 0;
        std::uint32_t readerRoom : 31 = 0; ///< places held in the pool
        std::uint32_t formula : 1 = 0;
    };

    Node find(CellKey key) const;
    Node obtain(CellKey key);
    void release(Node node);
    void addReader(Node cell, Node reader);
    void removeReader(Node cell, Node reader);
    void compactPool();
    /// Appends every formula that reads the cell of `node` (or the address `key` when there
    /// is no node) to `out`.
    void appendReaders(Node node, CellKey key, std::vector<Node>& out) const;
    template <class Visit> void forEachRangeReader(int col, int row, Visit&& visit) const;

    // Addresses map to nodes through blocks of 64 rows of one column, found by a hash map
    // of blocks and a small cache of the blocks last used in each of a few columns: a
    // formula reads cells near itself, so most look-ups hash nothing, and the table costs
    // four bytes a node rather than a hash bucket each.
    static constexpr int kBlockRows = 64;
    static constexpr std::size_t kCacheWays = 16;
    static std::uint64_t blockKeyOf(CellKey key)
    {
        return (key & ~std::uint64_t{0xFFFFFFFFu}) | (static_cast<std::uint32_t>(keyRow(key)) / kBlockRows);
    }
    /// The nodes of the block holding `key` (kNoNode where none), or null when the block
    /// does not exist and `make` is false.
    Node* blockOf(CellKey key, bool make);
    const Node* blockOf(CellKey key) const { return const_cast<DependencyGraph*>(this)->blockOf(key, false); }
    std::unordered_map<std::uint64_t, std::uint32_t> blockIndex_;
    std::vector<Node> blockNodes_; ///< kBlockRows nodes a block
    struct CacheEntry
    {
        std::uint64_t key = ~std::uint64_t{0};
        std::uint32_t block = 0;
    };
    std::array<CacheEntry, kCacheWays> cache_{};

    std::vector<NodeData> nodes_;
    std::vector<Node> freeNodes_;
    std::vector<Node> readerPool_;
    std::size_t poolWaste_ = 0;
    std::vector<RangeList> columns_; ///< by column
    RangeList wide_;

    bool building_ = false;
    std::vector<std::pair<Node, Node>> built_; ///< (cell read, reader) noted while building

    /// Orders the affected cells that wait on a reference cycle (listed as `pending`, by
    /// their numbers in the plan) with Tarjan's strongly connected components, appending
    /// them to `placed`.
    void orderCycles(const std::vector<std::uint32_t>& pending, std::vector<std::uint32_t>& placed,
                     std::vector<bool>& circular);

    // Scratch of the recalculation plan, kept between plans so that a plan allocates little
    // once the sheet has been calculated. Cells taken into a plan are numbered from 0.
    std::uint32_t generation_ = 0;
    std::vector<std::uint32_t> visited_; ///< by node: the generation that last took it
    std::vector<std::uint32_t> local_;   ///< by node: its number in the plan
    std::vector<Node> affected_;         ///< by number: the node
    std::vector<std::uint32_t> waiting_; ///< by number: how many of the cells it reads wait
    std::vector<std::uint32_t> offsets_; ///< by number: where its readers start in `readers_`
    std::vector<std::uint32_t> readers_; ///< numbers of readers
    std::vector<Node> starts_;
    struct Frame
    {
        std::uint32_t cell;
        std::uint32_t next; ///< the next of its readers in `readers_`
        bool readsItself;
    };
    std::vector<Frame> calls_;
};
} // namespace grid
