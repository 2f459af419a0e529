#include "ui/ComboBox.h"

#include <algorithm>

namespace ui
{
namespace
{
bool lessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return host::foldCase(x) < host::foldCase(y); });
}
} // namespace

int ComboBox::SetCurSel(int index)
{
    int result = index;
    if (!validIndex(index))
    {
        result = index == -1 ? -1 : CB_ERR;
        index = -1;
    }
    if (index != selection_)
    {
        selection_ = index;
        changed(Property::Selection);
    }
    if (hasEditField())
    {
        const Kdr_String text = index >= 0 ? items_[static_cast<std::size_t>(index)].text : Kdr_String();
        if (text != editText_)
        {
            editText_ = text;
            changed(Property::Text);
        }
    }
    return result;
}

int ComboBox::AddString(std::string_view text)
{
    int index = GetCount();
    if ((GetStyle() & CBS_SORT) != 0)
    {
        auto at = std::upper_bound(items_.begin(), items_.end(), text,
                                   [](std::string_view t, const Item& item)
                                   { return lessIgnoringCase(t, item.text); });
        index = static_cast<int>(at - items_.begin());
    }
    return InsertString(index, text);
}

int ComboBox::InsertString(int index, std::string_view text)
{
    if (index == -1)
        index = GetCount();
    if (index < 0 || index > GetCount())
        return CB_ERR;
    items_.insert(items_.begin() + index, Item{Kdr_String(text), 0, false});
    if (selection_ >= index)
        ++selection_;
    changed(Property::Items);
    return index;
}

int ComboBox::DeleteString(int index)
{
    if (!validIndex(index))
        return CB_ERR;
    items_.erase(items_.begin() + index);
    if (selection_ == index)
    {
        selection_ = -1;
        changed(Property::Selection);
    }
    else if (selection_ > index)
        --selection_;
    changed(Property::Items);
    return GetCount();
}

void ComboBox::ResetContent()
{
    const bool hadItems = !items_.empty();
    items_.clear();
    if (selection_ != -1)
    {
        selection_ = -1;
        changed(Property::Selection);
    }
    if (hasEditField() && !editText_.empty())
    {
        editText_.clear();
        changed(Property::Text);
    }
    if (hadItems)
        changed(Property::Items);
}

template <typename Match> int ComboBox::findFrom(int startAfter, Match match) const
{
    const int count = GetCount();
    if (count == 0)
        return CB_ERR;
    if (startAfter < -1 || startAfter >= count)
        startAfter = -1;
    for (int step = 1; step <= count; ++step)
    {
        const int i = (startAfter + step) % count;
        if (match(items_[static_cast<std::size_t>(i)].text))
            return i;
    }
    return CB_ERR;
}

int ComboBox::FindString(int startAfter, std::string_view prefix) const
{
    return findFrom(startAfter, [&](const Kdr_String& t) { return t.startsWith(prefix, false); });
}

int ComboBox::FindStringExact(int startAfter, std::string_view text) const
{
    return findFrom(startAfter, [&](const Kdr_String& t) { return t.equal(text, false); });
}

int ComboBox::SelectString(int startAfter, std::string_view prefix)
{
    const int index = FindString(startAfter, prefix);
    if (index != CB_ERR)
        SetCurSel(index);
    return index;
}

void ComboBox::GetLBText(int index, Kdr_String& text) const
{
    text = validIndex(index) ? items_[static_cast<std::size_t>(index)].text : Kdr_String();
}

Kdr_String ComboBox::GetLBText(int index) const
{
    Kdr_String text;
    GetLBText(index, text);
    return text;
}

int ComboBox::GetLBTextLen(int index) const
{
    return validIndex(index) ? items_[static_cast<std::size_t>(index)].text.length() : CB_ERR;
}

std::uintptr_t ComboBox::GetItemData(int index) const
{
    return validIndex(index) ? items_[static_cast<std::size_t>(index)].data
                             : static_cast<std::uintptr_t>(CB_ERR);
}

