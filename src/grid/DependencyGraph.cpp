#include "grid/DependencyGraph.h"

#include <algorithm>

namespace grid
{
namespace
{
bool isWide(const CellRange& range, int narrowWidth)
{
    return range.col2 - range.col1 + 1 > narrowWidth;
}

template <class Entries, class Entry> void eraseOne(Entries& entries, const Entry& match)
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (match(entries[i]))
        {
            entries[i] = std::move(entries.back());
            entries.pop_back();
            return;
        }
}
} // namespace

void DependencyGraph::add(CellKey reader, const std::vector<CellRange>& refs)
{
    for (const CellRange& range : refs)
    {
        if (range.isSingleCell())
        {
            auto [it, added] = cellReaders_.try_emplace(cellKey(range.col1, range.row1), Readers{reader, {}});
            if (!added)
                it->second.more.push_back(reader);
        }
        else if (isWide(range, kNarrowWidth))
            wideRanges_.push_back({range, reader});
        else
            for (int col = range.col1; col <= range.col2; ++col)
                columnRanges_[col].push_back({range, reader});
    }
}

void DependencyGraph::remove(CellKey reader, const std::vector<CellRange>& refs)
{
    for (const CellRange& range : refs)
    {
        auto sameEntry = [&](const RangeReader& entry)
        { return entry.reader == reader && entry.range == range; };
        if (range.isSingleCell())
        {
            auto it = cellReaders_.find(cellKey(range.col1, range.row1));
            if (it == cellReaders_.end())
                continue;
            Readers& readers = it->second;
            if (readers.first == reader)
            {
                if (readers.more.empty())
                {
                    cellReaders_.erase(it);
                    continue;
                }
                readers.first = readers.more.back();
                readers.more.pop_back();
            }
            else
                eraseOne(readers.more, [&](CellKey key) { return key == reader; });
        }
        else if (isWide(range, kNarrowWidth))
            eraseOne(wideRanges_, sameEntry);
        else
            for (int col = range.col1; col <= range.col2; ++col)
            {
                auto it = columnRanges_.find(col);
                if (it == columnRanges_.end())
                    continue;
                eraseOne(it->second, sameEntry);
                if (it->second.empty())
                    columnRanges_.erase(it);
            }
    }
}

void DependencyGraph::clear()
{
    cellReaders_.clear();
    columnRanges_.clear();
    wideRanges_.clear();
}

std::vector<DependencyGraph::Step> DependencyGraph::order(const std::vector<CellKey>& nodes,
                                                          const std::vector<std::uint32_t>& offsets,
                                                          const std::vector<std::uint32_t>& targets,
                                                          const std::vector<bool>& readsItself)
{
    using Node = std::uint32_t;
    constexpr Node kUnvisited = ~Node{0};
    const std::size_t count = nodes.size();
    // Components come out readers first, so the reverse is an evaluation order.
    std::vector<Node> index(count, kUnvisited), low(count, 0);
    std::vector<bool> onStack(count, false);
    std::vector<Node> stack;
    struct Frame
    {
        Node node;
        std::uint32_t next; ///< position in `targets`
    };
    std::vector<Frame> calls;
    std::vector<Step> steps;
    steps.reserve(count);
    Node counter = 0;
    auto enter = [&](Node v)
    {
        index[v] = low[v] = counter++;
        stack.push_back(v);
        onStack[v] = true;
        calls.push_back({v, offsets[v]});
    };
    for (Node start = 0; start < count; ++start)
    {
        if (index[start] != kUnvisited)
            continue;
        enter(start);
        while (!calls.empty())
        {
            const Node v = calls.back().node;
            if (calls.back().next < offsets[v + 1])
            {
                const Node w = targets[calls.back().next++];
                if (index[w] == kUnvisited)
                    enter(w);
                else if (onStack[w])
                    low[v] = std::min(low[v], index[w]);
                continue;
            }
            calls.pop_back();
            if (!calls.empty())
                low[calls.back().node] = std::min(low[calls.back().node], low[v]);
            if (low[v] != index[v])
                continue;
            std::size_t first = stack.size();
            do
                --first;
            while (stack[first] != v);
            const bool cycle = stack.size() - first > 1 || readsItself[v];
            for (std::size_t k = first; k < stack.size(); ++k)
            {
                onStack[stack[k]] = false;
                steps.push_back({nodes[stack[k]], cycle});
            }
            stack.resize(first);
        }
    }
    std::reverse(steps.begin(), steps.end());
    return steps;
}
} // namespace grid
