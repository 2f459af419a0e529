#include "spread/Kdr_Spread.h"

#include "host/CommandLine.h"
#include "host/GlobalStr.h"
#include "ui/ScriptedAgent.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kPlaceholder = 1196;

/// A frameless dialog at (100, 50) holding one placeholder control.
struct DialogWithPlaceholder
{
    ui::Window dialog;
    DialogWithPlaceholder(ui::Rect placeholder = ui::Rect(10, 30, 410, 230))
    {
        dialog.Create("#32770", "Test", WS_POPUP | WS_VISIBLE, ui::Rect(100, 50, 700, 450), nullptr, 0);
        ui::createControl("STATIC", "", WS_CHILD | WS_VISIBLE, placeholder, &dialog, kPlaceholder);
    }
};

/// A created grid with the given size.
struct Grid : DialogWithPlaceholder
{
    Kdr_Spread spread;
    Grid(int cols, int rows)
    {
        EXPECT_TRUE(spread.createInDialog(&dialog, kPlaceholder, true));
        spread.setMaxCols(cols, false);
        spread.setMaxRows(rows, false);
    }
};
} // namespace

TEST(Kdr_Spread, NeverCreatedReportsFailureAndTouchesNothing)
{
    Kdr_Spread spread;
    Kdr_String text = "previous";
    EXPECT_EQ(spread.getMaxRows(), -1);
    EXPECT_EQ(spread.getMaxCols(), -1);
    EXPECT_FALSE(spread.getCellText(1, 1, text, ctkValue));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(spread.setMaxRows(5, false));
    EXPECT_FALSE(spread.setCellText(1, 1, "x"));
    EXPECT_FALSE(spread.applyDefaultStyle(0));
    int row = 1, col = 1;
    EXPECT_FALSE(spread.findForward("Calc", false, row, col));
    EXPECT_EQ(spread.sheet().maxRows(), 0);
}

TEST(Kdr_Spread, CreationReplacesThePlaceholderAndMovesItUnlessKept)
{
    DialogWithPlaceholder moved;
    Kdr_Spread grid;
    ASSERT_TRUE(grid.createInDialog(&moved.dialog, kPlaceholder, false));
    EXPECT_EQ(grid.GetClassName(), "fpSpread70");
    EXPECT_EQ(grid.GetDlgCtrlID(), kPlaceholder);
    EXPECT_EQ(moved.dialog.GetDlgItem(kPlaceholder), &grid);
    EXPECT_EQ(grid.rectInParent(), ui::Rect(5, 10, 405, 210));
    EXPECT_EQ(grid.GetStyle() & 0x50000000u, 0x50000000u);
    EXPECT_EQ(grid.getMaxRows(), 0);
    EXPECT_EQ(grid.getMaxCols(), 0);
    EXPECT_EQ(grid.sheet().state().appearance, 1);

    DialogWithPlaceholder kept;
    Kdr_Spread keptGrid;
    ASSERT_TRUE(keptGrid.createInDialog(&kept.dialog, kPlaceholder, true));
    EXPECT_EQ(keptGrid.rectInParent(), ui::Rect(10, 30, 410, 230));

    Kdr_Spread missing;
    EXPECT_FALSE(missing.createInDialog(&kept.dialog, 4711, true));
    EXPECT_FALSE(missing.createInDialog(nullptr, kPlaceholder, true));
}

