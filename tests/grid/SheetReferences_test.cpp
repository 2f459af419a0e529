// Reference-valued formulas on a real sheet: INDIRECT and OFFSET recalculate at every change,
// ranges built with ':' follow the cells between their ends, ISFORMULA and FORMULATEXT follow
// their cells, and all of them survive inserted and deleted rows and columns and a file.

#include "grid/Sheet.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace grid
{
namespace
{
Sheet sheetSized(int cols, int rows)
{
    Sheet sheet;
    sheet.setMaxCols(cols);
    sheet.setMaxRows(rows);
    return sheet;
}

TEST(SheetReferences, IndirectAndOffsetFollowCellsNoReferenceNames)
{
    Sheet sheet = sheetSized(6, 10);
    sheet.setNumber(1, 1, 1);
    sheet.setNumber(3, 1, 1);
    ASSERT_TRUE(sheet.setFormula(2, 1, "INDIRECT(\"A\"&C1)"));
    ASSERT_TRUE(sheet.setFormula(2, 2, "SUM(OFFSET(A1,0,0,C1,1))"));
    EXPECT_EQ(sheet.cellValueText(2, 1), "1");
    sheet.setNumber(1, 2, 5);
    sheet.setNumber(3, 1, 2);
    EXPECT_EQ(sheet.cellValueText(2, 1), "5");
    EXPECT_EQ(sheet.cellValueText(2, 2), "6");
    // A2 is named by no reference of either formula; they are calculated all the same.
    sheet.setNumber(1, 2, 6);
    EXPECT_EQ(sheet.cellValueText(2, 1), "6");
    EXPECT_EQ(sheet.cellValueText(2, 2), "7");
    {
        Sheet::Batch batch(sheet);
        sheet.setNumber(1, 2, 8);
        EXPECT_EQ(sheet.cellValueText(2, 1), "8");
    }
    EXPECT_EQ(sheet.cellValueText(2, 2), "9");
}

TEST(SheetReferences, VolatileFormulasReadFormulaCellsAfterTheyAreCalculated)
{
    // B1 reads A5 through INDIRECT, and A5 changes with A1 in the same calculation: B1 and
    // what reads it must see A5's new value.
    Sheet sheet = sheetSized(4, 6);
    sheet.setNumber(1, 1, 1);
    ASSERT_TRUE(sheet.setFormula(1, 5, "A1*2"));
    ASSERT_TRUE(sheet.setFormula(2, 1, "INDIRECT(\"A5\")"));
    ASSERT_TRUE(sheet.setFormula(3, 1, "B1+A1"));
    ASSERT_TRUE(sheet.setFormula(4, 1, "A5+B1"));
    sheet.setNumber(1, 1, 3);
    EXPECT_EQ(sheet.cellValueText(1, 5), "6");
    EXPECT_EQ(sheet.cellValueText(2, 1), "6");
    EXPECT_EQ(sheet.cellValueText(3, 1), "9");
    EXPECT_EQ(sheet.cellValueText(4, 1), "12");
    // Once the formulas go, changes no longer calculate them.
    sheet.setData(2, 1, "x");
    sheet.setData(2, 2, "");
    sheet.setNumber(1, 1, 4);
    EXPECT_EQ(sheet.cellValueText(2, 1), "x");
    EXPECT_EQ(sheet.cellValueText(3, 1), "#VALUE!");
}

TEST(SheetReferences, ABuiltRangeSeesChangesBetweenItsEnds)
{
    Sheet sheet = sheetSized(3, 10);
    for (int row = 1; row <= 9; ++row)
        sheet.setNumber(1, row, 1);
    // A1:A7, though only A1:A3 and A7:A9 are written.
    ASSERT_TRUE(sheet.setFormula(2, 1, "SUM(INDEX(A1:A3,1):INDEX(A7:A9,1))"));
    EXPECT_EQ(sheet.cellValueText(2, 1), "7");
    sheet.setNumber(1, 5, 10);
    EXPECT_EQ(sheet.cellValueText(2, 1), "16");
}

TEST(SheetReferences, FormulaInformationFollowsTheCell)
{
    Sheet sheet = sheetSized(3, 3);
    ASSERT_TRUE(sheet.setFormula(2, 1, "ISFORMULA(A1)"));
    ASSERT_TRUE(sheet.setFormula(3, 1, "FORMULATEXT(A1)"));
    EXPECT_EQ(sheet.cellValueText(2, 1), "FALSE");
    EXPECT_EQ(sheet.cellValueText(3, 1), "#N/A");
    ASSERT_TRUE(sheet.setFormula(1, 1, "=SUM( B2:B3 ) + 1"));
    EXPECT_EQ(sheet.cellValueText(2, 1), "TRUE");
    EXPECT_EQ(sheet.cellValueText(3, 1), "=SUM(B2:B3)+1");
    // In an R1C1 sheet the text is R1C1.
    sheet.setReferenceStyle(ReferenceStyle::R1C1);
    sheet.recalcAll();
    EXPECT_EQ(sheet.cellValueText(3, 1), "=SUM(R[1]C[1]:R[2]C[1])+1");
    sheet.setNumber(1, 1, 2);
    EXPECT_EQ(sheet.cellValueText(2, 1), "FALSE");
    EXPECT_EQ(sheet.cellValueText(3, 1), "#N/A");
}

TEST(SheetReferences, InsertedAndDeletedRowsAndColumnsKeepTheFormulasWorking)
{
    Sheet sheet = sheetSized(8, 20);
    for (int row = 1; row <= 9; ++row)
    {
        sheet.setNumber(1, row, row);
        sheet.setNumber(3, row, 10 * row);
    }
    ASSERT_TRUE(sheet.setFormula(5, 1, "SUM(A1:INDEX(A1:A9,3))"));
    ASSERT_TRUE(sheet.setFormula(5, 2, "SUM((A1,C1:C3))"));
    ASSERT_TRUE(sheet.setFormula(5, 3, "SUM(A1:C3 C2:D4)"));
    ASSERT_TRUE(sheet.setFormula(5, 4, "SUM(OFFSET(A1,1,2,2,1))"));
    ASSERT_TRUE(sheet.setFormula(5, 5, "INDIRECT(\"A2\")+AREAS((A1,C1))"));
    auto values = [&]
    {
        std::string out;
        for (int row = 1; row <= 5; ++row)
            out += sheet.cellValueText(5, row) + " ";
        return out;
    };
    EXPECT_EQ(values(), "6 61 50 50 4 ");

    ASSERT_TRUE(sheet.insertRows(2, 2));
    EXPECT_EQ(sheet.cellFormulaText(5, 1), "SUM(A1:INDEX(A1:A11,3))");
    EXPECT_EQ(sheet.cellFormulaText(5, 4), "SUM((A1,C1:C5))");
    EXPECT_EQ(sheet.cellFormulaText(5, 5), "SUM(A1:C5 C4:D6)");
    EXPECT_EQ(sheet.cellFormulaText(5, 6), "SUM(OFFSET(A1,1,2,2,1))");
    // INDIRECT's text names A2 whatever moves, as in every spreadsheet.
    EXPECT_EQ(sheet.cellFormulaText(5, 7), "INDIRECT(\"A2\")+AREAS((A1,C1))");
    EXPECT_EQ(sheet.cellValueText(5, 1), "1");  // A1 + two empty rows
    EXPECT_EQ(sheet.cellValueText(5, 4), "61"); // the union keeps its cells
    EXPECT_EQ(sheet.cellValueText(5, 5), "50");
    EXPECT_EQ(sheet.cellValueText(5, 6), "0"); // C2:C3 are the new empty rows
    EXPECT_EQ(sheet.cellValueText(5, 7), "2");
    // The moved volatile cell is still calculated at every change.
    sheet.setNumber(1, 2, 7);
    EXPECT_EQ(sheet.cellValueText(5, 7), "9");

    ASSERT_TRUE(sheet.deleteRows(1, 3));
    EXPECT_EQ(sheet.cellFormulaText(5, 1), "SUM((#REF!,C1:C2))");
    EXPECT_EQ(sheet.cellValueText(5, 1), "#REF!");
    EXPECT_EQ(sheet.cellFormulaText(5, 2), "SUM(A1:C2 C1:D3)");
    EXPECT_EQ(sheet.cellValueText(5, 2), "50");

    ASSERT_TRUE(sheet.deleteColumns(2, 1));
    EXPECT_EQ(sheet.cellFormulaText(4, 2), "SUM(A1:B2 B1:C3)");
    EXPECT_EQ(sheet.cellValueText(4, 2), "50");
    ASSERT_TRUE(sheet.insertColumns(1, 1));
    EXPECT_EQ(sheet.cellFormulaText(5, 2), "SUM(B1:C2 C1:D3)");
    EXPECT_EQ(sheet.cellValueText(5, 2), "50");
    EXPECT_EQ(sheet.cellFormulaText(5, 3), "SUM(OFFSET(#REF!,1,2,2,1))");
    EXPECT_EQ(sheet.cellValueText(5, 3), "#REF!");
}

TEST(SheetReferences, FormulasWithReferenceOperatorsSurviveAFile)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("kaldor-sheet-references-" + std::to_string(::getpid()) + ".zxs");
    Sheet sheet = sheetSized(6, 6);
    sheet.setNumber(1, 1, 2);
    sheet.setNumber(1, 2, 3);
    const char* formulas[] = {"SUM(A1:INDEX(A1:A5,2))", "SUM((A1,A2) A1)", "A1:B2 A2:C3",
                              "OFFSET(A1,1,0)*INDIRECT(\"R1C1\",FALSE)", "ISFORMULA(B1)&FORMULATEXT(B1)"};
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(sheet.setFormula(2, i + 1, formulas[i])) << formulas[i];
    ASSERT_TRUE(sheet.saveFile(path.string()));
    Sheet loaded;
    ASSERT_TRUE(loaded.loadFile(path.string()));
    std::filesystem::remove(path);
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(loaded.cellFormulaText(2, i + 1), sheet.cellFormulaText(2, i + 1));
        EXPECT_EQ(loaded.cellValueText(2, i + 1), sheet.cellValueText(2, i + 1));
    }
    EXPECT_EQ(loaded.cellValueText(2, 1), "5");
    EXPECT_EQ(loaded.cellValueText(2, 4), "6");
    EXPECT_EQ(loaded.cellValueText(2, 5), "TRUE=SUM(A1:INDEX(A1:A5,2))");
}
} // namespace
} // namespace grid
