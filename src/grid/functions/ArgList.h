#pragma once

#include "grid/functions/Coercion.h"
#include "grid/functions/Function.h"
#include "grid/functions/Result.h"

#include <optional>
#include <span>
#include <string>

namespace grid::fn
{
/// A rectangle of values a function reads: the cells of a reference, an array, or a single
/// value seen as a 1x1 area. Rows and columns count from 0.
class Area
{
public:
    Area(EvalContext& context, const Arg& arg);

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    long size() const { return static_cast<long>(rows_) * cols_; }
    bool isReference() const { return arg_->kind == Arg::Kind::Reference; }
    Value at(int row, int col) const;
    /// The element at a position counted row by row.
    Value at(long index) const
    {
        return at(static_cast<int>(index / cols_), static_cast<int>(index % cols_));
    }

private:
    EvalContext* context_;
    const Arg* arg_;
    int rows_ = 1;
    int cols_ = 1;
};

/// The evaluated arguments of one call with the conversions the functions need.
class ArgList
{
public:
    ArgList(EvalContext& context, std::span<const Arg> args) : context_(context), args_(args) {}

    size_t size() const { return args_.size(); }
    bool has(size_t index) const { return index < args_.size(); }
    /// The argument at `index`; an empty value when the call has fewer arguments.
    const Arg& arg(size_t index) const;
    EvalContext& context() const { return context_; }
    Area area(size_t index) const { return Area(context_, arg(index)); }

    /// The argument as one value: a one-cell reference reads its cell, a range its cell in
    /// the calling cell's row or column (#VALUE! when there is none), an array its first element.
    Value scalar(size_t index) const;

    Result<double> number(size_t index) const { return toNumber(scalar(index)); }
    /// The number, or `fallback` when the argument is not given.
    Result<double> number(size_t index, double fallback) const
    {
        return has(index) ? number(index) : Result<double>(fallback);
    }
    /// The number truncated toward zero, as spreadsheets read counts and positions.
    Result<double> whole(size_t index) const;
    Result<double> whole(size_t index, double fallback) const
    {
        return has(index) ? whole(index) : Result<double>(fallback);
    }
    Result<std::string> text(size_t index) const { return toText(scalar(index)); }
    Result<bool> logical(size_t index) const { return toLogical(scalar(index)); }
    Result<bool> logical(size_t index, bool fallback) const
    {
        return has(index) ? logical(index) : Result<bool>(fallback);
    }

private:
    EvalContext& context_;
    std::span<const Arg> args_;
};

/// How an aggregate reads the values inside references and arrays.
enum class RangeValues
{
    NumbersOnly, ///< SUM, AVERAGE, MAX…: texts, logicals and empty cells are skipped
    TextAsZero,  ///< AVERAGEA, MAXA, MINA: texts count as 0, logicals as 1 and 0
};

/// Calls `take(value)` for every non-empty value of an argument: the non-empty cells of a
/// reference (column by column, through EvalContext::visitRange), the non-empty elements of
/// an array, or the value itself. `take` returns false to stop; so does this function.
template <class Take> bool forEachValueIn(EvalContext& context, const Arg& arg, Take&& take)
{
    switch (arg.kind)
    {
    case Arg::Kind::Reference:
    {
        struct Adapter final : RangeVisitor
        {
            explicit Adapter(Take& t) : take(t) {}
            bool visit(int, int, const Value& value) override { return take(value); }
            Take& take;
        } adapter(take);
        return context.visitRange(arg.range, adapter);
    }
    case Arg::Kind::Array:
        for (const Value& v : arg.array)
            if (!v.isEmpty() && !take(v))
                return false;
        return true;
    case Arg::Kind::Value:
        return arg.value.isEmpty() || take(arg.value);
    }
    return true;
}

/// The number of cells or elements an argument covers.
inline long long cellCount(const Arg& arg)
{
    switch (arg.kind)
    {
    case Arg::Kind::Reference:
        return arg.range.width() < 1 || arg.range.height() < 1
                   ? 0
                   : static_cast<long long>(arg.range.width()) * arg.range.height();
    case Arg::Kind::Array:
        return static_cast<long long>(arg.array.size());
    case Arg::Kind::Value:
        return 1;
    }
    return 0;
}

/// Calls `sink(number)` for every number the arguments hold, with the aggregate rules of
/// spreadsheets: a value given directly counts when it is a number, a logical or a text
/// that reads as a number (another text is #VALUE!); inside references and arrays only
/// numbers count (see RangeValues). The first error met is returned.
template <class Sink>
std::optional<ErrorCode> forEachNumber(EvalContext& context, std::span<const Arg> args, RangeValues mode,
                                       Sink&& sink)
{
    std::optional<ErrorCode> error;
    for (const Arg& arg : args)
    {
        if (arg.kind == Arg::Kind::Value)
        {
            Result<double> number = toNumber(arg.value);
            if (!number.ok())
                return number.error();
            sink(*number);
            continue;
        }
        forEachValueIn(context, arg,
                       [&](const Value& v)
                       {
                           switch (v.type())
                           {
                           case Value::Type::Number:
                               sink(v.asNumber());
                               break;
                           case Value::Type::Error:
                               error = v.asError();
                               return false;
                           case Value::Type::Text:
                               if (mode == RangeValues::TextAsZero)
                                   sink(0.0);
                               break;
                           case Value::Type::Logical:
                               if (mode == RangeValues::TextAsZero)
                                   sink(v.asLogical() ? 1.0 : 0.0);
                               break;
                           case Value::Type::Empty:
                               break;
                           }
                           return true;
                       });
        if (error)
            return error;
    }
    return std::nullopt;
}
} // namespace grid::fn
