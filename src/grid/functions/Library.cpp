#include "grid/functions/Function.h"

// Placeholder library with SUM only; the full library replaces this file.
namespace grid
{
namespace
{
Value sum(EvalContext& context, std::span<const Arg> args)
{
    double total = 0;
    for (const Arg& arg : args)
    {
        if (arg.kind == Arg::Kind::Value)
        {
            if (arg.value.isError())
                return arg.value;
            if (arg.value.isNumber())
                total += arg.value.asNumber();
            else if (arg.value.isLogical())
                total += arg.value.asLogical() ? 1 : 0;
            else if (arg.value.isText())
            {
                auto n = parseNumber(arg.value.asText());
                if (!n)
                    return Value::error(ErrorCode::Value);
                total += *n;
            }
        }
        else if (arg.kind == Arg::Kind::Reference)
        {
            for (int r = arg.range.row1; r <= arg.range.row2; ++r)
                for (int c = arg.range.col1; c <= arg.range.col2; ++c)
                {
                    Value v = context.cellValue(c, r);
                    if (v.isError())
                        return v;
                    if (v.isNumber())
                        total += v.asNumber();
                }
        }
    }
    return Value::number(total);
}

const FunctionInfo kFunctions[] = {{"SUM", 1, -1, sum}};
} // namespace

const FunctionInfo* findBuiltin(std::string_view name)
{
    for (const FunctionInfo& f : kFunctions)
    {
        std::string_view n = f.name;
        if (n.size() != name.size())
            continue;
        bool same = true;
        for (size_t i = 0; i < n.size() && same; ++i)
        {
            char c = name[i];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            same = c == n[i];
        }
        if (same)
            return &f;
    }
    return nullptr;
}
} // namespace grid
