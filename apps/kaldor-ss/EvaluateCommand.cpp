#include "EvaluateCommand.h"

#include "Commands.h"
#include "Console.h"
#include "ReportPicture.h"
#include "host/AcTransaction.h"
#include "host/Clock.h"
#include "host/FileFunctions.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/Settings.h"
#include "hostio/MacroJson.h"
#include "spread/CalculationReport.h"
#include "spread/EvaluationTimers.h"
#include "spread/StandardsEntryPoints.h"
#include "spread/StandardsFiles.h"
#include "spread/ZxCalculationRecord.h"
#include "standards/ZxDlgStandardsData.h"
#include "standards/ZxEvaluationReport.h"
#include "standards/ZxSSMapping.h"
#include "standards/ZxVarTypes.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

namespace cli
{
namespace
{
using Json = nlohmann::ordered_json;

Kdr_String standardsFolder()
{
    return gSettings.libDir() + "Connection Standards/";
}

/// Whether the evaluation will find the sheet, looked for the way it looks: the name as a
/// file (a workbook perhaps with "#Sheet"), else the library's standards folder with ".zxs",
/// ".xlsx" or ".ods", else that folder with the name as it is. Names with wildcards are left
/// to the evaluation.
bool sheetExists(const std::string& sheet)
{
    if (sheet.find_first_of("*?") != std::string::npos)
        return true;
    return !findSheetFile(sheet).empty() || host::fileExists(standardsFolder() + sheet + ".zxs") ||
           !findSheetFile(standardsFolder() + sheet).empty();
}

/// The macro's own target for the sheet, tried by the name as given and by its file title
/// ("Connection Standards/EndPlate.zxs" finds the entry of "EndPlate").
bool defaultTarget(const Kdr_DbMacro& macro, const std::string& sheet, Kdr_String& target)
{
    return macro.findStandardsTarget(sheet, target) ||
           macro.findStandardsTarget(host::getFileTitle(sheet), target);
}

/// One step of the main run. A step that fails ends the run, so the failed step is the last
/// one (in pipeline order) whose timer has run.
struct Step
{
    const Kdr_Timer* timer;
    const char* what;
    int status;
};

const Step& failedStep()
{
    static const Step steps[] = {
        {nullptr, "getting a standards dialog", kFailed},
        {&gLoadFile, "loading the sheet", kBadInput},
        {&gInitSSForInput,
         "collecting the variable cells (a standards sheet needs an \"Input\" and an \"Output\" heading)",
         kFailed},
        {&gSSSGetFromMacro, "reading the Input values from the macro", kFailed},
        {&gSetMacroValuelsToSS, "writing the values into the sheet", kFailed},
        {&gSSSreplaceGenVars, "replacing the general variables", kFailed},
        {&gCalcMain, "calculating the sheet (a standards sheet needs a \"Calc\" heading)", kFailed},
        {&gSetToMacro, "writing the Output values into the macro", kFailed},
    };
    const Step* last = &steps[0];
    for (const Step& step : steps)
        if (step.timer && step.timer->count() > 0)
            last = &step;
    return *last;
}

Json cellsAsJson(const ZxVarCells& cells)
{
    Json list = Json::array();
    for (int i = 0; i < cells.length(); ++i)
        list.push_back(Json{{"name", cells[i].name},
                            {"cellType", cellTypeWord(cells[i].cellType)},
                            {"valueType", valueTypeWord(cells[i].valueType)},
                            {"value", cells[i].value}});
    return list;
}

/// The time SOURCE_DATE_EPOCH (seconds since 1970, the convention of reproducible builds)
/// names, if it is set to one.
std::optional<std::chrono::system_clock::time_point> pinnedTime()
{
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch || !*epoch)
        return std::nullopt;
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (*end != '\0' || seconds < 0)
        return std::nullopt;
    return std::chrono::system_clock::time_point(std::chrono::seconds(seconds));
}

/// One evaluation: a macro file, read, evaluated and (when asked) written.
class MacroRun
{
public:
    MacroRun(const EvaluateRequest& request, const std::string& macroPath, Console& console)
        : request_(request), macroPath_(macroPath), console_(console)
    {
    }

