// Binding a template to one tab of a macro dialog: which macro object each control type
// shows, where the control's identifier is recorded, and how values travel between the
// controls and the tab.

#include "designer/Kdr_DesignerFiles.h"
#include "designer/Kdr_DlgDesignerData.h"
#include "host/FileFunctions.h"
#include "host/MacroLangs.h"
#include "host/MacroTabData.h"
#include "host/OffsetTypes.h"
#include "host/SectionTables.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"
#include "host/Texts.h"
#include "library/Kdr_ProfValuesTable.h"
#include "ui/ComboBox.h"

namespace
{
bool isCellButton(int type)
{
    return type == ctCellButtonA || type == ctCellButtonB;
}

/// A caption as the user's language shows it.
Kdr_String translatedCaption(const Kdr_String& caption)
{
    return MacroLangs::GetStringChopSymbols("", caption, true, 'x');
}

/// The name a section is shown by: its display name, else its system name.
Kdr_String sectionUserName(const Kdr_String& systemName)
{
    Kdr_String userName;
    return gSectionTables.getUserName(systemName, userName) && !userName.isEmpty() ? userName : systemName;
}

/// The display names of every size of the table a section belongs to ("IPE-200" → the
/// sizes of "IPE.pr"); empty when the table cannot be read.
Kdr_StringArray sectionChoices(const Kdr_String& systemName)
{
    Kdr_StringArray choices;
    Kdr_String tableName;
    if (!systemName.getSubstrBefore("-", tableName, true) || tableName.isEmpty() ||
        !ObjectExportFileExists(gSettings.libDir() + "prof/" + tableName + ".pr"))
        return choices;
    Kdr_ProfValuesTable table;
    if (!table.readFromFile(tableName))
        return choices;
    Kdr_StringArray names;
    table.getSysNames(names);
    for (const Kdr_String& name : names)
        choices.append(sectionUserName(name));
    return choices;
}

/// Selects the item equal to `text` of a drop-down list, or sets the text of an editable
/// combo box; other windows get `text` as their text.
void showComboText(ui::Window* window, const Kdr_String& text)
{
    auto* combo = dynamic_cast<ui::ComboBox*>(window);
    if (combo == nullptr)
    {
        if (window != nullptr)
            window->SetWindowText(text);
        return;
    }
    const int index = combo->FindStringExact(-1, text);
    combo->SetCurSel(index);
    if (index < 0 && combo->hasEditField())
        combo->SetWindowText(text);
}
} // namespace

Kdr_String Kdr_DlgDesignerData::narrowButtonCaption(const Kdr_DesignerControl& control,
                                                    const Kdr_String& text) const
{
    const int perCharacter = gSettings.dialogFontScheme() == 4 ? 8 : 4;
    return getWidth(control) >= static_cast<double>(text.length()) * perCharacter ? text : Kdr_String("...");
}

bool Kdr_DlgDesignerData::loadMacroTab(ui::Window* dialog, MacroTabData& tab)
{
    tab.removeAllDlgReferences();
    removeAllControls();
    if (!initialize(dialog, kFirstDynId, kLastDynId, 0, 0, 0, 0, 0, false))
        return false;
    const Kdr_String path = designer::resolveTemplatePath(tab.templatePath());
    if (path.isEmpty() || !readFromFile(path, true))
        return false;
    for (int i = 0; i < getNrControls();)
    {
        if (bindControl(*getControlWrite(i), tab))
            ++i;
        else
            removeControl(i);
    }
    redrawAllControls();
    setFlexFixStates(tab);
    return true;
}

