// Aggregates read ranges through EvalContext::visitRange, so a sheet that walks only its
// filled cells makes whole-column ranges cheap. These tests use such a sheet and check that
// results do not depend on seeing the empty cells.

#include "FakeContext.h"

#include <gtest/gtest.h>

namespace grid::testing
{
namespace
{
TEST(RangeVisit, AggregatesOverWholeColumnsReadOnlyFilledCells)
{
    SparseContext c;
    c.cells[{1, 1}] = Value::number(2);
    c.cells[{1, 500000}] = Value::number(5);
    c.cells[{1, 1000000}] = Value::text("x");
    c.cells[{1, 7}] = Value::text("");
    c.cells[{2, 3}] = Value::number(100);
    const Arg column = ref(1, 1, 1, 1048576);
    EXPECT_EQ(c.call("SUM", {column}), Value::number(7));
    EXPECT_EQ(c.call("AVERAGE", {column}), Value::number(3.5));
    EXPECT_EQ(c.call("MAX", {column}), Value::number(5));
    EXPECT_EQ(c.call("COUNT", {column}), Value::number(2));
    EXPECT_EQ(c.call("COUNTA", {column}), Value::number(4));
    EXPECT_EQ(c.call("COUNTBLANK", {column}), Value::number(1048576 - 3));
    EXPECT_EQ(c.call("COUNTIF", {column, text("")}), Value::number(1048576 - 3));
    EXPECT_EQ(c.call("COUNTIF", {column, text("<>")}), Value::number(4)); // the empty text counts
    EXPECT_EQ(c.call("COUNTIF", {column, text("=")}), Value::number(1048576 - 4));
    EXPECT_EQ(c.call("COUNTIF", {column, text(">1")}), Value::number(2));
    EXPECT_EQ(c.call("AND", {column}), Value::logical(true));
    EXPECT_EQ(c.call("SUMIF", {column, text(">3"), ref(2, 1, 2, 1)}), Value::number(0));
    EXPECT_EQ(c.call("SUMIF", {ref(1, 1, 1, 1048576), text("<3"), ref(2, 3, 2, 3)}), Value::number(100));
    EXPECT_LT(c.reads, 10);
}

TEST(RangeVisit, AnErrorStopsTheWalk)
{
    SparseContext c;
    c.cells[{1, 1}] = Value::number(1);
    c.cells[{1, 2}] = Value::error(ErrorCode::Ref);
    c.cells[{1, 3}] = Value::number(1);
    EXPECT_EQ(c.call("SUM", {ref(1, 1, 1, 1048576)}), Value::error(ErrorCode::Ref));
    EXPECT_EQ(c.call("OR", {ref(1, 1, 1, 3)}), Value::error(ErrorCode::Ref));
    EXPECT_EQ(c.call("COUNT", {ref(1, 1, 1, 3)}), Value::number(2)); // COUNT skips errors
}

TEST(RangeVisit, DefaultWalkAgreesWithTheSparseOne)
{
    FakeContext dense;
    SparseContext sparse;
    for (int r = 1; r <= 6; ++r)
    {
        const Value v = r % 3 == 0 ? Value::text(r == 3 ? "" : "t") : Value::number(r * 1.5);
        dense.cells[{1 + r % 2, r}] = v;
        sparse.cells[{1 + r % 2, r}] = v;
    }
    for (const char* name : {"SUM", "COUNT", "COUNTA", "COUNTBLANK", "AVERAGEA", "PRODUCT", "MEDIAN"})
        EXPECT_EQ(dense.call(name, {ref(1, 1, 2, 8)}), sparse.call(name, {ref(1, 1, 2, 8)})) << name;
    EXPECT_EQ(dense.call("COUNTIF", {ref(1, 1, 2, 8), text("")}),
              sparse.call("COUNTIF", {ref(1, 1, 2, 8), text("")}));
}
} // namespace
} // namespace grid::testing
