// Lookup and reference functions. CHOOSE evaluates lazily and belongs to the evaluator.

#include "grid/formula/Bytecode.h"
#include "grid/formula/ReferenceText.h"
#include "grid/functions/ArgList.h"
#include "grid/functions/Criteria.h"
#include "grid/functions/Families.h"

#include <optional>
#include <utility>
#include <vector>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

/// Largest sheet the address functions accept.
constexpr double kMaxRows = 1048576;
constexpr double kMaxCols = 16384;

// Lookups compare like with like: numbers, texts (case ignored) and logicals each among
// themselves; empty cells and errors never match.
int kindOf(const Value& v)
{
    switch (v.type())
    {
    case Value::Type::Number:
        return 0;
    case Value::Type::Text:
        return 1;
    case Value::Type::Logical:
        return 2;
    default:
        return -1;
    }
}

int compareSameKind(const Value& a, const Value& b)
{
    if (a.isNumber())
        return a.asNumber() < b.asNumber() ? -1 : (a.asNumber() > b.asNumber() ? 1 : 0);
    if (a.isText())
        return compareNoCase(a.asText(), b.asText());
    return static_cast<int>(a.asLogical()) - static_cast<int>(b.asLogical());
}

bool lookupEqual(const Value& cell, const Value& key)
{
    if (kindOf(cell) != kindOf(key) || kindOf(key) < 0)
        return false;
    if (key.isText())
        return hasWildcards(key.asText()) ? wildcardMatch(key.asText(), cell.asText())
                                          : equalNoCase(key.asText(), cell.asText());
    return compareSameKind(cell, key) == 0;
}

enum class MatchMode
{
    Exact,
    LargestNotAbove, ///< data sorted ascending
    SmallestNotBelow ///< data sorted descending
};

/// The cells a lookup searches in a reference argument: the first column of its range
/// (`alongRows`) or its first row. None for values and arrays.
std::optional<CellRange> searchedCells(const Arg& arg, bool alongRows)
{
    if (arg.kind != Arg::Kind::Reference)
        return std::nullopt;
    CellRange line = arg.range;
    if (alongRows)
        line.col2 = line.col1;
    else
        line.row2 = line.row1;
    return line;
}

/// Searches a line of values (count, value at i) for the key; the position found, counted
/// from 0. The sorted modes stop at the first value past the key, as a search over sorted
/// data does. Empty cells never match in any mode, so when the line is a sheet's `cells`
/// only the cells holding a value are read: a lookup in a whole column does not read a
/// million empty cells.
template <class At>
std::optional<long> findInLine(EvalContext& context, const std::optional<CellRange>& cells, long count,
                               At&& at, const Value& key, MatchMode mode)
{
    std::optional<long> found;
    // Takes one element; false when the search is over.
    auto take = [&](long i, const Value& v)
    {
        if (mode == MatchMode::Exact)
        {
            if (!lookupEqual(v, key))
                return true;
            found = i;
            return false;
        }
        if (kindOf(v) != kindOf(key))
            return true;
        const int c = compareSameKind(v, key);
        if (mode == MatchMode::LargestNotAbove ? c > 0 : c < 0)
            return false;
        found = i;
        return true;
    };
    if (cells)
    {
        struct Visitor final : RangeVisitor
        {
            Visitor(const CellRange& line, decltype(take)& each) : line(line), each(each) {}
            bool visit(int col, int row, const Value& value) override
            {
                return each(static_cast<long>(row - line.row1) + (col - line.col1), value);
            }
            const CellRange& line;
            decltype(take)& each;
        } visitor(*cells, take);
        context.visitRange(*cells, visitor);
        return found;
    }
    for (long i = 0; i < count; ++i)
        if (!take(i, at(i)))
            break;
    return found;
}

Result<Value> lookupKey(const ArgList& args)
{
    const Value key = args.scalar(0);
    if (key.isError())
        return key.asError();
    if (key.isEmpty())
        return ErrorCode::NA;
    return key;
}

