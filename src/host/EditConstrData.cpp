#include "host/EditConstrData.h"

#include "host/Kdr_DbMacro.h"
#include "host/Texts.h"

#include <algorithm>

namespace
{
void record(std::string line)
{
    host::rulesHost().calls.push_back(std::move(line));
}

/// The module the record works on, opened for write; null when there is none.
Kdr_Module* currentModuleOf(const EditConstrData& data)
{
    Kdr_Module* module = nullptr;
    if (!data.macro || !data.macro->macro().findModuleWrite(data.currentModule, module))
        return nullptr;
    return module;
}

Kdr_Rule* ruleOf(const EditConstrData& data, int rule)
{
    Kdr_Module* module = currentModuleOf(data);
    if (!module || rule < 0 || rule >= static_cast<int>(module->rules().size()))
        return nullptr;
    return &module->rules()[static_cast<size_t>(rule)];
}

Kdr_Array<int> toArray(const std::vector<int>& values)
{
    return Kdr_Array<int>(values);
}

/// The line of a rule in the editor's grid follows its name and expression.
void refreshTexts(Kdr_Rule& rule)
{
    if (rule.texts.length() < 2)
        rule.texts.setLength(2);
    if (rule.hasKind(1))
        rule.texts[0] = rule.name;
    if (rule.hasKind(0))
        rule.texts[1] = rule.expression;
}
} // namespace

EditConstrData::EditConstrData(Kdr_DbMacro* macro_, const Kdr_String& module)
    : macro(macro_), currentModule(module)
{
    if (macro && currentModule.empty() && macro->macro().moduleCount() > 0)
        currentModule = macro->macro().module(0).name();
    loadRules();
    if (ruleCount() > 0)
        currentRule = 0;
}

bool EditConstrData::hasKind(int rule, int kind) const
{
    return propertyKinds.validIndex(rule) && propertyKinds[rule].contains(kind);
}

bool EditConstrData::isConsistent(int rule) const
{
    if (rule < 0 || !rowTexts.validIndex(rule) || !propertyKinds.validIndex(rule) ||
        !cutButtons.validIndex(rule) || !optionBitmaps.validIndex(rule) || !optionSelections.validIndex(rule))
        return false;
    if (hasKind(rule, 0) && !firstTexts.validIndex(rule))
        return false;
    if (hasKind(rule, 1) && !secondTexts.validIndex(rule))
        return false;
    if (hasKind(rule, 2) && (!choiceItems.validIndex(rule) || !choiceIndexes.validIndex(rule)))
        return false;
    if (hasKind(rule, 3) && (!firstChecks.validIndex(rule) || !secondChecks.validIndex(rule)))
        return false;
    return true;
}

void EditConstrData::loadRules()
{
    rowTexts.clear();
    propertyKinds.clear();
    firstTexts.clear();
    secondTexts.clear();
    firstChecks.clear();
    secondChecks.clear();
    choiceItems.clear();
    choiceIndexes.clear();
    cutButtons.clear();
    optionBitmaps.clear();
    optionSelections.clear();
    const Kdr_Module* module = currentModuleOf(*this);
    if (!module)
    {
        currentRule = -1;
        return;
    }
    for (const Kdr_Rule& rule : module->rules())
    {
        rowTexts.append(rule.texts);
        propertyKinds.append(toArray(rule.kinds));
        firstTexts.append(rule.expression);
        secondTexts.append(rule.name);
        firstChecks.append(rule.visible ? 1 : 0);
        secondChecks.append(rule.readOnly ? 1 : 0);
        choiceItems.append(rule.choices);
        choiceIndexes.append(rule.choice);
        cutButtons.append(rule.cut.empty() ? 0 : 1);
        optionBitmaps.append(rule.optionBitmaps);
        optionSelections.append(toArray(rule.options));
    }
    if (currentRule >= ruleCount())
        currentRule = ruleCount() - 1;
}

// ---- Host calls ------------------------------------------------------------------------------

void BeginEditorCommand(EditConstrData&)
{
    record("BeginEditorCommand");
}

void CompleteEditorCommand(EditConstrData&)
{
    record("CompleteEditorCommand");
}

