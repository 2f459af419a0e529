#include "standards/ZxVarCell.h"

#include "standards/ZxSSMapping.h"

#include <array>
#include <utility>

Acad::ErrorStatus ZxVarCell::initializeFromText(const Kdr_String& text, const int& col, const int& row,
                                                const ZxCellType& type)
{
    struct TypeWord
    {
        const char* word;
        ZxValueType type;
    };
    // Tried in this order, as prefixes: "Integer x" declares an Int named x.
    static constexpr std::array<TypeWord, 3> kTypeWords{{
        {"Int", valInt},
        {"Double", valDouble},
        {"String", valString},
    }};

    Kdr_String declaration(text);
    declaration.trim();
    const TypeWord* found = nullptr;
    for (const TypeWord& candidate : kTypeWords)
    {
        if (declaration.startsWith(candidate.word, false))
        {
            found = &candidate;
            break;
        }
    }
    if (!found)
        return Acad::eInvalidInput;

    const size_t blank = declaration.find_first_of(" \t");
    name = blank == std::string::npos ? Kdr_String() : Kdr_String(declaration.substr(blank + 1));
    valueType = found->type;
    this->col = col;
    this->row = row;
    cellType = type;
    return Acad::eOk;
}

Acad::ErrorStatus ZxVarCell::setNewValue(const Kdr_String& newValue)
{
    value = newValue;
    return Acad::eOk;
}

Acad::ErrorStatus ZxVarCell::setValueFromMacro(ZxSSMapping& mapping, ZxDlgStandardsData& data)
{
    return mapping.getMacroVarValue(name, valueType, value, data) == Acad::eOk ? Acad::eOk
                                                                               : Acad::eInvalidInput;
}

Acad::ErrorStatus ZxVarCell::setValueToMacro(ZxSSMapping& mapping, ZxDlgStandardsData& data)
{
    return mapping.setMacroVarValue(name, valueType, value, data) == Acad::eOk ? Acad::eOk
                                                                               : Acad::eInvalidInput;
}
