#include "editor/Kdr_FindReplaceDlg.h"

#include "host/Texts.h"
#include "spread/Kdr_Spread.h"
#include "ui/DialogSizes.h"

namespace
{
constexpr int kOptionKeepSelection = 13;
constexpr int kOptionTwenty = 20;
} // namespace

void registerFindReplaceTemplate(ui::ResourceModule& module)
{
    ui::DialogTemplate t(IDD_FINDREPLACE, "Find and replace", 0, 0, 260, 62);
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    t.ltext(IDC_FIND_LABEL, "Find what:", 7, 9, 60, 8);
    t.editText(IDC_FIND_TEXT, 70, 7, 120, 13, ES_AUTOHSCROLL);
    t.ltext(IDC_REPLACE_LABEL, "Replace with:", 7, 27, 60, 8);
    t.editText(IDC_REPLACE_TEXT, 70, 25, 120, 13, ES_AUTOHSCROLL);
    t.defPushButton(IDOK, "Find next", 198, 7, 55, 14);
    t.pushButton(IDC_REPLACE, "Replace", 198, 24, 55, 14);
    t.pushButton(IDC_REPLACE_ALL, "Replace all", 198, 41, 55, 14);
    t.pushButton(IDCANCEL, "Close", 140, 41, 55, 14);
    module.addDialog(std::move(t));
}

Kdr_FindReplaceDlg::Kdr_FindReplaceDlg(Kdr_Spread& grid)
    : ui::Dialog(IDD_FINDREPLACE, &grid), grid_(&grid), gridHandle_(grid.GetSafeHwnd())
{
}

bool Kdr_FindReplaceDlg::open()
{
    if (liveGrid() == nullptr || !Create(IDD_FINDREPLACE, grid_))
        return false;
    ShowWindow(SW_SHOW);
    return true;
}

Kdr_Spread* Kdr_FindReplaceDlg::liveGrid() const
{
    return ui::Window::FromHandle(gridHandle_) == grid_ ? grid_ : nullptr;
}

bool Kdr_FindReplaceDlg::OnInitDialog()
{
    SetWindowText(dialString(1136));
    SetDlgItemText(IDC_FIND_LABEL, dialString(1137));
    SetDlgItemText(IDC_REPLACE_LABEL, dialString(1138));
    SetDlgItemText(IDOK, dialString(1139));
    SetDlgItemText(IDC_REPLACE, dialString(1140));
    SetDlgItemText(IDC_REPLACE_ALL, dialString(1141));
    SetDlgItemText(IDCANCEL, dialString(285));
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    if (Kdr_Spread* grid = liveGrid())
    {
        option13WasOn_ = grid->property(kOptionKeepSelection) != 0;
        grid->setProperty(kOptionKeepSelection, 1);
        grid->setProperty(kOptionTwenty, 0);
    }
    const ui::Rect rect = GetWindowRect();
    setMinTrackSize({rect.Width(), rect.Height()});
    ChangeDlgSize(this, kSizeKey);

    onClicked(IDC_REPLACE, [this] { replace(); });
    onClicked(IDC_REPLACE_ALL, [this] { replaceAll(); });
    return true;
}

bool Kdr_FindReplaceDlg::PreTranslateMessage(ui::Message& message)
{
    if (message.message == WM_KEYDOWN && (message.wParam == VK_F3 || message.wParam == VK_F5))
    {
        if (message.wParam == VK_F3)
            findNext();
        else
            replace();
        return true;
    }
    return ui::Dialog::PreTranslateMessage(message);
}

void Kdr_FindReplaceDlg::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    if (Kdr_Spread* grid = liveGrid())
    {
        if (!option13WasOn_)
            grid->setProperty(kOptionKeepSelection, 0);
        grid->forgetFindReplace(this);
    }
    ui::Dialog::OnDestroy();
}

void Kdr_FindReplaceDlg::rememberSelection(Kdr_Spread& grid)
{
    hasLast_ = grid.isEditing() && grid.sheet().activeCell(last_.col, last_.row);
    if (hasLast_)
        grid.sheet().editSelection(last_.start, last_.end);
}

