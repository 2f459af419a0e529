#include "grid/DependencyGraph.h"
#include "grid/Sheet.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace grid
{
namespace
{
CellRange cells(int col1, int row1, int col2, int row2)
{
    CellRange range;
    range.col1 = col1;
    range.row1 = row1;
    range.col2 = col2;
    range.row2 = row2;
    return range;
}

CellRange cell(int col, int row)
{
    return cells(col, row, col, row);
}

/// The position of each cell in a plan.
std::map<CellKey, std::size_t> positions(const std::vector<DependencyGraph::Step>& steps)
{
    std::map<CellKey, std::size_t> at;
    for (std::size_t i = 0; i < steps.size(); ++i)
        at[steps[i].cell] = i;
    return at;
}

TEST(DependencyGraph, RangesAreFoundAfterManyAddsAndRemovals)
{
    // Enough ranges in one column, and across many columns, that both the sorted parts and
    // the removed entries in them come into play; every answer is checked by brute force.
    DependencyGraph graph;
    std::mt19937 random(11);
    struct Entry
    {
        CellKey reader;
        CellRange range;
        bool live;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < 3000; ++i)
    {
        const int row1 = static_cast<int>(random() % 500) + 1;
        const int height = static_cast<int>(random() % 40);
        const int col1 = static_cast<int>(random() % 3) + 1;
        const int width = i % 10 == 0 ? 12 : static_cast<int>(random() % 3); // some wide ones
        const CellKey reader = cellKey(20, i + 1);
        entries.push_back({reader, cells(col1, row1, col1 + width, row1 + height), true});
        graph.add(reader, 0, {entries.back().range});
    }
    for (std::size_t i = 0; i < entries.size(); i += 3)
    {
        graph.remove(entries[i].reader, {entries[i].range});
        entries[i].live = false;
    }
    for (int col = 1; col <= 16; col += 3)
        for (int row = 1; row <= 560; row += 7)
        {
            std::vector<CellKey> expected;
            for (const Entry& entry : entries)
                if (entry.live && col >= entry.range.col1 && col <= entry.range.col2 &&
                    row >= entry.range.row1 && row <= entry.range.row2)
                    expected.push_back(entry.reader);
            std::vector<CellKey> found;
            for (const DependencyGraph::Step& step : graph.plan({cellKey(col, row)}))
                found.push_back(step.cell);
            std::sort(expected.begin(), expected.end());
            std::sort(found.begin(), found.end());
            ASSERT_EQ(found, expected) << "column " << col << ", row " << row;
            EXPECT_EQ(graph.hasReaders(col, row), !expected.empty());
        }
}

TEST(DependencyGraph, PlansPutEveryCellAfterWhatItReadsAndCyclesAfterTheirInputs)
{
    // A1 <- B1 <- C1 and A1 <- C1 (a diamond); D1 and E1 read each other and C1; F1 reads
    // E1; G1 reads itself.
    for (bool built : {false, true})
    {
        DependencyGraph graph;
        if (built)
            graph.beginBuild(8);
        graph.add(cellKey(2, 1), 1, {cell(1, 1)});
        graph.add(cellKey(3, 1), 2, {cell(2, 1), cell(1, 1)});
        graph.add(cellKey(4, 1), 3, {cell(5, 1), cell(3, 1)});
        graph.add(cellKey(5, 1), 4, {cell(4, 1)});
        graph.add(cellKey(6, 1), 5, {cell(5, 1)});
        graph.add(cellKey(7, 1), 6, {cell(7, 1), cell(1, 1)});
        if (built)
            graph.endBuild();
        const auto steps = graph.plan({cellKey(1, 1)});
        ASSERT_EQ(steps.size(), 6u);
        auto at = positions(steps);
        EXPECT_LT(at[cellKey(2, 1)], at[cellKey(3, 1)]);
        EXPECT_LT(at[cellKey(3, 1)], at[cellKey(4, 1)]);
        EXPECT_LT(at[cellKey(3, 1)], at[cellKey(5, 1)]);
        EXPECT_LT(at[cellKey(4, 1)], at[cellKey(6, 1)]);
        EXPECT_LT(at[cellKey(5, 1)], at[cellKey(6, 1)]);
        for (const DependencyGraph::Step& step : steps)
        {
            const int col = keyCol(step.cell);
            EXPECT_EQ(step.circular, col == 4 || col == 5 || col == 7) << "column " << col;
            EXPECT_EQ(step.slot, static_cast<std::uint32_t>(col - 1)); // as given when added
        }
        // A changed formula cell is a step itself; a cell nothing reads has no plan.
        EXPECT_EQ(graph.plan({cellKey(6, 1)}).size(), 1u);
        EXPECT_TRUE(graph.plan({cellKey(9, 9)}).empty());
    }
}

TEST(DependencyGraph, ForgottenFormulasLeaveNothingBehind)
{
    DependencyGraph graph;
    for (int round = 0; round < 3; ++round)
    {
        for (int r = 1; r <= 200; ++r)
            graph.add(cellKey(2, r), 0, {cell(1, r), cell(1, 1), cells(1, 1, 1, r)});
        EXPECT_EQ(graph.plan({cellKey(1, 1)}).size(), 200u);
        for (int r = 1; r <= 200; ++r)
            graph.remove(cellKey(2, r), {cell(1, r), cell(1, 1), cells(1, 1, 1, r)});
        EXPECT_FALSE(graph.hasReaders(1, 1));
        EXPECT_TRUE(graph.plan({cellKey(1, 1), cellKey(1, 100)}).empty());
    }
}

TEST(DependencyGraph, ASheetCalculatedAfterChangesWithoutCalculationFollowsLaterChanges)
{
    // Without automatic calculation the sheet keeps no graph; switching it back on builds
    // one, which every later change, insert and delete goes by.
    Sheet sheet;
    sheet.setMaxCols(4);
    sheet.setMaxRows(50);
    sheet.setAutoCalc(false);
    sheet.setNumber(1, 1, 2);
    for (int r = 2; r <= 40; ++r)
        sheet.setFormula(1, r, "A" + std::to_string(r - 1) + "+1");
    sheet.setFormula(2, 1, "SUM(A1:A40)");
    sheet.setFormula(3, 1, "C1+1");
    EXPECT_EQ(sheet.cellValueText(1, 40), "");
    sheet.setAutoCalc(true);
    EXPECT_EQ(sheet.cellValueText(1, 40), "41");
    EXPECT_EQ(sheet.cellValueText(2, 1), "860");
    EXPECT_EQ(sheet.cellValueText(3, 1), "#CIRC!");
    sheet.setNumber(1, 1, 3);
    EXPECT_EQ(sheet.cellValueText(1, 40), "42");
    EXPECT_EQ(sheet.cellValueText(2, 1), "900");
    ASSERT_TRUE(sheet.insertRows(1, 2));
    sheet.setNumber(1, 3, 4);
    EXPECT_EQ(sheet.cellValueText(1, 42), "43");
    EXPECT_EQ(sheet.cellValueText(2, 3), "940");
    sheet.setFormula(3, 3, "B3/2");
    EXPECT_EQ(sheet.cellValueText(3, 3), "470");
    ASSERT_TRUE(sheet.deleteRows(1, 2));
    sheet.setNumber(1, 1, 1);
    EXPECT_EQ(sheet.cellValueText(2, 1), "820");
    EXPECT_EQ(sheet.cellValueText(3, 1), "410");
}
} // namespace
} // namespace grid
