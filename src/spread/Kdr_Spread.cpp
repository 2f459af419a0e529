#include "spread/Kdr_Spread.h"

#include "host/CommandLine.h"
#include "host/GlobalStr.h"
#include "host/Texts.h"
#include "ui/Image.h"
#include "ui/UserAgent.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kHeader = Kdr_Spread::kHeaderIndex;

/// The engine's reading of a header index: the sheet addresses headers by kHeader too.
bool isHeader(int index)
{
    return index == kHeader;
}

grid::Font makeFont(const Kdr_String& face, int height, bool bold)
{
    grid::Font font;
    font.face = face;
    font.height = height;
    font.weight = bold ? 700 : 400;
    return font;
}

} // namespace

Kdr_Spread::Kdr_Spread() = default;

Kdr_Spread::~Kdr_Spread()
{
    if (IsWindow())
        DestroyWindow();
}

// ---- Creation and look ------------------------------------------------------------------

bool Kdr_Spread::createInDialog(ui::Window* dialog, const int& placeholderId, bool keepRect)
{
    if (!dialog || created_ || IsWindow())
        return false;
    ui::Window* placeholder = dialog->GetDlgItem(placeholderId);
    if (!placeholder)
        return false;
    dialog_ = dialog;
    ui::Rect rect = placeholder->GetWindowRect();
    const ui::Rect dialogRect = dialog->GetWindowRect();
    rect.OffsetRect(-dialogRect.left, -dialogRect.top);
    if (!keepRect)
        rect.OffsetRect(-5, -20);
    placeholder->DestroyWindow();
    if (!Create(kWindowClass, "", WS_CHILD | WS_VISIBLE, rect, dialog, placeholderId))
        return false;
    sheet_.setMaxCols(0);
    sheet_.setMaxRows(0);
    created_ = true;
    placeholderId_ = placeholderId;
    sheet_.state().appearance = 1;
    for (int action = 0; action < 3; ++action)
        sheet_.state().actionKeys[action] = grid::ActionKey{};
    return true;
}

bool Kdr_Spread::createHidden()
{
    if (created_ || IsWindow())
        return false;
    if (!Create(kWindowClass, "", WS_POPUP, ui::Rect(0, 0, 600, 400), nullptr, 0))
        return false;
    sheet_.setMaxCols(0);
    sheet_.setMaxRows(0);
    created_ = true;
    sheet_.state().appearance = 1;
    return true;
}

