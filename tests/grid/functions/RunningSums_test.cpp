#include "FakeContext.h"
#include "grid/functions/RunningSums.h"

#include <gtest/gtest.h>

namespace grid::testing
{
namespace
{
// A context that numbers its calculation passes and counts cell reads.
class PassContext : public FakeContext
{
public:
    Value cellValue(int col, int row) const override
    {
        ++reads;
        return FakeContext::cellValue(col, row);
    }
    std::uint64_t calculationPass() const override { return pass; }
    std::uint64_t pass = 1000;
    mutable long reads = 0;
};

TEST(RunningSums, AColumnOfGrowingSumsReadsEachCellOncePerPass)
{
    PassContext c;
    for (int r = 1; r <= 2000; ++r)
        c.cells[{1, r}] = Value::number(r % 7 == 0 ? 0.1 : r * 1.25);
    FakeContext plain = c; // same cells, no passes: every sum from scratch
    for (int r = 1; r <= 2000; ++r)
        ASSERT_EQ(c.call("SUM", {ref(1, 1, 1, r)}), plain.call("SUM", {ref(1, 1, 1, r)})) << r;
    EXPECT_LE(c.reads, 2000 + 10);

    // Any order of the cells within a pass reuses the totals.
    ++c.pass;
    c.reads = 0;
    for (int r = 2000; r >= 1; --r)
        ASSERT_EQ(c.call("SUM", {ref(1, 1, 1, r)}), plain.call("SUM", {ref(1, 1, 1, r)})) << r;
    EXPECT_LE(c.reads, 2000 + 10);

    // A new pass starts over: a changed cell is seen.
    c.cells[{1, 1}] = Value::number(1000);
    ++c.pass;
    EXPECT_EQ(c.call("SUM", {ref(1, 1, 1, 3)}), Value::number(1000 + 2.5 + 3.75));
}

TEST(RunningSums, ErrorsTextsAndOtherShapes)
{
    PassContext c;
    c.cells[{1, 1}] = Value::number(1);
    c.cells[{1, 2}] = Value::text("x");
    c.cells[{1, 3}] = Value::number(2);
    c.cells[{1, 4}] = Value::error(ErrorCode::NA);
    c.cells[{1, 5}] = Value::number(4);
    EXPECT_EQ(c.call("SUM", {ref(1, 1, 1, 3)}), Value::number(3));
    EXPECT_EQ(c.call("SUM", {ref(1, 1, 1, 4)}), Value::error(ErrorCode::NA));
    EXPECT_EQ(c.call("SUM", {ref(1, 1, 1, 5)}), Value::error(ErrorCode::NA));
    EXPECT_EQ(c.call("SUM", {ref(1, 1, 1, 2)}), Value::number(1)); // a shorter range than the last
    EXPECT_EQ(c.call("SUM", {ref(1, 2, 1, 3)}), Value::number(2)); // another first row
    EXPECT_EQ(c.call("SUM", {ref(1, 5, 1, 5), ref(1, 1, 1, 3), num(0.5)}), Value::number(7.5));
    EXPECT_EQ(c.call("SUM", {ref(1, 1, 2, 3)}), Value::number(3)); // two columns: summed afresh
    EXPECT_EQ(c.call("SUM", {ref(1, 6, 1, 9)}), Value::number(0)); // empty rows only
    EXPECT_EQ(c.call("SUM", {ref(1, 5, 1, 100)}), Value::number(4));
    EXPECT_EQ(c.call("SUM", {ref(1, 5, 1, 7)}), Value::number(4));
}
} // namespace
} // namespace grid::testing
