// The sheet's cell types and formats, tags and notes, spans, sizes and control state.

#include "grid/Sheet.h"

#include <algorithm>
#include <cmath>
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

const CellType kGeneralType{};
} // namespace

// --- Types and formats ------------------------------------------------------------------

std::uint32_t Sheet::internType(const CellType& type)
{
    if (type == types_[0])
        return 0;
    // Code that types cells one at a time mostly repeats the type it gave last.
    if (lastType_ < types_.size() && types_[lastType_] == type)
        return lastType_;
    const std::size_t h = hashOf(type);
    auto [first, last] = typeIndex_.equal_range(h);
    for (auto it = first; it != last; ++it)
        if (types_[it->second] == type)
            return lastType_ = it->second;
    auto id = static_cast<std::uint32_t>(types_.size());
    types_.push_back(type);
    typeIndex_.emplace(h, id);
    return lastType_ = id;
}

std::uint32_t Sheet::internFormat(const CellFormat& format)
{
    if (format == formats_[0])
        return 0;
    if (formats_.size() > 1 && format == formats_.back())
        return static_cast<std::uint32_t>(formats_.size() - 1);
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
    auto apply = [&](int col, int row)
    {
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

bool Sheet::changeFormats(int col1, int row1, int col2, int row2,
                          const std::function<void(CellFormat&)>& change)
{
    if (!clipRange(col1, row1, col2, row2))
        return false;
    if (col1 == col2 && row1 == row2)
    {
        // One cell, as a file sets them: no table of changed formats.
        Cell* existing = cells_.find(col1, row1);
        const std::uint32_t old = existing ? existing->format : 0;
        CellFormat format = formats_[old];
        change(format);
        const std::uint32_t id = internFormat(format);
        if (id != old)
        {
            Cell& cell = existing ? *existing : cells_.obtain(col1, row1);
            cell.format = id;
            if (cell.blank())
                cells_.erase(col1, row1);
        }
        touch();
        return true;
    }
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
    return changeFormats(col1, row1, col2, row2,
                         [&](CellFormat& f)
                         {
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
    return cell ? cell->tag.str() : std::string{};
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
    return cell ? cell->note.str() : std::string{};
}

// --- Spans ------------------------------------------------------------------------------

bool Sheet::addSpan(int col, int row, int width, int height)
{
    if (col < 1 || row < 1 || col > cols_ || row > rows_ || width < 1 || height < 1 ||
        width > kMaxCols - col + 1 || height > kMaxRows - row + 1)
        return false;
    const Span span{col, row, width, height};
    if (row < spansEndRow_)
        for (const Span& other : spans_)
            if (span.col < other.col + other.width && other.col < span.col + span.width &&
                span.row < other.row + other.height && other.row < span.row + span.height)
                return false;
    spans_.push_back(span);
    spansEndRow_ = std::max(spansEndRow_, row + height);
    touch();
    return true;
}

bool Sheet::setSpans(std::vector<Span> spans, std::size_t* offending)
{
    auto refuse = [&](const Span* span)
    {
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
        if (next != active.begin() &&
            std::prev(next)->second->col + std::prev(next)->second->width - 1 >= span->col)
            return refuse(span);
        active.emplace(span->col, span);
        endings.emplace(span->row + span->height - 1, span);
    }
    spans_ = std::move(spans);
    boundSpanRows();
    touch();
    return true;
}

void Sheet::boundSpanRows()
{
    spansEndRow_ = 0;
    for (const Span& span : spans_)
        spansEndRow_ = std::max(spansEndRow_, span.row + span.height);
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
    const auto removed = std::erase_if(
        spans_, [&](const Span& s)
        { return s.col <= col2 && col1 < s.col + s.width && s.row <= row2 && row1 < s.row + s.height; });
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

int Sheet::usedCols() const
{
    int last = 0;
    cells_.forEach(
        [&](const Cell& cell)
        {
            if (cell.row >= 1 && cell.col <= cols_ && cell.row <= rows_ &&
                (!cell.data.empty() || cell.formula))
                last = std::max(last, cell.col);
        });
    return last;
}

int Sheet::usedRows() const
{
    int last = 0;
    cells_.forEach(
        [&](const Cell& cell)
        {
            if (cell.col >= 1 && cell.col <= cols_ && cell.row <= rows_ &&
                (!cell.data.empty() || cell.formula))
                last = std::max(last, cell.row);
        });
    return last;
}

void Sheet::forEachCell(const std::function<void(int col, int row)>& visit) const
{
    for (CellKey key : cells_.sortedKeys())
        visit(keyCol(key), keyRow(key));
}

} // namespace grid