ui::Window* Kdr_Spread::createPreview(ui::Window* parent, const ui::Rect& rect, int id)
{
    return ui::createControl(kPreviewClass, "", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

bool Kdr_Spread::applyDefaultStyle(int preset)
{
    if (!created_)
        return false;
    RedrawGuard redraw(*this);
    for (auto [number, value] :
         {std::pair{12, 0}, {7, 0}, {21, 1}, {26, 0}, {34, 1}, {32, 1}, {18, 0}, {22, 1}})
        sheet_.setProperty(number, value);
    auto& settings = sheet_.state().settings;
    settings["gridColors"] = {static_cast<int>(0x8000000Fu), static_cast<int>(0x8000000Bu)};
    settings["headerColors"] = {0xE6E6E6, static_cast<int>(0x8000000Bu)};
    settings["headerModes"] = {1, -1};
    sheet_.state().selectionBackground = 0x6A240A;
    sheet_.state().selectionForeground = 0xFFFFFF;
    for (int number : {11, 3, 4, 18})
        sheet_.setProperty(number, 1);
    if (preset == 0 || preset == 1)
    {
        sheet_.setProperty(13, preset == 0 ? 0 : 1);
        sheet_.setProperty(10, preset == 0 ? 1 : 0);
        settings["userResize"] = {preset == 0 ? 5 : 0};
    }
    return true;
}

void Kdr_Spread::setHeaderFont(int col1, int row1, int col2, int row2, const Kdr_String& faceName, int height,
                               bool bold, bool alsoTextTips)
{
    const grid::Font font = makeFont(faceName, height, bold);
    sheet_.setFont(col1, row1, col2, row2, font);
    if (alsoTextTips)
        sheet_.state().textTip.font = font;
}

void Kdr_Spread::setDefaultFont(const Kdr_String& faceName, int height)
{
    fontName_ = faceName;
    fontHeight_ = height;
}

// ---- Size ---------------------------------------------------------------------------------

int Kdr_Spread::getMaxRows() const
{
    return created_ ? sheet_.maxRows() : -1;
}

int Kdr_Spread::getMaxCols() const
{
    return created_ ? sheet_.maxCols() : -1;
}

void Kdr_Spread::formatNewRows(int oldCount, int newCount, bool copyLastFormat)
{
    const int cols = sheet_.maxCols();
    if (copyLastFormat && oldCount > 0)
    {
        for (int row = oldCount + 1; row <= newCount; ++row)
            sheet_.copyRange(kHeader, oldCount, cols, oldCount, kHeader, row, grid::CellContent::Formats);
        sheet_.setChangesMade(true);
    }
    if (oldCount > 0)
        setHeaderFont(kHeader, oldCount, kHeader, newCount, fontName_, fontHeight_, true, true);
    else
    {
        setHeaderFont(1, kHeader, std::max(cols, 1), kHeader, fontName_, fontHeight_, true, true);
        setHeaderFont(kHeader, 1, kHeader, newCount, fontName_, fontHeight_, true, true);
    }
    if (cols > 0)
        setHeaderFont(1, std::max(oldCount, 1), cols, newCount, fontName_, fontHeight_, false, false);
}

void Kdr_Spread::formatNewCols(int oldCount, int newCount, bool copyLastFormat)
{
    const int rows = sheet_.maxRows();
    if (copyLastFormat && oldCount > 0)
    {
        for (int col = oldCount + 1; col <= newCount; ++col)
            sheet_.copyRange(oldCount, kHeader, oldCount, rows, col, kHeader, grid::CellContent::Formats);
        sheet_.setChangesMade(true);
    }
    if (oldCount > 0)
        setHeaderFont(oldCount, kHeader, newCount, kHeader, fontName_, fontHeight_, true, true);
    else
    {
        setHeaderFont(kHeader, 1, kHeader, std::max(rows, 1), fontName_, fontHeight_, true, true);
        setHeaderFont(1, kHeader, newCount, kHeader, fontName_, fontHeight_, true, true);
    }
    if (rows > 0)
        setHeaderFont(std::max(oldCount, 1), 1, newCount, rows, fontName_, fontHeight_, false, false);
}

bool Kdr_Spread::setMaxRows(int n, bool copyLastFormat)
{
    if (!created_)
        return false;
    const int oldCount = sheet_.maxRows();
    if (!sheet_.setMaxRows(n))
        return false;
    if (oldCount >= n)
    {
        // The engine brings the active cell back inside; the view and the editor follow.
        topRow_ = std::clamp(topRow_, 1, std::max(n, 1));
        if (editing_ && editRow_ > n)
            editing_ = false;
        return true;
    }
    formatNewRows(oldCount, n, copyLastFormat);
    return true;
}

bool Kdr_Spread::setMaxCols(int n, bool copyLastFormat)
{
    if (!created_)
        return false;
    const int oldCount = sheet_.maxCols();
    if (!sheet_.setMaxCols(n))
        return false;
    if (oldCount >= n)
    {
        // The engine brings the active cell back inside; the view and the editor follow.
        leftCol_ = std::clamp(leftCol_, 1, std::max(n, 1));
        if (editing_ && editCol_ > n)
            editing_ = false;
        return true;
    }
    formatNewCols(oldCount, n, copyLastFormat);
    return true;
}

bool Kdr_Spread::askHeaderCaption(bool forRow, Kdr_String& caption)
{
    ui::ValuePromptRequest request;
    request.owner = this;
    request.title = dialString(171) + " " + dialString(forRow ? 1152 : 1153);
    request.label = dialString(1150) + ": " + dialString(1151);
    request.okCaption = "Ok";
    return ui::promptValue(request, caption);
}

bool Kdr_Spread::insertRow(int row, bool askCaption, bool copyFormat)
{
    if (!created_)
        return false;
    const int count = sheet_.maxRows();
    row = std::clamp(row, 1, count + 1);
    if (!sheet_.setMaxRows(count + 1))
        return false;
    if (row <= count && !sheet_.insertRows(row, 1))
    {
        sheet_.setMaxRows(count);
        return false;
    }
    setHeaderFont(kHeader, row, kHeader, row, fontName_, fontHeight_, true, true);
    sheet_.setChangesMade(true);
    if (copyFormat && row + 1 <= sheet_.maxRows())
        sheet_.copyRange(kHeader, row + 1, sheet_.maxCols(), row + 1, kHeader, row,
                         grid::CellContent::Formats);
    Kdr_String caption;
    if (askCaption && askHeaderCaption(true, caption))
        sheet_.setData(kHeader, row, caption);
    return true;
}

bool Kdr_Spread::insertColumn(int col, bool askCaption, bool copyFormat)
{
    if (!created_)
        return false;
    const int count = sheet_.maxCols();
    col = std::clamp(col, 1, count + 1);
    if (!sheet_.setMaxCols(count + 1))
        return false;
    if (col <= count && !sheet_.insertColumns(col, 1))
    {
        sheet_.setMaxCols(count);
        return false;
    }
    setHeaderFont(col, kHeader, col, kHeader, fontName_, fontHeight_, true, true);
    sheet_.setChangesMade(true);
    if (copyFormat && col + 1 <= sheet_.maxCols())
        sheet_.copyRange(col + 1, kHeader, col + 1, sheet_.maxRows(), col, kHeader,
                         grid::CellContent::Formats);
    Kdr_String caption;
    if (askCaption && askHeaderCaption(false, caption))
        sheet_.setData(col, kHeader, caption);
    return true;
}

bool Kdr_Spread::appendRow(bool copyFormat)
{
    if (!created_)
        return false;
    const int row = sheet_.maxRows() + 1;
    if (!sheet_.setMaxRows(row))
        return false;
    sheet_.clearRange(1, row, std::max(sheet_.maxCols(), 1), row, grid::CellContent::All);
    setHeaderFont(kHeader, row, kHeader, row, fontName_, fontHeight_, true, true);
    if (copyFormat && row > 1)
        sheet_.copyRange(kHeader, row - 1, sheet_.maxCols(), row - 1, kHeader, row,
                         grid::CellContent::Formats);
    sheet_.setChangesMade(true);
    return true;
}

bool Kdr_Spread::appendRowTexts(const Kdr_StringArray& texts)
{
    if (!appendRow(false))
        return false;
    return setRowTexts(sheet_.maxRows(), texts, false);
}

bool Kdr_Spread::deleteRow(int row)
{
    if (!created_ || row < 1 || row > sheet_.maxRows())
        return false;
    if (!sheet_.deleteRows(row, 1))
        return false;
    sheet_.setMaxRows(sheet_.maxRows() - 1);
    sheet_.setChangesMade(true);
    return true;
}

bool Kdr_Spread::deleteColumn(int col)
{
    if (!created_ || col < 1 || col > sheet_.maxCols())
        return false;
    if (!sheet_.deleteColumns(col, 1))
        return false;
    sheet_.setMaxCols(sheet_.maxCols() - 1);
    sheet_.setChangesMade(true);
    return true;
}

bool Kdr_Spread::deleteActiveRow()
{
    int col = 0, row = 0;
    if (!created_ || !sheet_.activeCell(col, row))
        return false;
    return deleteRow(row);
}

bool Kdr_Spread::setChecks(bool on)
{
    if (!created_)
        return false;
    const grid::Selection& selection = sheet_.selection();
    if (selection.col1 == 0)
        return true;
    const int col1 = std::max(std::min(selection.col1, selection.col2), 1);
    const int col2 = std::min(std::max(selection.col1, selection.col2), sheet_.maxCols());
    const int row1 = std::max(std::min(selection.row1, selection.row2), 1);
    const int row2 = std::min(std::max(selection.row1, selection.row2), sheet_.maxRows());
    for (int row = row1; row <= row2; ++row)
        for (int col = col1; col <= col2; ++col)
            if (sheet_.cellTypeCode(col, row) == 12)
                sheet_.setValue(col, row, on ? "1" : "0");
    return true;
}

// ---- Cells --------------------------------------------------------------------------------

bool Kdr_Spread::inSheet(int col, int row) const
{
    if (!created_)
        return false;
    if (col > sheet_.maxCols() || row > sheet_.maxRows())
        return false;
    return (col >= 1 || isHeader(col) || col == 0) && (row >= 1 || isHeader(row) || row == 0);
}

bool Kdr_Spread::getCellText(int col, int row, Kdr_String& text, const int& kind) const
{
    text.clear();
    if (!inSheet(col, row))
        return false;
    if (kind < ctkData || kind > ctkValue)
        return true;
    std::string out;
    if (sheet_.cellText(col, row, static_cast<grid::TextKind>(kind), out))
        text = std::move(out);
    return true;
}

bool Kdr_Spread::setCellText(int col, int row, const char* text)
{
    return inSheet(col, row) && sheet_.setData(col, row, text ? text : "");
}

bool Kdr_Spread::setCellValue(int col, int row, const Kdr_String& value)
{
    return inSheet(col, row) && sheet_.setValue(col, row, value);
}

bool Kdr_Spread::setCellValue(int col, int row, int value)
{
    return setCellValue(col, row, Kdr_String(value));
}

bool Kdr_Spread::setCellFormula(int col, int row, const char* formula)
{
    return inSheet(col, row) && sheet_.setFormula(col, row, formula ? formula : "");
}

bool Kdr_Spread::setCellParsedFormula(int col, int row, std::shared_ptr<const grid::Formula> formula)
{
    return inSheet(col, row) && sheet_.setParsedFormula(col, row, std::move(formula));
}

bool Kdr_Spread::setNumberType(int col1, int row1, int col2, int row2, int decimals, bool thousands)
{
    if (!created_)
        return false;
    return sheet_.setCellType(
        col1, row1, col2, row2,
        grid::CellType::number(decimals, grid::CellType::kNumberMin, grid::CellType::kNumberMax, thousands));
}

bool Kdr_Spread::setNumberType(int col, int row, int decimals, bool thousands)
{
    return setNumberType(col, row, col, row, decimals, thousands);
}

bool Kdr_Spread::hasNumberType(int col, int row, int decimals, bool thousands) const
{
    return created_ &&
           sheet_.cellType(col, row) == grid::CellType::number(decimals, grid::CellType::kNumberMin,
                                                               grid::CellType::kNumberMax, thousands);
}

bool Kdr_Spread::hasTextType(int col, int row, int style, int maxLength) const
{
    return created_ && sheet_.cellType(col, row) == grid::CellType::textCell(style, maxLength);
}

bool Kdr_Spread::setNumberTypeColumn(int col, int decimals, bool thousands)
{
    return setNumberType(col, 1, col, getMaxRows(), decimals, thousands);
}

bool Kdr_Spread::setTextType(int col1, int row1, int col2, int row2, int style, int maxLength)
{
    if (!created_)
        return false;
    return sheet_.setCellType(col1, row1, col2, row2, grid::CellType::textCell(style, maxLength));
}

bool Kdr_Spread::setTextType(int col, int row)
{
    return setTextType(col, row, col, row, kTextStyle, kTextMaxLength);
}

bool Kdr_Spread::setTextTypeColumn(int col)
{
    return setTextType(col, 1, col, getMaxRows(), kTextStyle, kTextMaxLength);
}

const Kdr_String& Kdr_Spread::checkPicture(bool on)
{
    Kdr_String& picture = checkPictures_[on ? 1 : 0];
    if (picture.empty())
        picture = Kdr_String::format("bitmap:%d", on ? kCheckOnBitmap : kCheckOffBitmap);
    return picture;
}

bool Kdr_Spread::setCheckBoxType(int col1, int row1, int col2, int row2, const Kdr_String& caption)
{
    if (!created_)
        return false;
    return sheet_.setCellType(col1, row1, col2, row2,
                              grid::CellType::checkBox(0, caption, checkPicture(false), checkPicture(true)));
}

bool Kdr_Spread::setComboType(int col1, int row1, int col2, int row2, const Kdr_StringArray& items, int style)
{
    if (!created_)
        return false;
    std::vector<std::string> list(items.begin(), items.end());
    return sheet_.setCellType(col1, row1, col2, row2, grid::CellType::combo(style, std::move(list)));
}

bool Kdr_Spread::setButtonType(int col1, int row1, int col2, int row2, const Kdr_String& caption, int style)
{
    if (!created_)
        return false;
    return sheet_.setCellType(col1, row1, col2, row2, grid::CellType::button(style, caption));
}

bool Kdr_Spread::setColors(int col1, int row1, int col2, int row2, grid::Color background,
                           grid::Color foreground)
{
    return created_ && sheet_.setColors(col1, row1, col2, row2, background, foreground);
}

bool Kdr_Spread::setBorder(int col1, int row1, int col2, int row2, int mask, int style, grid::Color color)
{
    return created_ && sheet_.setBorder(col1, row1, col2, row2, grid::Border{mask, style, color});
}

bool Kdr_Spread::setLock(int col1, int row1, int col2, int row2, bool locked)
{
    return created_ && sheet_.setLock(col1, row1, col2, row2, locked);
}

bool Kdr_Spread::setCellNote(int col, int row, const Kdr_String& note)
{
    return created_ && sheet_.setCellNote(col, row, note);
}

bool Kdr_Spread::setCellTag(int col, int row, const Kdr_String& tag)
{
    return created_ && sheet_.setCellTag(col, row, tag);
}

bool Kdr_Spread::setTextTip(int mode, int delay)
{
    if (!created_)
        return false;
    sheet_.state().textTip.mode = mode;
    sheet_.state().textTip.delay = delay;
    return true;
}

bool Kdr_Spread::addCellSpan(int col, int row, int width, int height)
{
    return created_ && sheet_.addSpan(col, row, width, height);
}

bool Kdr_Spread::getCellSpan(int col, int row, int& anchorCol, int& anchorRow, int& width, int& height) const
{
    grid::Span span;
    if (!created_ || !sheet_.getSpan(col, row, span))
        return false;
    anchorCol = span.col;
    anchorRow = span.row;
    width = span.width;
    height = span.height;
    return true;
}

bool Kdr_Spread::removeCellSpan(int col, int row)
{
    return created_ && sheet_.removeSpan(col, row);
}

bool Kdr_Spread::mergeEqualCells(int col)
{
    if (!created_ || col < 0 || col > sheet_.maxCols())
        return false;
    const int rows = sheet_.maxRows();
    sheet_.removeSpans(col, 1, col, std::max(rows, 1));
    Kdr_String previous;
    int runStart = 1;
    int runLength = 1;
    auto closeRun = [&]()
    {
        if (runLength > 1)
            sheet_.addSpan(col, runStart, 1, runLength);
    };
    for (int row = 1; row <= rows; ++row)
    {
        Kdr_String text;
        if (!getCellText(col, row, text, ctkValue))
        {
            previous.clear();
            closeRun();
            runStart = row;
            runLength = 1;
            continue;
        }
        if (row > 1 && !text.empty() && text == previous)
        {
            ++runLength;
            continue;
        }
        closeRun();
        runStart = row;
        runLength = 1;
        previous = text;
    }
    closeRun();
    return true;
}

bool Kdr_Spread::setPictureCell(const Kdr_String& bitmapFile, const int& col, const int& row)
{
    if (!created_)
        return false;
    ui::Image image;
    std::string error;
    if (!ui::Image::loadBitmapFile(bitmapFile, image, error))
        return false;
    sheet_.setRowHeight(row, image.height);
    sheet_.removeSpans(1, row, std::max(sheet_.maxCols(), 1), row);
    sheet_.addSpan(col, row, std::max(sheet_.maxCols(), 1), 1);
    if (col > 1)
        sheet_.setBorder(col - 1, row, col - 1, row, grid::Border{18, 6, 0x8000000Bu});
    return sheet_.setCellType(col, row, grid::CellType::pictureCell(36, bitmapFile));
}

bool Kdr_Spread::setResourcePictureCell(const int& col, const int& row, int resourceId, bool isIcon)
{
    if (!created_)
        return false;
    const Kdr_String name = Kdr_String::format("%s:%d", isIcon ? "icon" : "bitmap", resourceId);
    return sheet_.setCellType(col, row, grid::CellType::pictureCell(36, name));
}

// ---- Columns and rows as lists --------------------------------------------------------------

bool Kdr_Spread::getColumnTexts(int col, Kdr_StringArray& out, const int& kind) const
{
    if (!created_ || col > sheet_.maxCols())
        return false;
    out.clear();
    for (int row = 1; row <= sheet_.maxRows(); ++row)
    {
        Kdr_String text;
        getCellText(col, row, text, kind);
        out.append(text);
    }
    return true;
}

bool Kdr_Spread::getColumnTexts(int col, Kdr_Array<int>& out) const
{
    Kdr_StringArray texts;
    if (!getColumnTexts(col, texts, ctkValue))
        return false;
    out.clear();
    for (const Kdr_String& text : texts)
        out.append(static_cast<int>(std::lround(text.toDouble())));
    return true;
}

bool Kdr_Spread::getColumnTexts(int col, Kdr_Array<double>& out) const
{
    Kdr_StringArray texts;
    if (!getColumnTexts(col, texts, ctkValue))
        return false;
    out.clear();
    for (const Kdr_String& text : texts)
        out.append(text.toDouble());
    return true;
}

bool Kdr_Spread::getColumnTexts(int col, Kdr_Array<bool>& out) const
{
    Kdr_StringArray texts;
    if (!getColumnTexts(col, texts, ctkValue))
        return false;
    out.clear();
    for (const Kdr_String& text : texts)
        out.append(text.toDouble() != 0);
    return true;
}

bool Kdr_Spread::setColumnTexts(int col, const Kdr_StringArray& in, bool asValue)
{
    if (!created_ || col > sheet_.maxCols())
        return false;
    const int rows = std::min(in.length(), sheet_.maxRows());
    for (int i = 0; i < rows; ++i)
    {
        if (asValue)
            setCellValue(col, i + 1, in[i]);
        else
            setCellText(col, i + 1, in[i].c_str());
    }
    return true;
}

bool Kdr_Spread::setColumnTexts(int col, const Kdr_Array<int>& in, bool asValue)
{
    Kdr_StringArray texts;
    for (int value : in)
        texts.append(Kdr_String(value));
    return setColumnTexts(col, texts, asValue);
}

bool Kdr_Spread::setColumnTexts(int col, const Kdr_Array<double>& in, bool asValue)
{
    Kdr_StringArray texts;
    for (double value : in)
        texts.append(Kdr_String(value, 2, true));
    return setColumnTexts(col, texts, asValue);
}

bool Kdr_Spread::setColumnTexts(int col, const Kdr_Array<bool>& in, bool asValue)
{
    Kdr_StringArray texts;
    for (bool value : in)
        texts.append(value ? "1" : "0");
    return setColumnTexts(col, texts, asValue);
}

bool Kdr_Spread::getRowTexts(int row, Kdr_StringArray& out) const
{
    if (!created_ || row > sheet_.maxRows())
        return false;
    out.clear();
    for (int col = 1; col <= sheet_.maxCols(); ++col)
    {
        Kdr_String text;
        getCellText(col, row, text, ctkData);
        out.append(text);
    }
    return true;
}

bool Kdr_Spread::setRowTexts(int row, const Kdr_StringArray& in, bool asValue)
{
    if (!created_ || row > sheet_.maxRows())
        return false;
    const int cols = std::min(in.length(), sheet_.maxCols());
    for (int i = 0; i < cols; ++i)
    {
        if (asValue)
            setCellValue(i + 1, row, in[i]);
        else
            setCellText(i + 1, row, in[i].c_str());
    }
    return true;
}

// ---- Search --------------------------------------------------------------------------------

bool Kdr_Spread::findForward(const Kdr_String& text, bool partial, int& row, int& col) const
{
    if (!created_)
        return false;
    const int rows = sheet_.maxRows();
    const int cols = sheet_.maxCols();
    if (row < 0 || row > rows)
        return false;
    const int startRow = std::max(row, 1);
    const int startCol = row >= 1 ? std::max(col, 1) : 1;
    // Only a stored cell can hold a text, so the walk follows the stored cells (in row order,
    // then column order) rather than the declared size of the sheet.
    if (!text.empty())
        return firstMatch(storedCellsByRow(), text, partial, startCol, startRow, row, col);
    auto matches = [&](int c, int r) { return valueMatches(c, r, text, partial); };
    for (int c = startCol; c <= cols; ++c)
        if (matches(c, startRow))
        {
            row = startRow;
            col = c;
            return true;
        }
    for (int r = startRow + 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            if (matches(c, r))
            {
                row = r;
                col = c;
                return true;
            }
    return false;
}

std::vector<std::pair<int, int>> Kdr_Spread::storedCellsByRow() const
{
    std::vector<std::pair<int, int>> cells;
    cells.reserve(sheet_.cellCount());
    sheet_.forEachCell([&](int col, int row) { cells.emplace_back(col, row); });
    return cells;
}

bool Kdr_Spread::findFirst(const std::vector<std::pair<int, int>>& cells, const Kdr_String& text, int& row,
                           int& col) const
{
    if (!created_ || text.empty())
        return false;
    return firstMatch(cells, text, false, 1, 1, row, col);
}

bool Kdr_Spread::valueMatches(int col, int row, const Kdr_String& text, bool partial) const
{
    Kdr_String value;
    if (!getCellText(col, row, value, ctkValue))
        return false;
    return value.equal(text, false) || (partial && value.contains(text, false));
}

bool Kdr_Spread::firstMatch(const std::vector<std::pair<int, int>>& cells, const Kdr_String& text,
                            bool partial, int startCol, int startRow, int& row, int& col) const
{
    const int rows = sheet_.maxRows();
    const int cols = sheet_.maxCols();
    for (const auto& [c, r] : cells)
    {
        if (r < startRow || r > rows || c < 1 || c > cols || (r == startRow && c < startCol))
            continue;
        if (valueMatches(c, r, text, partial))
        {
            row = r;
            col = c;
            return true;
        }
    }
    return false;
}

// ---- Sizing --------------------------------------------------------------------------------

bool Kdr_Spread::fitColumnWidth(int col, bool skipTypeEight)
{
    if (!created_ || col > sheet_.maxCols())
        return false;
    double widest = 0;
    auto measure = [&](int row)
    {
        if (skipTypeEight && sheet_.cellTypeCode(col, row) == 8)
            return;
        double width = 0, height = 0;
        if (sheet_.textExtent(col, row, width, height))
            widest = std::max(widest, width);
    };
    measure(kHeader);
    for (int row = 1; row <= sheet_.maxRows(); ++row)
        measure(row);
    return sheet_.setColumnWidth(col, widest);
}

bool Kdr_Spread::fitRowHeight(int row)
{
    if (!created_ || row > sheet_.maxRows())
        return false;
    double tallest = 0;
    for (int col = kHeader; col <= sheet_.maxCols(); col = (col == kHeader ? 1 : col + 1))
    {
        double width = 0, height = 0;
        if (sheet_.textExtent(col, row, width, height))
            tallest = std::max(tallest, height);
    }
    return sheet_.setRowHeight(row, tallest);
}

bool Kdr_Spread::fitAllColumns()
{
    if (!created_)
        return false;
    if (sheet_.maxCols() > 0)
        sheet_.setCellType(1, kHeader, sheet_.maxCols(), kHeader, grid::CellType::textCell(140, 0));
    for (int col = 1; col <= sheet_.maxCols(); ++col)
        fitColumnWidth(col, false);
    return true;
}

bool Kdr_Spread::fitAllRows()
{
    if (!created_)
        return false;
    if (sheet_.maxRows() > 0)
        sheet_.setCellType(kHeader, 1, kHeader, sheet_.maxRows(), grid::CellType::textCell(140, 0));
    for (int row = 1; row <= sheet_.maxRows(); ++row)
        fitRowHeight(row);
    return true;
}

bool Kdr_Spread::fitAll()
{
    if (!created_)
        return false;
    if (sheet_.maxCols() > 0)
        setHeaderFont(1, kHeader, sheet_.maxCols(), kHeader, fontName_, fontHeight_, true, true);
    if (sheet_.maxRows() > 0)
        setHeaderFont(kHeader, 1, kHeader, sheet_.maxRows(), fontName_, fontHeight_, true, true);
    fitAllColumns();
    fitAllRows();
    fitColumnWidth(kHeader, false);
    fitRowHeight(kHeader);
    return true;
}

void Kdr_Spread::setResizeMode(int mode, int first, int second)
{
    resizeMode_ = mode;
    resizeFirst_ = first;
    resizeSecond_ = second;
}

void Kdr_Spread::setResizeMode(int mode, const Kdr_Array<int>& columns, const Kdr_Array<int>& widths)
{
    resizeMode_ = mode;
    resizeColumns_ = columns;
    resizeWidths_ = widths;
}

int Kdr_Spread::clientWidthForColumns() const
{
    return GetClientRect().Width() - sheet_.state().verticalScrollBarWidth;
}

void Kdr_Spread::setWidthsEqually(const std::vector<int>& columns, int total)
{
    if (columns.empty())
        return;
    const int each = total / static_cast<int>(columns.size());
    for (int col : columns)
        sheet_.setColumnWidth(col, each);
}

void Kdr_Spread::OnSize(unsigned type, int cx, int cy)
{
    ui::Window::OnSize(type, cx, cy);
    if (created_)
        applyResizeMode();
}

void Kdr_Spread::applyResizeMode()
{
    if (!created_)
        return;
    const int width = clientWidthForColumns();
    const int cols = sheet_.maxCols();
    // Every column that takes part, the row-header column first when it is shown.
    std::vector<int> all;
    if (rowHeaderVisible_)
        all.push_back(kHeader);
    for (int col = 1; col <= cols; ++col)
        all.push_back(col);
    switch (resizeMode_)
    {
    case 1:
        setWidthsEqually(all, width);
        break;
    case 2:
        for (int col = 1; col <= cols; ++col)
            fitColumnWidth(col, false);
        for (int row = 1; row <= sheet_.maxRows(); ++row)
            fitRowHeight(row);
        break;
    case 3:
    {
        const int n = std::min(std::abs(resizeFirst_), cols);
        if (n == 0)
        {
            setWidthsEqually(all, width);
            break;
        }
        const int each = static_cast<int>(resizeSecond_ * 0.01 * width / n);
        std::vector<int> rest;
        if (rowHeaderVisible_)
            rest.push_back(kHeader);
        for (int col = 1; col <= cols; ++col)
        {
            const bool chosen = resizeFirst_ > 0 ? col <= n : col > cols - n;
            if (chosen)
                sheet_.setColumnWidth(col, each);
            else
                rest.push_back(col);
        }
        setWidthsEqually(rest, width - each * n);
        break;
    }
    case 4:
    {
        const int chosen = resizeFirst_;
        std::vector<int> rest;
        for (int col : all)
            if (col != chosen)
                rest.push_back(col);
        sheet_.setColumnWidth(chosen, resizeSecond_);
        setWidthsEqually(rest, width - resizeSecond_);
        break;
    }
    case 5:
    {
        // Indices count from 0, which stands for the row-header column.
        int listed = 0;
        std::vector<bool> isListed(static_cast<size_t>(cols) + 1, false);
        const int pairs = std::min(resizeColumns_.length(), resizeWidths_.length());
        for (int i = 0; i < pairs; ++i)
        {
            const int index = resizeColumns_[i];
            if (index < 0 || index > cols || (index == 0 && !rowHeaderVisible_))
                continue;
            sheet_.setColumnWidth(index == 0 ? kHeader : index, resizeWidths_[i]);
            isListed[static_cast<size_t>(index)] = true;
            listed += resizeWidths_[i];
        }
        std::vector<int> rest;
        for (int col : all)
        {
            const int index = col == kHeader ? 0 : col;
            if (!isListed[static_cast<size_t>(index)])
                rest.push_back(col);
        }
        setWidthsEqually(rest, width - listed);
        break;
    }
    default:
        break;
    }
}

// ---- Keyboard ------------------------------------------------------------------------------

bool Kdr_Spread::isGridWindowFocused()
{
    ui::Window* focus = ui::Window::GetFocus();
    if (!focus)
        return false;
    const Kdr_String name(focus->GetClassName());
    return name.startsWith("SPR32", false) || name.startsWith("fpSpr", false);
}

bool Kdr_Spread::handleTab(int key, int& result)
{
    result = 1;
    if (key != static_cast<int>(VK_TAB) || !created_)
        return false;
    if (!IsWindowVisible())
        return false;
    const bool shift = ui::GetKeyState(VK_SHIFT) < 0;
    if (!isGridWindowFocused())
        return false;
    int activeCol = 0, activeRow = 0;
    if (!sheet_.activeCell(activeCol, activeRow))
    {
        sheet_.setActiveCell(1, 1);
        activeCol = 1;
        activeRow = 1;
    }
    auto enterable = [this](int col, int row) { return isTabStop(col, row); };
    const int rows = sheet_.maxRows();
    const int cols = sheet_.maxCols();
    int targetCol = 0, targetRow = 0;
    bool found = false;
    if (shift)
    {
        for (int row = 1; row <= rows && !found; ++row)
            for (int col = 1; col <= cols && !found; ++col)
                if (enterable(col, row))
                {
                    targetCol = col;
                    targetRow = row;
                    found = true;
                }
    }
    else
    {
        for (int row = rows; row >= 1 && !found; --row)
            for (int col = cols; col >= 1 && !found; --col)
                if (enterable(col, row))
                {
                    targetCol = col;
                    targetRow = row;
                    found = true;
                }
    }
    const bool atEdge = found && activeCol == targetCol && activeRow == targetRow;
    result = atEdge ? (shift ? 3 : 2) : 0;
    return true;
}

// ---- The engine ----------------------------------------------------------------------------

bool Kdr_Spread::loadFile(const Kdr_String& path)
{
    return created_ && sheet_.loadFile(path);
}

bool Kdr_Spread::saveFile(const Kdr_String& path) const
{
    return created_ && sheet_.saveFile(path);
}

bool Kdr_Spread::addCustomFunction(const char* name, int minArgs, int maxArgs,
                                   grid::CustomFunctionProc callback, int flags)
{
    return created_ && name && sheet_.addCustomFunction(name, minArgs, maxArgs, callback, flags);
}

bool Kdr_Spread::recalcCell(int col, int row)
{
    return created_ && sheet_.recalcCell(col, row);
}

void Kdr_Spread::setProperty(int number, int value)
{
    sheet_.setProperty(number, value);
}

int Kdr_Spread::property(int number) const
{
    return sheet_.property(number);
}

Kdr_Spread::RedrawGuard::RedrawGuard(Kdr_Spread& spread)
    : spread_(spread), wasOn_(spread.property(kPropRedraw) != 0)
{
    spread_.setProperty(kPropRedraw, 0);
}

Kdr_Spread::RedrawGuard::~RedrawGuard()
{
    if (wasOn_)
        spread_.setProperty(kPropRedraw, 1);
}

// ---- Diagnostics ---------------------------------------------------------------------------

void printSpreadCalcValue(grid::SpreadCalcValue& value)
{
    if (value.type == grid::kCalcTypeCell)
        acutPrintf("Cell Col:%i, Row:%i\n", value.value.cell.col, value.value.cell.row);
    switch (value.type)
    {
    case grid::kCalcTypeLong:
        acutPrintf("Result is long: %i\n", value.value.longValue);
        break;
    case grid::kCalcTypeDouble:
        acutPrintf("Result is double: %f\n", value.value.doubleValue);
        break;
    case grid::kCalcTypeString:
    {
        Kdr_String text;
        getGlobalStr(value.value.textHandle, text);
        acutPrintf("Result is string: %s\n", text.c_str());
        value.value.textHandle = setGlobalStr(text);
        if (value.value.textHandle == 0)
            acutPrintf("Reallocate failed\n");
        break;
    }
    case grid::kCalcTypeCell:
        acutPrintf("Result is cell\n");
        break;
    case grid::kCalcTypeRange:
        acutPrintf("Result is range\n");
        break;
    default:
        break;
    }
}

void printSpreadCalcValues(grid::SpreadCalcValue* values, int count)
{
    for (int i = 0; values && i < count; ++i)
        printSpreadCalcValue(values[i]);
}
