#pragma once

#include "cutting/CuttingStockFiles.h"
#include "spread/Kdr_Spread.h"
#include "ui/CButtonST.h"
#include "ui/CResizer.h"
#include "ui/Dialog.h"
#include "ui/ResourceModule.h"

#include <array>

/// Template and control ids of the cutting-stock dialog.
enum CuttingStockResourceId
{
    IDD_CUTTING_STOCK = 7100,
    IDC_CSP2_MAIN_GRID = 1321,
    IDC_CSP2_STOCK_GRID = 1322,
    IDC_CSP2_PURCHASE_GRID = 1323,
    IDC_CSP2_GROUP_LABEL = 9035,
    IDC_CSP2_GROUPS = 9036,
    IDC_CSP2_MAIN_LABEL = 9037,
    IDC_CSP2_MATERIAL_LABEL = 9038,
    IDC_CSP2_STOCK_LABEL = 9041,
    IDC_CSP2_PURCHASE_LABEL = 9043,
    IDC_CSP2_ASK_NAMES = 9074,
    IDC_CSP2_ADD_GROUP = 8590,
    IDC_CSP2_DELETE_GROUP = 8591,
    IDC_CSP2_ALL_GROUPS = 8592,
    IDC_CSP2_LOAD_STOCK = 8600,
    IDC_CSP2_ADD_MAIN_ROW = 8601,
    IDC_CSP2_SAVE_STOCK = 8602,
    IDC_CSP2_LOAD_PURCHASE = 8603,
    IDC_CSP2_SAVE_PURCHASE = 8604,
    IDC_CSP2_DELETE_MAIN_ROW = 8605,
    IDC_CSP2_ADD_STOCK_ROW = 8606,
    IDC_CSP2_DELETE_STOCK_ROW = 8607,
    IDC_CSP2_ADD_PURCHASE_ROW = 8608,
    IDC_CSP2_DELETE_PURCHASE_ROW = 8609,
};

/// Registers the dialog's template with the module's resources.
void registerCuttingStockTemplate(ui::ResourceModule& module);

/// The cutting-stock dialog: the groups of a run and, for the group shown, its main, stock and
/// purchase tables in three grids. It edits a copy of the host's record; grid edits reach the
/// copy when the shown group's rows are taken back (on changing the group, before every load,
/// save and report, and on OK).
class ZxDlgCSP2 : public ui::Dialog
{
public:
    explicit ZxDlgCSP2(const DlgCSP2Data& data, ui::Window* parent = nullptr);

    const DlgCSP2Data& data() const { return data_; }
    /// The id of the group shown, -1 for none.
    int shownGroup() const { return shownGroup_; }

    static constexpr const char* kSizeKey = "DLG_OPTIMIZECSP2";

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;
    void OnSize(unsigned type, int cx, int cy) override;

private:
    Kdr_Spread& grid(int index) { return grids_[index]; }
    CSP2Table& table(int index);
    int selectedGroupIndex() const;

    void showGroup(int groupId);
    void showTable(int index, int groupId);
    void takeBackGroup();
    void takeBackTable(int index, int groupId);

    void onGroupChosen();
    void addGroup();
    void deleteGroup();
    void addRow(int index);
    void deleteRow(int index);
    /// Asks for the file to load or save in a file dialog proposing `proposed`; false when
    /// cancelled, else the chosen path with the kind's extension.
    bool askForFile(cutting::TableKind kind, bool load, const Kdr_String& proposed, Kdr_String& path);
    void loadOrSave(cutting::TableKind kind, bool load);
    void allGroups();
    void reportFailure(const Kdr_String& text);

    DlgCSP2Data data_;
    int shownGroup_ = -1;
    std::array<Kdr_Spread, 3> grids_;
    std::array<CButtonST, 10> pictureButtons_;
    CResizer resizer_;
};

/// Runs the cutting-stock dialog modally on a copy of `data`; on OK the copy is written back
/// and true returned, otherwise `data` is left as it was.
bool StartDlgCSP2(DlgCSP2Data& data);
