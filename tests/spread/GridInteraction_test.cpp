// A dialog with a grid, driven by clicks and keys only, as a person uses it; the tests check
// what the dialog heard from its grid and what the cells hold.

#include "../ui/UiTestSupport.h"
#include "spread/Kdr_Spread.h"
#include "ui/Dialog.h"
#include "ui/Input.h"
#include "ui/ResourceModule.h"
#include "ui/ZxTempResourceOverride.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kGridDialog = 300;
constexpr int kGrid = 1196;
constexpr int kNextField = 1001;
constexpr int kRemoveRow = 1002;
constexpr int kHeader = Kdr_Spread::kHeaderIndex;

// Columns of the sample grid.
constexpr int kName = 1;   // text, at most 10 characters; row 3 locked
constexpr int kLength = 2; // number with 2 decimals
constexpr int kGrade = 3;  // combo
constexpr int kActive = 4; // check box
constexpr int kPick = 5;   // button

ui::ResourceModule& moduleResources()
{
    static ui::ResourceModule module("grid sample module");
    return module;
}

/// One notification as the dialog heard it.
struct Heard
{
    int code = 0;
    int col = 0;
    int row = 0;
    int newCol = 0;
    int newRow = 0;
    bool changed = false;
    int index = -1;
    bool operator==(const Heard&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Heard& h)
{
    return out << "{0x" << std::hex << h.code << std::dec << " " << h.col << "," << h.row << " -> "
               << h.newCol << "," << h.newRow << (h.changed ? " changed" : "") << " index " << h.index << "}";
}

Heard leaveCell(int col, int row, int newCol, int newRow)
{
    return {ui::GRIDN_LEAVECELL, col, row, newCol, newRow};
}
Heard leaveRow(int col, int row, int newCol, int newRow)
{
    return {ui::GRIDN_LEAVEROW, col, row, newCol, newRow};
}
Heard at(int code, int col, int row)
{
    return {code, col, row};
}
Heard editEnd(int col, int row, bool changed)
{
    return {ui::GRIDN_EDITEND, col, row, 0, 0, changed};
}

class GridDialog : public ui::Dialog
{
public:
    GridDialog() : Dialog(kGridDialog) {}

    Kdr_Spread grid;
    std::vector<Heard> heard;
    /// What the dialog answers to a right-click (nonzero keeps the grid's menu away).
    std::intptr_t rightClickAnswer = 0;
    std::vector<int> commands;
    Kdr_StringArray namesOnOk;

    /// The notifications heard since the last call.
    std::vector<Heard> take() { return std::exchange(heard, {}); }

protected:
    bool OnInitDialog() override
    {
        grid.createInDialog(this, kGrid, true);
        grid.applyDefaultStyle(1);
        grid.setMaxCols(5, false);
        grid.setMaxRows(3, false);
        grid.setColumnCaptions({"Name", "Length", "Grade", "Active", "Pick"});
        grid.setTextType(kName, 1, kName, 3, 0, 10);
        grid.setNumberType(kLength, 1, kLength, 3, 2, false);
        grid.setComboType(kGrade, 1, kGrade, 3, {"S235", "S275", "S355"});
        grid.setCheckBoxType(kActive, 1, kActive, 3);
        grid.setButtonType(kPick, 1, kPick, 3, "...");
        grid.setCellText(kName, 3, "Fixed");
        grid.setLock(kName, 3, kName, 3, true);
        grid.setCellValue(kLength, 1, "100");
        grid.contextMenu().AppendMenu(MF_STRING, kRemoveRow, "Remove row");
        grid.addCheckCommands("Check", "Uncheck");
        return true;
    }

    bool OnNotify(ui::NotifyHeader& header, std::intptr_t& result) override
    {
        if (header.idFrom == kGrid)
        {
            const auto& n = static_cast<const ui::GridNotify&>(header);
            heard.push_back({n.code, n.col, n.row, n.newCol, n.newRow, n.changed, n.index});
            if (n.code == ui::GRIDN_RIGHTCLICK)
                result = rightClickAnswer;
            return true;
        }
        return Dialog::OnNotify(header, result);
    }

    bool OnCommand(int id, int code, ui::Window* control) override
    {
        if (id == kRemoveRow)
        {
            commands.push_back(id);
            return true;
        }
        return Dialog::OnCommand(id, code, control);
    }

