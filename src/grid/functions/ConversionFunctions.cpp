// Number bases (BASE, DECIMAL and the BIN/OCT/DEC/HEX conversions with their ten-digit two's
// complement), Roman numerals, locale-free number reading, code points, joining texts, and
// the rounding and trigonometric variants of the math family.

#include "grid/NumberText.h"
#include "grid/functions/ArgList.h"
#include "grid/functions/Families.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return 99;
}

std::string digitsOf(double value, int radix)
{
    std::string out;
    do
    {
        const int d = static_cast<int>(std::fmod(value, radix));
        out.insert(out.begin(), static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10));
        value = std::floor(value / radix);
    } while (value > 0);
    return out;
}

/// The radix and the bits of the ten-digit two's complement of each engineering base.
struct Base
{
    int radix;
    int bits;
};
constexpr Base kBin{2, 10}, kOct{8, 30}, kDec{10, 0}, kHex{16, 40};

/// An engineering-base argument read as a number: at most ten digits, the top half of the
/// range standing for the negatives. Decimal arguments are plain numbers.
Result<double> readBase(const ArgList& args, size_t index, Base base)
{
    if (base.radix == 10)
        return args.whole(0);
    Value v = args.scalar(index);
    if (v.isError())
        return v.asError();
    if (v.isLogical())
        return ErrorCode::Value;
    std::string text;
    if (v.isNumber())
    {
        if (v.asNumber() < 0 || v.asNumber() != std::floor(v.asNumber()))
            return ErrorCode::Num;
        text = formatGeneral(v.asNumber());
    }
    else
        text = v.isText() ? v.asText() : std::string();
    if (text.size() > 10)
        return ErrorCode::Num;
    double value = 0;
    for (char c : text)
    {
        const int d = digitValue(c);
        if (d >= base.radix)
            return ErrorCode::Num;
        value = value * base.radix + d;
    }
    const double full = std::ldexp(1.0, base.bits);
    if (text.size() == 10 && value >= full / 2)
        value -= full;
    return value;
}

Value writeBase(double value, Base base, const ArgList& args, size_t placesIndex)
{
    if (base.radix == 10)
        return Value::text(formatGeneral(value));
    const double full = std::ldexp(1.0, base.bits);
    if (value < -full / 2 || value >= full / 2)
        return Value::error(ErrorCode::Num);
    if (value < 0)
        return Value::text(digitsOf(value + full, base.radix));
    std::string text = digitsOf(value, base.radix);
    if (args.has(placesIndex))
    {
        GRID_TRY(places, args.whole(placesIndex));
        if (places < 0 || places > 10 || places < static_cast<double>(text.size()))
            return Value::error(places < 0 ? ErrorCode::Num : ErrorCode::Num);
        text.insert(0, static_cast<size_t>(places) - text.size(), '0');
    }
    return Value::text(std::move(text));
}

template <const Base& From, const Base& To> Value convertFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(value, readBase(args, 0, From));
    if (To.radix == 10)
        return Value::number(value);
    return writeBase(std::trunc(value), To, args, 1);
}

Value baseFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(number, args.whole(0));
    GRID_TRY(radix, args.whole(1));
    GRID_TRY(length, args.whole(2, 0));
    if (number < 0 || number >= 9007199254740992.0 || radix < 2 || radix > 36 || length < 0 || length > 255)
        return Value::error(ErrorCode::Num);
    std::string text = digitsOf(number, static_cast<int>(radix));
    if (text.size() < static_cast<size_t>(length))
        text.insert(0, static_cast<size_t>(length) - text.size(), '0');
    return Value::text(std::move(text));
}

Value decimalFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(text, args.text(0));
    GRID_TRY(radix, args.whole(1));
    if (radix < 2 || radix > 36 || text.size() > 255)
        return Value::error(ErrorCode::Num);
    double value = 0;
    for (char c : text)
    {
        const int d = digitValue(c);
        if (d >= radix)
            return Value::error(ErrorCode::Num);
        value = value * radix + d;
    }
    return numberOrError(value);
}

