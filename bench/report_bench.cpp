// What a calculation report costs, and that the evaluation does not pay for it unless one is
// asked for: one main evaluation of a realistic sheet (30 inputs, 10 outputs, 20 locals, 150
// equations with steel functions and data files, one child call) without a recorder, with a
// recorder collecting the report's data, and with the HTML page written as well. Read the
// figures as ratios within one run.

#include "EvaluationLibrary.h"
#include "spread/CalculationReport.h"
#include "spread/ZxCalculationRecord.h"
#include "standards/ZxDlgStandardsData.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace
{
constexpr int kEquations = 150;

/// The evaluation as every caller without a report runs it: nobody listens.
void BM_EvaluationWithoutReport(benchmark::State& state)
{
    EvaluationLibrary library(kEquations, "report");
    timeEvaluations(state, library);
}
BENCHMARK(BM_EvaluationWithoutReport)->Unit(benchmark::kMicrosecond);

/// A listener that ignores everything: what the calls into an observer cost by themselves.
class IgnoringRecorder final : public ZxEvaluationRecorder
{
public:
    void sheetStarted(const ZxDlgStandardsData&) override {}
    void sheetLoaded(const Kdr_String&) override {}
    void cellTextReplaced(int, int, const Kdr_String&) override {}
    void inputsSet(const ZxStandardsSpread&, const ZxDlgStandardsData&) override {}
    void equationStarted(const ZxStandardsSpread&, int, int, const Kdr_String&, const Kdr_String&,
                         const Kdr_String&) override
    {
    }
    void equationCalculated() override {}
    void equationSucceeded(const Kdr_String&) override {}
    void equationFailed(const Kdr_String&, const Kdr_String&) override {}
    void dataLookedUp(const ZxDataLookUp&) override {}
    void outputsWritten(const ZxStandardsSpread&) override {}
    void sheetFinished(bool) override {}
};

void BM_EvaluationWithIgnoringObserver(benchmark::State& state)
{
    EvaluationLibrary library(kEquations, "report");
    IgnoringRecorder recorder;
    ZxEvaluationRecorderScope scope(recorder);
    for (auto _ : state)
        benchmark::DoNotOptimize(library.evaluate());
}
BENCHMARK(BM_EvaluationWithIgnoringObserver)->Unit(benchmark::kMicrosecond);

/// The evaluation with the report's data collected.
void BM_EvaluationRecorded(benchmark::State& state)
{
    EvaluationLibrary library(kEquations, "report");
    for (auto _ : state)
    {
        ZxCalculationRecorder recorder;
        ZxEvaluationRecorderScope scope(recorder);
        benchmark::DoNotOptimize(library.evaluate());
        benchmark::DoNotOptimize(recorder.take());
    }
}
BENCHMARK(BM_EvaluationRecorded)->Unit(benchmark::kMicrosecond);

/// The evaluation with the report's data collected and the HTML page written.
void BM_EvaluationWithReport(benchmark::State& state)
{
    EvaluationLibrary library(kEquations, "report");
    for (auto _ : state)
    {
        ZxCalculationRecorder recorder;
        {
            ZxEvaluationRecorderScope scope(recorder);
            library.evaluate();
        }
        std::vector<ZxReportMacro> macros(1);
        macros[0].macroFile = "bench.json";
        macros[0].sheet = "Bench.csv";
        macros[0].record = recorder.take();
        const std::string html = calculationReportHtml({"lib/", "bench", "now"}, macros);
        benchmark::DoNotOptimize(html.data());
        state.counters["html_bytes"] = static_cast<double>(html.size());
    }
}
BENCHMARK(BM_EvaluationWithReport)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
