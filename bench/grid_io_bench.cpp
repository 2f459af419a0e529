// Loading and saving a sheet of 100,000 cells in the sheet format and as CSV.

#include "grid/Csv.h"
#include "grid/Sheet.h"
#include "grid/SheetFile.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace
{
constexpr int kCols = 10;
constexpr int kRows = 10000; // 100,000 cells

/// A typical large sheet: a text column, number columns of two kinds, and a column of
/// formulas over each row.
grid::Sheet bigSheet()
{
    grid::Sheet sheet;
    sheet.setAutoCalc(false);
    sheet.setMaxCols(kCols);
    sheet.setMaxRows(kRows);
    sheet.setCellType(1, 1, 1, kRows, grid::CellType::textCell(0x110000, 200));
    sheet.setCellType(
        2, 1, 5, kRows,
        grid::CellType::number(2, grid::CellType::kNumberMin, grid::CellType::kNumberMax, true));
    sheet.setFont(1, grid::kHeader, kCols, grid::kHeader, grid::Font{"Tahoma", 13, 700});
    for (int col = 1; col <= kCols; ++col)
        sheet.setData(col, grid::kHeader, "Column " + std::to_string(col));
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

const grid::Sheet& sharedSheet()
{
    static const grid::Sheet sheet = bigSheet();
    return sheet;
}

std::string scratchPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_WriteSheetText(benchmark::State& state)
{
    const grid::Sheet& sheet = sharedSheet();
    for (auto _ : state)
        benchmark::DoNotOptimize(grid::writeSheetText(sheet));
    state.SetItemsProcessed(state.iterations() * kCols * kRows);
}
BENCHMARK(BM_WriteSheetText)->Unit(benchmark::kMillisecond);

void BM_ReadSheetText(benchmark::State& state)
{
    const std::string text = grid::writeSheetText(sharedSheet());
    for (auto _ : state)
    {
        grid::Sheet sheet;
        grid::FileError error;
        if (!grid::readSheetText(text, sheet, error))
            state.SkipWithError(error.message.c_str());
        benchmark::DoNotOptimize(sheet);
    }
    state.SetItemsProcessed(state.iterations() * kCols * kRows);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadSheetText)->Unit(benchmark::kMillisecond);

void BM_SaveFile(benchmark::State& state)
{
    const grid::Sheet& sheet = sharedSheet();
    const std::string path = scratchPath("kaldor-grid-io-bench.zxs");
    for (auto _ : state)
        if (!sheet.saveFile(path))
            state.SkipWithError("save failed");
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * kCols * kRows);
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State& state)
{
    const std::string path = scratchPath("kaldor-grid-io-bench-load.zxs");
    sharedSheet().saveFile(path);
    grid::Sheet sheet;
    for (auto _ : state)
        if (!sheet.loadFile(path))
            state.SkipWithError("load failed");
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * kCols * kRows);
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

void BM_LoadCsv(benchmark::State& state)
{
    const std::string text = grid::writeCsvText(sharedSheet());
    for (auto _ : state)
    {
        grid::Sheet sheet;
        grid::FileError error;
        if (!grid::readCsvText(text, sheet, error))
            state.SkipWithError(error.message.c_str());
        benchmark::DoNotOptimize(sheet);
    }
    state.SetItemsProcessed(state.iterations() * kCols * kRows);
}
BENCHMARK(BM_LoadCsv)->Unit(benchmark::kMillisecond);

void BM_SaveCsvText(benchmark::State& state)
{
    const grid::Sheet& sheet = sharedSheet();
    for (auto _ : state)
        benchmark::DoNotOptimize(grid::writeCsvText(sheet));
    state.SetItemsProcessed(state.iterations() * kCols * kRows);
}
BENCHMARK(BM_SaveCsvText)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
