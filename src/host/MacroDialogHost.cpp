#include "host/MacroDialogHost.h"

#include "host/Kdr_DbMacro.h"
#include "host/MacroArrayData.h"
#include "host/MacroData.h"

#include <algorithm>

namespace
{
bool isEdited(const MacroData& data, const Kdr_DbMacro& macro)
{
    const Kdr_StringArray& names = data.macroNames();
    if (names.length() == 0)
        return true;
    return std::any_of(names.begin(), names.end(),
                       [&](const Kdr_String& name) { return host::equalText(name, macro.name(), false); });
}

std::string joined(const Kdr_StringArray& names)
{
    std::string text;
    for (const Kdr_String& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Writes the tab's variables named in `names` (all of them when `names` is null) into every
// module of the edited macros whose group (or name, for a module without one) is the tab's.
void writeVariables(const MacroData& data, const MacroTabData& tab, const Kdr_StringArray* names)
{
    for (Kdr_DbMacro* dbMacro : macroDialogHost().drawing)
    {
        if (dbMacro == nullptr || !isEdited(data, *dbMacro))
            continue;
        Kdr_Macro& macro = dbMacro->macro();
        for (int m = 0; m < macro.moduleCount(); ++m)
        {
            Kdr_Module& module = macro.module(m);
            if (!host::equalText(module.groupOrName(), tab.name(), false))
                continue;
            for (const MacroCellData& cell : tab.cells())
            {
                if (names != nullptr && !names->contains(cell.name, false))
                    continue;
                if (Kdr_DialogVariable* variable = module.findDialogVariable(cell.name);
                    variable != nullptr && variable->settable)
                    variable->value = cell.value;
            }
        }
    }
}
} // namespace

void MacroDialogHost::reset()
{
    *this = MacroDialogHost();
}

MacroDialogHost& macroDialogHost()
{
    static MacroDialogHost host;
    return host;
}

bool UpdateModule(MacroData& data, int tabIndex, const Kdr_StringArray& changed)
{
    MacroDialogHost& host = macroDialogHost();
    const MacroTabData* tab = nullptr;
    if (!data.getTab(tabIndex, tab))
    {
        host.record("UpdateModule (no tab)");
        return false;
    }
    host.record("UpdateModule " + tab->name() + ": " + joined(changed));
    if (!host.updateSucceeds)
        return false;
    writeVariables(data, *tab, &changed);
    return true;
}

bool SelectOtherMacros(MacroData& data)
{
    MacroDialogHost& host = macroDialogHost();
    host.record("SelectOtherMacros");
    return host.pickMacros ? host.pickMacros(data) : false;
}

void UpdateAllFilterModified(MacroData& data, int moduleFilter)
{
    macroDialogHost().record("UpdateAllFilterModified " + std::to_string(moduleFilter) + ": " +
                             std::to_string(data.filterSelection(0)) + " " +
                             std::to_string(data.filterSelection(1)));
}

bool setAllToMacro(MacroData& data)
{
    macroDialogHost().record("setAllToMacro");
    for (const MacroTabData& tab : data.tabs())
        writeVariables(data, tab, nullptr);
    return true;
}

bool swapBlockRefs(MacroData& data, int tabIndex, const Kdr_String& path)
{
    const MacroTabData* tab = nullptr;
    const Kdr_String name = data.getTab(tabIndex, tab) ? tab->name() : Kdr_String();
    macroDialogHost().record("swapBlockRefs " + name + ": " + path);
    return true;
}

bool StartArrayDlg(DynArrayData& array)
{
    MacroDialogHost& host = macroDialogHost();
    host.record("StartArrayDlg " + array.name);
    return host.editArray ? host.editArray(array) : false;
}

bool StartBoltPatternDlg(MacroPatternProps& pattern)
{
    MacroDialogHost& host = macroDialogHost();
    host.record("StartBoltPatternDlg " + pattern.name);
    return host.editPattern ? host.editPattern(pattern) : false;
}

void GetAssemblies(Kdr_StringArray& names)
{
    names = macroDialogHost().assemblies;
}

void clashInitDlgStarted()
{
    macroDialogHost().record("clashInitDlgStarted");
}

void clashResetInfo()
{
    macroDialogHost().record("clashResetInfo");
}

void clashcheck()
{
    macroDialogHost().record(macroDialogHost().clashCheckOn ? "clashcheck" : "clashcheck (off)");
}

void clashDlgClosed()
{
    macroDialogHost().record("clashDlgClosed");
}
