// How one binding reads and writes the macro variable it reaches.

#include "host/Kdr_BoltModule.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroAccess.h"
#include "host/MacroData.h"
#include "standards/MacroValueAccess.h"
#include "standards/ZxObjectMap.h"

namespace
{
/// Kinds that belong to the macro as a whole rather than to the modules of a group.
bool isMacroWideKind(ZxMapObjType kind)
{
    return kind == ZxMapObjType::GenVar || kind == ZxMapObjType::PrPlName ||
           kind == ZxMapObjType::PrPlMaterial || kind == ZxMapObjType::MemberSectionSize;
}

/// The base profile index of a "Prof<i>" text; false when the text is not of that form.
bool baseProfileIndex(const Kdr_String& text, int& index)
{
    if (!text.startsWith("Prof", false))
        return false;
    const Kdr_String number = text.mid(4);
    if (!number.isNumber())
        return false;
    index = number.toInt();
    return true;
}

/// The section of base profile `index`.
bool baseProfileSection(Kdr_DbMacro* macro, int index, Kdr_String& section, AcTransaction* tr)
{
    AcDbObjectId id;
    return getBaseProf(macro, index, id) == Acad::eOk && getSectionName(id, section, tr) == Acad::eOk;
}
} // namespace

Acad::ErrorStatus ZxObjectMap::getMacroVarValue(Kdr_DbMacro* macro, MacroData* data, Kdr_String& value,
                                                AcTransaction* tr) const
{
    return getSetMacroVarValue(macro, data, value, true, tr);
}

Acad::ErrorStatus ZxObjectMap::setMacroVarValue(Kdr_DbMacro* macro, MacroData* data, Kdr_String& value,
                                                AcTransaction* tr) const
{
    return getSetMacroVarValue(macro, data, value, false, tr);
}

Acad::ErrorStatus ZxObjectMap::getSetMacroVarValue(Kdr_DbMacro* macro, MacroData* data, Kdr_String& value,
                                                   bool get, AcTransaction* tr) const
{
    if (!macro || macro->assertWriteEnabled() != Acad::eOk || objType == ZxMapObjType::None)
        return Acad::eInvalidInput;

    if (!isMacroWideKind(objType))
    {
        // Every module of the group is visited; for a read the last one that has the
        // variable wins, a write reaches them all.
        Kdr_StringArray moduleNames;
        if (!macro->macro().getModNamesOfGroup(objectName, moduleNames))
            return Acad::eInvalidInput;
        for (int position = 0; position < moduleNames.length(); ++position)
            getSetModuleVarValue(&macro->macro(), data, moduleNames[position], position, value, get, tr);
        return Acad::eOk;
    }

    switch (objType)
    {
    case ZxMapObjType::GenVar:
        return standards::accessGeneralVariable(macro->macro(), varName, 8, value, get);

    case ZxMapObjType::PrPlName:
    case ZxMapObjType::PrPlMaterial:
    {
        int index = 0;
        AcDbObjectId id;
        if (!get || !baseProfileIndex(varName, index) || getBaseProf(macro, index, id) != Acad::eOk)
            return Acad::eInvalidInput;
        const Acad::ErrorStatus status =
            objType == ZxMapObjType::PrPlName ? getSectionName(id, value, tr) : getMaterial(id, value, tr);
        return status == Acad::eOk ? Acad::eOk : Acad::eInvalidInput;
    }

    case ZxMapObjType::MemberSectionSize:
    {
        Kdr_String profile;
        Kdr_String column;
        int index = 0;
        Kdr_String section;
        if (!get || !varName.getSubstrBefore(";", profile, false) ||
            !varName.getSubstrAfter(";", column, false) || !baseProfileIndex(profile, index) ||
            !column.isNumber() || !baseProfileSection(macro, index, section, tr))
            return Acad::eInvalidInput;
        return getSectionValue(section, column.toInt(), value);
    }

    default:
        return Acad::eOk;
    }
}

Acad::ErrorStatus ZxObjectMap::getSetModuleVarValue(Kdr_Macro* macro, MacroData* data,
                                                    const Kdr_String& moduleName, int position,
                                                    Kdr_String& value, bool get, AcTransaction* tr) const
{
    if (!macro || !data || objType == ZxMapObjType::None || isMacroWideKind(objType))
        return Acad::eInvalidInput;
    Kdr_Module* module = nullptr;
    if (openModule(macro, moduleName, module, position) != Acad::eOk || !module)
        return Acad::eInvalidInput;
    const bool reverseStart =
        objType == ZxMapObjType::PatternReverseStart1 || objType == ZxMapObjType::PatternReverseStart2;
    if (reverseStart && module->classNumber() != Kdr_BoltModule::kClassNumber)
        return Acad::eInvalidInput;
    MacroTabData* tab = standards::findModuleTab(data, module);
    if (!tab)
        return Acad::eInvalidInput;

    if (isCutKind(objType))
        return standards::accessCutValue(module, varName, offsetOfCutKind(objType), value, get);

    switch (objType)
    {
    case ZxMapObjType::Distance:
        return standards::accessDialogVariable(tab, module, varName, value, get);
    case ZxMapObjType::BoltsDiameter:
    case ZxMapObjType::BoltsHoleOffset:
        return standards::accessBoltData(tab, objType == ZxMapObjType::BoltsDiameter, value, get);
    case ZxMapObjType::PatternNrBolts1:
    case ZxMapObjType::PatternNrBolts2:
        return getSetNrBolts(tab, varName, value, get, objType == ZxMapObjType::PatternNrBolts1) == Acad::eOk
                   ? Acad::eOk
                   : Acad::eInvalidInput;
    case ZxMapObjType::PatternReverseStart1:
    case ZxMapObjType::PatternReverseStart2:
        return standards::accessReverseStart(module, varName, objType == ZxMapObjType::PatternReverseStart1,
                                             value, get, tr);
    case ZxMapObjType::OwnedMemberName:
        standards::accessMemberGroup(tab, varName, value, get);
        return Acad::eOk;
    default:
        return Acad::eOk;
    }
}
