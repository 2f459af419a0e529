// Descriptive statistics beyond the basic aggregates: percentiles and quartiles, modes,
// means of other kinds, deviations, and the least-squares line through paired data.

#include "grid/functions/ArgList.h"
#include "grid/functions/Families.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

Result<std::vector<double>> numbersIn(EvalContext& context, Args a)
{
    std::vector<double> numbers;
    if (auto error =
            forEachNumber(context, a, RangeValues::NumbersOnly, [&](double x) { numbers.push_back(x); }))
        return *error;
    return numbers;
}

double meanOf(const std::vector<double>& v)
{
    double sum = 0;
    for (double x : v)
        sum += x;
    return sum / static_cast<double>(v.size());
}

// The k-th fraction of sorted data with the inclusive rule (PERCENTILE.INC): rank k*(n-1).
Value percentileInclusive(std::vector<double> v, double k)
{
    if (v.empty() || k < 0 || k > 1)
        return Value::error(ErrorCode::Num);
    std::sort(v.begin(), v.end());
    const double rank = k * static_cast<double>(v.size() - 1);
    const auto low = static_cast<size_t>(std::floor(rank));
    const double fraction = rank - static_cast<double>(low);
    if (low + 1 >= v.size())
        return Value::number(v.back());
    return numberOrError(v[low] + fraction * (v[low + 1] - v[low]));
}

// The exclusive rule (PERCENTILE.EXC): rank k*(n+1), defined only between 1 and n.
Value percentileExclusive(std::vector<double> v, double k)
{
    const double n = static_cast<double>(v.size());
    if (v.empty() || k <= 0 || k >= 1)
        return Value::error(ErrorCode::Num);
    const double rank = k * (n + 1);
    if (rank < 1 || rank > n)
        return Value::error(ErrorCode::Num);
    std::sort(v.begin(), v.end());
    const auto low = static_cast<size_t>(std::floor(rank)) - 1;
    const double fraction = rank - std::floor(rank);
    if (low + 1 >= v.size())
        return Value::number(v[low]);
    return numberOrError(v[low] + fraction * (v[low + 1] - v[low]));
}

template <bool Exclusive> Value percentileFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersIn(context, a.first(a.empty() ? 0 : 1)));
    GRID_TRY(k, ArgList(context, a).number(1));
    return Exclusive ? percentileExclusive(numbers, k) : percentileInclusive(numbers, k);
}

template <bool Exclusive> Value quartileFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersIn(context, a.first(a.empty() ? 0 : 1)));
    GRID_TRY(q, ArgList(context, a).whole(1));
    if (Exclusive ? (q < 1 || q > 3) : (q < 0 || q > 4))
        return Value::error(ErrorCode::Num);
    return Exclusive ? percentileExclusive(numbers, q / 4) : percentileInclusive(numbers, q / 4);
}

// The most frequent number; among equally frequent ones the first met. #N/A when no number repeats.
Value modeFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersIn(context, a));
    std::map<double, int> counts;
    int best = 1;
    double mode = 0;
    for (double x : numbers)
        counts[x]++;
    for (double x : numbers)
        if (counts[x] > best)
        {
            best = counts[x];
            mode = x;
        }
    return best > 1 ? Value::number(mode) : Value::error(ErrorCode::NA);
}

Value geomeanFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersIn(context, a));
    if (numbers.empty())
        return Value::error(ErrorCode::Num);
    double logs = 0;
    for (double x : numbers)
    {
        if (x <= 0)
            return Value::error(ErrorCode::Num);
        logs += std::log(x);
    }
    return numberOrError(std::exp(logs / static_cast<double>(numbers.size())));
}

Value harmeanFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersIn(context, a));
    if (numbers.empty())
        return Value::error(ErrorCode::Num);
    double inverses = 0;
    for (double x : numbers)
    {
        if (x <= 0)
            return Value::error(ErrorCode::Num);
        inverses += 1 / x;
    }
    return numberOrError(static_cast<double>(numbers.size()) / inverses);
}

template <bool Squares> Value deviationFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersIn(context, a));
    if (numbers.empty())
        return Value::error(Squares ? ErrorCode::Num : ErrorCode::Num);
    const double mean = meanOf(numbers);
    double total = 0;
    for (double x : numbers)
        total += Squares ? (x - mean) * (x - mean) : std::fabs(x - mean);
    return numberOrError(Squares ? total : total / static_cast<double>(numbers.size()));
}

