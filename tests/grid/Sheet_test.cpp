#include "grid/Sheet.h"

#include <gtest/gtest.h>
#include <string>

namespace grid
{
namespace
{
Sheet sheetOf(int cols, int rows)
{
    Sheet sheet;
    sheet.setMaxCols(cols);
    sheet.setMaxRows(rows);
    sheet.setChangesMade(false);
    return sheet;
}

int gCalls = 0;

/// A custom function that counts its calls and returns its first argument.
std::int32_t countCalls(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    ++gCalls;
    if (count < 1)
        return 0;
    *result = args[0];
    return 1;
}

TEST(Sheet, AddressesOutsideTheSheetFailWithoutChangingIt)
{
    Sheet sheet;
    EXPECT_EQ(sheet.maxCols(), 0);
    EXPECT_EQ(sheet.maxRows(), 0);
    std::string text = "stale";
    EXPECT_FALSE(sheet.cellText(1, 1, TextKind::Value, text));
    EXPECT_EQ(text, "");

    sheet = sheetOf(3, 4);
    const auto revision = sheet.revision();
    EXPECT_FALSE(sheet.setData(4, 1, "x"));
    EXPECT_FALSE(sheet.setValue(1, 5, "1"));
    EXPECT_FALSE(sheet.setFormula(-1, 1, "1"));
    EXPECT_FALSE(sheet.setCellType(4, 1, CellType::number(2)));
    EXPECT_FALSE(sheet.setCellTag(1, -2, "t"));
    EXPECT_FALSE(sheet.setMaxRows(-1));
    EXPECT_FALSE(sheet.setMaxRows(kMaxRows + 1));
    EXPECT_FALSE(sheet.setMaxCols(kMaxCols + 1));
    EXPECT_EQ(sheet.revision(), revision);
    EXPECT_FALSE(sheet.changesMade());
    EXPECT_EQ(sheet.cellCount(), 0u);

    EXPECT_TRUE(sheet.cellText(3, 4, TextKind::Data, text)); // an empty cell reads fine
    EXPECT_EQ(text, "");
    EXPECT_FALSE(sheet.cellText(3, 5, TextKind::Data, text));
    EXPECT_EQ(sheet.cellTypeCode(4, 4), -1);
}

TEST(Sheet, HeadersAreAddressedByMinus32767OrZero)
{
    Sheet sheet = sheetOf(2, 2);
    EXPECT_TRUE(sheet.setData(1, kHeader, "Width"));
    EXPECT_TRUE(sheet.setData(kHeader, 2, "second"));
    EXPECT_TRUE(sheet.setCellTag(0, 0, "settings of the corner"));
    EXPECT_EQ(sheet.cellDataText(1, 0), "Width");
    EXPECT_EQ(sheet.cellDataText(0, 2), "second");
    EXPECT_EQ(sheet.cellTag(kHeader, kHeader), "settings of the corner");
    EXPECT_FALSE(sheet.setFormula(1, kHeader, "1+1"));
    EXPECT_FALSE(sheet.setData(3, kHeader, "beyond"));
}

TEST(Sheet, ShrinkingDropsCellsBeyondAndRecalculatesTheirReaders)
{
    Sheet sheet = sheetOf(3, 10);
    sheet.setValue(1, 9, "5");
    sheet.setValue(3, 2, "7");
    sheet.setValue(1, 2, "1");
    sheet.setFormula(2, 1, "A9+1");
    sheet.addSpan(1, 8, 2, 2);
    sheet.setRowHeight(9, 33);
    EXPECT_EQ(sheet.cellValueText(2, 1), "6");

    ASSERT_TRUE(sheet.setMaxRows(5));
    ASSERT_TRUE(sheet.setMaxCols(2));
    EXPECT_EQ(sheet.cellValueText(2, 1), "1"); // A9 is gone and reads empty
    EXPECT_EQ(sheet.cellValueText(1, 2), "1");
    EXPECT_TRUE(sheet.spans().empty());

    sheet.setMaxRows(10);
    sheet.setMaxCols(3);
    EXPECT_EQ(sheet.cellValueText(1, 9), "");
    EXPECT_EQ(sheet.cellValueText(3, 2), "");
    EXPECT_EQ(sheet.rowHeight(9), Sheet::kDefaultRowHeight);
}

TEST(Sheet, ShrinkingKeepsTheActiveCellAndSelectionInside)
{
    Sheet sheet = sheetOf(4, 10);
    sheet.setActiveCell(4, 9);
    sheet.setSelection(2, 8, 4, 10);
    sheet.setEditMode(true);
    ASSERT_TRUE(sheet.setMaxRows(6));
    int col = 0, row = 0;
    ASSERT_TRUE(sheet.activeCell(col, row));
    EXPECT_EQ(col, 4);
    EXPECT_EQ(row, 6);
    EXPECT_EQ(sheet.selection(), (Selection{2, 6, 4, 6}));
    EXPECT_FALSE(sheet.editMode());

    // Growing again leaves them where they are; shrinking to nothing leaves none.
    sheet.setMaxRows(20);
    ASSERT_TRUE(sheet.setMaxCols(3));
    ASSERT_TRUE(sheet.activeCell(col, row));
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 6);
    ASSERT_TRUE(sheet.setMaxRows(0));
    EXPECT_FALSE(sheet.activeCell(col, row));
    EXPECT_EQ(sheet.selection(), Selection{});
}

struct NumberCase
{
    int decimals;
    bool thousands;
    const char* input;
    const char* value;
    const char* data;
};

TEST(Sheet, NumberCellsShowValueAndDataTexts)
{
    const NumberCase cases[] = {
        {2, false, "2.675", "2.68", "2.68"},
        {0, true, "1234.5", "1235", "1,235"},
        {0, false, "0.5", "1", "1"},
        {0, false, "-0.5", "-1", "-1"},
        {7, false, "-1.23456785", "-1.2345679", "-1.2345679"},
        {7, true, "1234.5", "1234.5", "1,234.5000000"},
        {2, true, "-1234567.125", "-1234567.13", "-1,234,567.13"},
        {2, false, "123456789012.345", "123456789012.35", "123456789012.35"},
        {7, false, "0.333333333333333", "0.3333333", "0.3333333"},
        {2, false, "1e20", "1E+20", "100000000000000000000.00"},
        {2, true, "1,234.50", "1234.5", "1,234.50"}, // its own shown form reads back
        {2, false, "12%", "0.12", "0.12"},
        {2, false, "", "", ""},
        {2, false, "n/a", "n/a", "n/a"}, // a text is kept, not refused
    };
    for (const NumberCase& c : cases)
    {
        Sheet sheet = sheetOf(1, 1);
        sheet.setCellType(
            1, 1, CellType::number(c.decimals, CellType::kNumberMin, CellType::kNumberMax, c.thousands));
        ASSERT_TRUE(sheet.setValue(1, 1, c.input));
        EXPECT_EQ(sheet.cellValueText(1, 1), c.value) << c.input << " with " << c.decimals;
        EXPECT_EQ(sheet.cellDataText(1, 1), c.data) << c.input << " with " << c.decimals;
    }
}

TEST(Sheet, NumberCellsKeepTheirStyleFlagsAndTypeCodes)
{
    EXPECT_EQ(CellType::number(2, CellType::kNumberMin, CellType::kNumberMax, false).style, 0x10100000);
    EXPECT_EQ(CellType::number(2, CellType::kNumberMin, CellType::kNumberMax, true).style, 0x10400000);
    Sheet sheet = sheetOf(8, 1);
    sheet.setCellType(1, 1, CellType::textCell(0x110000, 200));
    sheet.setCellType(2, 1, CellType::number(1));
    sheet.setCellType(3, 1, CellType::checkBox(0, "", "off.bmp", "on.bmp"));
    sheet.setCellType(4, 1, CellType::combo(0, {"a", "b"}));
    sheet.setCellType(5, 1, CellType::button(0, "Go"));
    sheet.setCellType(6, 1, CellType::edit(4, 100, 0, CellType::CaseAsTyped));
    sheet.setCellType(7, 1, CellType::pictureCell(36, "part.bmp"));
    const int codes[] = {5, 14, 12, 9, 7, 1, 8, 0};
    for (int col = 1; col <= 8; ++col)
        EXPECT_EQ(sheet.cellTypeCode(col, 1), codes[col - 1]) << col;
}

TEST(Sheet, ValuesOfGeneralTextAndEditCells)
{
    Sheet sheet = sheetOf(4, 2);
    sheet.setData(1, 1, "1.50");
    EXPECT_EQ(sheet.cellDataText(1, 1), "1.50"); // shown as typed
    EXPECT_EQ(sheet.cellValueText(1, 1), "1.5");
    sheet.setValue(1, 2, "1.50");
    EXPECT_EQ(sheet.cellDataText(1, 2), "1.5");

    sheet.setCellType(2, 1, CellType::textCell(0, 5));
    sheet.setValue(2, 1, "abcdefgh");
    EXPECT_EQ(sheet.cellValueText(2, 1), "abcde");
    sheet.setValue(2, 1, "0012");
    EXPECT_TRUE(sheet.cellValue(2, 1).isText());
    double number = 0;
    EXPECT_FALSE(sheet.cellNumber(2, 1, number));

    sheet.setCellType(3, 1, CellType::edit(0, 0, 0, CellType::CaseUpper));
    sheet.setData(3, 1, "mixed Case");
    EXPECT_EQ(sheet.cellDataText(3, 1), "MIXED CASE");

    // A new type reads the entry again.
    sheet.setData(4, 1, "007");
    EXPECT_TRUE(sheet.cellNumber(4, 1, number));
    EXPECT_EQ(number, 7);
    sheet.setCellType(4, 1, CellType::textCell(0, 0));
    EXPECT_EQ(sheet.cellValueText(4, 1), "007");
    sheet.setCellType(4, 1, CellType::general());
    EXPECT_EQ(sheet.cellValueText(4, 1), "7");

    EXPECT_TRUE(sheet.setNumber(4, 2, 0.1 + 0.2));
    EXPECT_TRUE(sheet.cellNumber(4, 2, number));
    EXPECT_EQ(number, 0.1 + 0.2); // exact, though shown with 15 digits
    EXPECT_EQ(sheet.cellValueText(4, 2), "0.3");
}

TEST(Sheet, FormulaResultsInNumberCellsAndLogicals)
{
    Sheet sheet = sheetOf(3, 1);
    sheet.setFormula(1, 1, "1=1");
    EXPECT_EQ(sheet.cellValueText(1, 1), "TRUE");
    sheet.setCellType(2, 1, CellType::number(2));
    sheet.setFormula(2, 1, "1=1");
    EXPECT_EQ(sheet.cellValueText(2, 1), "1");
    EXPECT_EQ(sheet.cellDataText(2, 1), "1.00");
    sheet.setFormula(3, 1, "1/3");
    EXPECT_EQ(sheet.cellValueText(3, 1), "0.333333333333333");
    EXPECT_EQ(sheet.cellFormulaText(3, 1), "1/3");

    sheet.setReferenceStyle(ReferenceStyle::R1C1);
    sheet.setFormula(1, 1, "RC[1]*2");
    EXPECT_EQ(sheet.cellValueText(1, 1), "2");
    EXPECT_EQ(sheet.cellFormulaText(1, 1), "RC[1]*2");
    sheet.setReferenceStyle(ReferenceStyle::A1);
    EXPECT_EQ(sheet.cellFormulaText(1, 1), "B1*2");
}

TEST(Sheet, AFormulaThatDoesNotParseLeavesTheCell)
{
    Sheet sheet = sheetOf(1, 1);
    sheet.setFormula(1, 1, "2+3");
    EXPECT_FALSE(sheet.setFormula(1, 1, "2+*"));
    EXPECT_FALSE(sheet.lastFormulaError().empty());
    EXPECT_EQ(sheet.cellValueText(1, 1), "5");
    EXPECT_EQ(sheet.cellFormulaText(1, 1), "2+3");
}

TEST(Sheet, RecalculationFollowsDependenciesAndCalculatesEachCellOnce)
{
    Sheet sheet = sheetOf(4, 2);
    ASSERT_TRUE(sheet.addCustomFunction("COUNTCALLS", 1, 1, countCalls, 0));
    // Set in reverse order: every formula reads cells that are themselves formulas.
    sheet.setFormula(4, 1, "COUNTCALLS(B1+C1)");
    sheet.setFormula(3, 1, "B1*2");
    sheet.setFormula(2, 1, "A1+1");
    sheet.setValue(1, 1, "1");
    EXPECT_EQ(sheet.cellValueText(4, 1), "6");

    gCalls = 0;
    sheet.setValue(1, 1, "10");
    EXPECT_EQ(sheet.cellValueText(4, 1), "33");
    EXPECT_EQ(gCalls, 1); // the diamond reaches D1 twice, it is calculated once

    gCalls = 0;
    sheet.setValue(1, 2, "unrelated");
    EXPECT_EQ(gCalls, 0);
    EXPECT_TRUE(sheet.recalcCell(4, 1));
    EXPECT_EQ(gCalls, 1);
    gCalls = 0;
    sheet.recalcAll();
    EXPECT_EQ(gCalls, 1);
}

TEST(Sheet, ABatchCalculatesEachWaitingFormulaOnceWhenItCloses)
{
    Sheet sheet = sheetOf(4, 3);
    ASSERT_TRUE(sheet.addCustomFunction("COUNTCALLS", 1, 1, countCalls, 0));
    sheet.setFormula(2, 1, "COUNTCALLS(A1*2)");
    gCalls = 0;
    {
        Sheet::Batch batch(sheet);
        for (int i = 1; i <= 50; ++i)
            sheet.setNumber(1, 1, i);
        EXPECT_EQ(gCalls, 0); // B1 waits for the batch
        EXPECT_EQ(sheet.cellValueText(1, 1), "50");

        // A formula set in the batch reads the values as they are now...
        sheet.setFormula(3, 1, "A1+1");
        EXPECT_EQ(sheet.cellValueText(3, 1), "51");
        // ...and one that reads a waiting formula brings it up to date first.
        sheet.setFormula(4, 1, "B1+C1");
        EXPECT_EQ(sheet.cellValueText(4, 1), "151");
        EXPECT_EQ(gCalls, 1);
        // A formula that others read is calculated with its readers.
        sheet.setFormula(3, 1, "A1+2");
        EXPECT_EQ(sheet.cellValueText(4, 1), "152");
        sheet.setNumber(1, 1, 7);
        EXPECT_EQ(sheet.cellValueText(4, 1), "152");
    }
    EXPECT_EQ(sheet.cellValueText(2, 1), "14");
    EXPECT_EQ(sheet.cellValueText(4, 1), "23");
    EXPECT_EQ(gCalls, 2);

    // Batches nest: only the outermost one calculates.
    sheet.beginBatch();
    sheet.beginBatch();
    sheet.setNumber(1, 1, 1);
    sheet.endBatch();
    EXPECT_EQ(sheet.cellValueText(4, 1), "23");
    sheet.endBatch();
    EXPECT_EQ(sheet.cellValueText(4, 1), "5");
    sheet.endBatch(); // an extra close changes nothing
    EXPECT_EQ(sheet.cellValueText(4, 1), "5");

    // Cycles made in a batch still end in the circular error.
    {
        Sheet::Batch batch(sheet);
        sheet.setFormula(1, 3, "B3");
        sheet.setFormula(2, 3, "A3+1");
        sheet.setNumber(1, 2, 3);
    }
    EXPECT_EQ(sheet.cellValueText(1, 3), "#CIRC!");
    EXPECT_EQ(sheet.cellValueText(2, 3), "#CIRC!");
}

TEST(Sheet, VolatileFormulasRecalculateAtEveryChangeEvenInABatch)
{
    Sheet reference = sheetOf(2, 2);
    Sheet batched = sheetOf(2, 2);
    for (Sheet* sheet : {&reference, &batched})
    {
        sheet->setRandomSeed(7);
        sheet->setFormula(2, 1, "RAND()+A1");
    }
    {
        Sheet::Batch batch(batched);
        for (int i = 1; i <= 5; ++i)
        {
            reference.setNumber(1, 1, i);
            batched.setNumber(1, 1, i);
            EXPECT_EQ(batched.cellValueText(2, 1), reference.cellValueText(2, 1));
        }
    }
    EXPECT_EQ(batched.cellValueText(2, 1), reference.cellValueText(2, 1));
}

TEST(Sheet, ReferenceCyclesGiveTheCircularErrorAndHealWhenBroken)
{
    Sheet sheet = sheetOf(3, 2);
    sheet.setFormula(1, 1, "B1");
    sheet.setFormula(2, 1, "A1+1");
    sheet.setFormula(3, 1, "A1*2");
    EXPECT_EQ(sheet.cellValueText(1, 1), "#CIRC!");
    EXPECT_EQ(sheet.cellValueText(2, 1), "#CIRC!");
    EXPECT_EQ(sheet.cellValueText(3, 1), "#CIRC!"); // reads a cell of the cycle
    sheet.setFormula(1, 2, "A2+1");
    EXPECT_EQ(sheet.cellValueText(1, 2), "#CIRC!");

    sheet.setValue(1, 1, "5");
    EXPECT_EQ(sheet.cellValueText(2, 1), "6");
    EXPECT_EQ(sheet.cellValueText(3, 1), "10");
}

TEST(Sheet, ALongChainRecalculatesWithoutRecursion)
{
    constexpr int kRows = 100000;
    Sheet sheet = sheetOf(1, kRows);
    sheet.setValue(1, 1, "1");
    for (int row = 2; row <= kRows; ++row)
        ASSERT_TRUE(sheet.setFormula(1, row, "A" + std::to_string(row - 1) + "+1"));
    EXPECT_EQ(sheet.cellValueText(1, kRows), "100000");
    sheet.setValue(1, 1, "-99999");
    EXPECT_EQ(sheet.cellValueText(1, kRows), "0");
    sheet.recalcAll();
    EXPECT_EQ(sheet.cellValueText(1, kRows), "0");
}

TEST(Sheet, RangePrecedentsSeeEveryChange)
{
    constexpr int kRows = 2000;
    Sheet sheet = sheetOf(2, kRows);
    for (int row = 1; row <= kRows; ++row)
    {
        sheet.setValue(1, row, "1");
        sheet.setFormula(2, row, "SUM($A$1:A" + std::to_string(row) + ")");
    }
    EXPECT_EQ(sheet.cellValueText(2, kRows), "2000");
    sheet.setValue(1, 1, "1001");
    EXPECT_EQ(sheet.cellValueText(2, 1), "1001");
    EXPECT_EQ(sheet.cellValueText(2, kRows), "3000");
    sheet.setValue(1, kRows, "");
    EXPECT_EQ(sheet.cellValueText(2, kRows), "2999");
    EXPECT_EQ(sheet.cellValueText(2, kRows - 1), "2999");
    // A formula replaced by a value stops listening to its range.
    sheet.setValue(2, 5, "0");
    sheet.setValue(1, 1, "1");
    EXPECT_EQ(sheet.cellValueText(2, 5), "0");
}

/// Collects what a range visit passes on.
class Collect final : public RangeVisitor
{
public:
    bool visit(int col, int row, const Value& value) override
    {
        seen += std::to_string(col) + "," + std::to_string(row) + "=" + valueText(value) + " ";
        return --budget != 0;
    }
    std::string seen;
    int budget = -1;
};

TEST(Sheet, RangeVisitsSeeStoredValuesColumnByColumn)
{
    Sheet sheet = sheetOf(3, kMaxRows);
    sheet.setValue(2, 70, "b70");
    sheet.setValue(2, 3, "b3");
    sheet.setValue(1, kMaxRows, "1");
    sheet.setCellType(1, 5, CellType::number(2)); // a cell without a value is left out
    sheet.setValue(3, 1, "c1");
    const std::string expected = "1,1048576=1 2,3=b3 2,70=b70 3,1=c1 ";
    for (const CellRange& range : {CellRange{1, 1, 3, kMaxRows}, CellRange{0, -5, 9, kMaxRows + 9}})
    {
        Collect all;
        EXPECT_TRUE(sheet.visitRange(range, all));
        EXPECT_EQ(all.seen, expected);
    }
    Collect near; // small enough to walk block by block
    EXPECT_TRUE(sheet.visitRange(CellRange{2, 1, 3, 100}, near));
    EXPECT_EQ(near.seen, "2,3=b3 2,70=b70 3,1=c1 ");
    Collect stop;
    stop.budget = 2;
    EXPECT_FALSE(sheet.visitRange(CellRange{2, 1, 3, 100}, stop));
    EXPECT_EQ(stop.seen, "2,3=b3 2,70=b70 ");

    sheet.setFormula(3, 2, "SUM(A1:B1048576)");
    EXPECT_EQ(sheet.cellValueText(3, 2), "1");
}

TEST(Sheet, CustomFunctionsResolveWhenRegisteredAfterTheFormula)
{
    Sheet sheet = sheetOf(1, 1);
    sheet.setFormula(1, 1, "LATER(4)");
    EXPECT_EQ(sheet.cellValueText(1, 1), "#NAME?");
    EXPECT_FALSE(sheet.addCustomFunction("", 0, 1, countCalls, 0));
    EXPECT_FALSE(sheet.addCustomFunction("LATER", 2, 1, countCalls, 0));
    ASSERT_TRUE(sheet.addCustomFunction("later", 1, 1, countCalls, 0));
    EXPECT_EQ(sheet.cellValueText(1, 1), "4");
    EXPECT_NE(sheet.findCustomFunction("LATER"), nullptr);
}

TEST(Sheet, SpansAreAddedFoundAndRemoved)
{
    Sheet sheet = sheetOf(5, 5);
    EXPECT_TRUE(sheet.addSpan(2, 2, 2, 3));
    EXPECT_FALSE(sheet.addSpan(3, 4, 2, 1)); // overlaps
    EXPECT_FALSE(sheet.addSpan(6, 1, 1, 1)); // anchor outside
    EXPECT_FALSE(sheet.addSpan(1, 1, 0, 1));
    EXPECT_TRUE(sheet.addSpan(2, 5, 10, 1)); // may reach beyond the last column
    Span span;
    ASSERT_TRUE(sheet.getSpan(3, 4, span));
    EXPECT_EQ(span, (Span{2, 2, 2, 3}));
    EXPECT_FALSE(sheet.getSpan(4, 4, span));
    EXPECT_TRUE(sheet.removeSpan(3, 3));
    EXPECT_FALSE(sheet.removeSpan(3, 3));
    EXPECT_EQ(sheet.spans().size(), 1u);

    EXPECT_FALSE(sheet.setSpans({{1, 1, 2, 2}, {2, 2, 1, 1}}));
    EXPECT_FALSE(sheet.setSpans({{1, 1, 1, 5}, {1, 4, 3, 1}}));
    EXPECT_EQ(sheet.spans().size(), 1u);
    EXPECT_TRUE(sheet.setSpans({{1, 1, 1, 5}, {2, 1, 3, 1}, {2, 2, 3, 1}}));
    EXPECT_EQ(sheet.spans().size(), 3u);
}

TEST(Sheet, InsertingAndDeletingRowsMovesCellsSpansFormatsAndReferences)
{
    Sheet sheet = sheetOf(3, 8);
    for (int row = 1; row <= 4; ++row)
        sheet.setValue(1, row, std::to_string(row));
    sheet.setFormula(2, 1, "SUM(A1:A4)");
    sheet.setFormula(3, 1, "A4*10");
    sheet.setData(kHeader, 3, "third");
    sheet.setCellType(1, 3, CellType::number(2));
    sheet.setRowHeight(3, 44);
    sheet.addSpan(2, 2, 1, 3); // rows 2 to 4
    sheet.addSpan(3, 6, 1, 1);

    ASSERT_TRUE(sheet.insertRows(3, 2));
    EXPECT_EQ(sheet.maxRows(), 8);
    EXPECT_EQ(sheet.cellFormulaText(2, 1), "SUM(A1:A6)");
    EXPECT_EQ(sheet.cellFormulaText(3, 1), "A6*10");
    EXPECT_EQ(sheet.cellValueText(2, 1), "10");
    EXPECT_EQ(sheet.cellValueText(3, 1), "40");
    EXPECT_EQ(sheet.cellDataText(1, 5), "3.00"); // value and number type moved together
    EXPECT_EQ(sheet.cellDataText(0, 5), "third");
    EXPECT_EQ(sheet.rowHeight(5), 44);
    EXPECT_EQ(sheet.rowHeight(3), Sheet::kDefaultRowHeight);
    EXPECT_EQ(sheet.spans()[0], (Span{2, 2, 1, 5})); // grew around the new rows
    EXPECT_EQ(sheet.spans()[1], (Span{3, 8, 1, 1}));

    // Would push A6 (4) out of the sheet: refused, nothing moves.
    EXPECT_FALSE(sheet.insertRows(1, 3));
    EXPECT_EQ(sheet.cellValueText(1, 6), "4");

    ASSERT_TRUE(sheet.deleteRows(2, 4)); // rows 2 to 5 (2, two inserted, 3)
    EXPECT_EQ(sheet.cellFormulaText(2, 1), "SUM(A1:A2)");
    EXPECT_EQ(sheet.cellValueText(2, 1), "5");
    EXPECT_EQ(sheet.cellValueText(1, 2), "4");
    EXPECT_EQ(sheet.spans()[0], (Span{2, 2, 1, 1})); // kept its row that survived
    EXPECT_EQ(sheet.spans()[1], (Span{3, 4, 1, 1}));

    sheet.setFormula(3, 3, "A2+1");
    ASSERT_TRUE(sheet.deleteRows(2, 1));
    EXPECT_EQ(sheet.cellValueText(3, 2), "#REF!");
    EXPECT_EQ(sheet.spans().size(), 1u);
}

TEST(Sheet, InsertingAndDeletingColumnsMovesHeadersAndWidths)
{
    Sheet sheet = sheetOf(4, 2);
    sheet.setData(2, kHeader, "B");
    sheet.setColumnWidth(2, 120);
    sheet.setValue(2, 1, "7");
    sheet.setFormula(1, 2, "B1+C1");
    ASSERT_TRUE(sheet.insertColumns(1));
    EXPECT_EQ(sheet.cellDataText(3, 0), "B");
    EXPECT_EQ(sheet.columnWidth(3), 120);
    EXPECT_EQ(sheet.cellFormulaText(2, 2), "C1+D1");
    EXPECT_EQ(sheet.cellValueText(2, 2), "7");
    ASSERT_TRUE(sheet.deleteColumns(1, 2));
    EXPECT_EQ(sheet.cellValueText(1, 1), "7");
    EXPECT_EQ(sheet.cellDataText(1, 0), "B");
}

TEST(Sheet, CopyKeepsRelativeOffsetsAndMoveKeepsTargets)
{
    Sheet sheet = sheetOf(4, 4);
    sheet.setValue(1, 1, "1");
    sheet.setValue(1, 2, "2");
    sheet.setFormula(2, 1, "A1*$A$1+10");
    sheet.setCellType(2, 1, CellType::number(1));
    sheet.setCellTag(2, 1, "t");
    ASSERT_TRUE(sheet.copyRange(2, 1, 2, 1, 2, 2));
    EXPECT_EQ(sheet.cellFormulaText(2, 2), "A2*$A$1+10");
    EXPECT_EQ(sheet.cellDataText(2, 2), "12.0");
    EXPECT_EQ(sheet.cellTag(2, 2), "t");

    ASSERT_TRUE(sheet.copyRange(1, 1, 1, 2, 3, 1, CellContent::Formats));
    EXPECT_EQ(sheet.cellDataText(3, 1), "");

    ASSERT_TRUE(sheet.moveRange(2, 1, 2, 2, 4, 3));
    EXPECT_EQ(sheet.cellFormulaText(4, 3), "A1*$A$1+10");
    EXPECT_EQ(sheet.cellFormulaText(4, 4), "A2*$A$1+10");
    EXPECT_EQ(sheet.cellValueText(4, 4), "12");
    EXPECT_FALSE(sheet.hasFormula(2, 1));
    EXPECT_EQ(sheet.cellTag(2, 1), "");
    sheet.setValue(1, 2, "5");
    EXPECT_EQ(sheet.cellValueText(4, 4), "15");

    // Overlapping ranges copy from what was there before.
    sheet.setValue(1, 3, "a");
    sheet.setValue(1, 4, "b");
    ASSERT_TRUE(sheet.copyRange(1, 1, 1, 3, 1, 2, CellContent::Data));
    EXPECT_EQ(sheet.cellValueText(1, 2), "1");
    EXPECT_EQ(sheet.cellValueText(1, 3), "5");
    EXPECT_EQ(sheet.cellValueText(1, 4), "a");
    EXPECT_FALSE(sheet.copyRange(1, 1, 1, 5, 2, 1));
}

TEST(Sheet, FormatsAreSharedAndFollowTheDefaultFont)
{
    Sheet sheet = sheetOf(3, 3);
    sheet.setFont(1, 1, 3, 1, Font{"Arial", 15, 700});
    sheet.setColors(2, 1, 2, 2, 0xFFD1A4, kDefaultColor);
    sheet.setBorder(3, 3, 3, 3, Border{31, 1, 0x8000000B});
    sheet.setLock(1, 2, 1, 2, true);
    EXPECT_EQ(sheet.cellFormat(1, 1).font, (Font{"Arial", 15, 700}));
    EXPECT_EQ(sheet.cellFormat(2, 1).font.face, "Arial");
    EXPECT_EQ(sheet.cellFormat(2, 1).background, 0xFFD1A4u);
    EXPECT_EQ(sheet.cellFormat(2, 2).font, sheet.defaultFont());
    EXPECT_EQ(sheet.cellFormat(3, 3).border, (Border{31, 1, 0x8000000B}));
    EXPECT_TRUE(sheet.cellFormat(1, 2).locked);

    sheet.setDefaultFont(Font{"Courier", 20, 400});
    EXPECT_EQ(sheet.cellFormat(3, 2).font.face, "Courier");
    EXPECT_EQ(sheet.cellFormat(1, 1).font.face, "Arial");
    EXPECT_EQ(sheet.cellFormat(9, 9).font.face, "Courier");
}

TEST(Sheet, TextExtentIsDeterministic)
{
    Sheet sheet = sheetOf(2, 1);
    sheet.setFont(1, 1, 1, 1, Font{"Tahoma", 20, 400});
    sheet.setData(1, 1, "abcd\nab");
    double width = 0, height = 0;
    ASSERT_TRUE(sheet.textExtent(1, 1, width, height));
    EXPECT_EQ(width, 50);  // 4 characters of 11 pixels and the margin
    EXPECT_EQ(height, 54); // two lines of 25 pixels and the margin
    sheet.setFont(1, 1, 1, 1, Font{"Tahoma", 20, 700});
    sheet.textExtent(1, 1, width, height);
    EXPECT_EQ(width, 54);
    ASSERT_TRUE(sheet.textExtent(2, 1, width, height));
    EXPECT_EQ(width, 0);
}

TEST(Sheet, ControlPropertiesAndTheChangesMadeFlag)
{
    Sheet sheet = sheetOf(2, 2);
    EXPECT_EQ(sheet.property(30), 0);
    sheet.setProperty(8, 0);
    EXPECT_FALSE(sheet.redraw());
    sheet.setValue(1, 1, "3");
    sheet.setFormula(2, 1, "A1+1");
    EXPECT_EQ(sheet.property(30), 1);
    sheet.setProperty(8, 1);
    EXPECT_EQ(sheet.cellValueText(2, 1), "4"); // nothing held back while redraw was off
    sheet.setProperty(30, 0);
    EXPECT_FALSE(sheet.changesMade());
    sheet.setColumnWidth(1, 80);
    EXPECT_TRUE(sheet.changesMade());

    sheet.setProperty(13, 1);
    EXPECT_EQ(sheet.property(13), 1);
    EXPECT_EQ(sheet.property(21), 0);

    int col = 0, row = 0;
    EXPECT_FALSE(sheet.activeCell(col, row));
    EXPECT_TRUE(sheet.setActiveCell(2, 2));
    EXPECT_FALSE(sheet.setActiveCell(3, 1));
    ASSERT_TRUE(sheet.activeCell(col, row));
    EXPECT_EQ(col, 2);
    sheet.setEditSelection(3, 1);
    int start = 0, end = 0;
    sheet.editSelection(start, end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 3);
}

TEST(Sheet, ClearRangeRemovesEntriesOrFormats)
{
    Sheet sheet = sheetOf(2, 2);
    sheet.setCellType(1, 1, 2, 2, CellType::number(2));
    sheet.setValue(1, 1, "1");
    sheet.setFormula(2, 2, "A1+1");
    sheet.setFormula(2, 1, "B2*2");
    ASSERT_TRUE(sheet.clearRange(1, 1, 1, 2));
    EXPECT_EQ(sheet.cellValueText(2, 2), "1");
    EXPECT_EQ(sheet.cellValueText(2, 1), "2");
    EXPECT_EQ(sheet.cellTypeCode(1, 1), 14);
    ASSERT_TRUE(sheet.clearRange(1, 1, 2, 2, CellContent::Formats));
    EXPECT_EQ(sheet.cellTypeCode(2, 1), 0);
    EXPECT_TRUE(sheet.hasFormula(2, 1));
    ASSERT_TRUE(sheet.clearRange(kHeader, kHeader, 5, 5, CellContent::All));
    EXPECT_EQ(sheet.cellCount(), 0u);
}
} // namespace
} // namespace grid

