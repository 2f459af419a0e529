#include "designer/Kdr_DlgMacroPage.h"

#include "designer/Kdr_DlgMacro.h"
#include "designer/MacroDialogResources.h"
#include "host/MacroDialogHost.h"
#include "host/Settings.h"
#include "host/Texts.h"
#include "ui/AcadHost.h"
#include "ui/ComboBox.h"
#include "ui/GridControl.h"
#include "ui/UserAgent.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>

namespace
{
constexpr int kNameCol = 1;
constexpr int kValueCol = 3;
constexpr int kSecondCountCol = 4;
constexpr int kValueMaxLength = 1000;
const char* const kCancelCommand = "CANCELCMD";

/// A number written with five decimals, as the cell buttons write their values.
Kdr_String fiveDecimals(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.5f", value);
    return text;
}

/// A text read as a number by the C library's conversion (0 for no number).
double numberOf(const Kdr_String& text)
{
    return std::strtod(text.c_str(), nullptr);
}

/// Removes a leading "-" from a cell-button field; true when there was one.
bool takeNegation(Kdr_String& name)
{
    if (name.empty() || name[0] != '-')
        return false;
    name.erase(0, 1);
    return true;
}

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
    // A tab without a template (or with one that cannot be read) shows only its grid.
    hasTemplate_ = template_.loadMacroTab(this, tab);
    if (ui::Window* area = GetDlgItem(IDC_PAGE_TEMPLATE_AREA))
        area->ShowWindow(hasTemplate_ ? SW_SHOW : SW_HIDE);
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

    for (DynArrayData& array : tab.arrays())
        if (array.buttonRef <= 0)
        {
            rows_.push_back({GridRow::kArray, array.name});
            array.buttonRef = -static_cast<int>(rows_.size());
        }

