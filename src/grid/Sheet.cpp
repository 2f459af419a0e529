#include "grid/Sheet.h"

#include "grid/NumberText.h"
#include "grid/PhaseClock.h"
#include "grid/formula/Bytecode.h"
#include "host/Kdr_String.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>

namespace grid
{
namespace
{
int normalized(int index)
{
    return index == kHeader ? 0 : index;
}

/// The text a number is kept as: its General text when that reads back exactly, else the
/// shortest exact text.
std::string numberEntry(double number)
{
    std::string general = formatGeneral(number);
    double back = 0;
    if (readDouble(general, back) && back == number)
        return general;
    return shortestText(number);
}

/// Reads a text as a number; number cells also take their own shown form with thousands
/// separators ("1,234.50").
std::optional<double> readNumber(std::string_view text, bool allowSeparators)
{
    if (auto number = parseNumber(text))
        return number;
    if (!allowSeparators || text.find(',') == std::string_view::npos)
        return std::nullopt;
    // Dropping the separators cannot make a number of a text with other characters (an
    // equation, a list of names): only those are worth the copy.
    constexpr std::string_view kNumberCharacters = "0123456789+-.eE%, \t\r\n";
    if (text.find_first_not_of(kNumberCharacters) != std::string_view::npos)
        return std::nullopt;
    std::string plain;
    for (char c : text)
        if (c != ',')
            plain.push_back(c);
    return parseNumber(plain);
}

template <class AnyValue> bool numericValue(const AnyValue& value, double& number)
{
    if (value.isNumber())
        number = value.asNumber();
    else if (value.isLogical())
        number = value.asLogical() ? 1 : 0;
    else
        return false;
    return true;
}

/// Days from 1970-01-01 to a civil date (proleptic Gregorian).
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

/// True when the formula calls a function registered on the sheet (which may do anything).
bool callsNamedFunction(const Formula& formula)
{
    return std::any_of(formula.code.begin(), formula.code.end(),
                       [](const Instr& instr) { return instr.op == Op::CallNamed; });
}
} // namespace

Sheet::Sheet() : random_(0x4B616C646F72ull)
{
    types_.push_back(CellType{});
    defaultFormat_.font = defaultFont_;
    formats_.push_back(defaultFormat_);
}

Sheet::Sheet(const Sheet& other) = default;
Sheet& Sheet::operator=(const Sheet& other) = default;
Sheet::Sheet(Sheet&& other) noexcept = default;
Sheet& Sheet::operator=(Sheet&& other) noexcept = default;
Sheet::~Sheet() = default;

// --- Addresses ---------------------------------------------------------------------------

bool Sheet::inRange(int col, int row) const
{
    return col >= 0 && row >= 0 && col <= cols_ && row <= rows_;
}

bool Sheet::isValidCell(int col, int row) const
{
    return inRange(normalized(col), normalized(row));
}

bool Sheet::clipRange(int& col1, int& row1, int& col2, int& row2) const
{
    col1 = normalized(col1);
    row1 = normalized(row1);
    col2 = normalized(col2);
    row2 = normalized(row2);
    if (col1 > col2)
        std::swap(col1, col2);
    if (row1 > row2)
        std::swap(row1, row2);
    if (col1 < 0 || row1 < 0)
        return false;
    col2 = std::min(col2, cols_);
    row2 = std::min(row2, rows_);
    return col1 <= col2 && row1 <= row2;
}

// Calculation pass numbers never repeat in a process, not even across sheets.
static std::uint64_t nextCalculationPass()
{
    static std::uint64_t passes = 0;
    return ++passes;
}

void Sheet::touch()
{
    ++revision_;
    state_.changesMade = true;
    if (pass_ != 0)
        pass_ = nextCalculationPass();
}

std::vector<CellKey> Sheet::storedIn(int col1, int row1, int col2, int row2) const
{
    std::vector<CellKey> keys;
    const double area = (double(col2) - col1 + 1) * (double(row2) - row1 + 1);
    if (area <= static_cast<double>(cells_.size()) * 4)
    {
        for (int row = row1; row <= row2; ++row)
            for (int col = col1; col <= col2; ++col)
                if (cells_.find(col, row))
                    keys.push_back(cellKey(col, row));
        return keys;
    }
    cells_.forEach(
        [&](const Cell& cell)
        {
            if (cell.col >= col1 && cell.col <= col2 && cell.row >= row1 && cell.row <= row2)
                keys.push_back(cellKey(cell.col, cell.row));
        });
    return keys;
}

// --- Size -------------------------------------------------------------------------------

bool Sheet::setMaxCols(int count)
{
    if (count < 0 || count > kMaxCols)
        return false;
    if (count < cols_)
        dropBeyond(count, rows_);
    cols_ = count;
    touch();
    return true;
}

bool Sheet::setMaxRows(int count)
{
    if (count < 0 || count > kMaxRows)
        return false;
    if (count < rows_)
        dropBeyond(cols_, count);
    rows_ = count;
    touch();
    return true;
}

void Sheet::dropBeyond(int cols, int rows)
{
    std::vector<CellKey> dropped;
    cells_.forEach(
        [&](const Cell& cell)
        {
            if (cell.col > cols || cell.row > rows)
                dropped.push_back(cellKey(cell.col, cell.row));
        });
    for (CellKey key : dropped)
    {
        if (Cell* cell = cells_.find(keyCol(key), keyRow(key)); cell && cell->formula)
            detachFormula(*cell);
        cells_.erase(keyCol(key), keyRow(key));
    }
    std::erase_if(spans_, [&](const Span& span) { return span.col > cols || span.row > rows; });
    columnWidths_.erase(columnWidths_.upper_bound(cols), columnWidths_.end());
    rowHeights_.erase(rowHeights_.upper_bound(rows), rowHeights_.end());
    // The active cell and the selection come back inside the sheet rather than vanish, so the
    // user keeps a place in a grid whose last rows were just removed.
    if (state_.activeCol > cols || state_.activeRow > rows)
    {
        state_.activeCol = std::min(state_.activeCol, cols);
        state_.activeRow = std::min(state_.activeRow, rows);
        if (state_.activeCol < 1 || state_.activeRow < 1)
            state_.activeCol = state_.activeRow = 0;
        state_.editMode = false;
        state_.editSelectionStart = state_.editSelectionEnd = 0;
    }
    Selection& s = state_.selection;
    if (s.col1 != 0)
    {
        s.col1 = std::min(s.col1, cols);
        s.col2 = std::min(s.col2, cols);
        s.row1 = std::min(s.row1, rows);
        s.row2 = std::min(s.row2, rows);
        if (s.col1 < 1 || s.col2 < 1 || s.row1 < 1 || s.row2 < 1)
            s = Selection{};
    }
    recalculate(std::move(dropped));
}

// --- Entries ----------------------------------------------------------------------------

std::string Sheet::normalizedEntry(const CellType& type, std::string_view text) const
{
    std::string entry(text);
    if ((type.kind == CellType::Kind::Text || type.kind == CellType::Kind::Edit) && type.maxLength > 0 &&
        entry.size() > static_cast<std::size_t>(type.maxLength))
        entry.resize(static_cast<std::size_t>(type.maxLength));
    if (type.kind == CellType::Kind::Edit && type.charCase != CellType::CaseAsTyped)
        for (char& c : entry)
        {
            if (type.charCase == CellType::CaseUpper && c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            else if (type.charCase == CellType::CaseLower && c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
    return entry;
}

CellValue Sheet::entryValue(const Cell& cell) const
{
    if (cell.data.empty())
        return CellValue{};
    const CellType& type = typeOf(cell);
    if (type.kind == CellType::Kind::Text)
        return CellValue::text(cell.data);
    if (auto number = readNumber(cell.data, type.kind == CellType::Kind::Number))
        return CellValue::number(*number);
    return CellValue::text(cell.data);
}

void Sheet::changeEntry(int col, int row, std::string_view data, std::shared_ptr<const Formula> formula)
{
    touch();
    Cell* existing = cells_.find(col, row);
    if (!existing && data.empty() && !formula)
        return;
    Cell& cell = existing ? *existing : cells_.obtain(col, row);
    if (cell.formula)
        detachFormula(cell);
    cell.data = data;
    cell.formula = std::move(formula);
    const bool isFormula = cell.formula != nullptr;
    if (cell.formula)
    {
        cell.value = CellValue{};
        attachFormula(cell);
    }
    else
        cell.value = entryValue(cell);
    if (cell.blank())
        cells_.erase(col, row);
    // Without automatic calculation there is nothing to do: a file being read comes here
    // once a cell.
    if (col <= 0 || row <= 0 || !autoCalc_)
        return;
    if (!deferring())
        recalculate({cellKey(col, row)});
    else if (isFormula)
    {
        // Held: a custom function called while it calculates may replace the cell's formula.
        const std::shared_ptr<const Formula> set = cell.formula;
        calculateInBatch(col, row, *set);
    }
    else
        pending_.push_back(cellKey(col, row));
}

bool Sheet::setData(int col, int row, std::string_view text)
{
    col = normalized(col);
    row = normalized(row);
    if (!inRange(col, row))
        return false;
    const CellType& type = cellType(col, row);
    // Only text and edit cells change what is set; others take the text as it is.
    if (type.kind != CellType::Kind::Text && type.kind != CellType::Kind::Edit)
        changeEntry(col, row, text, nullptr);
    else
        changeEntry(col, row, normalizedEntry(type, text), nullptr);
    return true;
}

bool Sheet::setValue(int col, int row, std::string_view text)
{
    col = normalized(col);
    row = normalized(row);
    if (!inRange(col, row))
        return false;
    const CellType& type = cellType(col, row);
    std::string entry;
    if (type.kind != CellType::Kind::Text)
        if (auto number = readNumber(text, type.kind == CellType::Kind::Number))
            entry = numberEntry(*number);
    if (entry.empty())
        entry = normalizedEntry(type, text);
    changeEntry(col, row, entry, nullptr);
    return true;
}

bool Sheet::setNumber(int col, int row, double number)
{
    if (!std::isfinite(number))
        return false;
    return setValue(col, row, numberEntry(number));
}

bool Sheet::setFormula(int col, int row, std::string_view text)
{
    col = normalized(col);
    row = normalized(row);
    lastFormulaError_.clear();
    if (!inRange(col, row) || col == 0 || row == 0)
    {
        lastFormulaError_ = "not a body cell of the sheet";
        return false;
    }
    // A formula filled down or across differs from its neighbours only in the numbers of
    // its references; written relative to the cell those texts are one, and so is their
    // compiled form, which is then taken without parsing.
    // Formulas that never repeat (each with a constant of its own) stop being keyed after
    // a while, but one in 64 still is, so that a filled-down block later on is found.
    const bool tryKey = state_.referenceStyle == ReferenceStyle::A1 &&
                        (keyMisses_ < kMaxKeyedForms || (++keySkips_ & 63) == 0);
    const bool keyed = tryKey && relativeKey(text, col, row, formKey_);
    if (keyed)
    {
        if (auto it = formsByKey_.find(formKey_); it != formsByKey_.end())
        {
            keyMisses_ = 0;
            changeEntry(col, row, {}, it->second);
            return true;
        }
        ++keyMisses_;
    }
    ParseResult parsed = parseFormula(text, col, row, state_.referenceStyle);
    if (!parsed.formula)
    {
        lastFormulaError_ = parsed.error;
        return false;
    }
    std::shared_ptr<const Formula> form = sharedForm(col, std::move(parsed.formula));
    if (keyed && formsByKey_.size() < kMaxKeyedForms)
        formsByKey_.emplace(formKey_, form);
    changeEntry(col, row, {}, std::move(form));
    return true;
}

bool Sheet::relativeKey(std::string_view text, int col, int row, std::string& key)
{
    // Only formulas of references, numbers, operators and blanks are keyed: any name,
    // function, text or sheet reference leaves the text to the parser. Each reference is
    // written as its distance from the cell (absolute parts as written), everything else
    // as it is, so that two texts with one key parse to the same relative form.
    key.clear();
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto isUpper = [](char c) { return c >= 'A' && c <= 'Z'; };
    const auto isWordChar = [&](char c)
    { return isDigit(c) || isUpper(c) || (c >= 'a' && c <= 'z') || c == '_' || c == '.' || c == '$'; };
    std::size_t i = 0;
    const std::size_t n = text.size();
    char number[16];
    while (i < n)
    {
        const char c = text[i];
        if (c == ' ' || c == '+' || c == '-' || c == '*' || c == '/' || c == '^' || c == '(' || c == ')' ||
            c == '=' || c == '<' || c == '>' || c == '&' || c == '%' || c == ':')
        {
            key += c;
            ++i;
            continue;
        }
        if (isDigit(c) || c == '.')
        {
            const std::size_t start = i;
            while (i < n && isDigit(text[i]))
                ++i;
            if (i < n && text[i] == '.')
                for (++i; i < n && isDigit(text[i]);)
                    ++i;
            if (i < n && (text[i] == 'E' || text[i] == 'e'))
            {
                ++i;
                if (i < n && (text[i] == '+' || text[i] == '-'))
                    ++i;
                if (i == n || !isDigit(text[i]))
                    return false;
                while (i < n && isDigit(text[i]))
                    ++i;
            }
            if (i < n && isWordChar(text[i]))
                return false;
            key += '#';
            key.append(text.substr(start, i - start));
            continue;
        }
        if (c != '$' && !isUpper(c))
            return false;
        // A reference: $? letters $? digits, the letters a column of the sheet and the
        // digits a row without leading zero; anything after it that could continue a name
        // or call a function is left to the parser.
        const bool colAbsolute = c == '$';
        if (colAbsolute)
            ++i;
        const std::size_t letters = i;
        int refCol = 0;
        while (i < n && isUpper(text[i]) && i - letters < 3)
            refCol = refCol * 26 + (text[i++] - 'A' + 1);
        if (i == letters || (i < n && isUpper(text[i])) || refCol > kMaxFormulaCol)
            return false;
        const bool rowAbsolute = i < n && text[i] == '$';
        if (rowAbsolute)
            ++i;
        const std::size_t digits = i;
        int refRow = 0;
        while (i < n && isDigit(text[i]) && i - digits < 7)
            refRow = refRow * 10 + (text[i++] - '0');
        if (i == digits || text[digits] == '0' || refRow > kMaxFormulaRow ||
            (i < n && (isWordChar(text[i]) || text[i] == '(' || text[i] == '!')))
            return false;
        key += colAbsolute ? 'C' : 'c';
        key.append(number,
                   std::to_chars(number, number + sizeof number, colAbsolute ? refCol : refCol - col).ptr);
        key += rowAbsolute ? 'R' : 'r';
        key.append(number,
                   std::to_chars(number, number + sizeof number, rowAbsolute ? refRow : refRow - row).ptr);
    }
    return true;
}

bool Sheet::setParsedFormula(int col, int row, std::shared_ptr<const Formula> formula)
{
    col = normalized(col);
    row = normalized(row);
    lastFormulaError_.clear();
    if (!formula || !inRange(col, row) || col == 0 || row == 0)
    {
        lastFormulaError_ = "not a body cell of the sheet";
        return false;
    }
    changeEntry(col, row, {}, sharedForm(col, std::move(formula)));
    return true;
}

namespace
{
bool sameInstructions(const std::vector<Instr>& a, const std::vector<Instr>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Instr& x, const Instr& y)
                      {
                          return x.op == y.op && x.flags == y.flags && x.argc == y.argc && x.a == y.a &&
                                 x.b == y.b && x.c == y.c && x.d == y.d;
                      });
}

/// True when the two compiled forms behave and print alike in any cell. Numbers compare by
/// their bits, so that -0 and 0 stay apart; forms with array constants are never shared.
bool sameForm(const Formula& a, const Formula& b)
{
    return a.isVolatile == b.isVolatile && a.arrays.empty() && b.arrays.empty() && a.texts == b.texts &&
           a.builtins == b.builtins && a.targets == b.targets &&
           std::equal(a.numbers.begin(), a.numbers.end(), b.numbers.begin(), b.numbers.end(),
                      [](double x, double y)
                      { return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y); }) &&
           sameInstructions(a.code, b.code);
}
} // namespace

std::shared_ptr<const Formula> Sheet::sharedForm(int col, std::shared_ptr<const Formula> formula)
{
    // References are stored relative to their cell, so a formula filled down a column
    // compiles to the same form in every row: those cells share one.
    std::shared_ptr<const Formula>& recent =
        recentForms_[static_cast<std::size_t>(col) % recentForms_.size()];
    if (recent && sameForm(*recent, *formula))
        return recent;
    recent = formula;
    return formula;
}

bool Sheet::clearRange(int col1, int row1, int col2, int row2, CellContent what)
{
    if (!clipRange(col1, row1, col2, row2))
        return false;
    std::vector<CellKey> keys = storedIn(col1, row1, col2, row2);
    for (CellKey key : keys)
        placeCell(keyCol(key), keyRow(key), nullptr, what);
    touch();
    recalculate(std::move(keys));
    return true;
}

void Sheet::placeCell(int col, int row, const Cell* source, CellContent what)
{
    Cell* existing = cells_.find(col, row);
    if (!existing && !source)
        return;
    Cell& cell = existing ? *existing : cells_.obtain(col, row);
    if (what != CellContent::Formats)
    {
        if (cell.formula)
            detachFormula(cell);
        cell.data = source ? source->data : CellText{};
        cell.formula = source ? source->formula : nullptr;
        if (cell.formula)
        {
            cell.value = Value{};
            attachFormula(cell);
        }
    }
    if (what != CellContent::Data)
    {
        cell.type = source ? source->type : 0;
        cell.format = source ? source->format : 0;
    }
    if (what == CellContent::All)
    {
        cell.tag = source ? source->tag : CellText{};
        cell.note = source ? source->note : CellText{};
    }
    if (!cell.formula)
    {
        cell.data = normalizedEntry(typeOf(cell), cell.data);
        cell.value = entryValue(cell);
    }
    if (cell.blank())
        cells_.erase(col, row);
}

bool Sheet::cellText(int col, int row, TextKind kind, std::string& text) const
{
    text.clear();
    if (!isValidCell(col, row))
        return false;
    switch (kind)
    {
    case TextKind::Data:
        text = cellDataText(col, row);
        break;
    case TextKind::Formula:
        text = cellFormulaText(col, row);
        break;
    case TextKind::Tag:
        text = cellTag(col, row);
        break;
    case TextKind::Value:
        text = cellValueText(col, row);
        break;
    }
    return true;
}

std::string Sheet::cellDataText(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    if (!cell)
        return {};
    const CellType& type = typeOf(*cell);
    double number = 0;
    if (type.kind == CellType::Kind::Number && numericValue(cell->value, number))
        return fixedText(number, type.shownDecimals(), type.thousands);
    if (cell->formula)
        return valueText(cell->value.toValue());
    return cell->data.str();
}

std::string Sheet::cellValueText(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    return cell ? valueTextOf(*cell) : std::string{};
}

std::string Sheet::valueTextOf(const Cell& cell) const
{
    const CellType& type = typeOf(cell);
    double number = 0;
    if (type.kind == CellType::Kind::Number && numericValue(cell.value, number))
        return formatGeneral(roundToDecimals(number, type.shownDecimals()));
    switch (cell.value.type())
    {
    case Value::Type::Number:
        return formatGeneral(cell.value.asNumber());
    case Value::Type::Text:
        return std::string(cell.value.asText());
    default:
        return valueText(cell.value.toValue());
    }
}

void Sheet::forEachValueText(const std::function<void(int col, int row, std::string_view text)>& visit) const
{
    cells_.forEachInRowOrder(
        [&](const Cell& cell)
        {
            if (inRange(cell.col, cell.row))
                visit(cell.col, cell.row, valueTextOf(cell));
        });
}

std::string Sheet::cellFormulaText(int col, int row) const
{
    col = normalized(col);
    row = normalized(row);
    const Cell* cell = cells_.find(col, row);
    if (!cell || !cell->formula)
        return {};
    return formulaText(*cell->formula, col, row, state_.referenceStyle);
}

std::string Sheet::cellEntry(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    return cell ? cell->data.str() : std::string{};
}

bool Sheet::hasFormula(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    return cell && cell->formula;
}

std::shared_ptr<const Formula> Sheet::cellFormula(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    return cell ? cell->formula : nullptr;
}

bool Sheet::cellNumber(int col, int row, double& number) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    return cell && numericValue(cell->value, number);
}

