#include "host/TabMappingData.h"

#include "host/Kdr_DbMacro.h"
#include "host/StringFunctions.h"

#include <vector>

Kdr_String TabMappingData::getMapping(const Kdr_String& name, int index) const
{
    if (names_.validIndex(index) && targets_.validIndex(index) && names_[index].equal(name, false))
        return targets_[index];
    for (int i = 0; i < names_.length() && i < targets_.length(); ++i)
        if (names_[i].equal(name, false))
            return targets_[i];
    return {};
}

void TabMappingData::initFromMacro(const Kdr_DbMacro& macro)
{
    names_.removeAll();
    targets_.removeAll();
    moduleGroups_.removeAll();
    for (const Kdr_StandardsTarget& entry : macro.standardsTargets())
    {
        names_.append(entry.sheet);
        targets_.append(entry.target);
    }
    Kdr_StringArray modules;
    macro.macro().getModuleNames(modules);
    for (const Kdr_String& name : modules)
    {
        const Kdr_Module* module = nullptr;
        if (macro.macro().findModule(name, module) && module &&
            !moduleGroups_.contains(module->groupOrName(), false))
            moduleGroups_.append(module->groupOrName());
    }
}

void TabMappingData::applyToMacro(Kdr_DbMacro& macro) const
{
    std::vector<Kdr_StandardsTarget>& entries = macro.standardsTargets();
    entries.clear();
    for (int i = 0; i < names_.length(); ++i)
        if (!names_[i].empty())
            entries.push_back({names_[i], targets_.validIndex(i) ? targets_[i] : Kdr_String()});
}
