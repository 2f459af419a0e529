#include "designer/Kdr_DlgMacroPage.h"

#include "designer/Kdr_DlgMacro.h"
#include "designer/MacroDialogResources.h"
#include "host/MacroDialogHost.h"
#include "host/Texts.h"
#include "ui/ComboBox.h"
#include "ui/GridControl.h"

namespace
{
constexpr int kNameCol = 1;
constexpr int kValueCol = 3;
constexpr int kSecondCountCol = 4;
constexpr int kValueMaxLength = 1000;

/// Shows `text` in a drop-down list, adding it as an item when the list lacks it.
void showInList(ui::ComboBox* combo, const Kdr_StringArray& items, const Kdr_String& text)
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
} // namespace

Kdr_DlgMacroPage::Kdr_DlgMacroPage(Kdr_DlgMacro& owner, int tabIndex)
    : ui::Dialog(IDD_MACRO_PAGE, &owner), owner_(owner), tabIndex_(tabIndex)
{
}

bool Kdr_DlgMacroPage::OnInitDialog()
{
    grid_.createInDialog(this, IDC_PAGE_GRID, true);
    grid_.applyDefaultStyle(1);
    grid_.setRowHeaderVisible(false);
    grid_.ModifyStyle(0, WS_TABSTOP);
    const ui::Rect rect = GetWindowRect();
    minimumSize_ = {rect.Width(), rect.Height()};
    return false;
}

void Kdr_DlgMacroPage::fill(MacroTabData& tab)
{
    Kdr_Spread::RedrawGuard redraw(grid_);
    boltTab_ = tab.kind() == MacroTabData::kBolts;
    tab.removeAllDlgReferences();
    addGridRows(tab);
    showBoltRow(boltTab_);
}

void Kdr_DlgMacroPage::addGridRows(MacroTabData& tab)
{
    rows_.clear();
    for (MacroCellData& cell : tab.cells())
        if (cell.dlgRef <= 0)
        {
            rows_.push_back({GridRow::kVariable, cell.name});
            cell.dlgRef = -static_cast<int>(rows_.size());
        }
    if (boltTab_)
        for (MacroPatternProps& pattern : tab.patterns())
        {
            const bool secondMissing = pattern.hasSecondDirection() && pattern.count2Ref <= 0;
            if (pattern.count1Ref > 0 && pattern.buttonRef > 0 && !secondMissing)
                continue;
            rows_.push_back({GridRow::kPattern, pattern.name});
            const int ref = -static_cast<int>(rows_.size());
            if (pattern.count1Ref <= 0)
                pattern.count1Ref = ref;
            if (pattern.buttonRef <= 0)
                pattern.buttonRef = ref;
            if (secondMissing)
                pattern.count2Ref = ref;
        }

    const int count = static_cast<int>(rows_.size());
    grid_.setMaxRows(0, false);
    grid_.setMaxCols(4, false);
    grid_.setMaxRows(count, false);
    grid_.setCellText(kNameCol, Kdr_Spread::kHeaderIndex, dialString(87).c_str());
    grid_.setCellText(kValueCol, Kdr_Spread::kHeaderIndex, dialString(86).c_str());
    for (int row = 1; row <= count; ++row)
    {
        const GridRow& gridRow = rows_[static_cast<size_t>(row - 1)];
        grid_.addCellSpan(kNameCol, row, 2, 1);
        grid_.setTextType(kNameCol, row, kNameCol + 1, row, Kdr_Spread::kTextStyle, kValueMaxLength);
        grid_.setCellText(kNameCol, row, gridRow.name.c_str());
        grid_.setLock(kNameCol, row, kNameCol + 1, row, true);
        if (gridRow.kind == GridRow::kVariable)
        {
            const MacroCellData* cell = nullptr;
            if (tab.findCellWithName(gridRow.name, cell))
                setupGridRow(row, *cell);
            continue;
        }
        const MacroPatternProps* pattern = nullptr;
        if (!tab.findPatternWithName(gridRow.name, pattern))
            continue;
        grid_.setTextType(kValueCol, row, kSecondCountCol, row, Kdr_Spread::kTextStyle, kValueMaxLength);
        // A pattern with one direction shows its one count across both value columns.
        if (!pattern->hasSecondDirection())
            grid_.addCellSpan(kValueCol, row, 2, 1);
    }
    grid_.applyResizeMode();
    grid_.ShowWindow(count > 0 ? SW_SHOW : SW_HIDE);
}

