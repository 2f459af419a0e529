// kaldor-ss: runs connection standards sheets on macros, and the tools around them.

#include "Commands.h"
#include "Console.h"
#include "LibraryFolder.h"
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
int runCommand(const GlobalOptions& options, const char* argv0, const cli::Command& command)
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

    cli::Command command;
    cli::addEvaluateCommand(app, command);
    cli::addSheetCommands(app, command);
    cli::addSheetFindCommands(app, command);
    cli::addCatalogueAndMappingCommands(app, command);
    cli::addStockCommands(app, command);

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