    int run()
    {
        console_.clearDiagnostics();
        int status = evaluate();
        if (report_)
            fillReport(status);
        // An evaluation that ran but failed somewhere is no success: the failures are listed
        // and nothing is written, unless the user asked to keep going.
        const bool failed = status == kSuccess && !failures_.empty();
        if (failed)
            reportFailures();
        // A report on standard output is all that goes there.
        if (request_.report == "-")
            ;
        else if (request_.json)
            printJson(status == kSuccess && (!failed || request_.keepGoing));
        else if (status == kSuccess)
            printLines();
        if (failed && !request_.keepGoing)
            return kFailed;
        if (status == kSuccess)
            return save();
        return status;
    }

    /// Makes the run record what a report needs; `report` is filled when the run ends.
    void recordInto(ZxReportMacro& report) { report_ = &report; }

private:
    /// Why the run stopped, for the report.
    std::string error_;

    void fillReport(int status)
    {
        ZxReportMacro& report = *report_;
        report.macroFile = macroPath_;
        report.sheet = request_.sheet;
        report.target = data_.target.empty() ? Kdr_String(request_.target) : data_.target;
        report.failures = failures_;
        report.ok = status == kSuccess && failures_.empty();
        report.error = error_;
        if (const ZxRecordedSheet* sheet = recorder_.root())
        {
            namespace fs = std::filesystem;
            std::error_code code;
            const auto written = fs::last_write_time(host::toPath(sheet->path), code);
            if (!code && !sheet->path.empty())
            {
                // Like the tools of reproducible builds, a pinned date (SOURCE_DATE_EPOCH) is
                // the latest time a report shows, so a fresh checkout reports the same.
                auto time = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
                    std::chrono::file_clock::to_sys(written));
                if (const auto pinned = pinnedTime(); pinned && time > *pinned)
                    time = *pinned;
                report.sheetModified = formatUtcTime(time);
            }
        }
        report.record = recorder_.take();
        if (report.record)
        {
            std::string problem;
            report.picture = reportPicture(macro_, macroData_, problem);
            if (!problem.empty())
                console_.note(macroPath_ + ": " + problem);
        }
    }

    int evaluate()
    {
        std::string error;
        if (!loadMacroJson(macroPath_, macro_, macroData_, error))
        {
            error_ = error;
            console_.error(error);
            return kBadInput;
        }
        Kdr_String target = request_.target;
        if (target.empty() && !defaultTarget(macro_, request_.sheet, target))
        {
            console_.error(macroPath_ + ": the macro names no mapping target for sheet \"" + request_.sheet +
                           "\"; give one with --target");
            return kUsage;
        }
        if (data_.initialize(&macro_, request_.sheet, target, &macroData_) != Acad::eOk)
        {
            console_.error(macroPath_ + ": the evaluation request could not be set up");
            return kFailed;
        }
        checkTarget();
        data_.transaction = &transaction_;
        for (const Kdr_GeneralVariable& variable : macro_.macro().generalVariables())
        {
            data_.genVarNames.append(variable.name);
            data_.genVarValues.append(variable.isText ? variable.text
                                                      : Kdr_String(variable.number, 8, false));
        }

        setEvaluationTimersMeasuring(request_.timers);
        resetEvaluationTimers();
        bool ok = false;
        if (report_)
        {
            ZxEvaluationRecorderScope recording(recorder_);
            ok = StartDlgStandardsSS(data_);
        }
        else
            ok = StartDlgStandardsSS(data_);
        if (request_.timers)
            reportTimers();
        if (ok)
        {
            transaction_.commit();
            for (const ZxEvaluationFailure& failure : gEvaluationReport.failures())
                failures_.push_back(failure);
            return kSuccess;
        }
        transaction_.abort();
        const Step& step = failedStep();
        error_ =
            "evaluating sheet \"" + request_.sheet + "\" on " + macroPath_ + " failed while " + step.what;
        // What the evaluation reported before it stopped belongs in the report as well.
        for (const ZxEvaluationFailure& failure : gEvaluationReport.failures())
            failures_.push_back(failure);
        console_.error(error_);
        return step.status;
    }

