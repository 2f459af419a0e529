// The section library dialogs as commands of kaldor-ss-gui.

#include "GuiProgram.h"
#include "host/DlgEditLibData.h"
#include "hostio/DlgEditLibJson.h"
#include "library/Kdr_DlgEditLibSections.h"
#include "library/Kdr_DlgEditLibSimple.h"
#include "library/Kdr_ProfValuesTable.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace gui
{
namespace
{
void defineLibrary(CLI::App& command, Run& run)
{
    auto file = std::make_shared<std::string>();
    command.add_option("DATA", *file,
                       "Section library record (JSON: groups and types); OK saves it back. Without it the "
                       "dialog starts with no groups and types");
    command.callback(
        [file, &run]
        {
            run = [file]
            {
                DlgEditLibData data;
                return editRecord(
                    [&](std::string& error) { return file->empty() || loadEditLibJson(*file, data, error); },
                    [&] { return StartDlgEditLibSections(data, ""); },
                    [&](std::string& error) { return file->empty() || saveEditLibJson(*file, data, error); });
            };
        });
}

void defineSectionSize(CLI::App& command, Run& run)
{
    auto name = std::make_shared<std::string>();
    command
        .add_option("TABLE", *name,
                    "Section table of the library (IPE, HEA, …); OK writes the new size into it")
        ->required();
    command.callback(
        [name, &run]
        {
            run = [name]
            {
                Kdr_ProfValuesTable table;
                if (!table.readFromFile(*name))
                {
                    reportError("cannot read section table \"" + *name + "\"");
                    return kBadInput;
                }
                int newIndex = -1;
                if (StartDlgEditLibSimple("", table, newIndex) && !table.writeToFile(*name))
                {
                    reportError("cannot write section table \"" + *name + "\"");
                    return kFailed;
                }
                return kSuccess;
            };
        });
}
} // namespace

void addLibraryCommands(std::vector<DialogCommand>& commands)
{
    commands.push_back(
        {"library", "The section library dialog: section groups, types and profile tables", defineLibrary});
    commands.push_back({"section-size", "The new-size dialog of a section table", defineSectionSize});
}
} // namespace gui
