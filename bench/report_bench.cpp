// What a calculation report costs, and that the evaluation does not pay for it unless one is
// asked for: one main evaluation of a realistic sheet (30 inputs, 10 outputs, 20 locals, 150
// equations with steel functions and data files, one child call) without a recorder, with a
// recorder collecting the report's data, and with the HTML page written as well. Read the
// figures as ratios within one run.

#include "host/AcTransaction.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/SectionTables.h"
#include "host/Settings.h"
#include "hostio/MacroJson.h"
#include "spread/CalculationReport.h"
#include "spread/StandardsEntryPoints.h"
#include "spread/ZxCalculationRecord.h"
#include "standards/ZxDlgStandardsData.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace
{
namespace fs = std::filesystem;

std::string quoted(const std::string& field)
{
    std::string out = "\"";
    for (char c : field)
    {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

/// The equation of row i: a mix of arithmetic, look-ups, rounding and conditions.
std::string equation(int i, int count)
{
    const int a = i % 30 + 1;
    const int b = (i * 7) % 30 + 1;
    const bool output = i >= count - 10;
    const std::string target =
        output ? "Out" + std::to_string(i - (count - 10) + 1) : "L" + std::to_string(i % 20 + 1);
    const std::string previous = "L" + std::to_string((i + 19) % 20 + 1);
    switch (i % 6)
    {
    case 0:
        return target + " = In" + std::to_string(a) + " * 2 + In" + std::to_string(b) + " / 3";
    case 1:
        return target + " = ROUNDTO(In" + std::to_string(a) + " * 1.37, 5)";
    case 2:
        return target + " = STDSIZEWITHTOLERANCE(\"sizes.txt\", 5, In" + std::to_string(a) + " * 10, 10, 10)";
    case 3:
        return target + " = GETCELL(\"bolts.txt\", 20, \"8.8\") + In" + std::to_string(b);
    case 4:
        return target + " = MAX(" + previous + ", In" + std::to_string(a) + ") + MIN(In" + std::to_string(b) +
               ", 100)";
    default:
        return target + " = IF(In" + std::to_string(a) + " > 50, " + previous + " * 2, " + previous + " / 2)";
    }
}

class Library
{
public:
    explicit Library(int equations)
    {
        root_ = fs::temp_directory_path() / ("kaldor-bench-report-" + std::to_string(equations));
        fs::remove_all(root_);
        const fs::path standards = root_ / "Connection Standards";
        fs::create_directories(standards / "Data");
        fs::create_directories(standards / "Childs");
        {
            std::ofstream sizes(standards / "Data" / "sizes.txt");
            sizes << "/* standard plate widths */\n";
            for (int w = 100; w <= 600; w += 10)
                sizes << w << "\n";
            std::ofstream bolts(standards / "Data" / "bolts.txt");
            bolts << "// diameter;grade\tproof load\n16;8.8\t157\n20;8.8\t245\n24;8.8\t353\n";
        }
        {
            std::ofstream child(standards / "Childs" / "BenchChild.csv");
            child << "Input\nDouble A,Double B\nOutput\nDouble C\nCalc\nC = ROUNDTO(A * B, 10)\n";
        }
        std::ostringstream sheet;
        sheet << "Input\n";
        for (int row = 0; row < 3; ++row)
        {
            for (int col = 0; col < 10; ++col)
                sheet << (col ? "," : "") << "Double In" << row * 10 + col + 1;
            sheet << "\n";
        }
        sheet << "Output\n";
        for (int col = 0; col < 10; ++col)
            sheet << (col ? "," : "") << "Double Out" << col + 1;
        sheet << "\nLocal\n";
        for (int row = 0; row < 2; ++row)
        {
            for (int col = 0; col < 10; ++col)
                sheet << (col ? "," : "") << "Double L" << row * 10 + col + 1;
            sheet << "\n";
        }
        sheet << "Calc\n";
        for (int i = 0; i < equations; ++i)
        {
            sheet << quoted(equation(i, equations)) << "\n";
            if (i == equations / 2)
                sheet << quoted("CallChild(\"BenchChild.csv\", In1, In2, L1)") << "\n";
        }
        std::ofstream(standards / "Bench.csv") << sheet.str();

        std::ostringstream json;
        json << R"({"name": "Bench", "generalVariables": [{"name": "gen_Grade", "value": 235}],)"
             << R"("modules": [{"name": "Plate1", "group": "Plate", "variables": [)";
        for (int i = 1; i <= 30; ++i)
            json << R"({"name": "In)" << i << R"(", "value": ")" << 10 + i * 3 << R"("},)";
        for (int i = 1; i <= 10; ++i)
            json << R"({"name": "Out)" << i << R"(", "value": "0"})" << (i < 10 ? "," : "");
        json << R"(]}], "tabs": [{"name": "Plate", "kind": 0}]})";
        std::string error;
        if (!parseMacroJson(json.str(), "bench macro", macro_, data_, error))
            throw std::runtime_error(error);
        previous_ = gSettings.libDir();
        gSettings.setLibDir(root_.string());
        gSettings.setShowSpreadsheetErrors(false);
        gSectionTables.reset();
    }
    ~Library()
    {
        gSettings.setLibDir(previous_);
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    bool evaluate()
    {
        AcTransaction transaction;
        ZxDlgStandardsData request;
        request.initialize(&macro_, "Bench.csv", "Module.Plate", &data_);
        request.transaction = &transaction;
        request.genVarNames = Kdr_StringArray{"gen_Grade"};
        request.genVarValues = Kdr_StringArray{"235"};
        return StartDlgStandardsSS(request);
    }

private:
    fs::path root_;
    Kdr_String previous_;
    Kdr_DbMacro macro_;
    MacroData data_;
};

constexpr int kEquations = 150;

/// The evaluation as every caller without a report runs it: nobody listens.
void BM_EvaluationWithoutReport(benchmark::State& state)
{
    Library library(kEquations);
    if (!library.evaluate())
    {
        state.SkipWithError("evaluation failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(library.evaluate());
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
    Library library(kEquations);
    IgnoringRecorder recorder;
    ZxEvaluationRecorderScope scope(recorder);
    for (auto _ : state)
        benchmark::DoNotOptimize(library.evaluate());
}
BENCHMARK(BM_EvaluationWithIgnoringObserver)->Unit(benchmark::kMicrosecond);

/// The evaluation with the report's data collected.
void BM_EvaluationRecorded(benchmark::State& state)
{
    Library library(kEquations);
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
    Library library(kEquations);
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
