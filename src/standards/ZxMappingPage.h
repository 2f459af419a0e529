#pragma once

#include "host/TabMappingData.h"
#include "spread/Kdr_Spread.h"
#include "spread/ZxStandardsSpread.h"
#include "standards/ZxMappingChoices.h"
#include "ui/CButtonST.h"
#include "ui/Dialog.h"

#include <vector>

/// The standards mapping page of a macro's settings window: the list of standards sheets
/// attached to the macro, each mapped to one module group or to the entire macro, and for a
/// sheet on the entire macro the binding of each Input and Output variable to a macro variable.
///
/// The page works on a TabMappingData the container attaches before the page is created. The
/// sheet list answers the grid's notifications: a changed current row shows that sheet's
/// variables (after storing the bindings of the sheet shown before), a changed cell re-reads
/// the list. Bindings are stored in the sheet's mapping file under a new key whenever they
/// changed; the container's OK calls store().
class ZxMappingPage : public ui::Dialog
{
public:
    /// Grid notifications of the sheet list after which its current row may be another one:
    /// the active cell left its cell or row, a click, a changed entry, a double click.
    static constexpr int kRowChangeCodes[] = {0x509, 0x50A, 0x50C, 0x516, 0x518};
    /// Grid notification of the sheet list that its cell editor closed (after typing or
    /// choosing in a cell).
    static constexpr int kEditedCode = 0x517;
    /// The choice of the "Maps to" column that binds a sheet variable by variable.
    static constexpr const char* kEntireMacro = "<Entire macro>";
    /// Background of the variable name column.
    static constexpr grid::Color kNameBackground = 0xF0F0F0;

    explicit ZxMappingPage(ui::Window* parent = nullptr);

    void setData(TabMappingData* data) { data_ = data; }
    TabMappingData* data() const { return data_; }

    /// The container's OK: takes the sheet list and the shown bindings into the record and
    /// the mapping file. True when anything changed.
    bool store();
    bool isModified() const { return modified_; }

protected:
    bool OnInitDialog() override;

private:
    /// One shown variable: its row in the variable grid and the choices offered there.
    struct VariableRow
    {
        int gridRow = 0;
        ZxVariableChoices choices;
    };

    bool isActive() const { return data_ && data_->catalogue(); }
    /// The sheet row the grid's current row stands for (0-based); -1 for none.
    int currentIndex() const;
    void selectSheetRow(int index);

    void fillSheetList();
    void rereadSheetList();
    void showVariables(int index);
    void clearVariables();
    /// Sizes the variable grid's columns to its texts and its width.
    void fitVariableColumns();
    void addVariableSection(const char* caption, ZxCellType kind, const std::vector<ZxVariableChoices>& rows);
    void storeVariables();

    void rowChange();
    void reread();
    void moveUp() { move(-1); }
    void moveDown() { move(1); }
    void move(int step);
    void add();
    void remove();
    /// Shows the sheet at `index` after the list was rebuilt: nothing was shown in between, so
    /// nothing is stored for the row that used to be there.
    void afterListEdit(int index);

    CButtonST up_;
    CButtonST down_;
    Kdr_Spread sheets_;
    ZxStandardsSpread variables_;
    TabMappingData* data_ = nullptr;
    /// The sheet row whose variables are shown; -1 for none.
    int shown_ = 0;
    bool modified_ = false;
    /// The stored bindings of the shown sheet, for preselection.
    ZxSSMapping working_;
    std::vector<VariableRow> rows_;
};
