#pragma once

#include "grid/Value.h"

#include <cassert>
#include <utility>

namespace grid::fn
{
/// Either a value of type T or the spreadsheet error that prevented it. Functions of the
/// library read their arguments through this, so an error in any argument becomes the
/// function's result without exceptions.
template <class T> class Result
{
public:
    Result(T value) : value_(std::move(value)), ok_(true) {}
    Result(ErrorCode error) : error_(error), ok_(false) {}

    bool ok() const { return ok_; }
    const T& operator*() const
    {
        assert(ok_);
        return value_;
    }
    const T* operator->() const { return &value_; }
    ErrorCode error() const
    {
        assert(!ok_);
        return error_;
    }
    /// The error as a cell value.
    Value errorValue() const { return Value::error(error_); }

private:
    T value_{};
    ErrorCode error_ = ErrorCode::Value;
    bool ok_;
};
} // namespace grid::fn

/// Declares `name` from a Result expression, or returns the error value from the enclosing
/// function body when the expression failed.
#define GRID_TRY(name, expression)                                                                           \
    auto name##Result_ = (expression);                                                                       \
    if (!name##Result_.ok())                                                                                 \
        return name##Result_.errorValue();                                                                   \
    auto name = *name##Result_
