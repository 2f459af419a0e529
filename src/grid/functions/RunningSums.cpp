#include "grid/functions/RunningSums.h"

#include <array>
#include <optional>
#include <vector>

namespace grid::fn
{
namespace
{
// The running totals of one column from a first row down: totals[k] is the sum of rows
// row1 … row1 + k, added from the top, exactly as a fresh sum of those rows adds them.
struct Entry
{
    const EvalContext* context = nullptr;
    std::uint64_t pass = 0;
    int col = 0;
    int row1 = 0;
    std::vector<double> totals;
    std::optional<ErrorCode> error; ///< met in row errorRow; totals stop before it
    int errorRow = 0;

    int rowEnd() const { return row1 + static_cast<int>(totals.size()) - 1; }
};

// A few columns are enough: a sheet's formulas seldom interleave many. Longer ranges are
// summed afresh, so the totals kept stay small.
constexpr size_t kEntries = 16;
constexpr int kMaxRows = 1 << 16;
thread_local std::array<Entry, kEntries> gEntries;
thread_local size_t gNextVictim = 0;

// Extends the entry's totals down to row `to` (or to the first error).
void extend(const EvalContext& context, Entry& entry, int to)
{
    struct Adder final : RangeVisitor
    {
        explicit Adder(Entry& e) : entry(e) {}
        bool visit(int, int row, const Value& value) override
        {
            const double last = entry.totals.empty() ? 0.0 : entry.totals.back();
            entry.totals.resize(static_cast<size_t>(row - entry.row1), last);
            if (value.isError())
            {
                entry.error = value.asError();
                entry.errorRow = row;
                return false;
            }
            entry.totals.push_back(value.isNumber() ? last + value.asNumber() : last);
            return true;
        }
        Entry& entry;
    } adder(entry);
    const int from = entry.rowEnd() + 1;
    if (from <= to)
        context.visitRange(CellRange{entry.col, from, entry.col, to}, adder);
    if (!entry.error)
        entry.totals.resize(static_cast<size_t>(to - entry.row1 + 1),
                            entry.totals.empty() ? 0.0 : entry.totals.back());
}

Result<double> totalTo(const Entry& entry, int row)
{
    if (entry.error && entry.errorRow <= row)
        return *entry.error;
    return row < entry.row1 ? 0.0 : entry.totals[static_cast<size_t>(row - entry.row1)];
}

Result<double> plainSum(const EvalContext& context, const CellRange& range)
{
    struct Adder final : RangeVisitor
    {
        bool visit(int, int, const Value& value) override
        {
            if (value.isNumber())
                sum += value.asNumber();
            else if (value.isError())
            {
                error = value.asError();
                return false;
            }
            return true;
        }
        double sum = 0;
        std::optional<ErrorCode> error;
    } adder;
    context.visitRange(range, adder);
    if (adder.error)
        return *adder.error;
    return adder.sum;
}
} // namespace

Result<double> columnSum(EvalContext& context, const CellRange& range)
{
    const std::uint64_t pass = context.calculationPass();
    if (pass == 0 || range.col1 != range.col2 || range.row2 < range.row1 ||
        range.row2 - range.row1 >= kMaxRows)
        return plainSum(context, range);

    Entry* entry = nullptr;
    for (Entry& e : gEntries)
        if (e.context == &context && e.pass == pass && e.col == range.col1 && e.row1 == range.row1)
            entry = &e;
    if (!entry)
    {
        entry = &gEntries[gNextVictim];
        gNextVictim = (gNextVictim + 1) % kEntries;
        entry->context = &context;
        entry->pass = pass;
        entry->col = range.col1;
        entry->row1 = range.row1;
        entry->totals.clear();
        entry->error.reset();
    }
    if (!entry->error && entry->rowEnd() < range.row2)
        extend(context, *entry, range.row2);
    return totalTo(*entry, range.row2);
}
} // namespace grid::fn
