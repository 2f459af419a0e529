#pragma once

// Every command family of the program adds its sub-commands to the application here. A
// family's callback stores the work to run in `command`; main runs it once the host is set up.

#include <functional>

namespace CLI
{
class App;
}

namespace cli
{
class Console;

/// The work a parsed command line chose, run with the program's console.
using Command = std::function<int(Console&)>;

void addEvaluateCommand(CLI::App& app, Command& command);
void addSheetCommands(CLI::App& app, Command& command);
/// Adds find and replace to the "sheet" family; call after addSheetCommands.
void addSheetFindCommands(CLI::App& app, Command& command);
void addCatalogueAndMappingCommands(CLI::App& app, Command& command);
void addStockCommands(CLI::App& app, Command& command);
void addBillCommands(CLI::App& app, Command& command);
void addSettingsCommands(CLI::App& app, Command& command);
void addSectionCommands(CLI::App& app, Command& command);
void addTemplateCommands(CLI::App& app, Command& command);
} // namespace cli
