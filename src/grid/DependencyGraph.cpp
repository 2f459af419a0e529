#include "grid/DependencyGraph.h"

#include <algorithm>
#include <cmath>

namespace grid
{
namespace
{
bool isWide(const CellRange& range, int narrowWidth)
{
    return range.col2 - range.col1 + 1 > narrowWidth;
}

bool byRows(const auto& a, const auto& b)
{
    return a.row1 != b.row1 ? a.row1 < b.row1 : a.row2 < b.row2;
}
} // namespace

// --- Ranges ----------------------------------------------------------------------------

void DependencyGraph::RangeList::add(const RangeEntry& entry)
{
    recent.push_back(entry);
    // The unsorted part is searched entry by entry; it is sorted in once it outgrows about
    // the square root of the sorted part, which keeps both adding and searching cheap.
    const auto limit = 32 + static_cast<std::size_t>(std::sqrt(static_cast<double>(sorted.size())));
    if (recent.size() > limit)
        merge();
}

void DependencyGraph::RangeList::merge()
{
    std::sort(recent.begin(), recent.end(), byRows<RangeEntry, RangeEntry>);
    std::vector<RangeEntry> merged;
    merged.reserve(sorted.size() - removed + recent.size());
    auto live = [](const RangeEntry& entry) { return entry.reader != kNoNode; };
    std::size_t i = 0, j = 0;
    while (i < sorted.size() || j < recent.size())
    {
        if (j == recent.size() || (i < sorted.size() && !byRows(recent[j], sorted[i])))
        {
            if (live(sorted[i]))
                merged.push_back(sorted[i]);
            ++i;
        }
        else
            merged.push_back(recent[j++]);
    }
    sorted = std::move(merged);
    recent.clear();
    removed = 0;
    blockEnd.assign((sorted.size() + kBlock - 1) / kBlock, 0);
    for (std::size_t k = 0; k < sorted.size(); ++k)
        blockEnd[k / kBlock] = std::max(blockEnd[k / kBlock], sorted[k].row2);
}

void DependencyGraph::RangeList::remove(const CellRange& range, Node reader)
{
    auto same = [&](const RangeEntry& entry)
    {
        return entry.reader == reader && entry.row1 == range.row1 && entry.row2 == range.row2 &&
               entry.col1 == range.col1 && entry.col2 == range.col2;
    };
    for (std::size_t k = 0; k < recent.size(); ++k)
        if (same(recent[k]))
        {
            recent[k] = recent.back();
            recent.pop_back();
            return;
        }
    const RangeEntry probe{range.row1, range.row2, 0, 0, 0};
    auto it = std::lower_bound(sorted.begin(), sorted.end(), probe, byRows<RangeEntry, RangeEntry>);
    for (; it != sorted.end() && it->row1 == range.row1 && it->row2 == range.row2; ++it)
        if (same(*it))
        {
            // A removed entry stays in place until the next merge, so the blocks stay sorted.
            it->reader = kNoNode;
            if (++removed > 32 && removed > sorted.size() / 2)
                merge();
            return;
        }
}

template <class Visit>
void DependencyGraph::RangeList::forEachHolding(int col, int row, bool checkCols, Visit&& visit) const
{
    auto holds = [&](const RangeEntry& entry)
    {
        return entry.reader != kNoNode && entry.row1 <= row && entry.row2 >= row &&
               (!checkCols || (entry.col1 <= col && entry.col2 >= col));
    };
    // The entries starting at or above the row are a prefix of the sorted part; of its
    // blocks only those reaching down to the row are looked into.
    const std::size_t prefix = static_cast<std::size_t>(std::upper_bound(sorted.begin(), sorted.end(), row,
                                                                         [](int r, const RangeEntry& entry)
                                                                         { return r < entry.row1; }) -
                                                        sorted.begin());
    for (std::size_t block = 0; block * kBlock < prefix; ++block)
    {
        if (blockEnd[block] < row)
            continue;
        const std::size_t end = std::min(prefix, (block + 1) * kBlock);
        for (std::size_t k = block * kBlock; k < end; ++k)
            if (holds(sorted[k]) && !visit(sorted[k].reader))
                return;
    }
    for (const RangeEntry& entry : recent)
        if (holds(entry) && !visit(entry.reader))
            return;
}

template <class Visit> void DependencyGraph::forEachRangeReader(int col, int row, Visit&& visit) const
{
    bool going = true;
    auto keepGoing = [&](Node reader) { return going = visit(reader); };
    if (col >= 0 && static_cast<std::size_t>(col) < columns_.size() && !columns_[col].empty())
        columns_[col].forEachHolding(col, row, false, keepGoing);
    if (going && !wide_.empty())
        wide_.forEachHolding(col, row, true, keepGoing);
}

// --- Addresses -------------------------------------------------------------------------

DependencyGraph::DependencyGraph() = default;

DependencyGraph::Node* DependencyGraph::blockOf(CellKey key, bool make)
{
    const std::uint64_t block = blockKeyOf(key);
    CacheEntry& cached = cache_[static_cast<std::size_t>(keyCol(key)) % kCacheWays];
    if (cached.key == block)
        return blockNodes_.data() + std::size_t{cached.block} * kBlockRows;
    std::uint32_t index;
    if (auto it = blockIndex_.find(block); it != blockIndex_.end())
        index = it->second;
    else if (!make)
        return nullptr;
    else
    {
        index = static_cast<std::uint32_t>(blockNodes_.size() / kBlockRows);
        blockIndex_.emplace(block, index);
        blockNodes_.resize(blockNodes_.size() + kBlockRows, kNoNode);
    }
    cached = {block, index};
    return blockNodes_.data() + std::size_t{index} * kBlockRows;
}

DependencyGraph::Node DependencyGraph::find(CellKey key) const
{
    const Node* block = blockOf(key);
    return block ? block[static_cast<std::uint32_t>(keyRow(key)) % kBlockRows] : kNoNode;
}

DependencyGraph::Node DependencyGraph::obtain(CellKey key)
{
    Node& entry = blockOf(key, true)[static_cast<std::uint32_t>(keyRow(key)) % kBlockRows];
    if (entry != kNoNode)
        return entry;
    Node node;
    if (!freeNodes_.empty())
    {
        node = freeNodes_.back();
        freeNodes_.pop_back();
    }
    else
    {
        node = static_cast<Node>(nodes_.size());
        nodes_.emplace_back();
    }
    nodes_[node] = NodeData{};
    nodes_[node].key = key;
    entry = node;
    return node;
}

void DependencyGraph::release(Node node)
{
    const CellKey key = nodes_[node].key;
    blockOf(key, true)[static_cast<std::uint32_t>(keyRow(key)) % kBlockRows] = kNoNode;
    poolWaste_ += nodes_[node].readerRoom;
    nodes_[node] = NodeData{};
    freeNodes_.push_back(node);
}

// --- Readers of single cells -----------------------------------------------------------

void DependencyGraph::addReader(Node cell, Node reader)
{
    NodeData& data = nodes_[cell];
    if (data.readerCount == data.readerRoom)
    {
        const std::uint32_t room = data.readerRoom == 0 ? 1 : data.readerRoom * 2;
        if (data.readerRoom != 0 && data.readerAt + data.readerRoom == readerPool_.size())
            readerPool_.resize(data.readerAt + room); // the last list grows where it is
        else
        {
            const auto at = static_cast<std::uint32_t>(readerPool_.size());
            readerPool_.resize(at + room);
            std::copy_n(readerPool_.begin() + data.readerAt, data.readerCount, readerPool_.begin() + at);
            poolWaste_ += data.readerRoom;
            data.readerAt = at;
        }
        data.readerRoom = room;
    }
    readerPool_[data.readerAt + data.readerCount++] = reader;
    if (poolWaste_ > 4096 && poolWaste_ > readerPool_.size() / 2)
        compactPool();
}

void DependencyGraph::removeReader(Node cell, Node reader)
{
    NodeData& data = nodes_[cell];
    Node* list = readerPool_.data() + data.readerAt;
    for (std::uint32_t k = 0; k < data.readerCount; ++k)
        if (list[k] == reader)
        {
            list[k] = list[data.readerCount - 1];
            --data.readerCount;
            break;
        }
    if (data.readerCount == 0 && !data.formula)
        release(cell);
}

void DependencyGraph::compactPool()
{
    std::vector<Node> pool;
    pool.reserve(readerPool_.size() - poolWaste_);
    for (NodeData& data : nodes_)
    {
        const auto at = static_cast<std::uint32_t>(pool.size());
        pool.insert(pool.end(), readerPool_.begin() + data.readerAt,
                    readerPool_.begin() + data.readerAt + data.readerCount);
        data.readerAt = at;
        data.readerRoom = data.readerCount;
    }
    readerPool_ = std::move(pool);
    poolWaste_ = 0;
}

// --- Changes ---------------------------------------------------------------------------

void DependencyGraph::add(CellKey reader, std::uint32_t slot, const std::vector<CellRange>& refs)
{
    const Node node = obtain(reader);
    nodes_[node].formula = 1;
    nodes_[node].slot = slot;
    for (const CellRange& range : refs)
    {
        if (range.isSingleCell())
        {
            const Node read = obtain(cellKey(range.col1, range.row1));
            if (building_)
                built_.emplace_back(read, node);
            else
                addReader(read, node);
        }
        else
        {
            const RangeEntry entry{range.row1, range.row2, range.col1, range.col2, node};
            if (isWide(range, kNarrowWidth))
                wide_.add(entry);
            else
            {
                if (static_cast<std::size_t>(range.col2) >= columns_.size())
                    columns_.resize(static_cast<std::size_t>(range.col2) + 1);
                for (int col = range.col1; col <= range.col2; ++col)
                    columns_[static_cast<std::size_t>(col)].add(entry);
            }
        }
    }
}

void DependencyGraph::remove(CellKey reader, const std::vector<CellRange>& refs)
{
    const Node node = find(reader);
    if (node == kNoNode)
        return;
    for (const CellRange& range : refs)
    {
        if (range.isSingleCell())
        {
            if (const Node read = find(cellKey(range.col1, range.row1)); read != kNoNode)
                removeReader(read, node);
        }
        else if (isWide(range, kNarrowWidth))
            wide_.remove(range, node);
        else
            for (int col = range.col1; col <= range.col2 && static_cast<std::size_t>(col) < columns_.size();
                 ++col)
                columns_[static_cast<std::size_t>(col)].remove(range, node);
    }
    nodes_[node].formula = 0;
    nodes_[node].slot = 0;
    if (nodes_[node].readerCount == 0)
        release(node);
}

void DependencyGraph::clear()
{
    blockIndex_.clear();
    blockNodes_.clear();
    cache_.fill(CacheEntry{});
    nodes_.clear();
    freeNodes_.clear();
    readerPool_.clear();
    poolWaste_ = 0;
    columns_.clear();
    wide_ = RangeList{};
    built_.clear();
    building_ = false;
    visited_.clear();
    generation_ = 0;
}

void DependencyGraph::beginBuild(std::size_t formulas)
{
    clear();
    building_ = true;
    nodes_.reserve(formulas + formulas / 4);
    blockNodes_.reserve(formulas + formulas / 4);
    // Most formulas read a few cells; room never used is never touched, so it costs no memory.
    built_.reserve(formulas * 4);
}

void DependencyGraph::endBuild()
{
    building_ = false;
    // Every list in one piece, exactly as long as it needs: count, then place.
    for (const auto& [read, reader] : built_)
        ++nodes_[read].readerRoom;
    std::uint32_t at = 0;
    for (NodeData& data : nodes_)
    {
        data.readerAt = at;
        at += data.readerRoom;
    }
    readerPool_.assign(at, kNoNode);
    for (const auto& [read, reader] : built_)
    {
        NodeData& data = nodes_[read];
        readerPool_[data.readerAt + data.readerCount++] = reader;
    }
    built_.clear();
    built_.shrink_to_fit();
    for (RangeList& list : columns_)
        if (!list.recent.empty())
            list.merge();
    if (!wide_.recent.empty())
        wide_.merge();
}

// --- Queries ---------------------------------------------------------------------------

bool DependencyGraph::hasReaders(int col, int row) const
{
    const CellKey key = cellKey(col, row);
    if (const Node node = find(key); node != kNoNode && nodes_[node].readerCount > 0)
        return true;
    bool found = false;
    forEachRangeReader(col, row,
                       [&](Node)
                       {
                           found = true;
                           return false;
                       });
    return found;
}

void DependencyGraph::appendReaders(Node node, CellKey key, std::vector<Node>& out) const
{
    if (node != kNoNode)
    {
        const NodeData& data = nodes_[node];
        out.insert(out.end(), readerPool_.begin() + data.readerAt,
                   readerPool_.begin() + data.readerAt + data.readerCount);
    }
    forEachRangeReader(keyCol(key), keyRow(key),
                       [&](Node reader)
                       {
                           out.push_back(reader);
                           return true;
                       });
}

std::vector<DependencyGraph::Step> DependencyGraph::plan(const std::vector<CellKey>& changed)
{
    if (++generation_ == 0)
    {
        // Marks of 0 never count, so a wrapped counter starts the marks afresh.
        std::fill(visited_.begin(), visited_.end(), 0);
        generation_ = 1;
    }
    const std::uint32_t generation = generation_;
    if (visited_.size() < nodes_.size())
    {
        visited_.resize(nodes_.size(), 0);
        local_.resize(nodes_.size());
        // Room for a plan of every node, so that a large plan never copies its lists as they
        // grow; what a plan does not use is never touched and costs no memory.
        affected_.reserve(nodes_.size());
        waiting_.reserve(nodes_.size());
        offsets_.reserve(nodes_.size() + 1);
        readers_.reserve(readerPool_.size());
    }
    affected_.clear();
    waiting_.clear();
    offsets_.clear();
    readers_.clear();
    auto take = [&](Node node)
    {
        if (visited_[node] != generation)
        {
            visited_[node] = generation;
            local_[node] = static_cast<std::uint32_t>(affected_.size());
            affected_.push_back(node);
            waiting_.push_back(0);
        }
        return local_[node];
    };
    for (CellKey key : changed)
    {
        const Node node = find(key);
        if (node != kNoNode && nodes_[node].formula)
        {
            take(node);
            continue;
        }
        // A changed cell that is no formula is no step; its readers are where the walk starts.
        starts_.clear();
        appendReaders(node, key, starts_);
        for (Node reader : starts_)
            take(reader);
    }
    // Everything reachable along "is read by", in the order found; the readers of each cell
    // are noted once, as plan numbers, so that ordering needs no second look at the graph.
    for (std::size_t i = 0; i < affected_.size(); ++i)
    {
        offsets_.push_back(static_cast<std::uint32_t>(readers_.size()));
        const std::size_t from = readers_.size();
        const Node node = affected_[i];
        appendReaders(node, nodes_[node].key, readers_);
        for (std::size_t k = from; k < readers_.size(); ++k)
        {
            const std::uint32_t reader = take(readers_[k]);
            readers_[k] = reader;
            ++waiting_[reader];
        }
    }
    const std::size_t count = affected_.size();
    offsets_.push_back(static_cast<std::uint32_t>(readers_.size()));

    // A cell is placed once every affected cell it reads is placed, oldest first: the cells
    // near a change come before those far from it, so a sheet recalculates in waves that
    // read what was just written. Cells on a cycle, and those reading them, never get there.
    std::vector<std::uint32_t> placed;
    placed.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        if (waiting_[i] == 0)
            placed.push_back(i);
    for (std::size_t head = 0; head < placed.size(); ++head)
    {
        const std::uint32_t i = placed[head];
        for (std::uint32_t k = offsets_[i]; k < offsets_[i + 1]; ++k)
            if (--waiting_[readers_[k]] == 0)
                placed.push_back(readers_[k]);
    }
    std::vector<bool> circular;
    if (placed.size() < count)
    {
        std::vector<std::uint32_t> pending;
        for (std::uint32_t i = 0; i < count; ++i)
            if (waiting_[i] != 0)
                pending.push_back(i);
        circular.assign(count, false);
        orderCycles(pending, placed, circular);
    }
    std::vector<Step> steps;
    steps.reserve(count);
    for (std::uint32_t i : placed)
    {
        const NodeData& data = nodes_[affected_[i]];
        steps.push_back({data.key, data.slot, !circular.empty() && circular[i]});
    }
    return steps;
}

bool DependencyGraph::planAll(std::vector<Step>& steps)
{
    steps.clear();
    const auto rangeFree = [](const RangeList& list) { return list.empty(); };
    if (!wide_.empty() || !std::all_of(columns_.begin(), columns_.end(), rangeFree))
        return false;
    // Every formula is taken, so a node's number serves as its number in the plan, and its
    // readers, all formulas, are the lists the graph keeps: nothing is copied.
    const auto count = static_cast<std::uint32_t>(nodes_.size());
    waiting_.assign(count, 0);
    std::uint32_t formulas = 0;
    for (std::uint32_t node = 0; node < count; ++node)
    {
        const NodeData& data = nodes_[node];
        if (!data.formula)
            continue;
        ++formulas;
        for (std::uint32_t k = 0; k < data.readerCount; ++k)
            ++waiting_[readerPool_[data.readerAt + k]];
    }
    std::vector<Node> placed;
    placed.reserve(formulas);
    for (std::uint32_t node = 0; node < count; ++node)
        if (nodes_[node].formula && waiting_[node] == 0)
            placed.push_back(node);
    for (std::size_t head = 0; head < placed.size(); ++head)
    {
        const NodeData& data = nodes_[placed[head]];
        for (std::uint32_t k = 0; k < data.readerCount; ++k)
            if (const Node reader = readerPool_[data.readerAt + k]; --waiting_[reader] == 0)
                placed.push_back(reader);
    }
    if (placed.size() < formulas)
        return false; // a cycle: plan() orders it
    steps.reserve(formulas);
    for (Node node : placed)
        steps.push_back({nodes_[node].key, nodes_[node].slot, false});
    return true;
}

void DependencyGraph::orderCycles(const std::vector<std::uint32_t>& pending,
                                  std::vector<std::uint32_t>& placed, std::vector<bool>& circular)
{
    // Every reader of a waiting cell waits as well, so the walk stays among them. The
    // components come out readers first; the reverse is an evaluation order in which a
    // cycle comes after the cells it reads.
    constexpr std::uint32_t kUnvisited = ~std::uint32_t{0};
    constexpr std::uint32_t kDone = kUnvisited - 1;
    const std::size_t count = affected_.size();
    std::vector<std::uint32_t> order(count, kUnvisited), low(count, 0), stack, components;
    std::uint32_t counter = 0;
    calls_.clear();
    auto enter = [&](std::uint32_t v)
    {
        order[v] = low[v] = counter++;
        stack.push_back(v);
        calls_.push_back({v, offsets_[v], false});
    };
    for (std::uint32_t start : pending)
    {
        if (order[start] != kUnvisited)
            continue;
        enter(start);
        while (!calls_.empty())
        {
            Frame& frame = calls_.back();
            const std::uint32_t v = frame.cell;
            if (frame.next < offsets_[v + 1])
            {
                const std::uint32_t w = readers_[frame.next++];
                if (order[w] == kUnvisited)
                    enter(w);
                else if (order[w] != kDone)
                {
                    low[v] = std::min(low[v], order[w]);
                    if (w == v)
                        frame.readsItself = true;
                }
                continue;
            }
            const bool readsItself = frame.readsItself;
            calls_.pop_back();
            if (!calls_.empty())
                low[calls_.back().cell] = std::min(low[calls_.back().cell], low[v]);
            if (low[v] != order[v])
                continue;
            std::size_t first = stack.size();
            do
                --first;
            while (stack[first] != v);
            const bool cycle = stack.size() - first > 1 || readsItself;
            for (std::size_t k = first; k < stack.size(); ++k)
            {
                order[stack[k]] = kDone;
                circular[stack[k]] = cycle;
                components.push_back(stack[k]);
            }
            stack.resize(first);
        }
    }
    placed.insert(placed.end(), components.rbegin(), components.rend());
}
} // namespace grid