Value romanFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(number, args.whole(0));
    if (number < 0 || number > 3999)
        return Value::error(ErrorCode::Value);
    static const struct
    {
        int value;
        const char* text;
    } kParts[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                  {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    int n = static_cast<int>(number);
    std::string out;
    for (const auto& part : kParts)
        while (n >= part.value)
        {
            out += part.text;
            n -= part.value;
        }
    return Value::text(std::move(out));
}

Value arabicFn(EvalContext& context, Args a)
{
    GRID_TRY(textArg, ArgList(context, a).text(0));
    std::string_view text = textArg;
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && text.front() == '-')
    {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.size() > 255)
        return Value::error(ErrorCode::Value);
    auto valueOf = [](char c)
    {
        switch (c & ~0x20)
        {
        case 'I':
            return 1;
        case 'V':
            return 5;
        case 'X':
            return 10;
        case 'L':
            return 50;
        case 'C':
            return 100;
        case 'D':
            return 500;
        case 'M':
            return 1000;
        default:
            return 0;
        }
    };
    long total = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const int v = valueOf(text[i]);
        if (v == 0)
            return Value::error(ErrorCode::Value);
        const int next = i + 1 < text.size() ? valueOf(text[i + 1]) : 0;
        total += v < next ? -v : v;
    }
    return Value::number(static_cast<double>(negative ? -total : total));
}

// NUMBERVALUE(text, [decimal separator], [group separator]): a number written with any
// separators; blanks are ignored and trailing percent signs divide by 100 each.
Value numbervalueFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(text, args.text(0));
    std::string decimal = ".", group = ",";
    if (args.has(1))
    {
        GRID_TRY(d, args.text(1));
        decimal = d;
    }
    if (args.has(2))
    {
        GRID_TRY(g, args.text(2));
        group = g;
    }
    if (decimal.empty() || (args.has(2) && group.empty()))
        return Value::error(ErrorCode::Value);
    const char point = decimal[0];
    const char separator = group.empty() ? '\0' : group[0];
    if (point == separator)
        return Value::error(ErrorCode::Value);
    std::string plain;
    double scale = 1;
    bool seenPoint = false;
    for (char c : text)
    {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if (c == '%')
        {
            scale /= 100;
            continue;
        }
        if (scale != 1)
            return Value::error(ErrorCode::Value);
        if (c == point)
        {
            if (seenPoint)
                return Value::error(ErrorCode::Value);
            seenPoint = true;
            plain += '.';
        }
        else if (c == separator)
        {
            if (seenPoint)
                return Value::error(ErrorCode::Value);
        }
        else
            plain += c;
    }
    if (plain.empty())
        return Value::number(0);
    const auto number = parseNumber(plain);
    if (!number)
        return Value::error(ErrorCode::Value);
    return numberOrError(*number * scale);
}

// UNICHAR and UNICODE on bytes: code points 1 to 255 stand for the byte itself, as CHAR
// and CODE do.
Value unicharFn(EvalContext& context, Args a)
{
    GRID_TRY(code, ArgList(context, a).whole(0));
    if (code < 1 || code > 255)
        return Value::error(code < 1 ? ErrorCode::Value : ErrorCode::NA);
    return Value::text(std::string(1, static_cast<char>(static_cast<unsigned char>(code))));
}

Value unicodeFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    if (text.empty())
        return Value::error(ErrorCode::Value);
    return Value::number(static_cast<unsigned char>(text[0]));
}

/// The longest text a function builds, as for the other text functions.
constexpr size_t kMaxText = 32767;

Result<bool> appendTexts(EvalContext& context, const Arg& arg, std::string& out, const std::string* delimiter,
                         bool skipEmpty, bool& first)
{
    std::optional<ErrorCode> error;
    auto take = [&](const Value& v)
    {
        if (v.isError())
        {
            error = v.asError();
            return false;
        }
        Result<std::string> t = toText(v);
        if (skipEmpty && t->empty())
            return true;
        if (delimiter && !first)
            out += *delimiter;
        first = false;
        out += *t;
        if (out.size() > kMaxText)
        {
            error = ErrorCode::Value;
            return false;
        }
        return true;
    };
    if (arg.kind == Arg::Kind::Reference)
    {
        // Cells in reading order (row by row), empty ones included unless skipped.
        const Area area(context, arg);
        for (int r = 0; r < area.rows() && !error; ++r)
            for (int c = 0; c < area.cols() && !error; ++c)
                if (!take(area.at(r, c)))
                    break;
    }
    else if (arg.kind == Arg::Kind::Array)
    {
        for (const Value& v : arg.array)
            if (!take(v))
                break;
    }
    else
        take(arg.value);
    if (error)
        return *error;
    return true;
}

Value concatFn(EvalContext& context, Args a)
{
    std::string out;
    bool first = true;
    for (const Arg& arg : a)
    {
        GRID_TRY(ok, appendTexts(context, arg, out, nullptr, false, first));
        (void)ok;
    }
    return Value::text(std::move(out));
}

