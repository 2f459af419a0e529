// Formulas the fuzzer found to change on their way between the reference styles.

#include "grid/Sheet.h"
#include "grid/SheetFile.h"
#include "grid/formula/Formula.h"

#include <gtest/gtest.h>

namespace grid
{
namespace
{
// A sheet keeps its formulas in A1 style in its file. A name that is an A1 reference,
// typed in R1C1 style, came back from the file as that reference, with another value; a
// name that is an R1C1 reference did the same when a formula was shown in R1C1 style.
TEST(FormulaRegression, NamesThatAreReferencesInTheOtherStyleDoNotParse)
{
    struct Case
    {
        const char* text;
        ReferenceStyle style;
        const char* word;
    };
    const Case refused[] = {
        {"T(B1)", ReferenceStyle::R1C1, "B1"},
        {"xfd1048576+1", ReferenceStyle::R1C1, "xfd1048576"},
        {"SUM(1,AB12)", ReferenceStyle::R1C1, "AB12"},
        {"T(R1C1)", ReferenceStyle::A1, "R1C1"},
        {"rc*2", ReferenceStyle::A1, "rc"},
        {"1+R2C", ReferenceStyle::A1, "R2C"},
    };
    for (const Case& c : refused)
    {
        const ParseResult result = parseFormula(c.text, 2, 2, c.style);
        EXPECT_FALSE(result.formula) << c.text;
        EXPECT_NE(result.error.find(std::string("Invalid name '") + c.word + "'"), std::string::npos)
            << c.text << " gave: " << result.error;
    }
    // Names that are no reference in either style still parse (and give #NAME?), and the
    // references of each style still read as references.
    for (const char* text : {"Width*2", "XFE1", "R1C1X", "Plate.Gap", "RC1.5"})
        for (ReferenceStyle style : {ReferenceStyle::A1, ReferenceStyle::R1C1})
            EXPECT_TRUE(parseFormula(text, 2, 2, style).formula) << text;
    EXPECT_TRUE(parseFormula("B1+RC1", 2, 2, ReferenceStyle::A1).formula);
    EXPECT_TRUE(parseFormula("R1C1+RC[-1]", 2, 2, ReferenceStyle::R1C1).formula);
}

TEST(FormulaRegression, SheetInR1C1StyleKeepsItsValuesThroughItsFile)
{
    Sheet sheet;
    sheet.setMaxCols(3);
    sheet.setMaxRows(3);
    sheet.setReferenceStyle(ReferenceStyle::R1C1);
    sheet.setData(2, 1, "apple");
    EXPECT_FALSE(sheet.setFormula(3, 3, "T(B1)"));
    EXPECT_FALSE(sheet.hasFormula(3, 3));
    ASSERT_TRUE(sheet.setFormula(3, 3, "T(R1C2)&LEN(Unknown)"));

    Sheet loaded;
    FileError error;
    ASSERT_TRUE(readSheetText(writeSheetText(sheet), loaded, error)) << error.message;
    EXPECT_EQ(loaded.cellFormulaText(3, 3), "T(R1C2)&LEN(Unknown)");
    EXPECT_EQ(loaded.cellValueText(3, 3), sheet.cellValueText(3, 3));
    EXPECT_EQ(loaded.cellValueText(3, 3), "#NAME?");
}
// Each cell joining the one above to itself doubled the text: forty lines of a sheet file
// asked for terabytes. Joined texts are limited to what a cell holds, as in spreadsheets.
TEST(FormulaRegression, JoinedTextsStopAtTheLongestCellText)
{
    std::string text = "KALDOR-SHEET 1\nsize\t2\t40\nformula\t1\t1\tREPT(\"x\",32767)\n";
    for (int row = 2; row <= 40; ++row)
        text += "formula\t1\t" + std::to_string(row) + "\tA" + std::to_string(row - 1) + "&A" +
                std::to_string(row - 1) + "\n";
    text += "end\n";
    Sheet sheet;
    FileError error;
    ASSERT_TRUE(readSheetText(text, sheet, error)) << error.message;
    EXPECT_EQ(sheet.cellValueText(1, 1).size(), 32767u);
    EXPECT_EQ(sheet.cellValueText(1, 2), "#VALUE!");
    EXPECT_EQ(sheet.cellValueText(1, 40), "#VALUE!");

    ASSERT_TRUE(sheet.setFormula(2, 1, "REPT(\"ab\",16383)&\"c\""));
    EXPECT_EQ(sheet.cellValueText(2, 1).size(), 32767u);
    ASSERT_TRUE(sheet.setFormula(2, 1, "REPT(\"ab\",16383)&\"cd\""));
    EXPECT_EQ(sheet.cellValueText(2, 1), "#VALUE!");
    ASSERT_TRUE(sheet.setFormula(2, 1, "1&2.5&TRUE"));
    EXPECT_EQ(sheet.cellValueText(2, 1), "12.5TRUE");
}
} // namespace
} // namespace grid
