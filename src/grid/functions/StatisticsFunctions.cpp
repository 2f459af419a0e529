// Statistics: counts, averages, extremes, order statistics and spread.

#include "grid/functions/ArgList.h"
#include "grid/functions/Criteria.h"
#include "grid/functions/Families.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

Result<std::vector<double>> numbersOf(EvalContext& context, Args a, RangeValues mode)
{
    std::vector<double> numbers;
    if (auto error = forEachNumber(context, a, mode, [&](double x) { numbers.push_back(x); }))
        return *error;
    return numbers;
}

template <RangeValues Mode> Value averageFn(EvalContext& context, Args a)
{
    double total = 0;
    long count = 0;
    if (auto error = forEachNumber(context, a, Mode,
                                   [&](double x)
                                   {
                                       total += x;
                                       ++count;
                                   }))
        return Value::error(*error);
    if (count == 0)
        return Value::error(ErrorCode::Div0);
    return numberOrError(total / static_cast<double>(count));
}

template <RangeValues Mode, bool Max> Value extremeFn(EvalContext& context, Args a)
{
    double best = 0;
    bool any = false;
    if (auto error = forEachNumber(context, a, Mode,
                                   [&](double x)
                                   {
                                       if (!any || (Max ? x > best : x < best))
                                           best = x;
                                       any = true;
                                   }))
        return Value::error(*error);
    return Value::number(best);
}

// COUNT: numbers in ranges; numbers, logicals and numeric texts given directly. Errors
// are not counted and do not stop the count.
Value countFn(EvalContext& context, Args a)
{
    long count = 0;
    for (const Arg& arg : a)
    {
        if (arg.kind == Arg::Kind::Value)
        {
            const Value& v = arg.value;
            if (v.isNumber() || v.isLogical() || v.isEmpty() || (v.isText() && textToNumber(v.asText())))
                ++count;
            continue;
        }
        forEachValueIn(context, arg,
                       [&](const Value& v)
                       {
                           count += v.isNumber() ? 1 : 0;
                           return true;
                       });
    }
    return Value::number(static_cast<double>(count));
}

// COUNTA: every value given directly, every non-empty cell of a range.
Value countaFn(EvalContext& context, Args a)
{
    long count = 0;
    for (const Arg& arg : a)
    {
        if (arg.kind == Arg::Kind::Value)
        {
            ++count;
            continue;
        }
        forEachValueIn(context, arg,
                       [&](const Value&)
                       {
                           ++count;
                           return true;
                       });
    }
    return Value::number(static_cast<double>(count));
}

// Empty cells and empty texts are blank.
Value countblankFn(EvalContext& context, Args a)
{
    const Arg& arg = ArgList(context, a).arg(0);
    long long filled = 0;
    forEachValueIn(context, arg,
                   [&](const Value& v)
                   {
                       filled += (v.isText() && v.asText().empty()) ? 0 : 1;
                       return true;
                   });
    return Value::number(static_cast<double>(cellCount(arg) - filled));
}

Value countifFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Arg& range = args.arg(0);
    const Criteria criteria(args.scalar(1));
    long long count = 0, filled = 0;
    forEachValueIn(context, range,
                   [&](const Value& v)
                   {
                       ++filled;
                       count += criteria.matches(v) ? 1 : 0;
                       return true;
                   });
    // The empty cells, left out of the walk, count when the criteria accepts an empty cell.
    if (criteria.matches(Value()))
        count += cellCount(range) - filled;
    return Value::number(static_cast<double>(count));
}

template <bool Largest> Value kthFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersOf(context, a.first(a.empty() ? 0 : 1), RangeValues::NumbersOnly));
    ArgList args(context, a);
    GRID_TRY(k, args.number(1));
    const double position = std::trunc(k);
    if (position < 1 || position > static_cast<double>(numbers.size()))
        return Value::error(ErrorCode::Num);
    const auto nth = numbers.begin() + static_cast<long>(position) - 1;
    if (Largest)
        std::nth_element(numbers.begin(), nth, numbers.end(), std::greater<double>());
    else
        std::nth_element(numbers.begin(), nth, numbers.end());
    return Value::number(*nth);
}

