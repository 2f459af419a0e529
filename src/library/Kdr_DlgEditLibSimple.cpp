#include "library/Kdr_DlgEditLibSimple.h"

#include "frame/ZxModalDialog.h"
#include "host/MacroLangs.h"
#include "host/StringFunctions.h"
#include "host/Texts.h"
#include "library/SectionShapes.h"
#include "ui/DialogSizes.h"
#include "ui/UserAgent.h"

namespace
{
constexpr int kActiveColumn = 1;
constexpr int kFirstLanguageColumn = 2;
} // namespace

void registerEditLibSimpleTemplate(ui::ResourceModule& module)
{
    ui::DialogTemplate t(IDD_EDITLIB_SIMPLE, "New size", 0, 0, 250, 262);
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME;
    t.groupBox(IDC_SIMPLE_NAME_GROUP, "Name", 7, 4, 236, 62);
    t.autoRadioButton(IDC_SIMPLE_AUTOMATIC, "Automatic name", 14, 16, 100, 10, WS_GROUP);
    t.autoRadioButton(IDC_SIMPLE_OWN_NAME, "Own name", 120, 16, 100, 10);
    t.ltext(IDC_SIMPLE_NAME_LABEL, "Name:", 14, 32, 40, 8);
    t.editText(IDC_SIMPLE_NAME, 58, 30, 120, 12, ES_AUTOHSCROLL);
    t.autoCheckBox(IDC_SIMPLE_ACTIVE, "Active", 14, 48, 100, 10);
    t.pushButton(IDC_SIMPLE_ICON, "", 190, 22, 44, 40);
    for (int k = 1; k <= kSimpleProperties; ++k)
    {
        const int y = 72 + (k - 1) * 15;
        t.ltext(simplePropertyLabel(k), "", 14, y + 2, 100, 8);
        t.editText(simplePropertyEdit(k), 120, y, 80, 12, ES_AUTOHSCROLL);
    }
    t.defPushButton(IDOK, "OK", 138, 241, 50, 14);
    t.pushButton(IDCANCEL, "Cancel", 193, 241, 50, 14);
    module.addDialog(std::move(t));
}

Kdr_DlgEditLibSimple::Kdr_DlgEditLibSimple(const Kdr_String& sysName, const Kdr_ProfValuesTable& table,
                                           ui::Window* parent)
    : ui::Dialog(IDD_EDITLIB_SIMPLE, parent), sysName_(sysName), table_(table)
{
}

int Kdr_DlgEditLibSimple::propertyColumn(int k) const
{
    Kdr_StringArray row;
    table_.getRow(row, pattern_.row);
    const int col = firstValueColumn(table_) + k - 1;
    return col < row.length() ? col : -1;
}

Kdr_String Kdr_DlgEditLibSimple::propertyName(int k) const
{
    if (const Kdr_SectionShape* shape = sectionShapeOfPicture(table_.picture()))
        if (k <= static_cast<int>(shape->properties.size()))
            return shape->properties[static_cast<std::size_t>(k - 1)];
    const int col = propertyColumn(k);
    const Kdr_StringArray& headers = table_.columnNames();
    return headers.validIndex(col) ? MacroLangs::GetString("Prof", headers[col]) : Kdr_String();
}

