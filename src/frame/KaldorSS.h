#pragma once

// The public interface of the spreadsheet module: the library entry, the application entry
// point and every exported entry point the host calls, with the records they take.
//
// Every entry point runs on the host's user-interface thread with the module's resources
// current and the caller's current again when it returns. A modal entry point copies the
// caller's record into its dialog and back only when the user ends it with OK: it returns
// true then, and false with the record as it was passed otherwise. Entry points without a
// result report OK through their bool& argument where they have one.

#include "frame/ZxDialogRecords.h"
#include "frame/ZxModuleEntry.h"
#include "host/AcDbObjectId.h"
#include "host/DlgCSP2Data.h"
#include "host/EditConstrData.h"
#include "host/Kdr_StringArray.h"
#include "host/MacroData.h"
#include "library/Kdr_ProfValuesTable.h"
#include "standards/ZxDlgStandardsData.h"

struct DlgEditLibData;

// ---- standards evaluation and sheets ---------------------------------------------------

/// The spreadsheet formula test dialog, a development aid.
void EvaluateSS();
/// Runs one standards evaluation in a pooled hidden dialog. True on success.
bool StartDlgStandardsSS(ZxDlgStandardsData& data);
/// A fixed test request for the evaluation.
bool StartDlgStandardsSStest();
/// Reads a sheet file into its first cell's text, its column captions and its rows.
void ReadSSFile(const Kdr_String& file, Kdr_String& firstCell, Kdr_StringArray& columnCaptions,
                Kdr_Array<Kdr_StringArray>& rows);
/// The modal grid editor on a table of strings.
bool startGridDialog(const Kdr_StringArray& columnCaptions, const Kdr_StringArray& rowCaptions,
                     Kdr_Array<Kdr_StringArray>& rows, bool editable, Kdr_String sizeKey, Kdr_String caption);

// ---- macro dialogs ---------------------------------------------------------------------

/// The macro dialog, modal; the record is copied back when it ends, however it ends (every
/// accepted change has been applied to the drawing already). False when it cannot be shown.
bool StartDlgMacro(MacroData& data);
/// The macro dialog, modeless, in a registry slot whose number goes to `index`.
bool StartDlgMacroModeless(bool keepFocus, MacroData& data, int& index);
/// Copies the data of the modeless macro dialog in slot `index`.
bool GetDlgMacroData(int index, MacroData& data);
/// Closes the modeless macro dialog in slot `index` (later when it is busy).
bool EndDlgMacroModeless(int index);
/// Closes every modeless macro dialog.
void DestroyAllMacroDlgs();

// ---- rules editor ----------------------------------------------------------------------

/// The rules editor, modeless (one at a time).
bool StartDlgEditConstraints(EditConstrData& data);
/// The rules editor, modal.
bool StartDlgEditConstrModal(EditConstrData& data);
/// Destroys the modeless rules editor.
void EndDlgEditConstraints();

// ---- dialog designer and templates -------------------------------------------------------

/// The dialog designer window, modal, on a template file.
bool StartDlgDesigner(const Kdr_String& path);
/// The control names of a dialog template.
void GetImageDlgCtrlNames(const Kdr_String& path, Kdr_StringArray& names);
/// The root folder of the dialog templates.
Kdr_String getDesignerRootFolder();
/// The template names under the root folder.
void getModuleImages(Kdr_StringArray& names);

// ---- cutting stock and section library ---------------------------------------------------

/// The cutting stock optimisation dialog, modal.
bool StartDlgCSP2(DlgCSP2Data& data);
/// The section library editor, modal, on the section system `sysName`.
bool StartDlgEditLibSections(DlgEditLibData& data, const Kdr_String& sysName);
/// The simple section table editor, modal; `newIndex` receives the row of a new size.
bool StartDlgEditLibSimple(const Kdr_String& sysName, Kdr_ProfValuesTable& table, int& newIndex);

// ---- other macro dialogs (plain forms on their records) ----------------------------------

/// Macro selection. `selected` receives the chosen name ("" for none when `allowNone`);
/// `useFilter` is the state of the filter check box, in and out.
bool StartDlgSelectMacro(const Kdr_String& caption, const Kdr_StringArray& names, const int& filter,
                         const int& initial, Kdr_String& selected, bool& useFilter, bool allowNone);
/// The same with a per-name flag: a name whose flag is false cannot be chosen.
bool StartDlgSelectMacro(const Kdr_String& caption, const Kdr_StringArray& names,
                         const AcArray<bool>& selectable, const int& filter, const int& initial,
                         Kdr_String& selected, bool& useFilter, bool allowNone);
/// The macro cuts dialog; `changed` tells whether the accepted record differs from the one
/// passed.
bool StartDlgMacroCuts(DlgMacroCutsData& data, bool& changed);
bool StartEditProfCutsDlg(DlgProfCutsData& data);
/// The advanced profile dialog on the member group `groupName` of tab `tabName`; on OK the
/// group's merged properties are stored (never when `readOnly`).
void StartDlgMacroProfAdv(MacroData& data, const Kdr_String& tabName, const Kdr_String& groupName,
                          bool readOnly);
/// The same for the drawing objects `objects`: the callback fills the properties before the
/// dialog opens (kMACallBackInit) and applies them on OK (kMACallBackApply); either may
/// refuse. `ok` tells whether the properties were accepted and stored.
void StartDlgMacroProfAdv(MacroData& data, const Kdr_String& tabName, const Kdr_String& groupName,
                          const AcArray<AcDbObjectId>& objects, bool& ok, ZxMACallBack callback);
bool StartDlgProfFeatures(DlgProfFeaturesData& data);
/// The array dialog for the objects `objects`, with `caption` as its title (empty: the
/// dialog's own).
bool StartArrayDlg(DynArrayData& data, const AcArray<AcDbObjectId>& objects, const Kdr_String& caption);
/// The DSTV points dialog on the points kept for the session.
void StartDSTVPointsDlg();
bool StartDlgGrid(ZxGridDlgData& data);
bool StartDlgLevels(ZxLevelsDlgData& data);
bool StartDlgLookUp(ZxLookUpDlgData& data);
bool StartDlgSelectImage(ZxSelectImageDlgData& data);
bool StartDlgCladdingSettings(ZxCladdingDlgData& data);
bool StartDlgCis2Info(ZxDlgCis2Data& data);
bool StartDlgBracing(ZxBracingDlgData& data);
/// The general variables dialog.
bool StartDlgGenVars(ZxAutoStandardsData& data);
