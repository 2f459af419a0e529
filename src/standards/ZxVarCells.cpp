#include "standards/ZxVarCells.h"

#include "standards/StandardsTimers.h"
#include "standards/VariableMessages.h"
#include "standards/ZxDlgStandardsData.h"

Acad::ErrorStatus ZxVarCells::findVarCell(const Kdr_String& name, int& index) const
{
    for (int i = 0; i < cells_.length(); ++i)
    {
        if (cells_[i].name.equal(name, false))
        {
            index = i;
            return Acad::eOk;
        }
    }
    return Acad::eInvalidInput;
}

bool ZxVarCells::hasSameInput(const ZxVarCells& other) const
{
    for (const ZxVarCell& cell : cells_)
    {
        if (!cell.isInput())
            continue;
        int index = -1;
        if (other.findVarCell(cell.name, index) != Acad::eOk)
            return false;
        const ZxVarCell& twin = other[index];
        if (twin.valueType != cell.valueType || !twin.value.equal(cell.value, false))
            return false;
    }
    return true;
}

Acad::ErrorStatus ZxVarCells::getFromMacro(ZxDlgStandardsData& data)
{
    // The mapping is built afresh for every run: bindings left from an earlier sheet or
    // target must never carry this sheet's values into the macro.
    mapping_ = ZxSSMapping();
    gInitMapping.start();
    const bool byModuleGroup = !data.moduleGroup.isEmpty();
    if (!byModuleGroup && !data.dbMacro)
    {
        gInitMapping.end();
        return Acad::eInvalidInput;
    }
    const Acad::ErrorStatus status =
        byModuleGroup ? mapping_.initFromModuleGroup(data.moduleGroup) : mapping_.initFromMacro(data);
    gInitMapping.end();
    if (status != Acad::eOk)
        return Acad::eOk; // the sheet runs on the values already in its cells

    gInitFromMacro.start();
    for (ZxVarCell& cell : cells_)
    {
        if (cell.isLocal())
        {
            cell.setNewValue("");
            continue;
        }
        if (cell.setValueFromMacro(mapping_, data) != Acad::eOk)
            showVariableError(cell.isInput(), cell.name, data.fileName);
    }
    gInitFromMacro.end();
    return Acad::eOk;
}

Acad::ErrorStatus ZxVarCells::setToMacro(ZxDlgStandardsData& data)
{
    for (ZxVarCell& cell : cells_)
        if (cell.isOutput())
            cell.setValueToMacro(mapping_, data);
    return Acad::eOk;
}
