#pragma once

#include "host/MacroTabData.h"

#include <functional>
#include <vector>

/// The dialog data of a macro: one MacroTabData per tab of its macro dialog, and the name of
/// the tab shown last. Tab names are compared without regard to case.
class MacroData
{
public:
    /// What "load from standards" runs: the standards evaluation of the module, installed by
    /// the module when it loads. It returns whether the evaluation succeeded.
    using StandardsLoader = std::function<bool(MacroData&)>;

    MacroData() = default;
    virtual ~MacroData() = default;

    /// Adds a tab; false (nothing added) when a tab of that name exists.
    bool addTab(const MacroTabData& tab);
    int tabCount() const { return static_cast<int>(tabs_.size()); }
    std::vector<MacroTabData>& tabs() { return tabs_; }
    const std::vector<MacroTabData>& tabs() const { return tabs_; }

    /// Index of the tab named `name`; false when there is none.
    bool findTab(std::string_view name, int& index) const;
    /// The tab at `index`; false for an index out of range.
    bool getTab(int index, MacroTabData*& tab);
    bool getTab(int index, const MacroTabData*& tab) const;

    const Kdr_String& currentTab() const { return currentTab_; }
    void setCurrentTab(const Kdr_String& name) { currentTab_ = name; }

    /// Runs the installed standards loader on this data; false when none is installed.
    bool loadFromStandards();
    static void setStandardsLoader(StandardsLoader loader);

    /// Reads variable values from a property file written by writeToFile: every entry whose
    /// tab and variable exist and whose variable is not read-only is taken; `unused` counts
    /// the others. False (nothing changed) when the file cannot be read.
    bool readFromFile(const Kdr_String& path, int& unused);
    /// Writes every variable of every tab as an entry (tab, variable, value); atomic.
    bool writeToFile(const Kdr_String& path) const;

    // What the dialog edits in the drawing (see MacroDialogHost).
    /// The names of the macros edited together.
    const Kdr_StringArray& macroNames() const { return macroNames_; }
    void setMacroNames(const Kdr_StringArray& names) { macroNames_ = names; }
    /// The module group selected to edit all of its macros together; empty for none.
    const Kdr_String& groupName() const { return groupName_; }
    void setGroupName(const Kdr_String& name) { groupName_ = name; }
    /// The selections of the two filter combo boxes (0: macros, 1: module groups); -1 none.
    int filterSelection(int filter) const { return filter == 0 || filter == 1 ? filters_[filter] : -1; }
    void setFilterSelection(int filter, int selection)
    {
        if (filter == 0 || filter == 1)
            filters_[filter] = selection;
    }
    /// Turns the view of the drawing towards tab `tabIndex` from direction 0 to 3.
    void changeView(int tabIndex, int direction) const;
    /// Places the edited macros again; true when it succeeded.
    bool reApply();
    /// Whether properties may be loaded from and saved to property files.
    bool propListAllowed() const;
    /// The property files offered for loading and saving.
    void getPropFiles(Kdr_StringArray& files) const;

    bool operator==(const MacroData& other) const = default;

private:
    std::vector<MacroTabData> tabs_;
    Kdr_String currentTab_;
    Kdr_StringArray macroNames_;
    Kdr_String groupName_;
    int filters_[2] = {-1, -1};
};