bool Kdr_DlgDesignerData::bindControl(Kdr_DesignerControl& control, MacroTabData& tab)
{
    const int id = control.resourceId;
    const int type = control.type;
    switch (type)
    {
    case ctText:
    case ctGroup:
    {
        const MacroCellData* cell = nullptr;
        if (!control.comboList.isEmpty() && !tab.findCellWithName(control.comboList, cell))
            control.contents.clear();
        else
            control.contents = translatedCaption(control.contents);
        return true;
    }
    case ctCellEdit:
    case ctCellCombo:
    {
        MacroCellData* cell = nullptr;
        if (!tab.findCellWithName(control.contents, cell))
            return false;
        control.contents = cell->value;
        control.readOnly = cell->readOnly;
        // A list variable offers its own choices when the template names no item file.
        if (type == ctCellCombo && control.comboList.isEmpty() && control.comboItems.isEmpty())
            control.comboItems = cell->items;
        cell->dlgRef = id;
        return true;
    }
    case ctPatternCount1:
    case ctPatternCount2:
    case ctPatternButton:
    case ctBoltProp1:
    case ctBoltProp2:
    case ctBoltProp3:
    case ctBoltProp4:
    case ctBoltProp5:
    {
        MacroPatternProps* pattern = nullptr;
        if (!tab.findPatternWithName(control.contents, pattern))
            return false;
        if (type == ctPatternCount1)
        {
            control.contents = pattern->count1;
            pattern->count1Ref = id;
        }
        else if (type == ctPatternCount2)
        {
            if (MacroPatternProps::getCount(pattern->count2) == -1)
                return false;
            control.contents = pattern->count2;
            pattern->count2Ref = id;
        }
        else if (type == ctPatternButton)
        {
            control.contents = "...";
            pattern->buttonRef = id;
        }
        else
        {
            MacroBoltData* bolts = nullptr;
            const int number = type - ctBoltProp1 + 1;
            if (!tab.getBoltData(bolts) || bolts->text(number) == nullptr)
                return false;
            control.contents = *bolts->text(number);
            bolts->dlgRefs[static_cast<std::size_t>(number - 1)] = id;
        }
        return true;
    }
    case ctButton:
        return true;
    case ctProfSection:
    case ctProfButton:
    case ctProfOffsetType:
    case ctProfAngle:
    case ctProfMoreButton:
    {
        MacroProfData* group = nullptr;
        MacroProfProps merged;
        if (!tab.findProfDataWithGroup(control.contents, group) ||
            !tab.getMergedPropsOfGroup(group->groupName, merged))
            return false;
        const int slot = type - ctProfSection;
        if (type == ctProfSection)
        {
            control.comboItems = sectionChoices(merged.section);
            control.contents = sectionUserName(merged.section);
        }
        else if (type == ctProfButton)
            control.contents = dialString(969);
        else if (type == ctProfOffsetType)
        {
            getOffsetTypeStrings(control.comboItems);
            const int index = getDlgOffsetType(merged.offsetType);
            control.contents =
                index >= 0 && index < control.comboItems.length() ? control.comboItems[index] : "";
        }
        else if (type == ctProfAngle)
        {
            control.comboItems = Kdr_StringArray{"0", "90", "180", "270", indeterminateText()};
            control.contents = merged.rotation;
        }
        else
            control.contents = narrowButtonCaption(control, dialString(968));
        group->dlgRefs[static_cast<std::size_t>(slot)] = id;
        return true;
    }
    case ctArrayProp1:
    case ctArrayProp2:
    case ctArrayProp3:
    case ctArrayProp4:
    case ctArrayProp5:
    case ctArrayEntry:
    case ctArrayButton:
    {
        DynArrayData* array = nullptr;
        if (!tab.findArrayWithName(control.contents, array))
            return false;
        if (type == ctArrayButton)
        {
            control.contents = narrowButtonCaption(control, dialString(968));
            array->buttonRef = id;
        }
        else if (type == ctArrayEntry)
        {
            // A regular array has no entries: the control stays, showing the array's name.
            if (array->mode == DynArrayData::kRegular)
                return true;
            DynArrayEntry* entry = nullptr;
            if (!array->getEntry(control.comboList.toInt(), entry))
                return false;
            control.contents = entry->text;
            entry->dlgRef = id;
        }
        else
        {
            const int number = type - ctArrayProp1 + 1;
            // The count belongs to regular arrays only.
            if (number == 3 && array->mode != DynArrayData::kRegular)
                return true;
            control.contents = *array->text(number);
            array->dlgRefs[static_cast<std::size_t>(number - 1)] = id;
        }
        return true;
    }
    case ctCellButtonA:
    case ctCellButtonB:
    {
        MacroCellData* cell = nullptr;
        if (!tab.findCellWithName(control.cellBtnFields[0], cell) || !cell->readOnly)
            return false;
        cell->dlgRef = id;
        return true;
    }
    case ctDrawingList:
    {
        if (!tab.offersDrawingList())
            return false;
        Kdr_String folder = control.comboList;
        ensureEndBSlash(folder);
        Kdr_StringArray files;
        control.comboItems.clear();
        if (ObjectExportFindFiles(gSettings.libDir() + folder, "*.dwg", files))
            for (const Kdr_String& file : files)
                control.comboItems.append(host::getFileTitle(file));
        control.comboItems.append(indeterminateText());
        control.contents = tab.drawingName();
        tab.setDrawingRef(id);
        return true;
    }
    case ctCutType:
    {
        MacroCutData* cut = nullptr;
        if (!tab.findCutWithName(control.contents, cut))
            return false;
        control.contents = Kdr_String(cut->value);
        cut->dlgRef = id;
        return true;
    }
    case ctCellCheck:
    {
        MacroCellData* cell = nullptr;
        if (!tab.findCellWithName(control.comboList, cell))
            return false;
        control.contents = translatedCaption(control.contents);
        control.comboList = cell->value;
        control.readOnly = cell->readOnly;
        cell->dlgRef = id;
        return true;
    }
    case ctFlexFixButton:
        return tab.hasBtnFlexFix(control.contents);
    default:
        return true;
    }
}

