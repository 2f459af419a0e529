#pragma once

#include "ui/ComboBox.h"

namespace ui
{
/// A drop-down list with a check mark in front of every item. Checks belong to the items
/// and move with them when items are inserted or removed. The user toggling a check sends
/// CBN_CHECKCHANGE; changing checks from code notifies nobody.
class CheckListComboBox : public ComboBox
{
public:
    /// BST_CHECKED or BST_UNCHECKED; CB_ERR for an index outside the list.
    int GetCheck(int index) const;
    /// Sets an item's check; CB_ERR for an index outside the list, else 0.
    int SetCheck(int index, bool checked);
    /// The indices of the checked items, in list order.
    std::vector<int> checkedIndices() const;
    /// The user clicks an item's check mark. False when disabled or the index is outside.
    bool toggleCheckAsUser(int index);
};
} // namespace ui