    void OnOK() override
    {
        grid.getColumnTexts(kName, namesOnOk, ctkData);
        Dialog::OnOK();
    }
};

class GridInteractionTest : public uitest::UiTest
{
protected:
    GridInteractionTest()
    {
        ui::DialogTemplate t(kGridDialog, "Grid", 0, 0, 320, 160);
        t.ltext(kGrid, "", 5, 5, 300, 120)
            .editText(kNextField, 5, 130, 60, 12)
            .defPushButton(IDOK, "OK", 200, 140, 50, 14)
            .pushButton(IDCANCEL, "Cancel", 260, 140, 50, 14);
        moduleResources().addDialog(t);
    }

    /// Runs the dialog with `script`; returns how it ended.
    std::intptr_t run(std::function<void(ui::Driver&, GridDialog&)> script)
    {
        ZxTempResourceOverride resources(&moduleResources());
        GridDialog dialog;
        agent_.expectDialog(kGridDialog, [&](ui::Driver& user)
                            { script(user, static_cast<GridDialog&>(*user.dialog())); });
        return dialog.DoModal();
    }

    static Kdr_String text(GridDialog& d, int col, int row, int kind = ctkData)
    {
        Kdr_String out;
        d.grid.getCellText(col, row, out, kind);
        return out;
    }
};
} // namespace

TEST_F(GridInteractionTest, ThreeCellsEditedWithTabAndEnterReachTheParentAndTheSheet)
{
    Kdr_StringArray names;
    const auto ended = run(
        [&](ui::Driver& user, GridDialog& d)
        {
            ASSERT_TRUE(user.clickCell(kGrid, kName, 1));
            EXPECT_EQ(d.take(), (std::vector<Heard>{leaveCell(0, 0, kName, 1), leaveRow(0, 0, kName, 1),
                                                    at(ui::GRIDN_CLICK, kName, 1)}));

            // Typing opens the editor; Tab writes the entry and moves on to the next cell.
            user.typeInGrid(kGrid, "End plate");
            user.pressKeyInGrid(kGrid, VK_TAB);
            user.typeInGrid(kGrid, "12.5");
            user.pressKeyInGrid(kGrid, VK_RETURN);
            EXPECT_EQ(d.take(),
                      (std::vector<Heard>{at(ui::GRIDN_EDITSTART, kName, 1), editEnd(kName, 1, true),
                                          at(ui::GRIDN_CHANGE, kName, 1), leaveCell(kName, 1, kLength, 1),
                                          at(ui::GRIDN_EDITSTART, kLength, 1), editEnd(kLength, 1, true),
                                          at(ui::GRIDN_CHANGE, kLength, 1)}));

            // Enter while not editing belongs to the dialog; editCell clicks, types and presses Enter.
            ASSERT_TRUE(user.editCell(kGrid, kName, 2, "Fin plate"));
            EXPECT_EQ(d.take(),
                      (std::vector<Heard>{leaveCell(kLength, 1, kName, 2), leaveRow(kLength, 1, kName, 2),
                                          at(ui::GRIDN_CLICK, kName, 2), at(ui::GRIDN_EDITSTART, kName, 2),
                                          editEnd(kName, 2, true), at(ui::GRIDN_CHANGE, kName, 2)}));
            EXPECT_EQ(text(d, kLength, 1), "12.50");
            EXPECT_EQ(text(d, kLength, 1, ctkValue), "12.5");
            EXPECT_FALSE(d.hasEnded());
            user.pressKey(VK_RETURN);
        });
    EXPECT_EQ(ended, IDOK);
}

TEST_F(GridInteractionTest, EnterWithoutEditingEndsTheDialogWithTheTypedCells)
{
    GridDialog* seen = nullptr;
    Kdr_StringArray names;
    run(
        [&](ui::Driver& user, GridDialog& d)
        {
            seen = &d;
            user.editCell(kGrid, kName, 1, "A");
            user.editCell(kGrid, kName, 2, "B");
            user.pressKeyInGrid(kGrid, VK_RETURN);
            names = d.namesOnOk;
        });
    EXPECT_EQ(names, (Kdr_StringArray{"A", "B", "Fixed"}));

    // An entry still being typed is written when the user clicks elsewhere: another cell, or a
    // button of the dialog.
    run(
        [&](ui::Driver& user, GridDialog& d)
        {
            user.clickCell(kGrid, kName, 1);
            user.typeInGrid(kGrid, "C");
            user.clickCell(kGrid, kName, 2);
            EXPECT_EQ(text(d, kName, 1), "C");
            user.typeInGrid(kGrid, "D");
            d.take();
            user.click(IDOK);
            EXPECT_EQ(d.take(),
                      (std::vector<Heard>{editEnd(kName, 2, true), at(ui::GRIDN_CHANGE, kName, 2)}));
            names = d.namesOnOk;
        });
    EXPECT_EQ(names, (Kdr_StringArray{"C", "D", "Fixed"}));
}

