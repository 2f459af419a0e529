#include "host/MacroAccess.h"

#include "host/Kdr_BoltModule.h"
#include "host/Kdr_DbMacro.h"
#include "host/Kdr_Macro.h"
#include "host/Kdr_PrplModule.h"
#include "host/MacroTabData.h"
#include "host/SectionTables.h"

#include <cmath>

namespace
{
const Kdr_BoltModule* asBoltModule(const Kdr_Module* module)
{
    return module && module->classNumber() == Kdr_BoltModule::kClassNumber
               ? static_cast<const Kdr_BoltModule*>(module)
               : nullptr;
}

const Kdr_ProfPlacement* openPlacement(const AcDbObjectId& id, AcTransaction* tr)
{
    AcDbObject* object = host::openObject(id, tr);
    return object && object->classNumber() == Kdr_ProfPlacement::kClassNumber
               ? static_cast<const Kdr_ProfPlacement*>(object)
               : nullptr;
}
} // namespace

Acad::ErrorStatus openModule(Kdr_Macro* macro, const Kdr_String& moduleName, Kdr_Module*& module,
                             int /*position*/)
{
    if (!macro || !macro->findModuleWrite(moduleName, module))
        return Acad::eInvalidInput;
    return Acad::eOk;
}

Acad::ErrorStatus getDialogVariables(const Kdr_Module* module, Kdr_StringArray& names,
                                     std::vector<bool>& visible, std::vector<bool>& settable)
{
    if (!module)
        return Acad::eInvalidInput;
    module->getDialogVariables(names, visible, settable);
    return Acad::eOk;
}

Acad::ErrorStatus getSetConstrVarValue(Kdr_Module* module, const Kdr_String& name, Kdr_String& value,
                                       bool get)
{
    Kdr_DialogVariable* variable = module ? module->findDialogVariable(name) : nullptr;
    if (!variable)
        return Acad::eInvalidInput;
    if (get)
    {
        value = variable->value;
        return Acad::eOk;
    }
    if (!variable->settable || !value.isNumber())
        return Acad::eInvalidInput;
    variable->value = Kdr_String(value).trim();
    return Acad::eOk;
}

Acad::ErrorStatus getCutConstraints(const Kdr_Module* module, Kdr_StringArray& names, AcArray<int>& cutTypes)
{
    if (!module)
        return Acad::eInvalidInput;
    names.removeAll();
    cutTypes.removeAll();
    for (const Kdr_Cut& cut : module->cuts())
    {
        names.append(cut.name);
        cutTypes.append(cut.type);
    }
    return Acad::eOk;
}

Acad::ErrorStatus getCutConstraint(Kdr_Module* module, const Kdr_String& name, Kdr_Cut*& cut)
{
    Kdr_Cut* found = module ? module->findCut(name) : nullptr;
    if (!found)
        return Acad::eInvalidInput;
    cut = found;
    return Acad::eOk;
}

Acad::ErrorStatus getCutOffsets(int cutType, AcArray<int>& offsetTypes)
{
    static const std::vector<int> kOffsets[Kdr_Cut::kTypeCount] = {
        {0}, {0, 1}, {0, 2}, {0, 3}, {4, 5}, {0, 6, 7}, {0, 8}, {0, 1, 2, 3, 4, 5, 6, 7, 8},
    };
    if (cutType < 0 || cutType >= Kdr_Cut::kTypeCount)
        return Acad::eInvalidInput;
    offsetTypes = AcArray<int>(kOffsets[cutType]);
    return Acad::eOk;
}

Acad::ErrorStatus getSetCutValue(Kdr_Module* module, Kdr_Cut* cut, int offsetType, double& value, bool get)
{
    if (!module || !cut || !module->ownsCut(cut) || offsetType < 0 || offsetType >= Kdr_Cut::kValueCount)
        return Acad::eInvalidInput;
    double& stored = cut->values[static_cast<size_t>(offsetType)];
    if (get)
    {
        value = stored;
        return Acad::eOk;
    }
    if (!std::isfinite(value))
        return Acad::eInvalidInput;
    stored = value;
    return Acad::eOk;
}

Acad::ErrorStatus getPatternIds(const Kdr_Module* module, AcArray<int>& ids)
{
    const Kdr_BoltModule* bolts = asBoltModule(module);
    if (!bolts)
        return Acad::eInvalidInput;
    ids.removeAll();
    for (const Kdr_BoltPattern& pattern : bolts->patterns())
        ids.append(pattern.id());
    return Acad::eOk;
}

