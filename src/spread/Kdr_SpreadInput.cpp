// What a person does in a grid: clicking cells and headers, moving with the keys, typing into
// cells, choosing in combo cells, toggling check boxes, pressing cell buttons and opening the
// context menu; and what the parent window hears of it.

#include "grid/Value.h"
#include "spread/Kdr_Spread.h"

#include <algorithm>
#include <cctype>

namespace
{
constexpr int kHeader = Kdr_Spread::kHeaderIndex;

Kdr_Spread::FindReplaceHandler& findReplaceProvider()
{
    static Kdr_Spread::FindReplaceHandler provider;
    return provider;
}

bool isEditableKind(grid::CellType::Kind kind)
{
    using Kind = grid::CellType::Kind;
    return kind == Kind::General || kind == Kind::Text || kind == Kind::Number || kind == Kind::Edit;
}

/// Characters a number cell takes while it is typed into; the whole text is checked again
/// when it is written.
bool isNumberCharacter(unsigned char c)
{
    return std::isdigit(c) || c == '.' || c == ',' || c == '-' || c == '+' || c == 'e' || c == 'E' ||
           c == '%';
}

char applyCase(const grid::CellType& type, char c)
{
    if (type.kind != grid::CellType::Kind::Edit)
        return c;
    if (type.charCase == grid::CellType::CaseUpper)
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (type.charCase == grid::CellType::CaseLower)
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c;
}

bool startsWithIgnoringCase(const std::string& text, unsigned char c)
{
    return !text.empty() && std::tolower(static_cast<unsigned char>(text[0])) == std::tolower(c);
}
} // namespace

void Kdr_Spread::setFindReplaceProvider(FindReplaceHandler provider)
{
    findReplaceProvider() = std::move(provider);
}

// ---- Combo cells ---------------------------------------------------------------------------

int Kdr_Spread::getComboIndex(int col, int row) const
{
    if (!inSheet(col, row))
        return -1;
    const grid::CellType& type = sheet_.cellType(col, row);
    if (type.kind != grid::CellType::Kind::Combo)
        return -1;
    const std::string text = sheet_.cellDataText(col, row);
    const auto found = std::find(type.items.begin(), type.items.end(), text);
    return found == type.items.end() ? -1 : static_cast<int>(found - type.items.begin());
}

bool Kdr_Spread::setComboIndex(int col, int row, int index)
{
    if (!inSheet(col, row))
        return false;
    const grid::CellType& type = sheet_.cellType(col, row);
    if (type.kind != grid::CellType::Kind::Combo || index < -1 ||
        index >= static_cast<int>(type.items.size()))
        return false;
    return sheet_.setData(col, row, index < 0 ? std::string() : type.items[static_cast<size_t>(index)]);
}

bool Kdr_Spread::comboCellItems(int col, int row, std::vector<std::string>& items) const
{
    if (!inSheet(col, row) || col < 1 || row < 1)
        return false;
    const grid::CellType& type = sheet_.cellType(col, row);
    if (type.kind != grid::CellType::Kind::Combo)
        return false;
    items = type.items;
    return true;
}

bool Kdr_Spread::chooseComboItemAsUser(int index)
{
    int col = 0, row = 0;
    if (!created_ || !sheet_.activeCell(col, row))
        return false;
    const grid::CellType& type = sheet_.cellType(col, row);
    if (type.kind != grid::CellType::Kind::Combo || sheet_.cellFormat(col, row).locked || index < 0 ||
        index >= static_cast<int>(type.items.size()))
        return false;
    const ui::WindowHandle self = GetSafeHwnd();
    commitEdit();
    if (FromHandle(self) != this)
        return false;
    const std::string item = type.items[static_cast<size_t>(index)];
    const bool changed = sheet_.cellDataText(col, row) != item || sheet_.hasFormula(col, row);
    notify(ui::GRIDN_EDITSTART, col, row);
    if (changed)
        sheet_.setData(col, row, item);
    for (auto [code, send] :
         {std::pair{ui::GRIDN_COMBOSELCHANGE, true}, {ui::GRIDN_EDITEND, true}, {ui::GRIDN_CHANGE, changed}})
        if (send && FromHandle(self) == this)
            notify(code, col, row, 0, 0, changed, index);
    return true;
}

