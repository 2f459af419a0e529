// The find and replace dialog of a grid, driven as a person uses it: F3 and F5 in the grid of
// a string table dialog, typing in the dialog's fields, its buttons and keys; the message
// boxes answered by the scripted agent.

#include "../ui/UiTestSupport.h"
#include "editor/Kdr_FindReplaceDlg.h"
#include "spread/Kdr_DlgStringTable.h"
#include "ui/DialogSizes.h"
#include "ui/Driver.h"
#include "ui/WinDefs.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kGrid = IDC_STRING_TABLE_GRID;
constexpr const char* kWrapQuestion = "The end of the sheet was reached.\nSearch again from the beginning?\n";
constexpr const char* kNotFound = "The text was not found.";

Kdr_StringArray texts(std::initializer_list<const char*> items)
{
    Kdr_StringArray out;
    for (const char* item : items)
        out.append(item);
    return out;
}

/// What the grid shows and where its editor's selection is.
struct Selected
{
    int col = 0;
    int row = 0;
    std::string editText;
    int start = 0;
    int end = 0;
    bool operator==(const Selected&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Selected& s)
{
    return out << "(" << s.col << "," << s.row << ") \"" << s.editText << "\" [" << s.start << "," << s.end
               << ")";
}

class FindReplaceTest : public uitest::UiTest
{
protected:
    /// Runs a string table dialog on `rows` (three columns); `script` works in it with the
    /// table's driver, its grid and the find dialog's driver once F3 or F5 has opened it.
    void run(const std::function<void(ui::Driver& table, Kdr_Spread& grid)>& script)
    {
        agent_.expectDialog(IDD_STRING_TABLE,
                            [&](ui::Driver& table)
                            {
                                auto* grid = table.itemAs<Kdr_Spread>(kGrid);
                                ASSERT_NE(grid, nullptr);
                                script(table, *grid);
                                table.click(IDOK);
                            });
        for (const auto& box : boxes_)
            agent_.expectMessageBox(box.text, box.caption, box.answer);
        ASSERT_TRUE(startGridDialog(texts({"A", "B", "C"}), {}, rows, true, "", "Table"));
    }

    /// Presses F3 (or F5) in the grid and gives a driver over the find dialog it opened.
    std::unique_ptr<ui::Driver> openFind(ui::Driver& table, Kdr_Spread& grid, bool replace = false)
    {
        table.pressKeyInGrid(kGrid, replace ? VK_F5 : VK_F3);
        if (grid.findReplaceDialog() == nullptr)
            return nullptr;
        return std::make_unique<ui::Driver>(*grid.findReplaceDialog(),
                                            [](const std::string& message) { ADD_FAILURE() << message; });
    }

    static Selected selected(Kdr_Spread& grid)
    {
        Selected s;
        grid.sheet().activeCell(s.col, s.row);
        if (grid.isEditing())
        {
            s.editText = grid.editText();
            grid.sheet().editSelection(s.start, s.end);
        }
        return s;
    }

    static std::string cell(Kdr_Spread& grid, int col, int row)
    {
        Kdr_String text;
        grid.getCellText(col, row, text, ctkData);
        return text;
    }

    struct Box
    {
        std::string text;
        std::string caption;
        int answer;
    };
    void expectBox(std::string text, std::string caption, int answer)
    {
        boxes_.push_back({text, caption, answer});
    }

    Kdr_Array<Kdr_StringArray> rows;
    std::vector<Box> boxes_;
};
} // namespace

