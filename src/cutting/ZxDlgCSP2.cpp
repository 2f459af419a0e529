#include "cutting/ZxDlgCSP2.h"

#include "frame/ModuleResources.h"
#include "frame/ZxModalDialog.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/Texts.h"
#include "ui/ComboBox.h"
#include "ui/DialogAids.h"
#include "ui/DialogSizes.h"
#include "ui/UserAgent.h"

#include <algorithm>

namespace
{
using cutting::TableKind;

constexpr int kGridIds[3] = {IDC_CSP2_MAIN_GRID, IDC_CSP2_STOCK_GRID, IDC_CSP2_PURCHASE_GRID};
constexpr int kMain = 0;
constexpr int kStock = 1;
constexpr int kPurchase = 2;
constexpr int kGridColumns = 3;

/// Icons of the picture buttons.
constexpr int kAddRowIcon = 212;
constexpr int kDeleteRowIcon = 206;
constexpr int kLoadIcon = 232;
constexpr int kSaveIcon = 233;

struct PictureButton
{
    int id;
    int icon;
    int tooltip;
};
constexpr PictureButton kPictureButtons[10] = {
    {IDC_CSP2_ADD_MAIN_ROW, kAddRowIcon, 616},     {IDC_CSP2_DELETE_MAIN_ROW, kDeleteRowIcon, 617},
    {IDC_CSP2_ADD_STOCK_ROW, kAddRowIcon, 616},    {IDC_CSP2_DELETE_STOCK_ROW, kDeleteRowIcon, 617},
    {IDC_CSP2_ADD_PURCHASE_ROW, kAddRowIcon, 616}, {IDC_CSP2_DELETE_PURCHASE_ROW, kDeleteRowIcon, 617},
    {IDC_CSP2_LOAD_STOCK, kLoadIcon, 618},         {IDC_CSP2_SAVE_STOCK, kSaveIcon, 619},
    {IDC_CSP2_LOAD_PURCHASE, kLoadIcon, 618},      {IDC_CSP2_SAVE_PURCHASE, kSaveIcon, 619},
};

/// Controls that stock mode disables: everything but the stock table.
constexpr int kFullModeOnly[] = {
    IDC_CSP2_ADD_GROUP,        IDC_CSP2_DELETE_GROUP,        IDC_CSP2_MAIN_LABEL,
    IDC_CSP2_MATERIAL_LABEL,   IDC_CSP2_MAIN_GRID,           IDC_CSP2_PURCHASE_LABEL,
    IDC_CSP2_PURCHASE_GRID,    IDC_CSP2_ADD_MAIN_ROW,        IDC_CSP2_DELETE_MAIN_ROW,
    IDC_CSP2_ADD_PURCHASE_ROW, IDC_CSP2_DELETE_PURCHASE_ROW, IDC_CSP2_LOAD_PURCHASE,
    IDC_CSP2_SAVE_PURCHASE};

constexpr int kMinWidth = 200;
constexpr int kMinHeight = 130;
} // namespace

