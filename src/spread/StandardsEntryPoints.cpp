#include "spread/StandardsEntryPoints.h"

#include "frame/ModuleResources.h"
#include "frame/ZxModalDialog.h"
#include "grid/Sheet.h"
#include "host/StringFunctions.h"
#include "spread/FormulaTestDialog.h"
#include "spread/ZxSSDlgsMgr.h"
#include "standards/ZxDlgStandardsData.h"

#include <algorithm>

bool StartDlgStandardsSS(ZxDlgStandardsData& data)
{
    ModuleResourceScope resources;
    auto* dialog = static_cast<ZxStandardsDlg*>(gSSDlgsMgr.getDlg());
    if (!dialog)
        return false;
    dialog->working() = data;
    const bool ok = dialog->evaluate() == Acad::eOk;
    if (ok)
        data = dialog->working();
    gSSDlgsMgr.releaseDlg(dialog);
    return ok;
}

bool StartDlgStandardsSStest()
{
    ZxDlgStandardsData data;
    data.mode = ZxDlgStandardsData::kChildRun;
    data.fileName = "c:\\a\\a\\a\\test.zxs";
    const struct
    {
        const char* name;
        const char* value;
        ZxCellType type;
    } arguments[] = {{"Column", "IPE-200", cellInput},
                     {"Thickness", "10", cellInput},
                     {"Width", "212", cellOutput},
                     {"Length", "356", cellOutput}};
    for (const auto& argument : arguments)
    {
        ZxVarCell cell;
        cell.name = argument.name;
        cell.value = argument.value;
        cell.cellType = argument.type;
        data.varCells.append(cell);
    }
    return StartDlgStandardsSS(data);
}

void EvaluateSS()
{
    // A development aid with no record: nothing goes back to the caller.
    runModalOnRecord<FormulaTestDialog>(
        [](FormulaTestDialog& dialog) { dialog.setInitialFile("c:\\a\\t3.sss"); }, [](FormulaTestDialog&) {});
}

void ReadSSFile(const Kdr_String& fileName, Kdr_String& firstCell, Kdr_StringArray& columnCaptions,
                Kdr_Array<Kdr_StringArray>& rows)
{
    columnCaptions.clear();
    rows.clear();
    firstCell.clear();
    ModuleResourceScope resources;
    FormulaTestDialog dialog(true);
    if (!dialog.Create(IDD_FORMULA_TEST, nullptr))
        return;
    Kdr_Spread& spread = dialog.spread();
    if (spread.loadFile(fileName))
    {
        spread.getCellText(1, 1, firstCell, ctkData);
        // The texts end with the last column and row that hold an entry or a caption: a sheet
        // may declare far more than it holds.
        const grid::Sheet& sheet = spread.sheet();
        int cols = sheet.usedCols();
        sheet.forEachCell(
            [&](int col, int row)
            {
                if (row == Kdr_Spread::kHeaderIndex && col <= sheet.maxCols() &&
                    !sheet.cellDataText(col, row).empty())
                    cols = std::max(cols, col);
            });
        const int usedRows = sheet.usedRows();
        for (int col = 1; col <= cols; ++col)
        {
            Kdr_String caption;
            spread.getCellText(col, Kdr_Spread::kHeaderIndex, caption, ctkData);
            // A header without a caption of its own shows the column's letters.
            columnCaptions.append(caption.empty() ? getAlfabet(col) : caption);
        }
        for (int row = 1; row <= usedRows; ++row)
        {
            Kdr_StringArray texts;
            for (int col = 1; col <= cols; ++col)
            {
                Kdr_String text;
                spread.getCellText(col, row, text, ctkData);
                texts.append(text);
            }
            rows.append(texts);
        }
    }
    dialog.DestroyWindow();
}