TEST_F(GridInteractionTest, ComboCheckAndButtonCellsReportWhatWasChosen)
{
    run(
        [&](ui::Driver& user, GridDialog& d)
        {
            ASSERT_TRUE(user.chooseInComboCell(kGrid, kGrade, 2, "s355"));
            EXPECT_EQ(d.grid.getComboIndex(kGrade, 2), 2);
            EXPECT_EQ(text(d, kGrade, 2), "S355");
            auto heard = d.take();
            ASSERT_EQ(heard.size(), 7u);
            EXPECT_EQ(heard[2], at(ui::GRIDN_CLICK, kGrade, 2));
            EXPECT_EQ(heard[3], at(ui::GRIDN_EDITSTART, kGrade, 2));
            EXPECT_EQ(heard[4], (Heard{ui::GRIDN_COMBOSELCHANGE, kGrade, 2, 0, 0, true, 2}));
            EXPECT_EQ(heard[5], (Heard{ui::GRIDN_EDITEND, kGrade, 2, 0, 0, true, 2}));
            EXPECT_EQ(heard[6], (Heard{ui::GRIDN_CHANGE, kGrade, 2, 0, 0, true, 2}));

            // Choosing the item already shown changes nothing, but the list still closes.
            user.chooseInComboCell(kGrid, kGrade, 2, "S355");
            heard = d.take();
            ASSERT_FALSE(heard.empty());
            EXPECT_EQ(heard.back(), (Heard{ui::GRIDN_EDITEND, kGrade, 2, 0, 0, false, 2}));

            // A key in a closed combo cell picks the next item beginning with it.
            user.typeInGrid(kGrid, "s");
            EXPECT_EQ(d.grid.getComboIndex(kGrade, 2), 0);
            d.take();

            // A click toggles a check cell, and so does Space.
            user.clickCell(kGrid, kActive, 1);
            EXPECT_EQ(text(d, kActive, 1, ctkValue), "1");
            heard = d.take();
            ASSERT_GE(heard.size(), 2u);
            EXPECT_EQ(heard[heard.size() - 2], (Heard{ui::GRIDN_CHECKCLICKED, kActive, 1, 0, 0, true, 1}));
            EXPECT_EQ(heard.back(), at(ui::GRIDN_CHANGE, kActive, 1));
            user.pressKeyInGrid(kGrid, VK_SPACE);
            EXPECT_EQ(text(d, kActive, 1, ctkValue), "0");
            EXPECT_EQ(d.take(), (std::vector<Heard>{{ui::GRIDN_CHECKCLICKED, kActive, 1, 0, 0, true, 0},
                                                    at(ui::GRIDN_CHANGE, kActive, 1)}));

            // A button cell only reports the press.
            user.clickCell(kGrid, kPick, 3);
            heard = d.take();
            ASSERT_FALSE(heard.empty());
            EXPECT_EQ(heard.back(), at(ui::GRIDN_BUTTONCLICKED, kPick, 3));
            user.click(IDCANCEL);
        });
}