Value medianFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersOf(context, a, RangeValues::NumbersOnly));
    if (numbers.empty())
        return Value::error(ErrorCode::Num);
    std::sort(numbers.begin(), numbers.end());
    const size_t n = numbers.size();
    return Value::number(n % 2 ? numbers[n / 2] : numbers[n / 2 - 1] / 2 + numbers[n / 2] / 2);
}

Value rankFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(numbers, numbersOf(context, a.subspan(1, a.size() > 1 ? 1 : 0), RangeValues::NumbersOnly));
    GRID_TRY(ascending, args.number(2, 0));
    long before = 0;
    bool found = false;
    for (double v : numbers)
    {
        found |= v == x;
        before += (ascending != 0 ? v < x : v > x) ? 1 : 0;
    }
    if (!found)
        return Value::error(ErrorCode::NA);
    return Value::number(static_cast<double>(before + 1));
}

// Sample (Sample = true) or population variance, two-pass for accuracy.
template <bool Sample, bool Root, RangeValues Mode = RangeValues::NumbersOnly>
Value spreadFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersOf(context, a, Mode));
    const size_t needed = Sample ? 2 : 1;
    if (numbers.size() < needed)
        return Value::error(ErrorCode::Div0);
    double mean = 0;
    for (double x : numbers)
        mean += x;
    mean /= static_cast<double>(numbers.size());
    double squares = 0;
    for (double x : numbers)
        squares += (x - mean) * (x - mean);
    const double variance = squares / static_cast<double>(numbers.size() - (Sample ? 1 : 0));
    return numberOrError(Root ? std::sqrt(variance) : variance);
}

const FunctionInfo kFunctions[] = {
    {"AVERAGE", 1, -1, averageFn<RangeValues::NumbersOnly>},
    {"AVERAGEA", 1, -1, averageFn<RangeValues::TextAsZero>},
    {"COUNT", 1, -1, countFn},
    {"COUNTA", 1, -1, countaFn},
    {"COUNTBLANK", 1, 1, countblankFn},
    {"COUNTIF", 2, 2, countifFn},
    {"LARGE", 2, 2, kthFn<true>},
    {"MAX", 1, -1, extremeFn<RangeValues::NumbersOnly, true>},
    {"MAXA", 1, -1, extremeFn<RangeValues::TextAsZero, true>},
    {"MEDIAN", 1, -1, medianFn},
    {"MIN", 1, -1, extremeFn<RangeValues::NumbersOnly, false>},
    {"MINA", 1, -1, extremeFn<RangeValues::TextAsZero, false>},
    {"RANK", 2, 3, rankFn},
    {"RANK.EQ", 2, 3, rankFn},
    {"SMALL", 2, 2, kthFn<false>},
    {"STDEV", 1, -1, spreadFn<true, true>},
    {"STDEV.P", 1, -1, spreadFn<false, true>},
    {"STDEV.S", 1, -1, spreadFn<true, true>},
    {"STDEVA", 1, -1, spreadFn<true, true, RangeValues::TextAsZero>},
    {"STDEVP", 1, -1, spreadFn<false, true>},
    {"STDEVPA", 1, -1, spreadFn<false, true, RangeValues::TextAsZero>},
    {"VAR", 1, -1, spreadFn<true, false>},
    {"VAR.P", 1, -1, spreadFn<false, false>},
    {"VAR.S", 1, -1, spreadFn<true, false>},
    {"VARA", 1, -1, spreadFn<true, false, RangeValues::TextAsZero>},
    {"VARP", 1, -1, spreadFn<false, false>},
    {"VARPA", 1, -1, spreadFn<false, false, RangeValues::TextAsZero>},
};
} // namespace

std::span<const FunctionInfo> statisticsFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
