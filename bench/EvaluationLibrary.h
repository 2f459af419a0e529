#pragma once

// The realistic standards sheet the evaluation benchmarks run: 30 inputs, 10 outputs, 20
// locals, N equations mixing arithmetic, rounding, conditions, steel functions and data files,
// and one child call, in a library folder of its own with a macro to evaluate it on.

#include "host/Kdr_DbMacro.h"
#include "host/Kdr_String.h"
#include "host/MacroData.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string_view>

class EvaluationLibrary
{
public:
    /// Writes the library into a temporary folder named after `folderTag` and the equation
    /// count, and makes it the current library folder until destroyed.
    EvaluationLibrary(int equations, std::string_view folderTag);
    ~EvaluationLibrary();
    EvaluationLibrary(const EvaluationLibrary&) = delete;
    EvaluationLibrary& operator=(const EvaluationLibrary&) = delete;

    /// One main evaluation, from StartDlgStandardsSS to its return.
    bool evaluate();

private:
    std::filesystem::path root_;
    Kdr_String previous_;
    Kdr_DbMacro macro_;
    MacroData data_;
};

/// Times evaluate() on every iteration, after one evaluation outside the timing that must
/// succeed (else the benchmark is skipped with an error).
void timeEvaluations(benchmark::State& state, EvaluationLibrary& library);
