#include "grid/CellStore.h"
#include "grid/Csv.h"
#include "grid/Sheet.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

using namespace grid;

TEST(CellText, KeepsEveryLengthAndByteAcrossTheInPlaceLimit)
{
    // Seven bytes fit in the record, eight take a block; both must read back exactly,
    // zero bytes included.
    const std::vector<std::string> texts = {
        "",         "a",         std::string("a\0b", 3), "1234567",
        "12345678", "HEA 100 x", std::string(300, 'x'),  std::string(7, '\0')};
    for (const std::string& text : texts)
    {
        CellText kept(text);
        EXPECT_EQ(kept.view(), text) << text.size();
        EXPECT_EQ(kept.empty(), text.empty());
        EXPECT_EQ(kept.str(), text);
    }
}

TEST(CellText, CopiesOutliveTheOriginalAndAssignmentFromItselfIsSafe)
{
    CellText copy;
    {
        CellText original(std::string(40, 'q') + "end");
        copy = original;
        CellText moved(std::move(original));
        EXPECT_TRUE(original.empty()); // NOLINT: a moved-from text is empty
        EXPECT_EQ(moved, copy);
    }
    EXPECT_EQ(copy.view(), std::string(40, 'q') + "end");

    // A part of the text given back to it: the block it points into must not go first.
    copy = copy.view().substr(38);
    EXPECT_EQ(copy.view(), "qqend");
    CellText longer(std::string(20, 'z') + "0123456789");
    longer = longer.view().substr(5);
    EXPECT_EQ(longer.view(), std::string(15, 'z') + "0123456789");
    longer = longer;
    EXPECT_EQ(longer.view(), std::string(15, 'z') + "0123456789");
}

TEST(CellValue, HoldsEveryValueAsTheFunctionsGiveIt)
{
    std::vector<Value> values = {Value{},
                                 Value::number(0.0),
                                 Value::number(-0.0),
                                 Value::number(1e308),
                                 Value::number(std::numeric_limits<double>::denorm_min()),
                                 Value::text(""),
                                 Value::text("short"),
                                 Value::text("a text well beyond seven bytes"),
                                 Value::logical(true),
                                 Value::logical(false)};
    for (ErrorCode code : {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref,
                           ErrorCode::Name, ErrorCode::Num, ErrorCode::NA, ErrorCode::Circular})
        values.push_back(Value::error(code));
    for (const Value& value : values)
    {
        CellValue stored(value);
        EXPECT_EQ(stored.type(), value.type());
        EXPECT_EQ(stored.toValue(), value) << valueText(value);
        CellValue copied = stored;
        CellValue moved = std::move(stored);
        EXPECT_EQ(copied.toValue(), value);
        EXPECT_EQ(moved.toValue(), value);
        moved = Value::number(2);
        EXPECT_EQ(copied.toValue(), value); // a copy never shares a change
    }
    EXPECT_TRUE(std::signbit(CellValue(Value::number(-0.0)).asNumber()));
    EXPECT_EQ(CellValue::text(CellText("shared text of a cell")).asText(), "shared text of a cell");
}

TEST(CellStore, SlotsAreDenseStableAndReusedAfterErase)
{
    CellStore store;
    // Enough cells to fill several chunks; references taken early must stay valid.
    Cell& first = store.obtain(3, 7);
    first.data = "first cell of the store";
    for (int row = 1; row <= 5000; ++row)
        store.obtain(1, row).value = Value::number(row);
    EXPECT_EQ(first.data.view(), "first cell of the store");
    EXPECT_EQ(store.size(), 5001u);
    EXPECT_EQ(store.slotCount(), 5001u);
    EXPECT_EQ(store.slotOf(3, 7), 0u);
    EXPECT_EQ(store.slotOf(2, 2), CellStore::kNoSlot);
    for (int row = 1; row <= 5000; row += 499)
    {
        const std::uint32_t slot = store.slotOf(1, row);
        ASSERT_LT(slot, store.slotCount());
        EXPECT_EQ(&store.atSlot(slot), store.find(1, row));
        EXPECT_EQ(store.atSlot(slot).value.asNumber(), row);
    }

    const std::uint32_t freed = store.slotOf(1, 2500);
    store.erase(1, 2500);
    EXPECT_EQ(store.find(1, 2500), nullptr);
    EXPECT_TRUE(store.atSlot(freed).blank());
    store.obtain(9, 9);
    EXPECT_EQ(store.slotOf(9, 9), freed);
    EXPECT_EQ(store.slotCount(), 5001u);
}