    /// A target that binds nothing makes the sheet calculate with the values in its own cells
    /// and write nothing back: a module group the macro does not have, or a mapping file
    /// without an entry for the target.
    void checkTarget()
    {
        const ZxDlgStandardsData& data = data_;
        if (!data.moduleGroup.empty())
        {
            Kdr_StringArray modules;
            if (!macro_.macro().getModNamesOfGroup(data.moduleGroup, modules))
                failures_.push_back({data.fileName,
                                     0,
                                     {},
                                     {},
                                     "target \"" + data.target + "\": the macro has no module group \"" +
                                         data.moduleGroup + "\""});
            return;
        }
        ZxSSMapping mapping;
        if (mapping.getMappingFromFile(data.fileName, data.target) == Acad::eOk &&
            !mapping.mappedObjects().isEmpty())
            return;
        failures_.push_back({data.fileName,
                             0,
                             {},
                             {},
                             "target \"" + data.target + "\": no usable mapping in " +
                                 ZxSSMapping::mappingFilePath(data.fileName)});
    }

    /// Every failure on standard error, one line each: sheet (and line), variable, equation
    /// and reason.
    void reportFailures()
    {
        const std::string lead = request_.keepGoing ? "warning: " : "";
        for (const ZxEvaluationFailure& failure : failures_)
        {
            std::string line = lead + macroPath_ + ": " + failure.sheet;
            if (failure.row > 0)
                line += " (line " + std::to_string(failure.row) + ")";
            if (!failure.equation.empty())
                line += ": " + (failure.variable.empty() ? std::string(failure.equation)
                                                         : failure.variable + " = " + failure.equation);
            else if (!failure.variable.empty())
                line += ": " + failure.variable;
            line += ": " + failure.reason;
            if (request_.keepGoing)
                console_.note(line);
            else
                console_.error(line);
        }
        if (!request_.keepGoing)
            console_.error(macroPath_ + ": " + std::to_string(failures_.size()) +
                           (failures_.size() == 1 ? " failure" : " failures") +
                           "; the macro was not written (--keep-going writes it all the same)");
    }

    void reportTimers()
    {
        std::string text = "timers of " + macroPath_ + ":\n";
        for (const Kdr_Timer* timer : evaluationTimers())
            text += "  " + timer->report() + "\n";
        console_.report(text);
    }

    void printLines()
    {
        const ZxVarCells& cells = data_.varCells;
        if (request_.macros.size() > 1)
            console_.result("[" + macroPath_ + "]");
        for (int i = 0; i < cells.length(); ++i)
            console_.result(std::string(cellTypeWord(cells[i].cellType)) + "\t" +
                            valueTypeWord(cells[i].valueType) + "\t" + field(cells[i].name) + "\t" +
                            field(cells[i].value));
    }

    void printJson(bool ok)
    {
        Json failures = Json::array();
        for (const ZxEvaluationFailure& failure : failures_)
            failures.push_back(Json{{"sheet", failure.sheet},
                                    {"line", failure.row},
                                    {"variable", failure.variable},
                                    {"equation", failure.equation},
                                    {"reason", failure.reason}});
        const bool evaluated = ok || !failures_.empty();
        Json object{{"sheet", request_.sheet},
                    {"macro", macroPath_},
                    {"ok", ok},
                    {"cells", evaluated ? cellsAsJson(data_.varCells) : Json::array()},
                    {"failures", failures}};
        // Texts of old sheets need not be UTF-8; they must not break the output.
        console_.result(object.dump(-1, ' ', false, Json::error_handler_t::replace));
    }

    int save()
    {
        std::string path = request_.inPlace ? macroPath_ : request_.out;
        if (path.empty())
            return kSuccess;
        std::string error;
        if (!saveMacroJson(path, macro_, macroData_, error))
        {
            console_.error(error);
            return kFailed;
        }
        return kSuccess;
    }

    const EvaluateRequest& request_;
    const std::string& macroPath_;
    Console& console_;
    Kdr_DbMacro macro_;
    MacroData macroData_;
    AcTransaction transaction_;
    ZxDlgStandardsData data_;
    std::vector<ZxEvaluationFailure> failures_;
    ZxReportMacro* report_ = nullptr;
    ZxCalculationRecorder recorder_;
};

