// Formula engine benchmarks on the sheets engineers build:
//   A  10,000 rows x 5 columns of chained arithmetic, build and evaluate
//   B  5,000 rows of =SUM($A$1:An), build and evaluate; then recalculation after A1 changes
//   T  10,000 CONCATENATE cells, build and evaluate
//   E  set-formula of a typical equation with 5 references and 2 function calls
//   C  recalculation of a 100,000-cell chain after its head changes
//   S  SUMPRODUCT with array arguments over 10,000 rows, recalculated after an input changes;
//      also with functions worked element by element (LEN, UPPER) over the ranges
//   A at 100,000 and 1,000,000 cells (20,000 and 200,000 rows), build and evaluate; and the
//      100,000-cell sheet recalculated after A1 changes, which recomputes every cell
//   F  fan-out: 100,000 formulas reading one cell, build and evaluate; then recalculation
//      after that cell changes
// bench/peer/run.sh times the same sheets A, B and T in a peer engine and prints the ratios.

#include "grid/Sheet.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>

namespace
{
// The arithmetic sheet: every column reads its own row and the row above.
void buildArithmetic(grid::Sheet& sheet, int rows)
{
    sheet.setMaxCols(5);
    sheet.setMaxRows(rows);
    sheet.setNumber(1, 1, 1);
    sheet.setFormula(2, 1, "=A1*2");
    sheet.setFormula(3, 1, "=B1+A1");
    sheet.setFormula(4, 1, "=C1/2+B1");
    sheet.setFormula(5, 1, "=D1-A1*3");
    for (int r = 2; r <= rows; ++r)
    {
        const std::string p = std::to_string(r - 1), n = std::to_string(r);
        sheet.setFormula(1, r, "=A" + p + "+1");
        sheet.setFormula(2, r, "=A" + n + "*2+B" + p + "/1000");
        sheet.setFormula(3, r, "=B" + n + "+C" + p + "-A" + n);
        sheet.setFormula(4, r, "=C" + n + "/2+B" + n);
        sheet.setFormula(5, r, "=D" + n + "-A" + n + "*3+E" + p + "/1000");
    }
}

void buildSums(grid::Sheet& sheet, int rows)
{
    sheet.setMaxCols(2);
    sheet.setMaxRows(rows);
    for (int r = 1; r <= rows; ++r)
    {
        sheet.setNumber(1, r, r);
        sheet.setFormula(2, r, "=SUM($A$1:A" + std::to_string(r) + ")");
    }
}

void buildConcatenations(grid::Sheet& sheet, int rows)
{
    sheet.setMaxCols(2);
    sheet.setMaxRows(rows);
    for (int r = 1; r <= rows; ++r)
    {
        const std::string n = std::to_string(r);
        sheet.setNumber(1, r, r);
        sheet.setFormula(2, r, "=CONCATENATE(\"row \",A" + n + ",\"-\",A" + n + "*2)");
    }
}

void check(benchmark::State& state, bool ok, const char* what)
{
    if (!ok)
        state.SkipWithError(what);
}

void BM_A_ArithmeticBuild(benchmark::State& state)
{
    for (auto _ : state)
    {
        grid::Sheet sheet;
        buildArithmetic(sheet, 10000);
        benchmark::DoNotOptimize(sheet.cellValue(5, 10000));
    }
    grid::Sheet sheet;
    buildArithmetic(sheet, 3);
    check(state, sheet.cellValueText(1, 3) == "3" && sheet.cellValueText(2, 2) == "4.002", "A: wrong values");
}
BENCHMARK(BM_A_ArithmeticBuild)->Unit(benchmark::kMillisecond);

void BM_B_SumBuild(benchmark::State& state)
{
    for (auto _ : state)
    {
        grid::Sheet sheet;
        buildSums(sheet, 5000);
        benchmark::DoNotOptimize(sheet.cellValue(2, 5000));
    }
}
BENCHMARK(BM_B_SumBuild)->Unit(benchmark::kMillisecond);

void BM_B_SumRecalc(benchmark::State& state)
{
    grid::Sheet sheet;
    buildSums(sheet, 5000);
    double head = 1;
    for (auto _ : state)
        sheet.setNumber(1, 1, ++head);
    check(state, sheet.cellValueText(2, 5000) == grid::formatGeneral(12502500 + head - 1), "B: wrong sum");
}
BENCHMARK(BM_B_SumRecalc)->Unit(benchmark::kMillisecond);

void BM_T_ConcatenateBuild(benchmark::State& state)
{
    for (auto _ : state)
    {
        grid::Sheet sheet;
        buildConcatenations(sheet, 10000);
        benchmark::DoNotOptimize(sheet.cellValue(2, 10000));
    }
    grid::Sheet sheet;
    buildConcatenations(sheet, 2);
    check(state, sheet.cellValueText(2, 2) == "row 2-4", "T: wrong text");
}
BENCHMARK(BM_T_ConcatenateBuild)->Unit(benchmark::kMillisecond);

// A typical standards equation: references to five inputs and two functions.
void BM_E_SetEquation(benchmark::State& state)
{
    grid::Sheet sheet;
    sheet.setMaxCols(10);
    sheet.setMaxRows(10);
    for (int r = 1; r <= 5; ++r)
        sheet.setNumber(2, r, r * 1.5);
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet.setFormula(4, 1, "=ROUND(B1*B2/(B3+2)+SQRT(B4)*B5,2)"));
    check(state, sheet.cellValueText(4, 1) == "19.06", "E: wrong value");
}
BENCHMARK(BM_E_SetEquation)->Unit(benchmark::kMicrosecond);

