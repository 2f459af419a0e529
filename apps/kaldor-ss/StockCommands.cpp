#include "StockCommands.h"

#include "Commands.h"
#include "Console.h"
#include "cutting/CuttingStockFiles.h"
#include "grid/Csv.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "hostio/CuttingStockJson.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <memory>

namespace cli
{
namespace
{
cutting::TableKind kindOf(bool purchase)
{
    return purchase ? cutting::TableKind::Purchase : cutting::TableKind::Stock;
}

/// A group named on the command line: a valid folder name (it need not exist yet).
bool checkGroupName(const std::string& group, Console& console)
{
    const Kdr_String problem = cutting::groupNameProblem(group, {});
    if (problem.empty())
        return true;
    console.error(problem);
    return false;
}
} // namespace

int runStockGroups(Console& console)
{
    const std::filesystem::path root = host::toPath(gSettings.libDir() + "Cutting Stock");
    std::error_code error;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(root, error), end; !error && it != end; it.increment(error))
        if (it->is_directory(error))
            names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        console.result(field(name));
    return kSuccess;
}

int runStockShow(const std::string& group, bool purchase, const std::string& file, Console& console)
{
    if (!checkGroupName(group, console))
        return kUsage;
    const Kdr_String folder = cutting::groupFolder(group);
    Kdr_String path;
    if (!file.empty())
        path = folder + file;
    else if (!cutting::latestFile(folder, kindOf(purchase), path))
    {
        console.error("group \"" + group + "\" has no " + (purchase ? "purchase (*.buy)" : "stock (*.shp)") +
                      " file in " + folder);
        return kBadInput;
    }
    Kdr_Array<Kdr_StringArray> rows;
    Kdr_String error;
    if (!cutting::readTableFile(path, rows, error))
    {
        console.error(error);
        return kBadInput;
    }
    console.note(std::string("rows of ") + path);
    for (const Kdr_StringArray& row : rows)
    {
        std::string line;
        for (int i = 0; i < row.length(); ++i)
            line += (i ? "\t" : "") + field(row[i]);
        console.result(line);
    }
    return kSuccess;
}

int runStockSave(const std::string& group, const std::string& csv, bool purchase, Console& console)
{
    if (!checkGroupName(group, console))
        return kUsage;
    std::string text;
    Kdr_String readError;
    if (!host::readFileBytes(csv, text, readError))
    {
        console.error(readError);
        return kBadInput;
    }
    std::vector<std::vector<std::string>> records;
    grid::FileError csvError;
    if (!grid::readCsvRecords(text, records, csvError))
    {
        console.error(csv + ":" + std::to_string(csvError.line) + ": " + csvError.message);
        return kBadInput;
    }
    Kdr_Array<Kdr_StringArray> rows;
    for (const auto& record : records)
    {
        Kdr_StringArray row;
        for (const std::string& cell : record)
            row.append(Kdr_String(cell));
        rows.append(row);
    }
    const Kdr_String folder = cutting::groupFolder(group);
    if (!ObjectExportCreateDirectory(folder))
    {
        console.error("cannot create the folder " + folder);
        return kFailed;
    }
    const Kdr_String path = cutting::nextStockFile(folder, kindOf(purchase));
    Kdr_String error;
    if (!cutting::writeTableFile(path, rows, group, error))
    {
        console.error(error);
        return kFailed;
    }
    console.result(field(path));
    return kSuccess;
}

int runStockReport(const std::string& dataPath, const std::string& out, Console& console)
{
    DlgCSP2Data data;
    std::string error;
    if (!loadCuttingStockJson(dataPath, data, error))
    {
        console.error(error);
        return kBadInput;
    }
    for (const Kdr_String& name : data.groupNames)
    {
        const Kdr_String problem = cutting::groupNameProblem(name, {});
        if (!problem.empty())
        {
            console.error(dataPath + ": " + problem);
            return kBadInput;
        }
    }
    const Kdr_String report = cutting::loadLatestFiles(data);
    console.result(report);
    if (!out.empty() && !saveCuttingStockJson(out, data, error))
    {
        console.error(error);
        return kFailed;
    }
    return kSuccess;
}

void addStockCommands(CLI::App& app, Command& command)
{
    struct Options
    {
        std::string group;
        std::string file;
        std::string out;
        bool purchase = false;
    };
    auto options = std::make_shared<Options>();
    CLI::App* stock = app.add_subcommand(
        "stock", "Stock and purchase tables of cutting-stock runs (the library's \"Cutting Stock\" folder)");
    stock->require_subcommand(1);

    CLI::App* groups = stock->add_subcommand("groups", "The groups, one name a line");
    groups->callback([&command] { command = [](Console& console) { return runStockGroups(console); }; });

    CLI::App* show = stock->add_subcommand("show", "The rows of a group's latest stock file (TAB-separated)");
    show->add_option("GROUP", options->group, "Group name")->required();
    show->add_flag("--purchase", options->purchase, "The latest purchase file (*.buy) instead");
    show->add_option("--file", options->file, "This file of the group's folder instead of the latest");
    show->callback(
        [options, &command]
        {
            command = [options](Console& console)
            { return runStockShow(options->group, options->purchase, options->file, console); };
        });

    CLI::App* save = stock->add_subcommand("save", "A CSV table as the group's next Stock<n>.shp file");
    save->add_option("GROUP", options->group, "Group name")->required();
    save->add_option("FILE", options->file, "CSV file, one row per record")->required();
    save->add_flag("--purchase", options->purchase, "Save as the next purchase file (*.buy) instead");
    save->callback(
        [options, &command]
        {
            command = [options](Console& console)
            { return runStockSave(options->group, options->file, options->purchase, console); };
        });

    CLI::App* report = stock->add_subcommand(
        "report", "Load the latest files of every group of a record and print the report");
    report->add_option("DATA", options->file, "Cutting-stock record (JSON)")->required();
    report->add_option("--out", options->out, "Save the record with the loaded rows to this file");
    report->callback(
        [options, &command] {
            command = [options](Console& console)
            { return runStockReport(options->file, options->out, console); };
        });
}
} // namespace cli