TEST(Kdr_Spread, CellTextsInsideAndOutsideTheSheet)
{
    Grid g(3, 4);
    Kdr_String text = "stale";
    EXPECT_TRUE(g.spread.getCellText(2, 2, text, ctkValue));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(g.spread.getCellText(2, 5, text, ctkValue));
    EXPECT_FALSE(g.spread.getCellText(4, 1, text, ctkValue));

    ASSERT_TRUE(g.spread.setNumberType(1, 1, 2, false));
    ASSERT_TRUE(g.spread.setCellValue(1, 1, "3.14159"));
    EXPECT_TRUE(g.spread.getCellText(1, 1, text, ctkValue));
    EXPECT_EQ(text, "3.14");
    ASSERT_TRUE(g.spread.setCellFormula(2, 1, "A1*2"));
    EXPECT_TRUE(g.spread.getCellText(2, 1, text, ctkValue));
    EXPECT_EQ(text, "6.28318"); // formulas read the number, not its shown rounding
    EXPECT_TRUE(g.spread.getCellText(2, 1, text, ctkFormula));
    EXPECT_EQ(text, "A1*2");
    ASSERT_TRUE(g.spread.setCellTag(3, 1, "tagged"));
    EXPECT_TRUE(g.spread.getCellText(3, 1, text, ctkTag));
    EXPECT_EQ(text, "tagged");
}

TEST(Kdr_Spread, GrowingSetsHeaderAndBodyFontsShrinkingDoesNot)
{
    Grid g(2, 0);
    ASSERT_TRUE(g.spread.setMaxRows(10, false));
    const grid::Font& header = g.spread.sheet().cellFormat(Kdr_Spread::kHeaderIndex, 3).font;
    EXPECT_EQ(header.face, "Tahoma");
    EXPECT_EQ(header.height, 15);
    EXPECT_EQ(header.weight, 700);
    EXPECT_EQ(g.spread.sheet().cellFormat(2, 10).font.weight, 400);

    // Shrinking leaves fonts alone: a changed font survives on the remaining rows.
    g.spread.setHeaderFont(1, 1, 2, 5, "Arial", 9, false, false);
    ASSERT_TRUE(g.spread.setMaxRows(5, false));
    EXPECT_EQ(g.spread.getMaxRows(), 5);
    EXPECT_EQ(g.spread.sheet().cellFormat(1, 5).font.face, "Arial");
}

TEST(Kdr_Spread, MergeEqualCellsSpansRunsOfEqualTexts)
{
    Grid g(1, 7);
    const char* texts[] = {"A", "A", "B", "B", "B", "", "B"};
    for (int row = 1; row <= 7; ++row)
        g.spread.setCellText(1, row, texts[row - 1]);
    ASSERT_TRUE(g.spread.mergeEqualCells(1));
    const auto& spans = g.spread.sheet().spans();
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0], (grid::Span{1, 1, 1, 2}));
    EXPECT_EQ(spans[1], (grid::Span{1, 3, 1, 3}));
    EXPECT_FALSE(g.spread.mergeEqualCells(2));
}

TEST(Kdr_Spread, FindForwardScansTheStartRowThenTheRowsBelow)
{
    Grid g(4, 50);
    g.spread.setCellText(2, 40, "Calc");
    g.spread.setCellText(1, 3, "Input data");
    int row = 1, col = 1;
    ASSERT_TRUE(g.spread.findForward("Calc", false, row, col));
    EXPECT_EQ(row, 40);
    EXPECT_EQ(col, 2);

    row = 1;
    col = 1;
    EXPECT_FALSE(g.spread.findForward("Input", false, row, col));
    ASSERT_TRUE(g.spread.findForward("input", true, row, col));
    EXPECT_EQ(row, 3);

    // The start row is scanned from the start column only.
    row = 40;
    col = 3;
    EXPECT_FALSE(g.spread.findForward("Calc", false, row, col));
    row = 51;
    EXPECT_FALSE(g.spread.findForward("Calc", false, row, col));
}

TEST(Kdr_Spread, HandleTabTellsWhetherTabLeavesTheGrid)
{
    Grid g(3, 2);
    g.spread.SetFocus();
    int result = -1;
    EXPECT_FALSE(g.spread.handleTab(13, result));
    EXPECT_EQ(result, 1);

    // Last enterable cell: (3, 2) is skipped, (2, 2) is covered by the span anchored at (1, 2).
    g.spread.sheet().setSkip(3, 2, 3, 2, true);
    g.spread.addCellSpan(1, 2, 2, 1);
    g.spread.sheet().setActiveCell(1, 2);
    ASSERT_TRUE(g.spread.handleTab(9, result));
    EXPECT_EQ(result, 2);

    g.spread.sheet().setActiveCell(2, 1);
    ASSERT_TRUE(g.spread.handleTab(9, result));
    EXPECT_EQ(result, 0);

    ui::setKeyDown(VK_SHIFT, true);
    g.spread.sheet().setActiveCell(1, 1);
    ASSERT_TRUE(g.spread.handleTab(9, result));
    EXPECT_EQ(result, 3);
    ui::setKeyDown(VK_SHIFT, false);
}

