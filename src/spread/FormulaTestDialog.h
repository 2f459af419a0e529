#pragma once

#include "spread/Kdr_Spread.h"
#include "ui/Dialog.h"

/// The spreadsheet formula test dialog ("Formulas"): a grid on which formulas can be tried,
/// with the FROMTABLE function that reads a cell of another sheet.
class FormulaTestDialog : public ui::Dialog
{
public:
    /// In table mode the dialog only serves as the grid of a FROMTABLE look-up.
    explicit FormulaTestDialog(bool tableMode = false);
    ~FormulaTestDialog() override;

    Kdr_Spread& spread() { return spread_; }
    bool tableMode() const { return tableMode_; }

    /// The file loaded when the dialog opens (empty: none).
    void setInitialFile(const Kdr_String& path) { initialFile_ = path; }

protected:
    bool OnInitDialog() override;

private:
    Kdr_Spread spread_;
    bool tableMode_;
    Kdr_String initialFile_;
    FormulaTestDialog* previous_ = nullptr;
};

/// FROMTABLE(file, row key or cell [, column key [, target cell]]): the value of a cell of
/// another sheet, chosen by a cell reference or by key texts looked up along the sheet's
/// header column and header row; with a cell reference as last argument the cell's data
/// text is copied into that cell of the calling sheet instead.
std::int32_t ssFromTable(grid::SpreadCalcValue* result, grid::SpreadCalcValue* args, std::int16_t count);