Value textjoinFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(delimiter, args.text(0));
    GRID_TRY(skipEmpty, args.logical(1));
    std::string out;
    bool first = true;
    for (size_t i = 2; i < a.size(); ++i)
    {
        GRID_TRY(ok, appendTexts(context, a[i], out, &delimiter, skipEmpty, first));
        (void)ok;
    }
    return Value::text(std::move(out));
}

// CEILING.MATH / FLOOR.MATH (number, [significance], [mode]): significance's sign is
// ignored; a nonzero mode rounds negatives away from zero (CEILING) or toward it (FLOOR).
template <bool Up> Value roundMathFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(sig, args.number(1, 1));
    GRID_TRY(mode, args.number(2, 0));
    const double s = std::fabs(sig);
    if (s == 0 || x == 0)
        return Value::number(0);
    const double q = x / s;
    double n;
    if (x < 0 && mode != 0)
        n = Up ? std::floor(q + 1e-12) : std::ceil(q - 1e-12);
    else
        n = Up ? std::ceil(q - 1e-12) : std::floor(q + 1e-12);
    return numberOrError(n * s);
}

// CEILING.PRECISE, ISO.CEILING and FLOOR.PRECISE: toward +inf (or -inf), whatever the signs.
template <bool Up> Value roundPreciseFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(sig, args.number(1, 1));
    const double s = std::fabs(sig);
    if (s == 0)
        return Value::number(0);
    const double q = x / s;
    return numberOrError((Up ? std::ceil(q - 1e-12) : std::floor(q + 1e-12)) * s);
}

Value sqrtpiFn(EvalContext& context, Args a)
{
    GRID_TRY(x, ArgList(context, a).number(0));
    if (x < 0)
        return Value::error(ErrorCode::Num);
    return numberOrError(std::sqrt(x * std::numbers::pi));
}

Value factdoubleFn(EvalContext& context, Args a)
{
    GRID_TRY(x, ArgList(context, a).whole(0));
    if (x < -1)
        return Value::error(ErrorCode::Num);
    if (x > 400) // far past the largest double
        return Value::error(ErrorCode::Num);
    double product = 1;
    for (double k = x; k > 1; k -= 2)
        product *= k;
    return numberOrError(product);
}

double logFactorial(double n)
{
    return std::lgamma(n + 1);
}

Value multinomialFn(EvalContext& context, Args a)
{
    double sum = 0, logs = 0;
    bool bad = false;
    if (auto error = forEachNumber(context, a, RangeValues::NumbersOnly,
                                   [&](double x)
                                   {
                                       x = std::trunc(x);
                                       bad |= x < 0;
                                       sum += x;
                                       logs += logFactorial(x);
                                   }))
        return Value::error(*error);
    if (bad)
        return Value::error(ErrorCode::Num);
    return numberOrError(std::round(std::exp(logFactorial(sum) - logs)));
}

// PERMUT (Repeat = false) and PERMUTATIONA.
template <bool Repeat> Value permutFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(n, args.whole(0));
    GRID_TRY(k, args.whole(1));
    if (n < 0 || k < 0 || (!Repeat && k > n))
        return Value::error(ErrorCode::Num);
    if (Repeat)
        return numberOrError(std::pow(n, k));
    if (n > 1e15)
        return Value::error(ErrorCode::Num);
    double product = 1;
    for (double i = n - k + 1; i <= n && std::isfinite(product); ++i)
        product *= i;
    return numberOrError(product);
}

Value combinaFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(n, args.whole(0));
    GRID_TRY(k, args.whole(1));
    if (n < 0 || k < 0 || (n == 0 && k > 0))
        return Value::error(ErrorCode::Num);
    if (k == 0)
        return Value::number(1);
    return numberOrError(
        std::round(std::exp(logFactorial(n + k - 1) - logFactorial(k) - logFactorial(n - 1))));
}

constexpr double kTrigLimit = 134217728.0; // 2^27, as for the other trigonometric functions

enum class Trig
{
    Sec,
    Csc,
    Cot,
    Sech,
    Csch,
    Coth,
    Acot,
    Acoth,
};