TEST(Kdr_Spread, ResizeModesShareTheClientWidth)
{
    // Client width 417 less a 17-pixel scroll bar leaves 400 pixels for 3 columns + row header.
    Grid g(3, 2);
    g.spread.MoveWindow(ui::Rect(0, 0, 417, 200));
    auto widths = [&]() {
        std::vector<int> w;
        for (int col : {Kdr_Spread::kHeaderIndex, 1, 2, 3})
            w.push_back(static_cast<int>(g.spread.sheet().columnWidth(col)));
        return w;
    };
    g.spread.setResizeMode(1);
    g.spread.applyResizeMode();
    EXPECT_EQ(widths(), (std::vector<int>{100, 100, 100, 100}));

    g.spread.setResizeMode(3, 1, 40); // first column 40 %, the rest share
    g.spread.applyResizeMode();
    EXPECT_EQ(widths(), (std::vector<int>{80, 160, 80, 80}));

    g.spread.setResizeMode(3, -2, 50); // last two columns share 50 %
    g.spread.applyResizeMode();
    EXPECT_EQ(widths(), (std::vector<int>{100, 100, 100, 100}));

    g.spread.setResizeMode(4, 2, 250);
    g.spread.applyResizeMode();
    EXPECT_EQ(widths(), (std::vector<int>{50, 50, 250, 50}));

    g.spread.setResizeMode(5, Kdr_Array<int>{0, 3}, Kdr_Array<int>{30, 170});
    g.spread.applyResizeMode();
    EXPECT_EQ(widths(), (std::vector<int>{30, 100, 100, 170}));

    // A size change applies the mode by itself.
    g.spread.setResizeMode(1);
    g.spread.MoveWindow(ui::Rect(0, 0, 217, 200));
    EXPECT_EQ(widths(), (std::vector<int>{50, 50, 50, 50}));
}

TEST(Kdr_Spread, RowsInsertDeleteAndListsMoveWithTheSheet)
{
    Grid g(2, 2);
    g.spread.setColumnTexts(1, Kdr_StringArray{"a", "b", "ignored"}, false);
    ASSERT_TRUE(g.spread.insertRow(1, false, false));
    EXPECT_EQ(g.spread.getMaxRows(), 3);
    Kdr_StringArray column;
    ASSERT_TRUE(g.spread.getColumnTexts(1, column, ctkData));
    EXPECT_EQ(column, (Kdr_StringArray{"", "a", "b"}));
    EXPECT_TRUE(g.spread.sheet().changesMade());

    ASSERT_TRUE(g.spread.insertRow(99, false, false)); // past the end: appended
    EXPECT_EQ(g.spread.getMaxRows(), 4);
    ASSERT_TRUE(g.spread.deleteRow(1));
    ASSERT_TRUE(g.spread.getColumnTexts(1, column, ctkData));
    EXPECT_EQ(column, (Kdr_StringArray{"a", "b", ""}));
    EXPECT_FALSE(g.spread.deleteRow(4));

    ASSERT_TRUE(g.spread.appendRowTexts(Kdr_StringArray{"x", "y", "z"}));
    Kdr_StringArray row;
    ASSERT_TRUE(g.spread.getRowTexts(4, row));
    EXPECT_EQ(row, (Kdr_StringArray{"x", "y"}));
    EXPECT_FALSE(g.spread.getRowTexts(5, row));

    ASSERT_TRUE(g.spread.setColumnCaptions(Kdr_StringArray{"Name", "Value"}));
    ASSERT_TRUE(g.spread.getColumnCaptions(row));
    EXPECT_EQ(row, (Kdr_StringArray{"Name", "Value"}));

    g.spread.setColumnTexts(2, Kdr_Array<double>{1.5, 2}, false);
    ASSERT_TRUE(g.spread.getColumnTexts(2, column, ctkData));
    EXPECT_EQ(column[0], "1.50");
    EXPECT_EQ(column[1], "2.00");
}