namespace grid
{
// Spans added row after row below all others skip the overlap search; every other way the
// spans change must still leave an overlapping span refused.
TEST(Sheet, SpansAddedBelowOthersAndMovedSpansStillRefuseOverlaps)
{
    Sheet sheet = sheetOf(6, 100);
    for (int row = 1; row <= 20; ++row)
        ASSERT_TRUE(sheet.addSpan(1, row, 2, 1)) << row;
    EXPECT_FALSE(sheet.addSpan(2, 20, 2, 1));
    ASSERT_TRUE(sheet.addSpan(4, 3, 2, 5)); // beside the others, reaching row 7
    EXPECT_FALSE(sheet.addSpan(5, 7, 1, 1));
    ASSERT_TRUE(sheet.insertRows(2, 25)); // the span of row 20 moves to row 45
    EXPECT_FALSE(sheet.addSpan(1, 45, 1, 1));
    EXPECT_TRUE(sheet.addSpan(1, 46, 1, 1));
    ASSERT_TRUE(sheet.removeSpan(1, 46));
    ASSERT_TRUE(sheet.setSpans({Span{3, 30, 1, 10}}));
    EXPECT_FALSE(sheet.addSpan(1, 39, 3, 1));
    EXPECT_TRUE(sheet.addSpan(1, 40, 3, 1));
}
} // namespace grid
