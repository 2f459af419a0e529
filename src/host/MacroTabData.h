#pragma once

#include "host/Kdr_StringArray.h"
#include "host/MacroArrayData.h"
#include "host/MacroBoltData.h"
#include "host/MacroCellData.h"
#include "host/MacroFlexFixGroup.h"
#include "host/MacroPatternProps.h"
#include "host/MacroProfData.h"

#include <vector>

/// The dialog data of one tab of a macro dialog: its variables (cells), bolt patterns, bolt
/// data, member groups and flex/fix groups. A tab carries the name of a module group (or of
/// a module without a group). Names are compared without regard to case.
class MacroTabData
{
public:
    /// What page the macro dialog shows for the tab.
    enum Kind
    {
        kVariables = 0,
        kBolts = 1,
        kProfiles = 2,
        kVariablesOther = 3
    };

    MacroTabData() = default;
    MacroTabData(Kdr_String name, int kind) : name_(std::move(name)), kind_(kind) {}
    virtual ~MacroTabData() = default;

    const Kdr_String& name() const { return name_; }
    int kind() const { return kind_; }
    /// The path of the tab's dialog template; empty when it has none.
    const Kdr_String& templatePath() const { return templatePath_; }
    void setName(const Kdr_String& name) { name_ = name; }
    void setKind(int kind) { kind_ = kind; }
    void setTemplatePath(const Kdr_String& path) { templatePath_ = path; }

    // Variables.
    /// Adds a variable; false (nothing added) when one of that name exists.
    bool addCell(const MacroCellData& cell);
    bool findCellWithName(std::string_view name, MacroCellData*& cell);
    bool findCellWithName(std::string_view name, const MacroCellData*& cell) const;
    std::vector<MacroCellData>& cells() { return cells_; }
    const std::vector<MacroCellData>& cells() const { return cells_; }

    // Bolt patterns.
    bool addPattern(const MacroPatternProps& pattern);
    bool findPatternWithName(std::string_view name, MacroPatternProps*& pattern);
    bool findPatternWithName(std::string_view name, const MacroPatternProps*& pattern) const;
    /// The pattern whose button has dialog reference `id` (a positive control id).
    bool findPatternWithBtnId(int id, MacroPatternProps*& pattern);
    std::vector<MacroPatternProps>& patterns() { return patterns_; }
    const std::vector<MacroPatternProps>& patterns() const { return patterns_; }

    // Bolt data (bolt tabs only).
    bool hasBoltData() const { return hasBoltData_; }
    void setBoltData(const MacroBoltData& data)
    {
        boltData_ = data;
        hasBoltData_ = true;
    }
    void clearBoltData()
    {
        boltData_ = MacroBoltData();
        hasBoltData_ = false;
    }
    /// The tab's bolt data; false when the tab has none.
    bool getBoltData(MacroBoltData*& data);
    bool getBoltData(const MacroBoltData*& data) const;

    // Member groups.
    bool addProfData(const MacroProfData& group);
    bool findProfDataWithGroup(std::string_view group, MacroProfData*& data);
    bool findProfDataWithGroup(std::string_view group, const MacroProfData*& data) const;
    /// Copies the merged properties of a member group; false when the group is unknown or
    /// its members cannot be merged.
    bool getMergedPropsOfGroup(std::string_view group, MacroProfProps& props) const;
    /// Stores the merged properties of a member group; false (nothing changed) under the
    /// same conditions.
    bool setMergedPropsOfGroup(std::string_view group, const MacroProfProps& props);
    const std::vector<MacroProfData>& profGroups() const { return profGroups_; }

