#include "grid/formula/Formula.h"

#include <gtest/gtest.h>
#include <string>

namespace grid
{
namespace
{
/// The formula `text` in (col, row) after the shift, printed where it lands.
std::string shifted(const char* text, int col, int row, const Shift& shift)
{
    ParseResult parsed = parseFormula(text, col, row);
    EXPECT_TRUE(parsed.formula) << text;
    if (!parsed.formula)
        return {};
    int newCol = col, newRow = row;
    int& moving = shift.rows ? newRow : newCol;
    if (moving >= shift.at)
        moving += shift.count;
    auto result = shiftFormula(*parsed.formula, col, row, newCol, newRow, shift);
    return formulaText(result ? *result : *parsed.formula, newCol, newRow, ReferenceStyle::A1);
}

TEST(ShiftTest, InsertedRowsMoveReferencesAtOrAfterThem)
{
    const Shift insert{true, 3, 2}; // two rows before row 3
    struct Case
    {
        const char* formula;
        const char* after;
    };
    const Case cases[] = {
        {"A1+A2", "A1+A2"},
        {"A3", "A5"},
        {"$A$4*A10", "$A$6*A12"},
        {"SUM(A1:A4)", "SUM(A1:A6)"},
        {"SUM(A3:B4)", "SUM(A5:B6)"},
        {"SUM(A6:A2)", "SUM(A8:A2)"},
        {"C5", "C7"},
        {"A1048575", "#REF!"},
        {"SUM(A1:A1048575)", "SUM(#REF!)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shifted(c.formula, 3, 5, insert), c.after) << c.formula;
}

TEST(ShiftTest, DeletedRowsBreakReferencesIntoThemAndShrinkRanges)
{
    const Shift remove{true, 3, -2}; // rows 3 and 4 go
    struct Case
    {
        const char* formula;
        const char* after;
    };
    const Case cases[] = {
        {"A2", "A2"},
        {"A3+1", "#REF!+1"},
        {"A4", "#REF!"},
        {"A5", "A3"},
        {"$A$9", "$A$7"},
        {"SUM(A2:A6)", "SUM(A2:A4)"},
        {"SUM(A3:A4)", "SUM(#REF!)"},
        {"SUM(A3:A7)", "SUM(A3:A5)"},
        {"SUM(A1:A3)", "SUM(A1:A2)"},
        {"SUM(A4:A1)", "SUM(A2:A1)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shifted(c.formula, 6, 10, remove), c.after) << c.formula;
}

TEST(ShiftTest, ColumnsShiftTheSameWay)
{
    EXPECT_EQ(shifted("A1+C1+SUM(B1:D1)", 1, 5, Shift{false, 2, 1}), "A1+D1+SUM(C1:E1)");
    EXPECT_EQ(shifted("A1+C1+SUM(B1:D1)", 1, 5, Shift{false, 2, -1}), "A1+B1+SUM(B1:C1)");
    EXPECT_EQ(shifted("B1", 1, 5, Shift{false, 2, -1}), "#REF!");
}

TEST(ShiftTest, WholeColumnsAndRowsMoveOnlyAcross)
{
    // Rows coming or going leave whole columns whole; columns move them like any range.
    EXPECT_EQ(shifted("SUM(B:C)+SUM(2:3)", 5, 5, Shift{true, 1, 2}), "SUM(B:C)+SUM(4:5)");
    EXPECT_EQ(shifted("SUM(B:C)+SUM(2:3)", 5, 5, Shift{false, 1, 1}), "SUM(C:D)+SUM(2:3)");
    EXPECT_EQ(shifted("SUM($B:$C)", 5, 5, Shift{false, 2, -1}), "SUM($B:$B)");
    EXPECT_EQ(shifted("SUM(B:B)", 5, 5, Shift{false, 2, -1}), "SUM(#REF!)");
    EXPECT_EQ(shifted("SUM(3:3)", 5, 5, Shift{true, 3, -1}), "SUM(#REF!)");
}

TEST(ShiftTest, ReportsWhenNothingChanges)
{
    auto parsed = parseFormula("A1+$B$2+C9", 3, 5);
    ASSERT_TRUE(parsed.formula);
    // Rows inserted below everything, or no rows at all.
    EXPECT_FALSE(shiftFormula(*parsed.formula, 3, 5, 3, 5, Shift{true, 10, 5}));
    EXPECT_FALSE(shiftFormula(*parsed.formula, 3, 5, 3, 5, Shift{true, 1, 0}));
    // Rows inserted above everything: cell and references move together, and the stored
    // form, relative to the cell, stays as it is.
    auto relative = parseFormula("A1+C9", 3, 5);
    ASSERT_TRUE(relative.formula);
    EXPECT_FALSE(shiftFormula(*relative.formula, 3, 5, 3, 6, Shift{true, 1, 1}));
    EXPECT_EQ(formulaText(*relative.formula, 3, 6, ReferenceStyle::A1), "A2+C10");
    // An absolute reference moves on its own.
    auto absolute = shiftFormula(*parsed.formula, 3, 5, 3, 6, Shift{true, 1, 1});
    ASSERT_TRUE(absolute);
    EXPECT_EQ(formulaText(*absolute, 3, 6, ReferenceStyle::A1), "A2+$B$3+C10");
    // The cell moves, what it reads stays: the stored offsets change.
    auto moved = shiftFormula(*parsed.formula, 3, 5, 3, 8, Shift{true, 5, 3});
    ASSERT_TRUE(moved);
    EXPECT_EQ(formulaText(*moved, 3, 8, ReferenceStyle::A1), "A1+$B$2+C12");
}

TEST(ShiftTest, ShiftedFormulasEvaluateAgainstTheirNewCells)
{
    ParseResult parsed = parseFormula("A3*2", 2, 5);
    ASSERT_TRUE(parsed.formula);
    auto moved = shiftFormula(*parsed.formula, 2, 5, 2, 6, Shift{true, 4, 1});
    ASSERT_TRUE(moved);
    EXPECT_EQ(formulaReferences(*moved, 2, 6), (std::vector<CellRange>{{1, 3, 1, 3}}));
    // The original is untouched (formulas are shared between cells).
    EXPECT_EQ(formulaText(*parsed.formula, 2, 5, ReferenceStyle::A1), "A3*2");
}
} // namespace
} // namespace grid
