#pragma once

// The formula language as the sheet uses it: parse a formula once, print it back in either
// reference style, list the cells it reads, shift its references when rows or columns are
// inserted or deleted, and evaluate it against a sheet. The sheet (cell store and
// recalculation order) lives in grid/Sheet.h and drives these operations.

#include "grid/Value.h"
#include "grid/functions/Function.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace grid
{
class Formula; // a parsed formula: immutable, shared between copies of a cell

/// The address space formulas can reach: columns A to XFD, rows 1 to 1,048,576.
inline constexpr int kMaxFormulaCol = 16384;
inline constexpr int kMaxFormulaRow = 1048576;

/// How deep parentheses, function calls and signs may nest in one formula. Deeper nesting
/// is a parse error, so neither parsing nor printing can exhaust the stack.
inline constexpr int kMaxFormulaDepth = 256;

/// Reference style of formula texts.
enum class ReferenceStyle
{
    A1,
    R1C1,
};

struct ParseResult
{
    std::shared_ptr<const Formula> formula; ///< null when the text does not parse
    std::string error;                      ///< why, when it does not
};

/// Parses a formula for the cell (col, row); a leading '=' is optional. References are read
/// in the given style (A1 by default: "B3", "$A$1:A5"; R1C1: "R[-1]C", "R2C3:RC[1]").
/// Relative references are stored relative to that cell. Nesting deeper than
/// kMaxFormulaDepth is a parse error, never a stack overflow.
ParseResult parseFormula(std::string_view text, int col, int row, ReferenceStyle style = ReferenceStyle::A1);

/// The formula's text for the cell (col, row), in the given style, without a leading '='.
/// A relative reference that falls outside the sheet from that cell reads "#REF!".
std::string formulaText(const Formula& formula, int col, int row, ReferenceStyle style);

/// The cells and ranges the formula reads when it sits in (col, row); references that
/// point outside the sheet's address space are left out. Ranges come normalised
/// (col1 <= col2, row1 <= row2).
std::vector<CellRange> formulaReferences(const Formula& formula, int col, int row);
/// The same into `out`, which is emptied first: a caller going through many formulas keeps
/// one vector.
void formulaReferences(const Formula& formula, int col, int row, std::vector<CellRange>& out);

/// True when the formula calls a function whose result changes without any cell changing
/// (RAND, NOW, TODAY).
bool formulaIsVolatile(const Formula& formula);

/// What an insert or delete of rows or columns does to references.
struct Shift
{
    bool rows = true; ///< rows (true) or columns (false)
    int at = 1;       ///< first row or column inserted or deleted
    int count = 1;    ///< positive: inserted; negative: deleted
};

/// The formula, living in cell (col, row) before the shift and moving to (newCol, newRow),
/// with its references adjusted: references at or after `at` move by the count; a reference
/// into deleted cells becomes #REF!; a range loses its deleted rows or columns and becomes
/// #REF! only when all of them go. Null when nothing changes.
std::shared_ptr<const Formula> shiftFormula(const Formula& formula, int col, int row, int newCol, int newRow,
                                            const Shift& shift);

/// The formula copied from (fromCol, fromRow) to (toCol, toRow): relative references keep
/// their offsets, as a spreadsheet's copy does.
/// (The stored form is already relative, so this returns the same formula; it exists so a
/// caller need not know that.)
std::shared_ptr<const Formula> copyFormula(const std::shared_ptr<const Formula>& formula);

/// A custom function registered on a sheet (see grid/CustomFunction.h for the record contract).
struct CustomFunction;

/// What evaluation needs of the sheet beyond cell values: the custom functions.
class FormulaContext : public EvalContext
{
public:
    /// The custom function called `name` (case ignored), or null.
    virtual const CustomFunction* findCustomFunction(std::string_view name) const = 0;
};

/// Evaluates the formula in the cell (context.currentCol(), context.currentRow()).
/// Cell values are read through the context; the sheet guarantees that every cell the
/// formula reads is already calculated. A reference outside the sheet's address space is
/// #REF!. An empty cell read as the whole result gives 0, as spreadsheets show it; only a
/// custom function that returns no value leaves the result empty.
Value evaluateFormula(const Formula& formula, FormulaContext& context);
} // namespace grid
