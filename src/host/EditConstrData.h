#pragma once

// The host's record of the macro rules editor and the host calls the editor makes.
//
// The rules themselves live in the macro (each module keeps its own, see Kdr_Rule); the
// record names the macro, its current module and current rule, and holds the rules of the
// current module as the parallel lists the editor reads them from. The drawing is not
// modelled here, so the calls that work in the drawing (highlighting, picking, zooming) are
// stand-ins: they record what they are asked and change what the macro model can hold.

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

#include <functional>
#include <string>
#include <vector>

class Kdr_DbMacro;

class EditConstrData
{
public:
    EditConstrData() = default;
    explicit EditConstrData(Kdr_DbMacro* macro, const Kdr_String& module = {});
    virtual ~EditConstrData() = default;
    EditConstrData(const EditConstrData&) = default;
    EditConstrData& operator=(const EditConstrData&) = default;

    /// The macro whose rules are edited (not owned); null leaves the editor empty.
    Kdr_DbMacro* macro = nullptr;
    /// The module whose rules are listed.
    Kdr_String currentModule;
    /// The rule the host marks as current (an index into the lists), −1 for none.
    int currentRule = -1;

    // The rules of the current module, one entry per rule in every list.
    Kdr_Array<Kdr_StringArray> rowTexts;
    Kdr_Array<Kdr_Array<int>> propertyKinds;
    Kdr_StringArray firstTexts;
    Kdr_StringArray secondTexts;
    Kdr_Array<int> firstChecks; ///< 1 checked, 0 not
    Kdr_Array<int> secondChecks;
    Kdr_Array<Kdr_StringArray> choiceItems;
    Kdr_Array<int> choiceIndexes;
    Kdr_Array<int> cutButtons; ///< 1 when the rule edits a cut
    Kdr_Array<Kdr_StringArray> optionBitmaps;
    Kdr_Array<Kdr_Array<int>> optionSelections;

    int ruleCount() const { return rowTexts.length(); }
    bool hasKind(int rule, int kind) const;
    /// Whether every list the rule's property kinds need reaches `rule`.
    bool isConsistent(int rule) const;

    /// Fills the lists from the rules of the current module of the macro (empty lists when
    /// there is no macro or no such module). The current rule is kept when it still exists.
    void loadRules();
};

/// Settings of a macro as a whole that the editor's settings command edits.
struct MacroSettings
{
    Kdr_String name;
};

// ---- Host calls of the editor ----------------------------------------------------------------

/// The user leaves the editor to work in the drawing, and comes back.
void BeginEditorCommand(EditConstrData& data);
void CompleteEditorCommand(EditConstrData& data);
/// The user picks another macro in the drawing; false when the pick is cancelled. On success
/// the record works on that macro, on its first module.
bool SelectOtherMacro(EditConstrData& data);
/// The names of the modules of the macro.
void MacroGetModules(const EditConstrData& data, Kdr_StringArray& names);
/// Makes a module current and loads its rules; false when the macro has no such module.
bool SetCurrentModule(EditConstrData& data, const Kdr_String& module);
/// Runs macro command `command`; 11 adds a module to the macro (it becomes the last). False
/// when the command fails or is unknown.
bool StartMacroCommand(EditConstrData& data, int command);
bool RenameModule(EditConstrData& data, const Kdr_String& newName);
/// Removes the current module; the first module left becomes current.
bool RemoveModule(EditConstrData& data);
bool GetMacroSettings(const EditConstrData& data, MacroSettings& settings);
bool SetMacroSettings(EditConstrData& data, const MacroSettings& settings);
void ZoomCommand(EditConstrData& data);

void HighlightConstraint(EditConstrData& data, int rule);
void UnHighlightConstraints(EditConstrData& data);
/// Applies the record's values of a rule to the macro and refreshes its row texts.
bool UpdateConstraint(EditConstrData& data, int rule);
bool DeleteConstraint(EditConstrData& data, int rule);
/// Sorts the rules by grid column `column` (1 to 4), letter case ignored; the current rule
/// stays current.
bool SortConstraints(EditConstrData& data, int column);
/// Whether `name` is the name of a variable of the macro other than the rule itself: a dialog
/// variable, a general variable or the name of another rule of the module (case ignored).
bool VarNameInUse(const EditConstrData& data, const Kdr_String& name, int rule);
/// The context menu of a rule: item texts ("%BREAK%" for a separator), one command number per
/// item, and the indexes of the items shown checked.
void ConstrContextMenu(const EditConstrData& data, int rule, Kdr_StringArray& texts, Kdr_Array<int>& commands,
                       Kdr_Array<int>& checked);
bool ContextMenuAction(EditConstrData& data, int rule, int command);
/// Opens the host's cut editor on the cut of a rule.
bool StartEditMacroCutDlg(EditConstrData& data, int rule);

namespace host
{
/// The commands of the stand-in's context menu.
enum RuleMenuCommand
{
    ruleMenuVisible = 1,
    ruleMenuReadOnly = 2,
    ruleMenuDelete = 3,
};

/// What the editor asked of the host, and the answers of the calls that need a user in the
/// drawing. Tests set the answers and read the record.
struct RulesHostStandIn
{
    /// One line per call, e.g. "UpdateConstraint 2", in order.
    std::vector<std::string> calls;
    /// The macro the next SelectOtherMacro picks; null: the user cancels the pick.
    Kdr_DbMacro* macroToPick = nullptr;
    /// Runs while a drawing command (macro command, zoom, context menu action) is under way.
    std::function<void()> whileCommandRuns;
    /// A context menu to offer instead of the built-in one (when `menuTexts` is not empty).
    Kdr_StringArray menuTexts;
    Kdr_Array<int> menuCommands;
    Kdr_Array<int> menuChecked;

    void clear() { *this = RulesHostStandIn(); }
    /// The calls whose line starts with `prefix`.
    std::vector<std::string> callsOf(std::string_view prefix) const;
};

RulesHostStandIn& rulesHost();
} // namespace host
