// The catalogue: every macro variable a sheet variable can be bound to.

#include "host/Kdr_BoltModule.h"
#include "host/Kdr_DbMacro.h"
#include "host/Kdr_PrplModule.h"
#include "host/MacroAccess.h"
#include "standards/ZxSSMapping.h"

#include <vector>

namespace
{
/// A catalogue entry: no spreadsheet variable, visible and settable unless said otherwise.
ZxObjectMap entry(const Kdr_String& objectName, ZxMapObjType kind, const Kdr_String& varName)
{
    ZxObjectMap map;
    map.objectName = objectName;
    map.objType = kind;
    map.varName = varName;
    map.visibility = VisibleSettable;
    return map;
}
} // namespace

Acad::ErrorStatus ZxSSMapping::initAllVarsFromMacro(Kdr_DbMacro* macro, AcTransaction* tr)
{
    if (!macro)
        return Acad::eInvalidInput;
    const Kdr_Macro& proper = macro->macro();
    Kdr_StringArray moduleNames;
    proper.getModuleNames(moduleNames);
    for (const Kdr_String& moduleName : moduleNames)
    {
        const Kdr_Module* module = nullptr;
        if (!proper.findModule(moduleName, module) || !module)
            continue;
        // Modules of one group each add their variables under the group's name.
        Kdr_String objectName = module->groupOrName();
        addAllVariables(module, objectName);
        addAllCuts(module, objectName);
        addAllPatterns(module, objectName, tr);
        addAllProfPlacements(module, objectName, tr);
    }
    addAllBaseProfs(macro, tr);
    addAllGenVars(&proper);
    return Acad::eOk;
}

Acad::ErrorStatus ZxSSMapping::addAllVariables(const Kdr_Module* module, Kdr_String& objectName)
{
    if (!module)
        return Acad::eInvalidInput;
    Kdr_StringArray names;
    std::vector<bool> visible;
    std::vector<bool> settable;
    if (getDialogVariables(module, names, visible, settable) != Acad::eOk)
        return Acad::eInvalidInput;
    for (int i = 0; i < names.length(); ++i)
    {
        ZxObjectMap map = entry(objectName, ZxMapObjType::Distance, names[i]);
        const size_t at = static_cast<size_t>(i);
        const bool isVisible = at < visible.size() && visible[at];
        const bool isSettable = at < settable.size() && settable[at];
        map.visibility = static_cast<ZxVarVisibility>((isVisible ? 0 : 2) + (isSettable ? 0 : 1));
        objects_.append(map);
    }
    return Acad::eOk;
}

Acad::ErrorStatus ZxSSMapping::addAllCuts(const Kdr_Module* module, Kdr_String& objectName)
{
    if (!module)
        return Acad::eInvalidInput;
    Kdr_StringArray names;
    AcArray<int> cutTypes;
    getCutConstraints(module, names, cutTypes);
    for (int i = 0; i < names.length() && i < cutTypes.length(); ++i)
    {
        AcArray<int> offsetTypes;
        if (getCutOffsets(cutTypes[i], offsetTypes) != Acad::eOk)
            continue;
        for (int offsetType : offsetTypes)
            if (offsetType >= 0 && offsetType <= 8)
                objects_.append(entry(objectName, cutKindOfOffset(offsetType), names[i]));
    }
    return Acad::eOk;
}

Acad::ErrorStatus ZxSSMapping::addAllPatterns(const Kdr_Module* module, Kdr_String& objectName,
                                              AcTransaction* tr)
{
    if (!module || module->classNumber() != Kdr_BoltModule::kClassNumber)
        return Acad::eInvalidInput;
    objects_.append(entry(objectName, ZxMapObjType::BoltsDiameter, ""));
    objects_.append(entry(objectName, ZxMapObjType::BoltsHoleOffset, ""));
    AcArray<int> ids;
    getPatternIds(module, ids);
    for (int id : ids)
    {
        Kdr_BoltPattern pattern;
        if (getPattern(id, module, pattern, tr) != Acad::eOk)
            continue;
        objects_.append(entry(objectName, ZxMapObjType::PatternNrBolts1, pattern.name()));
        objects_.append(entry(objectName, ZxMapObjType::PatternReverseStart1, pattern.name()));
        if (pattern.layoutClassNumber() == Kdr_BoltPattern::kDoubleLayoutClass)
        {
            objects_.append(entry(objectName, ZxMapObjType::PatternNrBolts2, pattern.name()));
            objects_.append(entry(objectName, ZxMapObjType::PatternReverseStart2, pattern.name()));
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus ZxSSMapping::addAllProfPlacements(const Kdr_Module* module, Kdr_String& objectName,
                                                    AcTransaction* /*tr*/)
{
    if (!module || module->classNumber() != Kdr_PrplModule::kClassNumber)
        return Acad::eInvalidInput;
    const auto* placements = dynamic_cast<const Kdr_PrplModule*>(module);
    if (!placements)
        return Acad::eInvalidInput;
    for (int i = 0; i < placements->memberCount(); ++i)
    {
        const Kdr_String& name = placements->member(i).name();
        if (!name.isEmpty())
            objects_.append(entry(objectName, ZxMapObjType::OwnedMemberName, name));
    }
    return Acad::eOk;
}

Acad::ErrorStatus ZxSSMapping::addAllBaseProfs(const Kdr_DbMacro* macro, AcTransaction* tr)
{
    if (!macro)
        return Acad::eInvalidInput;
    for (int i = 0; i < macro->baseProfileCount(); ++i)
    {
        const Kdr_String profile = "Prof" + std::to_string(i);
        objects_.append(entry("", ZxMapObjType::PrPlName, profile));
        objects_.append(entry("", ZxMapObjType::PrPlMaterial, profile));

        AcDbObjectId id;
        Kdr_String section;
        Kdr_StringArray columns;
        if (getBaseProf(macro, i, id) != Acad::eOk || getSectionName(id, section, tr) != Acad::eOk ||
            getSectionColumnNames(section, columns) != Acad::eOk)
            continue;
        for (int j = 0; j < columns.length(); ++j)
        {
            ZxObjectMap size = entry("", ZxMapObjType::MemberSectionSize, profile + ";" + std::to_string(j));
            size.description = columns[j];
            objects_.append(size);
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus ZxSSMapping::addAllGenVars(const Kdr_Macro* macro)
{
    if (!macro)
        return Acad::eInvalidInput;
    Kdr_StringArray names;
    macro->getGeneralVariables(names);
    for (const Kdr_String& name : names)
        objects_.append(entry("", ZxMapObjType::GenVar, name));
    return Acad::eOk;
}