TEST(CellStore, CopiesAreIndependent)
{
    CellStore store;
    store.obtain(1, 1).data = "a long text that lives in a block";
    store.obtain(1, 1).tag = "tag";
    for (int row = 2; row <= 300; ++row)
        store.obtain(2, row).value = Value::text("value text of row " + std::to_string(row));
    CellStore copy = store;
    copy.find(1, 1)->data = "changed";
    copy.erase(2, 150);
    EXPECT_EQ(store.find(1, 1)->data.view(), "a long text that lives in a block");
    EXPECT_EQ(store.find(1, 1)->tag.view(), "tag");
    ASSERT_NE(store.find(2, 150), nullptr);
    EXPECT_EQ(store.find(2, 150)->value.asText(), "value text of row 150");
    EXPECT_EQ(copy.size(), store.size() - 1);

    CellStore moved = std::move(copy);
    EXPECT_EQ(moved.find(1, 1)->data.view(), "changed");
    store = moved;
    EXPECT_EQ(store.find(1, 1)->data.view(), "changed");
    EXPECT_EQ(store.find(2, 150), nullptr);
}

TEST(CellStore, SheetTextsOfEveryLengthReadBackAsSet)
{
    Sheet sheet;
    sheet.setMaxCols(3);
    sheet.setMaxRows(3);
    const std::string longText(100, 'L');
    sheet.setData(1, 1, "1234567");
    sheet.setData(1, 2, "12345678");
    sheet.setData(1, 3, longText);
    sheet.setCellTag(2, 1, "t");
    sheet.setCellNote(2, 1, longText);
    EXPECT_EQ(sheet.cellEntry(1, 1), "1234567");
    EXPECT_EQ(sheet.cellValueText(1, 2), "12345678");
    EXPECT_EQ(sheet.cellValueText(1, 3), longText);
    EXPECT_EQ(sheet.cellTag(2, 1), "t");
    EXPECT_EQ(sheet.cellNote(2, 1), longText);

    // Copies of ranges and sheets share the texts but never their changes.
    Sheet copy = sheet;
    sheet.copyRange(1, 3, 2, 3, 3, 3);
    sheet.setData(1, 3, "new");
    EXPECT_EQ(sheet.cellEntry(3, 3), longText);
    EXPECT_EQ(copy.cellEntry(1, 3), longText);
    EXPECT_EQ(sheet.cellEntry(1, 3), "new");
}

TEST(CellStore, CsvWithAFaultLateInTheTextLeavesTheSheetUntouched)
{
    // The fields are set straight from the text, so the text is checked before any is set.
    std::string text;
    for (int row = 1; row <= 100; ++row)
        text += std::to_string(row) + ",=A" + std::to_string(row) + "*2\n";
    text += "\"never closed";
    Sheet sheet;
    FileError error;
    EXPECT_FALSE(readCsvText(text, sheet, error));
    EXPECT_EQ(error.line, 101);
    EXPECT_EQ(sheet.cellCount(), 0u);
    EXPECT_EQ(sheet.maxRows(), 0);

    // Quoted fields are decoded in reused space: each keeps its own text.
    ASSERT_TRUE(
        readCsvText("\"a,\"\"b\"\"\",\"second, much longer quoted field\"\n\"x\ny\",=B1", sheet, error));
    EXPECT_EQ(sheet.cellEntry(1, 1), "a,\"b\"");
    EXPECT_EQ(sheet.cellEntry(2, 1), "second, much longer quoted field");
    EXPECT_EQ(sheet.cellEntry(1, 2), "x\ny");
    EXPECT_EQ(sheet.cellValueText(2, 2), "second, much longer quoted field");
}

