#include "spread/FormulaTestDialog.h"

#include "frame/ModuleResources.h"
#include "spread/StandardsFunctions.h"

namespace
{
/// The formula test dialog whose grid is being calculated (FROMTABLE writes into it).
FormulaTestDialog* gCurrentFormulaDialog = nullptr;

bool isCell(const grid::SpreadCalcValue* args, int count, int index)
{
    return index < count && args[index].status == grid::kCalcStatusValid &&
           args[index].type == grid::kCalcTypeCell;
}

/// The row (column) whose header cell, or whose first cell, reads `key`.
bool findKey(Kdr_Spread& spread, const Kdr_String& key, bool inRows, int& found)
{
    const int count = inRows ? spread.getMaxRows() : spread.getMaxCols();
    for (int pass = 0; pass < 2; ++pass)
    {
        const int fixed = pass == 0 ? Kdr_Spread::kHeaderIndex : 1;
        for (int i = 1; i <= count; ++i)
        {
            Kdr_String text;
            const int col = inRows ? fixed : i;
            const int row = inRows ? i : fixed;
            if (spread.getCellText(col, row, text, ctkValue) && text.equal(key, false))
            {
                found = i;
                return true;
            }
        }
    }
    return false;
}
} // namespace

FormulaTestDialog::FormulaTestDialog(bool tableMode) : ui::Dialog(IDD_FORMULA_TEST), tableMode_(tableMode)
{
}

FormulaTestDialog::~FormulaTestDialog()
{
    if (gCurrentFormulaDialog == this)
        gCurrentFormulaDialog = previous_;
}

bool FormulaTestDialog::OnInitDialog()
{
    spread_.createInDialog(this, IDC_SS_PLACEHOLDER, false);
    if (!tableMode_)
    {
        previous_ = gCurrentFormulaDialog;
        gCurrentFormulaDialog = this;
        spread_.addCustomFunction("FROMTABLE", 2, 4, ssFromTable, grid::kCustomFunctionPassReferences);
        if (!initialFile_.empty() && spread_.loadFile(initialFile_))
        {
            spread_.recalcCell(1, 1);
            Kdr_String text;
            spread_.getCellText(1, 1, text, ctkValue);
        }
    }
    return true;
}

std::int32_t ssFromTable(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count)
{
    result->status = grid::kCalcStatusEmpty;
    result->type = grid::kCalcTypeLong;
    Kdr_String file;
    if (count < 2 || !calcArgText(args, count, 0, file))
        return 0;

    ModuleResourceScope resources;
    FormulaTestDialog table(true);
    if (!table.Create(IDD_FORMULA_TEST, nullptr))
        return 0;
    Kdr_Spread& spread = table.spread();
    if (!spread.loadFile(file))
        return 0;

    // The cell: by reference, or by a row key and a column key.
    int col = 0, row = 0;
    int used = 2;
    grid::SpreadCalcValue::CellFields cell{};
    Kdr_String rowKey, colKey;
    if (calcArgCell(args, count, 1, cell))
    {
        col = cell.col;
        row = cell.row;
    }
    else if (calcArgText(args, count, 1, rowKey) && count >= 3 && calcArgText(args, count, 2, colKey))
    {
        if (!findKey(spread, rowKey, true, row) || !findKey(spread, colKey, false, col))
            return 0;
        used = 3;
    }
    else
        return 0;

    spread.recalcCell(col, row);
    const int last = count - 1;
    if (last >= used && isCell(args, count, last))
    {
        // The calling formula reads the target cell, so writing it calculates that formula
        // again: write only a changed text, and never from inside such a write.
        static bool writing = false;
        Kdr_String data, current;
        const int targetCol = args[last].value.cell.col;
        const int targetRow = args[last].value.cell.row;
        if (!writing && gCurrentFormulaDialog && spread.getCellText(col, row, data, ctkData))
        {
            Kdr_Spread& caller = gCurrentFormulaDialog->spread();
            caller.getCellText(targetCol, targetRow, current, ctkData);
            if (current != data)
            {
                writing = true;
                caller.setCellText(targetCol, targetRow, data.c_str());
                writing = false;
            }
        }
        return 1;
    }
    Kdr_String value;
    if (!spread.getCellText(col, row, value, ctkValue))
        return 0;
    const int code = spread.sheet().cellTypeCode(col, row);
    if (code == 10 || code == 12)
    {
        result->status = grid::kCalcStatusValid;
        result->type = grid::kCalcTypeLong;
        result->value.longValue = value.toInt();
        return 1;
    }
    if (code >= 14 && code <= 16)
        return setCalcResultNumber(result, value.toDouble());
    return setCalcResultText(result, value);
}
