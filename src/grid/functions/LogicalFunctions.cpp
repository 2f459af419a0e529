// Logical functions. IF and IFERROR evaluate lazily and belong to the formula evaluator.

#include "grid/functions/ArgList.h"
#include "grid/functions/Families.h"

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

enum class Combine
{
    All,
    Any,
    Odd,
};

// AND, OR and XOR look at every argument: an error anywhere is the result, even after a
// value that already decides the outcome (AND(FALSE, NA()) is #N/A). Texts and empty cells
// inside ranges are skipped; with no logical value at all the result is #VALUE!.
template <Combine How> Value combineFn(EvalContext& context, Args a)
{
    long trues = 0, count = 0;
    auto take = [&](bool b)
    {
        trues += b ? 1 : 0;
        ++count;
    };
    for (const Arg& arg : a)
    {
        if (arg.kind == Arg::Kind::Value)
        {
            if (arg.value.isEmpty())
                continue;
            Result<bool> b = toLogical(arg.value);
            if (!b.ok())
                return b.errorValue();
            take(*b);
            continue;
        }
        std::optional<Value> error;
        forEachValueIn(context, arg,
                       [&](const Value& v)
                       {
                           if (v.isError())
                           {
                               error = v;
                               return false;
                           }
                           if (v.isLogical())
                               take(v.asLogical());
                           else if (v.isNumber())
                               take(v.asNumber() != 0);
                           return true;
                       });
        if (error)
            return *error;
    }
    if (count == 0)
        return Value::error(ErrorCode::Value);
    switch (How)
    {
    case Combine::All:
        return Value::logical(trues == count);
    case Combine::Any:
        return Value::logical(trues > 0);
    case Combine::Odd:
        return Value::logical(trues % 2 == 1);
    }
    return Value::error(ErrorCode::Value);
}

Value notFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(b, args.logical(0));
    return Value::logical(!b);
}

Value trueFn(EvalContext&, Args)
{
    return Value::logical(true);
}

Value falseFn(EvalContext&, Args)
{
    return Value::logical(false);
}

const FunctionInfo kFunctions[] = {
    {"AND", 1, -1, combineFn<Combine::All>},
    {"FALSE", 0, 0, falseFn},
    {"NOT", 1, 1, notFn},
    {"OR", 1, -1, combineFn<Combine::Any>},
    {"TRUE", 0, 0, trueFn},
    {"XOR", 1, -1, combineFn<Combine::Odd>},
};
} // namespace

std::span<const FunctionInfo> logicalFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
