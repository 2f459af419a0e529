// Showing a macro tab's template: reading the template file alone, reading it with its
// picture, and the whole binding to the sample end plate's tab with every control drawn.

#include "designer/Kdr_DesignerFiles.h"
#include "designer/Kdr_DlgDesignerData.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/Settings.h"
#include "hostio/MacroJson.h"
#include "ui/Dialog.h"
#include "ui/DialogTemplate.h"

#include <benchmark/benchmark.h>

namespace
{
struct SampleLibrary
{
    SampleLibrary() { gSettings.setLibDir(KALDOR_SAMPLE_LIBRARY); }
};

void BM_ReadTemplate(benchmark::State& state)
{
    SampleLibrary library;
    const Kdr_String path = getDesignerRootFolder() + "End plate.txt";
    const bool withImage = state.range(0) != 0;
    for (auto _ : state)
    {
        Kdr_DlgDesignerData data;
        benchmark::DoNotOptimize(data.readFromFile(path, withImage));
    }
}
BENCHMARK(BM_ReadTemplate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ShowEndPlateTab(benchmark::State& state)
{
    SampleLibrary library;
    Kdr_DbMacro macro;
    MacroData data;
    std::string error;
    loadMacroJson(KALDOR_SAMPLE_LIBRARY "../macros/EndPlate-IPE300.json", macro, data, error);
    ui::DialogTemplate t(9201, "Tab", 0, 0, 300, 200);
    t.style = WS_POPUP | WS_CAPTION;
    ui::Dialog page;
    page.CreateIndirect(t);
    Kdr_DlgDesignerData designer;
    for (auto _ : state)
    {
        MacroTabData tab = data.tabs()[0];
        benchmark::DoNotOptimize(designer.loadMacroTab(&page, tab));
    }
    designer.removeAllControls();
    page.DestroyWindow();
}
BENCHMARK(BM_ShowEndPlateTab)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