TEST_F(FindReplaceTest, OpensOwnedTopmostAndRestoresItsOptionsOnClose)
{
    rows.append(texts({"ab", "", ""}));
    run(
        [&](ui::Driver& table, Kdr_Spread& grid)
        {
            grid.setProperty(13, 0);
            grid.setProperty(20, 1);
            auto find = openFind(table, grid);
            ASSERT_TRUE(find);
            Kdr_FindReplaceDlg* dialog = grid.findReplaceDialog();
            EXPECT_EQ(dialog->GetParent(), &grid);
            EXPECT_TRUE(dialog->GetExStyle() & WS_EX_TOPMOST);
            EXPECT_TRUE(dialog->IsWindowVisible());
            EXPECT_EQ(dialog->GetWindowText(), "Find and replace");
            EXPECT_EQ(find->text(IDC_FIND_LABEL), "Find what:");
            EXPECT_EQ(find->text(IDC_REPLACE_LABEL), "Replace with:");
            EXPECT_EQ(find->text(IDOK), "Find next");
            EXPECT_EQ(find->text(IDC_REPLACE), "Replace");
            EXPECT_EQ(find->text(IDC_REPLACE_ALL), "Replace all");
            EXPECT_EQ(find->text(IDCANCEL), "Close");
            EXPECT_EQ(grid.property(13), 1);
            EXPECT_EQ(grid.property(20), 0);

            // A second F3 does not make a second dialog.
            table.pressKeyInGrid(kGrid, VK_F3);
            EXPECT_EQ(grid.findReplaceDialog(), dialog);

            find->click(IDCANCEL);
            EXPECT_EQ(grid.findReplaceDialog(), nullptr);
            EXPECT_EQ(grid.property(13), 0);
            ui::Rect stored;
            EXPECT_TRUE(ui::dialogSizes().find("DLG_FINDREPLACE", stored));

            // Open again with option 13 on: it stays on after closing.
            grid.setProperty(13, 1);
            find = openFind(table, grid, true);
            ASSERT_TRUE(find);
            find->close();
            EXPECT_EQ(grid.findReplaceDialog(), nullptr);
            EXPECT_EQ(grid.property(13), 1);
        });
}

TEST_F(FindReplaceTest, FindNextSelectsInPlaceIgnoringCaseAndWrapsWithTheQuestion)
{
    rows.append(texts({"ab AB", "x", "y"}));
    rows.append(texts({"z", "", "last"}));
    expectBox(kWrapQuestion, "Find", IDYES); // from the last cell: found again at the top
    expectBox(kWrapQuestion, "Find", IDNO);  // after the second occurrence: No stops
    expectBox(kWrapQuestion, "Find", IDYES); // a text that is nowhere
    expectBox(kNotFound, "Find", IDOK);
    run(
        [&](ui::Driver& table, Kdr_Spread& grid)
        {
            table.clickCell(kGrid, 3, 2);
            auto find = openFind(table, grid);
            ASSERT_TRUE(find);
            find->type(IDC_FIND_TEXT, "Ab");
            find->click(IDOK);
            EXPECT_EQ(selected(grid), (Selected{1, 1, "ab AB", 0, 2}));
            // Enter is the find-next button; the search goes on inside the same cell.
            find->focus(IDC_FIND_TEXT);
            find->pressKey(VK_RETURN);
            EXPECT_EQ(selected(grid), (Selected{1, 1, "ab AB", 3, 5}));
            // F3 in the dialog does the same; No leaves the selection where it was.
            find->focus(IDC_FIND_TEXT);
            find->pressKey(VK_F3);
            EXPECT_EQ(selected(grid), (Selected{1, 1, "ab AB", 3, 5}));

            find->type(IDC_FIND_TEXT, "nowhere");
            find->click(IDOK);
            find->click(IDCANCEL);
        });
    EXPECT_EQ(rows[0][0], "ab AB"); // finding changes nothing
}

TEST_F(FindReplaceTest, F3InTheGridRunsFindNextInTheOpenDialogAndPassesOverCellsThatCannotBeSelected)
{
    rows.append(texts({"steel", "", ""}));
    rows.append(texts({"", "steel", ""}));
    expectBox(kWrapQuestion, "Find", IDYES);
    run(
        [&](ui::Driver& table, Kdr_Spread& grid)
        {
            // The first cell shows the text but is locked: it cannot be selected in place,
            // so find next must not stop on it (nor stick there).
            grid.setLock(1, 1, 1, 1, true);
            table.clickCell(kGrid, 1, 1);
            auto find = openFind(table, grid);
            ASSERT_TRUE(find);
            find->type(IDC_FIND_TEXT, "STEEL");
            table.pressKeyInGrid(kGrid, VK_F3);
            EXPECT_EQ(selected(grid), (Selected{2, 2, "steel", 0, 5}));
            table.pressKeyInGrid(kGrid, VK_F3); // wraps, passes the locked cell, back here
            EXPECT_EQ(selected(grid), (Selected{2, 2, "steel", 0, 5}));
            find->click(IDCANCEL);
        });
}