// ---- Notifications -------------------------------------------------------------------------

bool Kdr_Spread::hasListener() const
{
    if (quiet_)
        return false;
    // A hidden grid that only calculates has no parent; nothing is built for it.
    return IsWindow() && isChildWindow() && GetParent() != nullptr;
}

std::intptr_t Kdr_Spread::notify(int code, int col, int row, int newCol, int newRow, bool changed, int index)
{
    if (!hasListener())
        return 0;
    ui::GridNotify header;
    header.code = code;
    header.col = col;
    header.row = row;
    header.newCol = newCol;
    header.newRow = newRow;
    header.changed = changed;
    header.index = index;
    return notifyParent(header);
}

// ---- Geometry ------------------------------------------------------------------------------

int Kdr_Spread::headerWidth() const
{
    return rowHeaderVisible_ ? static_cast<int>(sheet_.columnWidth(kHeader)) : 0;
}

int Kdr_Spread::headerHeight() const
{
    return static_cast<int>(sheet_.rowHeight(kHeader));
}

int Kdr_Spread::viewWidth() const
{
    return std::max(0, GetClientRect().Width() - sheet_.state().verticalScrollBarWidth);
}

int Kdr_Spread::viewHeight() const
{
    return std::max(0, GetClientRect().Height() - sheet_.state().horizontalScrollBarHeight);
}

bool Kdr_Spread::hitTest(ui::Point point, int& col, int& row) const
{
    if (!created_ || point.x < 0 || point.y < 0 || point.x >= viewWidth() || point.y >= viewHeight())
        return false;
    const int headerW = headerWidth();
    const int headerH = headerHeight();
    if (rowHeaderVisible_ && point.x < headerW)
        col = kHeader;
    else
    {
        int x = headerW;
        col = 0;
        for (int c = std::max(leftCol_, 1); c <= sheet_.maxCols() && x <= point.x; ++c)
        {
            x += static_cast<int>(sheet_.columnWidth(c));
            if (point.x < x)
                col = c;
        }
        if (col == 0)
            return false;
    }
    if (point.y < headerH)
        row = kHeader;
    else
    {
        int y = headerH;
        row = 0;
        for (int r = std::max(topRow_, 1); r <= sheet_.maxRows() && y <= point.y; ++r)
        {
            y += static_cast<int>(sheet_.rowHeight(r));
            if (point.y < y)
                row = r;
        }
        if (row == 0)
            return false;
    }
    if (col != kHeader && row != kHeader)
        anchorOf(col, row);
    return true;
}

bool Kdr_Spread::revealCell(int col, int row, ui::Rect& rect)
{
    if (!created_)
        return false;
    const bool colOk = col == kHeader ? rowHeaderVisible_ : col >= 1 && col <= sheet_.maxCols();
    const bool rowOk = row == kHeader || (row >= 1 && row <= sheet_.maxRows());
    if (!colOk || !rowOk)
        return false;
    const int headerW = headerWidth();
    const int headerH = headerHeight();
    // Scroll as a person would: only as far as needed to bring the cell into view.
    if (col != kHeader)
    {
        if (col < leftCol_)
            leftCol_ = col;
        else
        {
            int x = headerW;
            for (int c = leftCol_; c <= col && x <= viewWidth(); ++c)
                x += static_cast<int>(sheet_.columnWidth(c));
            if (x > viewWidth())
            {
                leftCol_ = col;
                int width = headerW + static_cast<int>(sheet_.columnWidth(col));
                while (leftCol_ > 1 && width + sheet_.columnWidth(leftCol_ - 1) <= viewWidth())
                    width += static_cast<int>(sheet_.columnWidth(--leftCol_));
            }
        }
    }
    if (row != kHeader)
    {
        if (row < topRow_)
            topRow_ = row;
        else
        {
            int y = headerH;
            for (int r = topRow_; r <= row && y <= viewHeight(); ++r)
                y += static_cast<int>(sheet_.rowHeight(r));
            if (y > viewHeight())
            {
                topRow_ = row;
                int height = headerH + static_cast<int>(sheet_.rowHeight(row));
                while (topRow_ > 1 && height + sheet_.rowHeight(topRow_ - 1) <= viewHeight())
                    height += static_cast<int>(sheet_.rowHeight(--topRow_));
            }
        }
    }
    int left = 0, right = headerW;
    if (col != kHeader)
    {
        left = headerW;
        for (int c = leftCol_; c < col; ++c)
            left += static_cast<int>(sheet_.columnWidth(c));
        right = left + static_cast<int>(sheet_.columnWidth(col));
    }
    int top = 0, bottom = headerH;
    if (row != kHeader)
    {
        top = headerH;
        for (int r = topRow_; r < row; ++r)
            top += static_cast<int>(sheet_.rowHeight(r));
        bottom = top + static_cast<int>(sheet_.rowHeight(row));
    }
    rect = ui::Rect(left, top, std::min(right, viewWidth()), std::min(bottom, viewHeight()));
    return !rect.IsRectEmpty();
}