void Kdr_FindReplaceDlg::resumeSelection(Kdr_Spread& grid)
{
    // A click on a button of this dialog takes the focus from the grid, which writes and
    // closes its editor; the search goes on from the text selected last all the same.
    int col = 0, row = 0;
    if (!hasLast_ || grid.isEditing() || !grid.sheet().activeCell(col, row) || col != last_.col ||
        row != last_.row)
        return;
    if (grid.setEditMode(true))
        grid.sheet().setEditSelection(last_.start, last_.end);
}

bool Kdr_FindReplaceDlg::searchFrom(Kdr_Spread& grid, const Kdr_String& text, int col, int row)
{
    // A cell that shows the text but cannot have it selected in place is passed over, or
    // find next would stop on it for ever.
    while (grid.findDisplayedForward(text, true, col, row))
    {
        if (grid.selectInCell(text, col, row, 0))
            return true;
        ++col;
    }
    return false;
}

bool Kdr_FindReplaceDlg::findNext()
{
    Kdr_Spread* grid = liveGrid();
    const Kdr_String text = GetDlgItemText(IDC_FIND_TEXT);
    if (grid == nullptr || text.empty())
        return false;
    resumeSelection(*grid);
    grid->SetFocus();
    int col = 0, row = 0;
    if (!grid->sheet().activeCell(col, row))
    {
        if (grid->getMaxCols() < 1 || grid->getMaxRows() < 1)
            return false;
        col = row = 1;
        grid->sheet().setActiveCell(col, row);
        grid->sheet().setSelection(col, row, col, row);
    }
    bool found = false;
    if (grid->isEditing())
    {
        int start = 0, end = 0;
        grid->sheet().editSelection(start, end);
        found = grid->selectInCell(text, col, row, end);
        ++col;
    }
    if (!found)
        found = searchFrom(*grid, text, col, row);
    if (!found)
    {
        const Kdr_String question = dialString(1142) + "\n" + dialString(1143) + "\n";
        if (MessageBox(question, dialString(1144), MB_YESNO | MB_ICONQUESTION) == IDYES)
        {
            grid = liveGrid();
            if (grid != nullptr)
                found = searchFrom(*grid, text, 1, 1);
            if (!found)
                MessageBox(dialString(1145), dialString(1146), MB_OK);
        }
    }
    if (found && (grid = liveGrid()) != nullptr)
        rememberSelection(*grid);
    return found;
}

bool Kdr_FindReplaceDlg::replace()
{
    const Kdr_String replacement = GetDlgItemText(IDC_REPLACE_TEXT);
    // Only a fresh find gives a selection to replace: after the last match the editor still
    // holds the previous replacement, which must not be written over.
    if (!findNext())
        return false;
    Kdr_Spread* grid = liveGrid();
    int col = 0, row = 0;
    if (grid == nullptr || !grid->isEditing() || !grid->sheet().activeCell(col, row))
        return false;
    int start = 0, end = 0;
    grid->sheet().editSelection(start, end);
    Kdr_String text = grid->editText();
    const int size = text.length();
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), replacement);

    // The editor holds the old text; it closes unchanged before the cell is written.
    grid->setEditMode(false);
    if (!grid->setCellText(col, row, text.c_str()))
    {
        resumeSelection(*grid);
        return false;
    }
    grid->sheet().setChangesMade(true);
    grid->SetFocus();
    grid->sheet().setActiveCell(col, row);
    grid->setEditMode(true);
    // The replacement is selected, so that find next goes on after it.
    grid->sheet().setEditSelection(start, start + replacement.length());
    rememberSelection(*grid);
    return true;
}

int Kdr_FindReplaceDlg::replaceAll()
{
    Kdr_Spread* grid = liveGrid();
    const Kdr_String text = GetDlgItemText(IDC_FIND_TEXT);
    const Kdr_String replacement = GetDlgItemText(IDC_REPLACE_TEXT);
    if (grid == nullptr || text.empty())
        return 0;
    hasLast_ = false;
    const int count = grid->replaceAll(text, replacement);
    MessageBox(dialString(1147) + " " + std::to_string(count) + " " + dialString(1148), dialString(1149),
               MB_OK);
    if ((grid = liveGrid()) != nullptr)
        grid->sheet().setChangesMade(true);
    return count;
}
