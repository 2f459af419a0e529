// The conditional aggregates: AVERAGEIF and the *IFS family (COUNTIFS, SUMIFS, AVERAGEIFS,
// MAXIFS, MINIFS). COUNTIF and SUMIF live with their families and share the criteria rules.

#include "grid/functions/ArgList.h"
#include "grid/functions/Criteria.h"
#include "grid/functions/Families.h"

#include <algorithm>
#include <vector>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

struct Condition
{
    Area area;
    Criteria criteria;
};

/// The (range, criteria) pairs of a call starting at argument `first`, all of the first
/// range's shape; #VALUE! when a range has another shape.
Result<std::vector<Condition>> conditionsOf(EvalContext& context, Args a, size_t first)
{
    ArgList args(context, a);
    std::vector<Condition> conditions;
    for (size_t i = first; i + 1 < a.size(); i += 2)
    {
        conditions.push_back({args.area(i), Criteria(args.scalar(i + 1))});
        const Area& area = conditions.back().area;
        if (area.rows() != conditions.front().area.rows() || area.cols() != conditions.front().area.cols())
            return ErrorCode::Value;
    }
    if (conditions.empty())
        return ErrorCode::Value;
    return conditions;
}

/// Calls `take(row, col)` for every position where all conditions hold, column by column.
/// When the first range is a reference whose criteria rejects an empty cell, only its
/// filled cells are visited, so conditions over whole columns stay fast. `take` returns
/// false to stop.
template <class Take>
void forEachMatch(EvalContext& context, const Arg& firstRange, const std::vector<Condition>& conditions,
                  Take&& take)
{
    auto others = [&](int row, int col)
    {
        for (size_t k = 1; k < conditions.size(); ++k)
            if (!conditions[k].criteria.matches(conditions[k].area.at(row, col)))
                return false;
        return true;
    };
    const Condition& head = conditions.front();
    if (firstRange.kind == Arg::Kind::Reference && !head.criteria.matches(Value()))
    {
        struct Visitor final : RangeVisitor
        {
            Visitor(const Condition& h, decltype(others)& o, Take& t, const CellRange& r)
                : head(h), rest(o), each(t), origin(r)
            {
            }
            bool visit(int col, int row, const Value& value) override
            {
                if (!head.criteria.matches(value))
                    return true;
                const int r = row - origin.row1, c = col - origin.col1;
                return !rest(r, c) || each(r, c);
            }
            const Condition& head;
            decltype(others)& rest;
            Take& each;
            const CellRange& origin;
        } visitor(head, others, take, firstRange.range);
        context.visitRange(firstRange.range, visitor);
        return;
    }
    for (int c = 0; c < head.area.cols(); ++c)
        for (int r = 0; r < head.area.rows(); ++r)
            if (head.criteria.matches(head.area.at(r, c)) && others(r, c) && !take(r, c))
                return;
}

enum class Aggregate
{
    Count,
    Sum,
    Average,
    Max,
    Min,
};

/// Folds the numbers of `values` at the matching positions. Texts, logicals and empty
/// cells there are skipped; an error there is the result.
Value aggregate(EvalContext& context, const Arg& firstRange, const std::vector<Condition>& conditions,
                const Area* values, Aggregate kind)
{
    double total = 0, extreme = 0;
    long long count = 0;
    std::optional<Value> error;
    forEachMatch(context, firstRange, conditions,
                 [&](int row, int col)
                 {
                     if (!values)
                     {
                         ++count;
                         return true;
                     }
                     const Value v = values->at(row, col);
                     if (v.isError())
                     {
                         error = v;
                         return false;
                     }
                     if (!v.isNumber())
                         return true;
                     const double x = v.asNumber();
                     extreme = count == 0
                                   ? x
                                   : (kind == Aggregate::Max ? std::max(extreme, x) : std::min(extreme, x));
                     total += x;
                     ++count;
                     return true;
                 });
    if (error)
        return *error;
    switch (kind)
    {
    case Aggregate::Count:
        return Value::number(static_cast<double>(count));
    case Aggregate::Sum:
        return numberOrError(total);
    case Aggregate::Average:
        return count == 0 ? Value::error(ErrorCode::Div0) : numberOrError(total / static_cast<double>(count));
    case Aggregate::Max:
    case Aggregate::Min:
        return Value::number(count == 0 ? 0.0 : extreme);
    }
    return Value::error(ErrorCode::Value);
}

Value countifsFn(EvalContext& context, Args a)
{
    if (a.size() % 2 != 0)
        return Value::error(ErrorCode::Value);
    GRID_TRY(conditions, conditionsOf(context, a, 0));
    return aggregate(context, a[0], conditions, nullptr, Aggregate::Count);
}

/// SUMIFS, AVERAGEIFS, MAXIFS and MINIFS: the value range first, then the pairs, every
/// range of the value range's shape.
template <Aggregate Kind> Value valuesIfsFn(EvalContext& context, Args a)
{
    if (a.size() % 2 == 0)
        return Value::error(ErrorCode::Value);
    GRID_TRY(conditions, conditionsOf(context, a, 1));
    const Area values(context, a[0]);
    if (values.rows() != conditions.front().area.rows() || values.cols() != conditions.front().area.cols())
        return Value::error(ErrorCode::Value);
    return aggregate(context, a[1], conditions, &values, Kind);
}

Value averageifFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    std::vector<Condition> conditions;
    conditions.push_back({args.area(0), Criteria(args.scalar(1))});
    // As with SUMIF, the averaged range takes the criteria range's shape from its top-left cell.
    Arg valuesArg = args.has(2) ? args.arg(2) : args.arg(0);
    if (valuesArg.kind == Arg::Kind::Reference)
    {
        valuesArg.range.col2 = valuesArg.range.col1 + conditions.front().area.cols() - 1;
        valuesArg.range.row2 = valuesArg.range.row1 + conditions.front().area.rows() - 1;
    }
    const Area values(context, valuesArg);
    return aggregate(context, args.arg(0), conditions, &values, Aggregate::Average);
}

const FunctionInfo kFunctions[] = {
    {"AVERAGEIF", 2, 3, averageifFn},
    {"AVERAGEIFS", 3, -1, valuesIfsFn<Aggregate::Average>},
    {"COUNTIFS", 2, -1, countifsFn},
    {"MAXIFS", 3, -1, valuesIfsFn<Aggregate::Max>},
    {"MINIFS", 3, -1, valuesIfsFn<Aggregate::Min>},
    {"SUMIFS", 3, -1, valuesIfsFn<Aggregate::Sum>},
};
} // namespace

std::span<const FunctionInfo> conditionalFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