void BM_C_ChainRecalc(benchmark::State& state)
{
    constexpr int kRows = 100000;
    grid::Sheet sheet;
    sheet.setMaxCols(1);
    sheet.setMaxRows(kRows);
    sheet.setNumber(1, 1, 0);
    for (int r = 2; r <= kRows; ++r)
        sheet.setFormula(1, r, "=A" + std::to_string(r - 1) + "+1");
    double head = 0;
    for (auto _ : state)
        sheet.setNumber(1, 1, ++head);
    check(state, sheet.cellValueText(1, kRows) == grid::formatGeneral(head + kRows - 1),
          "C: wrong chain end");
}
BENCHMARK(BM_C_ChainRecalc)->Unit(benchmark::kMillisecond);
// A conditional total over 10,000 rows, recalculated after each change of A1.
void sumproductRecalc(benchmark::State& state, const char* total)
{
    constexpr int kRows = 10000;
    grid::Sheet sheet;
    sheet.setMaxCols(4);
    sheet.setMaxRows(kRows);
    for (int r = 1; r <= kRows; ++r)
    {
        sheet.setNumber(1, r, r % 7);
        sheet.setNumber(2, r, r * 0.5);
        sheet.setFormula(3, r, r % 3 == 0 ? "=\"plate\"" : "=\"angle\"");
    }
    sheet.setFormula(4, 1, total);
    double head = 0;
    for (auto _ : state)
        sheet.setNumber(1, 1, ++head);
    check(state, !sheet.cellValue(4, 1).isError(), "S: error result");
}
// The total written the way engineers write it without the *IFS functions: comparisons and
// products over whole ranges inside SUMPRODUCT.
void BM_S_SumproductArrays(benchmark::State& state)
{
    sumproductRecalc(state, "=SUMPRODUCT((A1:A10000>2)*(C1:C10000=\"plate\")*B1:B10000)");
}
BENCHMARK(BM_S_SumproductArrays)->Unit(benchmark::kMillisecond);
// The same total with a function worked element by element over a range (LEN of each text).
void BM_S_SumproductElementWise(benchmark::State& state)
{
    sumproductRecalc(state, "=SUMPRODUCT((A1:A10000>2)*(LEN(UPPER(C1:C10000))=5),B1:B10000)");
}
BENCHMARK(BM_S_SumproductElementWise)->Unit(benchmark::kMillisecond);

// The arithmetic sheet at larger sizes; the argument is the number of rows (five cells each).
void BM_A_ArithmeticLarge(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state)
    {
        grid::Sheet sheet;
        buildArithmetic(sheet, rows);
        benchmark::DoNotOptimize(sheet.cellValue(5, rows));
    }
    state.SetItemsProcessed(state.iterations() * rows * 5);
}
BENCHMARK(BM_A_ArithmeticLarge)->Arg(20000)->Arg(200000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Every cell of the 100,000-cell arithmetic sheet depends on A1.
void BM_A_ArithmeticRecalc(benchmark::State& state)
{
    constexpr int kRows = 20000;
    grid::Sheet sheet;
    buildArithmetic(sheet, kRows);
    double head = 1;
    for (auto _ : state)
        sheet.setNumber(1, 1, ++head);
    state.SetItemsProcessed(state.iterations() * kRows * 5);
    check(state, sheet.cellValueText(1, kRows) == grid::formatGeneral(head + kRows - 1), "A: wrong column A");
}
BENCHMARK(BM_A_ArithmeticRecalc)->Unit(benchmark::kMillisecond);

void buildFanOut(grid::Sheet& sheet, int rows)
{
    sheet.setMaxCols(2);
    sheet.setMaxRows(rows);
    sheet.setNumber(1, 1, 1);
    for (int r = 1; r <= rows; ++r)
        sheet.setFormula(2, r, "=$A$1*" + std::to_string(r) + "+1");
}

void BM_F_FanOutBuild(benchmark::State& state)
{
    constexpr int kRows = 100000;
    for (auto _ : state)
    {
        grid::Sheet sheet;
        buildFanOut(sheet, kRows);
        benchmark::DoNotOptimize(sheet.cellValue(2, kRows));
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_F_FanOutBuild)->Unit(benchmark::kMillisecond);

void BM_F_FanOutRecalc(benchmark::State& state)
{
    constexpr int kRows = 100000;
    grid::Sheet sheet;
    buildFanOut(sheet, kRows);
    double head = 1;
    for (auto _ : state)
        sheet.setNumber(1, 1, ++head);
    state.SetItemsProcessed(state.iterations() * kRows);
    check(state, sheet.cellValueText(2, kRows) == grid::formatGeneral(head * kRows + 1), "F: wrong value");
}
BENCHMARK(BM_F_FanOutRecalc)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
