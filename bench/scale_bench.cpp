// Work that must grow in step with its input: a standards sheet whose equations chain many
// local variables, and a macro file with very many modules. Each runs at two sizes, ten times
// apart; the time ratio of the pair (shown by the complexity fit) must stay near 10.

#include "host/AcTransaction.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/Settings.h"
#include "hostio/MacroJson.h"
#include "spread/StandardsEntryPoints.h"
#include "standards/ZxDlgStandardsData.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
namespace fs = std::filesystem;

/// A library whose sheet declares `locals` Local variables, ten to a row, and computes each
/// from the one before: L1 = In1, L2 = L1 + 1, …, Out = the last.
class ChainLibrary
{
public:
    explicit ChainLibrary(int locals)
    {
        root_ = fs::temp_directory_path() / ("kaldor-bench-chain-" + std::to_string(locals));
        fs::remove_all(root_);
        fs::create_directories(root_ / "Connection Standards");
        std::ostringstream sheet;
        sheet << "Input\nDouble In1\nOutput\nDouble Out\nLocal\n";
        for (int i = 1; i <= locals; ++i)
            sheet << "Double L" << i << (i % 10 == 0 || i == locals ? "\n" : ",");
        sheet << "Calc\nL1 = In1\n";
        for (int i = 2; i <= locals; ++i)
            sheet << "L" << i << " = L" << i - 1 << " + 1\n";
        sheet << "Out = L" << locals << "\n";
        std::ofstream(root_ / "Connection Standards" / "Chain.csv") << sheet.str();

        const std::string json = R"({"name": "Chain", "modules": [{"name": "P", "group": "Plate",
            "variables": [{"name": "In1", "value": "1"}, {"name": "Out", "value": "0"}]}]})";
        std::string error;
        if (!parseMacroJson(json, "chain macro", macro_, data_, error))
            throw std::runtime_error(error);
        previous_ = gSettings.libDir();
        gSettings.setLibDir(root_.string() + "/");
        gSettings.setShowSpreadsheetErrors(false);
    }
    ~ChainLibrary()
    {
        gSettings.setLibDir(previous_);
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    bool evaluate()
    {
        AcTransaction transaction;
        ZxDlgStandardsData request;
        request.initialize(&macro_, "Chain.csv", "Module.Plate", &data_);
        request.transaction = &transaction;
        return StartDlgStandardsSS(request);
    }

private:
    fs::path root_;
    Kdr_String previous_;
    Kdr_DbMacro macro_;
    MacroData data_;
};

void BM_LocalVariableChain(benchmark::State& state)
{
    ChainLibrary library(static_cast<int>(state.range(0)));
    for (auto _ : state)
        if (!library.evaluate())
            state.SkipWithError("evaluation failed");
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LocalVariableChain)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

/// A macro of `count` modules, each with two variables.
std::string macroWithModules(int count)
{
    std::string json = R"({"name": "Big", "modules": [)";
    for (int i = 0; i < count; ++i)
    {
        json += i ? "," : "";
        json += R"({"name": "Module)" + std::to_string(i) + R"(", "group": "G)" + std::to_string(i % 50) +
                R"(", "variables": [{"name": "A", "value": "1"}, {"name": "B", "value": "2"}]})";
    }
    return json + "]}";
}

void BM_LoadMacroWithModules(benchmark::State& state)
{
    const std::string json = macroWithModules(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        Kdr_DbMacro macro;
        MacroData data;
        std::string error;
        if (!parseMacroJson(json, "big.json", macro, data, error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(macro);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadMacroWithModules)
    ->Arg(20000)
    ->Arg(200000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
} // namespace

BENCHMARK_MAIN();
