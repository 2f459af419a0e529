#include "SheetFindCommands.h"

#include "Commands.h"
#include "Console.h"
#include "grid/formula/ReferenceText.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/Texts.h"
#include "spread/Kdr_Spread.h"
#include "spread/StandardsFunctions.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace cli
{
namespace
{
/// A sheet named on the command line: the path as given, else a sheet of the library's
/// standards folder (".zxs" added to a name without extension). Empty when neither exists.
std::string findSheetFile(const std::string& name)
{
    if (host::fileExists(name))
        return name;
    const Kdr_String folder = gSettings.libDir() + "Connection Standards/";
    if (host::getExtension(name).empty() && host::fileExists(folder + name + ".zxs"))
        return folder + name + ".zxs";
    if (host::fileExists(folder + name))
        return folder + name;
    return {};
}

/// Loads the sheet into a hidden grid, with the steel functions known so that standards
/// sheets show what they show in an evaluation.
int loadGrid(const std::string& name, Kdr_Spread& grid, Console& console)
{
    const std::string path = findSheetFile(name);
    if (path.empty())
    {
        console.error("sheet file \"" + name + "\" not found");
        return kBadInput;
    }
    if (!grid.createHidden())
    {
        console.error("cannot make a grid for \"" + path + "\"");
        return kFailed;
    }
    registerStandardsFunctions(grid.sheet());
    host::CommandLineCapture capture;
    if (grid.sheet().loadFile(path))
        return kSuccess;
    std::string message = capture.text();
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    console.error(message.empty() ? "cannot load sheet file \"" + path + "\"" : message);
    return kBadInput;
}

/// A cell name such as "B3" (letter case ignored); false for anything else.
bool parseCellName(const std::string& name, int& col, int& row)
{
    const auto corner = grid::parseA1(name, 1, 1);
    if (!corner)
        return false;
    col = corner->colAbsolute ? corner->col : corner->col + 1;
    row = corner->rowAbsolute ? corner->row : corner->row + 1;
    return grid::insideAddressSpace(col, row);
}
} // namespace

int runSheetFind(const std::string& file, const std::string& text, const std::string& from, Console& console)
{
    int startCol = 1, startRow = 1;
    if (!from.empty() && !parseCellName(from, startCol, startRow))
    {
        console.error("\"" + from + "\" is no cell name");
        return kUsage;
    }
    Kdr_Spread grid;
    if (int status = loadGrid(file, grid, console); status != kSuccess)
        return status;
    const auto found = grid.findAllDisplayed(text, true);
    // From the start cell to the end, then from the top up to the start cell.
    const auto atOrAfterStart = [&](const std::pair<int, int>& cell)
    { return cell.second > startRow || (cell.second == startRow && cell.first >= startCol); };
    std::vector<std::pair<int, int>> ordered;
    for (const auto& cell : found)
        if (atOrAfterStart(cell))
            ordered.push_back(cell);
    for (const auto& cell : found)
        if (!atOrAfterStart(cell))
            ordered.push_back(cell);
    for (const auto& [col, row] : ordered)
    {
        Kdr_String shown;
        grid.getCellText(col, row, shown, ctkData);
        console.result(grid::columnLetters(col) + std::to_string(row) + "\t" + field(shown));
    }
    grid.DestroyWindow();
    return kSuccess;
}

int runSheetReplace(const std::string& file, const std::string& find, const std::string& replacement,
                    const std::string& out, Console& console)
{
    Kdr_Spread grid;
    if (int status = loadGrid(file, grid, console); status != kSuccess)
        return status;
    const int count = grid.replaceAll(find, replacement);
    console.result(dialString(1147) + " " + std::to_string(count) + " " + dialString(1148));
    int status = kSuccess;
    if (!out.empty() && !grid.sheet().saveFile(out))
    {
        console.error("cannot write sheet file \"" + out + "\"");
        status = kFailed;
    }
    grid.DestroyWindow();
    return status;
}
} // namespace cli

void cli::addSheetFindCommands(CLI::App& app, Command& command)
{
    struct Names
    {
        std::string file;
        std::string text;
        std::string replacement;
        std::string from;
        std::string out;
    };
    auto names = std::make_shared<Names>();
    CLI::App* sheetCommand = app.get_subcommand("sheet");
    CLI::App* find = sheetCommand->add_subcommand(
        "find", "Every cell whose displayed text contains TEXT (case ignored), in the find dialog's order");
    find->add_option("FILE", names->file, "Sheet file")->required();
    find->add_option("TEXT", names->text, "Text to find")->required();
    find->add_option("--from", names->from, "Cell to start at (default A1); the search wraps to A1");
    find->callback(
        [names, &command]
        {
            command = [names](Console& console)
            { return runSheetFind(names->file, names->text, names->from, console); };
        });
    CLI::App* replace = sheetCommand->add_subcommand(
        "replace", "Replace FIND by REPLACEMENT in every cell that shows it, as \"Replace all\" does");
    replace->add_option("FILE", names->file, "Sheet file")->required();
    replace->add_option("FIND", names->text, "Text to replace (case ignored)")->required();
    replace->add_option("REPLACEMENT", names->replacement, "Text to put in its place")->required();
    replace->add_option("--out", names->out, "Sheet to write the result to (nothing is written without it)");
    replace->callback(
        [names, &command]
        {
            command = [names](Console& console)
            { return runSheetReplace(names->file, names->text, names->replacement, names->out, console); };
        });
}
