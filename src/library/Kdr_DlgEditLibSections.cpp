#include "library/Kdr_DlgEditLibSections.h"

#include "frame/ZxModalDialog.h"
#include "host/MacroLangs.h"
#include "host/Texts.h"
#include "ui/CheckListComboBox.h"
#include "ui/ComboBox.h"
#include "ui/DialogSizes.h"
#include "ui/TabControl.h"

#include <algorithm>

namespace
{
constexpr int kGroupsPage = 0;
constexpr int kTypesPage = 1;
constexpr int kTablesPage = 2;

/// The controls a names page shares; the types page adds its group and table combos.
void namesPageControls(ui::DialogTemplate& t, int listId, int labelId)
{
    t.ltext(labelId, "", 5, 7, 60, 8);
    t.control(listId, "CheckListCombo", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 70, 5, 150, 120);
    t.pushButton(IDC_LIB_UP, "", 226, 4, 16, 14);
    t.pushButton(IDC_LIB_DOWN, "", 244, 4, 16, 14);
    t.autoCheckBox(IDC_LIB_ENABLED, "", 70, 24, 100, 10);
    t.ltext(IDC_LIB_IMAGE_LABEL, "", 5, 42, 60, 8);
    t.editText(IDC_LIB_IMAGE, 70, 40, 150, 12, ES_AUTOHSCROLL);
    t.ltext(IDC_LIB_NAMES_LABEL, "", 5, 108, 120, 8);
    t.control(IDC_LIB_NAMES, "STATIC", "", 0, 5, 120, 255, 90);
    t.pushButton(IDC_LIB_NEW, "", 5, 216, 70, 14);
    t.pushButton(IDC_LIB_DELETE, "", 80, 216, 70, 14);
}
} // namespace

void registerEditLibSectionsTemplates(ui::ResourceModule& module)
{
    ui::DialogTemplate main(IDD_EDITLIB_SECTIONS, "Section library", 0, 0, 420, 290);
    main.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME;
    main.tabControl(IDC_EDITLIB_TABS, 5, 5, 410, 260);
    main.defPushButton(IDOK, "OK", 310, 270, 50, 14);
    main.pushButton(IDCANCEL, "Cancel", 365, 270, 50, 14);
    module.addDialog(std::move(main));

    ui::DialogTemplate groups(IDD_EDITLIB_GROUPS, "", 10, 25, 400, 235);
    groups.style = WS_CHILD | DS_CONTROL;
    groups.exStyle = WS_EX_CONTROLPARENT;
    namesPageControls(groups, IDC_LIB_GROUPS, IDC_LIB_GROUP_LABEL);
    module.addDialog(std::move(groups));

    ui::DialogTemplate types(IDD_EDITLIB_TYPES, "", 10, 25, 400, 235);
    types.style = WS_CHILD | DS_CONTROL;
    types.exStyle = WS_EX_CONTROLPARENT;
    namesPageControls(types, IDC_LIB_TYPES, IDC_LIB_TYPE_LABEL);
    types.ltext(IDC_LIB_TYPE_GROUP_LABEL, "", 5, 60, 60, 8);
    types.comboBox(IDC_LIB_TYPE_GROUP, 70, 58, 150, 100);
    types.ltext(IDC_LIB_TABLE_LABEL, "", 5, 78, 60, 8);
    types.comboBox(IDC_LIB_TYPE_TABLE, 70, 76, 150, 100, CBS_DROPDOWN | CBS_AUTOHSCROLL);
    module.addDialog(std::move(types));

    ui::DialogTemplate tables(IDD_EDITLIB_TABLES, "", 10, 25, 400, 235);
    tables.style = WS_CHILD | DS_CONTROL;
    tables.exStyle = WS_EX_CONTROLPARENT;
    tables.ltext(IDC_TABLES_LABEL, "", 5, 7, 40, 8);
    tables.comboBox(IDC_TABLES_LIST, 48, 5, 110, 120, CBS_DROPDOWNLIST);
    tables.comboBox(IDC_TABLES_PICTURE, 164, 5, 130, 160);
    tables.pushButton(IDC_TABLES_FIT, "", 5, 22, 16, 14);
    tables.pushButton(IDC_TABLES_SORT, "", 23, 22, 16, 14);
    tables.pushButton(IDC_TABLES_INSERT_ROW, "", 45, 22, 16, 14);
    tables.pushButton(IDC_TABLES_DELETE_ROW, "", 63, 22, 16, 14);
    tables.pushButton(IDC_TABLES_ROW_UP, "", 81, 22, 16, 14);
    tables.pushButton(IDC_TABLES_ROW_DOWN, "", 99, 22, 16, 14);
    tables.pushButton(IDC_TABLES_FIND, "", 121, 22, 16, 14);
    tables.control(IDC_TABLES_GRID, "STATIC", "", 0, 5, 40, 390, 170);
    tables.pushButton(IDC_TABLES_NEW, "", 5, 216, 70, 14);
    tables.pushButton(IDC_TABLES_DELETE, "", 80, 216, 70, 14);
    tables.pushButton(IDC_TABLES_RENAME, "", 155, 216, 70, 14);
    tables.pushButton(IDC_TABLES_RENEW, "", 230, 216, 70, 14);
    module.addDialog(std::move(tables));
}

