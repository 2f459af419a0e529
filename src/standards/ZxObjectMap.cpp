#include "standards/ZxObjectMap.h"

#include "standards/ZxVarCell.h"

#include <array>
#include <utility>

namespace
{
size_t findByte(std::string_view text, char byte, size_t from = 0)
{
    return text.find(byte, from);
}

// The order in which kind words are tried, as prefixes, when a map text is read. Mapping files
// written by earlier versions rely on it, so it is part of the file format.
constexpr std::array kParseOrder{
    ZxMapObjType::Distance,
    ZxMapObjType::GenVar,
    ZxMapObjType::CutOffset,
    ZxMapObjType::CutPolyOffset,
    ZxMapObjType::CutLengthOffset,
    ZxMapObjType::CutCenterOffset,
    ZxMapObjType::CutInsideOffset,
    ZxMapObjType::CutOutsideOffset,
    ZxMapObjType::CutChamferOffset1,
    ZxMapObjType::CutChamferOffset2,
    ZxMapObjType::CutRadius,
    ZxMapObjType::PatternNrBolts1,
    ZxMapObjType::PatternNrBolts2,
    ZxMapObjType::PatternReverseStart1,
    ZxMapObjType::PatternReverseStart2,
    ZxMapObjType::PrPlName,
    ZxMapObjType::PrPlMaterial,
    ZxMapObjType::OwnedMemberName,
    ZxMapObjType::MemberSectionSize,
    ZxMapObjType::BoltsDiameter,
    ZxMapObjType::BoltsHoleOffset,
};

int firstBlank(const Kdr_String& text)
{
    const size_t at = text.find_first_of(" \t");
    return at == std::string::npos ? -1 : static_cast<int>(at);
}
} // namespace

Acad::ErrorStatus ZxObjectMap::getMappingFromStrs(const Kdr_String& ssVar, const Kdr_String& mapText)
{
    const size_t separator = findByte(mapText, kMapObjectSeparator);
    if (separator == std::string::npos)
        return Acad::eInvalidInput;
    Kdr_String object = mapText.substr(0, separator);
    Kdr_String rest = mapText.substr(separator + 1);
    rest.trim();

    ZxMapObjType kind = ZxMapObjType::None;
    for (ZxMapObjType candidate : kParseOrder)
    {
        if (rest.startsWith(kindWord(candidate), false))
        {
            kind = candidate;
            break;
        }
    }
    if (kind == ZxMapObjType::None)
        return Acad::eInvalidInput;

    Kdr_String variable;
    const int blank = firstBlank(rest);
    if (blank >= 0)
    {
        variable = rest.mid(blank + 1);
        variable.trim();
    }

    objectName = std::move(object);
    objType = kind;
    varName = std::move(variable);
    ssVarName = ssVar;
    return Acad::eOk;
}

Acad::ErrorStatus ZxObjectMap::setMappingToStrs(Kdr_String& mapText, Kdr_String& ssVar) const
{
    mapText = objectName;
    mapText.push_back(kMapObjectSeparator);
    const char* word = kindWord(objType);
    if (!word)
        return Acad::eInvalidInput;
    mapText += word;
    mapText += ' ';
    mapText += varName;
    ssVar = ssVarName;
    return Acad::eOk;
}

Acad::ErrorStatus ZxObjectMap::mapFromArrays(const Kdr_StringArray& ssVars, const Kdr_StringArray& mapTexts,
                                             const ZxVarCell& cell)
{
    const int index = ssVars.find(cell.name, false);
    if (index < 0 || index >= mapTexts.length())
        return Acad::eInvalidInput;
    return getMappingFromStrs(ssVars[index], mapTexts[index]);
}

Acad::ErrorStatus ZxObjectMap::isCompatible(const ZxObjectMap& other) const
{
    if (objectName.equal(other.objectName, false) && varName.equal(other.varName, false) &&
        objType == other.objType)
        return Acad::eOk;
    return Acad::eInvalidInput;
}
