#include "spread/Kdr_Spread.h"
#include "standards/ZxVarCells.h"

#include <gtest/gtest.h>

namespace
{
/// A hidden grid filled row by row with the given texts.
class Sheet
{
public:
    Sheet(std::initializer_list<std::vector<const char*>> rows, int cols = 4)
    {
        EXPECT_TRUE(spread.createHidden());
        spread.setMaxCols(cols, false);
        spread.setMaxRows(static_cast<int>(rows.size()), false);
        int row = 1;
        for (const auto& texts : rows)
        {
            int col = 1;
            for (const char* text : texts)
                spread.setCellText(col++, row, text);
            ++row;
        }
    }
    Kdr_String value(int col, int row)
    {
        Kdr_String text;
        EXPECT_TRUE(spread.getCellText(col, row, text, ctkValue));
        return text;
    }
    Kdr_Spread spread;
};

/// "name:type@col,row:kind" for every cell, in collection order.
std::vector<std::string> listing(const ZxVarCells& cells)
{
    static const char* kinds[] = {"in", "out", "local"};
    std::vector<std::string> lines;
    for (int i = 0; i < cells.length(); ++i)
    {
        const ZxVarCell& c = cells[i];
        lines.push_back(c.name + ":" + std::to_string(c.valueType) + "@" + std::to_string(c.col) + "," +
                        std::to_string(c.row) + ":" + kinds[c.cellType]);
    }
    return lines;
}

using Lines = std::vector<std::string>;
} // namespace

TEST(CollectVarCells, BlocksInOrderWithTheHeadingRowInTheBlockAbove)
{
    Sheet sheet({
        {"Input"},
        {"Double Width", "Integer Count", "Count"},
        {"String", "", "Doubles y"},
        {"Output", "Double Area"}, // the Output heading's row still belongs to the Input block
        {"Double Volume", "12.5"},
        {"Local"},
        {"Int i"},
        {"Calc", "String s"},
        {"Double belowCalc"},
    });
    ZxVarCells cells;
    cells.append(ZxVarCell());
    cells.mapping().setMode(mapFile);
    ASSERT_EQ(cells.collectFromSheet(sheet.spread), Acad::eOk);
    EXPECT_EQ(listing(cells), (Lines{"Width:1@1,2:in", "Count:0@2,2:in", ":2@1,3:in", "y:1@3,3:in",
                                     "Area:1@2,4:in", "Volume:1@1,5:out", "i:0@1,7:local", "s:2@2,8:local"}));
    EXPECT_EQ(cells.mapping().mode(), mapFile);
    for (int i = 0; i < cells.length(); ++i)
        EXPECT_TRUE(cells[i].value.isEmpty());
}

TEST(CollectVarCells, HeadingsInAnyOrder)
{
    // Output above Input: each block ends at the next heading below it.
    Sheet upsideDown({{"Output"}, {"Double o"}, {"Input"}, {"Double i"}, {"Calc"}, {"Double c"}});
    ZxVarCells cells;
    ASSERT_EQ(cells.collectFromSheet(upsideDown.spread), Acad::eOk);
    EXPECT_EQ(listing(cells), (Lines{"i:1@1,4:in", "o:1@1,2:out"}));

    // Input in row 2, Output in row 10: rows 3 to 10 are Input rows. No Local, no Calc: the
    // Output block runs to the last row.
    Sheet spaced({{""},
                  {"Input"},
                  {"Int a"},
                  {""},
                  {""},
                  {""},
                  {""},
                  {""},
                  {""},
                  {"Output", "Int b"},
                  {"Int c"},
                  {""},
                  {"", "", "", "String d"}});
    ASSERT_EQ(cells.collectFromSheet(spaced.spread), Acad::eOk);
    EXPECT_EQ(listing(cells), (Lines{"a:0@1,3:in", "b:0@2,10:in", "c:0@1,11:out", "d:2@4,13:out"}));
}

