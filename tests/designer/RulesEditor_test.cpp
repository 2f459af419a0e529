// The macro rules editor as a person uses it: modal and modeless, rows clicked, fields typed,
// option buttons pressed, headers clicked for sorting, context menus, and the guard against an
// Escape that follows a click, with the timer on the message loop's clock.

#include "designer/Kdr_DlgEditConstraints.h"
#include "host/Clock.h"
#include "host/CommandLine.h"
#include "host/EditConstrData.h"
#include "host/Kdr_DbMacro.h"
#include "host/TempFolder.h"
#include "ui/AcadHost.h"
#include "ui/Bitmap.h"
#include "ui/Cursor.h"
#include "ui/DialogSizes.h"
#include "ui/Driver.h"
#include "ui/MessageLoop.h"
#include "ui/PopupMenu.h"
#include "ui/ScriptedAgent.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kRulesGrid = IDC_RULES_GRID;
constexpr auto kOptions = Kdr_ConstraintsPage::kOptionIds;

/// A scripted agent that also keeps every popup menu it is shown.
class MenuRecordingAgent : public ui::ScriptedAgent
{
public:
    struct Shown
    {
        std::vector<ui::PopupMenu::Item> items;
        ui::Point at;
    };
    std::vector<Shown> menus;

    int popupMenu(const ui::PopupMenu& menu, ui::Point screenPoint, ui::Window* owner) override
    {
        menus.push_back({menu.items(), screenPoint});
        return ui::ScriptedAgent::popupMenu(menu, screenPoint, owner);
    }
};

Kdr_Rule makeRule(Kdr_StringArray texts, std::vector<int> kinds, const char* expression, const char* name)
{
    Kdr_Rule rule;
    rule.texts = std::move(texts);
    rule.kinds = std::move(kinds);
    rule.expression = expression;
    rule.name = name;
    return rule;
}

void failOnDriver(const std::string& message)
{
    ADD_FAILURE() << message;
}

class RulesEditorTest : public ::testing::Test
{
protected:
    RulesEditorTest() : clockOverride_(clock_), agentScope_(agent_)
    {
        ui::MessageLoop::instance().reset();
        agent_.setFailureHandler([](const std::string& message) { ADD_FAILURE() << message; });
        adsw_acadMainWnd();
        liveAtStart_ = ui::topLevelWindows().size();
        host::rulesHost().clear();
        ui::hostRequests().clear();
        ui::dialogSizes().clear();

        for (const char* name : {"a", "b", "c", "d", "e", "f", "g"})
        {
            std::string error;
            EXPECT_TRUE(ui::Bitmap(16, 16, RGB(255, 0, 255)).save(bitmap(name), error)) << error;
        }

        auto plate = std::make_unique<Kdr_Module>("Plate", "");
        plate->addDialogVariable({"Thickness", "10", true, true});
        Kdr_Rule length = makeRule({"L1", "A+B", "Plate", "Beam"}, {0, 1, 3}, "A+B", "L1");
        length.visible = true;
        Kdr_Rule gap = makeRule({"Gap", "10", "Plate", ""}, {0, 1, 2}, "10", "Gap");
        gap.choices = {"Left", "Right"};
        gap.choice = 1;
        gap.cut = "Cut1";
        gap.optionBitmaps = {bitmap("a"), bitmap("b"), Kdr_Rule::kRadioBreak, bitmap("c"), bitmap("d")};
        gap.options = {2};
        Kdr_Rule alpha = makeRule({"Alpha", "", "", ""}, {1}, "", "Alpha");
        alpha.optionBitmaps = {bitmap("a"), bitmap("b"), Kdr_Rule::kRadioBreak,
                               bitmap("c"), bitmap("d"), Kdr_Rule::kRadioBreak};
        alpha.options = {1, 4};
        plate->rules() = {length, gap, alpha};
        macro_.macro().addModule(std::move(plate));

        auto bolts = std::make_unique<Kdr_Module>("Bolts", "");
        bolts->rules() = {makeRule({"Pitch", "70", "", ""}, {0}, "70", "Pitch")};
        macro_.macro().addModule(std::move(bolts));
        data_ = EditConstrData(&macro_);
    }