// VLOOKUP (Vertical = true) and HLOOKUP.
template <bool Vertical> Value tableLookupFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(key, lookupKey(args));
    const Area table = args.area(1);
    GRID_TRY(index, args.whole(2));
    GRID_TRY(sorted, args.logical(3, true));
    const long across = Vertical ? table.cols() : table.rows();
    const long along = Vertical ? table.rows() : table.cols();
    if (index < 1)
        return Value::error(ErrorCode::Value);
    if (index > static_cast<double>(across))
        return Value::error(ErrorCode::Ref);
    auto at = [&](long i)
    { return Vertical ? table.at(static_cast<int>(i), 0) : table.at(0, static_cast<int>(i)); };
    const auto found = findInLine(context, searchedCells(args.arg(1), Vertical), along, at, key,
                                  sorted ? MatchMode::LargestNotAbove : MatchMode::Exact);
    if (!found)
        return Value::error(ErrorCode::NA);
    const int k = static_cast<int>(index) - 1;
    const int f = static_cast<int>(*found);
    return Vertical ? table.at(f, k) : table.at(k, f);
}

Value matchFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(key, lookupKey(args));
    const Area line = args.area(1);
    GRID_TRY(type, args.number(2, 1));
    if (line.rows() != 1 && line.cols() != 1)
        return Value::error(ErrorCode::NA);
    const MatchMode mode =
        type > 0 ? MatchMode::LargestNotAbove : (type < 0 ? MatchMode::SmallestNotBelow : MatchMode::Exact);
    const auto found = findInLine(
        context, searchedCells(args.arg(1), line.cols() == 1), line.size(),
        [&](long i) { return line.at(i); }, key, mode);
    if (!found)
        return Value::error(ErrorCode::NA);
    return Value::number(static_cast<double>(*found + 1));
}

Arg errorArg(ErrorCode code)
{
    return Arg::ofValue(Value::error(code));
}

/// The areas of a reference: those of a union, else its one range.
std::vector<CellRange> areasOf(const Arg& arg)
{
    return arg.areas.empty() ? std::vector<CellRange>{arg.range} : arg.areas;
}

/// INDEX(source, row, [col], [area]): the cell, row or column of a reference (a row or
/// column index of 0 takes all of them), answered as a reference so that it can bound a
/// range (A1:INDEX(…)) or be summed; of an array, the element or the slice.
Arg indexReference(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Arg& source = args.arg(0);
    if (source.kind == Arg::Kind::Value && source.value.isError())
        return source;
    const Result<double> rowArg = args.whole(1, 0);
    if (!rowArg.ok())
        return errorArg(rowArg.error());
    const Result<double> colArg = args.whole(2, 0);
    if (!colArg.ok())
        return errorArg(colArg.error());
    const Result<double> areaArg = args.whole(3, 1);
    if (!areaArg.ok())
        return errorArg(areaArg.error());
    // The area number picks one area of a union; a single area is area 1.
    Arg picked = source;
    if (*areaArg < 1)
        return errorArg(ErrorCode::Value);
    if (source.kind == Arg::Kind::Reference)
    {
        const std::vector<CellRange> areas = areasOf(source);
        if (*areaArg > static_cast<double>(areas.size()))
            return errorArg(ErrorCode::Ref);
        picked = Arg::ofReference(areas[static_cast<size_t>(*areaArg) - 1]);
    }
    else if (*areaArg != 1)
        return errorArg(ErrorCode::Ref);
    const Area area(context, picked);
    double row = *rowArg, col = *colArg;
    if (!args.has(2) && area.rows() == 1 && area.cols() > 1)
    {
        // One index into a single row counts along the row.
        col = row;
        row = 1;
    }
    if (row < 0 || col < 0)
        return errorArg(ErrorCode::Value);
    if (row > area.rows() || col > area.cols())
        return errorArg(ErrorCode::Ref);
    // 0 takes every row (column); so does any index into a single one.
    const int r1 = row == 0 ? 0 : static_cast<int>(row) - 1;
    const int r2 = row == 0 ? area.rows() - 1 : r1;
    const int c1 = col == 0 ? 0 : static_cast<int>(col) - 1;
    const int c2 = col == 0 ? area.cols() - 1 : c1;
    switch (picked.kind)
    {
    case Arg::Kind::Reference:
    {
        const CellRange& r = picked.range;
        return Arg::ofReference({r.col1 + c1, r.row1 + r1, r.col1 + c2, r.row1 + r2});
    }
    case Arg::Kind::Array:
    {
        if (r1 == r2 && c1 == c2)
            return Arg::ofValue(area.at(r1, c1));
        Arg slice;
        slice.kind = Arg::Kind::Array;
        slice.arrayRows = r2 - r1 + 1;
        slice.arrayCols = c2 - c1 + 1;
        for (int i = r1; i <= r2; ++i)
            for (int k = c1; k <= c2; ++k)
                slice.array.push_back(area.at(i, k));
        return slice;
    }
    case Arg::Kind::Value:
        break;
    }
    return Arg::ofValue(picked.value);
}

