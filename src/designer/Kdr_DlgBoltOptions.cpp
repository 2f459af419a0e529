#include "designer/Kdr_DlgBoltOptions.h"

#include "designer/MacroDialogResources.h"
#include "host/MacroDialogHost.h"
#include "host/Settings.h"
#include "host/Texts.h"
#include "ui/Button.h"
#include "ui/CheckListComboBox.h"
#include "ui/ComboBox.h"
#include "ui/DialogSizes.h"

namespace
{
constexpr int kFlagButtons[4] = {IDC_BOLT_TAPPED, IDC_BOLT_REVERSED, IDC_BOLT_COUNTERSUNK, IDC_BOLT_WORKSHOP};
constexpr int kSwitchButtons[5] = {IDC_BOLT_NUT1, IDC_BOLT_NUT2, IDC_BOLT_WASHER1, IDC_BOLT_WASHER2,
                                   IDC_BOLT_WASHERS};
constexpr int kSlotFields[] = {
    IDC_BOLT_SLOT_RADIUS_LABEL, IDC_BOLT_SLOT_RADIUS, IDC_BOLT_SLOT_LENGTH_LABEL, IDC_BOLT_SLOT_LENGTH,
    IDC_BOLT_SLOT_ANGLE_LABEL,  IDC_BOLT_SLOT_ANGLE,  IDC_BOLT_SLOT_FOURTH_LABEL, IDC_BOLT_SLOT_FOURTH,
    IDC_BOLT_SLOT_KIND_LABEL,   IDC_BOLT_SLOT_KIND};
constexpr int kColumnCheck = 1;
constexpr int kColumnName = 2;

/// Takes a three-state check box out of its third state: the click that brought it there
/// clears it, and from then on it has two states.
void disableTriState(ui::Button* button)
{
    if (button == nullptr || !button->isThreeState())
        return;
    if (button->GetCheck() == BST_INDETERMINATE)
        button->SetCheck(BST_UNCHECKED);
    button->SetButtonStyle(BS_AUTOCHECKBOX);
}

/// Fills a drop-down list and selects `text`, adding it when the list lacks it.
void fillList(ui::ComboBox* combo, const Kdr_StringArray& items, const Kdr_String& text)
{
    if (combo == nullptr)
        return;
    combo->ResetContent();
    for (const Kdr_String& item : items)
        combo->AddString(item);
    int index = combo->FindStringExact(-1, text);
    if (index < 0 && !text.empty())
        index = combo->AddString(text);
    combo->SetCurSel(index);
}

bool positiveNumber(const Kdr_String& text)
{
    return text.isNumber() && text.toDouble() > 0;
}
} // namespace

Kdr_DlgBoltOptions::Kdr_DlgBoltOptions(ui::Window* parent) : ui::Dialog(IDD_BOLT_OPTIONS, parent)
{
}