    ~RulesEditorTest() override
    {
        EndDlgEditConstraints();
        EXPECT_EQ(ui::topLevelWindows().size(), liveAtStart_) << "a top-level window was left alive";
        ui::MessageLoop::instance().reset();
        ui::collectDestroyedWindows();
        host::rulesHost().clear();
    }

    std::string bitmap(const std::string& name) const { return folder_.path(name + ".bmp"); }

    const Kdr_Rule& rule(int index, const char* module = "Plate") const
    {
        const Kdr_Module* found = nullptr;
        EXPECT_TRUE(macro_.macro().findModule(module, found));
        return found->rules().at(static_cast<size_t>(index));
    }

    /// Runs the editor modal; a script that leaves it open has it closed with its OK button.
    bool runModal(const std::function<void(ui::Driver&)>& script)
    {
        agent_.expectDialog(IDD_EDIT_CONSTRAINTS,
                            [&](ui::Driver& user)
                            {
                                script(user);
                                if (user.dialog() && !user.dialog()->hasEnded())
                                    user.click(IDOK);
                            });
        return StartDlgEditConstrModal(data_);
    }

    static Kdr_String cell(ui::Driver& user, int col, int row)
    {
        Kdr_String text;
        user.itemAs<Kdr_Spread>(kRulesGrid)->getCellText(col, row, text, ctkData);
        return text;
    }

    static std::vector<int> checkedOptions(ui::Driver& user)
    {
        std::vector<int> numbers;
        for (size_t i = 0; i < kOptions.size(); ++i)
            if (user.check(kOptions[i]) == BST_CHECKED)
                numbers.push_back(static_cast<int>(i) + 1);
        return numbers;
    }

    static std::vector<std::string> calls(std::string_view prefix)
    {
        return host::rulesHost().callsOf(prefix);
    }

    host::ManualClock clock_;
    host::ClockOverride clockOverride_;
    MenuRecordingAgent agent_;
    ui::UserAgentScope agentScope_;
    std::size_t liveAtStart_ = 0;
    host::CommandLineCapture commandLine_;
    TempFolder folder_;
    Kdr_DbMacro macro_{"EP-1"};
    EditConstrData data_;
};
} // namespace

TEST_F(RulesEditorTest, OpensOnTheCurrentRuleWithTheGridFilled)
{
    data_.currentRule = 1;
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            EXPECT_EQ(user.window()->GetWindowText(), "Macro rules");
            EXPECT_EQ(user.text(IDOK), "Close");
            EXPECT_EQ(user.text(IDC_EDITOR_MODULES), "Plate");
            auto& grid = *user.itemAs<Kdr_Spread>(kRulesGrid);
            EXPECT_EQ(grid.getMaxCols(), 4);
            EXPECT_EQ(grid.getMaxRows(), 3);
            const int header = Kdr_Spread::kHeaderIndex;
            EXPECT_EQ(cell(user, 1, header) + "|" + cell(user, 2, header) + "|" + cell(user, 3, header) +
                          "|" + cell(user, 4, header),
                      "Name|Expression|Parameter 1|Parameter 2");
            EXPECT_EQ(cell(user, 1, 2) + "|" + cell(user, 2, 2) + "|" + cell(user, 3, 2), "Gap|10|Plate");
            int col = 0, row = 0;
            ASSERT_TRUE(grid.sheet().activeCell(col, row));
            EXPECT_EQ(row, 2);

            // The gap rule: expression, name and choice, a cut, and one radio group of two
            // buttons followed by two free ones.
            EXPECT_EQ(user.text(IDC_RULE_EXPRESSION), "10");
            EXPECT_EQ(user.text(IDC_RULE_NAME), "Gap");
            EXPECT_TRUE(user.isEnabled(IDC_RULE_CHOICE));
            EXPECT_EQ(user.selection(IDC_RULE_CHOICE), 1);
            EXPECT_FALSE(user.isEnabled(IDC_RULE_CHECK1));
            EXPECT_TRUE(user.isVisible(IDC_RULE_CUT));
            EXPECT_TRUE(user.isVisible(IDC_RULE_DELETE));
            for (size_t i = 0; i < kOptions.size(); ++i)
            {
                auto* button = user.itemAs<CButtonST>(kOptions[i]);
                EXPECT_EQ(button->GetTooltipText(), "Enum " + std::to_string(i + 1));
                EXPECT_EQ(button->IsWindowEnabled(), i < 4) << i;
                EXPECT_EQ(button->image().has_value(), i < 4) << i;
            }
            EXPECT_EQ(checkedOptions(user), std::vector<int>{2});
        }));
    EXPECT_EQ(calls("HighlightConstraint"), std::vector<std::string>{"HighlightConstraint 1"});
    EXPECT_EQ(calls("UnHighlightConstraints").size(), 1u);
    EXPECT_TRUE(calls("UpdateConstraint").empty()) << "nothing was changed";
    ui::Rect stored;
    EXPECT_TRUE(ui::dialogSizes().find(Kdr_DlgEditConstraints::kSizeKey, stored));
}

