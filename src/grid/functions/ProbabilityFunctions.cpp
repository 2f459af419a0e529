// The normal distribution, the error and gamma functions, Fisher's transformation, the
// engineering tests DELTA and GESTEP, TRIMMEAN, and SUBTOTAL, which hands its range to the
// aggregate it names.

#include "grid/functions/ArgList.h"
#include "grid/functions/Families.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

double normalDensity(double z)
{
    return std::exp(-z * z / 2) / std::sqrt(2 * std::numbers::pi);
}

double normalCumulative(double z)
{
    return 0.5 * std::erfc(-z / std::numbers::sqrt2);
}

// NORM.S.DIST(z, cumulative); NORMSDIST(z) is always cumulative; PHI(z) the density.
template <int Kind> Value standardNormalFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(z, args.number(0));
    if (Kind == 1)
        return numberOrError(normalCumulative(z));
    if (Kind == 2)
        return numberOrError(normalDensity(z));
    GRID_TRY(cumulative, args.logical(1));
    return numberOrError(cumulative ? normalCumulative(z) : normalDensity(z));
}

Value normalFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(mean, args.number(1));
    GRID_TRY(sd, args.number(2));
    GRID_TRY(cumulative, args.logical(3));
    if (sd <= 0)
        return Value::error(ErrorCode::Num);
    const double z = (x - mean) / sd;
    return numberOrError(cumulative ? normalCumulative(z) : normalDensity(z) / sd);
}

// ERF(lower, [upper]) integrates from lower to upper (0 to lower with one argument).
Value erfFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(lower, args.number(0));
    if (!args.has(1))
        return numberOrError(std::erf(lower));
    GRID_TRY(upper, args.number(1));
    return numberOrError(std::erf(upper) - std::erf(lower));
}

Value erfcFn(EvalContext& context, Args a)
{
    GRID_TRY(x, ArgList(context, a).number(0));
    return numberOrError(std::erfc(x));
}

Value gammaFn(EvalContext& context, Args a)
{
    GRID_TRY(x, ArgList(context, a).number(0));
    if (x == 0 || (x < 0 && x == std::floor(x)))
        return Value::error(ErrorCode::Num);
    return numberOrError(std::tgamma(x));
}

Value gammalnFn(EvalContext& context, Args a)
{
    GRID_TRY(x, ArgList(context, a).number(0));
    if (x <= 0)
        return Value::error(ErrorCode::Num);
    return numberOrError(std::lgamma(x));
}

Value fisherFn(EvalContext& context, Args a)
{
    GRID_TRY(x, ArgList(context, a).number(0));
    if (x <= -1 || x >= 1)
        return Value::error(ErrorCode::Num);
    return numberOrError(0.5 * std::log((1 + x) / (1 - x)));
}

Value fisherinvFn(EvalContext& context, Args a)
{
    GRID_TRY(y, ArgList(context, a).number(0));
    return numberOrError(std::tanh(y));
}

Value deltaFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(y, args.number(1, 0));
    return Value::number(x == y ? 1 : 0);
}

Value gestepFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(step, args.number(1, 0));
    return Value::number(x >= step ? 1 : 0);
}

// TRIMMEAN(data, fraction): the mean without fraction/2 of the points at each end, the
// count trimmed rounded down to an even number.
Value trimmeanFn(EvalContext& context, Args a)
{
    std::vector<double> numbers;
    if (auto error = forEachNumber(context, a.first(a.empty() ? 0 : 1), RangeValues::NumbersOnly,
                                   [&](double x) { numbers.push_back(x); }))
        return Value::error(*error);
    GRID_TRY(fraction, ArgList(context, a).number(1));
    if (fraction < 0 || fraction >= 1 || numbers.empty())
        return Value::error(ErrorCode::Num);
    std::sort(numbers.begin(), numbers.end());
    const auto cut = static_cast<size_t>(std::floor(numbers.size() * fraction / 2));
    double sum = 0;
    for (size_t i = cut; i < numbers.size() - cut; ++i)
        sum += numbers[i];
    return numberOrError(sum / static_cast<double>(numbers.size() - 2 * cut));
}

