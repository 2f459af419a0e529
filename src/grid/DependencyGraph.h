#pragma once

#include "grid/CellStore.h"
#include "grid/functions/Function.h"

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
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
            for (CellKey reader : single->second)
                visit(reader);
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
    /// changed cells that satisfy `isFormula`, and every formula cell that reads, directly or
    /// through others, any changed cell. A cell comes after every affected cell it reads.
    /// Cells on a reference cycle are listed with `circular` set, after the cells they read
    /// outside the cycle.
    struct Step
    {
        CellKey cell;
        bool circular;
    };
    template <class IsFormula>
    std::vector<Step> plan(const std::vector<CellKey>& changed, IsFormula&& isFormula) const;

private:
    struct RangeReader
    {
        CellRange range;
        CellKey reader;
    };
    /// Ranges at most this many columns wide are listed under each of their columns.
    static constexpr int kNarrowWidth = 8;

    std::vector<Step> order(const std::vector<CellKey>& nodes) const;

    std::unordered_map<CellKey, std::vector<CellKey>> cellReaders_;
    std::unordered_map<int, std::vector<RangeReader>> columnRanges_;
    std::vector<RangeReader> wideRanges_;
};

template <class IsFormula>
std::vector<DependencyGraph::Step> DependencyGraph::plan(const std::vector<CellKey>& changed,
                                                         IsFormula&& isFormula) const
{
    // Everything reachable from the changed cells along "is read by", without recursion.
    std::vector<CellKey> nodes;
    std::unordered_set<CellKey> seen;
    std::vector<CellKey> work;
    for (CellKey key : changed)
    {
        if (!seen.insert(key).second)
            continue;
        if (isFormula(key))
            nodes.push_back(key);
        work.push_back(key);
    }
    while (!work.empty())
    {
        CellKey key = work.back();
        work.pop_back();
        forEachReader(keyCol(key), keyRow(key), [&](CellKey reader) {
            if (seen.insert(reader).second)
            {
                nodes.push_back(reader);
                work.push_back(reader);
            }
        });
    }
    return order(nodes);
}
} // namespace grid