bool SelectOtherMacro(EditConstrData& data)
{
    Kdr_DbMacro* picked = host::rulesHost().macroToPick;
    record(picked ? "SelectOtherMacro " + std::string(picked->name()) : "SelectOtherMacro cancelled");
    if (!picked)
        return false;
    data = EditConstrData(picked);
    return true;
}

void MacroGetModules(const EditConstrData& data, Kdr_StringArray& names)
{
    names.clear();
    if (data.macro)
        data.macro->macro().getModuleNames(names);
}

bool SetCurrentModule(EditConstrData& data, const Kdr_String& module)
{
    record("SetCurrentModule " + std::string(module));
    const Kdr_Module* found = nullptr;
    if (!data.macro || !data.macro->macro().findModule(module, found))
        return false;
    data.currentModule = found->name();
    data.currentRule = -1;
    data.loadRules();
    if (data.ruleCount() > 0)
        data.currentRule = 0;
    return true;
}

bool StartMacroCommand(EditConstrData& data, int command)
{
    record("StartMacroCommand " + std::to_string(command));
    if (host::rulesHost().whileCommandRuns)
        host::rulesHost().whileCommandRuns();
    if (command != 11 || !data.macro)
        return false;
    Kdr_StringArray names;
    data.macro->macro().getModuleNames(names);
    int number = data.macro->macro().moduleCount() + 1;
    while (names.contains("Module" + std::to_string(number), false))
        ++number;
    return data.macro->macro().addModule(std::make_unique<Kdr_Module>("Module" + std::to_string(number), ""));
}

bool RenameModule(EditConstrData& data, const Kdr_String& newName)
{
    record("RenameModule " + std::string(newName));
    if (!data.macro || !data.macro->macro().renameModule(data.currentModule, newName))
        return false;
    data.currentModule = newName;
    return true;
}

bool RemoveModule(EditConstrData& data)
{
    record("RemoveModule " + std::string(data.currentModule));
    if (!data.macro || !data.macro->macro().removeModule(data.currentModule))
        return false;
    data.currentModule =
        data.macro->macro().moduleCount() > 0 ? data.macro->macro().module(0).name() : Kdr_String();
    data.currentRule = -1;
    data.loadRules();
    if (data.ruleCount() > 0)
        data.currentRule = 0;
    return true;
}

bool GetMacroSettings(const EditConstrData& data, MacroSettings& settings)
{
    record("GetMacroSettings");
    if (!data.macro)
        return false;
    settings.name = data.macro->name();
    return true;
}

bool SetMacroSettings(EditConstrData& data, const MacroSettings& settings)
{
    record("SetMacroSettings " + std::string(settings.name));
    if (!data.macro || settings.name.empty())
        return false;
    data.macro->setName(settings.name);
    return true;
}

void ZoomCommand(EditConstrData&)
{
    record("ZoomCommand");
    if (host::rulesHost().whileCommandRuns)
        host::rulesHost().whileCommandRuns();
}

void HighlightConstraint(EditConstrData& data, int rule)
{
    record("HighlightConstraint " + std::to_string(rule));
    data.currentRule = rule;
}

void UnHighlightConstraints(EditConstrData&)
{
    record("UnHighlightConstraints");
}

bool UpdateConstraint(EditConstrData& data, int rule)
{
    record("UpdateConstraint " + std::to_string(rule));
    Kdr_Rule* stored = ruleOf(data, rule);
    if (!stored || !data.isConsistent(rule))
        return false;
    if (stored->hasKind(0))
        stored->expression = data.firstTexts[rule];
    if (stored->hasKind(1))
        stored->name = data.secondTexts[rule];
    if (stored->hasKind(2))
        stored->choice = data.choiceIndexes[rule];
    if (stored->hasKind(3))
    {
        stored->visible = data.firstChecks[rule] != 0;
        stored->readOnly = data.secondChecks[rule] != 0;
    }
    stored->options = data.optionSelections[rule].vector();
    refreshTexts(*stored);
    data.rowTexts[rule] = stored->texts;
    return true;
}

bool DeleteConstraint(EditConstrData& data, int rule)
{
    record("DeleteConstraint " + std::to_string(rule));
    Kdr_Module* module = currentModuleOf(data);
    if (!module || !ruleOf(data, rule))
        return false;
    module->rules().erase(module->rules().begin() + rule);
    data.loadRules();
    return true;
}

