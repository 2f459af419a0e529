#pragma once

// The built-in functions by family; Library.cpp merges them into one look-up table.

#include "grid/functions/Function.h"

#include <cmath>
#include <span>

namespace grid::fn
{
std::span<const FunctionInfo> mathFunctions();
std::span<const FunctionInfo> statisticsFunctions();
std::span<const FunctionInfo> logicalFunctions();
std::span<const FunctionInfo> informationFunctions();
std::span<const FunctionInfo> textFunctions();
std::span<const FunctionInfo> lookupFunctions();
std::span<const FunctionInfo> dateTimeFunctions();
std::span<const FunctionInfo> conditionalFunctions();
std::span<const FunctionInfo> descriptiveFunctions();
std::span<const FunctionInfo> calendarFunctions();
std::span<const FunctionInfo> conversionFunctions();
std::span<const FunctionInfo> selectionFunctions();
std::span<const FunctionInfo> probabilityFunctions();

/// A built-in function that may answer with a reference, by name; it is listed among the
/// plain functions as well.
struct ReferenceFunction
{
    const char* name;
    ReferenceBody body;
};
std::span<const ReferenceFunction> referenceFunctions();

/// A finite number as a value; infinity and NaN (an overflow or a domain error) as #NUM!.
inline Value numberOrError(double x)
{
    return std::isfinite(x) ? Value::number(x) : Value::error(ErrorCode::Num);
}

/// A double held to a range an int can take without overflow, for digit counts and indices.
inline int clampToInt(double x, int limit = 1 << 30)
{
    if (!(x > -limit))
        return -limit;
    if (x > limit)
        return limit;
    return static_cast<int>(x);
}
} // namespace grid::fn
