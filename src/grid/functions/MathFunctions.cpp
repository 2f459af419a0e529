// Math and trigonometry: rounding, powers, logarithms, sums and the trigonometric family.

#include "grid/functions/ArgList.h"
#include "grid/functions/Criteria.h"
#include "grid/functions/DecimalRound.h"
#include "grid/functions/Families.h"
#include "grid/functions/RunningSums.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

// The value held to the 15 significant digits a spreadsheet keeps, so that a quotient such
// as 0.3/0.1 (2.9999999999999996) counts as the whole number it is meant to be.
double snap(double x)
{
    if (!std::isfinite(x) || x == 0)
        return x;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", x);
    return std::strtod(buffer, nullptr);
}

template <Value (*F)(double)> Value unary(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    return F(x);
}

Value finite(double x)
{
    return numberOrError(x);
}

// Trigonometric functions refuse arguments so large that no digit of the result is meaningful.
constexpr double kTrigLimit = 134217728.0; // 2^27

Value absOf(double x)
{
    return Value::number(std::fabs(x));
}

Value acosOf(double x)
{
    return std::fabs(x) > 1 ? Value::error(ErrorCode::Num) : finite(std::acos(x));
}

Value acoshOf(double x)
{
    return x < 1 ? Value::error(ErrorCode::Num) : finite(std::acosh(x));
}

Value asinOf(double x)
{
    return std::fabs(x) > 1 ? Value::error(ErrorCode::Num) : finite(std::asin(x));
}

Value asinhOf(double x)
{
    return finite(std::asinh(x));
}

Value atanOf(double x)
{
    return finite(std::atan(x));
}

Value atanhOf(double x)
{
    return std::fabs(x) >= 1 ? Value::error(ErrorCode::Num) : finite(std::atanh(x));
}

Value cosOf(double x)
{
    return std::fabs(x) >= kTrigLimit ? Value::error(ErrorCode::Num) : finite(std::cos(x));
}

Value coshOf(double x)
{
    return finite(std::cosh(x));
}

Value degreesOf(double x)
{
    return finite(x * 180.0 / std::numbers::pi);
}

Value expOf(double x)
{
    return finite(std::exp(x));
}

Value intOf(double x)
{
    return Value::number(std::floor(x));
}

Value lnOf(double x)
{
    return x <= 0 ? Value::error(ErrorCode::Num) : finite(std::log(x));
}

Value log10Of(double x)
{
    return x <= 0 ? Value::error(ErrorCode::Num) : finite(std::log10(x));
}

Value radiansOf(double x)
{
    return finite(x * std::numbers::pi / 180.0);
}

Value signOf(double x)
{
    return Value::number(x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0));
}

Value sinOf(double x)
{
    return std::fabs(x) >= kTrigLimit ? Value::error(ErrorCode::Num) : finite(std::sin(x));
}

Value sinhOf(double x)
{
    return finite(std::sinh(x));
}

Value sqrtOf(double x)
{
    return x < 0 ? Value::error(ErrorCode::Num) : finite(std::sqrt(x));
}

Value tanOf(double x)
{
    return std::fabs(x) >= kTrigLimit ? Value::error(ErrorCode::Num) : finite(std::tan(x));
}

Value tanhOf(double x)
{
    return finite(std::tanh(x));
}

Value evenOf(double x)
{
    double m = std::ceil(snap(std::fabs(x)));
    if (std::fmod(m, 2) != 0)
        m += 1;
    return finite(x < 0 ? -m : m);
}

Value oddOf(double x)
{
    double m = std::ceil(snap(std::fabs(x)));
    if (std::fmod(m, 2) == 0)
        m += 1;
    return finite(x < 0 ? -m : m);
}

Value factOf(double x)
{
    if (x < 0)
        return Value::error(ErrorCode::Num);
    const double n = std::trunc(x);
    if (n > 170)
        return Value::error(ErrorCode::Num);
    double result = 1;
    for (double k = 2; k <= n; ++k)
        result *= k;
    return Value::number(result);
}