bool Kdr_DlgEditLibSimple::OnInitDialog()
{
    SetWindowText(dialString(796));
    SetDlgItemText(IDOK, dialString(1));
    SetDlgItemText(IDCANCEL, dialString(2));
    SetDlgItemText(IDC_SIMPLE_NAME_LABEL, dialString(797) + ":");
    SetDlgItemText(IDC_SIMPLE_NAME_GROUP, dialString(797));
    SetDlgItemText(IDC_SIMPLE_AUTOMATIC, dialString(1377));
    SetDlgItemText(IDC_SIMPLE_OWN_NAME, dialString(1378));
    SetDlgItemText(IDC_SIMPLE_ACTIVE, dialString(761));

    int start = 0;
    if (!table_.findSysName(sysName_, start))
        start = 0;
    findSizePattern(table_, start, pattern_);
    prefixes_ = sizeNamePrefixes(table_, pattern_.row);
    const int languageColumn = table_.getColumnIdx(MacroLangs::GetCurLanguage());
    languageIndex_ = languageColumn >= kFirstLanguageColumn ? languageColumn - kFirstLanguageColumn : -1;

    Kdr_StringArray row;
    table_.getRow(row, pattern_.row);
    CheckDlgButton(IDC_SIMPLE_ACTIVE,
                   row.length() > kActiveColumn && row[kActiveColumn] == "1" ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_SIMPLE_NAME,
                   languageColumn >= 0 && languageColumn < row.length() ? row[languageColumn] : Kdr_String());
    if (icon_.SubclassDlgItem(IDC_SIMPLE_ICON, this))
        icon_.SetBitmaps(sectionIconFile(table_.picture(), {}, true));

    for (int k = 1; k <= kSimpleProperties; ++k)
    {
        const int col = propertyColumn(k);
        const bool shown = col >= 0;
        if (shown)
        {
            shownProperties_ = k;
            SetDlgItemText(simplePropertyLabel(k), getAlfabet(k) + ". " + propertyName(k) + ":");
            SetDlgItemText(simplePropertyEdit(k), row[col]);
        }
        for (const int id : {simplePropertyLabel(k), simplePropertyEdit(k)})
            if (ui::Window* control = GetDlgItem(id))
                control->ShowWindow(shown ? SW_SHOW : SW_HIDE);
        onCommand(simplePropertyEdit(k), EN_CHANGE, [this] { updateAutomaticName(); });
    }
    CheckRadioButton(IDC_SIMPLE_AUTOMATIC, IDC_SIMPLE_OWN_NAME, IDC_SIMPLE_AUTOMATIC);
    chooseNaming(true);
    onClicked(IDC_SIMPLE_AUTOMATIC, [this] { chooseNaming(true); });
    onClicked(IDC_SIMPLE_OWN_NAME, [this] { chooseNaming(false); });

    int width = 0, height = 0;
    if (ChangeDlgSize(this, kSizeKey) && getDlgSize(kSizeKey, width, height))
        setMinTrackSize({width, height});
    else
    {
        const ui::Rect rect = GetWindowRect();
        setMinTrackSize({rect.Width(), rect.Height()});
    }
    return true;
}

void Kdr_DlgEditLibSimple::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    ui::Dialog::OnDestroy();
}

bool Kdr_DlgEditLibSimple::automaticName() const
{
    return IsDlgButtonChecked(IDC_SIMPLE_AUTOMATIC) == BST_CHECKED;
}

Kdr_String Kdr_DlgEditLibSimple::composedName() const
{
    Kdr_StringArray row;
    table_.getRow(row, pattern_.row);
    const int first = firstValueColumn(table_);
    for (int k = 1; k <= shownProperties_; ++k)
        if (first + k - 1 < row.length())
            row[first + k - 1] = GetDlgItemText(simplePropertyEdit(k));
    return composeSizeName(pattern_, row);
}

void Kdr_DlgEditLibSimple::updateAutomaticName()
{
    if (!automaticName())
        return;
    const Kdr_String prefix = prefixes_.validIndex(languageIndex_) ? prefixes_[languageIndex_] : Kdr_String();
    SetDlgItemText(IDC_SIMPLE_NAME, prefix + composedName());
}

void Kdr_DlgEditLibSimple::chooseNaming(bool automatic)
{
    if (ui::Window* name = GetDlgItem(IDC_SIMPLE_NAME))
        name->EnableWindow(!automatic);
}

void Kdr_DlgEditLibSimple::OnOK()
{
    const bool automatic = automaticName();
    const Kdr_String nameText = automatic ? composedName() : GetDlgItemText(IDC_SIMPLE_NAME);
    Kdr_StringArray values;
    for (int k = 1; k <= shownProperties_; ++k)
        values.append(GetDlgItemText(simplePropertyEdit(k)));
    const Kdr_StringArray row = makeSizeRow(table_, pattern_.row, nameText, automatic, values);

    // Every check runs before the row goes in, so that a refused OK leaves the copy as it was
    // and a second OK cannot add the size twice.
    const Kdr_String problem = newSizeProblem(table_, row);
    if (!problem.empty())
    {
        ui::messageBox(this, problem, dialString(1098), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const int index = sizeInsertionIndex(table_, nameText);
    Kdr_Array<Kdr_StringArray> rows = table_.rows();
    rows.insertAt(index, row);
    table_.setRows(rows);
    newIndex_ = table_.getfilteredIdx(index);
    ui::Dialog::OnOK();
}

bool StartDlgEditLibSimple(const Kdr_String& sysName, Kdr_ProfValuesTable& table, int& newIndex)
{
    if (table.rowCount() == 0)
        return false;
    // The dialog edits its own copy of the table, made when it is constructed.
    return runModalOnRecord<Kdr_DlgEditLibSimple>([](Kdr_DlgEditLibSimple&) {},
                                                  [&](Kdr_DlgEditLibSimple& dialog)
                                                  {
                                                      table = dialog.table();
                                                      newIndex = dialog.newIndex();
                                                  },
                                                  sysName, table);
}