bool Kdr_DlgBoltOptions::OnInitDialog()
{
    SetWindowText(dialString(983));
    for (auto [id, text] : {std::pair<int, int>{IDC_BOLT_ASSEMBLY_LABEL, 275},
                            {IDC_BOLT_DIAMETER_LABEL, 328},
                            {IDC_BOLT_LENGTH1_LABEL, 277},
                            {IDC_BOLT_LENGTH2_LABEL, 278},
                            {IDC_BOLT_TOLERANCE_LABEL, 242},
                            {IDC_BOLT_TAPPED, 674},
                            {IDC_BOLT_REVERSED, 985},
                            {IDC_BOLT_COUNTERSUNK, 234},
                            {IDC_BOLT_WORKSHOP, 276},
                            {IDC_BOLT_EXTRA, 984},
                            {IDC_BOLT_WASHER1_LABEL, 992},
                            {IDC_BOLT_WASHER2_LABEL, 992},
                            {IDC_BOLT_WASHERS_LABEL, 993},
                            {IDC_BOLT_COLUMNS_BOX, 1477},
                            {IDC_BOLT_SLOTS_BOX, 986},
                            {IDC_BOLT_SLOT_ACTIVE, 761},
                            {IDC_BOLT_SLOT_RADIUS_LABEL, 328},
                            {IDC_BOLT_SLOT_LENGTH_LABEL, 987},
                            {IDC_BOLT_SLOT_ANGLE_LABEL, 988},
                            {IDC_BOLT_SLOT_FOURTH_LABEL, 989},
                            {IDC_BOLT_SLOT_KIND_LABEL, 990},
                            {IDOK, 285}})
        SetDlgItemText(id, dialString(text));
    SetDlgItemText(IDC_BOLT_NUT1_LABEL, dialString(991) + " 1");
    SetDlgItemText(IDC_BOLT_NUT2_LABEL, dialString(991) + " 2");
    if (ui::Window* cancel = GetDlgItem(IDCANCEL))
        cancel->ShowWindow(SW_HIDE);
    if (auto* kinds = dlgItem<ui::ComboBox>(IDC_BOLT_SLOT_KIND))
        for (const int text : {994, 995, 996})
            kinds->AddString(dialString(text));
    if (picture_.SubclassDlgItem(IDC_BOLT_PICTURE, this))
        picture_.SetBitmaps(gSettings.libDir() + "DrawBolt2.bmp");

    columns_.createInDialog(this, IDC_BOLT_COLUMNS, true);
    columns_.applyDefaultStyle(1);
    columns_.setRowHeaderVisible(false);
    columns_.setMaxCols(2, false);

    setMinTrackSize({GetWindowRect().Width(), GetWindowRect().Height()});
    ChangeDlgSize(this, kSizeKey);

    for (const int id : kFlagButtons)
        onClicked(id, [this, id] { buttonClicked(id); });
    for (const int id : kSwitchButtons)
        onClicked(id, [this, id] { buttonClicked(id); });
    onClicked(IDC_BOLT_EXTRA, [this] { apply(); });
    onClicked(IDC_BOLT_SLOT_ACTIVE, [this] { buttonClicked(IDC_BOLT_SLOT_ACTIVE); });
    for (const int id : {int{IDC_BOLT_ASSEMBLY}, int{IDC_BOLT_DIAMETER}, int{IDC_BOLT_SLOT_KIND}})
        onCommand(id, CBN_SELCHANGE, [this] { apply(); });
    onCommand(IDC_BOLT_SLOTS, CBN_SELCHANGE, [this] { slotChanged(); });

    showBoltData();
    return true;
}

void Kdr_DlgBoltOptions::showBoltData()
{
    Kdr_StringArray assemblies;
    GetAssemblies(assemblies);
    fillList(dlgItem<ui::ComboBox>(IDC_BOLT_ASSEMBLY), assemblies, boltData.assembly);
    fillList(dlgItem<ui::ComboBox>(IDC_BOLT_DIAMETER), diameters, boltData.diameter);
    SetDlgItemText(IDC_BOLT_LENGTH1, boltData.penetrationLength);
    SetDlgItemText(IDC_BOLT_LENGTH2, boltData.addedLength);
    SetDlgItemText(IDC_BOLT_TOLERANCE, boltData.holeOffset);
    for (int i = 0; i < 4; ++i)
        CheckDlgButton(kFlagButtons[i], boltData.flags[static_cast<size_t>(i)]);

    CheckDlgButton(IDC_BOLT_EXTRA, boltData.extraFlag ? BST_CHECKED : BST_UNCHECKED);
    if (ui::Window* extra = GetDlgItem(IDC_BOLT_EXTRA))
        extra->EnableWindow(boltData.extraFlagApplies);
    SetDlgItemText(IDC_BOLT_EXTRA_NOTE, dialString(boltData.extraFlagApplies ? 997 : 998));

    const auto& holeColumns = boltData.getHoleColumns();
    columns_.setMaxRows(static_cast<int>(holeColumns.size()), false);
    for (int row = 1; row <= static_cast<int>(holeColumns.size()); ++row)
    {
        const MacroHoleColumn& column = holeColumns[static_cast<size_t>(row - 1)];
        columns_.setCheckBoxType(kColumnCheck, row, kColumnCheck, row);
        columns_.setCellText(kColumnCheck, row, column.checked ? "1" : "0");
        columns_.setTextType(kColumnName, row);
        columns_.setCellText(kColumnName, row, column.name.c_str());
        columns_.setLock(kColumnName, row, kColumnName, row, true);
    }

    if (auto* slots = dlgItem<ui::CheckListComboBox>(IDC_BOLT_SLOTS))
    {
        int keep = slots->GetCurSel();
        slots->ResetContent();
        for (size_t k = 0; k < boltData.slots.size(); ++k)
        {
            const int item = slots->AddString(dialString(999) + " nr: " + std::to_string(k + 1));
            slots->SetCheck(item, boltData.slots[k].active);
        }
        if (keep < 0 || keep >= slots->GetCount())
            keep = slots->GetCount() > 0 ? 0 : -1;
        slots->SetCurSel(keep);
        // The slot fields show the slot the list selects, so that what is typed there is
        // read back into that slot.
        showSlot(keep);
    }

    for (int i = 0; i < 5; ++i)
    {
        const int value = boltData.switches[static_cast<size_t>(i)];
        CheckDlgButton(kSwitchButtons[i], value > 0 ? BST_CHECKED : BST_UNCHECKED);
        if (ui::Window* toggle = GetDlgItem(kSwitchButtons[i]))
            toggle->EnableWindow(value != -1);
    }
}