// ---- Cells as the user sees them -----------------------------------------------------------

void Kdr_Spread::anchorOf(int& col, int& row) const
{
    grid::Span span;
    if (sheet_.getSpan(col, row, span))
    {
        col = span.col;
        row = span.row;
    }
}

bool Kdr_Spread::isTabStop(int col, int row) const
{
    grid::Span span;
    if (sheet_.getSpan(col, row, span) && (span.col != col || span.row != row))
        return false;
    return !sheet_.cellFormat(col, row).skip;
}

bool Kdr_Spread::isCellEditable(int col, int row) const
{
    if (!created_ || col < 1 || row < 1 || col > sheet_.maxCols() || row > sheet_.maxRows())
        return false;
    return !sheet_.cellFormat(col, row).locked && isEditableKind(sheet_.cellType(col, row).kind);
}

bool Kdr_Spread::ensureActiveCell(int& col, int& row)
{
    if (sheet_.activeCell(col, row))
        return true;
    if (sheet_.maxCols() < 1 || sheet_.maxRows() < 1)
        return false;
    col = row = 1;
    anchorOf(col, row);
    sheet_.setActiveCell(col, row);
    sheet_.setSelection(col, row, col, row);
    return true;
}

void Kdr_Spread::moveActiveAsUser(int col, int row)
{
    anchorOf(col, row);
    int oldCol = 0, oldRow = 0;
    const bool hadOne = sheet_.activeCell(oldCol, oldRow);
    if (!sheet_.setActiveCell(col, row))
        return;
    sheet_.setSelection(col, row, col, row);
    ui::Rect ignored;
    revealCell(col, row, ignored);
    if (hadOne && oldCol == col && oldRow == row)
        return;
    const ui::WindowHandle self = GetSafeHwnd();
    notify(ui::GRIDN_LEAVECELL, oldCol, oldRow, col, row);
    if (oldRow != row && FromHandle(self) == this)
        notify(ui::GRIDN_LEAVEROW, oldCol, oldRow, col, row);
}

// ---- Editing -------------------------------------------------------------------------------

bool Kdr_Spread::startEdit(int col, int row, std::string text, bool byTyping)
{
    if (editing_ || !isCellEditable(col, row))
        return false;
    editing_ = true;
    editByTyping_ = byTyping;
    editCol_ = col;
    editRow_ = row;
    editOriginal_ = enteredText(col, row);
    editText_ = std::move(text);
    sheet_.setEditMode(true);
    const int end = static_cast<int>(editText_.size());
    sheet_.setEditSelection(end, end);
    notify(ui::GRIDN_EDITSTART, col, row);
    return true;
}

void Kdr_Spread::insertTyped(unsigned character)
{
    if (!editing_)
        return;
    const grid::CellType& type = sheet_.cellType(editCol_, editRow_);
    const char c = applyCase(type, static_cast<char>(character));
    if (type.kind == grid::CellType::Kind::Number && !isNumberCharacter(static_cast<unsigned char>(c)) &&
        !(editText_.empty() || editText_[0] == '='))
        return;
    int start = 0, end = 0;
    sheet_.editSelection(start, end);
    const int size = static_cast<int>(editText_.size());
    start = std::min(start, size);
    end = std::clamp(end, start, size);
    const bool limited = type.kind == grid::CellType::Kind::Text || type.kind == grid::CellType::Kind::Edit;
    if (limited && type.maxLength > 0 && size - (end - start) + 1 > type.maxLength)
        return;
    editText_.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), 1, c);
    sheet_.setEditSelection(start + 1, start + 1);
}

