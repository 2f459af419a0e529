#include "standards/ZxVarCells.h"

#include "standards/StandardsTimers.h"
#include "standards/VariableMessages.h"
#include "standards/ZxDlgStandardsData.h"
#include "standards/ZxEvaluationReport.h"

namespace
{
std::string foldedName(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}
} // namespace

void ZxVarCells::append(const ZxVarCell& cell)
{
    cells_.append(cell);
    if (indexed_)
        index_.emplace(foldedName(cell.name), cells_.length() - 1);
}

void ZxVarCells::buildIndex() const
{
    index_.clear();
    for (int i = 0; i < cells_.length(); ++i)
        index_.emplace(foldedName(cells_[i].name), i);
    indexed_ = true;
}

Acad::ErrorStatus ZxVarCells::findVarCell(const Kdr_String& name, int& index) const
{
    if (!indexed_)
        buildIndex();
    auto found = index_.find(foldedName(name));
    // A cell renamed through operator[] leaves the index behind; it is then built afresh.
    if (found != index_.end() &&
        (found->second >= cells_.length() || !cells_[found->second].name.equal(name, false)))
    {
        buildIndex();
        found = index_.find(foldedName(name));
    }
    if (found == index_.end())
        return Acad::eInvalidInput;
    index = found->second;
    return Acad::eOk;
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
        {
            gEvaluationReport.addFailure({data.fileName,
                                          0,
                                          cell.name,
                                          {},
                                          cell.isInput() ? "the Input value cannot be read from the macro"
                                                         : "the Output value cannot be read from the macro"});
            showVariableError(cell.isInput(), cell.name, data.fileName);
        }
    }
    gInitFromMacro.end();
    return Acad::eOk;
}

Acad::ErrorStatus ZxVarCells::setToMacro(ZxDlgStandardsData& data)
{
    for (ZxVarCell& cell : cells_)
    {
        if (!cell.isOutput() || cell.setValueToMacro(mapping_, data) == Acad::eOk)
            continue;
        gEvaluationReport.addFailure(
            {data.fileName,
             0,
             cell.name,
             {},
             "the Output value \"" + cell.value + "\" cannot be written into the macro"});
        // The cell then tells what the macro holds, not a value that never arrived there.
        Kdr_String held;
        cell.value = mapping_.getMacroVarValue(cell.name, cell.valueType, held, data) == Acad::eOk
                         ? held
                         : Kdr_String();
    }
    return Acad::eOk;
}
