#pragma once

#include "ui/Window.h"

#include <cstdint>
#include <vector>

namespace ui
{
/// A tab control ("SysTabControl32"): a row of items with one selected, above a display
/// area in which the owner lays its pages. Item headers are laid out left to right from the
/// client's top-left corner, each as wide as its text needs.
class TabControl : public Window
{
public:
    using Window::Create;
    bool Create(std::uint32_t style, const Rect& rect, Window* parent, int id)
    {
        return Window::Create("SysTabControl32", "", style, rect, parent, id);
    }

    int GetItemCount() const { return static_cast<int>(items_.size()); }
    /// Inserts an item before `index` (beyond the end appends); its index, −1 on failure.
    int InsertItem(int index, std::string_view text, std::intptr_t data = 0);
    bool DeleteItem(int index);
    bool DeleteAllItems();
    Kdr_String itemText(int index) const;
    bool setItemText(int index, std::string_view text);
    std::intptr_t itemData(int index) const;
    int GetCurSel() const { return selection_; }
    /// Selects an item without notifying; returns the previous selection, −1 when the index is
    /// outside the items.
    int SetCurSel(int index);
    /// The header rectangle of an item, in client coordinates.
    bool GetItemRect(int index, Rect& rect) const;
    /// larger false: turns a window rectangle into its display area; true: the reverse.
    void AdjustRect(bool larger, Rect& rect) const;

    /// The user clicks a tab: TCN_SELCHANGING (a nonzero answer keeps the old tab), then the
    /// selection changes and TCN_SELCHANGE follows. False when disabled, outside, or refused.
    bool selectAsUser(int index);

    static constexpr int kHeaderTop = 2;
    static constexpr int kHeaderHeight = 18;
    static constexpr int kCharWidth = 6;
    static constexpr int kHeaderPadding = 12;
    static constexpr int kMargin = 4;

protected:
    void copyControlState(const Window& from) override;

private:
    struct Item
    {
        Kdr_String text;
        std::intptr_t data = 0;
    };
    std::vector<Item> items_;
    int selection_ = -1;
};
} // namespace ui
