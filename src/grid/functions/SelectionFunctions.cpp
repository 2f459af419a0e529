// Choosing among values: IFS, SWITCH, IFNA, and the searches XLOOKUP and XMATCH.

#include "grid/functions/ArgList.h"
#include "grid/functions/Criteria.h"
#include "grid/functions/Families.h"

#include <optional>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

/// A value as a result: an empty cell shows as 0 where a function hands it on.
Value handedOn(Value v)
{
    return v.isEmpty() ? Value::number(0) : v;
}

Value ifsFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    if (a.size() % 2 != 0)
        return Value::error(ErrorCode::NA);
    for (size_t i = 0; i + 1 < a.size(); i += 2)
    {
        GRID_TRY(condition, args.logical(i));
        if (condition)
            return handedOn(args.scalar(i + 1));
    }
    return Value::error(ErrorCode::NA);
}

// Equal as SWITCH and the exact searches see it: same kind, texts without regard to case.
bool sameValue(const Value& a, const Value& b)
{
    if (a.type() != b.type())
        return false;
    if (a.isText())
        return equalNoCase(a.asText(), b.asText());
    return a == b;
}

Value switchFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Value subject = args.scalar(0);
    if (subject.isError())
        return subject;
    size_t i = 1;
    for (; i + 1 < a.size(); i += 2)
    {
        const Value candidate = args.scalar(i);
        if (candidate.isError())
            return candidate;
        if (sameValue(handedOn(subject), handedOn(candidate)))
            return handedOn(args.scalar(i + 1));
    }
    if (i < a.size())
        return handedOn(args.scalar(i)); // the default
    return Value::error(ErrorCode::NA);
}

Value ifnaFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Value v = args.scalar(0);
    if (v.isError() && v.asError() == ErrorCode::NA)
        return handedOn(args.scalar(1));
    return handedOn(v);
}

int rank(const Value& v)
{
    switch (v.type())
    {
    case Value::Type::Number:
        return 0;
    case Value::Type::Text:
        return 1;
    case Value::Type::Logical:
        return 2;
    default:
        return -1;
    }
}

/// Compares like with like; nullopt when the kinds differ.
std::optional<int> compareLike(const Value& a, const Value& b)
{
    if (rank(a) != rank(b) || rank(a) < 0)
        return std::nullopt;
    if (a.isNumber())
        return a.asNumber() < b.asNumber() ? -1 : (a.asNumber() > b.asNumber() ? 1 : 0);
    if (a.isText())
        return compareNoCase(a.asText(), b.asText());
    return static_cast<int>(a.asLogical()) - static_cast<int>(b.asLogical());
}

/// The position of the key in a line under XMATCH's modes: match 0 exact, -1 exact or the
/// next smaller, 1 exact or the next larger, 2 wildcards; search 1 first to last, -1 last
/// to first (the binary searches 2 and -2 give the same answers on sorted data).
Result<std::optional<long>> searchLine(const Area& line, const Value& key, int match, int search)
{
    if (match < -1 || match > 2 || search == 0 || search < -2 || search > 2)
        return ErrorCode::Value;
    std::optional<long> best;
    const long n = line.size();
    for (long k = 0; k < n; ++k)
    {
        const long i = search < 0 ? n - 1 - k : k;
        const Value v = line.at(i);
        if (match == 2 && key.isText())
        {
            if (v.isText() && wildcardMatch(key.asText(), v.asText()))
                return std::optional<long>(i);
            continue;
        }
        const auto c = compareLike(v, key);
        if (!c)
            continue;
        if (*c == 0)
            return std::optional<long>(i);
        if (match == -1 && *c < 0 && (!best || *compareLike(line.at(*best), v) < 0))
            best = i;
        if (match == 1 && *c > 0 && (!best || *compareLike(line.at(*best), v) > 0))
            best = i;
    }
    return best;
}

Value xmatchFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Value key = args.scalar(0);
    if (key.isError())
        return key;
    const Area line = args.area(1);
    GRID_TRY(match, args.whole(2, 0));
    GRID_TRY(search, args.whole(3, 1));
    if (line.rows() != 1 && line.cols() != 1)
        return Value::error(ErrorCode::Value);
    GRID_TRY(found, searchLine(line, key, static_cast<int>(match), static_cast<int>(search)));
    if (!found)
        return Value::error(ErrorCode::NA);
    return Value::number(static_cast<double>(*found + 1));
}

Value xlookupFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Value key = args.scalar(0);
    if (key.isError())
        return key;
    const Area line = args.area(1);
    const Area results = args.area(2);
    GRID_TRY(match, args.whole(4, 0));
    GRID_TRY(search, args.whole(5, 1));
    if (line.rows() != 1 && line.cols() != 1)
        return Value::error(ErrorCode::Value);
    const bool vertical = line.cols() == 1 && line.rows() > 1;
    if (vertical ? results.rows() != line.rows() : results.cols() != line.cols())
        return Value::error(ErrorCode::Value);
    GRID_TRY(found, searchLine(line, key, static_cast<int>(match), static_cast<int>(search)));
    if (!found)
    {
        if (args.has(3) && !(a[3].kind == Arg::Kind::Value && a[3].value.isEmpty()))
            return handedOn(args.scalar(3));
        return Value::error(ErrorCode::NA);
    }
    // A result range of several columns (or rows) answers with its first one.
    const int at = static_cast<int>(*found);
    return handedOn(vertical ? results.at(at, 0) : results.at(0, at));
}

const FunctionInfo kFunctions[] = {
    {"IFNA", 2, 2, ifnaFn},       {"IFS", 2, -1, ifsFn},      {"SWITCH", 3, -1, switchFn},
    {"XLOOKUP", 3, 6, xlookupFn}, {"XMATCH", 2, 4, xmatchFn},
};
} // namespace

std::span<const FunctionInfo> selectionFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
