#include "designer/Kdr_ConstraintsPage.h"

#include "frame/ModuleBitmaps.h"
#include "host/CommandLine.h"
#include "host/Kdr_Module.h"
#include "host/StringFunctions.h"
#include "host/Texts.h"
#include "ui/AcadHost.h"
#include "ui/ComboBox.h"
#include "ui/Cursor.h"
#include "ui/GridControl.h"
#include "ui/PopupMenu.h"

#include <algorithm>

namespace
{
constexpr int kHeader = Kdr_Spread::kHeaderIndex;
constexpr const char* kRowFont = "Tahoma";
constexpr int kRowFontHeight = 15;
constexpr const char* kMenuBreak = "%BREAK%";
/// How many grid columns have captions of their own.
constexpr int kCaptionedColumns = 4;
} // namespace

void registerConstraintsPageTemplate(ui::ResourceModule& module)
{
    ui::DialogTemplate page(IDD_CONSTRAINTS_PAGE, "Regels editeren", 0, 0, 308, 205);
    page.style = WS_CHILD | WS_VISIBLE;
    page.exStyle = WS_EX_CONTROLPARENT;
    page.control(IDC_RULES_GRID, "STATIC", "", 0, 0, 0, 308, 110)
        .groupBox(IDC_RULE_GROUP, "", 0, 113, 308, 92)
        .ltext(IDC_RULE_EXPRESSION_LABEL, "", 6, 125, 50, 8)
        .editText(IDC_RULE_EXPRESSION, 60, 123, 112, 12, ES_AUTOHSCROLL)
        .ltext(IDC_RULE_NAME_LABEL, "", 6, 140, 50, 8)
        .editText(IDC_RULE_NAME, 60, 138, 112, 12, ES_AUTOHSCROLL)
        .ltext(IDC_RULE_CHOICE_LABEL, "", 6, 155, 50, 8)
        .comboBox(IDC_RULE_CHOICE, 60, 153, 112, 80, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)
        .autoCheckBox(IDC_RULE_CHECK1, "", 180, 124, 70, 10)
        .autoCheckBox(IDC_RULE_CHECK2, "", 180, 139, 70, 10)
        .pushButton(IDC_RULE_CUT, "", 180, 153, 60, 14)
        .control(IDC_RULE_DELETE, "BUTTON", "", BS_PUSHBUTTON | WS_TABSTOP, 284, 123, 16, 14);
    for (int i = 0; i < Kdr_ConstraintsPage::kOptionCount; ++i)
        page.control(Kdr_ConstraintsPage::kOptionIds[static_cast<size_t>(i)], "BUTTON", "",
                     BS_CHECKBOX | BS_PUSHLIKE | WS_TABSTOP, 6 + 36 * i, 171, 32, 30);
    module.addDialog(std::move(page));
}

Kdr_ConstraintsPage::Kdr_ConstraintsPage() : ui::Dialog(IDD_CONSTRAINTS_PAGE)
{
    // Arrow keys and clicks both move the active cell; either way the rule of the new row is
    // shown. A click also starts the editor's guard against a stray Escape.
    onNotify(IDC_RULES_GRID, ui::GRIDN_LEAVEROW,
             [this](ui::NotifyHeader& header, std::intptr_t&)
             { pickRow(static_cast<ui::GridNotify&>(header).newRow); });
    onNotify(IDC_RULES_GRID, ui::GRIDN_CLICK,
             [this](ui::NotifyHeader& header, std::intptr_t&)
             {
                 pickRow(static_cast<ui::GridNotify&>(header).row);
                 if (onGuard_)
                     onGuard_();
             });
    onNotify(IDC_RULES_GRID, ui::GRIDN_HEADERCLICK,
             [this](ui::NotifyHeader& header, std::intptr_t&)
             {
                 const auto& notify = static_cast<ui::GridNotify&>(header);
                 if (notify.row == kHeader)
                     headerClicked(notify.col);
             });
    onNotify(IDC_RULES_GRID, ui::GRIDN_RIGHTCLICK,
             [this](ui::NotifyHeader& header, std::intptr_t& result)
             {
                 const auto& notify = static_cast<ui::GridNotify&>(header);
                 result = 1; // the grid's own menu stays away
                 rightClicked(notify.col, notify.row);
             });
    onCommand(IDC_RULE_NAME, EN_KILLFOCUS, [this] { checkName(); });
    onClicked(IDC_RULE_CHECK1,
              [this]
              {
                  if (ui::Window* second = GetDlgItem(IDC_RULE_CHECK2))
                      second->EnableWindow(IsDlgButtonChecked(IDC_RULE_CHECK1) == BST_CHECKED &&
                                           GetDlgItem(IDC_RULE_CHECK1)->IsWindowEnabled());
              });
    for (int i = 0; i < kOptionCount; ++i)
        onClicked(kOptionIds[static_cast<size_t>(i)], [this, i] { optionClicked(i); });
    onClicked(IDC_RULE_DELETE, [this] { deleteRule(); });
    onClicked(IDC_RULE_CUT, [this] { editCut(); });
}

