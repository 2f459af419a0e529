#include "standards/ZxVarCell.h"

#include <gtest/gtest.h>

TEST(ZxVarCell, RecognisesDeclarationsByTypeWordPrefix)
{
    struct Case
    {
        const char* text;
        bool accepted;
        ZxValueType type;
        const char* name;
    } cases[] = {
        {"Double WidthOfPlate", true, valDouble, "WidthOfPlate"},
        {"  Int   Count  ", true, valInt, "  Count"},
        {"Integer Count", true, valInt, "Count"},
        {"Doubles y", true, valDouble, "y"},
        {"string Name", true, valString, "Name"},
        {"String", true, valString, ""},
        {"Int\tTab", true, valInt, "Tab"},
        {"StringWithoutBlank", true, valString, ""},
        {"Count", false, valNone, ""},
        {"", false, valNone, ""},
        {"In t", false, valNone, ""},
        {"12.5", false, valNone, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        ZxVarCell cell;
        cell.value = "kept";
        const Acad::ErrorStatus status = cell.initializeFromText(c.text, 4, 7, cellOutput);
        if (!c.accepted)
        {
            EXPECT_EQ(status, Acad::eInvalidInput);
            EXPECT_EQ(cell.col, 0);
            EXPECT_EQ(cell.cellType, cellInput);
            continue;
        }
        ASSERT_EQ(status, Acad::eOk);
        EXPECT_EQ(cell.valueType, c.type);
        EXPECT_EQ(cell.name, c.name);
        EXPECT_EQ(cell.col, 4);
        EXPECT_EQ(cell.row, 7);
        EXPECT_TRUE(cell.isOutput());
        EXPECT_FALSE(cell.isInput() || cell.isLocal());
        EXPECT_EQ(cell.value, "kept");
    }
}
