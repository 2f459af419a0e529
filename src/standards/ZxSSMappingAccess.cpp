// How a sheet variable finds its macro variable: through the loaded bindings, or, for a sheet
// that works on one module group, through the form of its own name.

#include "host/Kdr_DbMacro.h"
#include "host/MacroAccess.h"
#include "host/MacroData.h"
#include "standards/MacroValueAccess.h"
#include "standards/ZxDlgStandardsData.h"
#include "standards/ZxSSMapping.h"

#include <array>

namespace
{
struct CutSuffix
{
    const char* suffix;
    int offsetType;
};

// The cut value a name suffix addresses; the offset type is the host's cut value index.
constexpr std::array<CutSuffix, 9> kCutSuffixes{{
    {".Cut", 0},
    {".CutPoly", 1},
    {".CutLength", 2},
    {".CutCenter", 3},
    {".CutInside", 4},
    {".CutOutside", 5},
    {".Chamfer1", 6},
    {".Chamfer2", 7},
    {".CutRadius", 8},
}};

/// The object part of a name: what comes before its first ".".
Kdr_String objectPart(const Kdr_String& name)
{
    Kdr_String object;
    name.getSubstrBefore(".", object, true);
    return object;
}

/// One module's access to the macro variable a sheet variable's name addresses.
Acad::ErrorStatus accessByName(const Kdr_String& name, ZxValueType type, Kdr_DbMacro& dbMacro,
                               Kdr_Module* module, MacroData* data, Kdr_String& value, bool get,
                               AcTransaction* tr)
{
    if (!module || !data)
        return Acad::eInvalidInput;
    const bool numeric = isNumericType(type);
    MacroTabData* tab = standards::findModuleTab(data, module);
    if (!tab)
        return Acad::eInvalidInput;

    // "gen.Width" is the general variable "gen_Width" (numeric variables only).
    if (numeric && name.startsWith("gen.", false))
    {
        const Kdr_String general = "gen_" + name.mid(4);
        Kdr_StringArray generals;
        dbMacro.macro().getGeneralVariables(generals);
        if (!generals.contains(general, false))
            return Acad::eInvalidInput;
        return standards::accessGeneralVariable(dbMacro.macro(), general, 4, value, get);
    }

    // "Web.Name" and "Web.Material" read the section and material of a member placement.
    const bool sectionName = name.endsWith(".Name", false);
    if (!numeric && get && (sectionName || name.endsWith(".Material", false)))
    {
        AcDbObjectId id;
        if (getNamedPrpl(module, objectPart(name), id) == Acad::eOk)
        {
            const Acad::ErrorStatus status =
                sectionName ? getSectionName(id, value, tr) : getMaterial(id, value, tr);
            return status == Acad::eOk ? Acad::eOk : Acad::eInvalidInput;
        }
    }

    if (numeric)
    {
        for (const CutSuffix& cut : kCutSuffixes)
            if (name.endsWith(cut.suffix, false))
                return standards::accessCutValue(module, objectPart(name), cut.offsetType, value, get);
        const bool diameter = name.endsWith(".Diameter", false);
        if (diameter || name.endsWith(".HoleOffset", false))
            return standards::accessBoltData(tab, diameter, value, get);
    }

    const bool count1 = name.endsWith(".NrBolts1", false);
    if (count1 || name.endsWith(".NrBolts2", false))
        return getSetNrBolts(tab, objectPart(name), value, get, count1) == Acad::eOk ? Acad::eOk
                                                                                     : Acad::eInvalidInput;

    if (!numeric)
    {
        if (!name.endsWith(".MemberName", false))
            return Acad::eInvalidInput;
        return standards::accessMemberGroup(tab, objectPart(name), value, get);
    }

    const bool reverse1 = name.endsWith(".ReverseStart1", false);
    if (reverse1 || name.endsWith(".ReverseStart2", false))
        return standards::accessReverseStart(module, objectPart(name), reverse1, value, get, tr);

    return standards::accessDialogVariable(tab, module, name, value, get);
}
} // namespace

Acad::ErrorStatus ZxSSMapping::initFromMacro(ZxDlgStandardsData& data)
{
    if (!data.dbMacro || !data.moduleGroup.isEmpty())
        return Acad::eInvalidInput;
    mode_ = mapFile;
    return getMappingFromFile(data.fileName, data.target);
}

Acad::ErrorStatus ZxSSMapping::getMacroVarValue(const Kdr_String& ssVar, const ZxValueType& type,
                                                Kdr_String& value, ZxDlgStandardsData& data)
{
    return getSetMacroVarValue(ssVar, type, value, data, true);
}

Acad::ErrorStatus ZxSSMapping::setMacroVarValue(const Kdr_String& ssVar, const ZxValueType& type,
                                                Kdr_String& value, ZxDlgStandardsData& data)
{
    return getSetMacroVarValue(ssVar, type, value, data, false);
}

Acad::ErrorStatus ZxSSMapping::getSetMacroVarValue(const Kdr_String& ssVar, const ZxValueType& type,
                                                   Kdr_String& value, ZxDlgStandardsData& data, bool get)
{
    Kdr_DbMacro* dbMacro = data.dbMacro;
    if (!dbMacro || dbMacro->assertWriteEnabled() != Acad::eOk)
        return Acad::eInvalidInput;

    bool writtenByName = false;
    if (mode_ == mapModuleGroup)
    {
        Kdr_StringArray moduleNames;
        dbMacro->macro().getModNamesOfGroup(data.moduleGroup, moduleNames);
        for (const Kdr_String& moduleName : moduleNames)
        {
            Kdr_Module* module = nullptr;
            if (!dbMacro->macro().findModuleWrite(moduleName, module))
                continue;
            const Acad::ErrorStatus status =
                accessByName(ssVar, type, *dbMacro, module, data.macroData, value, get, data.transaction);
            if (get && status == Acad::eOk)
                return Acad::eOk;
            writtenByName = writtenByName || status == Acad::eOk;
        }
        if (get)
            return Acad::eInvalidInput;
    }

    int index = -1;
    if (findSSVar(ssVar, type, index) != Acad::eOk)
        return writtenByName ? Acad::eOk : Acad::eInvalidInput;
    const ZxObjectMap& binding = objects_[index];
    const Acad::ErrorStatus status =
        get ? binding.getMacroVarValue(dbMacro, data.macroData, value, data.transaction)
            : binding.setMacroVarValue(dbMacro, data.macroData, value, data.transaction);
    return status == Acad::eOk || writtenByName ? Acad::eOk : Acad::eInvalidInput;
}