/// Reads the reference answer of a reference-valued function as one value, for callers that
/// take the function from the plain table: one cell reads its value, more than one cell is
/// not one value (#VALUE!).
template <ReferenceBody Body> Value oneValue(EvalContext& context, Args a)
{
    const Arg result = Body(context, a);
    switch (result.kind)
    {
    case Arg::Kind::Value:
        return result.value;
    case Arg::Kind::Reference:
        if (!result.range.isSingleCell() || !result.areas.empty())
            return Value::error(ErrorCode::Value);
        return context.cellValue(result.range.col1, result.range.row1);
    case Arg::Kind::Array:
        return result.array.size() == 1 ? result.array.front() : Value::error(ErrorCode::Value);
    }
    return Value::error(ErrorCode::Value);
}

/// True when a value argument was left out (OFFSET(A1,1,1,,2)).
bool omitted(const ArgList& args, size_t index)
{
    return !args.has(index) || (args.arg(index).kind == Arg::Kind::Value && args.arg(index).value.isEmpty());
}

/// OFFSET(reference, rows, cols, [height], [width]): the range of the given size (by default
/// the reference's) moved by rows and columns. A negative height or width reaches up or to
/// the left of the moved corner, as spreadsheets allow; 0 or a range off the sheet is #REF!.
Arg offsetReference(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Arg& source = args.arg(0);
    if (source.kind != Arg::Kind::Reference)
        return errorArg(source.kind == Arg::Kind::Value && source.value.isError() ? source.value.asError()
                                                                                  : ErrorCode::Value);
    double numbers[4] = {0, 0, static_cast<double>(source.range.height()),
                         static_cast<double>(source.range.width())};
    for (size_t i = 1; i <= 4; ++i)
    {
        if (i >= 3 && omitted(args, i))
            continue;
        const Result<double> n = args.whole(i, 0);
        if (!n.ok())
            return errorArg(n.error());
        numbers[i - 1] = *n;
    }
    const double height = numbers[2], width = numbers[3];
    if (height == 0 || width == 0)
        return errorArg(ErrorCode::Ref);
    double row1 = source.range.row1 + numbers[0];
    double col1 = source.range.col1 + numbers[1];
    double row2 = row1 + height + (height > 0 ? -1 : 1);
    double col2 = col1 + width + (width > 0 ? -1 : 1);
    if (row2 < row1)
        std::swap(row1, row2);
    if (col2 < col1)
        std::swap(col1, col2);
    if (row1 < 1 || col1 < 1 || row2 > kMaxRows || col2 > kMaxCols)
        return errorArg(ErrorCode::Ref);
    return Arg::ofReference(
        {static_cast<int>(col1), static_cast<int>(row1), static_cast<int>(col2), static_cast<int>(row2)});
}