void registerCuttingStockTemplate(ui::ResourceModule& module)
{
    ui::DialogTemplate t(IDD_CUTTING_STOCK, "Cutting stock", 0, 0, 400, 262);
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME;
    t.ltext(IDC_CSP2_GROUP_LABEL, "Group:", 7, 9, 40, 8);
    t.comboBox(IDC_CSP2_GROUPS, 50, 7, 150, 100);
    t.pushButton(IDC_CSP2_ADD_GROUP, "Add group", 206, 6, 60, 14);
    t.pushButton(IDC_CSP2_DELETE_GROUP, "Delete group", 270, 6, 60, 14);
    t.ltext(IDC_CSP2_MAIN_LABEL, "Parts to cut", 7, 28, 150, 8);
    t.pushButton(IDC_CSP2_ADD_MAIN_ROW, "", 353, 24, 18, 14);
    t.pushButton(IDC_CSP2_DELETE_MAIN_ROW, "", 375, 24, 18, 14);
    t.control(IDC_CSP2_MAIN_GRID, "STATIC", "", 0, 7, 40, 386, 78);
    t.ltext(IDC_CSP2_MATERIAL_LABEL, "Available material", 7, 124, 150, 8);
    t.ltext(IDC_CSP2_STOCK_LABEL, "Stock lengths", 7, 140, 80, 8);
    t.pushButton(IDC_CSP2_LOAD_STOCK, "", 111, 136, 18, 14);
    t.pushButton(IDC_CSP2_SAVE_STOCK, "", 133, 136, 18, 14);
    t.pushButton(IDC_CSP2_ADD_STOCK_ROW, "", 157, 136, 18, 14);
    t.pushButton(IDC_CSP2_DELETE_STOCK_ROW, "", 179, 136, 18, 14);
    t.control(IDC_CSP2_STOCK_GRID, "STATIC", "", 0, 7, 152, 190, 80);
    t.ltext(IDC_CSP2_PURCHASE_LABEL, "Purchase lengths", 203, 140, 80, 8);
    t.pushButton(IDC_CSP2_LOAD_PURCHASE, "", 307, 136, 18, 14);
    t.pushButton(IDC_CSP2_SAVE_PURCHASE, "", 329, 136, 18, 14);
    t.pushButton(IDC_CSP2_ADD_PURCHASE_ROW, "", 353, 136, 18, 14);
    t.pushButton(IDC_CSP2_DELETE_PURCHASE_ROW, "", 375, 136, 18, 14);
    t.control(IDC_CSP2_PURCHASE_GRID, "STATIC", "", 0, 203, 152, 190, 80);
    t.pushButton(IDC_CSP2_ALL_GROUPS, "Load latest files", 7, 241, 110, 14);
    t.autoCheckBox(IDC_CSP2_ASK_NAMES, "Ask for file names", 123, 244, 110, 10);
    t.defPushButton(IDOK, "OK", 290, 241, 50, 14);
    t.pushButton(IDCANCEL, "Cancel", 343, 241, 50, 14);
    module.addDialog(std::move(t));
}

ZxDlgCSP2::ZxDlgCSP2(const DlgCSP2Data& data, ui::Window* parent)
    : ui::Dialog(IDD_CUTTING_STOCK, parent), data_(data)
{
}

CSP2Table& ZxDlgCSP2::table(int index)
{
    return index == kMain ? data_.main : (index == kStock ? data_.stock : data_.purchase);
}