const FunctionInfo kUnary[] = {
    {"ABS", 1, 1, unary<absOf>},         {"ACOS", 1, 1, unary<acosOf>},   {"ACOSH", 1, 1, unary<acoshOf>},
    {"ASIN", 1, 1, unary<asinOf>},       {"ASINH", 1, 1, unary<asinhOf>}, {"ATAN", 1, 1, unary<atanOf>},
    {"ATANH", 1, 1, unary<atanhOf>},     {"COS", 1, 1, unary<cosOf>},     {"COSH", 1, 1, unary<coshOf>},
    {"DEGREES", 1, 1, unary<degreesOf>}, {"EXP", 1, 1, unary<expOf>},     {"INT", 1, 1, unary<intOf>},
    {"LN", 1, 1, unary<lnOf>},           {"LOG10", 1, 1, unary<log10Of>}, {"RADIANS", 1, 1, unary<radiansOf>},
    {"SIGN", 1, 1, unary<signOf>},       {"SIN", 1, 1, unary<sinOf>},     {"SINH", 1, 1, unary<sinhOf>},
    {"SQRT", 1, 1, unary<sqrtOf>},       {"TAN", 1, 1, unary<tanOf>},     {"TANH", 1, 1, unary<tanhOf>},
    {"EVEN", 1, 1, unary<evenOf>},       {"ODD", 1, 1, unary<oddOf>},     {"FACT", 1, 1, unary<factOf>},
};

Value atan2Fn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(y, args.number(1));
    if (x == 0 && y == 0)
        return Value::error(ErrorCode::Div0);
    return finite(std::atan2(y, x));
}

Value ceilingFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(step, args.number(1, 1));
    if (x > 0 && step < 0)
        return Value::error(ErrorCode::Num);
    if (x == 0 || step == 0)
        return Value::number(0);
    return finite(snap(std::ceil(snap(x / step)) * step));
}

Value floorFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(step, args.number(1, 1));
    if (x > 0 && step < 0)
        return Value::error(ErrorCode::Num);
    if (step == 0)
        return x == 0 ? Value::number(0) : Value::error(ErrorCode::Div0);
    if (x == 0)
        return Value::number(0);
    return finite(snap(std::floor(snap(x / step)) * step));
}

Value mroundFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(multiple, args.number(1));
    if (multiple == 0 || x == 0)
        return Value::number(0);
    if ((x > 0) != (multiple > 0))
        return Value::error(ErrorCode::Num);
    return finite(snap(roundDecimal(x / multiple, 0, RoundMode::HalfAwayFromZero) * multiple));
}

Value combinFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(n, args.whole(0));
    GRID_TRY(k, args.whole(1));
    if (n < 0 || k < 0 || n < k)
        return Value::error(ErrorCode::Num);
    const double m = k < n - k ? k : n - k;
    double result = 1;
    for (double i = 1; i <= m && std::isfinite(result); ++i)
        result = result * (n - m + i) / i;
    return finite(std::round(result));
}

// GCD and LCM take whole, non-negative numbers below 2^53, from values and ranges alike.
Result<std::vector<double>> wholeNumbers(EvalContext& context, Args a)
{
    std::vector<double> numbers;
    bool negative = false;
    auto error = forEachNumber(context, a, RangeValues::NumbersOnly,
                               [&](double x)
                               {
                                   negative |= x < 0 || x >= 9007199254740992.0;
                                   numbers.push_back(std::trunc(x));
                               });
    if (error)
        return *error;
    if (negative)
        return ErrorCode::Num;
    return numbers;
}

double gcdOf(double a, double b)
{
    while (b != 0)
    {
        const double r = std::fmod(a, b);
        a = b;
        b = r;
    }
    return a;
}

