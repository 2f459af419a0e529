#pragma once

#include "grid/Value.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace grid
{
/// A rectangle of cells, 1-based and inclusive.
struct CellRange
{
    int col1 = 0;
    int row1 = 0;
    int col2 = 0;
    int row2 = 0;

    int width() const { return col2 - col1 + 1; }
    int height() const { return row2 - row1 + 1; }
    bool isSingleCell() const { return col1 == col2 && row1 == row2; }
    bool operator==(const CellRange&) const = default;
};

/// Receives the values of a range from EvalContext::visitRange, one cell at a time.
class RangeVisitor
{
public:
    /// Takes the value of the cell (col, row); returns false to stop the visit.
    virtual bool visit(int col, int row, const Value& value) = 0;

protected:
    ~RangeVisitor() = default;
};

/// What a function may read of the sheet it is calculated in.
class EvalContext
{
public:
    virtual ~EvalContext() = default;
    /// The current value of a cell; empty outside the sheet.
    virtual Value cellValue(int col, int row) const = 0;
    /// Visits exactly the cells of `range` that hold a value (empty cells are left out),
    /// column by column and top to bottom within a column. Returns false when the visitor
    /// stopped early. Aggregates (SUM, COUNT, COUNTIF…) read ranges through this; the
    /// default asks cellValue() for every cell, and a sheet may override it to walk its own
    /// storage, skipping the empty parts of long ranges such as A1:A1048576.
    virtual bool visitRange(const CellRange& range, RangeVisitor& visitor) const;
    /// The calculation pass in progress, or 0 when the context cannot tell (the default).
    /// A sheet that calculates in dependency order may number its passes: within one pass
    /// every cell a formula reads already holds its final value, so SUM may carry running
    /// totals from one cell's range to the next (SUM($A$1:A5) continues from
    /// SUM($A$1:A4)). Numbers must never repeat within a process, not even across sheets.
    virtual std::uint64_t calculationPass() const { return 0; }
    /// The cell being calculated.
    virtual int currentCol() const = 0;
    virtual int currentRow() const = 0;
    /// Now as a serial date-time of the 1900 date system.
    virtual double now() const = 0;
    /// A pseudo-random number in [0, 1).
    virtual double random() = 0;
    /// The formula of the cell (col, row) as the sheet shows it, with its leading '='; false
    /// when the cell holds no formula. A context without formulas has none (the default).
    virtual bool shownFormula(int /*col*/, int /*row*/, std::string& /*text*/) const { return false; }
};

/// One evaluated argument of a function call: a value, a reference to cells (a one-cell
/// reference has a 1x1 range), or an array of values produced by an expression.
struct Arg
{
    enum class Kind
    {
        Value,
        Reference,
        Array,
    };

    Kind kind = Kind::Value;
    Value value;     ///< Kind::Value
    CellRange range; ///< Kind::Reference; the first area of a union
    /// Kind::Reference written as a union such as (A1:B2,D4): every area in order, `range`
    /// among them. Empty for a reference of one area. Only the functions that take unions
    /// see one; any other is given #VALUE! instead (see the evaluator).
    std::vector<CellRange> areas;
    std::vector<Value> array; ///< Kind::Array, row by row
    int arrayRows = 0;
    int arrayCols = 0;

    static Arg ofValue(Value v)
    {
        Arg a;
        a.value = std::move(v);
        return a;
    }
    static Arg ofReference(CellRange r)
    {
        Arg a;
        a.kind = Kind::Reference;
        a.range = r;
        return a;
    }
};

/// The body of a built-in function. Arguments arrive evaluated, in call order.
using FunctionBody = Value (*)(EvalContext& context, std::span<const Arg> args);

struct FunctionInfo
{
    const char* name;
    int minArgs;
    int maxArgs; ///< -1: no upper limit
    FunctionBody body;
};

/// The body of a function that may answer with a reference (INDEX, OFFSET, INDIRECT): the
/// result is a reference to cells, which the caller may read as a range (SUM(INDEX(…)),
/// INDEX(…):INDEX(…)) or as a value, or a plain value such as an error.
using ReferenceBody = Arg (*)(EvalContext& context, std::span<const Arg> args);

/// The reference-valued body of a built-in function, or null when it answers with values
/// only. Such a function is listed among the built-ins as well, with a body that reads its
/// reference as one value.
ReferenceBody findReferenceBody(const FunctionInfo* function);

/// The built-in function called `name` (case ignored), or null. IF, IFERROR and CHOOSE
/// evaluate lazily and are handled by the evaluator itself, not listed here.
const FunctionInfo* findBuiltin(std::string_view name);

/// True for a built-in function whose arguments are all single values (LEN, ABS, ISTEXT…):
/// given an array, or a range inside an array argument such as SUMPRODUCT's, it is applied
/// to each element and gives an array of the results.
bool worksElementWise(std::string_view name);

/// Every built-in function, sorted by name (upper case).
std::span<const FunctionInfo* const> builtinFunctions();
} // namespace grid
