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

    bool operator==(const MacroData& other) const = default;

private:
    std::vector<MacroTabData> tabs_;
    Kdr_String currentTab_;
};
