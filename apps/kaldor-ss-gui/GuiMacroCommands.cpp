// The macro dialog as a command of kaldor-ss-gui: OK saves the macro and its dialog data back.

#include "GuiProgram.h"
#include "designer/Kdr_DlgMacro.h"
#include "frame/ModuleResources.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/MacroDialogHost.h"
#include "hostio/MacroJson.h"
#include "ui/AcadHost.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace gui
{
namespace
{
void defineMacro(CLI::App& command, Run& run)
{
    auto file = std::make_shared<std::string>();
    command.add_option("FILE", *file, "Macro file (JSON); OK saves the macro and its dialog data back")
        ->required();
    command.callback(
        [file, &run]
        {
            run = [file]
            {
                Kdr_DbMacro macro;
                MacroData data;
                return editRecord(
                    [&](std::string& error) { return loadMacroJson(*file, macro, data, error); },
                    [&]
                    {
                        // The macro is the whole drawing: the dialog's changes are
                        // applied to it at once.
                        macroDialogHost().drawing = {&macro};
                        int result = IDCANCEL;
                        {
                            ModuleResourceScope resources;
                            Kdr_DlgMacro dialog(adsw_acadMainWnd());
                            dialog.macroData() = data;
                            result = static_cast<int>(dialog.DoModal());
                            data = dialog.macroData();
                        }
                        macroDialogHost().drawing.clear();
                        return result == IDOK;
                    },
                    [&](std::string& error) { return saveMacroJson(*file, macro, data, error); });
            };
        });
}
} // namespace

void addMacroCommands(std::vector<DialogCommand>& commands)
{
    commands.push_back({"macro", "The macro dialog: the tabs of a macro with their variables", defineMacro});
}
} // namespace gui