TEST(SheetForms, FilledDownTextsShareOneFormAndLookAlikesKeepTheirOwn)
{
    Sheet sheet;
    sheet.setMaxCols(6);
    sheet.setMaxRows(6);
    for (int row = 1; row <= 4; ++row)
        ASSERT_TRUE(sheet.setNumber(1, row, row));
    // Filled down: one form. The same text with an absolute part, a number in exponent
    // form, and names that look like references (a function, a column past the last one)
    // each keep a form of their own and calculate as written.
    ASSERT_TRUE(sheet.setFormula(2, 2, "=A1*2+A2"));
    ASSERT_TRUE(sheet.setFormula(2, 3, "=A2*2+A3"));
    ASSERT_TRUE(sheet.setFormula(2, 4, "=$A1*2+A4"));
    ASSERT_TRUE(sheet.setFormula(3, 2, "=A2*1E1"));
    ASSERT_TRUE(sheet.setFormula(3, 3, "=A3*1E2"));
    ASSERT_TRUE(sheet.setFormula(4, 2, "=LOG10(A2*5)"));
    ASSERT_TRUE(sheet.setFormula(4, 3, "=LOG10(A3*5)"));
    EXPECT_EQ(sheet.cellFormula(2, 2), sheet.cellFormula(2, 3));
    EXPECT_NE(sheet.cellFormula(2, 3), sheet.cellFormula(2, 4));
    EXPECT_NE(sheet.cellFormula(3, 2), sheet.cellFormula(3, 3));
    EXPECT_EQ(sheet.cellValueText(2, 2), "4");
    EXPECT_EQ(sheet.cellValueText(2, 3), "7");
    EXPECT_EQ(sheet.cellValueText(2, 4), "6");
    EXPECT_EQ(sheet.cellValueText(3, 2), "20");
    EXPECT_EQ(sheet.cellValueText(3, 3), "300");
    EXPECT_EQ(sheet.cellValueText(4, 2), "1");
    EXPECT_EQ(sheet.cellFormulaText(2, 3), "A2*2+A3");
    EXPECT_EQ(sheet.cellFormulaText(2, 4), "$A1*2+A4");
    // A column name past the sheet's last column is no reference, in any row.
    EXPECT_FALSE(sheet.setFormula(5, 2, "=XFE1+1") && sheet.cellValueText(5, 2) == "2");
}

TEST(SheetForms, ValueTextsComeByRowWhateverOrderTheCellsWereMadeIn)
{
    const auto texts = [](const Sheet& sheet)
    {
        std::string all;
        sheet.forEachValueText(
            [&](int col, int row, std::string_view text)
            { all += std::to_string(col) + "," + std::to_string(row) + "=" + std::string(text) + ";"; });
        return all;
    };
    Sheet inOrder, backwards;
    for (Sheet* sheet : {&inOrder, &backwards})
    {
        sheet->setMaxCols(2);
        sheet->setMaxRows(70);
    }
    for (int row = 1; row <= 70; ++row)
        for (int col = 1; col <= 2; ++col)
            inOrder.setNumber(col, row, row * 10 + col);
    for (int row = 70; row >= 1; --row)
        for (int col = 2; col >= 1; --col)
            backwards.setNumber(col, row, row * 10 + col);
    EXPECT_EQ(texts(inOrder), texts(backwards));
    EXPECT_EQ(texts(inOrder).substr(0, 21), "1,1=11;2,1=12;1,2=21;");
    // A cell erased and made again takes a freed slot, out of order.
    inOrder.clearRange(1, 1, 1, 1, CellContent::All);
    inOrder.setFormula(1, 1, "=B1+1");
    EXPECT_EQ(texts(inOrder), texts(backwards).replace(0, 7, "1,1=13;"));
}
