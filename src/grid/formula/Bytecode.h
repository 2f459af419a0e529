#pragma once

// The compiled form of a formula: postfix code for a small stack machine. Parentheses are
// kept as (no-op) instructions so the text can be printed back as written, and the lazy
// functions IF, IFERROR and CHOOSE compile to jumps so only the branch taken is evaluated.
// Internal to the formula language; the sheet sees only grid/formula/Formula.h.

#include "grid/formula/Formula.h"

#include <cstdint>
#include <string>
#include <vector>

namespace grid
{
enum class Op : std::uint8_t
{
    PushNumber,     ///< numbers[a]
    PushText,       ///< texts[a]
    PushLogical,    ///< a: 0 or 1
    PushError,      ///< a: ErrorCode
    PushMissing,    ///< an omitted argument; a = 1 when it stands for 0 (an empty IF branch)
    PushRef,        ///< one cell (a = col, b = row), as a reference
    PushRefValue,   ///< the same, read as a value at once (operand of an operator)
    PushRange,      ///< (a, b):(c, d), as a reference
    PushRangeValue, ///< the same, read as a value by implicit intersection
    PushName,       ///< texts[a]: an unknown name, evaluates to #NAME?
    PushArray,      ///< the array constant arrays[a], written as texts[b]
    Negate,
    UnaryPlus,
    Percent,
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Concat,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Paren,          ///< printing only
    CallBuiltin,    ///< builtins[a] with argc arguments
    CallNamed,      ///< texts[a] (a custom function, looked up when evaluated) with argc arguments
    JumpIfFalse,    ///< IF: pops the condition; false → a, error → pushes it and jumps to b
    Jump,           ///< to a
    JumpIfNotError, ///< IFERROR: a value that is no error stays and jumps to a
    Choose,         ///< CHOOSE: pops the index; branch k at targets[a + k - 1]; a bad index → b
    EndLazy,        ///< end of IF/IFERROR/CHOOSE (a: LazyFunction) with argc arguments; printing only
    CallReference,  ///< builtins[a], a reference-valued function (referenceBodies[b]), argc arguments
    RangeSpan,      ///< the ':' operator between two reference-valued operands: the range spanning both
    Intersect,      ///< the ' ' operator: the cells two references share (#NULL! when none)
    Union,          ///< the ',' operator inside parentheses: the argc references as one
};

enum class LazyFunction : std::int32_t
{
    If,
    IfError,
    Choose,
};

/// Absolute flags of a reference's corners.
enum RefFlags : std::uint8_t
{
    kColAbsolute = 1,
    kRowAbsolute = 2,
    kCol2Absolute = 4,
    kRow2Absolute = 8,
    kWholeColumns = 0x10, ///< a range written as whole columns (A:A, $B:$D): rows 1 to the last
    kWholeRows = 0x20,    ///< a range written as whole rows (1:1, $2:$5): columns A to the last
    kArrayContext = 0x40, ///< an operator inside an array argument (SUMPRODUCT's): works on whole ranges
    kHidden = 0x80,       ///< an instruction the printer skips (the implied FALSE of a two-argument IF)
};

struct Instr
{
    Op op = Op::PushMissing;
    std::uint8_t flags = 0;
    std::uint16_t argc = 0;
    std::int32_t a = 0; ///< column: absolute when flagged, else offset from the formula's cell
    std::int32_t b = 0; ///< row, likewise
    std::int32_t c = 0; ///< second corner of a range
    std::int32_t d = 0;
};

class Formula
{
public:
    std::vector<Instr> code;
    std::vector<double> numbers;
    std::vector<std::string> texts; ///< string literals and names
    std::vector<const FunctionInfo*> builtins;
    std::vector<std::int32_t> targets;          ///< jump tables of CHOOSE
    std::vector<Arg> arrays;                    ///< array constants such as {1,2;3,4}
    std::vector<ReferenceBody> referenceBodies; ///< of the CallReference instructions
    bool isVolatile = false;
};

/// Resolves one coordinate of a reference for the cell at `base`.
inline int resolveCoordinate(std::int32_t stored, bool absolute, int base)
{
    return absolute ? stored : base + stored;
}

inline bool isRefOp(Op op)
{
    return op == Op::PushRef || op == Op::PushRefValue || op == Op::PushRange || op == Op::PushRangeValue;
}

inline bool isRangeOp(Op op)
{
    return op == Op::PushRange || op == Op::PushRangeValue;
}
} // namespace grid