// --- Calculation ------------------------------------------------------------------------

void Sheet::attachFormula(const Cell& cell)
{
    attachFormula(cell, graphStale_ ? CellStore::kNoSlot : cells_.slotOf(cell.col, cell.row));
}

void Sheet::attachFormula(const Cell& cell, std::uint32_t slot)
{
    const CellKey key = cellKey(cell.col, cell.row);
    if (!graphStale_)
    {
        formulaReferences(*cell.formula, cell.col, cell.row, references_);
        graph_.add(key, slot, references_);
    }
    if (formulaIsVolatile(*cell.formula))
        volatile_.insert(key);
}

void Sheet::detachFormula(const Cell& cell)
{
    const CellKey key = cellKey(cell.col, cell.row);
    if (!graphStale_)
        graph_.remove(key, formulaReferences(*cell.formula, cell.col, cell.row));
    if (!volatile_.empty())
        volatile_.erase(key);
}

void Sheet::rebuildDependencies()
{
    graph_.clear();
    volatile_.clear();
    // Without automatic calculation nothing asks who reads a cell: the graph is built when
    // calculation comes back on, in one pass over the sheet as loaded or changed by then.
    graphStale_ = !autoCalc_;
    if (!graphStale_)
        graph_.beginBuild(cells_.size());
    // In the order of the slots, which is the order the cells were made in (a file's, as
    // read): neighbouring cells get neighbouring nodes, so calculation walks memory in order.
    for (std::uint32_t slot = 0; slot < cells_.slotCount(); ++slot)
        if (const Cell& cell = cells_.atSlot(slot); cell.formula)
            attachFormula(cell, slot);
    if (!graphStale_)
        graph_.endBuild();
    notePhase("graph");
}