bool Kdr_Spread::writeTyped(int col, int row, const std::string& text)
{
    if (!created_ || col < 1 || row < 1 || col > sheet_.maxCols() || row > sheet_.maxRows())
        return false;
    const grid::CellType& type = sheet_.cellType(col, row);
    const bool formulas =
        type.kind == grid::CellType::Kind::General || type.kind == grid::CellType::Kind::Number;
    if (formulas && text.size() > 1 && text[0] == '=')
    {
        if (sheet_.setFormula(col, row, text))
            return true;
        if (type.kind == grid::CellType::Kind::Number)
            return false;
    }
    if (type.kind == grid::CellType::Kind::Number && !text.empty())
    {
        std::string plain;
        for (char c : text)
            if (c != ',')
                plain.push_back(c);
        const auto number = grid::parseNumber(plain);
        if (!number || *number < type.minimum || *number > type.maximum)
            return false;
    }
    return sheet_.setData(col, row, text);
}

bool Kdr_Spread::commitEdit()
{
    if (!editing_)
        return false;
    editing_ = false;
    sheet_.setEditMode(false);
    const int col = editCol_, row = editRow_;
    bool changed = editText_ != editOriginal_;
    lastEditRefused_ = changed && !writeTyped(col, row, editText_);
    changed = changed && !lastEditRefused_;
    const ui::WindowHandle self = GetSafeHwnd();
    notify(ui::GRIDN_EDITEND, col, row, 0, 0, changed);
    if (changed && FromHandle(self) == this)
        notify(ui::GRIDN_CHANGE, col, row);
    return !lastEditRefused_;
}

bool Kdr_Spread::setEditMode(bool on)
{
    if (!created_)
        return false;
    // Code that opens or closes the editor is not a person: the parent hears nothing of it.
    const bool wasQuiet = quiet_;
    quiet_ = true;
    bool ok = false;
    int col = 0, row = 0;
    if (!on)
        ok = !editing_ || commitEdit();
    else if (editing_)
        ok = true;
    else if (sheet_.activeCell(col, row))
        ok = startEdit(col, row, enteredText(col, row), false);
    quiet_ = wasQuiet;
    return ok;
}

std::string Kdr_Spread::enteredText(int col, int row) const
{
    return sheet_.hasFormula(col, row) ? "=" + sheet_.cellFormulaText(col, row) : sheet_.cellEntry(col, row);
}

void Kdr_Spread::cancelEdit()
{
    if (!editing_)
        return;
    editing_ = false;
    sheet_.setEditMode(false);
    lastEditRefused_ = false;
    notify(ui::GRIDN_EDITEND, editCol_, editRow_, 0, 0, false);
}

// ---- Check boxes, buttons, clearing ----------------------------------------------------------

void Kdr_Spread::toggleCheckAsUser(int col, int row)
{
    const grid::CellType& type = sheet_.cellType(col, row);
    if (sheet_.cellFormat(col, row).locked)
        return;
    if (type.kind == grid::CellType::Kind::Button)
    {
        notify(ui::GRIDN_BUTTONCLICKED, col, row);
        return;
    }
    if (type.kind != grid::CellType::Kind::CheckBox)
        return;
    double number = 0;
    const bool on = !(sheet_.cellNumber(col, row, number) && number != 0);
    sheet_.setValue(col, row, on ? "1" : "0");
    const ui::WindowHandle self = GetSafeHwnd();
    notify(ui::GRIDN_CHECKCLICKED, col, row, 0, 0, true, on ? 1 : 0);
    if (FromHandle(self) == this)
        notify(ui::GRIDN_CHANGE, col, row);
}

