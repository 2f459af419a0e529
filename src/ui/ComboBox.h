#pragma once

#include "host/Kdr_StringArray.h"
#include "ui/Window.h"

#include <cstdint>
#include <vector>

namespace ui
{
/// A combo box ("COMBOBOX"): a list of items with one selection and, for the drop-down and
/// simple kinds, an edit field. CBS_DROPDOWNLIST has no edit field: its text is the selected
/// item. Calls from code change nothing silently beyond their effect and notify nobody; the
/// user's choices (selectAsUser, typeAsUser) send the notifications the platform sends.
class ComboBox : public Window
{
public:
    using Window::Create;
    bool Create(std::uint32_t style, const Rect& rect, Window* parent, int id)
    {
        return Window::Create("COMBOBOX", "", style, rect, parent, id);
    }

    int GetCount() const { return static_cast<int>(items_.size()); }
    int GetCurSel() const { return selection_; }
    /// Selects an item (−1 clears); an editable combo shows its text. CB_ERR for an index
    /// outside the list, which also clears the selection.
    int SetCurSel(int index);
    /// Adds an item at the end, or in order with CBS_SORT (letter case ignored); its index.
    int AddString(std::string_view text);
    /// Inserts before `index` (−1 appends); CB_ERR for an index beyond the end.
    int InsertString(int index, std::string_view text);
    /// Removes an item; the number left, or CB_ERR.
    int DeleteString(int index);
    void ResetContent();
    /// The first item beginning with `prefix` (letter case ignored), searching after
    /// `startAfter` (−1: from the top) and wrapping round; CB_ERR when none.
    int FindString(int startAfter, std::string_view prefix) const;
    /// The first item equal to `text` (letter case ignored), searched the same way.
    int FindStringExact(int startAfter, std::string_view text) const;
    /// Selects the first item beginning with `prefix`; its index or CB_ERR (selection kept).
    int SelectString(int startAfter, std::string_view prefix);
    void GetLBText(int index, Kdr_String& text) const;
    Kdr_String GetLBText(int index) const;
    int GetLBTextLen(int index) const;
    std::uintptr_t GetItemData(int index) const;
    int SetItemData(int index, std::uintptr_t data);
    Kdr_StringArray itemTexts() const;

    /// CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST.
    std::uint32_t kind() const { return GetStyle() & CBS_TYPEMASK; }
    bool hasEditField() const { return kind() != CBS_DROPDOWNLIST; }
    /// With an edit field: the edit text. A drop-down list: the selected item's text.
    Kdr_String GetWindowText() const override;
    /// With an edit field: sets the edit text (the selection stays). A drop-down list has no
    /// text of its own and ignores it.
    void SetWindowText(std::string_view text) override;
    void ShowDropDown(bool show = true);
    bool GetDroppedState() const { return dropped_; }
    void LimitText(int maximum) { limit_ = maximum > 0 ? maximum : 0; }
    bool SetEditSel(int start, int end);
    void GetEditSel(int& start, int& end) const
    {
        start = editSelStart_;
        end = editSelEnd_;
    }

    /// The user picks an item from the list: CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK and
    /// CBN_CLOSEUP. False when disabled or the index is outside the list.
    bool selectAsUser(int index);
    /// The user types over the edit field's text: CBN_EDITUPDATE and CBN_EDITCHANGE. The
    /// selection follows an item equal to the text, else becomes −1. False without an edit
    /// field or when disabled.
    bool typeAsUser(std::string_view text);

protected:
    struct Item
    {
        Kdr_String text;
        std::uintptr_t data = 0;
        bool checked = false;
    };

    int OnCreate() override;
    void OnSetFocus(Window* oldFocus) override;
    void OnKillFocus(Window* newFocus) override;
    void OnKeyDown(unsigned key) override;
    void copyControlState(const Window& from) override;
    bool validIndex(int index) const { return index >= 0 && index < GetCount(); }
    std::vector<Item>& items() { return items_; }
    const std::vector<Item>& items() const { return items_; }

private:
    template <typename Match> int findFrom(int startAfter, Match match) const;

    std::vector<Item> items_;
    int selection_ = CB_ERR;
    Kdr_String editText_;
    bool dropped_ = false;
    int limit_ = 0;
    int editSelStart_ = 0;
    int editSelEnd_ = 0;
};
} // namespace ui