void Sheet::calculateInBatch(int col, int row, const Formula& formula)
{
    // The new formula alone is calculated when nothing reads it and it reads no formula cell,
    // since then no value it reads can be waiting. Anything else takes the full way, with
    // what waited, so the order of calculation is the one every change gets.
    bool alone = !graph_.hasReaders(col, row);
    if (alone && !pending_.empty())
        for (const CellRange& range : formulaReferences(formula, col, row))
        {
            if (range.col1 != range.col2 || range.row1 != range.row2)
            {
                alone = false;
                break;
            }
            const Cell* read = cells_.find(range.col1, range.row1);
            if (read && read->formula)
            {
                alone = false;
                break;
            }
        }
    if (alone)
    {
        // Nothing reads the cell and it has just been calculated from the values as they
        // are: an earlier change of its own entry in this batch no longer needs its turn.
        const CellKey key = cellKey(col, row);
        while (!pending_.empty() && pending_.back() == key)
            pending_.pop_back();
        evaluate(col, row);
        return;
    }
    pending_.push_back(cellKey(col, row));
    calculatePending();
}

void Sheet::calculatePending()
{
    std::vector<CellKey> seeds;
    seeds.swap(pending_);
    // A cell changed many times in a batch is one change.
    std::sort(seeds.begin(), seeds.end());
    seeds.erase(std::unique(seeds.begin(), seeds.end()), seeds.end());
    calculateNow(std::move(seeds));
}