int ComboBox::SetItemData(int index, std::uintptr_t data)
{
    if (!validIndex(index))
        return CB_ERR;
    items_[static_cast<std::size_t>(index)].data = data;
    return 0;
}

Kdr_StringArray ComboBox::itemTexts() const
{
    Kdr_StringArray texts;
    for (const Item& item : items_)
        texts.append(item.text);
    return texts;
}

Kdr_String ComboBox::GetWindowText() const
{
    if (hasEditField())
        return editText_;
    return selection_ >= 0 ? items_[static_cast<std::size_t>(selection_)].text : Kdr_String();
}

void ComboBox::SetWindowText(std::string_view text)
{
    if (!hasEditField() || editText_ == text)
        return;
    editText_ = Kdr_String(text);
    changed(Property::Text);
}

void ComboBox::ShowDropDown(bool show)
{
    if (dropped_ == show)
        return;
    dropped_ = show;
    changed(Property::Visible);
}

bool ComboBox::SetEditSel(int start, int end)
{
    if (!hasEditField())
        return false;
    const int length = editText_.length();
    if (start < 0)
    {
        editSelStart_ = editSelEnd_;
        return true;
    }
    if (end < 0 || end > length)
        end = length;
    start = std::min(start, length);
    editSelStart_ = std::min(start, end);
    editSelEnd_ = std::max(start, end);
    return true;
}

bool ComboBox::selectAsUser(int index)
{
    if (!IsWindow() || !IsWindowEnabled() || !validIndex(index))
        return false;
    DispatchScope scope;
    const WindowHandle self = GetSafeHwnd();
    dropped_ = true;
    notifyParent(CBN_DROPDOWN);
    if (FromHandle(self) != this)
        return true;
    SetCurSel(index);
    notifyParent(CBN_SELCHANGE);
    if (FromHandle(self) != this)
        return true;
    dropped_ = false;
    notifyParent(CBN_SELENDOK);
    if (FromHandle(self) == this)
        notifyParent(CBN_CLOSEUP);
    return true;
}

bool ComboBox::typeAsUser(std::string_view text)
{
    if (!IsWindow() || !IsWindowEnabled() || !hasEditField())
        return false;
    DispatchScope scope;
    Kdr_String typed(text);
    if (limit_ > 0 && typed.length() > limit_)
        typed.resize(static_cast<std::size_t>(limit_));
    editText_ = typed;
    editSelStart_ = editSelEnd_ = typed.length();
    changed(Property::Text);
    const int match = FindStringExact(-1, typed);
    if (match != selection_)
    {
        selection_ = match;
        changed(Property::Selection);
    }
    const WindowHandle self = GetSafeHwnd();
    notifyParent(CBN_EDITUPDATE);
    if (FromHandle(self) == this)
        notifyParent(CBN_EDITCHANGE);
    return true;
}

int ComboBox::OnCreate()
{
    // The creation text is the edit field's first text.
    if (hasEditField())
        editText_ = Window::GetWindowText();
    return 0;
}

void ComboBox::OnSetFocus(Window* oldFocus)
{
    (void)oldFocus;
    notifyParent(CBN_SETFOCUS);
}

void ComboBox::OnKillFocus(Window* newFocus)
{
    (void)newFocus;
    if (dropped_)
    {
        dropped_ = false;
        notifyParent(CBN_CLOSEUP);
    }
    notifyParent(CBN_KILLFOCUS);
}

void ComboBox::OnKeyDown(unsigned key)
{
    // Arrow keys move the selection as the user sees it.
    if (key == VK_DOWN && selection_ + 1 < GetCount())
    {
        SetCurSel(selection_ + 1);
        notifyParent(CBN_SELCHANGE);
    }
    else if (key == VK_UP && selection_ > 0)
    {
        SetCurSel(selection_ - 1);
        notifyParent(CBN_SELCHANGE);
    }
}

void ComboBox::copyControlState(const Window& from)
{
    if (const auto* other = dynamic_cast<const ComboBox*>(&from))
    {
        items_ = other->items_;
        selection_ = other->selection_;
        editText_ = other->editText_;
        limit_ = other->limit_;
    }
}
} // namespace ui