void Kdr_DlgBoltOptions::showSlot(int slot)
{
    // Without slots there is nothing the slot controls could show or change.
    const bool hasSlot = slot >= 0 && slot < static_cast<int>(boltData.slots.size());
    shownSlot_ = hasSlot ? slot : -1;
    for (const int id : {int{IDC_BOLT_SLOTS}, int{IDC_BOLT_SLOT_ACTIVE}})
        if (ui::Window* control = GetDlgItem(id))
            control->EnableWindow(hasSlot);
    const MacroBoltSlot shown = hasSlot ? boltData.slots[static_cast<size_t>(slot)] : MacroBoltSlot();
    CheckDlgButton(IDC_BOLT_SLOT_ACTIVE, shown.active ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_BOLT_SLOT_RADIUS, shown.radius);
    SetDlgItemText(IDC_BOLT_SLOT_LENGTH, shown.length);
    SetDlgItemText(IDC_BOLT_SLOT_ANGLE, shown.angle);
    SetDlgItemText(IDC_BOLT_SLOT_FOURTH, shown.fourth);
    if (auto* kinds = dlgItem<ui::ComboBox>(IDC_BOLT_SLOT_KIND))
        kinds->SetCurSel(shown.kind < 0 || shown.kind >= kinds->GetCount() ? kinds->GetCount() - 1
                                                                           : shown.kind);
    enableSlotFields();
}

void Kdr_DlgBoltOptions::enableSlotFields()
{
    const bool active = shownSlot_ >= 0 && IsDlgButtonChecked(IDC_BOLT_SLOT_ACTIVE) == BST_CHECKED;
    for (const int id : kSlotFields)
        if (ui::Window* control = GetDlgItem(id))
            control->EnableWindow(active);
}

void Kdr_DlgBoltOptions::readSlot(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(boltData.slots.size()))
        return;
    MacroBoltSlot& target = boltData.slots[static_cast<size_t>(slot)];
    target.active = IsDlgButtonChecked(IDC_BOLT_SLOT_ACTIVE) == BST_CHECKED;
    target.radius = GetDlgItemText(IDC_BOLT_SLOT_RADIUS);
    target.length = GetDlgItemText(IDC_BOLT_SLOT_LENGTH);
    target.angle = GetDlgItemText(IDC_BOLT_SLOT_ANGLE);
    target.fourth = GetDlgItemText(IDC_BOLT_SLOT_FOURTH);
    if (auto* kinds = dlgItem<ui::ComboBox>(IDC_BOLT_SLOT_KIND))
    {
        // The last kind is the one a stored -1 selects, and it is stored as -1 again.
        const int selected = kinds->GetCurSel();
        target.kind = selected < 0 || selected >= kinds->GetCount() - 1 ? -1 : selected;
    }
}