bool Kdr_ConstraintsPage::OnInitDialog()
{
    grid_.createInDialog(this, IDC_RULES_GRID, true);
    grid_.applyDefaultStyle(1);
    grid_.setRowHeaderVisible(false);
    grid_.setResizeMode(1);

    deleteButton_.SubclassDlgItem(IDC_RULE_DELETE, this);
    deleteButton_.SetIcon(IDI_REMOVE);
    deleteButton_.SetTooltipText(dialString(882));
    for (int i = 0; i < kOptionCount; ++i)
    {
        CButtonST& button = options_[static_cast<size_t>(i)];
        button.SubclassDlgItem(kOptionIds[static_cast<size_t>(i)], this);
        button.SetTooltipText("Enum " + std::to_string(i + 1));
    }
    SetDlgItemText(IDC_RULE_GROUP, dialString(879));
    SetDlgItemText(IDC_RULE_EXPRESSION_LABEL, dialString(880));
    SetDlgItemText(IDC_RULE_NAME_LABEL, dialString(221));
    SetDlgItemText(IDC_RULE_CHOICE_LABEL, dialString(228));
    SetDlgItemText(IDC_RULE_CHECK1, dialString(881));
    SetDlgItemText(IDC_RULE_CHECK2, dialString(1328));
    SetDlgItemText(IDC_RULE_CUT, dialString(862));
    fillGrid();
    return false;
}

void Kdr_ConstraintsPage::OnDestroy()
{
    leaveRule();
    if (data_)
        UnHighlightConstraints(*data_);
    ui::Dialog::OnDestroy();
}

// ---- The grid ----------------------------------------------------------------------------------

void Kdr_ConstraintsPage::fillGrid()
{
    if (!grid_.isCreated())
        return;
    shown_ = -1;
    const int count = data_ ? data_->ruleCount() : 0;
    int cols = 0;
    for (int i = 0; i < count; ++i)
        cols = std::max(cols, data_->rowTexts[i].length());
    if (count == 0)
        cols = kCaptionedColumns;

    {
        Kdr_Spread::RedrawGuard redraw(grid_);
        const int oldRows = grid_.getMaxRows();
        grid_.setMaxCols(cols, false);
        grid_.setMaxRows(count, false);
        if (count > oldRows)
            grid_.setHeaderFont(1, oldRows + 1, cols, count, kRowFont, kRowFontHeight, false, false);
        const Kdr_String parameter = string(2333);
        const Kdr_String captions[kCaptionedColumns] = {dialString(87), dialString(883), parameter + " 1",
                                                        parameter + " 2"};
        for (int c = 0; c < cols && c < kCaptionedColumns; ++c)
            grid_.setCellText(c + 1, kHeader, captions[c].c_str());
        for (int i = 0; i < count; ++i)
            for (int j = 0; j < cols; ++j)
            {
                const Kdr_StringArray& texts = data_->rowTexts[i];
                grid_.setCellText(j + 1, i + 1, texts.validIndex(j) ? texts[j].c_str() : "");
            }
        // The list is read-only: rules change through the fields below it.
        if (count > 0)
            grid_.setLock(1, 1, cols, count, true);
        grid_.applyResizeMode();
    }

    clearProperties();
    if (count == 0)
        return;
    const int current = data_->currentRule >= 0 && data_->currentRule < count ? data_->currentRule : 0;
    selectRow(current);
    showRule(current);
}

void Kdr_ConstraintsPage::selectRow(int rule)
{
    // The active cell keeps its column, so a refill after a menu action leaves it in place.
    int col = 1, row = 0;
    if (!grid_.sheet().activeCell(col, row) || col < 1 || col > grid_.getMaxCols())
        col = 1;
    grid_.sheet().setActiveCell(col, rule + 1);
    grid_.sheet().setSelection(col, rule + 1, col, rule + 1);
}