TEST_F(RulesEditorTest, LeavingARuleHandsItsChangesToTheHost)
{
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            // Rule 1 is shown first; its check boxes: the second only while the first is on.
            EXPECT_EQ(user.check(IDC_RULE_CHECK1), BST_CHECKED);
            EXPECT_TRUE(user.isEnabled(IDC_RULE_CHECK2));
            user.setCheck(IDC_RULE_CHECK1, BST_UNCHECKED);
            EXPECT_FALSE(user.isEnabled(IDC_RULE_CHECK2));
            user.type(IDC_RULE_EXPRESSION, "A+B+C");
            user.clickCell(kRulesGrid, 1, 2);
            EXPECT_EQ(cell(user, 2, 1), "A+B+C") << "the row shows the new expression";
            EXPECT_EQ(user.text(IDC_RULE_EXPRESSION), "10");

            user.chooseIndex(IDC_RULE_CHOICE, 0);
            user.clickCell(kRulesGrid, 2, 3); // leaves the gap rule with its new choice
            user.clickCell(kRulesGrid, 1, 3); // the same rule: nothing to leave
        }));
    EXPECT_EQ(calls("UpdateConstraint"),
              (std::vector<std::string>{"UpdateConstraint 0", "UpdateConstraint 1"}));
    EXPECT_EQ(rule(0).expression, "A+B+C");
    EXPECT_FALSE(rule(0).visible);
    EXPECT_EQ(rule(1).choice, 0);
    EXPECT_EQ(data_.currentRule, 2) << "the record comes back on OK";
    EXPECT_TRUE(commandLine_.text().empty()) << commandLine_.text();
}

TEST_F(RulesEditorTest, TwoRadioGroupsKeepOneSelectionEach)
{
    data_.currentRule = 2;
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            // Buttons 1 and 2 are group 1, buttons 3 and 4 group 2: one checked in each.
            EXPECT_EQ(checkedOptions(user), (std::vector<int>{1, 4}));
            user.click(kOptions[2]);
            EXPECT_EQ(checkedOptions(user), (std::vector<int>{1, 3})) << "group 2 is exclusive";
            user.click(kOptions[1]);
            EXPECT_EQ(checkedOptions(user), (std::vector<int>{2, 3}));
            user.click(kOptions[1]);
            EXPECT_EQ(checkedOptions(user), (std::vector<int>{2, 3})) << "a radio button stays on";
            user.clickCell(kRulesGrid, 1, 1);
            user.clickCell(kRulesGrid, 1, 3);
            EXPECT_EQ(checkedOptions(user), (std::vector<int>{2, 3}));
        }));
    EXPECT_EQ(rule(2).options, (std::vector<int>{2, 3}));
    EXPECT_EQ(commandLine_.text().find("Array size mismatch"), std::string::npos) << commandLine_.text();
}

