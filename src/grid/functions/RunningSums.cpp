#include "grid/functions/RunningSums.h"

#include <array>
#include <optional>

namespace grid::fn
{
namespace
{
struct Entry
{
    const EvalContext* context = nullptr;
    std::uint64_t pass = 0;
    int col = 0;
    int row1 = 0;
    int rowEnd = 0; ///< last row summed
    double sum = 0;
    std::optional<ErrorCode> error;
};

// A few running totals are enough: a sheet's formulas seldom interleave many columns.
constexpr size_t kEntries = 16;
thread_local std::array<Entry, kEntries> gEntries;
thread_local size_t gNextVictim = 0;

// Adds the numbers of rows from…to of one column to `sum`; the first error stops.
std::optional<ErrorCode> addRows(const EvalContext& context, int col, int from, int to, double& sum)
{
    struct Adder final : RangeVisitor
    {
        explicit Adder(double& s) : sum(s) {}
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
        double& sum;
        std::optional<ErrorCode> error;
    } adder(sum);
    if (from <= to)
        context.visitRange(CellRange{col, from, col, to}, adder);
    return adder.error;
}

Result<double> resultOf(double sum, const std::optional<ErrorCode>& error)
{
    if (error)
        return *error;
    return sum;
}
} // namespace

Result<double> columnSum(EvalContext& context, const CellRange& range)
{
    const std::uint64_t pass = context.calculationPass();
    double sum = 0;
    if (pass == 0 || range.col1 != range.col2)
        return resultOf(sum, addRows(context, range.col1, range.row1, range.row2, sum));

    Entry* entry = nullptr;
    for (Entry& e : gEntries)
        if (e.context == &context && e.pass == pass && e.col == range.col1 && e.row1 == range.row1)
            entry = &e;
    if (entry && entry->rowEnd <= range.row2)
    {
        if (!entry->error)
        {
            entry->error = addRows(context, range.col1, entry->rowEnd + 1, range.row2, entry->sum);
            entry->rowEnd = range.row2;
        }
        return resultOf(entry->sum, entry->error);
    }
    const std::optional<ErrorCode> error = addRows(context, range.col1, range.row1, range.row2, sum);
    if (!entry)
    {
        entry = &gEntries[gNextVictim];
        gNextVictim = (gNextVictim + 1) % kEntries;
    }
    *entry = Entry{&context, pass, range.col1, range.row1, range.row2, sum, error};
    return resultOf(sum, error);
}
} // namespace grid::fn