// --- Names pages ------------------------------------------------------------------------------

bool Kdr_EditLibNamesPage::OnInitDialog()
{
    SetDlgItemText(IDC_LIB_ENABLED, dialString(761));
    SetDlgItemText(IDC_LIB_IMAGE_LABEL, dialString(762));
    names_.createInDialog(this, IDC_LIB_NAMES, true);
    const Kdr_StringArray languages = MacroLangs::GetAllLanguages();
    names_.setMaxCols(1, false);
    names_.setMaxRows(languages.length(), false);
    names_.setColumnCaptions({dialString(87)});
    names_.setRowCaptions(languages);
    names_.setTextTypeColumn(1);

    const int moveIds[2] = {IDC_LIB_UP, IDC_LIB_DOWN};
    const int moveIcons[2] = {IDI_MOVE_UP, IDI_MOVE_DOWN};
    const int moveTips[2] = {173, 174};
    for (int i = 0; i < 2; ++i)
        if (moveButtons_[i].SubclassDlgItem(moveIds[i], this))
        {
            moveButtons_[i].SetIcon(moveIcons[i]);
            moveButtons_[i].SetTooltipText(dialString(moveTips[i]));
        }

    onCommand(listId_, CBN_SELCHANGE, [this] { onChosen(); });
    onCommand(listId_, CBN_CHECKCHANGE, [this] { onItemCheck(); });
    onClicked(IDC_LIB_ENABLED, [this] { writeBack(); });
    onClicked(IDC_LIB_NEW, [this] { addItem(); });
    onClicked(IDC_LIB_DELETE, [this] { deleteItem(); });
    onClicked(IDC_LIB_UP, [this] { moveItem(true); });
    onClicked(IDC_LIB_DOWN, [this] { moveItem(false); });
    refill(0);
    return false;
}

void Kdr_EditLibNamesPage::refill(int index)
{
    auto* list = dlgItem<ui::CheckListComboBox>(listId_);
    if (!list)
        return;
    list->ResetContent();
    for (int i = 0; i < itemCount(); ++i)
    {
        list->AddString(itemName(i));
        list->SetCheck(i, itemEnabled(i));
    }
    show(itemCount() == 0 ? -1 : std::clamp(index, 0, itemCount() - 1));
}

void Kdr_EditLibNamesPage::show(int index)
{
    shown_ = index;
    if (auto* list = dlgItem<ui::CheckListComboBox>(listId_))
        list->SetCurSel(index);
    const bool any = index >= 0;
    for (const int id :
         {IDC_LIB_ENABLED, IDC_LIB_IMAGE, IDC_LIB_NAMES, IDC_LIB_DELETE, IDC_LIB_UP, IDC_LIB_DOWN})
        if (ui::Window* control = GetDlgItem(id))
            control->EnableWindow(any);
    enableExtra(any);
    CheckDlgButton(IDC_LIB_ENABLED, any && itemEnabled(index) ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_LIB_IMAGE, any ? itemImage(index) : Kdr_String());
    const Kdr_StringArray langs = any ? itemLangs(index) : Kdr_StringArray();
    for (int r = 1; r <= names_.getMaxRows(); ++r)
        names_.setCellText(1, r, langs.validIndex(r - 1) ? langs[r - 1].c_str() : "");
    showExtra(index);
}

void Kdr_EditLibNamesPage::writeBack()
{
    if (shown_ < 0 || shown_ >= itemCount())
        return;
    setItemEnabled(shown_, IsDlgButtonChecked(IDC_LIB_ENABLED) == BST_CHECKED);
    setItemImage(shown_, GetDlgItemText(IDC_LIB_IMAGE));
    Kdr_StringArray langs;
    names_.getColumnTexts(1, langs, ctkData);
    // Languages beyond the grid's rows (a language list that shrank) keep their names.
    Kdr_StringArray stored = itemLangs(shown_);
    if (stored.length() < langs.length())
        stored.setLength(langs.length());
    for (int i = 0; i < langs.length(); ++i)
        stored[i] = langs[i];
    setItemLangs(shown_, stored);
    writeBackExtra(shown_);
    if (auto* list = dlgItem<ui::CheckListComboBox>(listId_))
    {
        // The entry shows the name just written back, with the check mark of the flag.
        list->DeleteString(shown_);
        list->InsertString(shown_, itemName(shown_));
        list->SetCheck(shown_, itemEnabled(shown_));
        list->SetCurSel(shown_);
    }
}

