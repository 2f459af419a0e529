// Text functions. Texts are byte strings: positions and lengths count bytes.

#include "grid/functions/ArgList.h"
#include "grid/functions/Criteria.h"
#include "grid/functions/DecimalRound.h"
#include "grid/functions/Families.h"
#include "grid/functions/NumberFormat.h"

#include <cmath>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

/// The longest text a function builds; longer results are #VALUE!, as in spreadsheets.
constexpr size_t kMaxText = 32767;

Value textResult(std::string text)
{
    if (text.size() > kMaxText)
        return Value::error(ErrorCode::Value);
    return Value::text(std::move(text));
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

Value charFn(EvalContext& context, Args a)
{
    GRID_TRY(code, ArgList(context, a).whole(0));
    if (code < 1 || code > 255)
        return Value::error(ErrorCode::Value);
    return Value::text(std::string(1, static_cast<char>(static_cast<unsigned char>(code))));
}

Value cleanFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    std::string out;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 32)
            out += c;
    return Value::text(std::move(out));
}

Value codeFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    if (text.empty())
        return Value::error(ErrorCode::Value);
    return Value::number(static_cast<unsigned char>(text[0]));
}

Value concatenateFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    std::string out;
    for (size_t i = 0; i < args.size(); ++i)
    {
        GRID_TRY(part, args.text(i));
        out += part;
        if (out.size() > kMaxText)
            return Value::error(ErrorCode::Value);
    }
    return Value::text(std::move(out));
}

Value exactFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.text(0));
    GRID_TRY(y, args.text(1));
    return Value::logical(x == y);
}

// FIND is case-sensitive and literal; SEARCH ignores case and knows wildcards.
template <bool Search> Value findFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(needle, args.text(0));
    GRID_TRY(haystack, args.text(1));
    GRID_TRY(start, args.whole(2, 1));
    if (start < 1 || start > static_cast<double>(haystack.size()) + 1)
        return Value::error(ErrorCode::Value);
    const size_t from = static_cast<size_t>(start) - 1;
    if (Search)
    {
        const auto at = wildcardSearch(needle, haystack, from);
        return at ? Value::number(static_cast<double>(*at + 1)) : Value::error(ErrorCode::Value);
    }
    const size_t at = haystack.find(needle, from);
    return at == std::string::npos ? Value::error(ErrorCode::Value)
                                   : Value::number(static_cast<double>(at + 1));
}

std::string withThousands(const std::string& digits)
{
    const size_t point = digits.find('.');
    const size_t intEnd = point == std::string::npos ? digits.size() : point;
    const size_t intStart = !digits.empty() && digits[0] == '-' ? 1 : 0;
    std::string out = digits.substr(0, intStart);
    for (size_t i = intStart; i < intEnd; ++i)
    {
        out += digits[i];
        const size_t left = intEnd - i - 1;
        if (left > 0 && left % 3 == 0)
            out += ',';
    }
    out += digits.substr(intEnd);
    return out;
}

Value fixedFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(x, args.number(0));
    GRID_TRY(decimalsArg, args.whole(1, 2));
    GRID_TRY(noCommas, args.logical(2, false));
    if (decimalsArg > 127)
        return Value::error(ErrorCode::Value);
    const int decimals = clampToInt(decimalsArg, 1000);
    const double rounded = roundDecimal(x, decimals, RoundMode::HalfAwayFromZero);
    std::string digits = fixedDecimals(rounded, decimals > 0 ? decimals : 0);
    if (digits.find_first_not_of("-0.") == std::string::npos && !digits.empty() && digits[0] == '-')
        digits.erase(0, 1);
    return Value::text(noCommas ? digits : withThousands(digits));
}

Value leftFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(text, args.text(0));
    GRID_TRY(count, args.whole(1, 1));
    if (count < 0)
        return Value::error(ErrorCode::Value);
    return Value::text(
        text.substr(0, count < static_cast<double>(text.size()) ? static_cast<size_t>(count) : text.size()));
}

Value rightFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(text, args.text(0));
    GRID_TRY(count, args.whole(1, 1));
    if (count < 0)
        return Value::error(ErrorCode::Value);
    if (count >= static_cast<double>(text.size()))
        return Value::text(text);
    return Value::text(text.substr(text.size() - static_cast<size_t>(count)));
}

Value midFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(text, args.text(0));
    GRID_TRY(start, args.whole(1));
    GRID_TRY(count, args.whole(2));
    if (start < 1 || count < 0)
        return Value::error(ErrorCode::Value);
    if (start > static_cast<double>(text.size()))
        return Value::text("");
    const size_t from = static_cast<size_t>(start) - 1;
    const size_t length = count < static_cast<double>(text.size()) ? static_cast<size_t>(count) : text.size();
    return Value::text(text.substr(from, length));
}

Value lenFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    return Value::number(static_cast<double>(text.size()));
}

Value lowerFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    return Value::text(lowerAscii(text));
}

Value upperFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    return Value::text(upperAscii(text));
}

// Every letter that follows a non-letter becomes upper case, every other letter lower case.
Value properFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    bool afterLetter = false;
    for (char& c : text)
    {
        if (isLetter(c))
        {
            c = afterLetter ? lowerAscii(std::string_view(&c, 1))[0] : upperAscii(std::string_view(&c, 1))[0];
            afterLetter = true;
        }
        else
            afterLetter = false;
    }
    return Value::text(std::move(text));
}

