// kaldor-ss: runs connection standards sheets on macros, and the tools around them.

#include "Console.h"
#include "EvaluateCommand.h"
#include "LibraryFolder.h"
#include "MappingCommands.h"
#include "SheetCommands.h"
#include "host/Settings.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>

namespace
{
struct GlobalOptions
{
    std::string lib;
    bool noMessages = false;
    bool quiet = false;
};

const char* const kDescription =
    "kaldor-ss evaluates connection standards: spreadsheets that compute the dimensions of a steel "
    "connection (a macro) from the members it joins.\n"
    "Exit status: 0 success, 1 an evaluation failed, 2 usage error, 3 an input file could not be read.";

/// Runs the chosen command with the host set up as the options say.
int runCommand(const GlobalOptions& options, const char* argv0,
               const std::function<int(cli::Console&)>& command)
{
    cli::Console console(options.quiet);
    std::string error;
    if (!cli::setUpLibraryFolder(options.lib, argv0, error))
    {
        console.error(error);
        return cli::kBadInput;
    }
    gSettings.setShowSpreadsheetErrors(!options.noMessages);
    return command(console);
}
} // namespace

int main(int argc, char** argv)
{
    CLI::App app{kDescription, "kaldor-ss"};
    app.set_version_flag("--version", std::string("kaldor-ss ") + host::versionText());
    app.require_subcommand(1);
    app.fallthrough();

    GlobalOptions options;
    app.add_option(
        "--lib", options.lib,
        "Library folder (else the environment variable KALDOR_LIB, else the bundled sample library)");
    app.add_flag("--no-messages", options.noMessages, "Switch the spreadsheet error messages off");
    app.add_flag("--quiet", options.quiet, "Print results and errors only");

    std::function<int(cli::Console&)> command;

    // evaluate
    cli::EvaluateRequest evaluate;
    CLI::App* evaluateCommand =
        app.add_subcommand("evaluate", "Evaluate a standards sheet on one or more macros");
    evaluateCommand
        ->add_option("SHEET", evaluate.sheet,
                     "Standards sheet: a name in \"Connection Standards\", or a path")
        ->required();
    evaluateCommand->add_option("--macro", evaluate.macros, "Macro file (JSON); repeat for several")
        ->required()
        ->allow_extra_args(false);
    evaluateCommand->add_option("--target", evaluate.target,
                                "Mapping target (else the macro's own target for the sheet)");
    CLI::Option* out =
        evaluateCommand->add_option("--out", evaluate.out, "Write the changed macro to this file");
    CLI::Option* inPlace = evaluateCommand->add_flag("--in-place", evaluate.inPlace,
                                                     "Write each changed macro back into its file");
    out->excludes(inPlace);
    evaluateCommand->add_flag("--json", evaluate.json, "One JSON object per macro");
    evaluateCommand->add_flag("--timers", evaluate.timers, "Report the time of every step on standard error");
    evaluateCommand->callback(
        [&]
        {
            if (!evaluate.out.empty() && evaluate.macros.size() > 1)
                throw CLI::ValidationError("--out", "--out takes one macro; use --in-place for several");
            command = [&](cli::Console& console) { return cli::runEvaluate(evaluate, console); };
        });

    // sheet values | show | convert
    CLI::App* sheetCommand = app.add_subcommand("sheet", "Read and convert sheet files");
    sheetCommand->require_subcommand(1);
    std::string sheetFile;
    std::string sheetOut;
    CLI::App* values = sheetCommand->add_subcommand("values", "Every non-empty cell after calculation");
    values->add_option("FILE", sheetFile, "Sheet file")->required();
    values->callback(
        [&] { command = [&](cli::Console& console) { return cli::runSheetValues(sheetFile, console); }; });
    CLI::App* show =
        sheetCommand->add_subcommand("show", "First cell, column captions and rows as displayed");
    show->add_option("FILE", sheetFile, "Sheet file")->required();
    show->callback(
        [&] { command = [&](cli::Console& console) { return cli::runSheetShow(sheetFile, console); }; });
    CLI::App* convert = sheetCommand->add_subcommand(
        "convert", "Convert between the sheet format and CSV (by the file names)");
    convert->add_option("IN", sheetFile, "Sheet to read")->required();
    convert->add_option("OUT", sheetOut, "Sheet to write")->required();
    convert->callback(
        [&] {
            command = [&](cli::Console& console)
            { return cli::runSheetConvert(sheetFile, sheetOut, console); };
        });

    // catalogue
    std::string catalogueMacro;
    CLI::App* catalogue = app.add_subcommand("catalogue", "Every bindable variable of a macro");
    catalogue->add_option("--macro", catalogueMacro, "Macro file (JSON)")->required();
    catalogue->callback(
        [&] { command = [&](cli::Console& console) { return cli::runCatalogue(catalogueMacro, console); }; });

    // mapping show
    std::string mappingSheet;
    std::string mappingTarget;
    CLI::App* mapping = app.add_subcommand("mapping", "Mapping files of standards sheets");
    mapping->require_subcommand(1);
    CLI::App* mappingShow = mapping->add_subcommand("show", "The bindings of a sheet's mapping file");
    mappingShow->add_option("SHEET", mappingSheet, "Standards sheet name")->required();
    mappingShow->add_option("--target", mappingTarget, "Only this target");
    mappingShow->callback(
        [&]
        {
            command = [&](cli::Console& console)
            { return cli::runMappingShow(mappingSheet, mappingTarget, console); };
        });

    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::ParseError& error)
    {
        const int code = app.exit(error);
        return code == 0 ? cli::kSuccess : cli::kUsage;
    }

    if (!command)
    {
        std::fputs(app.help().c_str(), stderr);
        return cli::kUsage;
    }
    try
    {
        return runCommand(options, argv[0], command);
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "kaldor-ss: internal error: %s\n", error.what());
        return cli::kFailed;
    }
}
