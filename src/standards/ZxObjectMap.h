#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_StringArray.h"
#include "standards/ZxMapObjType.h"

class Kdr_DbMacro;
class Kdr_Macro;
class MacroData;
class AcTransaction;
class ZxVarCell;

/// Byte between the object name and the kind word of a binding's map text.
inline constexpr char kMapObjectSeparator = '\x95';

/// One binding: a spreadsheet variable bound to one variable of a macro object.
class ZxObjectMap
{
public:
    ZxObjectMap() = default;
    virtual ~ZxObjectMap() = default;
    ZxObjectMap(const ZxObjectMap&) = default;
    ZxObjectMap& operator=(const ZxObjectMap&) = default;

    /// Parses a map text ("object" 0x95 "Kind varName") and takes `ssVar` as the spreadsheet
    /// variable name. A text without 0x95 or with an unknown kind word gives eInvalidInput and
    /// changes nothing. visibility and description are never touched.
    Acad::ErrorStatus getMappingFromStrs(const Kdr_String& ssVar, const Kdr_String& mapText);

    /// Builds the map text and copies the spreadsheet variable name. A kind without a kind word
    /// gives eInvalidInput, with the object name and separator already in `mapText`.
    Acad::ErrorStatus setMappingToStrs(Kdr_String& mapText, Kdr_String& ssVar) const;

    /// Takes the pair at the position of `cell`'s name in `ssVars` (case ignored).
    Acad::ErrorStatus mapFromArrays(const Kdr_StringArray& ssVars, const Kdr_StringArray& mapTexts,
                                    const ZxVarCell& cell);

    /// eOk when object name and variable name are equal (case ignored) and the kind is equal.
    Acad::ErrorStatus isCompatible(const ZxObjectMap& other) const;

    /// Reads the macro variable this binding reaches into `value`.
    Acad::ErrorStatus getMacroVarValue(Kdr_DbMacro* macro, MacroData* data, Kdr_String& value,
                                       AcTransaction* tr) const;
    /// Writes `value` into the macro variable this binding reaches.
    Acad::ErrorStatus setMacroVarValue(Kdr_DbMacro* macro, MacroData* data, Kdr_String& value,
                                       AcTransaction* tr) const;

    /// Module group (or module) the variable belongs to; empty for macro-wide kinds.
    Kdr_String objectName;
    /// Variable, cut, pattern or member name; "Prof<i>" or "Prof<i>;<j>" for base profiles.
    Kdr_String varName;
    /// The spreadsheet variable bound to it.
    Kdr_String ssVarName;
    ZxMapObjType objType = ZxMapObjType::None;
    ZxVarVisibility visibility = HiddenFixed;
    /// For MemberSectionSize the column name of the section table.
    Kdr_String description;

private:
    Acad::ErrorStatus getSetMacroVarValue(Kdr_DbMacro* macro, MacroData* data, Kdr_String& value, bool get,
                                          AcTransaction* tr) const;
    Acad::ErrorStatus getSetModuleVarValue(Kdr_Macro* macro, MacroData* data, const Kdr_String& moduleName,
                                           int position, Kdr_String& value, bool get,
                                           AcTransaction* tr) const;
};