void Kdr_Spread::deleteSelectionAsUser()
{
    int activeCol = 0, activeRow = 0;
    if (!sheet_.activeCell(activeCol, activeRow))
        return;
    grid::Selection s = sheet_.selection();
    if (s.col1 == 0)
        s = grid::Selection{activeCol, activeRow, activeCol, activeRow};
    const int col1 = std::max(std::min(s.col1, s.col2), 1), col2 = std::max(s.col1, s.col2);
    const int row1 = std::max(std::min(s.row1, s.row2), 1), row2 = std::max(s.row1, s.row2);
    // Only stored cells can hold anything to clear, so a whole selected column costs what it holds.
    std::vector<std::pair<int, int>> cleared;
    sheet_.forEachCell(
        [&](int col, int row)
        {
            if (col < col1 || col > col2 || row < row1 || row > row2)
                return;
            const grid::CellType::Kind kind = sheet_.cellType(col, row).kind;
            if (sheet_.cellFormat(col, row).locked ||
                !(isEditableKind(kind) || kind == grid::CellType::Kind::Combo))
                return;
            if (!sheet_.cellEntry(col, row).empty() || sheet_.hasFormula(col, row))
                cleared.emplace_back(col, row);
        });
    for (auto [col, row] : cleared)
        sheet_.setData(col, row, "");
    if (!cleared.empty())
        notify(ui::GRIDN_CHANGE, activeCol, activeRow);
}

// ---- Keyboard ------------------------------------------------------------------------------

bool Kdr_Spread::tabAsUser(bool shift)
{
    const ui::WindowHandle self = GetSafeHwnd();
    commitEdit();
    if (FromHandle(self) != this)
        return true;
    int result = 1;
    if (!handleTab(VK_TAB, result) || result != 0)
        return false; // the dialog moves the focus on
    int col = 0, row = 0;
    if (!sheet_.activeCell(col, row))
        return false;
    const int cols = sheet_.maxCols(), rows = sheet_.maxRows();
    while (true)
    {
        if (shift)
        {
            if (--col < 1)
            {
                col = cols;
                --row;
            }
        }
        else if (++col > cols)
        {
            col = 1;
            ++row;
        }
        if (row < 1 || row > rows)
            return false;
        if (isTabStop(col, row))
            break;
    }
    moveActiveAsUser(col, row);
    return true;
}

bool Kdr_Spread::moveByKey(unsigned key, bool control)
{
    int col = 0, row = 0;
    if (!ensureActiveCell(col, row))
        return false;
    const int cols = sheet_.maxCols(), rows = sheet_.maxRows();
    grid::Span span{col, row, 1, 1};
    sheet_.getSpan(col, row, span);
    switch (key)
    {
    case VK_LEFT:
        col = control ? 1 : span.col - 1;
        break;
    case VK_RIGHT:
        col = control ? cols : span.col + span.width;
        break;
    case VK_UP:
        row = control ? 1 : span.row - 1;
        break;
    case VK_DOWN:
        row = control ? rows : span.row + span.height;
        break;
    case VK_HOME:
        col = 1;
        if (control)
            row = 1;
        break;
    case VK_END:
        col = cols;
        if (control)
            row = rows;
        break;
    default:
        return false;
    }
    if (col < 1 || row < 1 || col > cols || row > rows)
        return true; // at the edge the key is spent without moving
    moveActiveAsUser(col, row);
    return true;
}

bool Kdr_Spread::PreTranslateMessage(ui::Message& message)
{
    // Tab, Enter and Escape belong to the dialog unless the grid has a use for them, so the
    // grid looks at them before the dialog does.
    if (message.window != this || message.message != WM_KEYDOWN || !created_)
        return false;
    switch (message.wParam)
    {
    case VK_TAB:
        return tabAsUser(ui::GetKeyState(VK_SHIFT) < 0);
    case VK_RETURN:
        if (!editing_)
            return false;
        commitEdit();
        return true;
    case VK_ESCAPE:
        if (!editing_)
            return false;
        cancelEdit();
        return true;
    default:
        return false;
    }
}

