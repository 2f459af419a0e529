// kaldor-ss: runs connection standards sheets on macros, and the tools around them.

#include "Commands.h"
#include "Console.h"
#include "HugePages.h"
#include "LibraryFolder.h"
#include "host/Settings.h"

#if KALDOR_HAVE_FORMATS
#include "formats/SheetFiles.h"
#endif

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
    bool trustSheets = false;
};

const char* const kDescription =
    "kaldor-ss evaluates connection standards: spreadsheets that compute the dimensions of a steel "
    "connection (a macro) from the members it joins.\n"
    "Exit status: 0 success, 1 an evaluation failed (an equation, the target or an output; see --keep-going) "
    "or a file could not be written, 2 usage error, 3 an input file could not be read.";

/// The first word of the command line that should name a command but names none; "" when
/// the command is known or there is none (the parser then explains what is missing).
std::string unknownCommand(CLI::App& app, int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string word = argv[i];
        if (word == "--lib")
        {
            ++i; // its value
            continue;
        }
        if (word.empty() || word[0] == '-')
            continue;
        for (const CLI::App* sub : app.get_subcommands({}))
            if (sub->check_name(word))
                return {};
        return word;
    }
    return {};
}

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
#if KALDOR_HAVE_FORMATS
    formats::registerSheetFormats();
#endif
    gSettings.setTrustSheets(options.trustSheets);
    return command(console);
}
} // namespace

int main(int argc, char** argv)
{
    cli::useHugePagesWhenAsked(argc, argv);
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
    app.add_flag("--trust-sheets", options.trustSheets,
                 "Let sheets read data files and child sheets outside the library folder and the sheet's "
                 "own folder");

    cli::Command command;
    cli::addEvaluateCommand(app, command);
    cli::addSheetCommands(app, command);
    cli::addSheetFindCommands(app, command);
    cli::addCatalogueAndMappingCommands(app, command);
    cli::addStockCommands(app, command);
    cli::addBillCommands(app, command);
    cli::addSettingsCommands(app, command);
    cli::addSectionCommands(app, command);
    cli::addTemplateCommands(app, command);

    if (const std::string unknown = unknownCommand(app, argc, argv); !unknown.empty())
    {
        std::fprintf(stderr, "kaldor-ss: unknown command \"%s\"; the commands are:", unknown.c_str());
        for (const CLI::App* sub : app.get_subcommands({}))
            std::fprintf(stderr, " %s", sub->get_name().c_str());
        std::fprintf(stderr, " (see --help)\n");
        return cli::kUsage;
    }
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
