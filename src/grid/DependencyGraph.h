#pragma once

#include "grid/CellStore.h"
#include "grid/functions/Function.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace grid
{
/// Which formula cells read which cells. Single-cell precedents are kept in a map from the
/// cell read to its readers; ranges in lists by column (ranges wider than a few columns in
/// one list of their own), so that a change finds the ranges that hold it without looking
/// at every formula.
class DependencyGraph
{
public:
    /// The cell `reader` reads the ranges `refs` (one-cell references are 1x1 ranges).
    void add(CellKey reader, const std::vector<CellRange>& refs);
    /// Forgets what `reader` reads; `refs` must be what was added for it.
    void remove(CellKey reader, const std::vector<CellRange>& refs);
    void clear();

    /// The formula cells that read the cell (col, row), each once per reference.
    template <class Visit> void forEachReader(int col, int row, Visit&& visit) const
    {
        auto single = cellReaders_.find(cellKey(col, row));
        if (single != cellReaders_.end())
        {
            visit(single->second.first);
            for (CellKey reader : single->second.more)
                visit(reader);
        }
        auto column = columnRanges_.find(col);
        if (column != columnRanges_.end())
            for (const RangeReader& entry : column->second)
                if (row >= entry.range.row1 && row <= entry.range.row2)
                    visit(entry.reader);
        for (const RangeReader& entry : wideRanges_)
            if (col >= entry.range.col1 && col <= entry.range.col2 && row >= entry.range.row1 &&
                row <= entry.range.row2)
                visit(entry.reader);
    }

    /// An evaluation order for the formula cells affected by a change of `changed`: the
    /// changed cells that are formula cells, and every formula cell that reads, directly or
    /// through others, any changed cell. A cell comes after every affected cell it reads.
    /// Cells on a reference cycle are listed with `circular` set, after the cells they read
    /// outside the cycle. `markOf(key)` gives the mark of a formula cell, or null for any
    /// other address; the marks are overwritten. Nothing recurses: any chain length works.
    struct Step
    {
        CellKey cell;
        bool circular;
    };
    template <class MarkOf> std::vector<Step> plan(const std::vector<CellKey>& changed, MarkOf&& markOf);

    /// True when some formula reads the cell.
    bool hasReaders(int col, int row) const
    {
        bool found = false;
        forEachReader(col, row, [&](CellKey) { found = true; });
        return found;
    }

private:
    struct RangeReader
    {
        CellRange range;
        CellKey reader;
    };
    /// Ranges at most this many columns wide are listed under each of their columns.
    static constexpr int kNarrowWidth = 8;

    /// Tarjan's strongly connected components over the nodes and their edges (node to the
    /// nodes that read it, as offsets into `targets`), with an explicit stack.
    static std::vector<Step> order(const std::vector<CellKey>& nodes,
                                   const std::vector<std::uint32_t>& offsets,
                                   const std::vector<std::uint32_t>& targets,
                                   const std::vector<bool>& readsItself);

    std::uint32_t generation_ = 0;

    /// The readers of one cell. Most cells have one reader, which needs no list of its own.
    struct Readers
    {
        CellKey first;
        std::vector<CellKey> more;
    };
    std::unordered_map<CellKey, Readers> cellReaders_;
    std::unordered_map<int, std::vector<RangeReader>> columnRanges_;
    std::vector<RangeReader> wideRanges_;
};

template <class MarkOf>
std::vector<DependencyGraph::Step> DependencyGraph::plan(const std::vector<CellKey>& changed, MarkOf&& markOf)
{
    if (++generation_ == 0)
        generation_ = 1; // marks of 0 never count, so a wrapped counter needs no reset
    const std::uint32_t generation = generation_;
    constexpr std::uint32_t kNoNode = ~std::uint32_t{0};
    std::vector<CellKey> nodes;
    /// The node index of a formula cell, taken into the plan when new; kNoNode for others.
    auto take = [&](CellKey key, bool& added)
    {
        added = false;
        CalcMark* mark = markOf(key);
        if (!mark)
            return kNoNode;
        if (mark->generation != generation)
        {
            mark->generation = generation;
            mark->index = static_cast<std::uint32_t>(nodes.size());
            nodes.push_back(key);
            added = true;
        }
        return mark->index;
    };
    // Everything reachable from the changed cells along "is read by", without recursion,
    // noting the edges among formula cells on the way. A changed cell that is no formula
    // is walked for each time it is listed.
    struct Work
    {
        CellKey key;
        std::uint32_t node;
    };
    std::vector<Work> work;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> edges;
    for (CellKey key : changed)
    {
        bool added = false;
        const std::uint32_t node = take(key, added);
        if (added || node == kNoNode)
            work.push_back({key, node});
    }
    while (!work.empty())
    {
        const Work item = work.back();
        work.pop_back();
        forEachReader(keyCol(item.key), keyRow(item.key),
                      [&](CellKey reader)
                      {
                          bool added = false;
                          const std::uint32_t node = take(reader, added);
                          if (node == kNoNode)
                              return;
                          if (item.node != kNoNode)
                              edges.emplace_back(item.node, node);
                          if (added)
                              work.push_back({reader, node});
                      });
    }

    // The edges as compact arrays: the readers of node i are targets[offsets[i] …].
    std::vector<std::uint32_t> offsets(nodes.size() + 1, 0);
    std::vector<std::uint32_t> targets(edges.size());
    std::vector<bool> readsItself(nodes.size(), false);
    for (const auto& [from, to] : edges)
    {
        ++offsets[from + 1];
        if (from == to)
            readsItself[from] = true;
    }
    for (std::size_t i = 1; i < offsets.size(); ++i)
        offsets[i] += offsets[i - 1];
    std::vector<std::uint32_t> fill(offsets.begin(), offsets.end() - 1);
    for (const auto& [from, to] : edges)
        targets[fill[from]++] = to;
    return order(nodes, offsets, targets, readsItself);
}
} // namespace grid