void Sheet::endBatch()
{
    if (batchDepth_ == 0 || --batchDepth_ > 0 || pending_.empty())
        return;
    if (autoCalc_)
        calculatePending();
    else
        pending_.clear(); // switching automatic calculation on recalculates everything
}

void Sheet::recalculate(std::vector<CellKey> seeds)
{
    if (!autoCalc_)
        return;
    if (deferring())
    {
        pending_.insert(pending_.end(), seeds.begin(), seeds.end());
        return;
    }
    if (!pending_.empty())
    {
        // The batch stopped holding changes back (a volatile formula arrived): what waited
        // is calculated with this change.
        pending_.insert(pending_.end(), seeds.begin(), seeds.end());
        calculatePending();
        return;
    }
    calculateNow(std::move(seeds));
}

void Sheet::calculateNow(std::vector<CellKey> seeds)
{
    if (!volatile_.empty())
    {
        // Volatile formulas (INDIRECT, OFFSET…) may read cells no dependency names, so they
        // are calculated after everything else the change reaches, then what reads them.
        if (!seeds.empty())
            calculatePlan(std::move(seeds));
        calculatePlan(std::vector<CellKey>(volatile_.begin(), volatile_.end()));
        return;
    }
    if (seeds.empty())
        return;
    calculatePlan(std::move(seeds));
}