void Kdr_ConstraintsPage::pickRow(int row)
{
    if (!data_ || row < 1 || row > data_->ruleCount() || row - 1 == shown_)
        return;
    leaveRule();
    showRule(row - 1);
}

void Kdr_ConstraintsPage::headerClicked(int col)
{
    if (!data_ || col < 1 || col > kCaptionedColumns || col == sortedColumn_)
        return;
    leaveRule();
    SortConstraints(*data_, col);
    sortedColumn_ = col;
    fillGrid();
}

void Kdr_ConstraintsPage::rightClicked(int col, int row)
{
    if (!data_ || col < 1 || col > 3 || row < 1 || row > data_->ruleCount())
        return;
    if (row - 1 != shown_)
    {
        leaveRule();
        showRule(row - 1);
    }
    grid_.sheet().setActiveCell(col, row);
    grid_.sheet().setSelection(col, row, col, row);
    if (onGuard_)
        onGuard_();
    if (shown_ != row - 1)
        return; // the host's data for that rule is not whole: no menu for it

    Kdr_StringArray texts;
    Kdr_Array<int> commands;
    Kdr_Array<int> checked;
    ConstrContextMenu(*data_, shown_, texts, commands, checked);
    ui::PopupMenu menu;
    menu.CreatePopupMenu();
    // Menu items are numbered by position, so that the host's command numbers need not be
    // unique or nonzero.
    for (int k = 0; k < texts.length(); ++k)
    {
        if (texts[k] == kMenuBreak)
            menu.AppendMenu(MF_SEPARATOR);
        else
            menu.AppendMenu(MF_STRING | (checked.contains(k) ? MF_CHECKED : MF_UNCHECKED), k + 1, texts[k]);
    }
    ui::Point point;
    GetCursorPos(&point);
    const int chosen = menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, this);
    if (chosen <= 0 || !commands.validIndex(chosen - 1))
        return;

    ui::Window* editor = GetTopLevelParent();
    const ui::WindowHandle self = GetSafeHwnd();
    editor->ShowWindow(SW_HIDE);
    ContextMenuAction(*data_, shown_, commands[chosen - 1]);
    if (FromHandle(self) != this)
        return;
    editor->ShowWindow(SW_SHOW);
    fillGrid();
}

// ---- Showing and leaving a rule ---------------------------------------------------------------

void Kdr_ConstraintsPage::clearProperties()
{
    for (CButtonST& button : options_)
    {
        button.SetCheck(BST_UNCHECKED);
        button.clearImage();
        button.EnableWindow(false);
    }
    usedOptions_ = group1End_ = group2Begin_ = group2End_ = groups_ = 0;
    for (const int id : {int{IDC_RULE_EXPRESSION}, int{IDC_RULE_NAME}})
    {
        SetDlgItemText(id, "");
        GetDlgItem(id)->EnableWindow(false);
    }
    if (auto* choice = dlgItem<ui::ComboBox>(IDC_RULE_CHOICE))
    {
        choice->ResetContent();
        choice->EnableWindow(false);
    }
    for (const int id : {int{IDC_RULE_CHECK1}, int{IDC_RULE_CHECK2}})
    {
        CheckDlgButton(id, BST_UNCHECKED);
        GetDlgItem(id)->EnableWindow(false);
    }
    GetDlgItem(IDC_RULE_CUT)->ShowWindow(SW_HIDE);
    deleteButton_.ShowWindow(data_ && data_->ruleCount() > 0 ? SW_SHOW : SW_HIDE);
}

