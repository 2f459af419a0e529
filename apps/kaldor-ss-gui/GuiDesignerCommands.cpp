// The dialog designer and the macro rules editor, as commands of kaldor-ss-gui.

#include "GuiProgram.h"
#include "designer/Kdr_DlgDesigner.h"
#include "designer/Kdr_DlgEditConstraints.h"
#include "host/EditConstrData.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "hostio/MacroJson.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>

namespace gui
{
namespace
{
namespace fs = std::filesystem;

void defineDesigner(CLI::App& command, Run& run)
{
    auto file = std::make_shared<std::string>();
    command.add_option("TEMPLATE", *file, "Dialog template file to open (else a new template)");
    command.callback(
        [file, &run]
        {
            run = [file]
            {
                if (!file->empty() && !fs::is_regular_file(*file))
                {
                    reportError("cannot read " + *file + ": no such file");
                    return kBadInput;
                }
                std::error_code ignored;
                StartDlgDesigner(file->empty() ? Kdr_String()
                                               : Kdr_String(fs::absolute(*file, ignored).string()));
                return kSuccess;
            };
        });
}

void defineRules(CLI::App& command, Run& run)
{
    auto file = std::make_shared<std::string>();
    command.add_option("FILE", *file, "Macro file (JSON); OK writes the edited rules back")->required();
    command.callback(
        [file, &run]
        {
            run = [file]
            {
                Kdr_DbMacro macro;
                MacroData macroData;
                return editRecord(
                    [&](std::string& error) { return loadMacroJson(*file, macro, macroData, error); },
                    [&]
                    {
                        EditConstrData data(&macro);
                        return StartDlgEditConstrModal(data);
                    },
                    [&](std::string& error) { return saveMacroJson(*file, macro, macroData, error); });
            };
        });
}
} // namespace

void addDesignerCommands(std::vector<DialogCommand>& commands)
{
    commands.push_back({"designer", "The dialog designer on a template file", defineDesigner});
    commands.push_back({"rules", "The rules editor on the modules of a macro", defineRules});
}
} // namespace gui