void Sheet::calculatePlan(std::vector<CellKey> seeds)
{
    // The common case while a sheet is filled: one cell changed and nothing reads it.
    if (seeds.size() == 1 && !graph_.hasReaders(keyCol(seeds[0]), keyRow(seeds[0])))
    {
        evaluate(keyCol(seeds[0]), keyRow(seeds[0]));
        return;
    }
    // Within one pass every cell a formula reads is final (dependency order), which lets
    // functions carry results from one cell to the next (see EvalContext::calculationPass).
    const std::vector<DependencyGraph::Step> steps = graph_.plan(seeds);
    notePhase("plan");
    calculateSteps(steps);
}

void Sheet::calculateSteps(const std::vector<DependencyGraph::Step>& steps)
{
    const std::uint64_t outer = pass_;
    pass_ = nextCalculationPass();
    for (const DependencyGraph::Step& step : steps)
    {
        const int col = keyCol(step.cell), row = keyRow(step.cell);
        // The slot is where the cell was when its formula was attached; a formula changed
        // by a custom function during this pass may have moved it.
        Cell* cell = step.slot < cells_.slotCount() ? &cells_.atSlot(step.slot) : nullptr;
        if (!cell || cell->col != col || cell->row != row || !cell->formula)
            cell = cells_.find(col, row);
        if (!cell || !cell->formula)
            continue;
        if (step.circular)
            cell->value = Value::error(ErrorCode::Circular);
        else
            evaluate(*cell);
    }
    pass_ = outer == 0 ? 0 : nextCalculationPass();
    notePhase("evaluate");
}

