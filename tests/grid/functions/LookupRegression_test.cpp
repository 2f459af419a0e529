// Lookups in whole columns and rows read every empty cell one by one: a sheet of such
// lookups took seconds per formula. They now walk only the cells the sheet holds.

#include "FakeContext.h"

#include <gtest/gtest.h>

namespace grid::testing
{
namespace
{
TEST(LookupRegression, WholeColumnsAndRowsReadOnlyTheCellsTheSheetHolds)
{
    SparseContext c;
    c.cells[{1, 3}] = Value::text("pin");
    c.cells[{1, 700000}] = Value::text("bolt");
    c.cells[{2, 700000}] = Value::number(42);
    c.cells[{1, 800000}] = Value::number(4);
    c.cells[{1, 900000}] = Value::number(9);
    c.cells[{3, 1}] = Value::text("x");
    c.cells[{16000, 1}] = Value::text("y");
    c.cells[{16000, 2}] = Value::number(7);
    const Arg columnA = ref(1, 1, 1, 1048576);

    EXPECT_EQ(c.call("MATCH", {text("bolt"), columnA, num(0)}), Value::number(700000));
    EXPECT_EQ(c.call("MATCH", {text("b*"), columnA, num(0)}), Value::number(700000));
    EXPECT_EQ(c.call("MATCH", {text("nut"), columnA, num(0)}), Value::error(ErrorCode::NA));
    EXPECT_EQ(c.call("MATCH", {num(5), columnA}), Value::number(800000));
    EXPECT_EQ(
        c.call("VLOOKUP", {text("BOLT"), ref(1, 1, 2, 1048576), num(2), Arg::ofValue(Value::logical(false))}),
        Value::number(42));
    EXPECT_EQ(
        c.call("HLOOKUP", {text("y"), ref(1, 1, 16384, 2), num(2), Arg::ofValue(Value::logical(false))}),
        Value::number(7));
    EXPECT_EQ(c.call("LOOKUP", {num(100), columnA}), Value::number(9));
    EXPECT_EQ(c.call("MATCH", {text("y"), ref(1, 1, 16384, 1), num(0)}), Value::number(16000));
    // Only the cells of the answers are read one by one.
    EXPECT_LE(c.reads, 4);
}

// Walking only the held cells must find what reading every cell finds. The same line as a
// range of the sheet and as an array (read element by element) gives the same answers.
TEST(LookupRegression, HeldCellsGiveTheSameAnswersAsEveryCell)
{
    const std::vector<Value> line = {Value::number(1), Value(),
                                     Value::text("b"), Value::error(ErrorCode::Div0),
                                     Value::number(3), Value::logical(true),
                                     Value(),          Value::number(7),
                                     Value::text("d")};
    SparseContext c;
    for (size_t i = 0; i < line.size(); ++i)
        c.cells[{4, 2 + static_cast<int>(i)}] = line[i];
    const int last = 1 + static_cast<int>(line.size());
    const Arg cells = ref(4, 2, 4, last);
    const Arg values = array(static_cast<int>(line.size()), 1, line);

    const Arg keys[] = {num(3),    num(2),    num(0),    num(8),
                        text("B"), text("c"), text("?"), Arg::ofValue(Value::logical(true))};
    for (const Arg& key : keys)
        for (double mode : {0.0, 1.0, -1.0})
        {
            const Value viaCells = c.call("MATCH", {key, cells, num(mode)});
            EXPECT_EQ(viaCells, c.call("MATCH", {key, values, num(mode)}))
                << valueText(key.value) << " mode " << mode << " gave " << valueText(viaCells);
        }
    for (const Arg& key : keys)
        EXPECT_EQ(c.call("LOOKUP", {key, cells}), c.call("LOOKUP", {key, values})) << valueText(key.value);
}
} // namespace
} // namespace grid::testing
