#pragma once

// A sheet stand-in for calling built-in functions directly: a map of cell values, a fixed
// clock and a fixed random number.

#include "grid/functions/Function.h"

#include <map>
#include <utility>
#include <vector>

namespace grid::testing
{
class FakeContext : public EvalContext
{
public:
    Value cellValue(int col, int row) const override
    {
        auto it = cells.find({col, row});
        return it == cells.end() ? Value() : it->second;
    }
    int currentCol() const override { return col; }
    int currentRow() const override { return row; }
    double now() const override { return clock; }
    double random() override { return randomValue; }

    /// Calls the built-in `name` with the given arguments.
    Value call(const char* name, std::vector<Arg> args)
    {
        const FunctionInfo* f = findBuiltin(name);
        return f ? f->body(*this, args) : Value::error(ErrorCode::Name);
    }

    std::map<std::pair<int, int>, Value> cells;
    int col = 10;
    int row = 10;
    double clock = 45000.25;
    double randomValue = 0.125;
};

/// Reads ranges out of its map as a sheet walks its storage, and counts single-cell reads.
class SparseContext : public FakeContext
{
public:
    Value cellValue(int col, int row) const override
    {
        ++reads;
        return FakeContext::cellValue(col, row);
    }
    bool visitRange(const CellRange& range, RangeVisitor& visitor) const override
    {
        // The map is ordered by column, then row: the order visitRange promises.
        for (const auto& [at, value] : cells)
            if (at.first >= range.col1 && at.first <= range.col2 && at.second >= range.row1 &&
                at.second <= range.row2 && !value.isEmpty() && !visitor.visit(at.first, at.second, value))
                return false;
        return true;
    }
    mutable long reads = 0;
};

inline Arg num(double x)
{
    return Arg::ofValue(Value::number(x));
}
inline Arg text(const char* t)
{
    return Arg::ofValue(Value::text(t));
}
inline Arg ref(int col1, int row1, int col2, int row2)
{
    return Arg::ofReference({col1, row1, col2, row2});
}
inline Arg array(int rows, int cols, std::vector<Value> values)
{
    Arg a;
    a.kind = Arg::Kind::Array;
    a.arrayRows = rows;
    a.arrayCols = cols;
    a.array = std::move(values);
    return a;
}
} // namespace grid::testing
