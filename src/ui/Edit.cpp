#include "ui/Edit.h"

#include <algorithm>
#include <cctype>

namespace ui
{
void Edit::setTextAndNotify(const Kdr_String& text, int caret)
{
    setTextQuietly(text);
    selStart_ = selEnd_ = std::clamp(caret, 0, text.length());
    changed(Property::Text);
    changed(Property::Selection);
    notifyParent(EN_UPDATE);
    notifyParent(EN_CHANGE);
}

void Edit::SetWindowText(std::string_view text)
{
    if (!IsWindow())
        return;
    DispatchScope scope;
    setTextAndNotify(Kdr_String(text), 0);
}

void Edit::SetSel(int start, int end, bool noScroll)
{
    (void)noScroll;
    const int length = GetWindowText().length();
    if (start < 0)
    {
        selStart_ = selEnd_;
    }
    else
    {
        if (end < 0 || end > length)
            end = length;
        start = std::min(start, length);
        selStart_ = std::min(start, end);
        selEnd_ = std::max(start, end);
    }
    changed(Property::Selection);
}

Kdr_String Edit::selectedText() const
{
    return GetWindowText().mid(selStart_, selEnd_ - selStart_);
}

void Edit::ReplaceSel(std::string_view text, bool canUndo)
{
    (void)canUndo;
    if (!IsWindow())
        return;
    DispatchScope scope;
    const Kdr_String current = GetWindowText();
    const int start = std::min(selStart_, current.length());
    const int end = std::min(selEnd_, current.length());
    Kdr_String next = current.left(start);
    next += text;
    next += current.mid(end);
    setTextAndNotify(next, start + static_cast<int>(text.size()));
}

void Edit::SetReadOnly(bool readOnly)
{
    ModifyStyle(readOnly ? 0 : ES_READONLY, readOnly ? ES_READONLY : 0);
}

void Edit::SetLimitText(int maximum)
{
    limit_ = maximum > 0 ? maximum : kDefaultLimit;
}

int Edit::GetLineCount() const
{
    if (!isMultiLine())
        return 1;
    const Kdr_String text = GetWindowText();
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

Kdr_String Edit::line(int index) const
{
    const Kdr_String whole = GetWindowText();
    if (!isMultiLine())
        return index == 0 ? whole : Kdr_String();
    const std::string_view text = whole;
    int current = 0;
    std::size_t begin = 0;
    while (current < index)
    {
        const std::size_t nl = text.find('\n', begin);
        if (nl == std::string::npos)
            return {};
        begin = nl + 1;
        ++current;
    }
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos)
        end = text.size();
    if (end > begin && text[end - 1] == '\r')
        --end;
    return Kdr_String(text.substr(begin, end - begin));
}

bool Edit::typeText(std::string_view text)
{
    if (!IsWindow() || !IsWindowEnabled() || isReadOnly())
        return false;
    std::string filtered;
    for (char c : text)
    {
        if ((c == '\n' || c == '\r') && !isMultiLine())
            continue;
        if ((GetStyle() & ES_NUMBER) != 0 && !std::isdigit(static_cast<unsigned char>(c)))
            return false;
        if ((GetStyle() & ES_UPPERCASE) != 0)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        else if ((GetStyle() & ES_LOWERCASE) != 0)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        filtered += c;
    }
    const int kept = GetWindowText().length() - (selEnd_ - selStart_);
    const int room = std::max(0, limit_ - kept);
    if (static_cast<int>(filtered.size()) > room)
    {
        filtered.resize(static_cast<std::size_t>(room));
        DispatchScope scope;
        notifyParent(EN_MAXTEXT);
    }
    ReplaceSel(filtered);
    return true;
}

bool Edit::replaceAllAsUser(std::string_view text)
{
    if (!IsWindow() || !IsWindowEnabled() || isReadOnly())
        return false;
    SetSel(0, -1);
    return typeText(text);
}

void Edit::OnSetFocus(Window* oldFocus)
{
    (void)oldFocus;
    notifyParent(EN_SETFOCUS);
}

void Edit::OnKillFocus(Window* newFocus)
{
    (void)newFocus;
    notifyParent(EN_KILLFOCUS);
}

void Edit::OnKeyDown(unsigned key)
{
    if (!IsWindowEnabled())
        return;
    const int length = GetWindowText().length();
    switch (key)
    {
    case VK_HOME:
        SetSel(0, 0);
        break;
    case VK_END:
        SetSel(length, length);
        break;
    case VK_LEFT:
        SetSel(std::max(0, selStart_ - (selStart_ == selEnd_ ? 1 : 0)),
               std::max(0, selStart_ - (selStart_ == selEnd_ ? 1 : 0)));
        break;
    case VK_RIGHT:
        SetSel(std::min(length, selEnd_ + (selStart_ == selEnd_ ? 1 : 0)),
               std::min(length, selEnd_ + (selStart_ == selEnd_ ? 1 : 0)));
        break;
    case VK_DELETE:
        if (isReadOnly())
            break;
        if (selStart_ == selEnd_ && selEnd_ < length)
            SetSel(selStart_, selStart_ + 1);
        if (selStart_ != selEnd_)
            ReplaceSel("");
        break;
    case VK_BACK:
        if (isReadOnly())
            break;
        if (selStart_ == selEnd_ && selStart_ > 0)
            SetSel(selStart_ - 1, selStart_);
        if (selStart_ != selEnd_)
            ReplaceSel("");
        break;
    default:
        break;
    }
}

void Edit::OnChar(unsigned character)
{
    if (character >= 0x20 && character < 0x100 && character != 0x7F)
        typeText(std::string(1, static_cast<char>(character)));
    else if (character == '\r' && isMultiLine())
        typeText("\r\n");
}

void Edit::copyControlState(const Window& from)
{
    if (const auto* other = dynamic_cast<const Edit*>(&from))
    {
        selStart_ = other->selStart_;
        selEnd_ = other->selEnd_;
        limit_ = other->limit_;
    }
}

void Edit::OnPaint(PaintContext& dc)
{
    const Rect client = GetClientRect();
    const bool inactive = isReadOnly() || !IsWindowEnabled();
    const COLORREF face = GetSysColor(inactive ? COLOR_BTNFACE : COLOR_WINDOW);
    dc.SetTextColor(GetSysColor(IsWindowEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    dc.SetBkColor(face);
    dc.SetBkMode(OPAQUE);
    const Brush brush = ctlColorFromParent(dc, inactive ? CTLCOLOR_STATIC : CTLCOLOR_EDIT);
    if (!IsWindow())
        return;
    dc.FillRect(client, brush, face);
    const Kdr_String text = GetWindowText();
    const bool password = (GetStyle() & ES_PASSWORD) != 0;
    const unsigned align = (GetStyle() & ES_CENTER) != 0  ? DT_CENTER
                           : (GetStyle() & ES_RIGHT) != 0 ? DT_RIGHT
                                                          : DT_LEFT;
    Rect inner = client;
    inner.DeflateRect(2, 1);
    dc.DrawText(password ? Kdr_String(text.size(), '*') : text, inner,
                align | ((GetStyle() & ES_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE));
}
} // namespace ui