Value gcdFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, wholeNumbers(context, a));
    double result = 0;
    for (double x : numbers)
        result = gcdOf(result, x);
    return Value::number(result);
}

Value lcmFn(EvalContext& context, Args a)
{
    GRID_TRY(numbers, wholeNumbers(context, a));
    double result = 1;
    for (double x : numbers)
    {
        if (x == 0)
            return Value::number(0);
        result = result / gcdOf(result, x) * x;
    }
    return finite(result);
}

Value logFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(base, args.number(1, 10));
    if (x <= 0 || base <= 0)
        return Value::error(ErrorCode::Num);
    if (base == 1)
        return Value::error(ErrorCode::Div0);
    return finite(std::log(x) / std::log(base));
}

Value modFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(divisor, args.number(1));
    if (divisor == 0)
        return Value::error(ErrorCode::Div0);
    const double quotient = std::floor(x / divisor);
    if (!std::isfinite(quotient) || std::fabs(quotient) >= 1125899906842624.0) // 2^50
        return Value::error(ErrorCode::Num);
    double result = x - divisor * quotient;
    // Round-off may leave a remainder a hair off its range; the remainder takes the
    // divisor's sign and stays below it in magnitude.
    if ((divisor > 0 && (result < 0 || result >= divisor)) ||
        (divisor < 0 && (result > 0 || result <= divisor)))
        result = 0;
    return Value::number(result);
}

Value piFn(EvalContext&, Args)
{
    return Value::number(std::numbers::pi);
}

Value powerFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(y, args.number(1));
    if (x == 0 && y == 0)
        return Value::error(ErrorCode::Num);
    if (x == 0 && y < 0)
        return Value::error(ErrorCode::Div0);
    return finite(std::pow(x, y));
}

Value productFn(EvalContext& context, Args a)
{
    double product = 1;
    bool any = false;
    if (auto error = forEachNumber(context, a, RangeValues::NumbersOnly,
                                   [&](double x)
                                   {
                                       product *= x;
                                       any = true;
                                   }))
        return Value::error(*error);
    return finite(any ? product : 0);
}

Value quotientFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(divisor, args.number(1));
    if (divisor == 0)
        return Value::error(ErrorCode::Div0);
    return finite(std::trunc(x / divisor));
}

Value randFn(EvalContext& context, Args)
{
    return Value::number(context.random());
}

template <RoundMode Mode> Value roundFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(digits, args.whole(1, 0));
    return finite(roundDecimal(x, clampToInt(digits, 1000), Mode));
}

// Each argument is summed on its own and the subtotals added in order, so a column range
// gives the same double whether its running total was carried over or summed afresh.
Value sumFn(EvalContext& context, Args a)
{
    double total = 0;
    for (const Arg& arg : a)
    {
        if (arg.kind == Arg::Kind::Reference && arg.range.col1 == arg.range.col2)
        {
            GRID_TRY(part, columnSum(context, arg.range));
            total += part;
            continue;
        }
        double part = 0;
        if (auto error = forEachNumber(context, std::span<const Arg>(&arg, 1), RangeValues::NumbersOnly,
                                       [&](double x) { part += x; }))
            return Value::error(*error);
        total += part;
    }
    return finite(total);
}

Value sumsqFn(EvalContext& context, Args a)
{
    double total = 0;
    if (auto error = forEachNumber(context, a, RangeValues::NumbersOnly, [&](double x) { total += x * x; }))
        return Value::error(*error);
    return finite(total);
}

