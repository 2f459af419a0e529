#include "spread/Kdr_DlgStringTable.h"

#include "frame/ModuleResources.h"
#include "frame/ZxModalDialog.h"
#include "host/Texts.h"
#include "ui/DialogSizes.h"

namespace
{
constexpr int kHeader = Kdr_Spread::kHeaderIndex;
constexpr const char* kFont = "Tahoma";
constexpr int kFontHeight = 15;
} // namespace

void registerStringTableTemplate(ui::ResourceModule& module)
{
    ui::DialogTemplate t(IDD_STRING_TABLE, "Table", 0, 0, 300, 180);
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME;
    t.control(IDC_STRING_TABLE_GRID, "STATIC", "", 0, 7, 7, 286, 146);
    t.pushButton(IDC_STRING_TABLE_ADD_ROW, "Add", 7, 159, 50, 14);
    t.pushButton(IDC_STRING_TABLE_REMOVE_ROW, "Remove", 61, 159, 50, 14);
    t.defPushButton(IDOK, "OK", 189, 159, 50, 14);
    t.pushButton(IDCANCEL, "Cancel", 243, 159, 50, 14);
    module.addDialog(std::move(t));
}

Kdr_DlgStringTable::Kdr_DlgStringTable() : ui::Dialog(IDD_STRING_TABLE)
{
}

bool Kdr_DlgStringTable::OnInitDialog()
{
    grid_.createInDialog(this, IDC_STRING_TABLE_GRID, false);
    grid_.applyDefaultStyle(1);
    grid_.setResizeMode(1);
    // F3 and F5 in the grid ask for its find and replace dialog.
    grid_.setFindReplaceHandler([](Kdr_Spread& grid, bool replace) { return grid.showFindReplace(replace); });

    const ui::Rect rect = GetWindowRect();
    initialWidth_ = rect.Width();
    initialHeight_ = rect.Height();
    setMinTrackSize({initialWidth_, initialHeight_});
    resizer_.Attach(this);
    resizer_.AddControl(IDC_STRING_TABLE_GRID, CResizer::anchorAll);
    for (const int id : {IDOK, IDCANCEL, int{IDC_STRING_TABLE_ADD_ROW}, int{IDC_STRING_TABLE_REMOVE_ROW}})
        resizer_.AddControl(id, CResizer::anchorBottomRight);
    ChangeDlgSize(this, sizeKey);

    SetWindowText(caption);
    SetDlgItemText(IDOK, dialString(1));
    SetDlgItemText(IDCANCEL, dialString(2));
    SetDlgItemText(IDC_STRING_TABLE_ADD_ROW, dialString(606));
    SetDlgItemText(IDC_STRING_TABLE_REMOVE_ROW, dialString(607));
    if (!editable)
        for (const int id : {int{IDC_STRING_TABLE_ADD_ROW}, int{IDC_STRING_TABLE_REMOVE_ROW}})
            if (ui::Window* button = GetDlgItem(id))
                button->ShowWindow(SW_HIDE);

    grid_.setProperty(Kdr_Spread::kPropRedraw, 0);
    for (auto [number, value] : {std::pair{12, 0},
                                 {25, 1},
                                 {7, 0},
                                 {21, 1},
                                 {26, 0},
                                 {13, 1},
                                 {32, 1},
                                 {18, 1},
                                 {0, 1},
                                 {11, 1},
                                 {10, 0},
                                 {22, 1}})
        grid_.setProperty(number, value);
    auto& settings = grid_.sheet().state().settings;
    settings["userResize"] = {5};
    settings["headerModes"] = {1, -1};
    settings["headerColors"] = {0xC0C0C0, static_cast<int>(0x8000000Bu)};

    const int cols = columnCaptions.length();
    grid_.setMaxCols(cols, false);
    grid_.setProperty(4, rowCaptions.length() > 0 ? 1 : 0);
    grid_.setRowHeaderVisible(rowCaptions.length() > 0);
    grid_.setMaxRows(rows.length(), false);
    grid_.setHeaderFont(0, kHeader, cols, kHeader, kFont, kFontHeight, true, false);
    if (rows.length() > 0)
        grid_.setHeaderFont(1, 1, cols, rows.length(), kFont, kFontHeight, false, true);
    grid_.applyResizeMode();
    grid_.setProperty(Kdr_Spread::kPropRedraw, 1);

    for (int i = 0; i < cols; ++i)
        grid_.setCellText(i + 1, kHeader, columnCaptions[i].c_str());
    for (int j = 0; j < rowCaptions.length() && j < rows.length(); ++j)
        grid_.setCellText(kHeader, j + 1, rowCaptions[j].c_str());
    // Texts beyond the last column have no cell to go to and are left out.
    for (int r = 0; r < rows.length(); ++r)
        for (int k = 0; k < rows[r].length() && k < cols; ++k)
            grid_.setCellText(k + 1, r + 1, rows[r][k].c_str());
    grid_.sheet().setChangesMade(false);

    onClicked(IDC_STRING_TABLE_ADD_ROW, [this] { addRow(); });
    onClicked(IDC_STRING_TABLE_REMOVE_ROW, [this] { removeRow(); });
    return true;
}