TEST_F(GridInteractionTest, RightClickOnAHeaderReachesTheParentAndOpensTheGridsMenu)
{
    run(
        [&](ui::Driver& user, GridDialog& d)
        {
            // Answered by the parent: no menu (an unexpected menu would fail the test).
            d.rightClickAnswer = 1;
            ASSERT_TRUE(user.rightClickCell(kGrid, kActive, kHeader));
            EXPECT_EQ(d.take(), (std::vector<Heard>{at(ui::GRIDN_RIGHTCLICK, kActive, kHeader)}));

            // Unanswered: the grid's menu runs its own check command on the selected column...
            d.rightClickAnswer = 0;
            user.clickHeader(kGrid, kActive);
            EXPECT_EQ(d.take(), (std::vector<Heard>{at(ui::GRIDN_HEADERCLICK, kActive, kHeader)}));
            agent_.expectMenu(Kdr_Spread::kCommandCheckSelection);
            user.rightClickCell(kGrid, kActive, kHeader);
            for (int row = 1; row <= 3; ++row)
                EXPECT_EQ(text(d, kActive, row, ctkValue), "1") << "row " << row;
            int col = 0, row = 0;
            d.grid.lastRightClick(col, row);
            EXPECT_EQ(col, kActive);
            EXPECT_EQ(row, kHeader);

            EXPECT_EQ(d.take(), (std::vector<Heard>{at(ui::GRIDN_RIGHTCLICK, kActive, kHeader),
                                                    at(ui::GRIDN_CHANGE, kActive, 1)}));

            // ...and hands the parent's own commands to the parent.
            agent_.expectMenu(kRemoveRow);
            user.rightClickCell(kGrid, kName, 2);
            EXPECT_EQ(d.commands, (std::vector<int>{kRemoveRow}));
            EXPECT_EQ(d.take().front(), at(ui::GRIDN_RIGHTCLICK, kName, 2));

            user.clickRowHeader(kGrid, 3);
            EXPECT_EQ(d.take(), (std::vector<Heard>{at(ui::GRIDN_HEADERCLICK, kHeader, 3)}));
            EXPECT_EQ(d.grid.sheet().selection(), (grid::Selection{1, 3, 5, 3}));
            user.click(IDCANCEL);
        });
}

TEST_F(GridInteractionTest, EscapeF2AndDeleteWorkOnTheActiveCellAndLeaveLockedCellsAlone)
{
    const auto ended = run(
        [&](ui::Driver& user, GridDialog& d)
        {
            user.editCell(kGrid, kName, 1, "Plate");
            d.take();

            // Escape drops what was typed; the cell keeps its entry.
            user.typeInGrid(kGrid, "Rib");
            EXPECT_TRUE(d.grid.isEditing());
            EXPECT_EQ(d.grid.editText(), "Rib");
            user.pressKeyInGrid(kGrid, VK_ESCAPE);
            EXPECT_FALSE(d.grid.isEditing());
            EXPECT_EQ(text(d, kName, 1), "Plate");
            EXPECT_EQ(d.take(),
                      (std::vector<Heard>{at(ui::GRIDN_EDITSTART, kName, 1), editEnd(kName, 1, false)}));

            // F2 edits the entry with the caret at its end; Backspace and the caret keys work in it.
            user.pressKeyInGrid(kGrid, VK_F2);
            user.pressKeyInGrid(kGrid, VK_BACK);
            user.pressKeyInGrid(kGrid, VK_HOME);
            user.typeInGrid(kGrid, "End ");
            user.pressKeyInGrid(kGrid, VK_RETURN);
            EXPECT_EQ(text(d, kName, 1), "End Plat");

            // The text cell takes at most 10 characters.
            user.editCell(kGrid, kName, 2, "Stiffener plate");
            EXPECT_EQ(text(d, kName, 2), "Stiffener ");

            // The locked cell can be made active but not typed into, cleared or edited by F2.
            user.clickCell(kGrid, kName, 3);
            d.take();
            user.typeInGrid(kGrid, "x");
            user.pressKeyInGrid(kGrid, VK_F2);
            user.pressKeyInGrid(kGrid, VK_DELETE);
            EXPECT_FALSE(d.grid.isEditing());
            EXPECT_EQ(text(d, kName, 3), "Fixed");
            EXPECT_TRUE(d.take().empty());
            std::vector<std::string> failures;
            ui::Driver probe(*user.window(), [&](const std::string& m) { failures.push_back(m); });
            EXPECT_FALSE(probe.editCell(kGrid, kName, 3, "y"));
            EXPECT_FALSE(probe.chooseInComboCell(kGrid, kName, 1, "S235"));
            EXPECT_FALSE(probe.chooseInComboCell(kGrid, kGrade, 1, "S999"));
            EXPECT_FALSE(probe.clickCell(kGrid, 6, 1));
            EXPECT_FALSE(probe.clickCell(kNextField, 1, 1));
            ASSERT_EQ(failures.size(), 5u);
            EXPECT_EQ(failures[0], "dialog 300: edit cell in 1196: cell (1, 3) cannot be typed into");
            EXPECT_EQ(failures[1], "dialog 300: choose in cell of 1196: cell (1, 1) is no combo cell");
            EXPECT_EQ(failures[2], "dialog 300: choose in cell of 1196: cell (3, 1) has no item \"S999\"");
            EXPECT_EQ(failures[3], "dialog 300: click cell in 1196: no cell (6, 1)");
            EXPECT_EQ(failures[4], "dialog 300: click cell in 1001: not a grid");

            // Delete clears the selected unlocked cells: here the whole first column.
            user.clickHeader(kGrid, kName);
            user.pressKeyInGrid(kGrid, VK_DELETE);
            EXPECT_EQ(text(d, kName, 1), "");
            EXPECT_EQ(text(d, kName, 2), "");
            EXPECT_EQ(text(d, kName, 3), "Fixed");

            // Escape outside the editor is the dialog's Cancel.
            user.pressKeyInGrid(kGrid, VK_ESCAPE);
        });
    EXPECT_EQ(ended, IDCANCEL);
}

