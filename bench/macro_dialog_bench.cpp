// What the macro dialog's live apply costs as a tab grows: one value changed in the grid and
// applied (read back, compared, handed to the host, every page shown again), against opening
// the dialog on the same tab. Ratios between the tab sizes show how both scale.

#include "designer/Kdr_DlgMacro.h"
#include "designer/Kdr_DlgMacroPage.h"
#include "designer/MacroDialogResources.h"
#include "frame/MacroDlgRegistry.h"
#include "host/CommandLine.h"
#include "host/MacroDialogHost.h"

#include <benchmark/benchmark.h>
#include <string>

namespace
{
/// Dialog data of one tab with `variables` number variables, none of them on a template.
MacroData tabOf(int variables)
{
    MacroTabData tab("Plate", MacroTabData::kVariables);
    for (int i = 0; i < variables; ++i)
        tab.addCell({"V" + std::to_string(i), std::to_string(i), MacroCellData::kNumber, false, {}, 0});
    MacroData data;
    data.addTab(tab);
    return data;
}

void BM_ApplyOneChange(benchmark::State& state)
{
    host::CommandLineCapture quiet;
    MacroData data = tabOf(static_cast<int>(state.range(0)));
    int index = -1;
    StartDlgMacroModeless(true, data, index);
    Kdr_DlgMacro* dialog = macroDlgInSlot(index);
    Kdr_Spread& grid = dialog->page(0)->grid();
    int value = 0;
    for (auto _ : state)
    {
        grid.setCellText(3, 1, std::to_string(++value).c_str());
        benchmark::DoNotOptimize(dialog->applyPage(0));
    }
    DestroyAllMacroDlgs();
    macroDialogHost().reset();
}
BENCHMARK(BM_ApplyOneChange)->Arg(20)->Arg(200)->Arg(2000);

void BM_OpenAndClose(benchmark::State& state)
{
    host::CommandLineCapture quiet;
    MacroData data = tabOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        int index = -1;
        StartDlgMacroModeless(true, data, index);
        EndDlgMacroModeless(index);
    }
    macroDialogHost().reset();
}
BENCHMARK(BM_OpenAndClose)->Arg(20)->Arg(200)->Arg(2000);
} // namespace

BENCHMARK_MAIN();