void Kdr_DlgBoltOptions::readBack()
{
    boltData.assembly = GetDlgItemText(IDC_BOLT_ASSEMBLY);
    boltData.diameter = GetDlgItemText(IDC_BOLT_DIAMETER);
    boltData.penetrationLength = GetDlgItemText(IDC_BOLT_LENGTH1);
    boltData.addedLength = GetDlgItemText(IDC_BOLT_LENGTH2);
    boltData.holeOffset = GetDlgItemText(IDC_BOLT_TOLERANCE);
    if (boltData.extraFlagApplies)
        boltData.extraFlag = IsDlgButtonChecked(IDC_BOLT_EXTRA) == BST_CHECKED;
    for (int i = 0; i < 4; ++i)
    {
        const int state = IsDlgButtonChecked(kFlagButtons[i]);
        boltData.flags[static_cast<size_t>(i)] =
            state == BST_CHECKED ? 1 : (state == BST_INDETERMINATE ? 2 : 0);
    }
    std::vector<MacroHoleColumn> holeColumns = boltData.getHoleColumns();
    for (int row = 1; row <= static_cast<int>(holeColumns.size()); ++row)
    {
        Kdr_String text;
        if (columns_.getCellText(kColumnCheck, row, text, ctkValue))
            holeColumns[static_cast<size_t>(row - 1)].checked = text == "1";
    }
    boltData.setHoleColumns(holeColumns);
    for (int i = 0; i < 5; ++i)
    {
        ui::Window* toggle = GetDlgItem(kSwitchButtons[i]);
        boltData.switches[static_cast<size_t>(i)] =
            toggle == nullptr || !toggle->IsWindowEnabled()
                ? -1
                : (IsDlgButtonChecked(kSwitchButtons[i]) == BST_CHECKED ? 1 : 0);
    }
    readSlot(shownSlot_);
}

bool Kdr_DlgBoltOptions::validateSlots()
{
    for (size_t k = 0; k < boltData.slots.size(); ++k)
    {
        const MacroBoltSlot& slot = boltData.slots[k];
        if (!slot.active || (positiveNumber(slot.radius) && positiveNumber(slot.length)))
            continue;
        MessageBox(dialString(1000) + " " + std::to_string(k + 1) + " " + dialString(1001) + "\n\n" +
                       dialString(888) + ".",
                   "Ongeldige waarde", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool Kdr_DlgBoltOptions::apply()
{
    readBack();
    if (!applyToTab)
        return true;
    if (!validateSlots())
        return false;
    boltData = applyToTab(boltData);
    showBoltData();
    return true;
}

void Kdr_DlgBoltOptions::buttonClicked(int id)
{
    disableTriState(dlgItem<ui::Button>(id));
    if (id == IDC_BOLT_SLOT_ACTIVE)
    {
        enableSlotFields();
        if (auto* slots = dlgItem<ui::CheckListComboBox>(IDC_BOLT_SLOTS); slots != nullptr && shownSlot_ >= 0)
            slots->SetCheck(shownSlot_, IsDlgButtonChecked(IDC_BOLT_SLOT_ACTIVE) == BST_CHECKED);
    }
    apply();
}

void Kdr_DlgBoltOptions::slotChanged()
{
    readSlot(shownSlot_);
    if (auto* slots = dlgItem<ui::CheckListComboBox>(IDC_BOLT_SLOTS))
        showSlot(slots->GetCurSel());
}

bool Kdr_DlgBoltOptions::PreTranslateMessage(ui::Message& message)
{
    // Enter applies the dialog; only OK closes it.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && message.window != nullptr &&
        (message.window == this || IsChild(message.window)))
    {
        apply();
        return true;
    }
    return ui::Dialog::PreTranslateMessage(message);
}

void Kdr_DlgBoltOptions::OnOK()
{
    if (apply())
        EndDialog(IDOK);
}

void Kdr_DlgBoltOptions::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    ui::Dialog::OnDestroy();
}