TEST_F(RulesEditorTest, FreeButtonsToggleAndAreNotTakenForTheGroup)
{
    data_.currentRule = 1;
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            user.click(kOptions[3]);
            EXPECT_EQ(checkedOptions(user), (std::vector<int>{2, 4}));
            user.click(kOptions[2]);
            user.click(kOptions[3]);
            EXPECT_EQ(checkedOptions(user), (std::vector<int>{2, 3})) << "free buttons toggle by themselves";
            user.clickCell(kRulesGrid, 1, 1);
            EXPECT_TRUE(calls("UpdateConstraint").empty()) << "the group's selection did not change";
            user.clickCell(kRulesGrid, 1, 2);
            user.click(kOptions[0]);
            user.clickCell(kRulesGrid, 1, 1);
        }));
    EXPECT_EQ(rule(1).options, std::vector<int>{1});
}

TEST_F(RulesEditorTest, ExtraPicturesAndInconsistentDataAreLeftAlone)
{
    Kdr_Module* plate = nullptr;
    ASSERT_TRUE(macro_.macro().findModuleWrite("Plate", plate));
    plate->rules()[2].optionBitmaps = {bitmap("a"), bitmap("b"), bitmap("c"), bitmap("d"),
                                       bitmap("e"), bitmap("f"), bitmap("g")};
    plate->rules()[2].options = {0};
    data_ = EditConstrData(&macro_);
    // The host lost the second rule's choice index: that rule cannot be shown.
    data_.choiceIndexes.removeLast();
    data_.choiceIndexes.removeLast();
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            user.clickCell(kRulesGrid, 1, 2);
            EXPECT_EQ(user.text(IDC_RULE_NAME), "L1") << "the previous rule stays shown";
            user.clickCell(kRulesGrid, 1, 3);
            EXPECT_EQ(user.text(IDC_RULE_NAME), "Alpha");
            for (int id : kOptions)
                EXPECT_TRUE(user.isEnabled(id));
            // Without a radio group the selection is the highest checked button.
            user.click(kOptions[1]);
            user.click(kOptions[4]);
        }));
    EXPECT_EQ(rule(2).options, std::vector<int>{5});
}

TEST_F(RulesEditorTest, TheNameCheckRefusesBadNamesAndKeepsTheStoredOne)
{
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            agent_.expectMessageBox("\"1abc\" starts with a digit.\nA name must start with a letter.\n"
                                    "Only letters and digits may follow.\n\nPlease correct the value.",
                                    "Invalid name", IDOK);
            user.type(IDC_RULE_NAME, "1abc");
            user.focus(IDC_RULE_EXPRESSION);
            EXPECT_EQ(user.text(IDC_RULE_NAME), "L1");

            agent_.expectMessageBox("\"a b\" holds characters other than letters and digits.\n"
                                    "A name may hold only letters and digits.\n\nPlease correct the value.",
                                    "Invalid name", IDOK);
            user.type(IDC_RULE_NAME, "a b");
            user.clickCell(kRulesGrid, 1, 3); // the focus leaves the field before the rule is left
            EXPECT_EQ(user.text(IDC_RULE_NAME), "Alpha");

            agent_.expectMessageBox(
                "\"thickness\"\nis already the name of a variable.\nPlease choose another name.",
                "Name in use", IDOK);
            user.type(IDC_RULE_NAME, "thickness");
            user.clickCell(kRulesGrid, 2, 3); // the same rule: only the focus moves

            agent_.expectMessageBox("\"L1\"\nis already the name of a variable.\nPlease choose another name.",
                                    "Name in use", IDOK);
            user.type(IDC_RULE_NAME, "L1");
            user.clickCell(kRulesGrid, 1, 3);

            user.type(IDC_RULE_NAME, "Beta2");
            user.clickCell(kRulesGrid, 1, 1);
            EXPECT_EQ(cell(user, 1, 3), "Beta2");
        }));
    EXPECT_EQ(rule(0).name, "L1");
    EXPECT_EQ(rule(2).name, "Beta2");
    EXPECT_EQ(rule(2).texts[0], "Beta2");
    EXPECT_EQ(calls("UpdateConstraint"), std::vector<std::string>{"UpdateConstraint 2"});
}