void Kdr_DlgStringTable::addRow()
{
    int col = 1, row = 0;
    if (!grid_.sheet().activeCell(col, row))
    {
        col = 1;
        row = 0;
    }
    if (!grid_.insertRow(row + 1, false, false))
        return;
    grid_.setHeaderFont(1, row + 1, grid_.getMaxCols(), row + 1, kFont, kFontHeight, true, false);
    grid_.SetFocus();
    grid_.sheet().setActiveCell(col, row + 1);
    grid_.sheet().setSelection(col, row + 1, col, row + 1);
}

void Kdr_DlgStringTable::removeRow()
{
    int col = 0, row = 0;
    if (grid_.getMaxRows() < 1 || !grid_.sheet().activeCell(col, row))
        return;
    grid_.setEditMode(false);
    if (!grid_.deleteRow(row))
        return;
    grid_.SetFocus();
    // The active cell stays where it was, or on the new last row when the last was removed.
    row = std::min(row, grid_.getMaxRows());
    if (row < 1)
        return;
    grid_.sheet().setActiveCell(col, row);
    grid_.sheet().setSelection(col, row, col, row);
    Kdr_String text;
    grid_.getCellText(col, row, text, ctkData);
    grid_.sheet().setEditSelection(0, text.length());
}

void Kdr_DlgStringTable::OnOK()
{
    // An entry still being typed belongs to the table.
    grid_.setEditMode(false);
    rows.clear();
    const int cols = grid_.getMaxCols();
    for (int r = 1; r <= grid_.getMaxRows(); ++r)
    {
        Kdr_StringArray texts;
        for (int c = 1; c <= cols; ++c)
        {
            Kdr_String text;
            grid_.getCellText(c, r, text, ctkData);
            texts.append(text);
        }
        rows.append(texts);
    }
    ui::Dialog::OnOK();
}

void Kdr_DlgStringTable::OnDestroy()
{
    WriteDlgSize(this, sizeKey);
    resizer_.Detach();
    ui::Dialog::OnDestroy();
}

void Kdr_DlgStringTable::OnSize(unsigned type, int cx, int cy)
{
    ui::Dialog::OnSize(type, cx, cy);
    if (resizer_.isAttached())
        resizer_.Move();
}

bool startGridDialog(const Kdr_StringArray& columnCaptions, const Kdr_StringArray& rowCaptions,
                     Kdr_Array<Kdr_StringArray>& rows, bool editable, Kdr_String sizeKey, Kdr_String caption)
{
    if (columnCaptions.length() == 0)
        return false;
    if (sizeKey.empty())
        sizeKey = Kdr_DlgStringTable::kDefaultSizeKey;
    return runModalOnRecord<Kdr_DlgStringTable>(
        [&](Kdr_DlgStringTable& dialog)
        {
            dialog.editable = editable;
            dialog.sizeKey = sizeKey;
            dialog.caption = caption;
            dialog.rows = rows;
            dialog.columnCaptions = columnCaptions;
            dialog.rowCaptions = rowCaptions;
        },
        [&](Kdr_DlgStringTable& dialog)
        {
            rows.clear();
            for (const Kdr_StringArray& row : dialog.rows)
                rows.append(row);
        });
}