void Kdr_DlgMacroPage::setupGridRow(int row, const MacroCellData& cell)
{
    grid_.addCellSpan(kValueCol, row, 2, 1);
    switch (cell.kind)
    {
    case MacroCellData::kCombo:
    case MacroCellData::kComboEdit:
        grid_.setComboType(kValueCol, row, kSecondCountCol, row, cell.items,
                           cell.kind == MacroCellData::kComboEdit ? 1 : 0);
        break;
    case MacroCellData::kCheck:
        grid_.setCheckBoxType(kValueCol, row, kSecondCountCol, row);
        break;
    default:
        grid_.setTextType(kValueCol, row, kSecondCountCol, row, Kdr_Spread::kTextStyle, kValueMaxLength);
        break;
    }
    grid_.setLock(kValueCol, row, kSecondCountCol, row, cell.readOnly);
}

void Kdr_DlgMacroPage::showBoltRow(bool show)
{
    for (const int id : {int{IDC_PAGE_ASSEMBLY_LABEL}, int{IDC_PAGE_ASSEMBLY}, int{IDC_PAGE_DIAMETER_LABEL},
                         int{IDC_PAGE_DIAMETER}, int{IDC_PAGE_ADVANCED}})
        if (ui::Window* control = GetDlgItem(id))
            control->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void Kdr_DlgMacroPage::refresh(const MacroTabData& tab)
{
    refreshing_ = true;
    for (size_t i = 0; i < rows_.size(); ++i)
    {
        const int row = static_cast<int>(i) + 1;
        const GridRow& gridRow = rows_[i];
        if (gridRow.kind == GridRow::kVariable)
        {
            const MacroCellData* cell = nullptr;
            if (!tab.findCellWithName(gridRow.name, cell))
                continue;
            const Kdr_String value = cell->kind == MacroCellData::kCheck
                                         ? Kdr_String(cell->value.toDouble() > 0 ? "1" : "0")
                                         : cell->value;
            grid_.setCellText(kValueCol, row, value.c_str());
            continue;
        }
        const MacroPatternProps* pattern = nullptr;
        if (!tab.findPatternWithName(gridRow.name, pattern))
            continue;
        grid_.setCellText(kValueCol, row, pattern->count1.c_str());
        if (pattern->hasSecondDirection())
            grid_.setCellText(kSecondCountCol, row, pattern->count2.c_str());
    }
    const MacroBoltData* bolts = nullptr;
    if (boltTab_ && tab.getBoltData(bolts))
    {
        Kdr_StringArray assemblies;
        GetAssemblies(assemblies);
        showInList(dlgItem<ui::ComboBox>(IDC_PAGE_ASSEMBLY), assemblies, bolts->assembly);
        showInList(dlgItem<ui::ComboBox>(IDC_PAGE_DIAMETER), macroDialogHost().diameters, bolts->diameter);
    }
    refreshing_ = false;
}

void Kdr_DlgMacroPage::readBack(MacroTabData& tab)
{
    // An entry still being typed belongs to the values.
    if (grid_.isEditing())
        grid_.setEditMode(false);
    for (size_t i = 0; i < rows_.size(); ++i)
    {
        const int row = static_cast<int>(i) + 1;
        const GridRow& gridRow = rows_[i];
        Kdr_String text;
        if (gridRow.kind == GridRow::kVariable)
        {
            MacroCellData* cell = nullptr;
            if (!tab.findCellWithName(gridRow.name, cell) || cell->readOnly)
                continue;
            // The text is taken as shown: rounding it here would change the drawing on an
            // Enter that changed nothing.
            if (grid_.getCellText(kValueCol, row, text, ctkData))
                cell->value = text;
            continue;
        }
        MacroPatternProps* pattern = nullptr;
        if (!tab.findPatternWithName(gridRow.name, pattern))
            continue;
        if (grid_.getCellText(kValueCol, row, text, ctkData))
            pattern->count1 = text;
        if (pattern->hasSecondDirection() && grid_.getCellText(kSecondCountCol, row, text, ctkData))
            pattern->count2 = text;
    }
    MacroBoltData* bolts = nullptr;
    if (boltTab_ && tab.getBoltData(bolts))
    {
        bolts->assembly = GetDlgItemText(IDC_PAGE_ASSEMBLY);
        bolts->diameter = GetDlgItemText(IDC_PAGE_DIAMETER);
    }
}

void Kdr_DlgMacroPage::apply()
{
    if (!refreshing_)
        owner_.applyPage(tabIndex_);
}

bool Kdr_DlgMacroPage::OnCommand(int id, int code, ui::Window* control)
{
    if (id == IDC_PAGE_ADVANCED && code == BN_CLICKED)
    {
        owner_.openBoltOptions(tabIndex_);
        return true;
    }
    if ((id == IDC_PAGE_ASSEMBLY || id == IDC_PAGE_DIAMETER) && code == CBN_SELCHANGE)
    {
        apply();
        return true;
    }
    return ui::Dialog::OnCommand(id, code, control);
}

bool Kdr_DlgMacroPage::OnNotify(ui::NotifyHeader& header, std::intptr_t& result)
{
    if (header.idFrom == IDC_PAGE_GRID)
    {
        const auto& grid = static_cast<const ui::GridNotify&>(header);
        if ((header.code == ui::GRIDN_EDITEND && grid.changed) || header.code == ui::GRIDN_COMBOSELCHANGE ||
            header.code == ui::GRIDN_CHECKCLICKED)
        {
            apply();
            return true;
        }
    }
    return ui::Dialog::OnNotify(header, result);
}

void Kdr_DlgMacroPage::OnSize(unsigned type, int cx, int cy)
{
    ui::Dialog::OnSize(type, cx, cy);
    // The grid takes the room right of the template area and above the bolt row.
    if (!grid_.IsWindow())
        return;
    ui::Rect area;
    if (ui::Window* templateArea = GetDlgItem(IDC_PAGE_TEMPLATE_AREA))
        area = templateArea->rectInParent();
    ui::Rect gridRect = grid_.rectInParent();
    gridRect.right = std::max(gridRect.left + 40, cx - 4);
    grid_.MoveWindow(gridRect);
    grid_.applyResizeMode();
}

int Kdr_DlgMacroPage::focusedControl() const
{
    ui::Window* focus = ui::Window::GetFocus();
    while (focus != nullptr && focus->GetParent() != this && IsChild(focus))
        focus = focus->GetParent();
    return focus != nullptr && focus->GetParent() == this ? focus->GetDlgCtrlID() : 0;
}

void Kdr_DlgMacroPage::restoreFocus(int id)
{
    ui::Window* target = id != 0 ? GetDlgItem(id) : nullptr;
    if (target == nullptr || !target->IsWindowVisible() || !target->IsWindowEnabled())
    {
        target = nullptr;
        for (ui::Window* child : children())
            if (child->IsWindowVisible() && child->IsWindowEnabled() && (child->GetStyle() & WS_TABSTOP) != 0)
            {
                target = child;
                break;
            }
    }
    if (target != nullptr)
        target->SetFocus();
}

Kdr_DlgMacroProfilePage::Kdr_DlgMacroProfilePage() : ui::Dialog(IDD_MACRO_PROFILES)
{
}
