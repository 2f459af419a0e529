#include "grid/Sheet.h"

#include "grid/NumberText.h"
#include "host/Kdr_String.h"

#include <algorithm>
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

void mix(std::size_t& seed, std::size_t value)
{
    seed ^= value + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2);
}

std::size_t hashOf(const CellType& type)
{
    std::size_t h = 0;
    mix(h, static_cast<std::size_t>(type.kind));
    mix(h, std::hash<int>{}(type.style));
    mix(h, std::hash<int>{}(type.maxLength));
    mix(h, std::hash<int>{}(type.decimals));
    mix(h, std::hash<double>{}(type.minimum));
    mix(h, std::hash<double>{}(type.maximum));
    mix(h, type.thousands);
    mix(h, std::hash<int>{}(type.charSet));
    mix(h, std::hash<int>{}(type.charCase));
    mix(h, std::hash<std::string>{}(type.text));
    mix(h, std::hash<std::string>{}(type.picture));
    mix(h, std::hash<std::string>{}(type.picture2));
    for (const std::string& item : type.items)
        mix(h, std::hash<std::string>{}(item));
    return h;
}

std::size_t hashOf(const CellFormat& format)
{
    std::size_t h = std::hash<std::string>{}(format.font.face);
    mix(h, std::hash<int>{}(format.font.height));
    mix(h, std::hash<int>{}(format.font.weight));
    mix(h, format.foreground);
    mix(h, format.background);
    mix(h, std::hash<int>{}(format.border.mask));
    mix(h, std::hash<int>{}(format.border.style));
    mix(h, format.border.color);
    mix(h, format.locked);
    mix(h, format.skip);
    return h;
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
    std::string plain;
    for (char c : text)
        if (c != ',')
            plain.push_back(c);
    return parseNumber(plain);
}

bool numericValue(const Value& value, double& number)
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

const CellType kGeneralType{};
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

