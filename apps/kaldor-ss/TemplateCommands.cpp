#include "TemplateCommands.h"

#include "Commands.h"
#include "Console.h"
#include "designer/Kdr_DesignerFiles.h"
#include "designer/Kdr_DlgDesignerData.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/StringFunctions.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace cli
{
namespace
{
/// Reads the template PATH names; an error names the template and where templates live.
int loadTemplate(const std::string& path, bool withImage, Kdr_DlgDesignerData& data, Console& console)
{
    const Kdr_String file = designer::resolveTemplatePath(path);
    Kdr_String name;
    if (file.isEmpty() || !designer::templateNameOfPath(file, name))
    {
        console.error("\"" + path + "\" is no dialog template: templates lie in " + getDesignerRootFolder());
        return kBadInput;
    }
    if (!data.readFromFile(file, withImage))
    {
        console.error("cannot read dialog template \"" + name + "\" (" + file + ")");
        return kBadInput;
    }
    return kSuccess;
}

std::string pixelText(const ui::Rect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "-" + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom);
}
} // namespace

int runTemplateList(Console& console)
{
    Kdr_StringArray names;
    getModuleImages(names);
    for (const Kdr_String& name : names)
        console.result(field(name));
    return kSuccess;
}

int runTemplateShow(const std::string& path, Console& console)
{
    Kdr_DlgDesignerData data;
    if (const int status = loadTemplate(path, true, data, console); status != kSuccess)
        return status;
    if (!data.hasImage())
        console.note("the template has no picture; every control shows at 0,0-0,0");
    for (int i = 0; i < data.getNrControls(); ++i)
    {
        const Kdr_DesignerControl& control = *data.getControl(i);
        console.result(std::to_string(control.resourceId) + "\t" + getControlClassName(control.type) + "\t" +
                       pixelText(data.getPixelRect(control)) + "\t" + field(control.contents));
    }
    return kSuccess;
}

int runTemplateNames(const std::string& path, Console& console)
{
    Kdr_DlgDesignerData data;
    if (const int status = loadTemplate(path, false, data, console); status != kSuccess)
        return status;
    Kdr_StringArray names;
    data.getAllCtrlNames(names);
    for (const Kdr_String& name : names)
        console.result(field(name));
    return kSuccess;
}

int runTemplatePositions(const std::string& path, Console& console)
{
    Kdr_DlgDesignerData data;
    if (const int status = loadTemplate(path, false, data, console); status != kSuccess)
        return status;
    std::string printed;
    {
        host::CommandLineCapture capture;
        data.printPositions();
        printed = capture.text();
    }
    Kdr_StringArray lines;
    host::splitLines(printed, lines);
    for (const Kdr_String& line : lines)
        console.result(line);
    return kSuccess;
}
} // namespace cli

void cli::addTemplateCommands(CLI::App& app, Command& command)
{
    auto path = std::make_shared<std::string>();
    CLI::App* family = app.add_subcommand(
        "template", "Dialog templates of the library's \"Dialog Templates/Dialog Design\" folder: controls "
                    "placed over a picture of a connection");
    family->require_subcommand(1);
    auto addPath = [&](CLI::App* sub)
    {
        sub->add_option(
               "PATH", *path,
               "Template name below the folder (\"End plate\", \"Plates/Fin plate\") or the path of its "
               "file")
            ->required();
    };

    family->add_subcommand("list", "The template names, sub-folders written with /, one a line")
        ->callback([&command] { command = [](Console& console) { return runTemplateList(console); }; });

    CLI::App* show = family->add_subcommand(
        "show",
        "One line per control: window id, window class, left,top-right,bottom in pixels of the picture, "
        "contents (TAB-separated)");
    addPath(show);
    show->callback([path, &command]
                   { command = [path](Console& console) { return runTemplateShow(*path, console); }; });

    CLI::App* names = family->add_subcommand("names", "The variable names of the template's edit fields");
    addPath(names);
    names->callback([path, &command]
                    { command = [path](Console& console) { return runTemplateNames(*path, console); }; });

    CLI::App* positions =
        family->add_subcommand("positions", "Each control's contents and edges as fractions of the picture");
    addPath(positions);
    positions->callback(
        [path, &command]
        { command = [path](Console& console) { return runTemplatePositions(*path, console); }; });
}
