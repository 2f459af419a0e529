#include "grid/Sheet.h"

#include <gtest/gtest.h>

namespace grid
{
namespace
{
Sheet sheetOf(int cols, int rows)
{
    Sheet sheet;
    sheet.setMaxCols(cols);
    sheet.setMaxRows(rows);
    return sheet;
}

TEST(Sheet, SetFormulaCalculatesAtOnceAndDependentsFollow)
{
    Sheet sheet = sheetOf(3, 3);
    ASSERT_TRUE(sheet.setValue(1, 1, "2"));
    ASSERT_TRUE(sheet.setFormula(2, 1, "=A1*10"));
    EXPECT_EQ(sheet.cellValueText(2, 1), "20");
    sheet.setValue(1, 1, "3.5");
    EXPECT_EQ(sheet.cellValueText(2, 1), "35");
    EXPECT_EQ(sheet.cellFormulaText(2, 1), "A1*10");
}
} // namespace
} // namespace grid