void Kdr_Spread::OnKeyDown(unsigned key)
{
    if (!created_)
        return;
    const bool control = ui::GetKeyState(VK_CONTROL) < 0;
    const ui::WindowHandle self = GetSafeHwnd();
    if (key == VK_F3 || key == VK_F5)
    {
        const bool replace = key == VK_F5;
        if (findReplaceHandler_)
            findReplaceHandler_(*this, replace);
        else if (findReplaceProvider())
            findReplaceProvider()(*this, replace);
        else
            notify(ui::GRIDN_FINDREPLACE, 0, 0, 0, 0, false, replace ? 1 : 0);
        return;
    }
    if (editing_)
    {
        int start = 0, end = 0;
        sheet_.editSelection(start, end);
        const int size = static_cast<int>(editText_.size());
        switch (key)
        {
        case VK_UP:
        case VK_DOWN:
            commitEdit();
            if (FromHandle(self) == this)
                moveByKey(key, false);
            return;
        case VK_LEFT:
        case VK_RIGHT:
            if (editByTyping_)
            {
                commitEdit();
                if (FromHandle(self) == this)
                    moveByKey(key, false);
                return;
            }
            start = key == VK_LEFT ? std::max(0, std::min(start, size) - 1) : std::min(size, end + 1);
            sheet_.setEditSelection(start, start);
            return;
        case VK_HOME:
            sheet_.setEditSelection(0, 0);
            return;
        case VK_END:
            sheet_.setEditSelection(size, size);
            return;
        case VK_BACK:
        case VK_DELETE:
            start = std::min(start, size);
            end = std::clamp(end, start, size);
            if (start == end)
            {
                if (key == VK_BACK && start > 0)
                    --start;
                else if (key == VK_DELETE && end < size)
                    ++end;
            }
            editText_.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
            sheet_.setEditSelection(start, start);
            return;
        default:
            return;
        }
    }
    int col = 0, row = 0;
    switch (key)
    {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
        moveByKey(key, control);
        return;
    case VK_F2:
        if (ensureActiveCell(col, row))
        {
            startEdit(col, row, enteredText(col, row), false);
        }
        return;
    case VK_DELETE:
        deleteSelectionAsUser();
        return;
    case VK_BACK:
        if (ensureActiveCell(col, row))
            startEdit(col, row, std::string(), true);
        return;
    case VK_SPACE:
        if (ensureActiveCell(col, row))
            toggleCheckAsUser(col, row);
        return;
    default:
        return;
    }
}

void Kdr_Spread::OnChar(unsigned character)
{
    if (!created_ || character < 0x20 || character == 0x7F || character > 0xFF)
        return;
    if (editing_)
    {
        insertTyped(character);
        return;
    }
    int col = 0, row = 0;
    if (!ensureActiveCell(col, row))
        return;
    const grid::CellType& type = sheet_.cellType(col, row);
    if (type.kind == grid::CellType::Kind::Combo)
    {
        // A key in a closed combo cell picks the next item that begins with it.
        if (sheet_.cellFormat(col, row).locked || type.items.empty())
            return;
        const int count = static_cast<int>(type.items.size());
        const int current = getComboIndex(col, row);
        for (int step = 1; step <= count; ++step)
        {
            const int index = (current + step + count) % count;
            if (startsWithIgnoringCase(type.items[static_cast<size_t>(index)],
                                       static_cast<unsigned char>(character)))
            {
                chooseComboItemAsUser(index);
                return;
            }
        }
        return;
    }
    if (startEdit(col, row, std::string(), true))
        insertTyped(character);
}

void Kdr_Spread::OnKillFocus(ui::Window* newFocus)
{
    (void)newFocus;
    commitEdit();
}

void Kdr_Spread::OnDestroy()
{
    // A grid that goes away while its editor is open drops the entry without telling anyone:
    // its parent is being destroyed too.
    editing_ = false;
    sheet_.setEditMode(false);
}

// ---- Mouse ---------------------------------------------------------------------------------

void Kdr_Spread::clickCellAsUser(unsigned flags, int col, int row)
{
    const ui::WindowHandle self = GetSafeHwnd();
    if (editing_ && !(col == editCol_ && row == editRow_))
    {
        commitEdit();
        if (FromHandle(self) != this)
            return;
    }
    if (col == kHeader || row == kHeader)
    {
        if (col == kHeader && row == kHeader)
            sheet_.setSelection(1, 1, sheet_.maxCols(), sheet_.maxRows());
        else if (row == kHeader)
            sheet_.setSelection(col, 1, col, sheet_.maxRows());
        else
            sheet_.setSelection(1, row, sheet_.maxCols(), row);
        notify(ui::GRIDN_HEADERCLICK, col, row);
        return;
    }
    int activeCol = 0, activeRow = 0;
    if ((flags & MK_SHIFT) != 0 && sheet_.activeCell(activeCol, activeRow))
    {
        sheet_.setSelection(std::min(activeCol, col), std::min(activeRow, row), std::max(activeCol, col),
                            std::max(activeRow, row));
        return;
    }
    if (editing_)
        return; // a click inside the open editor only places the caret
    moveActiveAsUser(col, row);
    if (FromHandle(self) != this)
        return;
    notify(ui::GRIDN_CLICK, col, row);
    if (FromHandle(self) != this)
        return;
    const grid::CellType::Kind kind = sheet_.cellType(col, row).kind;
    if (kind == grid::CellType::Kind::CheckBox || kind == grid::CellType::Kind::Button)
        toggleCheckAsUser(col, row);
}

