// Lookup and reference functions. CHOOSE evaluates lazily and belongs to the evaluator.

#include "grid/functions/ArgList.h"
#include "grid/functions/Criteria.h"
#include "grid/functions/Families.h"

#include <optional>

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

Value indexFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    const Area area = args.area(0);
    GRID_TRY(rowArg, args.whole(1, 0));
    GRID_TRY(colArg, args.whole(2, 0));
    double row = rowArg, col = colArg;
    if (!args.has(2) && area.rows() == 1 && area.cols() > 1)
    {
        // One index into a single row counts along the row.
        col = row;
        row = 1;
    }
    if (row < 0 || col < 0)
        return Value::error(ErrorCode::Value);
    if (row > area.rows() || col > area.cols())
        return Value::error(ErrorCode::Ref);
    if (row == 0 && area.rows() == 1)
        row = 1;
    if (col == 0 && area.cols() == 1)
        col = 1;
    if (row == 0 || col == 0)
        return Value::error(ErrorCode::Value); // a whole row or column is not one value
    return area.at(static_cast<int>(row) - 1, static_cast<int>(col) - 1);
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
    {"ADDRESS", 2, 5, addressFn},       {"COLUMN", 0, 1, positionFn<false>},
    {"COLUMNS", 1, 1, extentFn<false>}, {"HLOOKUP", 3, 4, tableLookupFn<false>},
    {"INDEX", 2, 3, indexFn},           {"LOOKUP", 2, 3, lookupFn},
    {"MATCH", 2, 3, matchFn},           {"ROW", 0, 1, positionFn<true>},
    {"ROWS", 1, 1, extentFn<true>},     {"VLOOKUP", 3, 4, tableLookupFn<true>},
};
} // namespace

std::span<const FunctionInfo> lookupFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