Value replaceFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(text, args.text(0));
    GRID_TRY(start, args.whole(1));
    GRID_TRY(count, args.whole(2));
    GRID_TRY(insert, args.text(3));
    if (start < 1 || count < 0)
        return Value::error(ErrorCode::Value);
    const size_t from =
        start > static_cast<double>(text.size()) ? text.size() : static_cast<size_t>(start) - 1;
    const size_t length = count > static_cast<double>(text.size()) ? text.size() : static_cast<size_t>(count);
    return textResult(text.replace(from, length, insert));
}

Value reptFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(text, args.text(0));
    GRID_TRY(count, args.whole(1));
    if (count < 0 ||
        (!text.empty() && count * static_cast<double>(text.size()) > static_cast<double>(kMaxText)))
        return Value::error(ErrorCode::Value);
    std::string out;
    if (!text.empty())
        for (long i = 0; i < static_cast<long>(count); ++i)
            out += text;
    return Value::text(std::move(out));
}

Value substituteFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(text, args.text(0));
    GRID_TRY(from, args.text(1));
    GRID_TRY(to, args.text(2));
    GRID_TRY(instance, args.whole(3, 0));
    if (args.has(3) && instance < 1)
        return Value::error(ErrorCode::Value);
    if (from.empty())
        return Value::text(text);
    std::string out;
    size_t pos = 0;
    long seen = 0;
    while (true)
    {
        const size_t at = text.find(from, pos);
        if (at == std::string::npos)
            break;
        ++seen;
        out.append(text, pos, at - pos);
        if (instance == 0 || static_cast<double>(seen) == instance)
            out += to;
        else
            out += from;
        pos = at + from.size();
        if (out.size() > kMaxText)
            return Value::error(ErrorCode::Value);
    }
    out.append(text, pos, std::string::npos);
    return textResult(std::move(out));
}

Value tFn(EvalContext& context, Args a)
{
    const Value v = ArgList(context, a).scalar(0);
    if (v.isText() || v.isError())
        return v;
    return Value::text("");
}

Value textFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Value v = args.scalar(0);
    GRID_TRY(code, args.text(1));
    if (v.isError())
        return v;
    const NumberFormat format(code);
    if (!format.valid())
        return Value::error(ErrorCode::Value);
    if (v.isLogical())
        return Value::text(v.asLogical() ? "TRUE" : "FALSE");
    if (v.isText())
    {
        if (auto number = textToNumber(v.asText()))
        {
            GRID_TRY(shown, format.format(*number));
            return textResult(std::move(shown));
        }
        return textResult(format.formatText(v.asText()));
    }
    GRID_TRY(shown, format.format(v.isNumber() ? v.asNumber() : 0.0));
    return textResult(std::move(shown));
}

Value trimFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    std::string out;
    bool pendingSpace = false;
    for (char c : text)
    {
        if (c == ' ')
        {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace)
            out += ' ';
        pendingSpace = false;
        out += c;
    }
    return Value::text(std::move(out));
}

Value valueFn(EvalContext& context, Args a)
{
    const Value v = ArgList(context, a).scalar(0);
    switch (v.type())
    {
    case Value::Type::Number:
    case Value::Type::Error:
        return v;
    case Value::Type::Empty:
        return Value::number(0);
    case Value::Type::Logical:
        return Value::error(ErrorCode::Value);
    case Value::Type::Text:
        if (auto number = textToNumber(v.asText()))
            return Value::number(*number);
        return Value::error(ErrorCode::Value);
    }
    return Value::error(ErrorCode::Value);
}

const FunctionInfo kFunctions[] = {
    {"CHAR", 1, 1, charFn},
    {"CLEAN", 1, 1, cleanFn},
    {"CODE", 1, 1, codeFn},
    {"CONCATENATE", 1, -1, concatenateFn},
    {"EXACT", 2, 2, exactFn},
    {"FIND", 2, 3, findFn<false>},
    {"FINDB", 2, 3, findFn<false>},
    {"FIXED", 1, 3, fixedFn},
    {"LEFT", 1, 2, leftFn},
    {"LEFTB", 1, 2, leftFn},
    {"LEN", 1, 1, lenFn},
    {"LENB", 1, 1, lenFn},
    {"LOWER", 1, 1, lowerFn},
    {"MID", 3, 3, midFn},
    {"MIDB", 3, 3, midFn},
    {"PROPER", 1, 1, properFn},
    {"REPLACE", 4, 4, replaceFn},
    {"REPLACEB", 4, 4, replaceFn},
    {"REPT", 2, 2, reptFn},
    {"RIGHT", 1, 2, rightFn},
    {"RIGHTB", 1, 2, rightFn},
    {"SEARCH", 2, 3, findFn<true>},
    {"SEARCHB", 2, 3, findFn<true>},
    {"SUBSTITUTE", 3, 4, substituteFn},
    {"T", 1, 1, tFn},
    {"TEXT", 2, 2, textFn},
    {"TRIM", 1, 1, trimFn},
    {"UPPER", 1, 1, upperFn},
    {"VALUE", 1, 1, valueFn},
};
} // namespace

std::span<const FunctionInfo> textFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
