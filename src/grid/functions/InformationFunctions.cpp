// Information functions: what kind of value an argument holds.

#include "grid/functions/ArgList.h"
#include "grid/functions/Families.h"

#include <cmath>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

template <bool (*Test)(const Value&)> Value isFn(EvalContext& context, Args a)
{
    return Value::logical(Test(ArgList(context, a).scalar(0)));
}

Value isrefFn(EvalContext& context, Args a)
{
    return Value::logical(ArgList(context, a).arg(0).kind == Arg::Kind::Reference);
}

/// ISFORMULA(reference): whether the reference's top-left cell holds a formula.
Value isformulaFn(EvalContext& context, Args a)
{
    const Arg& ref = ArgList(context, a).arg(0);
    if (ref.kind == Arg::Kind::Value && ref.value.isError())
        return ref.value;
    if (ref.kind != Arg::Kind::Reference)
        return Value::error(ErrorCode::Value);
    std::string text;
    return Value::logical(context.shownFormula(ref.range.col1, ref.range.row1, text));
}

// ISEVEN and ISODD read numbers and numeric texts; a logical is #VALUE!.
template <bool Even> Value parityFn(EvalContext& context, Args a)
{
    const Value v = ArgList(context, a).scalar(0);
    if (v.isLogical())
        return Value::error(ErrorCode::Value);
    GRID_TRY(x, toNumber(v));
    const bool even = std::fmod(std::trunc(std::fabs(x)), 2) == 0;
    return Value::logical(even == Even);
}

Value errorTypeFn(EvalContext& context, Args a)
{
    const Value v = ArgList(context, a).scalar(0);
    if (!v.isError())
        return Value::error(ErrorCode::NA);
    switch (v.asError())
    {
    case ErrorCode::Null:
        return Value::number(1);
    case ErrorCode::Div0:
        return Value::number(2);
    case ErrorCode::Value:
        return Value::number(3);
    case ErrorCode::Ref:
        return Value::number(4);
    case ErrorCode::Name:
        return Value::number(5);
    case ErrorCode::Num:
        return Value::number(6);
    case ErrorCode::NA:
        return Value::number(7);
    case ErrorCode::Circular:
        break;
    }
    // A circular reference has no number of its own among the classic error codes.
    return Value::error(ErrorCode::NA);
}

Value nFn(EvalContext& context, Args a)
{
    const Value v = ArgList(context, a).scalar(0);
    if (v.isNumber() || v.isError())
        return v;
    if (v.isLogical())
        return Value::number(v.asLogical() ? 1 : 0);
    return Value::number(0);
}

Value naFn(EvalContext&, Args)
{
    return Value::error(ErrorCode::NA);
}

Value typeFn(EvalContext& context, Args a)
{
    if (ArgList(context, a).arg(0).kind == Arg::Kind::Array)
        return Value::number(64);
    switch (ArgList(context, a).scalar(0).type())
    {
    case Value::Type::Empty:
    case Value::Type::Number:
        return Value::number(1);
    case Value::Type::Text:
        return Value::number(2);
    case Value::Type::Logical:
        return Value::number(4);
    case Value::Type::Error:
        return Value::number(16);
    }
    return Value::number(1);
}

const FunctionInfo kFunctions[] = {
    {"ERROR.TYPE", 1, 1, errorTypeFn},
    {"ISBLANK", 1, 1, isFn<+[](const Value& v) { return v.isEmpty(); }>},
    {"ISERR", 1, 1, isFn<+[](const Value& v) { return v.isError() && v.asError() != ErrorCode::NA; }>},
    {"ISERROR", 1, 1, isFn<+[](const Value& v) { return v.isError(); }>},
    {"ISEVEN", 1, 1, parityFn<true>},
    {"ISFORMULA", 1, 1, isformulaFn},
    {"ISLOGICAL", 1, 1, isFn<+[](const Value& v) { return v.isLogical(); }>},
    {"ISNA", 1, 1, isFn<+[](const Value& v) { return v.isError() && v.asError() == ErrorCode::NA; }>},
    {"ISNONTEXT", 1, 1, isFn<+[](const Value& v) { return !v.isText(); }>},
    {"ISNUMBER", 1, 1, isFn<+[](const Value& v) { return v.isNumber(); }>},
    {"ISODD", 1, 1, parityFn<false>},
    {"ISREF", 1, 1, isrefFn},
    {"ISTEXT", 1, 1, isFn<+[](const Value& v) { return v.isText(); }>},
    {"N", 1, 1, nFn},
    {"NA", 0, 0, naFn},
    {"TYPE", 1, 1, typeFn},
};
} // namespace

std::span<const FunctionInfo> informationFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