void Sheet::touch()
{
    ++revision_;
    state_.changesMade = true;
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
    cells_.forEach([&](const Cell& cell) {
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
    cells_.forEach([&](const Cell& cell) {
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
    if (state_.activeCol > cols || state_.activeRow > rows)
        state_.activeCol = state_.activeRow = 0;
    Selection& s = state_.selection;
    if (s.col1 > cols || s.row1 > rows)
        s = Selection{};
    else
    {
        s.col2 = std::min(s.col2, cols);
        s.row2 = std::min(s.row2, rows);
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

Value Sheet::entryValue(const Cell& cell) const
{
    if (cell.data.empty())
        return Value{};
    const CellType& type = typeOf(cell);
    if (type.kind == CellType::Kind::Text)
        return Value::text(cell.data);
    if (auto number = readNumber(cell.data, type.kind == CellType::Kind::Number))
        return Value::number(*number);
    return Value::text(cell.data);
}

void Sheet::changeEntry(int col, int row, std::string data, std::shared_ptr<const Formula> formula)
{
    touch();
    Cell* existing = cells_.find(col, row);
    if (!existing && data.empty() && !formula)
        return;
    Cell& cell = existing ? *existing : cells_.obtain(col, row);
    if (cell.formula)
        detachFormula(cell);
    cell.data = std::move(data);
    cell.formula = std::move(formula);
    if (cell.formula)
    {
        cell.value = Value{};
        attachFormula(cell);
    }
    else
        cell.value = entryValue(cell);
    if (cell.blank())
        cells_.erase(col, row);
    if (col > 0 && row > 0)
        recalculate({cellKey(col, row)});
}

bool Sheet::setData(int col, int row, std::string_view text)
{
    col = normalized(col);
    row = normalized(row);
    if (!inRange(col, row))
        return false;
    changeEntry(col, row, normalizedEntry(cellType(col, row), text), nullptr);
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
    changeEntry(col, row, std::move(entry), nullptr);
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
    ParseResult parsed = parseFormula(text, col, row, state_.referenceStyle);
    if (!parsed.formula)
    {
        lastFormulaError_ = parsed.error;
        return false;
    }
    changeEntry(col, row, std::string{}, std::move(parsed.formula));
    return true;
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
        cell.data = source ? source->data : std::string{};
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
        cell.tag = source ? source->tag : std::string{};
        cell.note = source ? source->note : std::string{};
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
        return valueText(cell->value);
    return cell->data;
}

std::string Sheet::cellValueText(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    if (!cell)
        return {};
    const CellType& type = typeOf(*cell);
    double number = 0;
    if (type.kind == CellType::Kind::Number && numericValue(cell->value, number))
        return formatGeneral(roundToDecimals(number, type.shownDecimals()));
    return valueText(cell->value);
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
    return cell ? cell->data : std::string{};
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

// --- Types and formats ------------------------------------------------------------------

std::uint32_t Sheet::internType(const CellType& type)
{
    if (type == types_[0])
        return 0;
    const std::size_t h = hashOf(type);
    auto [first, last] = typeIndex_.equal_range(h);
    for (auto it = first; it != last; ++it)
        if (types_[it->second] == type)
            return it->second;
    auto id = static_cast<std::uint32_t>(types_.size());
    types_.push_back(type);
    typeIndex_.emplace(h, id);
    return id;
}

std::uint32_t Sheet::internFormat(const CellFormat& format)
{
    if (format == formats_[0])
        return 0;
    const std::size_t h = hashOf(format);
    auto [first, last] = formatIndex_.equal_range(h);
    for (auto it = first; it != last; ++it)
        if (formats_[it->second] == format)
            return it->second;
    auto id = static_cast<std::uint32_t>(formats_.size());
    formats_.push_back(format);
    formatIndex_.emplace(h, id);
    return id;
}

bool Sheet::setCellType(int col, int row, const CellType& type)
{
    return setCellType(col, row, col, row, type);
}

bool Sheet::setCellType(int col1, int row1, int col2, int row2, const CellType& type)
{
    if (!clipRange(col1, row1, col2, row2))
        return false;
    const std::uint32_t id = internType(type);
    std::vector<CellKey> changed;
    auto apply = [&](int col, int row) {
        Cell* existing = cells_.find(col, row);
        if ((existing ? existing->type : 0) == id)
            return;
        Cell& cell = existing ? *existing : cells_.obtain(col, row);
        cell.type = id;
        if (!cell.formula)
        {
            cell.data = normalizedEntry(types_[id], cell.data);
            cell.value = entryValue(cell);
            changed.push_back(cellKey(col, row));
        }
        if (cell.blank())
            cells_.erase(col, row);
    };
    if (id == 0)
        for (CellKey key : storedIn(col1, row1, col2, row2))
            apply(keyCol(key), keyRow(key));
    else
        for (int row = row1; row <= row2; ++row)
            for (int col = col1; col <= col2; ++col)
                apply(col, row);
    touch();
    recalculate(std::move(changed));
    return true;
}

const CellType& Sheet::cellType(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    return cell ? typeOf(*cell) : kGeneralType;
}

int Sheet::cellTypeCode(int col, int row) const
{
    if (!isValidCell(col, row))
        return -1;
    return cellType(col, row).code();
}

void Sheet::setDefaultFont(const Font& font)
{
    defaultFont_ = font;
    defaultFormat_.font = font;
    formats_[0] = defaultFormat_;
    touch();
}

const CellFormat& Sheet::cellFormat(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    return cell ? formats_[cell->format] : formats_[0];
}

bool Sheet::changeFormats(int col1, int row1, int col2, int row2, const std::function<void(CellFormat&)>& change)
{
    if (!clipRange(col1, row1, col2, row2))
        return false;
    // Cells sharing a format share the changed one too.
    std::unordered_map<std::uint32_t, std::uint32_t> changedIds;
    for (int row = row1; row <= row2; ++row)
        for (int col = col1; col <= col2; ++col)
        {
            Cell* existing = cells_.find(col, row);
            const std::uint32_t old = existing ? existing->format : 0;
            auto known = changedIds.find(old);
            std::uint32_t id;
            if (known != changedIds.end())
                id = known->second;
            else
            {
                CellFormat format = formats_[old];
                change(format);
                id = internFormat(format);
                changedIds.emplace(old, id);
            }
            if (id == old)
                continue;
            Cell& cell = existing ? *existing : cells_.obtain(col, row);
            cell.format = id;
            if (cell.blank())
                cells_.erase(col, row);
        }
    touch();
    return true;
}

bool Sheet::setCellFormat(int col1, int row1, int col2, int row2, const CellFormat& format)
{
    return changeFormats(col1, row1, col2, row2, [&](CellFormat& f) { f = format; });
}

bool Sheet::setFont(int col1, int row1, int col2, int row2, const Font& font)
{
    return changeFormats(col1, row1, col2, row2, [&](CellFormat& f) { f.font = font; });
}

bool Sheet::setColors(int col1, int row1, int col2, int row2, Color background, Color foreground)
{
    return changeFormats(col1, row1, col2, row2, [&](CellFormat& f) {
        f.background = background;
        f.foreground = foreground;
    });
}

bool Sheet::setBorder(int col1, int row1, int col2, int row2, const Border& border)
{
    return changeFormats(col1, row1, col2, row2, [&](CellFormat& f) { f.border = border; });
}

bool Sheet::setLock(int col1, int row1, int col2, int row2, bool locked)
{
    return changeFormats(col1, row1, col2, row2, [&](CellFormat& f) { f.locked = locked; });
}

bool Sheet::setSkip(int col1, int row1, int col2, int row2, bool skip)
{
    return changeFormats(col1, row1, col2, row2, [&](CellFormat& f) { f.skip = skip; });
}

// --- Tags and notes ---------------------------------------------------------------------

bool Sheet::setCellTag(int col, int row, std::string_view tag)
{
    col = normalized(col);
    row = normalized(row);
    if (!inRange(col, row))
        return false;
    Cell* existing = cells_.find(col, row);
    if (!existing && tag.empty())
        return true;
    Cell& cell = existing ? *existing : cells_.obtain(col, row);
    cell.tag = tag;
    if (cell.blank())
        cells_.erase(col, row);
    touch();
    return true;
}

std::string Sheet::cellTag(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    return cell ? cell->tag : std::string{};
}

bool Sheet::setCellNote(int col, int row, std::string_view note)
{
    col = normalized(col);
    row = normalized(row);
    if (!inRange(col, row))
        return false;
    Cell* existing = cells_.find(col, row);
    if (!existing && note.empty())
        return true;
    Cell& cell = existing ? *existing : cells_.obtain(col, row);
    cell.note = note;
    if (cell.blank())
        cells_.erase(col, row);
    touch();
    return true;
}

std::string Sheet::cellNote(int col, int row) const
{
    const Cell* cell = cells_.find(normalized(col), normalized(row));
    return cell ? cell->note : std::string{};
}

// --- Spans ------------------------------------------------------------------------------

bool Sheet::addSpan(int col, int row, int width, int height)
{
    if (col < 1 || row < 1 || col > cols_ || row > rows_ || width < 1 || height < 1 ||
        width > kMaxCols - col + 1 || height > kMaxRows - row + 1)
        return false;
    const Span span{col, row, width, height};
    for (const Span& other : spans_)
        if (span.col < other.col + other.width && other.col < span.col + span.width &&
            span.row < other.row + other.height && other.row < span.row + span.height)
            return false;
    spans_.push_back(span);
    touch();
    return true;
}

bool Sheet::setSpans(std::vector<Span> spans, std::size_t* offending)
{
    auto refuse = [&](const Span* span) {
        if (offending)
            *offending = static_cast<std::size_t>(span - spans.data());
        return false;
    };
    for (const Span& span : spans)
        if (span.col < 1 || span.row < 1 || span.col > cols_ || span.row > rows_ || span.width < 1 ||
            span.height < 1 || span.width > kMaxCols - span.col + 1 || span.height > kMaxRows - span.row + 1)
            return refuse(&span);
    // Sweep down the rows, keeping the spans that cover the current row by their first
    // column; those never overlap one another, so a new span need only be checked against
    // its neighbours there.
    std::vector<const Span*> byRow;
    byRow.reserve(spans.size());
    for (const Span& span : spans)
        byRow.push_back(&span);
    std::sort(byRow.begin(), byRow.end(), [](const Span* a, const Span* b) { return a->row < b->row; });
    std::map<int, const Span*> active;
    std::multimap<int, const Span*> endings; // last row -> span
    for (const Span* span : byRow)
    {
        while (!endings.empty() && endings.begin()->first < span->row)
        {
            active.erase(endings.begin()->second->col);
            endings.erase(endings.begin());
        }
        auto next = active.lower_bound(span->col);
        if (next != active.end() && next->second->col <= span->col + span->width - 1)
            return refuse(span);
        if (next != active.begin() && std::prev(next)->second->col + std::prev(next)->second->width - 1 >= span->col)
            return refuse(span);
        active.emplace(span->col, span);
        endings.emplace(span->row + span->height - 1, span);
    }
    spans_ = std::move(spans);
    touch();
    return true;
}

bool Sheet::getSpan(int col, int row, Span& span) const
{
    for (const Span& s : spans_)
        if (s.contains(col, row))
        {
            span = s;
            return true;
        }
    return false;
}

bool Sheet::removeSpan(int col, int row)
{
    auto it = std::find_if(spans_.begin(), spans_.end(), [&](const Span& s) { return s.contains(col, row); });
    if (it == spans_.end())
        return false;
    spans_.erase(it);
    touch();
    return true;
}

int Sheet::removeSpans(int col1, int row1, int col2, int row2)
{
    if (col1 > col2)
        std::swap(col1, col2);
    if (row1 > row2)
        std::swap(row1, row2);
    const auto removed = std::erase_if(spans_, [&](const Span& s) {
        return s.col <= col2 && col1 < s.col + s.width && s.row <= row2 && row1 < s.row + s.height;
    });
    if (removed > 0)
        touch();
    return static_cast<int>(removed);
}

// --- Sizes ------------------------------------------------------------------------------

bool Sheet::setColumnWidth(int col, double pixels)
{
    col = normalized(col);
    if (col < 0 || col > cols_ || !std::isfinite(pixels) || pixels < 0 || pixels > kMaxPixels)
        return false;
    columnWidths_[col] = pixels;
    touch();
    return true;
}

double Sheet::columnWidth(int col) const
{
    col = normalized(col);
    if (col < 0 || col > cols_)
        return -1;
    auto it = columnWidths_.find(col);
    if (it != columnWidths_.end())
        return it->second;
    return col == 0 ? kDefaultHeaderWidth : kDefaultColumnWidth;
}

bool Sheet::setRowHeight(int row, double pixels)
{
    row = normalized(row);
    if (row < 0 || row > rows_ || !std::isfinite(pixels) || pixels < 0 || pixels > kMaxPixels)
        return false;
    rowHeights_[row] = pixels;
    touch();
    return true;
}

double Sheet::rowHeight(int row) const
{
    row = normalized(row);
    if (row < 0 || row > rows_)
        return -1;
    auto it = rowHeights_.find(row);
    return it != rowHeights_.end() ? it->second : kDefaultRowHeight;
}

bool Sheet::textExtent(int col, int row, double& width, double& height) const
{
    width = height = 0;
    if (!isValidCell(col, row))
        return false;
    const Font& font = cellFormat(col, row).font;
    const std::string text = cellDataText(col, row);
    std::size_t longest = 0, lines = 1, current = 0;
    for (char c : text)
    {
        if (c == '\n')
        {
            ++lines;
            current = 0;
            continue;
        }
        if (c != '\r')
            longest = std::max(longest, ++current);
    }
    const double charWidth = font.height * (font.bold() ? 0.6 : 0.55);
    width = longest == 0 ? 0 : std::ceil(static_cast<double>(longest) * charWidth + 6);
    height = std::ceil(static_cast<double>(lines) * font.height * 1.25 + 4);
    return true;
}

// --- Control state ----------------------------------------------------------------------

int Sheet::property(int number) const
{
    if (number == kPropertyRedraw)
        return state_.redraw ? 1 : 0;
    if (number == kPropertyChangesMade)
        return state_.changesMade ? 1 : 0;
    auto it = state_.properties.find(number);
    return it == state_.properties.end() ? 0 : it->second;
}

void Sheet::setProperty(int number, int value)
{
    if (number == kPropertyRedraw)
        state_.redraw = value != 0;
    else if (number == kPropertyChangesMade)
        state_.changesMade = value != 0;
    else
        state_.properties[number] = value;
}

bool Sheet::activeCell(int& col, int& row) const
{
    if (state_.activeCol == 0 || state_.activeRow == 0)
        return false;
    col = state_.activeCol;
    row = state_.activeRow;
    return true;
}

bool Sheet::setActiveCell(int col, int row)
{
    if (col < 1 || row < 1 || col > cols_ || row > rows_)
        return false;
    state_.activeCol = col;
    state_.activeRow = row;
    return true;
}

bool Sheet::setSelection(int col1, int row1, int col2, int row2)
{
    if (!clipRange(col1, row1, col2, row2))
        return false;
    state_.selection = Selection{col1, row1, col2, row2};
    return true;
}

void Sheet::editSelection(int& start, int& end) const
{
    start = state_.editSelectionStart;
    end = state_.editSelectionEnd;
}

void Sheet::setEditSelection(int start, int end)
{
    state_.editSelectionStart = std::max(0, start);
    state_.editSelectionEnd = std::max(state_.editSelectionStart, end);
}

void Sheet::forEachCell(const std::function<void(int col, int row)>& visit) const
{
    for (CellKey key : cells_.sortedKeys())
        visit(keyCol(key), keyRow(key));
}

// --- Calculation ------------------------------------------------------------------------

void Sheet::attachFormula(const Cell& cell)
{
    const CellKey key = cellKey(cell.col, cell.row);
    graph_.add(key, formulaReferences(*cell.formula, cell.col, cell.row));
    if (formulaIsVolatile(*cell.formula))
        volatile_.insert(key);
}

void Sheet::detachFormula(const Cell& cell)
{
    const CellKey key = cellKey(cell.col, cell.row);
    graph_.remove(key, formulaReferences(*cell.formula, cell.col, cell.row));
    volatile_.erase(key);
}

void Sheet::rebuildDependencies()
{
    graph_.clear();
    volatile_.clear();
    cells_.forEach([&](const Cell& cell) {
        if (cell.formula)
            attachFormula(cell);
    });
}

void Sheet::recalculate(std::vector<CellKey> seeds)
{
    if (!autoCalc_)
        return;
    seeds.insert(seeds.end(), volatile_.begin(), volatile_.end());
    if (seeds.empty())
        return;
    const auto steps = graph_.plan(seeds, [&](CellKey key) {
        const Cell* cell = cells_.find(keyCol(key), keyRow(key));
        return cell && cell->formula;
    });
    for (const DependencyGraph::Step& step : steps)
    {
        Cell* cell = cells_.find(keyCol(step.cell), keyRow(step.cell));
        if (!cell || !cell->formula)
            continue;
        if (step.circular)
            cell->value = Value::error(ErrorCode::Circular);
        else
            evaluate(keyCol(step.cell), keyRow(step.cell));
    }
}

void Sheet::evaluate(int col, int row)
{
    Cell* cell = cells_.find(col, row);
    if (!cell || !cell->formula)
        return;
    // A custom function may call back into the sheet; hold the formula and find the cell
    // again afterwards.
    std::shared_ptr<const Formula> formula = cell->formula;
    const int savedCol = evalCol_, savedRow = evalRow_;
    evalCol_ = col;
    evalRow_ = row;
    Value result = evaluateFormula(*formula, *this);
    evalCol_ = savedCol;
    evalRow_ = savedRow;
    cell = cells_.find(col, row);
    if (cell && cell->formula == formula)
        cell->value = std::move(result);
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
    std::vector<CellKey> formulas;
    cells_.forEach([&](const Cell& cell) {
        if (cell.formula)
            formulas.push_back(cellKey(cell.col, cell.row));
    });
    recalculate(std::move(formulas));
}

void Sheet::setAutoCalc(bool on)
{
    const bool wasOff = !autoCalc_;
    autoCalc_ = on;
    if (on && wasOff)
        recalcAll();
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
    cells_.forEach([&](const Cell& cell) {
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

Value Sheet::cellValue(int col, int row) const
{
    if (col < 1 || row < 1 || col > cols_ || row > rows_)
        return Value{};
    const Cell* cell = cells_.find(col, row);
    return cell ? cell->value : Value{};
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