/// INDIRECT(text, [a1]): the reference the text names, read in A1 style or, when the second
/// argument is FALSE, in R1C1 style relative to the calling cell. Text that names no single
/// cell or range of this sheet is #REF!.
Arg indirectReference(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Result<std::string> text = args.text(0);
    if (!text.ok())
        return errorArg(text.error());
    const Result<bool> a1 = args.logical(1, true);
    if (!a1.ok())
        return errorArg(a1.error());
    const std::string& name = *text;
    // The formula reader forgives a leading '=' and blanks; a reference text does not.
    if (name.empty() || name.front() == '=' || name.front() == ' ' || name.back() == ' ')
        return errorArg(ErrorCode::Ref);
    const int col = context.currentCol(), row = context.currentRow();
    const ParseResult parsed = parseFormula(name, col, row, *a1 ? ReferenceStyle::A1 : ReferenceStyle::R1C1);
    if (!parsed.formula || parsed.formula->code.size() != 1 || !isRefOp(parsed.formula->code[0].op))
        return errorArg(ErrorCode::Ref);
    const Instr& ref = parsed.formula->code[0];
    CellRange range;
    range.col1 = resolveCoordinate(ref.a, ref.flags & kColAbsolute, col);
    range.row1 = resolveCoordinate(ref.b, ref.flags & kRowAbsolute, row);
    range.col2 = isRangeOp(ref.op) ? resolveCoordinate(ref.c, ref.flags & kCol2Absolute, col) : range.col1;
    range.row2 = isRangeOp(ref.op) ? resolveCoordinate(ref.d, ref.flags & kRow2Absolute, row) : range.row1;
    if (range.col2 < range.col1)
        std::swap(range.col1, range.col2);
    if (range.row2 < range.row1)
        std::swap(range.row1, range.row2);
    if (!insideAddressSpace(range.col1, range.row1) || !insideAddressSpace(range.col2, range.row2))
        return errorArg(ErrorCode::Ref);
    return Arg::ofReference(range);
}

Value areasFn(EvalContext& context, Args a)
{
    const Arg& ref = ArgList(context, a).arg(0);
    if (ref.kind == Arg::Kind::Value && ref.value.isError())
        return ref.value;
    if (ref.kind != Arg::Kind::Reference)
        return Value::error(ErrorCode::Value);
    return Value::number(ref.areas.empty() ? 1.0 : static_cast<double>(ref.areas.size()));
}

/// FORMULATEXT(reference): the formula of the reference's top-left cell; #N/A when it holds none.
Value formulaTextFn(EvalContext& context, Args a)
{
    const Arg& ref = ArgList(context, a).arg(0);
    if (ref.kind == Arg::Kind::Value && ref.value.isError())
        return ref.value;
    if (ref.kind != Arg::Kind::Reference)
        return Value::error(ErrorCode::NA);
    std::string text;
    if (!context.shownFormula(ref.range.col1, ref.range.row1, text))
        return Value::error(ErrorCode::NA);
    return Value::text(std::move(text));
}

Value lookupFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(key, lookupKey(args));
    const Area source = args.area(1);
    // Without a result vector, a wide area is searched in its first row and answers from its
    // last row; a tall one in its first column, answering from its last column.
    const bool alongRow = source.cols() > source.rows();
    const long count = alongRow ? source.cols() : source.rows();
    auto at = [&](long i)
    { return alongRow ? source.at(0, static_cast<int>(i)) : source.at(static_cast<int>(i), 0); };
    const auto found = findInLine(context, searchedCells(args.arg(1), !alongRow), count, at, key,
                                  MatchMode::LargestNotAbove);
    if (!found)
        return Value::error(ErrorCode::NA);
    const int f = static_cast<int>(*found);
    if (!args.has(2))
        return alongRow ? source.at(source.rows() - 1, f) : source.at(f, source.cols() - 1);
    const Area result = args.area(2);
    if (result.rows() != 1 && result.cols() != 1)
        return Value::error(ErrorCode::NA);
    if (*found >= result.size())
        return Value::error(ErrorCode::NA);
    return result.at(*found);
}

