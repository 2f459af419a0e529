// What a formula reads, and how its references follow inserted and deleted rows and columns.

#include "grid/formula/Bytecode.h"
#include "grid/formula/Formula.h"
#include "grid/formula/ReferenceText.h"

#include <algorithm>

namespace grid
{
namespace
{
/// Where one coordinate goes when rows (or columns) are inserted or deleted; false when it
/// is deleted or pushed out of the address space.
bool shiftCoordinate(long& value, const Shift& shift, int limit)
{
    if (value < shift.at)
        return true;
    if (shift.count >= 0)
    {
        value += shift.count;
        return value <= limit;
    }
    const long deletedEnd = static_cast<long>(shift.at) - shift.count; // one past the last deleted
    if (value < deletedEnd)
        return false;
    value += shift.count;
    return true;
}

/// Shifts a span [first, last] of rows or columns; a span that keeps some of its cells
/// shrinks to them. False when nothing of it is left.
bool shiftSpan(long& first, long& last, const Shift& shift, int limit)
{
    if (shift.count >= 0)
        return shiftCoordinate(first, shift, limit) && shiftCoordinate(last, shift, limit);
    const long deletedEnd = static_cast<long>(shift.at) - shift.count;
    if (first >= shift.at && last < deletedEnd)
        return false;
    if (first >= shift.at && first < deletedEnd)
        first = deletedEnd;
    if (last >= shift.at && last < deletedEnd)
        last = shift.at - 1;
    return shiftCoordinate(first, shift, limit) && shiftCoordinate(last, shift, limit);
}

std::int32_t encode(long target, bool absolute, int base)
{
    return static_cast<std::int32_t>(absolute ? target : target - base);
}
} // namespace

std::vector<CellRange> formulaReferences(const Formula& formula, int col, int row)
{
    std::vector<CellRange> out;
    formulaReferences(formula, col, row, out);
    return out;
}

void formulaReferences(const Formula& formula, int col, int row, std::vector<CellRange>& out)
{
    out.clear();
    bool spans = false;
    for (const Instr& instr : formula.code)
    {
        spans = spans || instr.op == Op::RangeSpan;
        if (!isRefOp(instr.op))
            continue;
        CellRange range;
        range.col1 = resolveCoordinate(instr.a, instr.flags & kColAbsolute, col);
        range.row1 = resolveCoordinate(instr.b, instr.flags & kRowAbsolute, row);
        range.col2 = range.col1;
        range.row2 = range.row1;
        if (isRangeOp(instr.op))
        {
            range.col2 = resolveCoordinate(instr.c, instr.flags & kCol2Absolute, col);
            range.row2 = resolveCoordinate(instr.d, instr.flags & kRow2Absolute, row);
            if (range.col2 < range.col1)
                std::swap(range.col1, range.col2);
            if (range.row2 < range.row1)
                std::swap(range.row1, range.row2);
        }
        if (insideAddressSpace(range.col1, range.row1) && insideAddressSpace(range.col2, range.row2))
            out.push_back(range);
    }
    // A range built by the ':' operator (A1:INDEX(B1:B9,3)) reaches cells between its
    // operands that no reference names. Its operands come from the references written (the
    // reference functions that reach anywhere, OFFSET and INDIRECT, are volatile), so it
    // lies within the box around them: the formula reads that box.
    if (spans && out.size() > 1)
    {
        CellRange box = out.front();
        for (const CellRange& r : out)
        {
            box.col1 = std::min(box.col1, r.col1);
            box.row1 = std::min(box.row1, r.row1);
            box.col2 = std::max(box.col2, r.col2);
            box.row2 = std::max(box.row2, r.row2);
        }
        out.push_back(box);
    }
}

bool formulaIsVolatile(const Formula& formula)
{
    return formula.isVolatile;
}

std::shared_ptr<const Formula> shiftFormula(const Formula& formula, int col, int row, int newCol, int newRow,
                                            const Shift& shift)
{
    if (shift.count == 0)
        return nullptr;
    const int limit = shift.rows ? kMaxFormulaRow : kMaxFormulaCol;
    auto shifted = std::make_shared<Formula>(formula);
    bool changed = false;
    for (Instr& instr : shifted->code)
    {
        if (!isRefOp(instr.op))
            continue;
        // Whole columns keep every row whatever rows come or go; whole rows keep every column.
        if ((shift.rows && (instr.flags & kWholeColumns)) || (!shift.rows && (instr.flags & kWholeRows)))
            continue;
        const bool range = isRangeOp(instr.op);
        long c1 = resolveCoordinate(instr.a, instr.flags & kColAbsolute, col);
        long r1 = resolveCoordinate(instr.b, instr.flags & kRowAbsolute, row);
        long c2 = range ? resolveCoordinate(instr.c, instr.flags & kCol2Absolute, col) : c1;
        long r2 = range ? resolveCoordinate(instr.d, instr.flags & kRow2Absolute, row) : r1;
        bool alive = true;
        // A corner already outside the address space stays where it points.
        if (insideAddressSpace(static_cast<int>(c1), static_cast<int>(r1)) &&
            insideAddressSpace(static_cast<int>(c2), static_cast<int>(r2)))
        {
            long& lo = shift.rows ? (r1 <= r2 ? r1 : r2) : (c1 <= c2 ? c1 : c2);
            long& hi = shift.rows ? (r1 <= r2 ? r2 : r1) : (c1 <= c2 ? c2 : c1);
            alive = range ? shiftSpan(lo, hi, shift, limit) : shiftCoordinate(lo, shift, limit);
            if (!range)
                (shift.rows ? r2 : c2) = lo;
        }
        Instr updated = instr;
        if (!alive)
        {
            updated = Instr();
            updated.op = Op::PushError;
            updated.a = static_cast<std::int32_t>(ErrorCode::Ref);
        }
        else
        {
            updated.a = encode(c1, instr.flags & kColAbsolute, newCol);
            updated.b = encode(r1, instr.flags & kRowAbsolute, newRow);
            if (range)
            {
                updated.c = encode(c2, instr.flags & kCol2Absolute, newCol);
                updated.d = encode(r2, instr.flags & kRow2Absolute, newRow);
            }
        }
        if (updated.op != instr.op || updated.a != instr.a || updated.b != instr.b || updated.c != instr.c ||
            updated.d != instr.d)
        {
            instr = updated;
            changed = true;
        }
    }
    if (!changed)
        return nullptr;
    return shifted;
}

std::shared_ptr<const Formula> copyFormula(const std::shared_ptr<const Formula>& formula)
{
    return formula;
}
} // namespace grid