void Kdr_ConstraintsPage::showRule(int rule)
{
    if (!data_ || rule == shown_ || !data_->isConsistent(rule))
        return;
    clearProperties();
    if (data_->hasKind(rule, 0))
    {
        GetDlgItem(IDC_RULE_EXPRESSION)->EnableWindow(true);
        SetDlgItemText(IDC_RULE_EXPRESSION, data_->firstTexts[rule]);
    }
    if (data_->hasKind(rule, 1))
    {
        GetDlgItem(IDC_RULE_NAME)->EnableWindow(true);
        SetDlgItemText(IDC_RULE_NAME, data_->secondTexts[rule]);
    }
    if (data_->hasKind(rule, 3))
    {
        GetDlgItem(IDC_RULE_CHECK1)->EnableWindow(true);
        CheckDlgButton(IDC_RULE_CHECK1, data_->firstChecks[rule] ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(IDC_RULE_CHECK2, data_->secondChecks[rule] ? BST_CHECKED : BST_UNCHECKED);
        GetDlgItem(IDC_RULE_CHECK2)->EnableWindow(data_->firstChecks[rule] != 0);
    }
    if (data_->hasKind(rule, 2))
        if (auto* choice = dlgItem<ui::ComboBox>(IDC_RULE_CHOICE))
        {
            for (const Kdr_String& item : data_->choiceItems[rule])
                choice->AddString(item);
            choice->SetCurSel(data_->choiceIndexes[rule]);
            choice->EnableWindow(true);
        }
    if (data_->cutButtons[rule])
        GetDlgItem(IDC_RULE_CUT)->ShowWindow(SW_SHOW);
    showOptions(rule);

    shown_ = rule;
    HighlightConstraint(*data_, rule);
    acedUpdateDisplay();
}

void Kdr_ConstraintsPage::showOptions(int rule)
{
    int lastBreak = 0;
    for (const Kdr_String& entry : data_->optionBitmaps[rule])
    {
        if (entry == Kdr_Rule::kRadioBreak)
        {
            if (groups_ == 0)
                group1End_ = usedOptions_;
            else if (groups_ == 1)
            {
                group2Begin_ = lastBreak;
                group2End_ = usedOptions_;
            }
            ++groups_;
            lastBreak = usedOptions_;
            continue;
        }
        // There are five buttons; pictures beyond them have no place and are left out.
        if (usedOptions_ == kOptionCount)
            continue;
        CButtonST& button = options_[static_cast<size_t>(usedOptions_)];
        button.SetBitmaps(entry, kButtonTransparent);
        button.EnableWindow(true);
        ++usedOptions_;
    }
    groups_ = std::min(groups_, 2);

    const Kdr_Array<int>& selections = data_->optionSelections[rule];
    const auto checkIn = [&](int selection, int begin, int end)
    {
        if (selection > begin && selection <= end)
            options_[static_cast<size_t>(selection - 1)].SetCheck(BST_CHECKED);
    };
    if (groups_ >= 1 && selections.length() >= 1)
        checkIn(selections[0], 0, group1End_);
    if (groups_ >= 2 && selections.length() >= 2)
        checkIn(selections[1], group2Begin_, group2End_);
}

int Kdr_ConstraintsPage::groupOf(int index) const
{
    if (groups_ >= 1 && index < group1End_)
        return 1;
    if (groups_ >= 2 && index >= group2Begin_ && index < group2End_)
        return 2;
    return 0;
}

void Kdr_ConstraintsPage::optionClicked(int index)
{
    if (index >= usedOptions_)
        return;
    CButtonST& clicked = options_[static_cast<size_t>(index)];
    const int group = groupOf(index);
    if (group == 0)
    {
        clicked.SetCheck(clicked.GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        return;
    }
    for (int i = 0; i < usedOptions_; ++i)
        if (groupOf(i) == group)
            options_[static_cast<size_t>(i)].SetCheck(i == index ? BST_CHECKED : BST_UNCHECKED);
}

Kdr_Array<int> Kdr_ConstraintsPage::readOptions() const
{
    const Kdr_Array<int>& stored = data_->optionSelections[shown_];
    if (usedOptions_ == 0)
        return stored;
    Kdr_Array<int> read;
    if (groups_ == 0)
    {
        // Without radio groups the selection is one number: the highest checked button.
        int highest = 0;
        for (int i = 0; i < usedOptions_; ++i)
            if (options_[static_cast<size_t>(i)].GetCheck() == BST_CHECKED)
                highest = i + 1;
        read.append(highest);
        return read;
    }
    // One selection per group, numbered as the buttons were when shown.
    for (int group = 1; group <= groups_; ++group)
    {
        int selection = 0;
        for (int i = 0; i < usedOptions_; ++i)
            if (groupOf(i) == group && options_[static_cast<size_t>(i)].GetCheck() == BST_CHECKED)
                selection = i + 1;
        read.append(selection);
    }
    // Selections the page has no group for are kept as the host gave them.
    for (int i = read.length(); i < stored.length(); ++i)
        read.append(stored[i]);
    return read;
}

bool Kdr_ConstraintsPage::checkName()
{
    if (!data_ || shown_ < 0 || !data_->hasKind(shown_, 1) || !data_->secondTexts.validIndex(shown_))
        return true;
    const Kdr_String name = GetDlgItemText(IDC_RULE_NAME);
    const Kdr_String& stored = data_->secondTexts[shown_];
    if (name == stored)
        return true;
    const Kdr_String quoted = "\"" + name + "\"";
    if (VarNameInUse(*data_, name, shown_))
        MessageBox(quoted + "\n" + dialString(857) + ".\n" + dialString(858) + ".", dialString(856),
                   MB_OK | MB_ICONEXCLAMATION);
    else if (hasOnlyLettersNumbers(name))
    {
        if (!startsWithNumber(name))
            return true;
        MessageBox(quoted + " " + dialString(885) + ".\n" + dialString(886) + ".\n" + dialString(887) +
                       ".\n\n" + dialString(888) + ".",
                   dialString(884), MB_OK | MB_ICONEXCLAMATION);
    }
    else
        MessageBox(quoted + " " + dialString(1455) + ".\n" + dialString(1456) + ".\n\n" + dialString(888) +
                       ".",
                   dialString(884), MB_OK | MB_ICONEXCLAMATION);
    // A refused name is not taken: the rule keeps the name it has.
    if (IsWindow() && shown_ >= 0)
        SetDlgItemText(IDC_RULE_NAME, data_->secondTexts[shown_]);
    return false;
}

void Kdr_ConstraintsPage::leaveRule()
{
    if (!data_ || shown_ < 0 || !IsWindow() || !data_->isConsistent(shown_))
        return;
    const int rule = shown_;
    bool changed = false;

    const Kdr_String expression = GetDlgItemText(IDC_RULE_EXPRESSION);
    if (data_->hasKind(rule, 0) && expression != data_->firstTexts[rule])
        changed = true;
    Kdr_String name = data_->hasKind(rule, 1) ? data_->secondTexts[rule] : Kdr_String();
    if (data_->hasKind(rule, 1) && GetDlgItemText(IDC_RULE_NAME) != name && checkName())
    {
        name = GetDlgItemText(IDC_RULE_NAME);
        changed = true;
    }
    const bool check1 = IsDlgButtonChecked(IDC_RULE_CHECK1) == BST_CHECKED;
    const bool check2 = IsDlgButtonChecked(IDC_RULE_CHECK2) == BST_CHECKED;
    if (data_->hasKind(rule, 3) &&
        (check1 != (data_->firstChecks[rule] != 0) || check2 != (data_->secondChecks[rule] != 0)))
        changed = true;
    const auto* choice = dlgItem<ui::ComboBox>(IDC_RULE_CHOICE);
    const int choiceIndex = choice ? choice->GetCurSel() : -1;
    if (data_->hasKind(rule, 2) && choiceIndex != data_->choiceIndexes[rule])
        changed = true;
    const Kdr_Array<int> options = readOptions();
    const Kdr_Array<int>& stored = data_->optionSelections[rule];
    if (options.length() != stored.length())
        acutPrintf("*Error* Array size mismatch.\n");
    else if (!(options == stored))
        changed = true;
    if (!changed)
        return;

    if (data_->hasKind(rule, 0))
        data_->firstTexts[rule] = expression;
    if (data_->hasKind(rule, 1))
        data_->secondTexts[rule] = name;
    if (data_->hasKind(rule, 3))
    {
        data_->firstChecks[rule] = check1 ? 1 : 0;
        data_->secondChecks[rule] = check2 ? 1 : 0;
    }
    if (data_->hasKind(rule, 2))
        data_->choiceIndexes[rule] = choiceIndex;
    if (options.length() == stored.length())
        data_->optionSelections[rule] = options;
    UpdateConstraint(*data_, rule);
    if (data_->rowTexts.validIndex(rule))
    {
        const Kdr_StringArray& texts = data_->rowTexts[rule];
        for (int j = 0; j < texts.length() && j < grid_.getMaxCols(); ++j)
            grid_.setCellText(j + 1, rule + 1, texts[j].c_str());
    }
}

// ---- Buttons -----------------------------------------------------------------------------------

void Kdr_ConstraintsPage::deleteRule()
{
    if (!data_ || shown_ < 0)
        return;
    const int rule = shown_;
    shown_ = -1; // the rule goes: nothing of it is left to read back
    DeleteConstraint(*data_, rule);
    data_->currentRule = std::max(rule - 1, 0);
    fillGrid();
}

void Kdr_ConstraintsPage::editCut()
{
    if (!data_ || shown_ < 0)
        return;
    StartEditMacroCutDlg(*data_, shown_);
    if (onGuard_)
        onGuard_();
}