TEST_F(GridInteractionTest, NumberCellsTakeOnlyNumbersWithinTheirRange)
{
    run(
        [&](ui::Driver& user, GridDialog& d)
        {
            // Letters never reach a number cell's editor.
            user.clickCell(kGrid, kLength, 2);
            user.typeInGrid(kGrid, "1a2,5x");
            EXPECT_EQ(d.grid.editText(), "12,5");
            user.pressKeyInGrid(kGrid, VK_RETURN);
            EXPECT_EQ(text(d, kLength, 2, ctkValue), "125");

            // A text that is still no number is refused: the cell keeps its value.
            std::vector<std::string> failures;
            ui::Driver probe(*user.window(), [&](const std::string& m) { failures.push_back(m); });
            d.take();
            EXPECT_FALSE(probe.editCell(kGrid, kLength, 1, "1-2"));
            EXPECT_EQ(failures, (std::vector<std::string>{
                                    "dialog 300: edit cell in 1196: cell (2, 1) refused \"1-2\""}));
            EXPECT_TRUE(d.grid.lastEditRefused());
            EXPECT_EQ(text(d, kLength, 1, ctkValue), "100");
            EXPECT_EQ(d.take().back(), editEnd(kLength, 1, false));
            EXPECT_FALSE(probe.editCell(kGrid, kLength, 1, "1e20"));
            EXPECT_EQ(text(d, kLength, 1, ctkValue), "100");

            // A formula is taken and calculated at once; emptying the cell is allowed.
            EXPECT_TRUE(user.editCell(kGrid, kLength, 3, "=B1/4"));
            EXPECT_EQ(text(d, kLength, 3, ctkValue), "25");
            EXPECT_TRUE(user.editCell(kGrid, kLength, 1, "50"));
            EXPECT_EQ(text(d, kLength, 3, ctkValue), "12.5");
            user.pressKeyInGrid(kGrid, VK_F2);
            for (int i = 0; i < 2; ++i)
                user.pressKeyInGrid(kGrid, VK_BACK);
            user.pressKeyInGrid(kGrid, VK_RETURN);
            EXPECT_EQ(text(d, kLength, 1, ctkValue), "");
            user.click(IDCANCEL);
        });
}

