#include "ui/TabControl.h"

#include <algorithm>

namespace ui
{
int TabControl::InsertItem(int index, std::string_view text, std::intptr_t data)
{
    if (index < 0)
        return -1;
    index = std::min(index, GetItemCount());
    items_.insert(items_.begin() + index, Item{Kdr_String(text), data});
    if (selection_ >= index)
        ++selection_;
    else if (selection_ < 0 && items_.size() == 1)
        selection_ = 0; // the first item is selected, as on the platform
    changed(Property::Items);
    return index;
}

bool TabControl::DeleteItem(int index)
{
    if (index < 0 || index >= GetItemCount())
        return false;
    items_.erase(items_.begin() + index);
    if (selection_ == index)
    {
        selection_ = -1;
        changed(Property::Selection);
    }
    else if (selection_ > index)
        --selection_;
    changed(Property::Items);
    return true;
}

bool TabControl::DeleteAllItems()
{
    items_.clear();
    if (selection_ != -1)
    {
        selection_ = -1;
        changed(Property::Selection);
    }
    changed(Property::Items);
    return true;
}

Kdr_String TabControl::itemText(int index) const
{
    return index >= 0 && index < GetItemCount() ? items_[static_cast<std::size_t>(index)].text : Kdr_String();
}

bool TabControl::setItemText(int index, std::string_view text)
{
    if (index < 0 || index >= GetItemCount())
        return false;
    items_[static_cast<std::size_t>(index)].text = Kdr_String(text);
    changed(Property::Items);
    return true;
}

std::intptr_t TabControl::itemData(int index) const
{
    return index >= 0 && index < GetItemCount() ? items_[static_cast<std::size_t>(index)].data : 0;
}

int TabControl::SetCurSel(int index)
{
    if (index < 0 || index >= GetItemCount())
        return -1;
    const int previous = selection_;
    if (index != selection_)
    {
        selection_ = index;
        changed(Property::Selection);
    }
    return previous;
}

bool TabControl::GetItemRect(int index, Rect& rect) const
{
    if (index < 0 || index >= GetItemCount())
        return false;
    int left = kHeaderTop;
    for (int i = 0;; ++i)
    {
        const int width = kHeaderPadding + kCharWidth * items_[static_cast<std::size_t>(i)].text.length();
        if (i == index)
        {
            rect = Rect(left, kHeaderTop, left + width, kHeaderTop + kHeaderHeight);
            return true;
        }
        left += width;
    }
}

void TabControl::AdjustRect(bool larger, Rect& rect) const
{
    const int top = kHeaderTop + kHeaderHeight + kMargin;
    if (larger)
    {
        rect.left -= kMargin;
        rect.top -= top;
        rect.right += kMargin;
        rect.bottom += kMargin;
    }
    else
    {
        rect.left += kMargin;
        rect.top += top;
        rect.right -= kMargin;
        rect.bottom -= kMargin;
    }
}

bool TabControl::selectAsUser(int index)
{
    if (!IsWindow() || !IsWindowEnabled() || index < 0 || index >= GetItemCount())
        return false;
    DispatchScope scope;
    const WindowHandle self = GetSafeHwnd();
    NotifyHeader changing{nullptr, 0, TCN_SELCHANGING};
    if (notifyParent(changing) != 0 || FromHandle(self) != this)
        return false;
    SetCurSel(index);
    NotifyHeader change{nullptr, 0, TCN_SELCHANGE};
    notifyParent(change);
    return true;
}

void TabControl::copyControlState(const Window& from)
{
    if (const auto* other = dynamic_cast<const TabControl*>(&from))
    {
        items_ = other->items_;
        selection_ = other->selection_;
    }
}
} // namespace ui