TEST_F(RulesEditorTest, ARefusedNameStillInTheFieldWhenClosingIsNotApplied)
{
    EXPECT_FALSE(runModal(
        [&](ui::Driver& user)
        {
            agent_.expectMessageBox("\"9x\" starts with a digit.\nA name must start with a letter.\n"
                                    "Only letters and digits may follow.\n\nPlease correct the value.",
                                    "Invalid name", IDOK);
            user.type(IDC_RULE_NAME, "9x");
            user.pressKey(VK_ESCAPE); // closes at once: the focus never leaves the field
        }));
    EXPECT_EQ(rule(0).name, "L1");
}

TEST_F(RulesEditorTest, HeaderClicksSortOnceAfterLeavingTheRule)
{
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            user.type(IDC_RULE_EXPRESSION, "Z");
            user.clickHeader(kRulesGrid, 1);
            EXPECT_EQ(cell(user, 1, 1) + " " + cell(user, 1, 2) + " " + cell(user, 1, 3), "Alpha Gap L1");
            EXPECT_EQ(user.text(IDC_RULE_NAME), "L1") << "the shown rule stays shown";
            int col = 0, row = 0;
            user.itemAs<Kdr_Spread>(kRulesGrid)->sheet().activeCell(col, row);
            EXPECT_EQ(row, 3);
            user.clickHeader(kRulesGrid, 1);
            user.clickHeader(kRulesGrid, 2);
            EXPECT_EQ(cell(user, 2, 1) + " " + cell(user, 2, 2) + " " + cell(user, 2, 3), " 10 Z");
            user.clickHeader(kRulesGrid, 1);
        }));
    EXPECT_EQ(host::rulesHost().callsOf("UpdateConstraint").size(), 1u);
    const std::vector<std::string> expected = {"UpdateConstraint 0", "SortConstraints 1", "SortConstraints 2",
                                               "SortConstraints 1"};
    std::vector<std::string> seen;
    for (const std::string& call : host::rulesHost().calls)
        if (call.starts_with("UpdateConstraint") || call.starts_with("SortConstraints"))
            seen.push_back(call);
    EXPECT_EQ(seen, expected);
}

TEST_F(RulesEditorTest, TheContextMenuComesFromTheHost)
{
    host::rulesHost().menuTexts = {"Zoom to", "%BREAK%", "%break%", "Delete"};
    host::rulesHost().menuCommands = {7, 0, 8, 9};
    host::rulesHost().menuChecked = {0, 2};
    bool hiddenMeanwhile = false;
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            host::rulesHost().whileCommandRuns = [&] { hiddenMeanwhile = !user.window()->IsWindowVisible(); };
            agent_.expectMenu(4);
            user.rightClickCell(kRulesGrid, 2, 3);
            EXPECT_EQ(user.text(IDC_RULE_NAME), "Alpha");
            int col = 0, row = 0;
            user.itemAs<Kdr_Spread>(kRulesGrid)->sheet().activeCell(col, row);
            EXPECT_EQ(col * 10 + row, 23);
            EXPECT_TRUE(user.window()->IsWindowVisible());

            user.rightClickCell(kRulesGrid, 4, 1); // the fourth column has no menu
        }));
    ASSERT_EQ(agent_.menus.size(), 1u);
    const auto& items = agent_.menus[0].items;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "Zoom to");
    EXPECT_TRUE(items[0].isChecked());
    EXPECT_TRUE(items[1].isSeparator());
    EXPECT_FALSE(items[2].isSeparator()) << "the marker is compared with its letter case";
    EXPECT_EQ(items[2].text, "%break%");
    EXPECT_TRUE(items[2].isChecked());
    EXPECT_FALSE(items[3].isChecked());
    EXPECT_TRUE(hiddenMeanwhile);
    EXPECT_EQ(calls("ContextMenuAction"), std::vector<std::string>{"ContextMenuAction 2 9"});
    EXPECT_EQ(calls("ConstrContextMenu"), std::vector<std::string>{"ConstrContextMenu 2"});
}