// SKEW (Kurtosis = false) and KURT with the sample corrections spreadsheets use.
template <bool Kurtosis> Value shapeFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, numbersIn(context, a));
    const double n = static_cast<double>(numbers.size());
    if (n < (Kurtosis ? 4 : 3))
        return Value::error(ErrorCode::Div0);
    const double mean = meanOf(numbers);
    double squares = 0;
    for (double x : numbers)
        squares += (x - mean) * (x - mean);
    const double sd = std::sqrt(squares / (n - 1));
    if (sd == 0)
        return Value::error(ErrorCode::Div0);
    double sum = 0;
    for (double x : numbers)
        sum += std::pow((x - mean) / sd, Kurtosis ? 4 : 3);
    if (!Kurtosis)
        return numberOrError(n / ((n - 1) * (n - 2)) * sum);
    return numberOrError(n * (n + 1) / ((n - 1) * (n - 2) * (n - 3)) * sum -
                         3 * (n - 1) * (n - 1) / ((n - 2) * (n - 3)));
}

Value rankAvgFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(numbers, numbersIn(context, a.size() > 1 ? a.subspan(1, 1) : Args()));
    GRID_TRY(ascending, args.number(2, 0));
    double before = 0, equal = 0;
    for (double v : numbers)
    {
        equal += v == x ? 1 : 0;
        before += (ascending != 0 ? v < x : v > x) ? 1 : 0;
    }
    if (equal == 0)
        return Value::error(ErrorCode::NA);
    return Value::number(before + (equal + 1) / 2);
}

Value standardizeFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(mean, args.number(1));
    GRID_TRY(sd, args.number(2));
    if (sd <= 0)
        return Value::error(ErrorCode::Num);
    return numberOrError((x - mean) / sd);
}

/// The pairs of two equally shaped arguments where both sides are numbers; #N/A when the
/// shapes differ, the first error met otherwise.
struct Pairs
{
    std::vector<double> x, y;
    double meanX = 0, meanY = 0, sxx = 0, syy = 0, sxy = 0;
};

Result<Pairs> pairsOf(EvalContext& context, const Arg& ys, const Arg& xs)
{
    const Area ay(context, ys), ax(context, xs);
    if (ay.size() != ax.size())
        return ErrorCode::NA;
    Pairs p;
    for (long i = 0; i < ay.size(); ++i)
    {
        const Value vy = ay.at(i), vx = ax.at(i);
        if (vy.isError())
            return vy.asError();
        if (vx.isError())
            return vx.asError();
        if (vy.isNumber() && vx.isNumber())
        {
            p.y.push_back(vy.asNumber());
            p.x.push_back(vx.asNumber());
        }
    }
    if (p.x.empty())
        return p;
    p.meanX = meanOf(p.x);
    p.meanY = meanOf(p.y);
    for (size_t i = 0; i < p.x.size(); ++i)
    {
        const double dx = p.x[i] - p.meanX, dy = p.y[i] - p.meanY;
        p.sxx += dx * dx;
        p.syy += dy * dy;
        p.sxy += dx * dy;
    }
    return p;
}

enum class Fit
{
    Slope,
    Intercept,
    Correlation,
    RSquared,
    CovarianceP,
    CovarianceS,
    Steyx,
};

// Arguments: known y's, known x's (CORREL and COVAR take them the other way round, which
// is the same for their symmetric results).
template <Fit Kind> Value fitFn(EvalContext& context, Args a)
{
    GRID_TRY(p, pairsOf(context, ArgList(context, a).arg(0), ArgList(context, a).arg(1)));
    const double n = static_cast<double>(p.x.size());
    switch (Kind)
    {
    case Fit::Slope:
    case Fit::Intercept:
        if (n < 1 || p.sxx == 0)
            return Value::error(ErrorCode::Div0);
        return numberOrError(Kind == Fit::Slope ? p.sxy / p.sxx : p.meanY - p.sxy / p.sxx * p.meanX);
    case Fit::Correlation:
    case Fit::RSquared:
    {
        if (n < 1 || p.sxx == 0 || p.syy == 0)
            return Value::error(ErrorCode::Div0);
        const double r = p.sxy / std::sqrt(p.sxx * p.syy);
        return numberOrError(Kind == Fit::Correlation ? r : r * r);
    }
    case Fit::CovarianceP:
        if (n < 1)
            return Value::error(ErrorCode::Div0);
        return numberOrError(p.sxy / n);
    case Fit::CovarianceS:
        if (n < 2)
            return Value::error(ErrorCode::Div0);
        return numberOrError(p.sxy / (n - 1));
    case Fit::Steyx:
        if (n < 3 || p.sxx == 0)
            return Value::error(ErrorCode::Div0);
        return numberOrError(std::sqrt((p.syy - p.sxy * p.sxy / p.sxx) / (n - 2)));
    }
    return Value::error(ErrorCode::Value);
}

