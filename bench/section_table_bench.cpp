// Section tables of 5,000 sizes: what the checks of the section table reader cost over the
// plain table-file parse, the profile table's grid round trip and name queries, and the section
// library's row commands and new-size placement measured against that round trip.

#include "host/SectionTableFile.h"
#include "host/TableFile.h"
#include "library/Kdr_ProfValuesTable.h"
#include "library/SectionLibrary.h"
#include "spread/Kdr_Spread.h"

#include <benchmark/benchmark.h>
#include <string>

namespace
{
constexpr int kSizes = 5000;

/// A large table in the layout of the bundled ones: four languages and six properties.
std::string bigTableText()
{
    std::string text = "1\nSysName\tI/O\tEnglish\tDutch\tGerman\tFrench\th\tb\ttw\ttf\tr\tG\n";
    for (int i = 0; i < kSizes; ++i)
    {
        const std::string size = std::to_string(100 + i);
        text += size + "\t" + (i % 7 == 0 ? "0" : "1");
        for (int language = 0; language < 4; ++language)
            text += "\tHEA " + size;
        text += "\t" + size + "\t" + std::to_string(100 + i / 2) + "\t7.5\t12.5\t24\t" +
                std::to_string(i * 0.25) + "\n";
    }
    return text;
}

const std::string& tableText()
{
    static const std::string text = bigTableText();
    return text;
}

void plainTableParse(benchmark::State& state)
{
    for (auto _ : state)
    {
        Kdr_Array<Kdr_StringArray> rows;
        benchmark::DoNotOptimize(host::parseTableText(tableText(), "HEA.pr", rows));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * tableText().size()));
}

void sectionTableParse(benchmark::State& state)
{
    for (auto _ : state)
    {
        SectionTableContents contents;
        benchmark::DoNotOptimize(host::parseSectionTableText(tableText(), "HEA.pr", contents));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * tableText().size()));
}

Kdr_ProfValuesTable bigTable()
{
    SectionTableContents contents;
    host::parseSectionTableText(tableText(), "HEA.pr", contents);
    Kdr_ProfValuesTable table;
    table.setName("HEA");
    table.setPicture(contents.picture);
    table.setColumnNames(contents.columnNames);
    table.setRows(contents.rows);
    return table;
}

void filteredNamesAndIndices(benchmark::State& state)
{
    const Kdr_ProfValuesTable table = bigTable();
    for (auto _ : state)
    {
        Kdr_StringArray names;
        table.getFilteredSysNames(names);
        benchmark::DoNotOptimize(table.getfilteredIdx(kSizes - 1));
        benchmark::DoNotOptimize(names);
    }
}

void gridRoundTrip(benchmark::State& state)
{
    Kdr_ProfValuesTable table = bigTable();
    Kdr_Spread grid;
    grid.createHidden();
    for (auto _ : state)
    {
        table.setToSS(grid);
        table.getFromSS(grid);
    }
}

/// The section library's sort button on the whole table: by the mass column, one way and back.
void gridSortRows(benchmark::State& state)
{
    const Kdr_ProfValuesTable table = bigTable();
    Kdr_Spread grid;
    grid.createHidden();
    table.setToSS(grid);
    for (auto _ : state)
    {
        grid.sortRows(12, false);
        grid.sortRows(12, true);
    }
}

/// A row moved down and back up in the middle of the table.
void gridMoveRow(benchmark::State& state)
{
    const Kdr_ProfValuesTable table = bigTable();
    Kdr_Spread grid;
    grid.createHidden();
    table.setToSS(grid);
    for (auto _ : state)
    {
        grid.moveRow(kSizes / 2, false);
        grid.moveRow(kSizes / 2 + 1, true);
    }
}

/// What a new size costs before it goes in: the name pattern and the place of its name.
void newSizePlacement(benchmark::State& state)
{
    const Kdr_ProfValuesTable table = bigTable();
    for (auto _ : state)
    {
        Kdr_SizePattern pattern;
        benchmark::DoNotOptimize(findSizePattern(table, kSizes / 2, pattern));
        benchmark::DoNotOptimize(sizeInsertionIndex(table, "2550"));
    }
}
} // namespace

BENCHMARK(plainTableParse)->Unit(benchmark::kMillisecond);
BENCHMARK(sectionTableParse)->Unit(benchmark::kMillisecond);
BENCHMARK(filteredNamesAndIndices)->Unit(benchmark::kMillisecond);
BENCHMARK(gridRoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(gridSortRows)->Unit(benchmark::kMillisecond);
BENCHMARK(gridMoveRow)->Unit(benchmark::kMillisecond);
BENCHMARK(newSizePlacement)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
