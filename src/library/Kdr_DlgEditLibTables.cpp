// The profile tables page of the section library dialog.

#include "host/FileFunctions.h"
#include "host/MacroLangs.h"
#include "host/StringFunctions.h"
#include "host/Texts.h"
#include "library/Kdr_DlgEditLibSections.h"
#include "library/SectionLibrary.h"
#include "library/SectionLibraryIcons.h"
#include "library/SectionShapes.h"
#include "ui/ComboBox.h"
#include "ui/UserAgent.h"

#include <algorithm>

namespace
{
constexpr int kSysNameColumn = 0;

struct RowButton
{
    int id;
    int picture;
    int tooltip;
};
constexpr RowButton kRowButtons[7] = {
    {IDC_TABLES_SORT, IDI_LIB_SORT, 772},
    {IDC_TABLES_FIT, IDI_LIB_FIT, 773},
    {IDC_TABLES_INSERT_ROW, IDI_LIB_INSERT_ROW, 774},
    {IDC_TABLES_DELETE_ROW, IDI_LIB_DELETE_ROW, 775},
    {IDC_TABLES_ROW_UP, IDI_LIB_ROW_UP, 776},
    {IDC_TABLES_ROW_DOWN, IDI_LIB_ROW_DOWN, 777},
    {IDC_TABLES_FIND, IDI_LIB_FIND, 778},
};

/// The commands that need a shown table.
constexpr int kTableCommands[] = {IDC_TABLES_DELETE,     IDC_TABLES_RENEW,      IDC_TABLES_RENAME,
                                  IDC_TABLES_PICTURE,    IDC_TABLES_FIT,        IDC_TABLES_SORT,
                                  IDC_TABLES_INSERT_ROW, IDC_TABLES_DELETE_ROW, IDC_TABLES_ROW_UP,
                                  IDC_TABLES_ROW_DOWN,   IDC_TABLES_FIND,       IDC_TABLES_GRID};

/// The headers that stay when the picture gives the value columns: the system name, the flag
/// and the languages (six, or seven when the seventh is "Korean").
Kdr_StringArray fixedHeaders(const Kdr_StringArray& headers)
{
    const int keep = headers.length() > 6 && headers[6].equal("Korean", false) ? 7 : 6;
    Kdr_StringArray fixed;
    for (int i = 0; i < std::min(keep, headers.length()); ++i)
        fixed.append(headers[i]);
    return fixed;
}
} // namespace