bool ZxDlgCSP2::OnInitDialog()
{
    const bool stockMode = data_.stockMode;
    SetWindowText(dialString(620));
    SetDlgItemText(IDOK, dialString(1));
    SetDlgItemText(IDCANCEL, dialString(2));
    SetDlgItemText(IDC_CSP2_GROUP_LABEL, dialString(621));
    SetDlgItemText(IDC_CSP2_MAIN_LABEL, dialString(624));
    SetDlgItemText(IDC_CSP2_MATERIAL_LABEL, dialString(625));
    SetDlgItemText(IDC_CSP2_STOCK_LABEL, dialString(626));
    SetDlgItemText(IDC_CSP2_PURCHASE_LABEL, dialString(627));
    SetDlgItemText(IDC_CSP2_ADD_GROUP, dialString(622));
    SetDlgItemText(IDC_CSP2_DELETE_GROUP, dialString(623));
    SetDlgItemText(IDC_CSP2_ALL_GROUPS, dialString(stockMode ? 628 : 629));
    SetDlgItemText(IDC_CSP2_ASK_NAMES, dialString(630));

    for (int i = 0; i < 3; ++i)
    {
        // The grid takes its placeholder's place. The wrapper measures the place from the
        // dialog's outer corner, which on a captioned dialog puts the grid lower by the
        // caption and to the right by the frame, over the label under the main grid.
        ui::Rect place;
        if (ui::Window* placeholder = GetDlgItem(kGridIds[i]))
        {
            place = placeholder->GetWindowRect();
            ScreenToClient(place);
        }
        if (grids_[i].createInDialog(this, kGridIds[i], true))
            grids_[i].MoveWindow(place);
        grids_[i].setMaxCols(kGridColumns, false);
    }
    for (std::size_t i = 0; i < pictureButtons_.size(); ++i)
    {
        const PictureButton& button = kPictureButtons[i];
        if (pictureButtons_[i].SubclassDlgItem(button.id, this))
        {
            pictureButtons_[i].SetIcon(button.icon);
            pictureButtons_[i].SetTooltipText(dialString(button.tooltip));
        }
    }

    if (stockMode)
        for (const int id : kFullModeOnly)
            if (ui::Window* control = GetDlgItem(id))
                control->EnableWindow(false);
    if (!stockMode)
        if (ui::Window* check = GetDlgItem(IDC_CSP2_ASK_NAMES))
            check->ShowWindow(SW_HIDE);

    // The stored size is also the smallest the user may make the dialog.
    int width = 0, height = 0;
    if (ChangeDlgSize(this, kSizeKey) && getDlgSize(kSizeKey, width, height))
        setMinTrackSize({width, height});
    else
        setMinTrackSize({kMinWidth, kMinHeight});
    resizer_.Attach(this);
    resizer_.AddControl(IDC_CSP2_MAIN_GRID, 0, 0, 1, 0.5);
    resizer_.AddControl(IDC_CSP2_STOCK_GRID, 0, 0.5, 0.5, 1);
    resizer_.AddControl(IDC_CSP2_PURCHASE_GRID, 0.5, 0.5, 1, 1);
    for (const int id : {IDC_CSP2_ADD_MAIN_ROW, IDC_CSP2_DELETE_MAIN_ROW})
        resizer_.AddControl(id, 1, 0, 1, 0);
    for (const int id : {IDC_CSP2_MATERIAL_LABEL, IDC_CSP2_STOCK_LABEL})
        resizer_.AddControl(id, 0, 0.5, 0, 0.5);
    for (const int id : {IDC_CSP2_LOAD_STOCK, IDC_CSP2_SAVE_STOCK, IDC_CSP2_ADD_STOCK_ROW,
                         IDC_CSP2_DELETE_STOCK_ROW, IDC_CSP2_PURCHASE_LABEL})
        resizer_.AddControl(id, 0.5, 0.5, 0.5, 0.5);
    for (const int id : {IDC_CSP2_LOAD_PURCHASE, IDC_CSP2_SAVE_PURCHASE, IDC_CSP2_ADD_PURCHASE_ROW,
                         IDC_CSP2_DELETE_PURCHASE_ROW})
        resizer_.AddControl(id, 1, 0.5, 1, 0.5);
    for (const int id : {IDC_CSP2_ALL_GROUPS, IDC_CSP2_ASK_NAMES})
        resizer_.AddControl(id, 0, 1, 0, 1);
    for (const int id : {IDOK, IDCANCEL})
        resizer_.AddControl(id, 1, 1, 1, 1);

    if (auto* combo = dlgItem<ui::ComboBox>(IDC_CSP2_GROUPS))
    {
        for (const Kdr_String& name : data_.groupNames)
            combo->AddString(name);
        if (data_.groupIds.length() > 0)
            combo->SetCurSel(0);
    }
    showGroup(data_.groupIds.length() > 0 ? data_.groupIds[0] : -1);

    onCommand(IDC_CSP2_GROUPS, CBN_SELCHANGE, [this] { onGroupChosen(); });
    onClicked(IDC_CSP2_ADD_GROUP, [this] { addGroup(); });
    onClicked(IDC_CSP2_DELETE_GROUP, [this] { deleteGroup(); });
    onClicked(IDC_CSP2_ADD_MAIN_ROW, [this] { addRow(kMain); });
    onClicked(IDC_CSP2_DELETE_MAIN_ROW, [this] { deleteRow(kMain); });
    onClicked(IDC_CSP2_ADD_STOCK_ROW, [this] { addRow(kStock); });
    onClicked(IDC_CSP2_DELETE_STOCK_ROW, [this] { deleteRow(kStock); });
    onClicked(IDC_CSP2_ADD_PURCHASE_ROW, [this] { addRow(kPurchase); });
    onClicked(IDC_CSP2_DELETE_PURCHASE_ROW, [this] { deleteRow(kPurchase); });
    onClicked(IDC_CSP2_LOAD_STOCK, [this] { loadOrSave(TableKind::Stock, true); });
    onClicked(IDC_CSP2_SAVE_STOCK, [this] { loadOrSave(TableKind::Stock, false); });
    onClicked(IDC_CSP2_LOAD_PURCHASE, [this] { loadOrSave(TableKind::Purchase, true); });
    onClicked(IDC_CSP2_SAVE_PURCHASE, [this] { loadOrSave(TableKind::Purchase, false); });
    onClicked(IDC_CSP2_ALL_GROUPS, [this] { allGroups(); });
    return true;
}