template <Trig Kind> Value trigFn(EvalContext& context, Args a)
{
    GRID_TRY(x, ArgList(context, a).number(0));
    switch (Kind)
    {
    case Trig::Sec:
    case Trig::Csc:
    case Trig::Cot:
    {
        if (std::fabs(x) >= kTrigLimit)
            return Value::error(ErrorCode::Num);
        const double d = Kind == Trig::Sec ? std::cos(x) : std::sin(x);
        if (d == 0 || (Kind != Trig::Sec && x == 0))
            return Value::error(ErrorCode::Div0);
        return numberOrError(Kind == Trig::Sec ? 1 / d : Kind == Trig::Csc ? 1 / d : std::cos(x) / d);
    }
    case Trig::Sech:
        return numberOrError(1 / std::cosh(x));
    case Trig::Csch:
    case Trig::Coth:
        if (x == 0)
            return Value::error(ErrorCode::Div0);
        return numberOrError(Kind == Trig::Csch ? 1 / std::sinh(x) : 1 / std::tanh(x));
    case Trig::Acot:
        return numberOrError(std::numbers::pi / 2 - std::atan(x));
    case Trig::Acoth:
        if (std::fabs(x) <= 1)
            return Value::error(ErrorCode::Num);
        return numberOrError(0.5 * std::log((x + 1) / (x - 1)));
    }
    return Value::error(ErrorCode::Value);
}

enum class PairSum
{
    X2MinusY2,
    X2PlusY2,
    XMinusYSquared,
};

template <PairSum Kind> Value pairSumFn(EvalContext& context, Args a)
{
    const ArgList args(context, a);
    const Area xs(context, args.arg(0)), ys(context, args.arg(1));
    if (xs.rows() != ys.rows() || xs.cols() != ys.cols())
        return Value::error(ErrorCode::NA);
    double total = 0;
    for (long i = 0; i < xs.size(); ++i)
    {
        const Value x = xs.at(i), y = ys.at(i);
        if (x.isError())
            return x;
        if (y.isError())
            return y;
        if (!x.isNumber() || !y.isNumber())
            continue;
        const double u = x.asNumber(), v = y.asNumber();
        total += Kind == PairSum::X2MinusY2  ? u * u - v * v
                 : Kind == PairSum::X2PlusY2 ? u * u + v * v
                                             : (u - v) * (u - v);
    }
    return numberOrError(total);
}

Value randbetweenFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(low, args.number(0));
    GRID_TRY(high, args.number(1));
    const double lo = std::ceil(low), hi = std::floor(high);
    if (lo > hi)
        return Value::error(ErrorCode::Num);
    return numberOrError(lo + std::floor(context.random() * (hi - lo + 1)));
}

// ASC and DBCS turn full-width letters into half-width ones and back; texts here are
// single bytes, so the text comes back as it is.
Value sameTextFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    return Value::text(std::move(text));
}

// DOLLAR(number, [decimals]): currency text, negatives in parentheses.
Value dollarFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(decimals, args.whole(1, 2));
    if (decimals > 127)
        return Value::error(ErrorCode::Value);
    const int places = static_cast<int>(std::max(0.0, std::min(decimals, 15.0)));
    double value = x;
    if (decimals < 0)
    {
        const double scale = std::pow(10.0, -decimals);
        value = std::round(x / scale) * scale;
    }
    const std::string digits = fixedText(std::fabs(value), places, true);
    if (digits == "#NUM!")
        return Value::error(ErrorCode::Num);
    const bool negative = value < 0 && digits.find_first_not_of("0.,") != std::string::npos;
    return Value::text(negative ? "($" + digits + ")" : "$" + digits);
}

// DOLLARDE(fractional dollar, fraction) and DOLLARFR: a price such as 1.02 meaning 1 2/16
// as a decimal (1.125) and back.
template <bool ToDecimal> Value dollarFractionFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(fraction, args.whole(1));
    if (fraction < 0)
        return Value::error(ErrorCode::Num);
    if (fraction == 0)
        return Value::error(ErrorCode::Div0);
    const double whole = std::trunc(x);
    const double part = x - whole;
    const double digits = std::pow(10.0, std::ceil(std::log10(fraction)));
    return numberOrError(ToDecimal ? whole + part * digits / fraction : whole + part * fraction / digits);
}

