#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_String.h"
#include "standards/ZxVarTypes.h"

class Kdr_Spread;
class ZxSSMapping;
class ZxDlgStandardsData;

/// One variable cell of a standards sheet: a cell whose text declares a typed, named variable
/// ("Double WidthOfPlate"). The value always travels as text.
class ZxVarCell
{
public:
    ZxVarCell() = default;
    virtual ~ZxVarCell() = default;
    ZxVarCell(const ZxVarCell&) = default;
    ZxVarCell& operator=(const ZxVarCell&) = default;

    /// Reads the cell at (col, row) as a declaration: a type word "Int", "Double" or "String"
    /// as a prefix of the blank-stripped text, the name after the first blank (possibly empty).
    /// On success sets name, valueType, col, row and cellType; value is left as it is.
    Acad::ErrorStatus initialize(Kdr_Spread& ss, const int& col, const int& row, const ZxCellType& type);

    /// The declaration part of initialize, on a text already read from the sheet.
    Acad::ErrorStatus initializeFromText(const Kdr_String& text, const int& col, const int& row,
                                         const ZxCellType& type);

    bool isInput() const { return cellType == cellInput; }
    bool isOutput() const { return cellType == cellOutput; }
    bool isLocal() const { return cellType == cellLocal; }

    /// Takes `other`'s value and writes it into this cell of the sheet.
    Acad::ErrorStatus setValueFromOther(Kdr_Spread& ss, const ZxVarCell& other);

    /// Reads the macro variable bound to this cell into value.
    Acad::ErrorStatus setValueFromMacro(ZxSSMapping& mapping, ZxDlgStandardsData& data);
    /// Writes value into the macro variable bound to this cell.
    Acad::ErrorStatus setValueToMacro(ZxSSMapping& mapping, ZxDlgStandardsData& data);

    Kdr_String name;
    ZxCellType cellType = cellInput;
    Kdr_String value;
    ZxValueType valueType = valString;
    int col = 0;
    int row = 0;

private:
    friend class ZxVarCells;
    friend class ZxStandardsSpread;

    Acad::ErrorStatus setNewValue(const Kdr_String& newValue);
    Acad::ErrorStatus setNewValue(Kdr_Spread& ss, const Kdr_String& newValue);
    /// Formats the cell by value type (Int: 0 decimals, Double: 7 decimals, String: text) and
    /// writes value into it.
    Acad::ErrorStatus setValueToSS(Kdr_Spread& ss);
    /// The cell's current value text.
    Acad::ErrorStatus getCurrentValue(Kdr_Spread& ss, Kdr_String& out) const;
};