void Sheet::evaluate(int col, int row)
{
    if (Cell* cell = cells_.find(col, row); cell && cell->formula)
        evaluate(*cell);
}

void Sheet::evaluate(Cell& cell)
{
    const int col = cell.col, row = cell.row;
    const int savedCol = evalCol_, savedRow = evalRow_;
    evalCol_ = col;
    evalRow_ = row;
    // Only a custom function can call back into the sheet and change it meanwhile; a formula
    // that may call one is held, and its cell found again afterwards.
    if (customFunctions_.empty() || !callsNamedFunction(*cell.formula))
    {
        cell.value = evaluateFormula(*cell.formula, *this);
        evalCol_ = savedCol;
        evalRow_ = savedRow;
        return;
    }
    const std::shared_ptr<const Formula> formula = cell.formula;
    const std::uint64_t revision = revision_;
    Value result = evaluateFormula(*formula, *this);
    evalCol_ = savedCol;
    evalRow_ = savedRow;
    if (revision == revision_ && cell.formula == formula)
    {
        cell.value = std::move(result);
        return;
    }
    Cell* now = cells_.find(col, row);
    if (now && now->formula == formula)
        now->value = std::move(result);
}

bool Sheet::recalcCell(int col, int row)
{
    if (col < 1 || row < 1 || col > cols_ || row > rows_)
        return false;
    recalculate({cellKey(col, row)});
    return true;
}