    const int count = static_cast<int>(rows_.size());
    grid_.setMaxRows(0, false);
    grid_.setMaxCols(4, false);
    grid_.setMaxRows(count, false);
    grid_.setCellText(kNameCol, Kdr_Spread::kHeaderIndex, dialString(87).c_str());
    grid_.setCellText(kValueCol, Kdr_Spread::kHeaderIndex, dialString(86).c_str());
    // The first cell of each name, names compared without case as the tab's own look-up does:
    // one index rather than a search of the tab for every row.
    std::unordered_map<std::string, const MacroCellData*> cellsByName;
    for (const MacroCellData& cell : tab.cells())
        cellsByName.try_emplace(host::foldedText(cell.name), &cell);
    for (int row = 1; row <= count; ++row)
    {
        const GridRow& gridRow = rows_[static_cast<size_t>(row - 1)];
        grid_.addCellSpan(kNameCol, row, 2, 1);
        grid_.setTextType(kNameCol, row, kNameCol + 1, row, Kdr_Spread::kTextStyle, kValueMaxLength);
        grid_.setCellText(kNameCol, row, gridRow.name.c_str());
        grid_.setLock(kNameCol, row, kNameCol + 1, row, true);
        if (gridRow.kind == GridRow::kVariable)
        {
            if (const auto found = cellsByName.find(host::foldedText(gridRow.name));
                found != cellsByName.end())
                setupGridRow(row, *found->second);
            continue;
        }
        if (gridRow.kind == GridRow::kArray)
        {
            // The array has no button on the template: its row offers one.
            grid_.addCellSpan(kValueCol, row, 2, 1);
            grid_.setButtonType(kValueCol, row, kSecondCountCol, row, "...");
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

std::vector<int> Kdr_DlgMacroPage::cellsOfRows(const MacroTabData& tab) const
{
    // Each variable row knows its cell by the reference the fill gave it, so a page of many
    // rows is read and written without a search by name per row.
    std::vector<int> cells(rows_.size(), -1);
    for (size_t i = 0; i < tab.cells().size(); ++i)
    {
        const MacroCellData& cell = tab.cells()[i];
        const size_t row = static_cast<size_t>(-static_cast<long long>(cell.dlgRef));
        if (cell.dlgRef < 0 && row <= rows_.size() && rows_[row - 1].kind == GridRow::kVariable &&
            host::equalText(rows_[row - 1].name, cell.name, false))
            cells[row - 1] = static_cast<int>(i);
    }
    return cells;
}

void Kdr_DlgMacroPage::refresh(const MacroTabData& tab)
{
    refreshing_ = true;
    if (hasTemplate_)
        template_.setTabValuesToControls(tab);
    const std::vector<int> cells = cellsOfRows(tab);
    for (size_t i = 0; i < rows_.size(); ++i)
    {
        const int row = static_cast<int>(i) + 1;
        const GridRow& gridRow = rows_[i];
        if (gridRow.kind == GridRow::kVariable)
        {
            if (cells[i] < 0)
                continue;
            const MacroCellData* cell = &tab.cells()[static_cast<size_t>(cells[i])];
            const Kdr_String value = cell->kind == MacroCellData::kCheck
                                         ? Kdr_String(cell->value.toDouble() > 0 ? "1" : "0")
                                         : cell->value;
            grid_.setCellText(kValueCol, row, value.c_str());
            continue;
        }
        const MacroPatternProps* pattern = nullptr;
        if (gridRow.kind != GridRow::kPattern || !tab.findPatternWithName(gridRow.name, pattern))
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
    if (hasTemplate_)
        template_.getTabValuesFromControls(tab);
    const std::vector<int> cells = cellsOfRows(tab);
    for (size_t i = 0; i < rows_.size(); ++i)
    {
        const int row = static_cast<int>(i) + 1;
        const GridRow& gridRow = rows_[i];
        Kdr_String text;
        if (gridRow.kind == GridRow::kVariable)
        {
            if (cells[i] < 0)
                continue;
            MacroCellData* cell = &tab.cells()[static_cast<size_t>(cells[i])];
            if (cell->readOnly)
                continue;
            // The text is taken as shown: rounding it here would change the drawing on an
            // Enter that changed nothing.
            if (grid_.getCellText(kValueCol, row, text, ctkData))
                cell->value = text;
            continue;
        }
        MacroPatternProps* pattern = nullptr;
        if (gridRow.kind != GridRow::kPattern || !tab.findPatternWithName(gridRow.name, pattern))
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
    if (hasTemplate_ && template_.isADynControl(id))
    {
        templateCommand(id, code);
        return true;
    }
    return ui::Dialog::OnCommand(id, code, control);
}

bool Kdr_DlgMacroPage::OnNotify(ui::NotifyHeader& header, std::intptr_t& result)
{
    if (header.idFrom == IDC_PAGE_GRID)
    {
        const auto& grid = static_cast<const ui::GridNotify&>(header);
        if (header.code == ui::GRIDN_BUTTONCLICKED && grid.row >= 1 &&
            grid.row <= static_cast<int>(rows_.size()) &&
            rows_[static_cast<size_t>(grid.row - 1)].kind == GridRow::kArray)
        {
            arrayButton(-grid.row);
            return true;
        }
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

MacroTabData* Kdr_DlgMacroPage::tab() const
{
    MacroTabData* found = nullptr;
    return owner_.macroData().getTab(tabIndex_, found) ? found : nullptr;
}

bool Kdr_DlgMacroPage::OnEraseBkgnd(ui::PaintContext& dc)
{
    const bool erased = ui::Dialog::OnEraseBkgnd(dc);
    if (hasTemplate_)
        template_.OnEraseBkgnd(dc);
    return erased;
}

bool Kdr_DlgMacroPage::PreTranslateMessage(ui::Message& message)
{
    if (!hasTemplate_ || message.window == nullptr)
        return ui::Dialog::PreTranslateMessage(message);
    const int id = message.window->GetDlgCtrlID();
    // Releasing Space in a bolt-count field applies the count typed there.
    if (message.message == WM_KEYUP && message.wParam == VK_SPACE && template_.isADynControl(id) &&
        template_.isTypeBoltCount(id))
    {
        apply();
        return false;
    }
    // Tab runs through the template in its own order; past either end the grid (or the
    // page's other controls) takes over in that direction.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && template_.isADynControl(id))
    {
        Kdr_TabMsgHandle handled = tmhNotHandled;
        if (!template_.handleTabKey(VK_TAB, handled))
            return ui::Dialog::PreTranslateMessage(message);
        if (handled == tmhMoved)
            return true;
        if (handled == tmhAfterLast && grid_.IsWindowVisible())
        {
            grid_.SetFocus();
            return true;
        }
    }
    // The grid hands the focus back to the template from its first cell.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && message.window == &grid_ &&
        ui::GetKeyState(VK_SHIFT) < 0 && !grid_.isEditing())
    {
        int result = 0;
        if (grid_.handleTab(VK_TAB, result) && result == 3 && template_.setFocusToCtrl(false))
            return true;
    }
    return ui::Dialog::PreTranslateMessage(message);
}

void Kdr_DlgMacroPage::templateCommand(int id, int code)
{
    int type = -1;
    if (!template_.getDynControlType(id, type))
        return;
    switch (type)
    {
    case ctPatternButton:
        if (code == BN_CLICKED)
            patternButton(id);
        return;
    case ctArrayButton:
        if (code == BN_CLICKED)
            arrayButton(id);
        return;
    case ctCellButtonA:
    case ctCellButtonB:
        if (code == BN_CLICKED)
            cellButton(id, type);
        return;
    case ctCellCheck:
        if (code == BN_CLICKED)
            apply();
        return;
    case ctFlexFixButton:
        if (code == BN_CLICKED && !refreshing_)
        {
            // The click is reported to the tab; what it accepted is applied like any edit,
            // and a refused click shows the buttons as the tab holds them again.
            if (!owner_.applyTabChange(tabIndex_,
                                       [this, id](MacroTabData& changed)
                                       {
                                           readBack(changed);
                                           template_.flexBtnClicked(id, changed);
                                       }))
                if (const MacroTabData* shown = tab())
                    refresh(*shown);
        }
        return;
    case ctDrawingList:
        if (code == CBN_SELCHANGE)
            drawingChosen(id);
        return;
    default:
        break;
    }
    if (code == CBN_SELCHANGE || code == EN_KILLFOCUS)
        apply();
}

void Kdr_DlgMacroPage::patternButton(int id)
{
    acedPostCommand(kCancelCommand);
    MacroTabData* shown = tab();
    MacroPatternProps* pattern = nullptr;
    if (shown == nullptr || !shown->findPatternWithBtnId(id, pattern))
        return;
    const Kdr_String name = pattern->name;
    owner_.applyTabChange(tabIndex_,
                          [this, &name](MacroTabData& changed)
                          {
                              readBack(changed);
                              MacroPatternProps* edited = nullptr;
                              if (changed.findPatternWithName(name, edited))
                              {
                                  Kdr_DlgMacro::BusyScope busy(owner_);
                                  StartBoltPatternDlg(*edited);
                              }
                          });
}

void Kdr_DlgMacroPage::arrayButton(int buttonRef)
{
    acedPostCommand(kCancelCommand);
    MacroTabData* shown = tab();
    if (shown == nullptr)
        return;
    Kdr_String name;
    for (const DynArrayData& array : shown->arrays())
        if (array.buttonRef == buttonRef)
            name = array.name;
    if (name.empty())
        return;
    owner_.applyTabChange(tabIndex_,
                          [this, &name](MacroTabData& changed)
                          {
                              readBack(changed);
                              DynArrayData* edited = nullptr;
                              if (changed.findArrayWithName(name, edited))
                              {
                                  Kdr_DlgMacro::BusyScope busy(owner_);
                                  StartArrayDlg(*edited);
                              }
                          });
}

void Kdr_DlgMacroPage::drawingChosen(int id)
{
    const Kdr_DesignerControl* control = template_.getControlFromRes(id);
    if (control == nullptr)
        return;
    Kdr_String folder = control->comboList;
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += "\\";
    {
        Kdr_DlgMacro::BusyScope busy(owner_);
        swapBlockRefs(owner_.macroData(), tabIndex_,
                      gSettings.libDir() + folder + GetDlgItemText(id) + ".dwg");
    }
    apply();
}

void Kdr_DlgMacroPage::cellButton(int id, int type)
{
    acedPostCommand(kCancelCommand);
    const Kdr_DesignerControl* control = template_.getControlFromRes(id);
    MacroTabData* shown = tab();
    if (control == nullptr || shown == nullptr)
        return;
    Kdr_String baseName = control->cellBtnFields[0];
    Kdr_String targetName = control->cellBtnFields[1];
    Kdr_String partnerName = control->cellBtnFields[2];
    const bool targetNegated = takeNegation(targetName);
    const bool partnerNegated = takeNegation(partnerName);

    const MacroCellData* base = nullptr;
    const MacroCellData* target = nullptr;
    if (!shown->findCellWithName(baseName, base) || base->value == Kdr_DlgDesignerData::indeterminateText() ||
        !shown->findCellWithName(targetName, target) || target->readOnly || target->dlgRef <= 0)
        return;
    const int targetId = target->dlgRef;
    Kdr_String text;
    if (!template_.getCtrlValue(targetId, text))
        return;
    const double v0 = numberOf(base->value);
    double x1 = numberOf(text);
    if (targetNegated)
        x1 = -x1;

    int partnerId = 0;
    const MacroCellData* partner = nullptr;
    if (!partnerName.empty() && shown->findCellWithName(partnerName, partner) && partner->dlgRef > 0)
        partnerId = partner->dlgRef;
    double partnerValue = 0;
    if (partnerId != 0 && template_.getCtrlValue(partnerId, text))
        partnerValue = numberOf(text);
    else
        partnerId = 0;

    // A factor must be a number other than 0: the value is divided by it and the answer
    // multiplied by it, so an empty factor would write 0 into the target.
    double factor = 0;
    if (type == ctCellButtonA)
    {
        const Kdr_String& factorText = control->cellBtnFields[3];
        if (!factorText.isNumber() || numberOf(factorText) == 0)
            return;
        factor = numberOf(factorText);
    }
    if (type == ctCellButtonB && partnerId == 0)
        return;

    double current = v0;
    if (type == ctCellButtonA)
        current += partnerId != 0 ? x1 + (partnerNegated ? -partnerValue : partnerValue) : x1 / factor;
    else
        current += partnerNegated ? x1 - partnerValue : x1 + partnerValue;

    ui::ValuePromptRequest request;
    request.owner = this;
    request.title = dialString(971);
    request.label = dialString(1321) + "\n" + dialString(1322);
    request.value = fiveDecimals(current);
    request.okCaption = dialString(1);
    request.cancelCaption = dialString(2);
    Kdr_String entered;
    bool accepted = false;
    {
        Kdr_DlgMacro::BusyScope busy(owner_);
        accepted = ui::promptValue(request, entered);
    }
    // A value that is not a number is refused: the fields keep what they show.
    if (accepted && entered.isNumber())
    {
        const double wanted = numberOf(entered);
        double relative = 0;
        if (type == ctCellButtonA)
            relative = (wanted - v0) * factor;
        else
            relative = partnerNegated ? wanted - v0 + partnerValue : wanted - v0 - partnerValue;
        template_.setCtrlValue(targetId, fiveDecimals(targetNegated ? -relative : relative));
        if (type == ctCellButtonA && partnerId != 0)
            template_.setCtrlValue(partnerId, fiveDecimals(partnerNegated ? -relative : relative));
    }
    apply();
}

Kdr_DlgMacroProfilePage::Kdr_DlgMacroProfilePage() : ui::Dialog(IDD_MACRO_PROFILES)
{
}
