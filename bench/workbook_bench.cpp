// Reading a sheet of 100,000 cells from an .xlsx workbook against reading the same sheet
// from CSV, and writing it as .xlsx. Run together, the ratio is what matters.

#include "grid/Sheet.h"

#if KALDOR_HAVE_FORMATS
#include "formats/SheetFiles.h"
#endif

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{
constexpr int kCols = 10;
constexpr int kRows = 10000; // 100,000 cells

/// A typical large sheet: a text column, eight number columns and a column of formulas.
grid::Sheet bigSheet()
{
    grid::Sheet sheet;
    sheet.setAutoCalc(false);
    sheet.setMaxCols(kCols);
    sheet.setMaxRows(kRows);
    for (int row = 1; row <= kRows; ++row)
    {
        sheet.setData(1, row, "HEA " + std::to_string(100 + row % 900));
        for (int col = 2; col <= 9; ++col)
            sheet.setNumber(col, row, row * 0.25 + col * 1.5);
        sheet.setFormula(kCols, row, "SUM(B" + std::to_string(row) + ":I" + std::to_string(row) + ")*2");
    }
    sheet.setAutoCalc(true);
    return sheet;
}

std::string scratchPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() /
            ("workbook-bench-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

void BM_ReadCsv(benchmark::State& state)
{
    const std::string path = scratchPath("big.csv");
    bigSheet().saveFile(path);
    for (auto _ : state)
    {
        grid::Sheet sheet;
        benchmark::DoNotOptimize(sheet.loadFile(path));
    }
    state.SetItemsProcessed(state.iterations() * kCols * kRows);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadCsv)->Unit(benchmark::kMillisecond);

#if KALDOR_HAVE_FORMATS
void BM_ReadXlsx(benchmark::State& state)
{
    const std::string path = scratchPath("big.xlsx");
    std::string error;
    formats::writeXlsxFile(path, bigSheet(), error);
    for (auto _ : state)
    {
        grid::Sheet sheet;
        std::vector<std::string> remarks;
        benchmark::DoNotOptimize(formats::readSheetFile(path, sheet, error, remarks));
    }
    state.SetItemsProcessed(state.iterations() * kCols * kRows);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadXlsx)->Unit(benchmark::kMillisecond);

void BM_WriteXlsx(benchmark::State& state)
{
    const grid::Sheet sheet = bigSheet();
    const std::string path = scratchPath("written.xlsx");
    std::string error;
    for (auto _ : state)
        benchmark::DoNotOptimize(formats::writeXlsxFile(path, sheet, error));
    state.SetItemsProcessed(state.iterations() * kCols * kRows);
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteXlsx)->Unit(benchmark::kMillisecond);
#endif
} // namespace

BENCHMARK_MAIN();
