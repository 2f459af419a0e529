#pragma once

#include "host/Kdr_StringArray.h"

#include <functional>
#include <string>
#include <vector>

class Kdr_DbMacro;
class MacroData;
struct DynArrayData;
struct MacroPatternProps;

/// What the macro dialog asks of the drawing: applying a tab's changes to the macros, picking
/// other macros, filters, views, the clash check and block swaps.
///
/// The drawing is not modelled here, so this is a stand-in: every request is recorded as one
/// line in `calls` (for tests and for the command line), and what an in-memory model can do
/// is done — a changed variable of a tab lands in the dialog variables of the macros that are
/// being edited. The macros being edited are those of `drawing` whose names the dialog data
/// lists (every macro of `drawing` when it lists none).
class MacroDialogHost
{
public:
    /// The macros of the drawing; not owned.
    std::vector<Kdr_DbMacro*> drawing;
    /// One line per request, in order, e.g. "UpdateModule Plate: Thickness".
    std::vector<std::string> calls;

    /// Whether UpdateModule and reApply succeed (tests switch them off).
    bool updateSucceeds = true;
    bool reApplySucceeds = true;
    /// The clash check's on/off setting.
    bool clashCheckOn = false;
    /// Whether property lists may be loaded and saved, and the files offered for it.
    bool propListAllowed = true;
    Kdr_StringArray propFiles;
    /// The items of the two filter combo boxes (1177: module groups, 1178: macros).
    Kdr_StringArray filterItems[2];
    /// The bolt assemblies and diameters the host offers.
    Kdr_StringArray assemblies{"M12 8.8 ISO 4017", "M16 8.8 ISO 4017", "M20 8.8 ISO 4017",
                               "M24 10.9 ISO 4017"};
    Kdr_StringArray diameters{"12", "16", "20", "24", "27", "30"};
    /// What picking other macros in the drawing does with the dialog data; returns whether
    /// the selection changed. Without one the selection stays as it was.
    std::function<bool(MacroData&)> pickMacros;

    /// What the array and bolt-pattern dialogs do with what they edit; returns whether the
    /// user accepted. Without one they are cancelled.
    std::function<bool(DynArrayData&)> editArray;
    std::function<bool(MacroPatternProps&)> editPattern;

    void record(std::string line) { calls.push_back(std::move(line)); }
    void reset();
};

/// The stand-in the module talks to.
MacroDialogHost& macroDialogHost();

/// Applies the changes of tab `tabIndex` (the names `changed`, as MacroTabData::differences
/// lists them) to the macros being edited. False when the host refuses them.
bool UpdateModule(MacroData& data, int tabIndex, const Kdr_StringArray& changed);
/// Lets the user pick macros in the drawing; true when the selection changed.
bool SelectOtherMacros(MacroData& data);
/// A filter combo box changed: `moduleFilter` is 1 for the module-group filter, 0 for the
/// macro filter; the data is rebuilt for the new selection.
void UpdateAllFilterModified(MacroData& data, int moduleFilter);
/// Writes every variable of the dialog data into the macros being edited.
bool setAllToMacro(MacroData& data);
/// Swaps the drawing block of a tab to the drawing file `path`.
bool swapBlockRefs(MacroData& data, int tabIndex, const Kdr_String& path);

/// The array dialog (outside this module's dialogs here): edits one array of a tab.
bool StartArrayDlg(DynArrayData& array);
/// The bolt-pattern dialog: edits one bolt pattern of a tab.
bool StartBoltPatternDlg(MacroPatternProps& pattern);

/// The bolt assemblies the host knows.
void GetAssemblies(Kdr_StringArray& names);

void clashInitDlgStarted();
void clashResetInfo();
void clashcheck();
void clashDlgClosed();