    // Flex/fix groups.
    bool addFlexFixGroup(const MacroFlexFixGroup& group);
    bool findFlexFixGroup(std::string_view group, const MacroFlexFixGroup*& found) const;
    const std::vector<MacroFlexFixGroup>& flexFixGroups() const { return flexFixGroups_; }
    /// True when a flex/fix group holds the variable.
    bool hasBtnFlexFix(std::string_view variable) const;
    /// The state of the variable's flex/fix button in the first group that holds it: `fixed`
    /// is its fixed flag, `flexible` the opposite. False (both untouched) when no group
    /// holds the variable.
    bool getFlexFixBtnStatus(std::string_view variable, bool& fixed, bool& flexible) const;
    /// A click that leaves the variable's button `checked` (flexible) or not (fixed), in the
    /// first group that holds it. See the three-argument form.
    bool flexFixBtnClicked(std::string_view variable, bool checked);
    /// A click on the button of `variable` in `group`. Making a variable flexible fixes the
    /// other members of the group, so that the group keeps one flexible variable. Fixing the
    /// flexible variable hands the flexibility to the next member of the group (the first
    /// after it, wrapping round); it is refused (false, nothing changed) in a group of one.
    /// Fixing a variable that is already fixed changes nothing. False when the group or the
    /// variable is unknown.
    bool flexFixBtnClicked(std::string_view group, std::string_view variable, bool checked);

    // Arrays.
    bool addArray(const DynArrayData& array);
    bool findArrayWithName(std::string_view name, DynArrayData*& array);
    bool findArrayWithName(std::string_view name, const DynArrayData*& array) const;
    /// The array whose button has dialog reference `id` (a positive control id).
    bool findArrayWithBtnId(int id, DynArrayData*& array);
    std::vector<DynArrayData>& arrays() { return arrays_; }
    const std::vector<DynArrayData>& arrays() const { return arrays_; }

    // Cuts.
    bool addCut(const MacroCutData& cut);
    bool findCutWithName(std::string_view name, MacroCutData*& cut);
    bool findCutWithName(std::string_view name, const MacroCutData*& cut) const;
    std::vector<MacroCutData>& cuts() { return cuts_; }
    const std::vector<MacroCutData>& cuts() const { return cuts_; }

    // Drawing list: a tab may offer a choice of drawings (blocks) for a part of the macro.
    bool offersDrawingList() const { return offersDrawingList_; }
    /// Offers a drawing list showing `drawingName` (a file name without extension).
    void setDrawingList(const Kdr_String& drawingName)
    {
        offersDrawingList_ = true;
        drawingName_ = drawingName;
    }
    void clearDrawingList()
    {
        offersDrawingList_ = false;
        drawingName_.clear();
        drawingRef_ = 0;
    }
    const Kdr_String& drawingName() const { return drawingName_; }
    void setDrawingName(const Kdr_String& name) { drawingName_ = name; }
    int drawingRef() const { return drawingRef_; }
    void setDrawingRef(int ref) { drawingRef_ = ref; }

    /// Clears every dialog reference (variables, patterns, bolt data, member groups, arrays,
    /// cuts, drawing list).
    void removeAllDlgReferences();

    /// Compares with an earlier state of the tab: true when anything but dialog references
    /// differs; `changed` lists the changed variables, patterns, member groups, flex/fix
    /// groups, arrays and cuts by name, "BoltData" when the bolt data changed and
    /// "DrawingList" when the drawing list changed.
    bool differences(const MacroTabData& before, Kdr_StringArray& changed) const;

    bool operator==(const MacroTabData& other) const = default;

private:
    Kdr_String name_;
    int kind_ = kVariables;
    Kdr_String templatePath_;
    std::vector<MacroCellData> cells_;
    std::vector<MacroPatternProps> patterns_;
    bool hasBoltData_ = false;
    MacroBoltData boltData_;
    std::vector<MacroProfData> profGroups_;
    std::vector<MacroFlexFixGroup> flexFixGroups_;
    std::vector<DynArrayData> arrays_;
    std::vector<MacroCutData> cuts_;
    bool offersDrawingList_ = false;
    Kdr_String drawingName_;
    int drawingRef_ = 0;
};