TEST_F(RulesEditorTest, TheBuiltInMenuAndTheDeleteButtonChangeTheRules)
{
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            agent_.expectMenu(1); // "Visible" of the length rule, which is visible
            user.rightClickCell(kRulesGrid, 1, 1);
            EXPECT_EQ(user.check(IDC_RULE_CHECK1), BST_UNCHECKED) << "the page shows the host's change";

            user.clickCell(kRulesGrid, 1, 2);
            user.click(IDC_RULE_DELETE);
            EXPECT_EQ(user.itemAs<Kdr_Spread>(kRulesGrid)->getMaxRows(), 2);
            EXPECT_EQ(user.text(IDC_RULE_NAME), "L1") << "the rule before the deleted one";
            user.click(IDC_RULE_DELETE);
            EXPECT_EQ(user.text(IDC_RULE_NAME), "Alpha") << "the first when none is before";
            user.click(IDC_RULE_DELETE);
            EXPECT_FALSE(user.isVisible(IDC_RULE_DELETE));
            EXPECT_FALSE(user.isEnabled(IDC_RULE_NAME));
        }));
    ASSERT_EQ(agent_.menus.size(), 1u);
    EXPECT_TRUE(agent_.menus[0].items[0].isChecked());
    EXPECT_EQ(agent_.menus[0].at.x, ui::cursorPosition().x);
    const Kdr_Module* plate = nullptr;
    ASSERT_TRUE(macro_.macro().findModule("Plate", plate));
    EXPECT_TRUE(plate->rules().empty());
}

TEST_F(RulesEditorTest, ModulesArePickedAddedRenamedAndRemoved)
{
    Kdr_DbMacro other("EP-2");
    other.macro().addModule(std::make_unique<Kdr_Module>("Web", ""));
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            user.type(IDC_RULE_EXPRESSION, "B");
            user.choose(IDC_EDITOR_MODULES, "Bolts");
            EXPECT_EQ(user.text(IDC_RULE_EXPRESSION), "70");
            EXPECT_EQ(user.itemAs<Kdr_Spread>(kRulesGrid)->getMaxRows(), 1);

            bool hidden = false;
            host::rulesHost().whileCommandRuns = [&] { hidden = !user.window()->IsWindowVisible(); };
            user.click(IDC_EDITOR_ADD_MODULE);
            EXPECT_TRUE(hidden);
            EXPECT_EQ(user.text(IDC_EDITOR_MODULES), "Module3");
            EXPECT_EQ(user.itemAs<Kdr_Spread>(kRulesGrid)->getMaxRows(), 0);

            agent_.expectPrompt(Kdr_String("Stiffener"));
            user.click(IDC_EDITOR_RENAME_MODULE);
            EXPECT_EQ(user.text(IDC_EDITOR_MODULES), "Stiffener");
            user.click(IDC_EDITOR_REMOVE_MODULE);
            EXPECT_EQ(user.text(IDC_EDITOR_MODULES), "Plate");

            agent_.expectPrompt(Kdr_String("EP-1a"));
            user.click(IDC_EDITOR_SETTINGS);

            user.click(IDC_EDITOR_SELECT_MACRO); // the pick is cancelled
            EXPECT_EQ(user.text(IDC_EDITOR_MODULES), "Plate");
            host::rulesHost().macroToPick = &other;
            user.click(IDC_EDITOR_SELECT_MACRO);
            EXPECT_EQ(user.text(IDC_EDITOR_MODULES), "Web");
        }));
    EXPECT_EQ(rule(0).expression, "B");
    EXPECT_EQ(macro_.name(), "EP-1a");
    Kdr_StringArray names;
    macro_.macro().getModuleNames(names);
    EXPECT_EQ(names, (Kdr_StringArray{"Plate", "Bolts"}));
    EXPECT_EQ(data_.macro, &other);
    EXPECT_EQ(calls("BeginEditorCommand").size(), 3u);
    EXPECT_EQ(calls("CompleteEditorCommand").size(), 3u);
}

TEST_F(RulesEditorTest, ASecondZoomWhileOneRunsIsIgnored)
{
    EXPECT_TRUE(runModal(
        [&](ui::Driver& user)
        {
            // The host hands the button's command back while the zoom is under way.
            host::rulesHost().whileCommandRuns = [&]
            { user.window()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_EDITOR_ZOOM, BN_CLICKED), 0); };
            user.click(IDC_EDITOR_ZOOM);
            host::rulesHost().whileCommandRuns = nullptr;
            user.click(IDC_EDITOR_ZOOM);
            EXPECT_TRUE(user.window()->IsWindowVisible());
        }));
    EXPECT_EQ(calls("ZoomCommand").size(), 2u);
}