void Sheet::recalcAll()
{
    if (autoCalc_ && !deferring() && pending_.empty() && volatile_.empty())
    {
        // Every formula at once, as after a load: the graph orders them all from its own
        // lists where it can.
        std::vector<DependencyGraph::Step> steps;
        if (graph_.planAll(steps))
        {
            notePhase("plan");
            if (!steps.empty())
                calculateSteps(steps);
            return;
        }
    }
    std::vector<CellKey> formulas;
    formulas.reserve(cells_.size());
    for (std::uint32_t slot = 0; slot < cells_.slotCount(); ++slot)
        if (const Cell& cell = cells_.atSlot(slot); cell.formula)
            formulas.push_back(cellKey(cell.col, cell.row));
    recalculate(std::move(formulas));
}

void Sheet::setAutoCalc(bool on)
{
    const bool wasOff = !autoCalc_;
    autoCalc_ = on;
    if (!on && !wasOff)
    {
        // Changes made without calculation only note the volatile cells; the graph is built
        // again, in one pass, when calculation comes back on.
        graph_.clear();
        graphStale_ = true;
    }
    if (on && wasOff && !holdingLoad_)
    {
        if (graphStale_)
            rebuildDependencies();
        recalcAll();
    }
}

bool Sheet::addCustomFunction(std::string_view name, int minArgs, int maxArgs, CustomFunctionProc callback,
                              int flags)
{
    if (name.empty() || !callback || minArgs < 0 || (maxArgs >= 0 && maxArgs < minArgs))
        return false;
    CustomFunction function{std::string(name), minArgs, maxArgs, callback, flags};
    auto it = std::find_if(customFunctions_.begin(), customFunctions_.end(),
                           [&](const CustomFunction& f) { return host::equalText(f.name, name, false); });
    if (it != customFunctions_.end())
        *it = std::move(function);
    else
        customFunctions_.push_back(std::move(function));
    // Formulas that met the name before it existed can now be calculated.
    std::vector<CellKey> unresolved;
    cells_.forEach(
        [&](const Cell& cell)
        {
            if (cell.formula && cell.value.isError() && cell.value.asError() == ErrorCode::Name)
                unresolved.push_back(cellKey(cell.col, cell.row));
        });
    if (!unresolved.empty())
        recalculate(std::move(unresolved));
    return true;
}