// TEXTBEFORE / TEXTAFTER(text, delimiter, [instance]): the text before (after) the n-th
// delimiter, counted from the end when n is negative; #N/A when there are fewer.
template <bool Before> Value textAroundFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(text, args.text(0));
    GRID_TRY(delimiter, args.text(1));
    GRID_TRY(instance, args.whole(2, 1));
    if (instance == 0 || std::fabs(instance) > static_cast<double>(text.size()) + 1)
        return Value::error(ErrorCode::Value);
    size_t at = std::string::npos;
    if (instance > 0)
    {
        size_t from = 0;
        for (double k = 0; k < instance; ++k)
        {
            at = text.find(delimiter, from);
            if (at == std::string::npos)
                return Value::error(ErrorCode::NA);
            from = at + std::max<size_t>(delimiter.size(), 1);
        }
    }
    else
    {
        size_t from = text.size();
        for (double k = 0; k < -instance; ++k)
        {
            at = text.rfind(delimiter, from);
            if (at == std::string::npos)
                return Value::error(ErrorCode::NA);
            if (at == 0 && k + 1 < -instance)
                return Value::error(ErrorCode::NA);
            from = at == 0 ? 0 : at - 1;
        }
    }
    return Value::text(Before ? text.substr(0, at) : text.substr(at + delimiter.size()));
}

const FunctionInfo kFunctions[] = {
    {"ASC", 1, 1, sameTextFn},
    {"DBCS", 1, 1, sameTextFn},
    {"DOLLAR", 1, 2, dollarFn},
    {"DOLLARDE", 2, 2, dollarFractionFn<true>},
    {"DOLLARFR", 2, 2, dollarFractionFn<false>},
    {"TEXTAFTER", 2, 3, textAroundFn<false>},
    {"TEXTBEFORE", 2, 3, textAroundFn<true>},
    {"ACOT", 1, 1, trigFn<Trig::Acot>},
    {"ACOTH", 1, 1, trigFn<Trig::Acoth>},
    {"ARABIC", 1, 1, arabicFn},
    {"BASE", 2, 3, baseFn},
    {"BIN2DEC", 1, 1, convertFn<kBin, kDec>},
    {"BIN2HEX", 1, 2, convertFn<kBin, kHex>},
    {"BIN2OCT", 1, 2, convertFn<kBin, kOct>},
    {"CEILING.MATH", 1, 3, roundMathFn<true>},
    {"CEILING.PRECISE", 1, 2, roundPreciseFn<true>},
    {"COMBINA", 2, 2, combinaFn},
    {"CONCAT", 1, -1, concatFn},
    {"COT", 1, 1, trigFn<Trig::Cot>},
    {"COTH", 1, 1, trigFn<Trig::Coth>},
    {"CSC", 1, 1, trigFn<Trig::Csc>},
    {"CSCH", 1, 1, trigFn<Trig::Csch>},
    {"DEC2BIN", 1, 2, convertFn<kDec, kBin>},
    {"DEC2HEX", 1, 2, convertFn<kDec, kHex>},
    {"DEC2OCT", 1, 2, convertFn<kDec, kOct>},
    {"DECIMAL", 2, 2, decimalFn},
    {"FACTDOUBLE", 1, 1, factdoubleFn},
    {"FLOOR.MATH", 1, 3, roundMathFn<false>},
    {"FLOOR.PRECISE", 1, 2, roundPreciseFn<false>},
    {"HEX2BIN", 1, 2, convertFn<kHex, kBin>},
    {"HEX2DEC", 1, 1, convertFn<kHex, kDec>},
    {"HEX2OCT", 1, 2, convertFn<kHex, kOct>},
    {"ISO.CEILING", 1, 2, roundPreciseFn<true>},
    {"MULTINOMIAL", 1, -1, multinomialFn},
    {"NUMBERVALUE", 1, 3, numbervalueFn},
    {"OCT2BIN", 1, 2, convertFn<kOct, kBin>},
    {"OCT2DEC", 1, 1, convertFn<kOct, kDec>},
    {"OCT2HEX", 1, 2, convertFn<kOct, kHex>},
    {"PERMUT", 2, 2, permutFn<false>},
    {"PERMUTATIONA", 2, 2, permutFn<true>},
    {"RANDBETWEEN", 2, 2, randbetweenFn},
    {"ROMAN", 1, 2, romanFn},
    {"SEC", 1, 1, trigFn<Trig::Sec>},
    {"SECH", 1, 1, trigFn<Trig::Sech>},
    {"SQRTPI", 1, 1, sqrtpiFn},
    {"SUMX2MY2", 2, 2, pairSumFn<PairSum::X2MinusY2>},
    {"SUMX2PY2", 2, 2, pairSumFn<PairSum::X2PlusY2>},
    {"SUMXMY2", 2, 2, pairSumFn<PairSum::XMinusYSquared>},
    {"TEXTJOIN", 3, -1, textjoinFn},
    {"UNICHAR", 1, 1, unicharFn},
    {"UNICODE", 1, 1, unicodeFn},
};
} // namespace

std::span<const FunctionInfo> conversionFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
