#include "designer/Kdr_DesignerControl.h"

#include "host/FileFunctions.h"
#include "host/Kdr_PropertiesList.h"
#include "host/StringFunctions.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"

namespace
{
Kdr_String key(const char* name, int index)
{
    return Kdr_String(name) + std::to_string(index);
}

bool isCellButton(int type)
{
    return type == ctCellButtonA || type == ctCellButtonB;
}
} // namespace

bool isButtonType(int type)
{
    switch (type)
    {
    case ctGroup:
    case ctPatternButton:
    case ctButton:
    case ctProfButton:
    case ctProfMoreButton:
    case ctArrayButton:
    case ctCellButtonA:
    case ctCellButtonB:
    case ctCellCheck:
    case ctFlexFixButton:
        return true;
    default:
        return false;
    }
}

bool isEditType(int type)
{
    return type == ctCellEdit || type == ctPatternCount1 || type == ctPatternCount2 ||
           (type >= ctBoltProp2 && type <= ctBoltProp5) || (type >= ctArrayProp1 && type <= ctArrayEntry);
}

bool isComboType(int type)
{
    switch (type)
    {
    case ctCellCombo:
    case ctBoltProp1:
    case ctProfSection:
    case ctProfOffsetType:
    case ctProfAngle:
    case ctDrawingList:
    case ctCutType:
        return true;
    default:
        return false;
    }
}

const char* getControlClassName(int type)
{
    if (isButtonType(type))
        return "BUTTON";
    if (isEditType(type))
        return "EDIT";
    if (isComboType(type))
        return "COMBOBOX";
    return "STATIC";
}

void Kdr_DesignerControl::getFromPropList(const Kdr_PropertiesList& list, int index)
{
    int storedType = 0;
    if (!list.getInt(key("type", index), storedType))
        storedType = 0;
    type = static_cast<Kdr_ControlType>(storedType);
    list.getDouble(key("topLeftX", index), topLeftX);
    list.getDouble(key("topLeftY", index), topLeftY);
    list.getDouble(key("bottomRightX", index), bottomRightX);
    list.getDouble(key("bottomRightY", index), bottomRightY);
    list.getString(key("contents", index), contents);
    Kdr_String merged;
    list.getString(key("comboList", index), merged);
    setSplitExtComboList(merged);
}

void Kdr_DesignerControl::setToPropList(Kdr_PropertiesList& list, int index) const
{
    list.setInt(key("type", index), static_cast<int>(type));
    list.setDouble(key("topLeftX", index), topLeftX);
    list.setDouble(key("topLeftY", index), topLeftY);
    list.setDouble(key("bottomRightX", index), bottomRightX);
    list.setDouble(key("bottomRightY", index), bottomRightY);
    list.setString(key("contents", index), contents);
    list.setString(key("comboList", index), getMergedExtComboList());
}

Kdr_String Kdr_DesignerControl::getMergedExtComboList() const
{
    if (isCellButton(type))
        return cellBtnFields[0] + ";" + cellBtnFields[1] + ";" + cellBtnFields[2] + ";" + cellBtnFields[3] +
               ";" + comboList;
    if (type == ctFlexFixButton)
        return flexFields[0] + ";" + flexFields[1] + ";" + flexFields[2] + ";" + flexFields[3];
    return comboList;
}

bool Kdr_DesignerControl::setSplitExtComboList(const Kdr_String& text)
{
    if (isCellButton(type))
    {
        Kdr_StringArray parts;
        splitString(text, ";", parts);
        for (Kdr_String& field : cellBtnFields)
            field.clear();
        comboList.clear();
        for (int i = 0; i < parts.length() && i < 5; ++i)
            (i < 4 ? cellBtnFields[static_cast<std::size_t>(i)] : comboList) = parts[i];
    }
    else if (type == ctFlexFixButton)
    {
        Kdr_StringArray parts;
        splitString(text, ";", parts);
        for (Kdr_String& field : flexFields)
            field.clear();
        for (int i = 0; i < parts.length() && i < 4; ++i)
            flexFields[static_cast<std::size_t>(i)] = parts[i];
    }
    else
    {
        comboList = text;
        cellBtnFields[1].clear();
    }
    return true;
}

void Kdr_DesignerControl::getComboItemsFromFile(Kdr_StringArray& items) const
{
    if (comboList.isEmpty() || !ObjectExportFileExists(comboList))
        return;
    Kdr_StringArray lines;
    if (ObjectExportReadFile(comboList, lines))
        items = lines;
}

bool Kdr_DesignerControl::getCtrlPtr(const ui::Window* dialog, ui::Window*& window) const
{
    if (dialog == nullptr || !dialog->IsWindow())
        return false;
    ui::Window* child = dialog->GetDlgItem(resourceId);
    if (child == nullptr)
        return false;
    window = child;
    return true;
}

ui::ComboBox* Kdr_DesignerControl::getComboPtr(const ui::Window* dialog) const
{
    if (type != ctCellCombo && type != ctProfSection && type != ctProfOffsetType && type != ctProfAngle)
        return nullptr;
    ui::Window* window = nullptr;
    return getCtrlPtr(dialog, window) ? dynamic_cast<ui::ComboBox*>(window) : nullptr;
}

ui::Button* Kdr_DesignerControl::getButtonPtr(const ui::Window* dialog) const
{
    if (!isButtonType(type) || resourceId == 0)
        return nullptr;
    ui::Window* window = nullptr;
    return getCtrlPtr(dialog, window) ? dynamic_cast<ui::Button*>(window) : nullptr;
}

ui::Edit* Kdr_DesignerControl::getEditPtr(const ui::Window* dialog) const
{
    if (!isEditType(type) || resourceId == 0)
        return nullptr;
    ui::Window* window = nullptr;
    return getCtrlPtr(dialog, window) ? dynamic_cast<ui::Edit*>(window) : nullptr;
}

bool Kdr_DesignerControl::sameTemplateData(const Kdr_DesignerControl& other) const
{
    return type == other.type && topLeftX == other.topLeftX && topLeftY == other.topLeftY &&
           bottomRightX == other.bottomRightX && bottomRightY == other.bottomRightY &&
           contents == other.contents && getMergedExtComboList() == other.getMergedExtComboList();
}
