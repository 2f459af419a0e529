// The variable cell's moves between its object and its cell of the sheet.

#include "spread/Kdr_Spread.h"
#include "standards/ZxVarCell.h"

Acad::ErrorStatus ZxVarCell::initialize(Kdr_Spread& ss, const int& col, const int& row,
                                        const ZxCellType& type)
{
    Kdr_String text;
    if (!ss.getCellText(col, row, text, ctkValue))
        return Acad::eInvalidInput;
    return initializeFromText(text, col, row, type);
}

Acad::ErrorStatus ZxVarCell::setValueFromOther(Kdr_Spread& ss, const ZxVarCell& other)
{
    return setNewValue(ss, other.value);
}

Acad::ErrorStatus ZxVarCell::setNewValue(Kdr_Spread& ss, const Kdr_String& newValue)
{
    value = newValue;
    return setValueToSS(ss);
}

Acad::ErrorStatus ZxVarCell::setValueToSS(Kdr_Spread& ss)
{
    // Numbers are held with the precision the sheet's equations need; the declaration text
    // in the cell gives way to the value. A variable written again has its type already.
    switch (valueType)
    {
    case valInt:
        if (!ss.hasNumberType(col, row, 0, false))
            ss.setNumberType(col, row, 0, false);
        break;
    case valDouble:
        if (!ss.hasNumberType(col, row, 7, false))
            ss.setNumberType(col, row, 7, false);
        break;
    default:
        if (!ss.hasTextType(col, row, 0, 9999))
            ss.setTextType(col, row, col, row, 0, 9999);
        break;
    }
    return ss.setCellValue(col, row, value) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus ZxVarCell::getCurrentValue(Kdr_Spread& ss, Kdr_String& out) const
{
    return ss.getCellText(col, row, out, ctkValue) ? Acad::eOk : Acad::eInvalidInput;
}
