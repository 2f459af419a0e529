#include "frame/ZxRecordDialogs.h"

#include "frame/KaldorSS.h"
#include "frame/ZxFormDlg.h"
#include "host/MacroData.h"

void registerRecordDialogTemplates(ui::ResourceModule& module)
{
    registerRecordForm<ZxSelectMacroArgs>(module, IDD_SELECT_MACRO, "Select Macro");
    registerRecordForm<DlgMacroCutsData>(module, IDD_MACRO_CUTS, "Macro Cuts");
    registerRecordForm<DlgProfCutsData>(module, IDD_PROF_CUTS, "Profile Cuts");
    registerRecordForm<ZxMacroProfAdvArgs>(module, IDD_MACRO_PROF_ADV, "Profile");
    registerRecordForm<DlgProfFeaturesData>(module, IDD_PROF_FEATURES, "Profile Features");
    registerRecordForm<DynArrayData>(module, IDD_ARRAY, "Array");
    registerRecordForm<ZxDSTVPointsData>(module, IDD_DSTV_POINTS, "DSTV Points");
    registerRecordForm<ZxGridDlgData>(module, IDD_GRID, "Grid");
    registerRecordForm<ZxLevelsDlgData>(module, IDD_LEVELS, "Levels");
    registerRecordForm<ZxLookUpDlgData>(module, IDD_LOOK_UP, "Look Up");
    registerRecordForm<ZxSelectImageDlgData>(module, IDD_SELECT_IMAGE, "Select Image");
    registerRecordForm<ZxCladdingDlgData>(module, IDD_CLADDING, "Cladding Settings");
    registerRecordForm<ZxDlgCis2Data>(module, IDD_CIS2_INFO, "CIS/2 Information");
    registerRecordForm<ZxBracingDlgData>(module, IDD_BRACING, "Bracing");
    registerRecordForm<ZxAutoStandardsData>(module, IDD_GEN_VARS, "General Variables");
}

ZxDSTVPointsData& dstvPoints()
{
    static ZxDSTVPointsData points;
    return points;
}

namespace
{
bool selectMacro(ZxSelectMacroArgs args, Kdr_String& selected, bool& useFilter)
{
    const Kdr_String caption = args.caption;
    if (!startFormDialog(IDD_SELECT_MACRO, args, caption))
        return false;
    selected = args.names.validIndex(args.selected) ? args.names[args.selected] : Kdr_String();
    useFilter = args.useFilter;
    return true;
}

/// The merged properties of a member group, edited; on OK stored in the group. The callback,
/// when there is one, may fill the properties first and may refuse them after.
bool editMemberGroup(MacroData& data, const Kdr_String& tabName, const Kdr_String& groupName, bool readOnly,
                     const ZxMACallBackData* callbackData, ZxMACallBack callback)
{
    int tabIndex = -1;
    MacroTabData* tab = nullptr;
    MacroProfData* group = nullptr;
    if (!data.findTab(tabName, tabIndex) || !data.getTab(tabIndex, tab) ||
        !tab->findProfDataWithGroup(groupName, group))
        return false;
    MacroProfData working = *group;
    if (callback && !callback(kMACallBackInit, *callbackData, working))
        return false;
    ZxMacroProfAdvArgs args;
    args.props = working.merged;
    args.readOnly = readOnly;
    if (!startFormDialog(IDD_MACRO_PROF_ADV, args, group->groupName) || readOnly)
        return false;
    working.merged = args.props;
    if (callback && !callback(kMACallBackApply, *callbackData, working))
        return false;
    return tab->setMergedPropsOfGroup(groupName, working.merged);
}
} // namespace

bool StartDlgSelectMacro(const Kdr_String& caption, const Kdr_StringArray& names, const int& filter,
                         const int& initial, Kdr_String& selected, bool& useFilter, bool allowNone)
{
    ZxSelectMacroArgs args;
    args.caption = caption;
    args.names = names;
    args.filter = filter;
    args.selected = names.validIndex(initial) ? initial : -1;
    args.useFilter = useFilter;
    args.allowNone = allowNone;
    return selectMacro(std::move(args), selected, useFilter);
}

bool StartDlgSelectMacro(const Kdr_String& caption, const Kdr_StringArray& names,
                         const AcArray<bool>& selectable, const int& filter, const int& initial,
                         Kdr_String& selected, bool& useFilter, bool allowNone)
{
    ZxSelectMacroArgs args;
    args.caption = caption;
    args.names = names;
    args.selectable.assign(selectable.begin(), selectable.end());
    args.filter = filter;
    args.selected = names.validIndex(initial) ? initial : -1;
    args.useFilter = useFilter;
    args.allowNone = allowNone;
    return selectMacro(std::move(args), selected, useFilter);
}

bool StartDlgMacroCuts(DlgMacroCutsData& data, bool& changed)
{
    const DlgMacroCutsData before = data;
    const bool ok = startFormDialog(IDD_MACRO_CUTS, data);
    changed = ok && !(data == before);
    return ok;
}

bool StartEditProfCutsDlg(DlgProfCutsData& data)
{
    return startFormDialog(IDD_PROF_CUTS, data);
}

void StartDlgMacroProfAdv(MacroData& data, const Kdr_String& tabName, const Kdr_String& groupName,
                          bool readOnly)
{
    editMemberGroup(data, tabName, groupName, readOnly, nullptr, nullptr);
}

void StartDlgMacroProfAdv(MacroData& data, const Kdr_String& tabName, const Kdr_String& groupName,
                          const AcArray<AcDbObjectId>& objects, bool& ok, ZxMACallBack callback)
{
    ZxMACallBackData callbackData;
    callbackData.tabName = tabName;
    callbackData.groupName = groupName;
    callbackData.objects = objects;
    ok = editMemberGroup(data, tabName, groupName, false, &callbackData, callback);
}

bool StartDlgProfFeatures(DlgProfFeaturesData& data)
{
    return startFormDialog(IDD_PROF_FEATURES, data);
}

bool StartArrayDlg(DynArrayData& data, const AcArray<AcDbObjectId>& objects, const Kdr_String& caption)
{
    // The objects are the host's to copy; the dialog only sets up how.
    static_cast<void>(objects);
    return startFormDialog(IDD_ARRAY, data, caption);
}

void StartDSTVPointsDlg()
{
    startFormDialog(IDD_DSTV_POINTS, dstvPoints());
}

bool StartDlgGrid(ZxGridDlgData& data)
{
    return startFormDialog(IDD_GRID, data);
}

bool StartDlgLevels(ZxLevelsDlgData& data)
{
    return startFormDialog(IDD_LEVELS, data);
}

bool StartDlgLookUp(ZxLookUpDlgData& data)
{
    return startFormDialog(IDD_LOOK_UP, data);
}

bool StartDlgSelectImage(ZxSelectImageDlgData& data)
{
    return startFormDialog(IDD_SELECT_IMAGE, data);
}

bool StartDlgCladdingSettings(ZxCladdingDlgData& data)
{
    return startFormDialog(IDD_CLADDING, data);
}

bool StartDlgCis2Info(ZxDlgCis2Data& data)
{
    return startFormDialog(IDD_CIS2_INFO, data);
}

bool StartDlgBracing(ZxBracingDlgData& data)
{
    return startFormDialog(IDD_BRACING, data);
}

bool StartDlgGenVars(ZxAutoStandardsData& data)
{
    return startFormDialog(IDD_GEN_VARS, data);
}