TEST_F(GridInteractionTest, ArrowsAndTabMoveInsideTheGridAndTabLeavesItAtTheEnds)
{
    run(
        [&](ui::Driver& user, GridDialog& d)
        {
            auto active = [&]()
            {
                int col = 0, row = 0;
                d.grid.sheet().activeCell(col, row);
                return std::pair{col, row};
            };
            user.clickCell(kGrid, kName, 1);
            d.take();
            user.pressKeyInGrid(kGrid, VK_LEFT); // at the edge: nothing
            user.pressKeyInGrid(kGrid, VK_UP);
            EXPECT_TRUE(d.take().empty());
            user.pressKeyInGrid(kGrid, VK_RIGHT);
            EXPECT_EQ(d.take(), (std::vector<Heard>{leaveCell(kName, 1, kLength, 1)}));
            user.pressKeyInGrid(kGrid, VK_DOWN);
            EXPECT_EQ(d.take(), (std::vector<Heard>{leaveCell(kLength, 1, kLength, 2),
                                                    leaveRow(kLength, 1, kLength, 2)}));
            user.pressKeyInGrid(kGrid, VK_END, false, true);
            EXPECT_EQ(active(), (std::pair{kPick, 3}));

            // Typing then an arrow writes the entry and moves; after F2 the arrows move the caret.
            user.clickCell(kGrid, kName, 2);
            user.typeInGrid(kGrid, "ab");
            user.pressKeyInGrid(kGrid, VK_RIGHT);
            EXPECT_EQ(text(d, kName, 2), "ab");
            EXPECT_EQ(active(), (std::pair{kLength, 2}));
            user.pressKeyInGrid(kGrid, VK_LEFT);
            user.pressKeyInGrid(kGrid, VK_F2);
            user.pressKeyInGrid(kGrid, VK_LEFT);
            user.typeInGrid(kGrid, "X");
            user.pressKeyInGrid(kGrid, VK_DOWN);
            EXPECT_EQ(text(d, kName, 2), "aXb");
            EXPECT_EQ(active(), (std::pair{kName, 3}));

            // Tab goes on to the next cell, row after row; at the last cell it leaves the grid.
            user.clickCell(kGrid, kActive, 3);
            user.pressKeyInGrid(kGrid, VK_TAB);
            EXPECT_EQ(active(), (std::pair{kPick, 3}));
            EXPECT_EQ(ui::Window::GetFocus(), &d.grid);
            user.pressKeyInGrid(kGrid, VK_TAB);
            EXPECT_EQ(ui::Window::GetFocus()->GetDlgCtrlID(), kNextField);

            // Shift+Tab goes back across rows and leaves the grid at its first cell.
            user.clickCell(kGrid, kName, 2);
            user.pressKeyInGrid(kGrid, VK_TAB, true);
            EXPECT_EQ(active(), (std::pair{kPick, 1}));
            user.clickCell(kGrid, kName, 1);
            user.pressKeyInGrid(kGrid, VK_TAB, true);
            EXPECT_NE(ui::Window::GetFocus(), &d.grid);
            user.click(IDCANCEL);
        });
}

TEST_F(GridInteractionTest, CellsBelowTheViewAreScrolledIntoViewBeforeTheClick)
{
    run(
        [&](ui::Driver& user, GridDialog& d)
        {
            d.grid.setMaxRows(200, true);
            ASSERT_TRUE(user.editCell(kGrid, kName, 150, "Deep"));
            EXPECT_GT(d.grid.topRow(), 100);
            EXPECT_EQ(text(d, kName, 150), "Deep");
            ASSERT_TRUE(user.clickCell(kGrid, kName, 2));
            EXPECT_EQ(d.grid.topRow(), 2);
            int col = 0, row = 0;
            ASSERT_TRUE(d.grid.hitTest({50, 25}, col, row));
            EXPECT_EQ(row, 2);

            // Shrinking the sheet brings the active cell back inside.
            user.clickCell(kGrid, kPick, 150);
            d.grid.setMaxRows(40, false);
            d.grid.setMaxCols(3, false);
            ASSERT_TRUE(d.grid.sheet().activeCell(col, row));
            EXPECT_EQ(col, 3);
            EXPECT_EQ(row, 40);
            user.click(IDCANCEL);
        });
}

TEST_F(GridInteractionTest, F3AndF5GoToTheFindHandlerOrElseToTheParent)
{
    run(
        [&](ui::Driver& user, GridDialog& d)
        {
            user.clickCell(kGrid, kName, 1);
            d.take();
            user.pressKeyInGrid(kGrid, VK_F3);
            user.pressKeyInGrid(kGrid, VK_F5);
            EXPECT_EQ(d.take(), (std::vector<Heard>{{ui::GRIDN_FINDREPLACE, 0, 0, 0, 0, false, 0},
                                                    {ui::GRIDN_FINDREPLACE, 0, 0, 0, 0, false, 1}}));
            std::vector<bool> requests;
            Kdr_Spread::setFindReplaceProvider([&](Kdr_Spread&, bool replace)
                                               { return requests.push_back(replace), true; });
            user.pressKeyInGrid(kGrid, VK_F5);
            d.grid.setFindReplaceHandler([&](Kdr_Spread& grid, bool replace)
                                         { return requests.push_back(!replace && &grid == &d.grid), true; });
            user.pressKeyInGrid(kGrid, VK_F3);
            Kdr_Spread::setFindReplaceProvider({});
            EXPECT_EQ(requests, (std::vector<bool>{true, true}));
            EXPECT_TRUE(d.take().empty());
            user.click(IDCANCEL);
        });
}