TEST_F(RulesEditorTest, EscapeRightAfterAPickIsKeptForTwoSeconds)
{
    EXPECT_TRUE(StartDlgEditConstraints(data_));
    Kdr_DlgEditConstraints* editor = GetDlgEditConstraints();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->IsWindowVisible());
    EXPECT_EQ(ui::Window::GetFocus(), adsw_acadMainWnd()) << "the drawing keeps the focus";
    EXPECT_EQ(editor->GetParent(), adsw_acadMainWnd());

    // A second start keeps the open editor and its record.
    EditConstrData other(&macro_, "Bolts");
    EXPECT_TRUE(StartDlgEditConstraints(other));
    EXPECT_EQ(GetDlgEditConstraints(), editor);
    EXPECT_EQ(editor->data().currentModule, "Plate");

    ui::Driver user(*editor, failOnDriver);
    user.clickCell(kRulesGrid, 1, 2);
    EXPECT_TRUE(editor->guardRunning());
    user.pressKey(VK_ESCAPE);
    ui::MessageLoop::instance().advance(1999);
    user.pressKey(VK_ESCAPE);
    EXPECT_EQ(GetDlgEditConstraints(), editor) << "an Escape within two seconds is kept";

    // The cut editor starts the guard too.
    user.click(IDC_RULE_CUT);
    EXPECT_EQ(calls("StartEditMacroCutDlg"), std::vector<std::string>{"StartEditMacroCutDlg Cut1"});
    ui::MessageLoop::instance().advance(1999);
    user.pressKey(VK_ESCAPE);
    ASSERT_EQ(GetDlgEditConstraints(), editor);
    ui::MessageLoop::instance().advance(1);
    EXPECT_FALSE(editor->guardRunning());

    ui::hostRequests().clear();
    user.pressKey(VK_ESCAPE);
    EXPECT_EQ(GetDlgEditConstraints(), nullptr);
    EXPECT_EQ(ui::hostRequests().commandPrompts, 1);
    EXPECT_EQ(calls("UnHighlightConstraints").size(), 1u);
}

TEST_F(RulesEditorTest, ModelessEditorClosesWithItsButtonsAndTheEntryPoint)
{
    // The close box is no Escape: the guard does not keep it.
    ASSERT_TRUE(StartDlgEditConstraints(data_));
    {
        ui::Driver user(*GetDlgEditConstraints(), failOnDriver);
        user.clickCell(kRulesGrid, 1, 2);
        user.type(IDC_RULE_EXPRESSION, "12");
        user.close();
    }
    EXPECT_EQ(GetDlgEditConstraints(), nullptr);
    EXPECT_EQ(rule(1).expression, "12") << "closing leaves the rule";

    ASSERT_TRUE(StartDlgEditConstraints(data_));
    {
        ui::Driver user(*GetDlgEditConstraints(), failOnDriver);
        user.click(IDOK);
    }
    EXPECT_EQ(GetDlgEditConstraints(), nullptr);

    ASSERT_TRUE(StartDlgEditConstraints(data_));
    ui::hostRequests().clear();
    EndDlgEditConstraints();
    EXPECT_EQ(GetDlgEditConstraints(), nullptr);
    EXPECT_EQ(ui::hostRequests().commandPrompts, 1);
    EXPECT_TRUE(commandLine_.text().empty()) << commandLine_.text();
}

TEST_F(RulesEditorTest, AnEditorWhoseWindowIsGoneIsReportedWhenEnded)
{
    ASSERT_TRUE(StartDlgEditConstraints(data_));
    // The host's main window goes, and the windows it owns with it.
    adsw_acadMainWnd()->DestroyWindow();
    EXPECT_FALSE(GetDlgEditConstraints()->IsWindow());
    EndDlgEditConstraints();
    EXPECT_EQ(commandLine_.text(), "Erase window failed\n");
    EXPECT_EQ(GetDlgEditConstraints(), nullptr);
    adsw_acadMainWnd();
}