void Kdr_Spread::OnLButtonDown(unsigned flags, ui::Point point)
{
    if (!created_)
        return;
    const ui::WindowHandle self = GetSafeHwnd();
    if (GetFocus() != this)
        SetFocus();
    int col = 0, row = 0;
    if (FromHandle(self) == this && hitTest(point, col, row))
        clickCellAsUser(flags, col, row);
}

void Kdr_Spread::OnLButtonDblClk(unsigned flags, ui::Point point)
{
    (void)flags;
    int col = 0, row = 0;
    if (!created_ || !hitTest(point, col, row))
        return;
    const ui::WindowHandle self = GetSafeHwnd();
    notify(ui::GRIDN_DBLCLICK, col, row);
    if (FromHandle(self) != this || col == kHeader || row == kHeader || editing_)
        return;
    int activeCol = 0, activeRow = 0;
    if (sheet_.activeCell(activeCol, activeRow) && activeCol == col && activeRow == row)
    {
        startEdit(col, row, enteredText(col, row), false);
    }
}

void Kdr_Spread::OnRButtonDown(unsigned flags, ui::Point point)
{
    (void)flags;
    rightClickAnswered_ = false;
    if (!created_)
        return;
    const ui::WindowHandle self = GetSafeHwnd();
    if (GetFocus() != this)
        SetFocus();
    if (FromHandle(self) != this)
        return;
    commitEdit();
    int col = 0, row = 0;
    if (FromHandle(self) != this || !hitTest(point, col, row))
        return;
    rightClickCol_ = col;
    rightClickRow_ = row;
    rightClickAnswered_ = notify(ui::GRIDN_RIGHTCLICK, col, row) != 0;
}

void Kdr_Spread::OnContextMenu(ui::Window* window, ui::Point screenPoint)
{
    (void)window;
    const bool answered = rightClickAnswered_;
    rightClickAnswered_ = false;
    if (answered || !contextMenu_ || contextMenu_->GetMenuItemCount() == 0)
        return;
    const int command =
        contextMenu_->TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, this);
    if (command != 0)
        runContextCommand(command);
}

// ---- Context menu --------------------------------------------------------------------------

ui::PopupMenu& Kdr_Spread::contextMenu()
{
    if (!contextMenu_)
    {
        contextMenu_ = std::make_unique<ui::PopupMenu>();
        contextMenu_->CreatePopupMenu();
    }
    return *contextMenu_;
}

void Kdr_Spread::addCheckCommands(const Kdr_String& checkCaption, const Kdr_String& uncheckCaption)
{
    contextMenu().AppendMenu(MF_STRING, kCommandCheckSelection, checkCaption);
    contextMenu().AppendMenu(MF_STRING, kCommandUncheckSelection, uncheckCaption);
    for (int command : {kCommandCheckSelection, kCommandUncheckSelection})
        if (contextCommands_.find(command) < 0)
            contextCommands_.append(command);
}

void Kdr_Spread::runContextCommand(int command)
{
    if (contextCommands_.find(command) < 0)
    {
        if (ui::Window* parent = GetParent())
            parent->SendMessage(WM_COMMAND, MAKEWPARAM(command, 0),
                                static_cast<std::intptr_t>(GetSafeHwnd()));
        return;
    }
    if (command == kCommandCheckSelection || command == kCommandUncheckSelection)
    {
        setChecks(command == kCommandCheckSelection);
        const grid::Selection& s = sheet_.selection();
        if (s.col1 != 0)
            notify(ui::GRIDN_CHANGE, std::min(s.col1, s.col2), std::min(s.row1, s.row2));
    }
}
