#include "ui/CheckListComboBox.h"

namespace ui
{
int CheckListComboBox::GetCheck(int index) const
{
    if (!validIndex(index))
        return CB_ERR;
    return items()[static_cast<std::size_t>(index)].checked ? BST_CHECKED : BST_UNCHECKED;
}

int CheckListComboBox::SetCheck(int index, bool checked)
{
    if (!validIndex(index))
        return CB_ERR;
    Item& item = items()[static_cast<std::size_t>(index)];
    if (item.checked != checked)
    {
        item.checked = checked;
        changed(Property::Check);
    }
    return 0;
}

std::vector<int> CheckListComboBox::checkedIndices() const
{
    std::vector<int> result;
    for (int i = 0; i < GetCount(); ++i)
        if (items()[static_cast<std::size_t>(i)].checked)
            result.push_back(i);
    return result;
}

bool CheckListComboBox::toggleCheckAsUser(int index)
{
    if (!IsWindow() || !IsWindowEnabled() || !validIndex(index))
        return false;
    DispatchScope scope;
    SetCheck(index, GetCheck(index) != BST_CHECKED);
    notifyParent(CBN_CHECKCHANGE);
    return true;
}
} // namespace ui
