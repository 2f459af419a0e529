#pragma once

#include "host/Kdr_StringArray.h"

/// One variable of a macro dialog tab as the dialog shows it.
struct MacroCellData
{
    /// How the value is edited: 1 a number, 2 a text, 3 and 4 a choice from `items`, 5 a check.
    enum Kind
    {
        kNumber = 1,
        kText = 2,
        kCombo = 3,
        kComboEdit = 4,
        kCheck = 5
    };

    Kdr_String name;
    Kdr_String value;
    int kind = kNumber;
    bool readOnly = false;
    /// The choices of a combo variable.
    Kdr_StringArray items;
    /// Where the dialog shows the variable: a template control id (positive), a grid row
    /// (negative), or 0 when it is not shown.
    int dlgRef = 0;

    bool operator==(const MacroCellData& other) const = default;
};