void Kdr_EditLibNamesPage::onChosen()
{
    const auto* list = dlgItem<ui::CheckListComboBox>(listId_);
    const int index = list ? list->GetCurSel() : -1;
    writeBack();
    show(index);
}

void Kdr_EditLibNamesPage::onItemCheck()
{
    auto* list = dlgItem<ui::CheckListComboBox>(listId_);
    if (!list)
        return;
    for (int i = 0; i < itemCount(); ++i)
    {
        const bool checked = list->GetCheck(i) == BST_CHECKED;
        if (checked == itemEnabled(i))
            continue;
        setItemEnabled(i, checked);
        if (i == shown_)
            CheckDlgButton(IDC_LIB_ENABLED, checked ? BST_CHECKED : BST_UNCHECKED);
    }
}

void Kdr_EditLibNamesPage::addItem()
{
    writeBack();
    const int index = appendItem();
    refill(index);
}

void Kdr_EditLibNamesPage::deleteItem()
{
    if (shown_ < 0 || shown_ >= itemCount())
        return;
    const int index = shown_;
    removeItem(index);
    shown_ = -1;
    refill(index);
}

void Kdr_EditLibNamesPage::moveItem(bool up)
{
    if (shown_ < 0)
        return;
    const int other = up ? shown_ - 1 : shown_ + 1;
    if (other < 0 || other >= itemCount())
        return;
    writeBack();
    swapItems(shown_, other);
    shown_ = -1;
    refill(other);
}

bool Kdr_DlgEditLibGroups::OnInitDialog()
{
    SetDlgItemText(IDC_LIB_GROUP_LABEL, dialString(760));
    SetDlgItemText(IDC_LIB_NAMES_LABEL, dialString(763));
    SetDlgItemText(IDC_LIB_NEW, dialString(758));
    SetDlgItemText(IDC_LIB_DELETE, dialString(759));
    return Kdr_EditLibNamesPage::OnInitDialog();
}

bool Kdr_DlgEditLibTypes::OnInitDialog()
{
    SetDlgItemText(IDC_LIB_TYPE_LABEL, dialString(760));
    SetDlgItemText(IDC_LIB_TYPE_GROUP_LABEL, dialString(769));
    SetDlgItemText(IDC_LIB_TABLE_LABEL, dialString(770));
    SetDlgItemText(IDC_LIB_NAMES_LABEL, dialString(771));
    SetDlgItemText(IDC_LIB_NEW, dialString(764));
    SetDlgItemText(IDC_LIB_DELETE, dialString(765));
    reloadLists();
    return Kdr_EditLibNamesPage::OnInitDialog();
}

void Kdr_DlgEditLibTypes::reloadLists()
{
    Kdr_StringArray names;
    data_.groups.namesOfAllGroups(names, groupIds_);
    if (auto* groups = dlgItem<ui::ComboBox>(IDC_LIB_TYPE_GROUP))
    {
        groups->ResetContent();
        for (const Kdr_String& name : names)
            groups->AddString(name);
    }
    if (auto* tables = dlgItem<ui::ComboBox>(IDC_LIB_TYPE_TABLE))
    {
        tables->ResetContent();
        for (const Kdr_String& name : data_.tableNames)
            tables->AddString(name);
    }
    showExtra(shownItem());
}

int Kdr_DlgEditLibTypes::appendItem()
{
    SectionType type;
    type.setEnabled(true);
    type.setGroupId(-1);
    type.setLangs(dialStringAllLangs(764));
    data_.types.append(type);
    return data_.types.length() - 1;
}

void Kdr_DlgEditLibTypes::swapItems(int first, int second)
{
    if (data_.types.validIndex(first) && data_.types.validIndex(second))
        std::swap(data_.types[first], data_.types[second]);
}

void Kdr_DlgEditLibTypes::showExtra(int index)
{
    const bool any = data_.types.validIndex(index);
    if (auto* groups = dlgItem<ui::ComboBox>(IDC_LIB_TYPE_GROUP))
        groups->SetCurSel(any ? groupIds_.find(data_.types[index].getGroupId()) : -1);
    if (auto* tables = dlgItem<ui::ComboBox>(IDC_LIB_TYPE_TABLE))
    {
        const Kdr_String name = any ? data_.types[index].getTableName() : Kdr_String();
        const int found = tables->FindStringExact(-1, name);
        tables->SetCurSel(found);
        // A table name the list does not hold is kept as typed.
        tables->SetWindowText(name);
    }
}