bool SortConstraints(EditConstrData& data, int column)
{
    record("SortConstraints " + std::to_string(column));
    Kdr_Module* module = currentModuleOf(data);
    if (!module || column < 1)
        return false;
    std::vector<Kdr_Rule>& rules = module->rules();
    std::vector<size_t> order(rules.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto key = [&](size_t i) -> std::string_view
    {
        const Kdr_StringArray& texts = rules[i].texts;
        return texts.validIndex(column - 1) ? std::string_view(texts[column - 1]) : std::string_view();
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return host::compareText(key(a), key(b), false) < 0; });
    std::vector<Kdr_Rule> sorted;
    int current = -1;
    for (size_t i = 0; i < order.size(); ++i)
    {
        sorted.push_back(rules[order[i]]);
        if (static_cast<int>(order[i]) == data.currentRule)
            current = static_cast<int>(i);
    }
    rules = std::move(sorted);
    data.currentRule = current;
    data.loadRules();
    return true;
}

bool VarNameInUse(const EditConstrData& data, const Kdr_String& name, int rule)
{
    record("VarNameInUse " + std::string(name));
    if (!data.macro)
        return false;
    const Kdr_Macro& macro = data.macro->macro();
    for (const Kdr_GeneralVariable& variable : macro.generalVariables())
        if (host::equalText(variable.name, name, false))
            return true;
    for (int m = 0; m < macro.moduleCount(); ++m)
    {
        const Kdr_Module& module = macro.module(m);
        if (module.findDialogVariable(name))
            return true;
        if (!host::equalText(module.name(), data.currentModule, false))
            continue;
        for (size_t r = 0; r < module.rules().size(); ++r)
            if (static_cast<int>(r) != rule && module.rules()[r].hasKind(1) &&
                host::equalText(module.rules()[r].name, name, false))
                return true;
    }
    return false;
}

void ConstrContextMenu(const EditConstrData& data, int rule, Kdr_StringArray& texts, Kdr_Array<int>& commands,
                       Kdr_Array<int>& checked)
{
    record("ConstrContextMenu " + std::to_string(rule));
    const host::RulesHostStandIn& standIn = host::rulesHost();
    if (!standIn.menuTexts.isEmpty())
    {
        texts = standIn.menuTexts;
        commands = standIn.menuCommands;
        checked = standIn.menuChecked;
        return;
    }
    texts = {dialString(881), dialString(1328), "%BREAK%", dialString(882)};
    commands = {host::ruleMenuVisible, host::ruleMenuReadOnly, 0, host::ruleMenuDelete};
    checked.clear();
    if (const Kdr_Rule* stored = ruleOf(data, rule))
    {
        if (stored->visible)
            checked.append(0);
        if (stored->readOnly)
            checked.append(1);
    }
}

bool ContextMenuAction(EditConstrData& data, int rule, int command)
{
    record("ContextMenuAction " + std::to_string(rule) + " " + std::to_string(command));
    if (host::rulesHost().whileCommandRuns)
        host::rulesHost().whileCommandRuns();
    Kdr_Rule* stored = ruleOf(data, rule);
    if (!stored)
        return false;
    switch (command)
    {
    case host::ruleMenuVisible:
        stored->visible = !stored->visible;
        break;
    case host::ruleMenuReadOnly:
        stored->readOnly = !stored->readOnly;
        break;
    case host::ruleMenuDelete:
        return DeleteConstraint(data, rule);
    default:
        return false;
    }
    data.loadRules();
    return true;
}

bool StartEditMacroCutDlg(EditConstrData& data, int rule)
{
    const Kdr_Rule* stored = ruleOf(data, rule);
    record("StartEditMacroCutDlg " + std::string(stored ? stored->cut : Kdr_String()));
    return stored && !stored->cut.empty();
}

namespace host
{
std::vector<std::string> RulesHostStandIn::callsOf(std::string_view prefix) const
{
    std::vector<std::string> out;
    for (const std::string& call : calls)
        if (call.starts_with(prefix))
            out.push_back(call);
    return out;
}

RulesHostStandIn& rulesHost()
{
    static RulesHostStandIn standIn;
    return standIn;
}
} // namespace host
