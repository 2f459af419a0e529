// One main evaluation of a realistic standards sheet, from StartDlgStandardsSS to its return:
// 30 inputs, 10 outputs, 20 locals, N equations using steel functions and data files, and one
// child call. Run with 150 equations (a typical sheet) and 1,500 (to show how cost grows).

#include "EvaluationLibrary.h"

#include <benchmark/benchmark.h>

namespace
{
void BM_StandardsMainRun(benchmark::State& state)
{
    EvaluationLibrary library(static_cast<int>(state.range(0)), "eval");
    timeEvaluations(state, library);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StandardsMainRun)->Arg(150)->Arg(1500)->Unit(benchmark::kMicrosecond)->Complexity();
} // namespace

BENCHMARK_MAIN();