// SUBTOTAL(function number, ref…): 1 AVERAGE, 2 COUNT, 3 COUNTA, 4 MAX, 5 MIN, 6 PRODUCT,
// 7 STDEV, 8 STDEVP, 9 SUM, 10 VAR, 11 VARP; 101 to 111 the same (rows are never hidden
// in a calculation here).
Value subtotalFn(EvalContext& context, Args a)
{
    GRID_TRY(number, ArgList(context, a).whole(0));
    static const char* const kNames[] = {"AVERAGE", "COUNT",  "COUNTA", "MAX", "MIN", "PRODUCT",
                                         "STDEV",   "STDEVP", "SUM",    "VAR", "VARP"};
    const int k = static_cast<int>(number) % 100;
    if (number < 1 || number > 111 || (number > 11 && number < 101) || k < 1 || k > 11)
        return Value::error(ErrorCode::Value);
    const FunctionInfo* f = findBuiltin(kNames[k - 1]);
    if (!f || a.size() < 2)
        return Value::error(ErrorCode::Value);
    return f->body(context, a.subspan(1));
}

// BITAND, BITOR, BITXOR, BITLSHIFT, BITRSHIFT on whole numbers below 2^48.
template <char Op> Value bitFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(y, args.number(1));
    constexpr double kLimit = 281474976710656.0; // 2^48
    if (x < 0 || x >= kLimit || x != std::floor(x))
        return Value::error(ErrorCode::Num);
    const auto u = static_cast<unsigned long long>(x);
    if (Op == '<' || Op == '>')
    {
        const double shift = std::trunc(y);
        if (std::fabs(shift) > 53)
            return Value::error(ErrorCode::Num);
        const bool left = (Op == '<') == (shift >= 0);
        const int by = static_cast<int>(std::fabs(shift));
        const double result = left ? std::ldexp(static_cast<double>(u), by) : static_cast<double>(u >> by);
        return result >= kLimit ? Value::error(ErrorCode::Num) : Value::number(result);
    }
    if (y < 0 || y >= kLimit || y != std::floor(y))
        return Value::error(ErrorCode::Num);
    const auto v = static_cast<unsigned long long>(y);
    return Value::number(static_cast<double>(Op == '&' ? (u & v) : Op == '|' ? (u | v) : (u ^ v)));
}

Value exponFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(lambda, args.number(1));
    GRID_TRY(cumulative, args.logical(2));
    if (x < 0 || lambda <= 0)
        return Value::error(ErrorCode::Num);
    return numberOrError(cumulative ? 1 - std::exp(-lambda * x) : lambda * std::exp(-lambda * x));
}

Value lognormFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(mean, args.number(1));
    GRID_TRY(sd, args.number(2));
    GRID_TRY(cumulative, args.logical(3, true));
    if (x <= 0 || sd <= 0)
        return Value::error(ErrorCode::Num);
    const double z = (std::log(x) - mean) / sd;
    return numberOrError(cumulative ? normalCumulative(z) : normalDensity(z) / (x * sd));
}

const FunctionInfo kFunctions[] = {
    {"BITAND", 2, 2, bitFn<'&'>},
    {"BITLSHIFT", 2, 2, bitFn<'<'>},
    {"BITOR", 2, 2, bitFn<'|'>},
    {"BITRSHIFT", 2, 2, bitFn<'>'>},
    {"BITXOR", 2, 2, bitFn<'^'>},
    {"EXPON.DIST", 3, 3, exponFn},
    {"LOGNORM.DIST", 4, 4, lognormFn},
    {"DELTA", 1, 2, deltaFn},
    {"ERF", 1, 2, erfFn},
    {"ERF.PRECISE", 1, 1, erfFn},
    {"ERFC", 1, 1, erfcFn},
    {"ERFC.PRECISE", 1, 1, erfcFn},
    {"FISHER", 1, 1, fisherFn},
    {"FISHERINV", 1, 1, fisherinvFn},
    {"GAMMA", 1, 1, gammaFn},
    {"GAMMALN", 1, 1, gammalnFn},
    {"GAMMALN.PRECISE", 1, 1, gammalnFn},
    {"GESTEP", 1, 2, gestepFn},
    {"NORM.DIST", 4, 4, normalFn},
    {"NORM.S.DIST", 2, 2, standardNormalFn<0>},
    {"NORMDIST", 4, 4, normalFn},
    {"NORMSDIST", 1, 1, standardNormalFn<1>},
    {"PHI", 1, 1, standardNormalFn<2>},
    {"SUBTOTAL", 2, -1, subtotalFn},
    {"TRIMMEAN", 2, 2, trimmeanFn},
};
} // namespace

std::span<const FunctionInfo> probabilityFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