void ZxDlgCSP2::OnOK()
{
    takeBackGroup();
    ui::Dialog::OnOK();
}

void ZxDlgCSP2::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    resizer_.Detach();
    ui::Dialog::OnDestroy();
}

void ZxDlgCSP2::OnSize(unsigned type, int cx, int cy)
{
    ui::Dialog::OnSize(type, cx, cy);
    if (resizer_.isAttached())
        resizer_.Move();
}

int ZxDlgCSP2::selectedGroupIndex() const
{
    return data_.groupIds.find(shownGroup_);
}

void ZxDlgCSP2::showGroup(int groupId)
{
    shownGroup_ = groupId;
    for (int i = 0; i < 3; ++i)
        showTable(i, groupId);
}

void ZxDlgCSP2::showTable(int index, int groupId)
{
    Kdr_Spread& spread = grid(index);
    const CSP2Table& source = table(index);
    Kdr_Spread::RedrawGuard redraw(spread);
    spread.setMaxRows(0, false);
    if (groupId < 0)
        return;
    const Kdr_Array<Kdr_StringArray> rows = cutting::groupRows(source, groupId);
    // Wide enough for the headers and every row, so that taking the rows back loses no cell.
    int columns = std::max(kGridColumns, source.columns.length());
    for (const Kdr_StringArray& row : rows)
        columns = std::max(columns, row.length());
    spread.setMaxCols(columns, false);
    spread.setColumnCaptions(source.columns);
    spread.setMaxRows(rows.length(), false);
    for (int r = 0; r < rows.length(); ++r)
        spread.setRowTexts(r + 1, rows[r], false);
}

void ZxDlgCSP2::takeBackGroup()
{
    if (shownGroup_ < 0)
        return;
    for (int i = 0; i < 3; ++i)
        takeBackTable(i, shownGroup_);
}

void ZxDlgCSP2::takeBackTable(int index, int groupId)
{
    Kdr_Spread& spread = grid(index);
    Kdr_Array<Kdr_StringArray> rows;
    for (int r = 1; r <= spread.getMaxRows(); ++r)
    {
        Kdr_StringArray texts;
        spread.getRowTexts(r, texts);
        rows.append(texts);
    }
    cutting::replaceGroupRows(table(index), groupId, rows);
}

void ZxDlgCSP2::onGroupChosen()
{
    const auto* combo = dlgItem<ui::ComboBox>(IDC_CSP2_GROUPS);
    const int index = combo ? combo->GetCurSel() : -1;
    takeBackGroup();
    showGroup(data_.groupIds.validIndex(index) ? data_.groupIds[index] : -1);
}