TEST(GridWithoutParent, KeysAndClicksWorkWithoutNotifyingAnyone)
{
    // A grid that only calculates has no parent: input still edits it, and nothing breaks.
    Kdr_Spread grid;
    ASSERT_TRUE(grid.createHidden());
    grid.setMaxCols(2, false);
    grid.setMaxRows(2, false);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 25));
    grid.SendMessage(WM_CHAR, '7');
    grid.SendMessage(WM_KEYDOWN, VK_DOWN);
    Kdr_String value;
    grid.getCellText(1, 1, value, ctkValue);
    EXPECT_EQ(value, "7");
    int col = 0, row = 0;
    ASSERT_TRUE(grid.sheet().activeCell(col, row));
    EXPECT_EQ(row, 2);

    // A double click on the active cell opens its editor with the entry.
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 25));
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 25));
    EXPECT_TRUE(grid.isEditing());
    EXPECT_EQ(grid.editText(), "7");
    grid.SendMessage(WM_KEYDOWN, VK_ESCAPE); // no dialog here: the grid's own handler sees it
    grid.DestroyWindow();
    EXPECT_FALSE(grid.isEditing());
}

namespace
{
/// A parent that destroys itself, grid included, on the first notification it hears.
class SelfDestroyingParent : public ui::Window
{
public:
    int heard = 0;

protected:
    bool OnNotify(ui::NotifyHeader& header, std::intptr_t& result) override
    {
        (void)header;
        (void)result;
        if (heard++ == 0)
            DestroyWindow();
        return true;
    }
};
} // namespace

TEST(GridWithParent, AParentThatDestroysItselfOnANotificationStopsTheGesture)
{
    for (unsigned key : {unsigned(VK_RETURN), unsigned(VK_DOWN), unsigned(VK_TAB)})
    {
        SelfDestroyingParent parent;
        parent.Create("#32770", "", WS_POPUP | WS_VISIBLE, ui::Rect(0, 0, 600, 400), nullptr, 0);
        ui::createControl("STATIC", "", WS_CHILD | WS_VISIBLE, ui::Rect(0, 0, 500, 300), &parent, 1196);
        Kdr_Spread grid;
        ASSERT_TRUE(grid.createInDialog(&parent, 1196, true));
        grid.setMaxCols(3, false);
        grid.setMaxRows(3, false);
        grid.sheet().setActiveCell(1, 1);
        grid.SetFocus();
        parent.heard = 1; // let the editor open
        grid.SendMessage(WM_CHAR, 'x');
        parent.heard = 0;
        ui::Message message{&grid, WM_KEYDOWN, key, 0};
        if (!ui::dispatchInput(message))
            grid.SendMessage(WM_KEYDOWN, key);
        EXPECT_FALSE(grid.IsWindow());
        EXPECT_EQ(parent.heard, 1) << "key " << key;
        Kdr_String value;
        grid.getCellText(1, 1, value, ctkValue);
        EXPECT_EQ(value, "x") << "the entry is written before the parent hears of it";
        ui::collectDestroyedWindows();
    }
}

TEST(GridWithParent, EditModeSetFromCodeIsSilent)
{
    SelfDestroyingParent parent;
    parent.Create("#32770", "", WS_POPUP | WS_VISIBLE, ui::Rect(0, 0, 600, 400), nullptr, 0);
    ui::createControl("STATIC", "", WS_CHILD | WS_VISIBLE, ui::Rect(0, 0, 500, 300), &parent, 1196);
    Kdr_Spread grid;
    ASSERT_TRUE(grid.createInDialog(&parent, 1196, true));
    grid.setMaxCols(2, false);
    grid.setMaxRows(2, false);
    EXPECT_FALSE(grid.setEditMode(true)); // no active cell
    grid.setCellText(2, 2, "Web");
    grid.sheet().setActiveCell(2, 2);
    ASSERT_TRUE(grid.setEditMode(true));
    EXPECT_EQ(grid.editText(), "Web");
    grid.SendMessage(WM_CHAR, 's');
    ASSERT_TRUE(grid.setEditMode(false));
    Kdr_String value;
    grid.getCellText(2, 2, value, ctkData);
    EXPECT_EQ(value, "Webs");
    EXPECT_EQ(parent.heard, 0);
    parent.DestroyWindow();
}