TEST_F(FindReplaceTest, ReplaceWritesOnlyAfterAFreshFind)
{
    rows.append(texts({"ab cd", "", ""}));
    expectBox(kWrapQuestion, "Find", IDNO);
    expectBox(kWrapQuestion, "Find", IDYES);
    expectBox(kNotFound, "Find", IDOK);
    run(
        [&](ui::Driver& table, Kdr_Spread& grid)
        {
            table.clickCell(kGrid, 1, 1);
            auto find = openFind(table, grid, true);
            ASSERT_TRUE(find);
            find->type(IDC_FIND_TEXT, "ab");
            find->type(IDC_REPLACE_TEXT, "X");
            grid.sheet().setChangesMade(false);
            find->click(IDC_REPLACE);
            EXPECT_EQ(cell(grid, 1, 1), "X cd");
            EXPECT_TRUE(grid.sheet().changesMade());
            // The replacement is selected, so that the search goes on after it.
            EXPECT_EQ(selected(grid), (Selected{1, 1, "X cd", 0, 1}));

            // Nothing more to find: the cell keeps its text, whatever the answer.
            find->click(IDC_REPLACE);
            EXPECT_EQ(cell(grid, 1, 1), "X cd");
            find->focus(IDC_FIND_TEXT);
            find->pressKey(VK_F5);
            EXPECT_EQ(cell(grid, 1, 1), "X cd");
            find->click(IDCANCEL);
        });
    EXPECT_EQ(rows[0][0], "X cd");
}

TEST_F(FindReplaceTest, ReplaceAllReportsTheCellsItChangedAndLeavesFormulasAlone)
{
    rows.append(texts({"steel", "beam", "Steel and steel"}));
    rows.append(texts({"", "STEEL", ""}));
    expectBox("Replaced 3 times.", "Replace all", IDOK);
    expectBox("Replaced 0 times.", "Replace all", IDOK);
    run(
        [&](ui::Driver& table, Kdr_Spread& grid)
        {
            // A formula that shows the text: replacing its result would lose the formula.
            table.editCell(kGrid, 1, 2, "=B1&\" steel\"");
            ASSERT_EQ(cell(grid, 1, 2), "beam steel");
            table.clickCell(kGrid, 3, 2);
            auto find = openFind(table, grid);
            ASSERT_TRUE(find);
            find->type(IDC_FIND_TEXT, "steel");
            // The replacement contains the find text: each cell is replaced once.
            find->type(IDC_REPLACE_TEXT, "steel beam");
            find->click(IDC_REPLACE_ALL);
            EXPECT_EQ(cell(grid, 1, 1), "steel beam");
            EXPECT_EQ(cell(grid, 3, 1), "steel beam and steel beam");
            EXPECT_EQ(cell(grid, 2, 2), "steel beam");
            EXPECT_TRUE(grid.sheet().hasFormula(1, 2));
            EXPECT_EQ(cell(grid, 1, 2), "beam steel");

            find->type(IDC_FIND_TEXT, "girder");
            find->click(IDC_REPLACE_ALL);

            // An empty find text does nothing at all: no message, no change.
            find->type(IDC_FIND_TEXT, "");
            find->click(IDC_REPLACE_ALL);
            find->click(IDC_REPLACE);
            find->click(IDOK);
            EXPECT_EQ(cell(grid, 2, 1), "beam");
            find->click(IDCANCEL);
        });
    ASSERT_EQ(rows.length(), 2);
    EXPECT_EQ(rows[1][1], "steel beam");
}

TEST_F(FindReplaceTest, ClosingTheTableClosesItsFindDialog)
{
    rows.append(texts({"a", "b", "c"}));
    run(
        [&](ui::Driver& table, Kdr_Spread& grid)
        {
            auto find = openFind(table, grid);
            ASSERT_TRUE(find);
            // Left open: the grid's window takes it along.
        });
}