// FORECAST(x, known y's, known x's): the least-squares line's value at x.
Value forecastFn(EvalContext& context, Args a)
{
    GRID_TRY(x, ArgList(context, a).number(0));
    GRID_TRY(p, pairsOf(context, ArgList(context, a).arg(1), ArgList(context, a).arg(2)));
    if (p.x.empty() || p.sxx == 0)
        return Value::error(ErrorCode::Div0);
    const double slope = p.sxy / p.sxx;
    return numberOrError(p.meanY + slope * (x - p.meanX));
}

// TREND(known y's, [known x's], [new x]) for one new x (the first of new x's); without
// known x's they are 1, 2, 3…; LINEST(known y's, [known x's]) gives the slope, the first
// element of its result row.
Result<Pairs> trendPairs(EvalContext& context, Args a)
{
    if (a.size() >= 2 && !(a[1].kind == Arg::Kind::Value && a[1].value.isEmpty()))
        return pairsOf(context, ArgList(context, a).arg(0), ArgList(context, a).arg(1));
    const Area ay(context, ArgList(context, a).arg(0));
    Arg xs;
    xs.kind = Arg::Kind::Array;
    xs.arrayRows = ay.rows();
    xs.arrayCols = ay.cols();
    for (long i = 0; i < ay.size(); ++i)
        xs.array.push_back(Value::number(static_cast<double>(i + 1)));
    return pairsOf(context, ArgList(context, a).arg(0), xs);
}

Value trendFn(EvalContext& context, Args a)
{
    GRID_TRY(p, trendPairs(context, a));
    if (p.x.empty() || p.sxx == 0)
        return Value::error(ErrorCode::Div0);
    double x = static_cast<double>(p.x.size() + 1);
    if (a.size() >= 3)
    {
        const Area nx(context, a[2]);
        const Value v = nx.size() > 0 ? nx.at(0L) : Value();
        GRID_TRY(n, toNumber(v));
        x = n;
    }
    else if (a.size() >= 2)
        x = p.x.front();
    const double slope = p.sxy / p.sxx;
    return numberOrError(p.meanY + slope * (x - p.meanX));
}

Value linestFn(EvalContext& context, Args a)
{
    GRID_TRY(p, trendPairs(context, a));
    if (p.x.empty() || p.sxx == 0)
        return Value::error(ErrorCode::Div0);
    return numberOrError(p.sxy / p.sxx);
}

const FunctionInfo kFunctions[] = {
    {"AVEDEV", 1, -1, deviationFn<false>},
    {"CORREL", 2, 2, fitFn<Fit::Correlation>},
    {"COVAR", 2, 2, fitFn<Fit::CovarianceP>},
    {"COVARIANCE.P", 2, 2, fitFn<Fit::CovarianceP>},
    {"COVARIANCE.S", 2, 2, fitFn<Fit::CovarianceS>},
    {"DEVSQ", 1, -1, deviationFn<true>},
    {"FORECAST", 3, 3, forecastFn},
    {"FORECAST.LINEAR", 3, 3, forecastFn},
    {"GEOMEAN", 1, -1, geomeanFn},
    {"HARMEAN", 1, -1, harmeanFn},
    {"INTERCEPT", 2, 2, fitFn<Fit::Intercept>},
    {"KURT", 1, -1, shapeFn<true>},
    {"LINEST", 1, 2, linestFn},
    {"MODE", 1, -1, modeFn},
    {"MODE.SNGL", 1, -1, modeFn},
    {"PEARSON", 2, 2, fitFn<Fit::Correlation>},
    {"PERCENTILE", 2, 2, percentileFn<false>},
    {"PERCENTILE.EXC", 2, 2, percentileFn<true>},
    {"PERCENTILE.INC", 2, 2, percentileFn<false>},
    {"QUARTILE", 2, 2, quartileFn<false>},
    {"QUARTILE.EXC", 2, 2, quartileFn<true>},
    {"QUARTILE.INC", 2, 2, quartileFn<false>},
    {"RANK.AVG", 2, 3, rankAvgFn},
    {"RSQ", 2, 2, fitFn<Fit::RSquared>},
    {"SKEW", 1, -1, shapeFn<false>},
    {"SLOPE", 2, 2, fitFn<Fit::Slope>},
    {"STANDARDIZE", 3, 3, standardizeFn},
    {"STEYX", 2, 2, fitFn<Fit::Steyx>},
    {"TREND", 1, 3, trendFn},
};
} // namespace

std::span<const FunctionInfo> descriptiveFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