void Kdr_DlgEditLibTypes::writeBackExtra(int index)
{
    if (!data_.types.validIndex(index))
        return;
    const auto* groups = dlgItem<ui::ComboBox>(IDC_LIB_TYPE_GROUP);
    const int group = groups ? groups->GetCurSel() : -1;
    data_.types[index].setGroupId(groupIds_.validIndex(group) ? groupIds_[group] : -1);
    data_.types[index].setTableName(GetDlgItemText(IDC_LIB_TYPE_TABLE));
}

void Kdr_DlgEditLibTypes::enableExtra(bool enable)
{
    for (const int id : {IDC_LIB_TYPE_GROUP, IDC_LIB_TYPE_TABLE})
        if (ui::Window* control = GetDlgItem(id))
            control->EnableWindow(enable);
}

// --- The dialog -------------------------------------------------------------------------------

Kdr_DlgEditLibSections::Kdr_DlgEditLibSections(const DlgEditLibData& data, const Kdr_String& sysName,
                                               ui::Window* parent)
    : ui::Dialog(IDD_EDITLIB_SECTIONS, parent), data_(data), sysName_(sysName), groups_(data_.groups),
      types_(data_), tables_(data_, sysName)
{
}

bool Kdr_DlgEditLibSections::OnInitDialog()
{
    SetWindowText(dialString(754));
    SetDlgItemText(IDOK, dialString(1));
    SetDlgItemText(IDCANCEL, dialString(2));
    auto* tabs = dlgItem<ui::TabControl>(IDC_EDITLIB_TABS);
    if (!tabs)
        return true;
    tabs->InsertItem(kGroupsPage, dialString(755));
    tabs->InsertItem(kTypesPage, dialString(756));
    tabs->InsertItem(kTablesPage, dialString(757));
    groups_.Create(IDD_EDITLIB_GROUPS, this);
    types_.Create(IDD_EDITLIB_TYPES, this);
    tables_.Create(IDD_EDITLIB_TABLES, this);
    // The pages follow the tab control in the tab order.
    groups_.SetWindowPos(tabs, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    types_.SetWindowPos(&groups_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    tables_.SetWindowPos(&types_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    tabs->SetCurSel(sysName_.empty() ? kGroupsPage : kTablesPage);
    onNotify(IDC_EDITLIB_TABS, TCN_SELCHANGE, [this](ui::NotifyHeader&, std::intptr_t&) { showPage(); });
    showPage();

    // The size at opening is the smallest the user may make the dialog.
    const ui::Rect rect = GetWindowRect();
    setMinTrackSize({rect.Width(), rect.Height()});
    ChangeDlgSize(this, kSizeKey);
    return true;
}

void Kdr_DlgEditLibSections::showPage()
{
    const auto* tabs = dlgItem<ui::TabControl>(IDC_EDITLIB_TABS);
    const int selected = tabs ? tabs->GetCurSel() : kGroupsPage;
    groups_.writeBack();
    types_.writeBack();
    if (selected == kTypesPage)
        types_.reloadLists();
    groups_.ShowWindow(selected == kGroupsPage ? SW_SHOW : SW_HIDE);
    types_.ShowWindow(selected == kTypesPage ? SW_SHOW : SW_HIDE);
    tables_.ShowWindow(selected == kTablesPage ? SW_SHOW : SW_HIDE);
}

void Kdr_DlgEditLibSections::OnOK()
{
    // Edits of the shown table would be lost without a word: they are offered for saving
    // first, and a cancelled question or a failed save keeps the dialog open.
    if (!tables_.confirmUnsaved())
        return;
    groups_.writeBack();
    types_.writeBack();
    ui::Dialog::OnOK();
}

void Kdr_DlgEditLibSections::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    ui::Dialog::OnDestroy();
}

bool StartDlgEditLibSections(DlgEditLibData& data, const Kdr_String& sysName)
{
    // The dialog takes its copy of the record when it is constructed; the copy, not the
    // caller's record, gets the file lists, so that Cancel leaves the record as passed.
    DlgEditLibData copy = data;
    copy.GetAvailableFiles();
    return runModalOnRecord<Kdr_DlgEditLibSections>(
        [](Kdr_DlgEditLibSections&) {}, [&](Kdr_DlgEditLibSections& dialog) { data = dialog.data(); }, copy,
        sysName);
}
