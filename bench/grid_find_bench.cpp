// Find and replace over the displayed texts of a grid: a dense sheet the size of a standards
// sheet, and a large sheet with few stored cells, where walking the stored cells instead of
// every address is what keeps find next and replace all fast. The value search the standards
// sheets use is measured beside it on the same sheets.

#include "spread/Kdr_Spread.h"

#include <benchmark/benchmark.h>
#include <string>

namespace
{
void fill(Kdr_Spread& grid, int cols, int rows, int every)
{
    // Sized on the engine directly: the wrapper formats every new cell, which stores them all.
    grid.sheet().setMaxCols(cols);
    grid.sheet().setMaxRows(rows);
    for (int r = 1; r <= rows; r += every)
        for (int c = 1; c <= cols; c += every)
            grid.setCellText(c, r, ("plate " + std::to_string(r * cols + c)).c_str());
    grid.setCellText(cols, rows, "Calc");
}

void findLast(benchmark::State& state, bool displayed)
{
    const int size = static_cast<int>(state.range(0));
    const int every = static_cast<int>(state.range(1));
    Kdr_Spread grid;
    grid.createHidden();
    fill(grid, size, size, every);
    for (auto _ : state)
    {
        int col = 1, row = 1;
        const bool found = displayed ? grid.findDisplayedForward("calc", false, col, row)
                                     : grid.findForward("Calc", false, row, col);
        benchmark::DoNotOptimize(found);
    }
    grid.DestroyWindow();
}

void BM_FindDisplayedForward(benchmark::State& state)
{
    findLast(state, true);
}
void BM_FindForwardValues(benchmark::State& state)
{
    findLast(state, false);
}
// A dense 40 by 40 sheet, and a 2000 by 2000 sheet with one cell in 50 by 50 stored.
BENCHMARK(BM_FindDisplayedForward)->Args({40, 1})->Args({2000, 50});
BENCHMARK(BM_FindForwardValues)->Args({40, 1})->Args({2000, 50});

void BM_ReplaceAll(benchmark::State& state)
{
    Kdr_Spread grid;
    grid.createHidden();
    for (auto _ : state)
    {
        state.PauseTiming();
        fill(grid, 40, 200, 1);
        state.ResumeTiming();
        benchmark::DoNotOptimize(grid.replaceAll("plate", "sheet"));
    }
    grid.DestroyWindow();
}
BENCHMARK(BM_ReplaceAll);
} // namespace

BENCHMARK_MAIN();
