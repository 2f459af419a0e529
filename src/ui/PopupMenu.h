#pragma once

#include "host/Kdr_String.h"
#include "ui/Geometry.h"
#include "ui/WinDefs.h"

#include <vector>

namespace ui
{
class Window;

/// A popup (context) menu: command items with a text, a check mark and a grey state, and
/// separators. Tracking it asks the user agent which item is chosen.
class PopupMenu
{
public:
    struct Item
    {
        unsigned flags = MF_STRING;
        int command = 0;
        Kdr_String text;

        bool isSeparator() const { return (flags & MF_SEPARATOR) != 0; }
        bool isChecked() const { return (flags & MF_CHECKED) != 0; }
        bool isGrayed() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
    };

    bool CreatePopupMenu()
    {
        items_.clear();
        return true;
    }
    bool AppendMenu(unsigned flags, int command = 0, std::string_view text = {});
    /// Checks or unchecks an item found by command (MF_BYCOMMAND) or position
    /// (MF_BYPOSITION); the previous state (MF_CHECKED or MF_UNCHECKED), −1 when not found.
    int CheckMenuItem(int item, unsigned flags);
    int GetMenuItemCount() const { return static_cast<int>(items_.size()); }
    const std::vector<Item>& items() const { return items_; }
    /// The item with that command, or null.
    const Item* findCommand(int command) const;

    /// Shows the menu at a screen point. With TPM_RETURNCMD the chosen command is returned
    /// (0 for none); otherwise it is sent to `owner` as WM_COMMAND and the result is whether
    /// an item was chosen. A separator, a grey item or an unknown command counts as none.
    int TrackPopupMenu(unsigned flags, int x, int y, Window* owner);

private:
    std::vector<Item> items_;
};
} // namespace ui