bool Kdr_DlgEditLibTables::OnInitDialog()
{
    SetDlgItemText(IDC_TABLES_NEW, dialString(779));
    SetDlgItemText(IDC_TABLES_DELETE, dialString(780));
    SetDlgItemText(IDC_TABLES_RENEW, dialString(781));
    SetDlgItemText(IDC_TABLES_RENAME, dialString(782));
    SetDlgItemText(IDC_TABLES_LABEL, dialString(783));
    grid_.createInDialog(this, IDC_TABLES_GRID, true);
    for (std::size_t i = 0; i < rowButtons_.size(); ++i)
        if (rowButtons_[i].SubclassDlgItem(kRowButtons[i].id, this))
        {
            rowButtons_[i].SetIcon(kRowButtons[i].picture);
            rowButtons_[i].SetTooltipText(dialString(kRowButtons[i].tooltip));
        }

    if (auto* pictures = dlgItem<ui::ComboBox>(IDC_TABLES_PICTURE))
    {
        for (int number = kFirstSectionShape; number <= kLastSectionShape; ++number)
            pictures->AddString(shownShapeName(number));
        for (const Kdr_String& name : data_.userSections)
            pictures->AddString(name);
    }
    fillTableList();

    // The table of the start name (the part before its "-"), else the first one.
    int start = data_.tableNames.isEmpty() ? -1 : 0;
    int longest = -1;
    for (int i = 0; i < data_.tableNames.length(); ++i)
    {
        const Kdr_String& name = data_.tableNames[i];
        if (name.length() > longest && sysName_.startsWith(name + "-", false))
        {
            start = i;
            longest = name.length();
        }
    }
    selectTable(start);
    loadTable(start);
    if (longest >= 0)
    {
        const Kdr_String size = sysName_.mid(longest + 1);
        for (int r = 1; r <= grid_.getMaxRows(); ++r)
        {
            Kdr_String cell;
            grid_.getCellText(kSysNameColumn + 1, r, cell, ctkData);
            if (cell.equal(size, false))
            {
                grid_.sheet().setActiveCell(kSysNameColumn + 1, r);
                grid_.sheet().setSelection(kSysNameColumn + 1, r, kSysNameColumn + 1, r);
                break;
            }
        }
    }

    onCommand(IDC_TABLES_LIST, CBN_SELCHANGE, [this] { onTableChosen(); });
    onCommand(IDC_TABLES_PICTURE, CBN_SELCHANGE, [this] { onPictureChosen(); });
    onClicked(IDC_TABLES_NEW, [this] { newTable(); });
    onClicked(IDC_TABLES_DELETE, [this] { deleteTable(); });
    onClicked(IDC_TABLES_RENAME, [this] { renameTable(); });
    onClicked(IDC_TABLES_RENEW, [this] { renewHeaders(); });
    onClicked(IDC_TABLES_INSERT_ROW, [this] { insertRow(); });
    for (const int id : {IDC_TABLES_FIT, IDC_TABLES_SORT, IDC_TABLES_DELETE_ROW, IDC_TABLES_ROW_UP,
                         IDC_TABLES_ROW_DOWN, IDC_TABLES_FIND})
        onClicked(id, [this, id] { rowCommand(id); });
    return false;
}

void Kdr_DlgEditLibTables::fillTableList()
{
    auto* list = dlgItem<ui::ComboBox>(IDC_TABLES_LIST);
    if (!list)
        return;
    list->ResetContent();
    for (const Kdr_String& name : data_.tableNames)
        list->AddString(name);
    list->SetCurSel(shownIndex_);
}

void Kdr_DlgEditLibTables::selectTable(int index)
{
    shownIndex_ = data_.tableNames.validIndex(index) ? index : -1;
    if (auto* list = dlgItem<ui::ComboBox>(IDC_TABLES_LIST))
        list->SetCurSel(shownIndex_);
}

void Kdr_DlgEditLibTables::loadTable(int index)
{
    table_ = Kdr_ProfValuesTable();
    if (data_.tableNames.validIndex(index))
    {
        // A table that cannot be read shows as an empty grid under its name.
        if (!table_.readFromFile(data_.tableNames[index]))
            table_ = Kdr_ProfValuesTable();
        table_.setName(data_.tableNames[index]);
    }
    table_.setToSS(grid_);
    grid_.setProperty(Kdr_Spread::kPropChangesMade, 0);
    showPicture(table_.picture());
    enableTableCommands();
}

void Kdr_DlgEditLibTables::showPicture(const Kdr_String& picture)
{
    auto* pictures = dlgItem<ui::ComboBox>(IDC_TABLES_PICTURE);
    if (!pictures)
        return;
    pictures->SetCurSel(picture.empty() ? -1 : pictures->FindStringExact(-1, shownPicture(picture)));
}

void Kdr_DlgEditLibTables::enableTableCommands()
{
    const bool any = shownIndex_ >= 0;
    for (const int id : kTableCommands)
        if (ui::Window* control = GetDlgItem(id))
            control->EnableWindow(any);
}

void Kdr_DlgEditLibTables::takeFromGrid(Kdr_ProfValuesTable& table)
{
    if (!table.getFromSS(grid_))
    {
        // A grid whose rows were all deleted still has its headers: the table is saved
        // without sizes rather than with the rows the user removed.
        Kdr_StringArray captions;
        grid_.getColumnCaptions(captions);
        if (!captions.isEmpty())
            table.setColumnNames(captions);
        table.setRows({});
    }
    if (shownIndex_ >= 0)
        table.setName(data_.tableNames[shownIndex_]);
    const auto* pictures = dlgItem<ui::ComboBox>(IDC_TABLES_PICTURE);
    const int chosen = pictures ? pictures->GetCurSel() : -1;
    table.setPicture(pictureOfShownText(chosen >= 0 ? pictures->GetLBText(chosen) : Kdr_String()));
}

