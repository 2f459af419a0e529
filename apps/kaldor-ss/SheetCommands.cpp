#include "SheetCommands.h"

#include "Commands.h"
#include "Console.h"
#include "grid/PhaseClock.h"
#include "grid/Sheet.h"
#include "grid/SheetFormats.h"
#include "grid/formula/ReferenceText.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "spread/StandardsEntryPoints.h"
#include "spread/StandardsFiles.h"
#include "spread/StandardsFunctions.h"
#include "standards/ZxEvaluationReport.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdlib>
#include <memory>

namespace cli
{
namespace
{
/// A sheet file named on the command line: the path as given (a workbook perhaps with
/// "#Sheet"), else a sheet of the library's standards folder (a name without extension is
/// tried as ".zxs", ".xlsx" and ".ods" in turn). Empty when neither exists.
std::string findSheetFileByName(const std::string& name)
{
    if (host::fileExists(grid::sheetFilePath(name)))
        return name;
    return findSheetFile(gSettings.libDir() + "Connection Standards/" + name);
}

/// Loads a sheet with the steel functions known, so that standards sheets calculate as they
/// do in an evaluation. The loader's message (file and line) becomes the error.
int loadSheet(const std::string& name, grid::Sheet& sheet, std::string& path, Console& console)
{
    path = findSheetFileByName(name);
    if (path.empty())
    {
        console.error("sheet file \"" + name + "\" not found");
        return kBadInput;
    }
    registerStandardsFunctions(sheet);
    // The sheet's formulas calculate as it loads; the files they read are confined to the
    // library and this sheet's folder, as in an evaluation.
    gEvaluationReport.beginOutermost(path);
    host::CommandLineCapture capture;
    const bool loaded = sheet.loadFile(path);
    gEvaluationReport.endOutermost();
    std::string message = capture.text();
    if (loaded)
    {
        // What a workbook held that the sheet cannot, or a data file that was refused: told,
        // never dropped silently.
        while (!message.empty() && message.back() == '\n')
            message.pop_back();
        if (!message.empty())
            console.note(message);
        return kSuccess;
    }
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    console.error(message.empty() ? "cannot load sheet file \"" + path + "\"" : message);
    return kBadInput;
}

std::string joinFields(const Kdr_StringArray& texts)
{
    std::string line;
    for (int i = 0; i < texts.length(); ++i)
    {
        if (i > 0)
            line += '\t';
        line += field(texts[i]);
    }
    return line;
}
} // namespace

namespace
{
/// Appends the text as a result field: as it is when no byte of it needs an escape.
void appendField(std::string& out, std::string_view text)
{
    for (char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '\\')
        {
            out += field(text);
            return;
        }
    }
    out += text;
}

/// True when KALDOR_EXIT_WITHOUT_FREEING is 1: a command whose sheet lives until the program
/// ends then leaves it to the system, which takes the memory back at once, instead of freeing
/// it cell by cell.
bool exitWithoutFreeing()
{
    const char* value = std::getenv("KALDOR_EXIT_WITHOUT_FREEING");
    return value && std::string_view(value) == "1";
}
} // namespace

int runSheetValues(const std::string& file, Console& console)
{
    auto owned = std::make_unique<grid::Sheet>();
    grid::Sheet& sheet = *owned;
    std::string path;
    if (int status = loadSheet(file, sheet, path, console); status != kSuccess)
        return status;
    // Only stored cells can hold a value; a sheet may be large and nearly empty. The lines
    // go out in one write.
    std::string out;
    // Reserved for a dozen bytes a cell; pages never written cost nothing.
    out.reserve(sheet.cellCount() * 24);
    char number[16];
    sheet.forEachValueText(
        [&](int col, int row, std::string_view text)
        {
            if (col < 1 || row < 1 || text.empty())
                return;
            if (!out.empty())
                out += '\n';
            out += grid::columnLetters(col);
            out.append(number, std::to_chars(number, number + sizeof number, row).ptr);
            out += '\t';
            appendField(out, text);
        });
    grid::notePhase("format");
    if (!out.empty())
        console.result(out);
    grid::notePhase("write");
    if (exitWithoutFreeing())
        static_cast<void>(owned.release());
    owned.reset();
    grid::notePhase("teardown");
    return kSuccess;
}

int runSheetShow(const std::string& file, Console& console)
{
    // Loaded once here only to report a missing or malformed file with its line; the texts
    // come from the module's own reader.
    grid::Sheet check;
    std::string path;
    if (int status = loadSheet(file, check, path, console); status != kSuccess)
        return status;
    Kdr_String firstCell;
    Kdr_StringArray captions;
    Kdr_Array<Kdr_StringArray> rows;
    gEvaluationReport.beginOutermost(path);
    ReadSSFile(path, firstCell, captions, rows);
    gEvaluationReport.endOutermost();
    console.result(field(firstCell));
    console.result(joinFields(captions));
    for (const Kdr_StringArray& row : rows)
        console.result(joinFields(row));
    return kSuccess;
}

int runSheetConvert(const std::string& in, const std::string& out, Console& console)
{
    grid::Sheet sheet;
    std::string path;
    if (int status = loadSheet(in, sheet, path, console); status != kSuccess)
        return status;
    host::CommandLineCapture capture;
    if (!sheet.saveFile(out))
    {
        std::string message = capture.text();
        while (!message.empty() && message.back() == '\n')
            message.pop_back();
        console.error(message.empty() ? "cannot write sheet file \"" + out + "\"" : message);
        return kFailed;
    }
    return kSuccess;
}
} // namespace cli

void cli::addSheetCommands(CLI::App& app, Command& command)
{
    struct Names
    {
        std::string file;
        std::string out;
    };
    auto names = std::make_shared<Names>();
    CLI::App* sheetCommand = app.add_subcommand("sheet", "Read and convert sheet files");
    sheetCommand->require_subcommand(1);
    CLI::App* values = sheetCommand->add_subcommand("values", "Every non-empty cell after calculation");
    values->add_option("FILE", names->file, "Sheet file")->required();
    values->callback(
        [names, &command]
        { command = [names](Console& console) { return runSheetValues(names->file, console); }; });
    CLI::App* show =
        sheetCommand->add_subcommand("show", "First cell, column captions and rows as displayed");
    show->add_option("FILE", names->file, "Sheet file")->required();
    show->callback([names, &command]
                   { command = [names](Console& console) { return runSheetShow(names->file, console); }; });
    CLI::App* convert = sheetCommand->add_subcommand(
        "convert",
        "Convert between the sheet format, CSV and .xlsx (by the file names; .xlsx and .ods are read too)");
    convert->add_option("IN", names->file, "Sheet to read")->required();
    convert->add_option("OUT", names->out, "Sheet to write (\"-\": standard output)")->required();
    convert->callback(
        [names, &command] {
            command = [names](Console& console) { return runSheetConvert(names->file, names->out, console); };
        });
}
