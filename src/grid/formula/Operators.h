#pragma once

// The value rules of the formula operators: how values turn into numbers, texts and
// logicals, and how the arithmetic, concatenation and comparison operators combine them.

#include "grid/formula/Bytecode.h"

#include <cmath>
#include <optional>
#include <string>

namespace grid
{
/// A value as a number for arithmetic: logicals are 1 and 0, empty is 0, a text must read
/// as a number, a percentage, a date or a time; errors stay errors. Anything else is #VALUE!.
Value numberOperand(const Value& value);

/// A value as a logical for IF: numbers are true unless 0, empty is false, the texts
/// "TRUE" and "FALSE" (case ignored) are themselves; errors stay errors.
Value logicalOperand(const Value& value);

/// The result of a binary operator (Add … GreaterEqual) on two values already read as
/// scalars. The left operand's error wins over the right one's.
Value applyBinary(Op op, const Value& left, const Value& right);

/// The result of Negate, UnaryPlus or Percent.
Value applyUnary(Op op, const Value& operand);

/// Compares two values the way the comparison operators do: numbers below texts below
/// logicals, empty as 0, "" or FALSE next to the other side, texts without regard to case.
/// Negative, 0 or positive. Neither side may be an error.
int compareValues(const Value& left, const Value& right);

/// A finished number: non-finite results are #NUM!.
inline Value numberResult(double value)
{
    return std::isfinite(value) ? Value::number(value == 0 ? 0.0 : value) : Value::error(ErrorCode::Num);
}
} // namespace grid