Value sumifFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Arg& rangeArg = args.arg(0);
    const Area range = args.area(0);
    const Criteria criteria(args.scalar(1));
    // The sum range takes the shape of the criteria range from its top-left cell.
    Arg sumArg = args.has(2) ? args.arg(2) : args.arg(0);
    if (sumArg.kind == Arg::Kind::Reference)
    {
        sumArg.range.col2 = sumArg.range.col1 + range.cols() - 1;
        sumArg.range.row2 = sumArg.range.row1 + range.rows() - 1;
    }
    const Area sums(context, sumArg);
    double total = 0;
    std::optional<Value> error;
    auto add = [&](int row, int col)
    {
        const Value v = sums.at(row, col);
        if (v.isError())
            error = v;
        else if (v.isNumber())
            total += v.asNumber();
        return !error;
    };
    if (rangeArg.kind == Arg::Kind::Reference && !criteria.matches(Value()))
    {
        // Only filled cells can match: walk them alone.
        struct Matches final : RangeVisitor
        {
            bool visit(int col, int row, const Value& value) override
            {
                return !criteria.matches(value) || addCell(row - origin.row1, col - origin.col1);
            }
            Matches(const Criteria& c, decltype(add)& a, const CellRange& o)
                : criteria(c), addCell(a), origin(o)
            {
            }
            const Criteria& criteria;
            decltype(add)& addCell;
            const CellRange& origin;
        } matches(criteria, add, rangeArg.range);
        context.visitRange(rangeArg.range, matches);
    }
    else
    {
        for (int c = 0; c < range.cols() && !error; ++c)
            for (int r = 0; r < range.rows() && !error; ++r)
                if (criteria.matches(range.at(r, c)))
                    add(r, c);
    }
    if (error)
        return *error;
    return finite(total);
}

Value sumproductFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    if (args.size() == 0)
        return Value::error(ErrorCode::Value);
    std::vector<Area> areas;
    for (size_t i = 0; i < args.size(); ++i)
    {
        areas.push_back(args.area(i));
        if (areas.back().rows() != areas.front().rows() || areas.back().cols() != areas.front().cols())
            return Value::error(ErrorCode::Value);
    }
    double total = 0;
    for (int r = 0; r < areas.front().rows(); ++r)
        for (int c = 0; c < areas.front().cols(); ++c)
        {
            double product = 1;
            for (const Area& area : areas)
            {
                const Value v = area.at(r, c);
                if (v.isError())
                    return v;
                product *= v.isNumber() ? v.asNumber() : 0.0;
            }
            total += product;
        }
    return finite(total);
}

const FunctionInfo kOthers[] = {
    {"ATAN2", 2, 2, atan2Fn},
    {"CEILING", 2, 2, ceilingFn},
    {"COMBIN", 2, 2, combinFn},
    {"FLOOR", 2, 2, floorFn},
    {"GCD", 1, -1, gcdFn},
    {"LCM", 1, -1, lcmFn},
    {"LOG", 1, 2, logFn},
    {"MOD", 2, 2, modFn},
    {"MROUND", 2, 2, mroundFn},
    {"PI", 0, 0, piFn},
    {"POWER", 2, 2, powerFn},
    {"PRODUCT", 1, -1, productFn},
    {"QUOTIENT", 2, 2, quotientFn},
    {"RAND", 0, 0, randFn},
    {"ROUND", 2, 2, roundFn<RoundMode::HalfAwayFromZero>},
    {"ROUNDDOWN", 2, 2, roundFn<RoundMode::TowardZero>},
    {"ROUNDUP", 2, 2, roundFn<RoundMode::AwayFromZero>},
    {"SUM", 1, -1, sumFn},
    {"SUMIF", 2, 3, sumifFn},
    {"SUMPRODUCT", 1, -1, sumproductFn},
    {"SUMSQ", 1, -1, sumsqFn},
    {"TRUNC", 1, 2, roundFn<RoundMode::TowardZero>},
};

std::vector<FunctionInfo> all()
{
    std::vector<FunctionInfo> list(std::begin(kUnary), std::end(kUnary));
    list.insert(list.end(), std::begin(kOthers), std::end(kOthers));
    return list;
}
} // namespace

std::span<const FunctionInfo> mathFunctions()
{
    static const std::vector<FunctionInfo> list = all();
    return list;
}
} // namespace grid::fn
