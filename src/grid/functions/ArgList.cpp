#include "grid/functions/ArgList.h"

#include <cmath>

namespace grid::fn
{
Area::Area(EvalContext& context, const Arg& arg) : context_(&context), arg_(&arg)
{
    if (arg.kind == Arg::Kind::Reference)
    {
        rows_ = arg.range.height();
        cols_ = arg.range.width();
    }
    else if (arg.kind == Arg::Kind::Array)
    {
        rows_ = arg.arrayRows;
        cols_ = arg.arrayCols;
    }
}

Value Area::at(int row, int col) const
{
    switch (arg_->kind)
    {
    case Arg::Kind::Value:
        return arg_->value;
    case Arg::Kind::Reference:
        return context_->cellValue(arg_->range.col1 + col, arg_->range.row1 + row);
    case Arg::Kind::Array:
    {
        const size_t index = static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
        return index < arg_->array.size() ? arg_->array[index] : Value();
    }
    }
    return Value();
}

Value ArgList::scalar(size_t index) const
{
    if (index >= args_.size())
        return Value();
    const Arg& a = args_[index];
    switch (a.kind)
    {
    case Arg::Kind::Value:
        return a.value;
    case Arg::Kind::Array:
        return a.array.empty() ? Value::error(ErrorCode::Value) : a.array.front();
    case Arg::Kind::Reference:
        break;
    }
    const CellRange& r = a.range;
    if (r.isSingleCell())
        return context_.cellValue(r.col1, r.row1);
    // Implicit intersection: the cell of the range in the calling cell's row or column.
    const int row = context_.currentRow();
    const int col = context_.currentCol();
    if (r.col1 == r.col2 && row >= r.row1 && row <= r.row2)
        return context_.cellValue(r.col1, row);
    if (r.row1 == r.row2 && col >= r.col1 && col <= r.col2)
        return context_.cellValue(col, r.row1);
    return Value::error(ErrorCode::Value);
}

const Arg& ArgList::arg(size_t index) const
{
    static const Arg missing;
    return index < args_.size() ? args_[index] : missing;
}

Result<double> ArgList::whole(size_t index) const
{
    Result<double> n = number(index);
    if (!n.ok())
        return n;
    return std::trunc(*n);
}
} // namespace grid::fn
