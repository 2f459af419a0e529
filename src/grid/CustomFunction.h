#pragma once

// Custom functions: functions a sheet's owner adds to the formula language. The engine
// evaluates the arguments, passes them to a callback as an array of 24-byte records and
// takes the function's value from a result record of the same layout.

#include "grid/Value.h"
#include "grid/functions/Function.h"
#include "host/GlobalStr.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace grid
{
#pragma pack(push, 1)
/// One argument or result of a custom function. The layout is fixed: status at byte 0,
/// type at byte 1, the value from byte 2, 24 bytes in all; arrays of records are 24 bytes
/// apart.
///
/// status: 0 a valid value; 2 empty (no value); 1 an error value, its ErrorCode in
/// `value.longValue` (any status other than 0 is no valid value to a reader).
/// type: 0 long, 1 double, 2 text (handle of a global text block, see host/GlobalStr.h),
/// 3 cell reference, 4 range. References carry four 32-bit fields at bytes 2, 6, 10 and 14:
/// column and row of the first cell, then column and row of the last cell (the same cell
/// again for type 3).
struct SpreadCalcValue
{
    struct CellFields
    {
        std::int32_t col;
        std::int32_t row;
        std::int32_t col2;
        std::int32_t row2;
    };
    union Data
    {
        std::int32_t longValue;
        double doubleValue;
        host::GlobalHandle textHandle;
        CellFields cell;
    };

    std::uint8_t status;
    std::uint8_t type;
    Data value;
    std::uint8_t reserved[6];
};
#pragma pack(pop)

static_assert(sizeof(SpreadCalcValue) == 24);
static_assert(offsetof(SpreadCalcValue, status) == 0);
static_assert(offsetof(SpreadCalcValue, type) == 1);
static_assert(offsetof(SpreadCalcValue, value) == 2);
static_assert(offsetof(SpreadCalcValue, value) + offsetof(SpreadCalcValue::CellFields, row2) == 14);

/// Record statuses and types.
enum : std::uint8_t
{
    kCalcStatusValid = 0,
    kCalcStatusError = 1,
    kCalcStatusEmpty = 2,
};
enum : std::uint8_t
{
    kCalcTypeLong = 0,
    kCalcTypeDouble = 1,
    kCalcTypeString = 2,
    kCalcTypeCell = 3,
    kCalcTypeRange = 4,
};

/// The callback of a custom function: the result record, the first argument record and the
/// argument count. Returns nonzero when the result record holds the function's value.
using CustomFunctionProc = std::int32_t (*)(SpreadCalcValue* result, SpreadCalcValue* args,
                                            std::int16_t count);

/// Registration flag: references reach the callback as cell references (type 3, or type 4
/// for a range) instead of as the values they hold.
inline constexpr int kCustomFunctionPassReferences = 1;

/// A custom function registered on a sheet.
struct CustomFunction
{
    std::string name;
    int minArgs = 0;
    int maxArgs = 0; ///< negative: no upper limit
    CustomFunctionProc callback = nullptr;
    int flags = 0;
};

/// Calls a custom function with evaluated arguments (values or references, as the formula
/// gave them) and returns its value:
/// - an argument count outside minArgs–maxArgs is #VALUE! and the callback is not called;
/// - without kCustomFunctionPassReferences a one-cell reference passes the cell's value (an
///   empty cell as status 2), a larger range passes as type 4; with it, every reference
///   passes as type 3 (one cell) or 4;
/// - numbers pass as type 1, logicals as type 0 (1 or 0), texts as type 2 in a fresh global
///   text block, errors as status 1;
/// - a false return, or a result of status 2, is an empty value; a text result is read out
///   of its block (which is freed), a cell-reference result reads that cell.
/// Every text block the engine created for the arguments is freed afterwards, whether or not
/// the callback read it.
Value callCustomFunction(const CustomFunction& function, std::span<const Arg> args, EvalContext& context);

/// The value of one argument record as the engine reads results (for tests and diagnostics).
/// A text record's block is consumed.
Value readCalcValue(const SpreadCalcValue& record, EvalContext& context);

/// Fills a record from a value; a text gets a fresh global text block.
void writeCalcValue(SpreadCalcValue& record, const Value& value);
} // namespace grid