std::string columnLetters(long col)
{
    std::string letters;
    while (col > 0)
    {
        const long digit = (col - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + digit));
        col = (col - 1) / 26;
    }
    return letters;
}

bool needsQuotes(const std::string& sheet)
{
    if (sheet.empty() || (sheet[0] >= '0' && sheet[0] <= '9'))
        return !sheet.empty();
    for (char c : sheet)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
              c == '.'))
            return true;
    return false;
}

Value addressFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(row, args.whole(0));
    GRID_TRY(col, args.whole(1));
    GRID_TRY(mode, args.whole(2, 1));
    GRID_TRY(a1, args.logical(3, true));
    if (row < 1 || col < 1 || row > kMaxRows || col > kMaxCols || mode < 1 || mode > 4)
        return Value::error(ErrorCode::Value);
    const bool absoluteRow = mode == 1 || mode == 2;
    const bool absoluteCol = mode == 1 || mode == 3;
    const long r = static_cast<long>(row), c = static_cast<long>(col);
    std::string text;
    if (a1)
        text = (absoluteCol ? "$" : "") + columnLetters(c) + (absoluteRow ? "$" : "") + std::to_string(r);
    else
        text = (absoluteRow ? "R" + std::to_string(r) : "R[" + std::to_string(r) + "]") +
               (absoluteCol ? "C" + std::to_string(c) : "C[" + std::to_string(c) + "]");
    if (args.has(4))
    {
        GRID_TRY(sheet, args.text(4));
        if (!sheet.empty())
        {
            std::string quoted;
            for (char ch : sheet)
                quoted += ch == '\'' ? std::string("''") : std::string(1, ch);
            text = (needsQuotes(sheet) ? "'" + quoted + "'" : sheet) + "!" + text;
        }
    }
    return Value::text(std::move(text));
}

template <bool Row> Value positionFn(EvalContext& context, Args a)
{
    if (a.empty())
        return Value::number(Row ? context.currentRow() : context.currentCol());
    const Arg& ref = a.front();
    if (ref.kind != Arg::Kind::Reference)
        return Value::error(ErrorCode::Value);
    return Value::number(Row ? ref.range.row1 : ref.range.col1);
}

template <bool Rows> Value extentFn(EvalContext& context, Args a)
{
    const Arg& arg = ArgList(context, a).arg(0);
    if (arg.kind == Arg::Kind::Value && arg.value.isError())
        return arg.value;
    const Area area(context, arg);
    return Value::number(Rows ? area.rows() : area.cols());
}

const FunctionInfo kFunctions[] = {
    {"ADDRESS", 2, 5, addressFn},
    {"AREAS", 1, 1, areasFn},
    {"COLUMN", 0, 1, positionFn<false>},
    {"COLUMNS", 1, 1, extentFn<false>},
    {"FORMULATEXT", 1, 1, formulaTextFn},
    {"HLOOKUP", 3, 4, tableLookupFn<false>},
    {"INDEX", 2, 4, oneValue<indexReference>},
    {"INDIRECT", 1, 2, oneValue<indirectReference>},
    {"LOOKUP", 2, 3, lookupFn},
    {"MATCH", 2, 3, matchFn},
    {"OFFSET", 3, 5, oneValue<offsetReference>},
    {"ROW", 0, 1, positionFn<true>},
    {"ROWS", 1, 1, extentFn<true>},
    {"VLOOKUP", 3, 4, tableLookupFn<true>},
};

const ReferenceFunction kReferenceFunctions[] = {
    {"INDEX", indexReference},
    {"INDIRECT", indirectReference},
    {"OFFSET", offsetReference},
};
} // namespace

std::span<const FunctionInfo> lookupFunctions()
{
    return kFunctions;
}

std::span<const ReferenceFunction> referenceFunctions()
{
    return kReferenceFunctions;
}
} // namespace grid::fn