void ZxDlgCSP2::addGroup()
{
    ui::ValuePromptRequest request;
    request.owner = this;
    request.title = dialString(631);
    request.label = dialString(632);
    request.value = dialString(171);
    request.okCaption = dialString(1);
    request.cancelCaption = dialString(2);
    Kdr_String name;
    if (!ui::promptValue(request, name))
        return;
    // The name becomes a folder of the library: one that is no folder name, or names a
    // group already there, would write into another folder or mix two groups' files.
    const Kdr_String problem = cutting::groupNameProblem(name, data_.groupNames);
    if (!problem.empty())
    {
        ui::messageBox(this, problem, dialString(620), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int id = 0;
    for (const int existing : data_.groupIds)
        id = std::max(id, existing);
    ++id;
    data_.groupIds.append(id);
    data_.groupNames.append(name);
    if (auto* combo = dlgItem<ui::ComboBox>(IDC_CSP2_GROUPS))
        combo->SetCurSel(combo->AddString(name));
    takeBackGroup();
    showGroup(id);
}

void ZxDlgCSP2::deleteGroup()
{
    auto* combo = dlgItem<ui::ComboBox>(IDC_CSP2_GROUPS);
    const int index = combo ? combo->GetCurSel() : -1;
    if (!data_.groupIds.validIndex(index))
        return;
    const int id = data_.groupIds[index];
    for (int i = 0; i < 3; ++i)
        cutting::removeGroupRows(table(i), id);
    data_.groupIds.removeAt(index);
    data_.groupNames.removeAt(index);
    combo->DeleteString(index);
    const int count = data_.groupIds.length();
    if (count == 0)
    {
        showGroup(-1);
        return;
    }
    const int next = std::min(index, count - 1);
    combo->SetCurSel(next);
    showGroup(data_.groupIds[next]);
}

void ZxDlgCSP2::addRow(int index)
{
    if (shownGroup_ >= 0)
        grid(index).appendRow(false);
}

void ZxDlgCSP2::deleteRow(int index)
{
    grid(index).deleteActiveRow();
}

void ZxDlgCSP2::reportFailure(const Kdr_String& text)
{
    acutPrintf("*Error* %s\n", text.c_str());
    ui::messageBox(this, text, dialString(620), MB_OK | MB_ICONEXCLAMATION);
}

bool ZxDlgCSP2::askForFile(TableKind kind, bool load, const Kdr_String& proposed, Kdr_String& path)
{
    const Kdr_String extension = cutting::extensionOf(kind);
    ui::FileDialogRequest request;
    request.owner = this;
    request.open = load;
    request.title = dialString(load ? 618 : 619);
    request.defaultExtension = extension;
    request.fileName = proposed;
    request.filter =
        dialString(kind == TableKind::Stock ? 626 : 627) + " (*." + extension + ")|*." + extension + "||";
    request.flags = load ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT;
    request.maxPathLength = 2048;
    Kdr_String chosen;
    if (!ui::fileDialog(request, chosen))
        return false;
    path = cutting::withExtension(chosen, kind);
    return true;
}

void ZxDlgCSP2::loadOrSave(TableKind kind, bool load)
{
    takeBackGroup();
    const int groupIndex = selectedGroupIndex();
    if (groupIndex < 0)
        return;
    const Kdr_String folder = cutting::groupFolder(data_.groupNames[groupIndex]);
    ObjectExportCreateDirectory(folder);
    const Kdr_String extension = cutting::extensionOf(kind);

    Kdr_String proposed;
    if (!load)
        proposed = cutting::nextStockFile(folder, kind);
    else if (!cutting::latestFile(folder, kind, proposed))
        proposed = folder + "*." + extension;

    Kdr_String path;
    if (!askForFile(kind, load, proposed, path))
        return;

    Kdr_String error;
    if (load)
    {
        if (!cutting::loadGroupTable(data_, groupIndex, kind, path, error))
        {
            reportFailure(error);
            return;
        }
        showGroup(shownGroup_);
    }
    else if (!cutting::saveGroupTable(data_, groupIndex, kind, path, error))
        reportFailure(error);
}

void ZxDlgCSP2::allGroups()
{
    takeBackGroup();
    if (!data_.stockMode)
    {
        const Kdr_String report = cutting::loadLatestFiles(data_);
        showGroup(shownGroup_);
        ExportStartDlgInfo(report, dialString(652), dialString(285));
        return;
    }
    const bool ask = IsDlgButtonChecked(IDC_CSP2_ASK_NAMES) == BST_CHECKED;
    for (int i = 0; i < data_.groupIds.length(); ++i)
    {
        const Kdr_String folder = cutting::groupFolder(data_.groupNames[i]);
        ObjectExportCreateDirectory(folder);
        Kdr_String path = cutting::nextStockFile(folder, TableKind::Stock);
        if (ask)
        {
            if (!askForFile(TableKind::Stock, false, path, path))
                continue;
        }
        Kdr_String error;
        if (!cutting::saveGroupTable(data_, i, TableKind::Stock, path, error))
            reportFailure(error);
    }
}

bool StartDlgCSP2(DlgCSP2Data& data)
{
    // The dialog takes its copy of the record when it is constructed.
    return runModalOnRecord<ZxDlgCSP2>([](ZxDlgCSP2&) {}, [&](ZxDlgCSP2& dialog) { data = dialog.data(); },
                                       data);
}
