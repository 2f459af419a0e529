#include "ui/PopupMenu.h"

#include "ui/UserAgent.h"
#include "ui/Window.h"

namespace ui
{
bool PopupMenu::AppendMenu(unsigned flags, int command, std::string_view text)
{
    items_.push_back(Item{flags, (flags & MF_SEPARATOR) != 0 ? 0 : command, Kdr_String(text)});
    return true;
}

int PopupMenu::CheckMenuItem(int item, unsigned flags)
{
    Item* target = nullptr;
    if ((flags & MF_BYPOSITION) != 0)
    {
        if (item >= 0 && item < GetMenuItemCount())
            target = &items_[static_cast<std::size_t>(item)];
    }
    else
    {
        for (Item& i : items_)
            if (!i.isSeparator() && i.command == item)
            {
                target = &i;
                break;
            }
    }
    if (target == nullptr)
        return -1;
    const int previous = target->isChecked() ? static_cast<int>(MF_CHECKED) : static_cast<int>(MF_UNCHECKED);
    target->flags = (flags & MF_CHECKED) != 0 ? (target->flags | MF_CHECKED) : (target->flags & ~MF_CHECKED);
    return previous;
}

const PopupMenu::Item* PopupMenu::findCommand(int command) const
{
    for (const Item& i : items_)
        if (!i.isSeparator() && i.command == command)
            return &i;
    return nullptr;
}

int PopupMenu::TrackPopupMenu(unsigned flags, int x, int y, Window* owner)
{
    DispatchScope scope;
    const WindowHandle ownerHandle = owner != nullptr ? owner->GetSafeHwnd() : 0;
    int chosen = userAgent().popupMenu(*this, Point{x, y}, owner);
    const Item* item = findCommand(chosen);
    if (item == nullptr || item->isGrayed())
        chosen = 0;
    if ((flags & TPM_RETURNCMD) != 0)
        return chosen;
    if (chosen != 0)
        if (Window* o = Window::FromHandle(ownerHandle))
            o->SendMessage(WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return chosen != 0 ? 1 : 0;
}
} // namespace ui
