#include "EvaluationLibrary.h"

#include "host/AcTransaction.h"
#include "host/SectionTables.h"
#include "host/Settings.h"
#include "hostio/MacroJson.h"
#include "spread/StandardsEntryPoints.h"
#include "standards/ZxDlgStandardsData.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

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
} // namespace

EvaluationLibrary::EvaluationLibrary(int equations, std::string_view folderTag)
{
    root_ = fs::temp_directory_path() /
            ("kaldor-bench-" + std::string(folderTag) + "-" + std::to_string(equations));
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

EvaluationLibrary::~EvaluationLibrary()
{
    gSettings.setLibDir(previous_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

bool EvaluationLibrary::evaluate()
{
    AcTransaction transaction;
    ZxDlgStandardsData request;
    request.initialize(&macro_, "Bench.csv", "Module.Plate", &data_);
    request.transaction = &transaction;
    request.genVarNames = Kdr_StringArray{"gen_Grade"};
    request.genVarValues = Kdr_StringArray{"235"};
    return StartDlgStandardsSS(request);
}

void timeEvaluations(benchmark::State& state, EvaluationLibrary& library)
{
    if (!library.evaluate())
    {
        state.SkipWithError("evaluation failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(library.evaluate());
}
