#pragma once

#include "host/EditConstrData.h"
#include "spread/Kdr_Spread.h"
#include "ui/CButtonST.h"
#include "ui/Dialog.h"
#include "ui/ResourceModule.h"

#include <array>
#include <functional>

/// Controls of the rules page.
enum ConstraintsPageResourceId
{
    IDD_CONSTRAINTS_PAGE = 207,
    IDC_RULES_GRID = 1196, ///< placeholder the rules grid replaces
    IDC_RULE_GROUP = 1335,
    IDC_RULE_EXPRESSION = 1030,
    IDC_RULE_EXPRESSION_LABEL = 1122,
    IDC_RULE_NAME = 1000,
    IDC_RULE_NAME_LABEL = 1123,
    IDC_RULE_CHOICE = 1005,
    IDC_RULE_CHOICE_LABEL = 1015,
    IDC_RULE_CHECK1 = 1283,
    IDC_RULE_CHECK2 = 1284,
    IDC_RULE_CUT = 1334,
    IDC_RULE_DELETE = 1087,
    IDC_RULE_OPTION1 = 1083,
    IDC_RULE_OPTION2 = 1077,
    IDC_RULE_OPTION3 = 1084,
    IDC_RULE_OPTION4 = 1085,
    IDC_RULE_OPTION5 = 1086,
};

/// The rules page of the macro editor: the rules of the current module in a grid, and below
/// it the editable properties of the rule shown — expression, name, a choice, two check
/// boxes and up to five picture option buttons in at most two radio groups.
///
/// Every change is handed to the host when the user leaves the rule (another row, sorting,
/// another module, closing); the page works on the editor's copy of the host record.
class Kdr_ConstraintsPage : public ui::Dialog
{
public:
    static constexpr int kOptionCount = 5;
    static constexpr std::array<int, kOptionCount> kOptionIds = {
        IDC_RULE_OPTION1, IDC_RULE_OPTION2, IDC_RULE_OPTION3, IDC_RULE_OPTION4, IDC_RULE_OPTION5};

    Kdr_ConstraintsPage();

    void setData(EditConstrData* data) { data_ = data; }
    /// Called whenever a rule is picked from the grid or a context menu opens, so that the
    /// editor can keep an Escape that follows from closing it.
    void setOnGuard(std::function<void()> guard) { onGuard_ = std::move(guard); }
    /// Hides and shows the editor around a context menu action in the drawing.
    void setOnStepAside(std::function<void(const std::function<void()>&)> stepAside)
    {
        stepAside_ = std::move(stepAside);
    }

    /// Refills the grid from the record and shows the rule the host marks as current.
    void fillGrid();
    /// Reads the page into the shown rule and hands a change to the host.
    void leaveRule();
    /// The rule shown, −1 for none.
    int shownRule() const { return shown_; }

    bool OnInitDialog() override;

protected:
    void OnDestroy() override;

private:
    void showRule(int rule);
    void selectRow(int rule);
    void pickRow(int row);
    void clearProperties();
    void showOptions(int rule);
    Kdr_Array<int> readOptions() const;
    void optionClicked(int index);
    /// 0 for a button of no radio group, else the group's number (1 or 2).
    int groupOf(int index) const;
    /// Checks the name in the name field when it differs from the stored one; a refused name
    /// is reported and the field shows the stored name again. False when refused.
    bool checkName();
    void headerClicked(int col);
    void rightClicked(int col, int row);
    void deleteRule();
    void editCut();

    EditConstrData* data_ = nullptr;
    Kdr_Spread grid_;
    CButtonST deleteButton_;
    std::array<CButtonST, kOptionCount> options_;
    /// The number of option buttons in use, and the buttons (by index) of the radio groups.
    int usedOptions_ = 0;
    int group1End_ = 0;   ///< group 1 is buttons [0, group1End_)
    int group2Begin_ = 0; ///< group 2 is buttons [group2Begin_, group2End_)
    int group2End_ = 0;
    int groups_ = 0;
    int shown_ = -1;
    int sortedColumn_ = 0;
    std::function<void()> onGuard_;
    std::function<void(const std::function<void()>&)> stepAside_;
};

/// Registers the rules page's template (207).
void registerConstraintsPageTemplate(ui::ResourceModule& module);