TEST(Kdr_Spread, ChecksFollowTheSelection)
{
    Grid g(2, 3);
    g.spread.setCheckBoxType(1, 1, 1, 3);
    g.spread.sheet().setSelection(1, 1, 2, 2);
    ASSERT_TRUE(g.spread.setChecks(true));
    Kdr_String text;
    g.spread.getCellText(1, 2, text, ctkValue);
    EXPECT_EQ(text, "1");
    g.spread.getCellText(1, 3, text, ctkValue);
    EXPECT_EQ(text, "");
    g.spread.getCellText(2, 1, text, ctkValue);
    EXPECT_EQ(text, "");
}

TEST(Kdr_Spread, RedrawGuardRestoresDrawingOnEveryPath)
{
    Grid g(1, 1);
    g.spread.setProperty(Kdr_Spread::kPropRedraw, 1);
    {
        Kdr_Spread::RedrawGuard guard(g.spread);
        EXPECT_EQ(g.spread.property(Kdr_Spread::kPropRedraw), 0);
        g.spread.setCellText(1, 1, "kept");
    }
    EXPECT_EQ(g.spread.property(Kdr_Spread::kPropRedraw), 1);
    Kdr_String text;
    g.spread.getCellText(1, 1, text, ctkData);
    EXPECT_EQ(text, "kept");
    EXPECT_TRUE(g.spread.applyDefaultStyle(0));
    EXPECT_EQ(g.spread.property(Kdr_Spread::kPropRedraw), 1);
    EXPECT_EQ(g.spread.property(13), 0);
    EXPECT_EQ(g.spread.property(10), 1);
}

TEST(Kdr_Spread, DiagnosticPrintersWriteTheRecordsByteForByte)
{
    host::CommandLineCapture capture;
    grid::SpreadCalcValue records[4] = {};
    records[0].type = grid::kCalcTypeLong;
    records[0].value.longValue = 42;
    records[1].type = grid::kCalcTypeDouble;
    records[1].value.doubleValue = 2.5;
    records[2].type = grid::kCalcTypeString;
    records[2].value.textHandle = setGlobalStr("S235");
    records[3].type = grid::kCalcTypeCell;
    records[3].value.cell.col = 2;
    records[3].value.cell.row = 7;
    printSpreadCalcValues(records, 4);
    EXPECT_EQ(capture.text(), "Result is long: 42\n"
                              "Result is double: 2.500000\n"
                              "Result is string: S235\n"
                              "Cell Col:2, Row:7\n"
                              "Result is cell\n");
    // The text record still holds its text afterwards.
    Kdr_String text;
    ASSERT_TRUE(getGlobalStr(records[2].value.textHandle, text));
    EXPECT_EQ(text, "S235");
}

TEST(Kdr_Spread, InsertedRowAsksForItsCaption)
{
    Grid g(2, 2);
    ui::ScriptedAgent agent;
    ui::UserAgentScope scope(agent);
    agent.expectPrompt(Kdr_String("Extra"));
    ASSERT_TRUE(g.spread.insertRow(2, true, false));
    ASSERT_EQ(agent.prompts().size(), 1u);
    EXPECT_EQ(agent.prompts()[0].okCaption, "Ok");
    EXPECT_TRUE(agent.failures().empty());
    Kdr_String caption;
    g.spread.getCellText(Kdr_Spread::kHeaderIndex, 2, caption, ctkData);
    EXPECT_EQ(caption, "Extra");
}