Acad::ErrorStatus getPattern(int id, const Kdr_Module* module, Kdr_BoltPattern& pattern, AcTransaction* tr)
{
    const Kdr_BoltModule* bolts = asBoltModule(module);
    const Kdr_BoltPattern* found = bolts ? bolts->findPatternById(id) : nullptr;
    if (!found || (tr && !tr->isActive()))
        return Acad::eInvalidInput;
    pattern = *found;
    return Acad::eOk;
}

Acad::ErrorStatus findPattern(const Kdr_Module* module, const Kdr_String& name, int& id, AcTransaction* tr)
{
    const Kdr_BoltModule* bolts = asBoltModule(module);
    const Kdr_BoltPattern* found = bolts ? bolts->findPatternByName(name) : nullptr;
    if (!found || (tr && !tr->isActive()))
        return Acad::eInvalidInput;
    id = found->id();
    return Acad::eOk;
}

Acad::ErrorStatus getSetNrBolts(MacroTabData* tab, const Kdr_String& patternName, Kdr_String& value, bool get,
                                bool direction1)
{
    MacroPatternProps* pattern = nullptr;
    if (!tab || !tab->findPatternWithName(patternName, pattern))
        return Acad::eInvalidInput;
    if (!direction1 && !pattern->hasSecondDirection())
        return Acad::eInvalidInput;
    Kdr_String& count = direction1 ? pattern->count1 : pattern->count2;
    if (get)
    {
        value = count;
        return Acad::eOk;
    }
    if (!value.isNumber())
        return Acad::eInvalidInput;
    const double number = value.toDouble();
    if (!(number >= 1.0 && number <= 1.0e6) || number != std::floor(number))
        return Acad::eInvalidInput;
    count = Kdr_String(static_cast<int>(number));
    return Acad::eOk;
}

Acad::ErrorStatus getSetBoltPatternReverses(Kdr_Module* module, int id, bool direction1, bool get, bool& flag,
                                            AcTransaction* tr)
{
    const Kdr_BoltModule* bolts = asBoltModule(module);
    if (!bolts || (tr && !tr->isActive()))
        return Acad::eInvalidInput;
    auto* pattern = const_cast<Kdr_BoltModule*>(bolts)->findPatternById(id);
    if (!pattern || (!direction1 && !pattern->hasSecondDirection()))
        return Acad::eInvalidInput;
    if (get)
        flag = pattern->reverseStart(direction1);
    else
        pattern->setReverseStart(direction1, flag);
    return Acad::eOk;
}

Acad::ErrorStatus getNamedPrpl(const Kdr_Module* module, const Kdr_String& name, AcDbObjectId& id)
{
    if (!module || module->classNumber() != Kdr_PrplModule::kClassNumber)
        return Acad::eInvalidInput;
    const Kdr_ProfPlacement* member = static_cast<const Kdr_PrplModule*>(module)->findMember(name);
    if (!member)
        return Acad::eInvalidInput;
    id = member->objectId();
    return Acad::eOk;
}

Acad::ErrorStatus getBaseProf(const Kdr_DbMacro* macro, int index, AcDbObjectId& id)
{
    if (!macro || index < 0 || index >= macro->baseProfileCount())
        return Acad::eInvalidInput;
    id = macro->baseProfile(index).objectId();
    return Acad::eOk;
}

Acad::ErrorStatus getSectionName(const AcDbObjectId& id, Kdr_String& section, AcTransaction* tr)
{
    const Kdr_ProfPlacement* placement = openPlacement(id, tr);
    if (!placement)
        return Acad::eInvalidInput;
    section = placement->section();
    return Acad::eOk;
}

Acad::ErrorStatus getMaterial(const AcDbObjectId& id, Kdr_String& material, AcTransaction* tr)
{
    const Kdr_ProfPlacement* placement = openPlacement(id, tr);
    if (!placement)
        return Acad::eInvalidInput;
    material = placement->material();
    return Acad::eOk;
}

Acad::ErrorStatus getSectionValue(const Kdr_String& section, int index, Kdr_String& value)
{
    return gSectionTables.getSectionValue(section, index, value) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus getSectionColumnNames(const Kdr_String& section, Kdr_StringArray& names)
{
    return gSectionTables.getSectionColumnNames(section, names) ? Acad::eOk : Acad::eInvalidInput;
}