void Kdr_DlgDesignerData::setFlexFixStates(const MacroTabData& tab)
{
    Kdr_StringArray groups;
    getFlexBtnsGroups(groups);
    for (const Kdr_String& name : groups)
    {
        const MacroFlexFixGroup* group = nullptr;
        if (!tab.findFlexFixGroup(name, group))
            continue;
        for (const MacroFlexFixGroup::Member& member : group->members)
            setFlexBtnStatus(name, member.name, member.fixed ? BST_UNCHECKED : BST_CHECKED);
    }
}

bool Kdr_DlgDesignerData::flexBtnClicked(int id, MacroTabData& tab)
{
    Kdr_String group;
    Kdr_String variable;
    int index = -1;
    int status = 0;
    if (!getFlexBtnGroupName(id, group, variable) || !findFlexButton(group, variable, index) ||
        !getSetFlexBtnStatus(false, index, status) || (status != BST_UNCHECKED && status != BST_CHECKED))
        return false;
    return tab.flexFixBtnClicked(group, variable, status == BST_CHECKED);
}

void Kdr_DlgDesignerData::setTabValuesToControls(const MacroTabData& tab)
{
    const auto windowOf = [this](int id) -> ui::Window*
    {
        int index = -1;
        return id > 0 && findCtrlFromResource(id, index) ? drawnWindowOf(index) : nullptr;
    };
    for (const MacroCellData& cell : tab.cells())
    {
        int type = -1;
        if (cell.dlgRef <= 0 || !getDynControlType(cell.dlgRef, type) || isCellButton(type))
            continue;
        if (type == ctCellCombo)
            showComboText(windowOf(cell.dlgRef), cell.value);
        else
            setCtrlValue(cell.dlgRef, cell.value);
        setCtrlReadOnly(cell.dlgRef, cell.readOnly);
    }
    for (const MacroPatternProps& pattern : tab.patterns())
    {
        if (pattern.count1Ref > 0)
            setCtrlValue(pattern.count1Ref, pattern.count1);
        if (pattern.count2Ref > 0)
            setCtrlValue(pattern.count2Ref, pattern.count2);
    }
    const MacroBoltData* bolts = nullptr;
    if (tab.getBoltData(bolts))
        for (int number = 1; number <= MacroBoltData::kTextCount; ++number)
        {
            const int ref = bolts->dlgRefs[static_cast<std::size_t>(number - 1)];
            if (ref > 0)
                showComboText(windowOf(ref), *bolts->text(number));
        }
    for (const MacroProfData& group : tab.profGroups())
    {
        MacroProfProps merged;
        if (!tab.getMergedPropsOfGroup(group.groupName, merged))
            continue;
        if (group.dlgRefs[0] > 0)
            showComboText(windowOf(group.dlgRefs[0]), sectionUserName(merged.section));
        if (auto* combo = dynamic_cast<ui::ComboBox*>(windowOf(group.dlgRefs[2])))
            combo->SetCurSel(getDlgOffsetType(merged.offsetType));
        if (group.dlgRefs[3] > 0)
            showComboText(windowOf(group.dlgRefs[3]), merged.rotation);
    }
    for (const DynArrayData& array : tab.arrays())
    {
        for (int number = 1; number <= DynArrayData::kTextCount; ++number)
            if (array.dlgRefs[static_cast<std::size_t>(number - 1)] > 0)
                setCtrlValue(array.dlgRefs[static_cast<std::size_t>(number - 1)],
                             array.texts[static_cast<std::size_t>(number - 1)]);
        for (const DynArrayEntry& entry : array.entries)
            if (entry.dlgRef > 0)
                setCtrlValue(entry.dlgRef, entry.text);
    }
    for (const MacroCutData& cut : tab.cuts())
        if (cut.dlgRef > 0)
            setCtrlValue(cut.dlgRef, Kdr_String(cut.value));
    if (tab.drawingRef() > 0)
        showComboText(windowOf(tab.drawingRef()), tab.drawingName());
    setFlexFixStates(tab);
}

