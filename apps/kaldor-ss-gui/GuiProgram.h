#pragma once

// kaldor-ss-gui: the module's dialogs on a real screen. The program is a table of dialog
// commands; each parses its own arguments and opens its dialog modally, shown and driven
// through the Qt renderer.

#include <functional>
#include <string>
#include <vector>

namespace CLI
{
class App;
}

namespace qtui
{
class Renderer;
}

namespace gui
{
/// Exit statuses, as the command-line program has them.
enum ExitStatus
{
    kSuccess = 0,
    kFailed = 1,
    kUsage = 2,
    kBadInput = 3,
};

/// The work a parsed command line chose: opens the dialog and returns the exit status.
using Run = std::function<int()>;

/// One dialog the program opens: its command name, a line of help, and a function that adds
/// the command's arguments to its sub-command and sets `run` when the command is chosen.
struct DialogCommand
{
    const char* name;
    const char* help;
    std::function<void(CLI::App& command, Run& run)> define;
};

/// Every dialog command, in the order of the help text.
const std::vector<DialogCommand>& dialogCommands();
/// Adds the designer's commands (designer, rules) when the module has the designer.
void addDesignerCommands(std::vector<DialogCommand>& commands);
/// Adds the macro dialog's command (macro) when the module has it.
void addMacroCommands(std::vector<DialogCommand>& commands);
/// Adds the section library's commands (library, section-size) when the module has them.
void addLibraryCommands(std::vector<DialogCommand>& commands);

/// Where messages for the person starting the program go (standard error).
void reportError(const std::string& text);

/// What the dialog commands on a record file do: `load` reads the record (false with the
/// message in its argument: kBadInput), `edit` runs the dialog on it (true for OK), and after
/// OK `save` writes it back (false with the message: kFailed). Messages are reported.
int editRecord(const std::function<bool(std::string& error)>& load, const std::function<bool()>& edit,
               const std::function<bool(std::string& error)>& save);

/// Runs the program on its arguments (argv[0] is the program) with `renderer` showing the
/// dialogs; a QApplication must exist. With --screenshot the first dialog is written as a PNG
/// once it is laid out, and closed.
int runProgram(int argc, const char* const* argv, qtui::Renderer& renderer);
} // namespace gui