bool Kdr_DlgEditLibTables::saveShown()
{
    if (shownIndex_ < 0)
        return true;
    Kdr_ProfValuesTable table = table_;
    takeFromGrid(table);
    if (!table.writeToFile(table.name()))
    {
        report("Table \"" + table.name() + "\" could not be saved.");
        return false;
    }
    table_ = table;
    grid_.setProperty(Kdr_Spread::kPropChangesMade, 0);
    return true;
}

void Kdr_DlgEditLibTables::report(const Kdr_String& text)
{
    ui::messageBox(this, text, dialString(754), MB_OK | MB_ICONEXCLAMATION);
}

bool Kdr_DlgEditLibTables::confirmUnsaved()
{
    if (shownIndex_ < 0 || grid_.property(Kdr_Spread::kPropChangesMade) == 0)
        return true;
    const Kdr_String text = dialString(785) + " <" + data_.tableNames[shownIndex_] + "> " + dialString(786);
    switch (ui::messageBox(this, text, dialString(784), MB_YESNOCANCEL | MB_ICONQUESTION))
    {
    case IDYES:
        // A failed save must not be followed by loading another table over the edits.
        return saveShown();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void Kdr_DlgEditLibTables::onTableChosen()
{
    const auto* list = dlgItem<ui::ComboBox>(IDC_TABLES_LIST);
    const int index = list ? list->GetCurSel() : -1;
    if (index == shownIndex_)
        return;
    if (!confirmUnsaved())
    {
        selectTable(shownIndex_);
        return;
    }
    selectTable(index);
    loadTable(index);
}

void Kdr_DlgEditLibTables::onPictureChosen()
{
    if (shownIndex_ < 0)
        return;
    deriveHeaders(true);
    grid_.setProperty(Kdr_Spread::kPropChangesMade, 1);
}

void Kdr_DlgEditLibTables::deriveHeaders(bool pictureChanged)
{
    Kdr_StringArray captions;
    grid_.getColumnCaptions(captions);
    Kdr_StringArray headers = fixedHeaders(captions);
    const auto* pictures = dlgItem<ui::ComboBox>(IDC_TABLES_PICTURE);
    const int chosen = pictures ? pictures->GetCurSel() : -1;
    const Kdr_String shown = chosen >= 0 ? pictures->GetLBText(chosen) : Kdr_String();
    const int shape = shapeOfShownName(shown);
    if (shape > 0)
        headers.append(shapePropertyNames(shape));
    if (grid_.getMaxCols() < headers.length())
        grid_.setMaxCols(headers.length(), false);
    grid_.setColumnCaptions(headers);
    if (pictureChanged && shape > 0 && grid_.getMaxCols() > headers.length())
    {
        const Kdr_String text =
            dialString(793) + " " + shown + " " + dialString(794) + "\n" + dialString(795);
        if (ui::messageBox(this, text, dialString(792), MB_YESNO | MB_ICONQUESTION) == IDYES)
            grid_.setMaxCols(headers.length(), false);
    }
}

void Kdr_DlgEditLibTables::newTable()
{
    if (!confirmUnsaved())
        return;
    const Kdr_String name = findNonExistingString(data_.tableNames, dialString(779));
    data_.tableNames.append(name);

    Kdr_ProfValuesTable table;
    table.setName(name);
    Kdr_StringArray columns = {"SysName", "I/O"};
    columns.append(MacroLangs::GetAllLanguages());
    columns.append(Kdr_String().append(dialString(86), 1));
    columns.append(Kdr_String().append(dialString(86), 2));
    table.setColumnNames(columns);
    Kdr_StringArray row = {"", "1"};
    for (int l = 0; l < table.getNrLanguages(); ++l)
        row.append("");
    row.append("0");
    row.append("0");
    // The row follows the header: one name per language column of the header.
    row.setLength(std::max(row.length(), columns.length()));
    table.setRows(Kdr_Array<Kdr_StringArray>({row}));
    table_ = table;

    fillTableList();
    selectTable(data_.tableNames.length() - 1);
    table_.setToSS(grid_);
    showPicture({});
    grid_.setProperty(Kdr_Spread::kPropChangesMade, 1);
    enableTableCommands();
}

void Kdr_DlgEditLibTables::deleteTable()
{
    if (shownIndex_ < 0)
        return;
    const Kdr_String name = data_.tableNames[shownIndex_];
    const Kdr_String text = dialString(788) + " <" + name + "> " + dialString(789);
    if (ui::messageBox(this, text, dialString(787), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    data_.tableNames.removeAt(shownIndex_);
    deleteSectionTableFile(name);
    shownIndex_ = -1;
    fillTableList();
    selectTable(data_.tableNames.isEmpty() ? -1 : 0);
    loadTable(shownIndex_);
}

void Kdr_DlgEditLibTables::renameTable()
{
    if (shownIndex_ < 0)
        return;
    const Kdr_String oldName = data_.tableNames[shownIndex_];
    ui::ValuePromptRequest request;
    request.owner = this;
    request.title = dialString(790);
    request.label = dialString(791);
    request.value = oldName;
    request.okCaption = dialString(1);
    request.cancelCaption = dialString(2);
    Kdr_String newName;
    if (!ui::promptValue(request, newName) || newName == oldName)
        return;
    Kdr_ProfValuesTable table = table_;
    takeFromGrid(table);
    Kdr_String error;
    if (!renameSectionTable(table, oldName, newName, data_.tableNames, error))
    {
        report(error);
        return;
    }
    data_.tableNames[shownIndex_] = table.name();
    const int index = shownIndex_;
    fillTableList();
    selectTable(index);
    loadTable(index);
}

void Kdr_DlgEditLibTables::renewHeaders()
{
    if (shownIndex_ < 0)
        return;
    Kdr_StringArray captions;
    captions.setLength(grid_.getMaxRows());
    for (Kdr_String& caption : captions)
        caption = data_.tableNames[shownIndex_];
    grid_.setRowCaptions(captions);
    deriveHeaders(false);
    grid_.fitAll();
}

void Kdr_DlgEditLibTables::insertRow()
{
    int col = 0, row = 0;
    if (shownIndex_ < 0 || !grid_.sheet().activeCell(col, row))
        return;
    if (!grid_.insertRow(row + 1, false, true))
        return;
    // After the last row there is no row below to take the format from: the row above
    // gives it, so the new size has the active flag's check box too.
    if (row + 1 == grid_.getMaxRows())
        grid_.sheet().copyRange(1, row, grid_.getMaxCols(), row, 1, row + 1, grid::CellContent::Formats);
    grid_.sheet().setData(Kdr_Spread::kHeaderIndex, row + 1, data_.tableNames[shownIndex_]);
    grid_.setProperty(Kdr_Spread::kPropChangesMade, 1);
}

void Kdr_DlgEditLibTables::rowCommand(int id)
{
    if (shownIndex_ < 0)
        return;
    int col = 1, row = 0;
    grid_.sheet().activeCell(col, row);
    switch (id)
    {
    case IDC_TABLES_SORT:
        grid_.sortRows(std::max(col, 1), true);
        break;
    case IDC_TABLES_FIT:
        grid_.fitAll();
        break;
    case IDC_TABLES_DELETE_ROW:
        grid_.deleteActiveRow();
        break;
    case IDC_TABLES_ROW_UP:
        grid_.moveActiveRow(true);
        break;
    case IDC_TABLES_ROW_DOWN:
        grid_.moveActiveRow(false);
        break;
    case IDC_TABLES_FIND:
        grid_.showFindReplace(false);
        return;
    default:
        return;
    }
    grid_.setProperty(Kdr_Spread::kPropChangesMade, 1);
}