void Kdr_DlgDesignerData::getTabValuesFromControls(MacroTabData& tab) const
{
    const auto valueOf = [this](int ref, Kdr_String& value) { return ref > 0 && getCtrlValue(ref, value); };
    Kdr_String value;
    for (MacroCellData& cell : tab.cells())
    {
        int type = -1;
        // A cell button's caption is no value of its base variable.
        if (cell.dlgRef <= 0 || !getDynControlType(cell.dlgRef, type) || isCellButton(type))
            continue;
        if (valueOf(cell.dlgRef, value))
            cell.value = value;
    }
    for (MacroPatternProps& pattern : tab.patterns())
    {
        if (valueOf(pattern.count1Ref, value))
            pattern.count1 = value;
        if (valueOf(pattern.count2Ref, value))
            pattern.count2 = value;
    }
    MacroBoltData* bolts = nullptr;
    if (tab.getBoltData(bolts))
        for (int number = 1; number <= MacroBoltData::kTextCount; ++number)
            if (valueOf(bolts->dlgRefs[static_cast<std::size_t>(number - 1)], value))
                *bolts->text(number) = value;
    for (const MacroProfData& group : tab.profGroups())
    {
        MacroProfProps merged;
        if (!tab.getMergedPropsOfGroup(group.groupName, merged))
            continue;
        bool changed = false;
        Kdr_String systemName;
        if (valueOf(group.dlgRefs[0], value) && gSectionTables.getSystemName(value, systemName) &&
            systemName != merged.section)
        {
            merged.section = systemName;
            changed = true;
        }
        int index = -1;
        if (group.dlgRefs[2] > 0 && findCtrlFromResource(group.dlgRefs[2], index))
            if (auto* combo = dynamic_cast<ui::ComboBox*>(drawnWindowOf(index));
                combo && combo->GetCurSel() >= 0 && combo->GetCurSel() != getDlgOffsetType(merged.offsetType))
            {
                merged.offsetType = combo->GetCurSel();
                changed = true;
            }
        if (valueOf(group.dlgRefs[3], value) && value != merged.rotation && value != indeterminateText())
        {
            merged.rotation = value;
            changed = true;
        }
        if (changed)
            tab.setMergedPropsOfGroup(group.groupName, merged);
    }
    for (DynArrayData& array : tab.arrays())
    {
        for (int number = 1; number <= DynArrayData::kTextCount; ++number)
            if (valueOf(array.dlgRefs[static_cast<std::size_t>(number - 1)], value))
                array.texts[static_cast<std::size_t>(number - 1)] = value;
        for (DynArrayEntry& entry : array.entries)
            if (valueOf(entry.dlgRef, value))
                entry.text = value;
    }
    for (MacroCutData& cut : tab.cuts())
        if (valueOf(cut.dlgRef, value) && value.toInt() >= 0)
            cut.value = value.toInt();
    if (valueOf(tab.drawingRef(), value) && value != indeterminateText())
        tab.setDrawingName(value);
}