/// Writes the report of every run into its file or onto standard output.
int writeReport(const std::string& file, const std::vector<ZxReportMacro>& macros, Console& console)
{
    ZxReportHeader header;
    header.libraryFolder = gSettings.libDir();
    header.programVersion = host::versionText();
    // SOURCE_DATE_EPOCH pins the report's date so that a report made twice is the same file.
    host::ManualClock pinned;
    std::optional<host::ClockOverride> pin;
    if (const auto time = pinnedTime())
    {
        pinned.setWallTime(*time);
        pin.emplace(pinned);
    }
    header.createdAt = formatUtcTime(host::clock().wallTime());
    const std::string html = calculationReportHtml(header, macros);
    if (file == "-")
    {
        std::fwrite(html.data(), 1, html.size(), stdout);
        std::fflush(stdout);
        return kSuccess;
    }
    Kdr_String error;
    if (!host::writeFileAtomically(file, html, error))
    {
        console.error(error);
        return kFailed;
    }
    return kSuccess;
}
} // namespace

int runEvaluate(const EvaluateRequest& request, Console& console)
{
    if (!sheetExists(request.sheet))
    {
        console.error("sheet \"" + request.sheet + "\" not found (looked for it as a file and in " +
                      standardsFolder() + ")");
        return kBadInput;
    }
    int status = kSuccess;
    const int count = static_cast<int>(request.macros.size());
    std::vector<ZxReportMacro> reports;
    for (int i = 0; i < count; ++i)
    {
        if (count > 1)
            console.progress("[" + std::to_string(i + 1) + "/" + std::to_string(count) + "] " +
                             request.macros[i]);
        MacroRun run(request, request.macros[i], console);
        if (!request.report.empty())
            run.recordInto(reports.emplace_back());
        status = worseStatus(status, run.run());
    }
    if (!request.report.empty())
        status = worseStatus(status, writeReport(request.report, reports, console));
    return status;
}
} // namespace cli

void cli::addEvaluateCommand(CLI::App& app, Command& command)
{
    auto evaluate = std::make_shared<EvaluateRequest>();
    CLI::App* evaluateCommand =
        app.add_subcommand("evaluate", "Evaluate a standards sheet on one or more macros");
    evaluateCommand
        ->add_option("SHEET", evaluate->sheet,
                     "Standards sheet: a name in \"Connection Standards\", or a path")
        ->required();
    evaluateCommand->add_option("--macro", evaluate->macros, "Macro file (JSON); repeat for several")
        ->required()
        ->allow_extra_args(false);
    evaluateCommand->add_option("--target", evaluate->target,
                                "Mapping target (else the macro's own target for the sheet)");
    CLI::Option* out = evaluateCommand->add_option(
        "--out", evaluate->out, "Write the changed macro to this file (\"-\": standard output)");
    CLI::Option* inPlace = evaluateCommand->add_flag("--in-place", evaluate->inPlace,
                                                     "Write each changed macro back into its file");
    out->excludes(inPlace);
    evaluateCommand->add_flag("--json", evaluate->json, "One JSON object per macro");
    evaluateCommand->add_flag("--timers", evaluate->timers,
                              "Report the time of every step on standard error");
    evaluateCommand->add_flag("--keep-going", evaluate->keepGoing,
                              "Write the macro and exit 0 even when equations or variables failed "
                              "(the failures are shown as warnings)");
    CLI::Option* report = evaluateCommand->add_option(
        "--report", evaluate->report,
        "Write a calculation report (one HTML page: inputs, every equation with its values and result, "
        "outputs old and new, data look-ups) to this file (\"-\": standard output)");
    evaluateCommand->callback(
        [evaluate, out, report, &command]
        {
            if (report->count() > 0 && evaluate->report.empty())
                throw CLI::ValidationError("--report", "needs a file name (\"-\" for standard output)");
            if (evaluate->report == "-" && evaluate->out == "-")
                throw CLI::ValidationError("--report",
                                           "the report and the macro cannot both go to standard output");
            if (out->count() > 0 && evaluate->out.empty())
                throw CLI::ValidationError("--out", "needs a file name (\"-\" for standard output)");
            if (!evaluate->out.empty() && evaluate->macros.size() > 1)
                throw CLI::ValidationError("--out", "--out takes one macro; use --in-place for several");
            command = [evaluate](Console& console) { return runEvaluate(*evaluate, console); };
        });
}
