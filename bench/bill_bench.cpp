// A bill of materials of 10,000 rows (a subtotal after every 20) fed through the bill output
// and written as the sheet format and as CSV. The run includes everything the host would
// wait for: opening the bill window, formatting each row, fitting the columns, setting the
// print variables and writing the file.

#include "spread/ZxSSBillOutput.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
constexpr int kRows = 10000;
constexpr int kGroup = 20;

struct BillRows
{
    Kdr_StringArray columns{"Pos", "Assembly", "Part", "Section", "Length mm", "Qty", "Weight kg"};
    AcArray<int> kinds{1, 3, 3, 3, 1, 1, 2};
    std::vector<Kdr_StringArray> rows;
    std::vector<bool> subtotal;
};

const BillRows& billRows()
{
    static const BillRows bill = []
    {
        BillRows made;
        const char* sections[] = {"HEA 200", "IPE 300", "PL 10x200", "L 80x8", "RHS 120x80x5"};
        int pos = 1;
        while (static_cast<int>(made.rows.size()) < kRows)
        {
            const std::string assembly = "Assembly " + std::to_string(pos / kGroup + 1);
            double weight = 0;
            for (int i = 0; i < kGroup - 1 && static_cast<int>(made.rows.size()) < kRows; ++i, ++pos)
            {
                const double partWeight = (pos % 97) * 3.7 + 1.25;
                weight += partWeight;
                made.rows.push_back({Kdr_String(pos), assembly, pos % 3 ? "Plate, drilled" : "Profile",
                                     sections[pos % 5], Kdr_String(1000 + pos % 9000),
                                     Kdr_String(1 + pos % 12), Kdr_String(partWeight, 2, false)});
                made.subtotal.push_back(false);
            }
            made.rows.push_back({"", assembly + " total", "", "", "", "", Kdr_String(weight, 2, false)});
            made.subtotal.push_back(true);
        }
        return made;
    }();
    return bill;
}

std::filesystem::path scratchFolder()
{
    static const std::filesystem::path folder = []
    {
        std::filesystem::path made = std::filesystem::temp_directory_path() / "kaldor-bill-bench";
        std::filesystem::create_directories(made);
        // The editor's configuration is looked for here, never in the user's home.
        ::setenv("XDG_CONFIG_HOME", (made / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (made / "system").c_str(), 1);
        return made;
    }();
    return folder;
}

void writeBill(benchmark::State& state, const char* fileName, const Kdr_Spread::SheetFileWriter& writer)
{
    const BillRows& bill = billRows();
    const std::string file = (scratchFolder() / fileName).string();
    for (auto _ : state)
    {
        ZxSSBillOutput output;
        output.init(file, bill.columns, {}, bill.kinds, "Bench", {"Project"}, {"Bench"});
        output.setFileWriter(writer);
        output.onStartFeed();
        for (size_t i = 0; i < bill.rows.size(); ++i)
            if (bill.subtotal[i])
                output.onAddSubTotals(bill.rows[i], {}, false, 0);
            else
                output.onAddRow(bill.rows[i]);
        if (output.onEndFeed() != Acad::eOk)
            state.SkipWithError("the bill was not written");
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(bill.rows.size()));
}

void BM_BillToSheetFile(benchmark::State& state)
{
    writeBill(state, "bill.zxs", {});
}
BENCHMARK(BM_BillToSheetFile)->Unit(benchmark::kMillisecond);

void BM_BillToCsv(benchmark::State& state)
{
    writeBill(state, "bill.csv",
              [](Kdr_Spread& sheet, const Kdr_String& fileName) { return writeBillCsv(sheet, fileName); });
}
BENCHMARK(BM_BillToCsv)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