TEST(CollectVarCells, InputAndOutputHeadingsAreRequired)
{
    Sheet noOutput({{"Input"}, {"Int a"}, {"Local"}, {"Int l"}});
    ZxVarCells cells;
    EXPECT_EQ(cells.collectFromSheet(noOutput.spread), Acad::eInvalidInput);
    EXPECT_EQ(listing(cells), (Lines{"a:0@1,2:in"}));

    Sheet noInput({{"Output"}, {"Int a"}});
    EXPECT_EQ(cells.collectFromSheet(noInput.spread), Acad::eInvalidInput);
    EXPECT_EQ(cells.length(), 0);

    Kdr_Spread notCreated;
    EXPECT_EQ(cells.collectFromSheet(notCreated), Acad::eInvalidInput);
    ZxVarCell cell;
    EXPECT_EQ(cell.initialize(notCreated, 1, 1, cellInput), Acad::eInvalidInput);
}

TEST(VarCellValues, WrittenByTypeAndReadBack)
{
    Sheet sheet({{"Input"}, {"Int n", "Double d", "String s"}, {"Output"}, {"Double out", "Int count"}});
    ZxVarCells cells;
    ASSERT_EQ(cells.collectFromSheet(sheet.spread), Acad::eOk);
    ASSERT_EQ(cells.length(), 5);
    const char* values[] = {"3", "2.123456789", "S235", "4.5", "7"};
    for (int i = 0; i < 5; ++i)
        cells[i].value = values[i];
    ASSERT_EQ(cells.setValuesToSS(sheet.spread), Acad::eOk);

    const grid::CellType& intType = sheet.spread.sheet().cellType(1, 2);
    EXPECT_EQ(intType.kind, grid::CellType::Kind::Number);
    EXPECT_EQ(intType.decimals, 0);
    EXPECT_FALSE(intType.thousands);
    const grid::CellType& doubleType = sheet.spread.sheet().cellType(2, 2);
    EXPECT_EQ(doubleType.kind, grid::CellType::Kind::Number);
    EXPECT_EQ(doubleType.decimals, 7);
    const grid::CellType& textType = sheet.spread.sheet().cellType(3, 2);
    EXPECT_EQ(textType.kind, grid::CellType::Kind::Text);
    EXPECT_EQ(textType.style, 0);
    EXPECT_EQ(textType.maxLength, 9999);
    EXPECT_EQ(sheet.value(1, 2), "3");
    EXPECT_EQ(sheet.value(2, 2), "2.1234568");
    EXPECT_EQ(sheet.value(3, 2), "S235");

    // Only Output cells are read back.
    sheet.spread.setCellValue(1, 2, Kdr_String("9"));
    sheet.spread.setCellValue(1, 4, Kdr_String("6.25"));
    ASSERT_EQ(cells.getValuesFromSS(sheet.spread), Acad::eOk);
    EXPECT_EQ(cells[0].value, "3");
    EXPECT_EQ(cells[3].value, "6.25");
    EXPECT_EQ(cells[4].value, "7");

    ZxVarCell copy;
    copy.col = 3;
    copy.row = 4;
    copy.valueType = valString;
    ASSERT_EQ(copy.setValueFromOther(sheet.spread, cells[2]), Acad::eOk);
    EXPECT_EQ(copy.value, "S235");
    EXPECT_EQ(sheet.value(3, 4), "S235");
}

TEST(VarCellValues, MovesStopAtTheFirstCellOutsideTheSheet)
{
    Sheet sheet({{"Input"}, {"Int a"}, {"Output"}, {"Int b", "Int c"}});
    ZxVarCells cells;
    ASSERT_EQ(cells.collectFromSheet(sheet.spread), Acad::eOk);
    ASSERT_EQ(cells.length(), 3);
    cells[0].value = "1";
    cells[1].value = "2";
    cells[1].col = 40; // beyond the last column
    cells[2].value = "3";
    EXPECT_EQ(cells.setValuesToSS(sheet.spread), Acad::eInvalidInput);
    EXPECT_EQ(sheet.value(1, 2), "1");
    EXPECT_EQ(sheet.value(2, 4), "Int c");

    cells[2].value = "old";
    EXPECT_EQ(cells.getValuesFromSS(sheet.spread), Acad::eInvalidInput);
    EXPECT_EQ(cells[2].value, "old");
    cells[1].col = 1;
    EXPECT_EQ(cells.getValuesFromSS(sheet.spread), Acad::eOk);
    EXPECT_EQ(cells[1].value, "Int b");
    EXPECT_EQ(cells[2].value, "Int c");
}
