#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_Array.h"
#include "standards/ZxSSMapping.h"
#include "standards/ZxVarCell.h"

#include <string>
#include <unordered_map>

class Kdr_Spread;
class ZxDlgStandardsData;

/// The variable cells of one standards sheet, in collection order (Input block, Output
/// block, Local block; each row by row, left to right), and the sheet's mapping.
class ZxVarCells
{
public:
    ZxVarCells() = default;
    virtual ~ZxVarCells() = default;
    ZxVarCells(const ZxVarCells&) = default;
    ZxVarCells& operator=(const ZxVarCells&) = default;

    int length() const { return cells_.length(); }
    ZxVarCell& operator[](int index) { return cells_[index]; }
    const ZxVarCell& operator[](int index) const { return cells_[index]; }
    /// Adds a copy at the end.
    void append(const ZxVarCell& cell);
    /// Removes one cell; a bad index prints "*Error* Invalid index passed to remove.\n" and
    /// changes nothing.
    void removeAt(int index)
    {
        cells_.removeAt(index);
        indexed_ = false;
    }
    /// Removes every cell; the mapping stays.
    void resetVarCells()
    {
        cells_.removeAll();
        indexed_ = false;
    }
    const ZxSSMapping& mapping() const { return mapping_; }
    ZxSSMapping& mapping() { return mapping_; }

    /// The index of the first cell named `name` (case ignored).
    Acad::ErrorStatus findVarCell(const Kdr_String& name, int& index) const;
    /// True when every Input cell here has a twin of the same name, type and value in
    /// `other`. One-sided: cells only `other` has do not matter.
    bool hasSameInput(const ZxVarCells& other) const;

    /// Refreshes the value of every Output cell from the sheet; stops at the first failure.
    Acad::ErrorStatus getValuesFromSS(Kdr_Spread& ss);
    /// Writes the value of every cell into the sheet; stops at the first failure.
    Acad::ErrorStatus setValuesToSS(Kdr_Spread& ss);

    /// Empties the cells and collects them afresh from the sheet's "Input", "Output" and
    /// "Local" blocks. eInvalidInput when the sheet has no "Input" or no "Output" heading.
    Acad::ErrorStatus collectFromSheet(Kdr_Spread& ss);

    /// Sets up the mapping for the record's target and fills the Input and Output cells from
    /// the macro; clears the Local cells. A target that cannot be mapped leaves every cell as
    /// it is (eOk); only a record with neither module group nor macro is refused.
    Acad::ErrorStatus getFromMacro(ZxDlgStandardsData& data);
    /// Writes every Output cell into the macro; failures are skipped. Always eOk.
    Acad::ErrorStatus setToMacro(ZxDlgStandardsData& data);

private:
    void buildIndex() const;

    Kdr_Array<ZxVarCell> cells_;
    ZxSSMapping mapping_;
    /// The first cell of each name (folded to lower case), so that the equations of a sheet
    /// with many variables find theirs without walking them all. Built on first use.
    mutable std::unordered_map<std::string, int> index_;
    mutable bool indexed_ = false;
};