const CustomFunction* Sheet::findCustomFunction(std::string_view name) const
{
    for (const CustomFunction& function : customFunctions_)
        if (host::equalText(function.name, name, false))
            return &function;
    return nullptr;
}

void Sheet::setClock(std::function<double()> clock)
{
    clock_ = std::move(clock);
}

void Sheet::setRandomSeed(std::uint64_t seed)
{
    random_.seed(seed);
}

bool Sheet::shownFormula(int col, int row, std::string& text) const
{
    if (col < 1 || row < 1 || col > cols_ || row > rows_)
        return false;
    const Cell* cell = cells_.find(col, row);
    if (!cell || !cell->formula)
        return false;
    text = "=" + formulaText(*cell->formula, col, row, state_.referenceStyle);
    return true;
}

Value Sheet::cellValue(int col, int row) const
{
    if (col < 1 || row < 1 || col > cols_ || row > rows_)
        return Value{};
    const Cell* cell = cells_.find(col, row);
    return cell ? cell->value.toValue() : Value{};
}

bool Sheet::visitRange(const CellRange& range, RangeVisitor& visitor) const
{
    const int col1 = std::max(range.col1, 1), col2 = std::min(range.col2, cols_);
    const int row1 = std::max(range.row1, 1), row2 = std::min(range.row2, rows_);
    if (col1 > col2 || row1 > row2)
        return true;
    auto visitCell = [&](const Cell& cell)
    { return cell.value.isEmpty() || visitor.visit(cell.col, cell.row, cell.value.toValue()); };
    const double lookups = double(col2 - col1 + 1) * CellStore::blocksBetween(row1, row2);
    if (lookups <= static_cast<double>(cells_.size()))
    {
        for (int col = col1; col <= col2; ++col)
            if (!cells_.forEachInColumn(col, row1, row2, visitCell))
                return false;
        return true;
    }
    // A range much larger than what the sheet holds: pick its cells out of the store.
    std::vector<const Cell*> inside;
    cells_.forEach(
        [&](const Cell& cell)
        {
            if (cell.col >= col1 && cell.col <= col2 && cell.row >= row1 && cell.row <= row2 &&
                !cell.value.isEmpty())
                inside.push_back(&cell);
        });
    std::sort(inside.begin(), inside.end(),
              [](const Cell* a, const Cell* b)
              { return a->col != b->col ? a->col < b->col : a->row < b->row; });
    for (const Cell* cell : inside)
        if (!visitor.visit(cell->col, cell->row, cell->value.toValue()))
            return false;
    return true;
}

double Sheet::now() const
{
    if (clock_)
        return clock_();
    const std::time_t t = std::time(nullptr);
    const std::tm local = *std::localtime(&t);
    const long long days = daysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                         static_cast<unsigned>(local.tm_mday)) -
                           daysFromCivil(1899, 12, 30);
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    return static_cast<double>(days) + seconds / 86400.0;
}

double Sheet::random()
{
    // Built from 53 random bits, so the result is always below 1.
    return static_cast<double>(random_() >> 11) * 0x1.0p-53;
}
} // namespace grid
