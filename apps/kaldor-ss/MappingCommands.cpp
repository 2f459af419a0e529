#include "MappingCommands.h"

#include "Commands.h"
#include "Console.h"
#include "host/AcTransaction.h"
#include "host/FileFunctions.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"
#include "hostio/MacroJson.h"
#include "spread/ZxStandardsSpread.h"
#include "standards/ZxMappingChoices.h"
#include "standards/ZxSSMapping.h"
#include "standards/ZxVarTypes.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <vector>

namespace cli
{
namespace
{
/// The key of a mapping file line: the text before its first '='.
std::string lineKey(const std::string& line)
{
    const size_t equals = line.find('=');
    return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

/// How many entries a mapping file line holds (whether they parse or not).
int entryCount(const std::string& line)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals + 1 == line.size())
        return 0;
    int count = 1;
    for (size_t i = equals + 1; i < line.size(); ++i)
        count += line[i] == kMapListSeparator ? 1 : 0;
    return count;
}
} // namespace

int runCatalogue(const std::string& macroPath, Console& console)
{
    Kdr_DbMacro macro;
    MacroData data;
    std::string error;
    if (!loadMacroJson(macroPath, macro, data, error))
    {
        console.error(error);
        return kBadInput;
    }
    AcTransaction transaction;
    ZxSSMapping catalogue;
    catalogue.initAllVarsFromMacro(&macro, &transaction);
    for (const ZxObjectMap& binding : catalogue.mappedObjects())
    {
        const char* word = kindWord(binding.objType);
        console.result(field(bindingText(binding)) + "\t" + (word ? word : "") + "\t" +
                       visibilityText(binding.visibility));
    }
    return kSuccess;
}

int runMappingShow(const std::string& sheet, const std::string& target, Console& console)
{
    if (Kdr_String(target).startsWith("Module.", false))
    {
        console.result(field(target) + "\tthe sheet works directly on module group \"" + target.substr(7) +
                       "\"; its variable names address the group's variables");
        return kSuccess;
    }
    const Kdr_String path = ZxSSMapping::mappingFilePath(sheet);
    std::string bytes;
    Kdr_String error;
    if (!host::readFileBytes(path, bytes, error))
    {
        console.error("no mapping file for sheet \"" + sheet + "\": " + error);
        return kBadInput;
    }
    Kdr_StringArray lines;
    host::splitLines(bytes, lines);
    int first = 0;
    if (!lines.isEmpty() && lines[0].contains("Mapping", true) && lines[0].contains("version", true))
        first = 1;

    bool found = false;
    int status = kSuccess;
    for (int i = first; i < lines.length(); ++i)
    {
        const std::string line = lines[i];
        const std::string key = lineKey(line);
        if (line.empty() || (!target.empty() && key != target))
            continue;
        found = true;
        ZxSSMapping mapping;
        if (mapping.initMappingFromLine(line) != Acad::eOk)
        {
            console.error(path + ", line " + std::to_string(i + 1) + ": no \"=\" after the target");
            status = kBadInput;
            continue;
        }
        const int skipped = entryCount(line) - mapping.mappedObjects().length();
        if (skipped > 0)
            console.note(path + ", line " + std::to_string(i + 1) + ": " + std::to_string(skipped) +
                         " malformed entr" + (skipped == 1 ? "y" : "ies") + " skipped");
        for (const ZxObjectMap& binding : mapping.mappedObjects())
        {
            const char* word = kindWord(binding.objType);
            console.result(field(key) + "\t" + field(binding.ssVarName) + "\t" + field(bindingText(binding)) +
                           "\t" + (word ? word : ""));
        }
    }
    if (!target.empty() && !found)
    {
        console.error("no line for target \"" + target + "\" in " + path);
        return kFailed;
    }
    return status;
}

namespace
{
/// A sheet's variables offered against a macro's catalogue, as the mapping page shows them.
struct SheetChoices
{
    Kdr_DbMacro macro;
    MacroData macroData;
    ZxSSMapping catalogue;
    ZxStandardsSpread grid;
    /// The target the page starts from: --target, else the macro's own target for the sheet.
    Kdr_String target;
    std::vector<ZxVariableChoices> rows;

    const ZxVarCells& cells() const { return grid.varCells(); }
    const ZxVarCell& cellOf(const ZxVariableChoices& row) const { return cells()[row.cellIndex]; }
    Kdr_String choiceText(const ZxVariableChoices& row, int position) const
    {
        return bindingText(catalogue.mappedObjects()[row.indices[position]]);
    }
};

/// The macro's entry for the sheet, by the name as given or by its file title.
Kdr_StandardsTarget* findStandardsEntry(Kdr_DbMacro& macro, const std::string& sheet)
{
    for (const Kdr_String& name : {Kdr_String(sheet), host::getFileTitle(sheet)})
        for (Kdr_StandardsTarget& entry : macro.standardsTargets())
            if (host::equalText(entry.sheet, name, false))
                return &entry;
    return nullptr;
}

int loadSheetChoices(const std::string& sheet, const std::string& macroPath, const std::string& target,
                     Console& console, SheetChoices& choices)
{
    std::string error;
    if (!loadMacroJson(macroPath, choices.macro, choices.macroData, error))
    {
        console.error(error);
        return kBadInput;
    }
    AcTransaction transaction;
    choices.catalogue.initAllVarsFromMacro(&choices.macro, &transaction);

    if (!choices.grid.createHidden() || choices.grid.loadSheet(sheet) != Acad::eOk)
    {
        console.error("sheet \"" + sheet + "\" could not be loaded (looked for it as a file and in " +
                      gSettings.libDir() + "Connection Standards/)");
        return kBadInput;
    }
    if (choices.grid.collectVarCells() != Acad::eOk)
    {
        console.error("sheet \"" + sheet +
                      "\" has no variables to bind: a standards sheet needs an \"Input\" "
                      "and an \"Output\" heading");
        return kBadInput;
    }

    choices.target = target;
    if (choices.target.empty())
        if (const Kdr_StandardsTarget* entry = findStandardsEntry(choices.macro, sheet))
            choices.target = entry->target;
    // Only bindings stored for the target are preselected: a target without a line (or one
    // naming a module group) starts from no binding at all.
    ZxSSMapping working;
    if (!choices.target.empty() && !isModuleTarget(choices.target) &&
        working.getMappingFromFile(sheet, choices.target) != Acad::eOk)
        working = ZxSSMapping();
    choices.rows = variableChoices(choices.cells(), choices.catalogue, working);
    return kSuccess;
}

/// The position of `text` among the row's choices: the first equal one, else the first equal
/// but for letter case; -1 when none.
int findChoice(const SheetChoices& choices, const ZxVariableChoices& row, const std::string& text)
{
    for (bool caseSensitive : {true, false})
        for (int i = 0; i < row.indices.length(); ++i)
            if (choices.choiceText(row, i).equal(text, caseSensitive))
                return i;
    return -1;
}

} // namespace

int runMappingChoices(const std::string& sheet, const std::string& macroPath, const std::string& target,
                      Console& console)
{
    SheetChoices choices;
    if (const int status = loadSheetChoices(sheet, macroPath, target, console, choices); status != kSuccess)
        return status;
    for (const ZxVariableChoices& row : choices.rows)
    {
        const ZxVarCell& cell = choices.cellOf(row);
        const Kdr_String chosen = row.selected >= 0 ? choices.choiceText(row, row.selected) : Kdr_String();
        console.result(std::string(cell.isInput() ? "Input" : "Output") + "\t" +
                       valueTypeWord(cell.valueType) + "\t" + field(cell.name) + "\t" + field(chosen));
        for (int i = 0; i < row.indices.length(); ++i)
            console.result("\t" + field(choices.choiceText(row, i)));
    }
    return kSuccess;
}

int runMappingBind(const MappingBindRequest& request, Console& console)
{
    SheetChoices choices;
    if (const int status = loadSheetChoices(request.sheet, request.macro, request.target, console, choices);
        status != kSuccess)
        return status;

    for (const std::string& pair : request.bindings)
    {
        const size_t equals = pair.find('=');
        if (equals == std::string::npos || equals == 0)
        {
            console.error("\"" + pair + "\" is no binding; write VARIABLE=CHOICE");
            return kUsage;
        }
        const std::string name = pair.substr(0, equals);
        const std::string choice = pair.substr(equals + 1);
        ZxVariableChoices* row = nullptr;
        for (ZxVariableChoices& candidate : choices.rows)
            if (choices.cellOf(candidate).name.equal(name, false))
            {
                row = &candidate;
                break;
            }
        if (!row)
        {
            console.error("\"" + name + "\" is no Input or Output variable of sheet \"" + request.sheet +
                          "\"");
            return kUsage;
        }
        const int position = findChoice(choices, *row, choice);
        if (position < 0)
        {
            console.error("\"" + choice + "\" is not among the choices of \"" + name +
                          "\" (kaldor-ss mapping choices lists them)");
            return kUsage;
        }
        row->selected = position;
    }

    // A sheet bound to a module group is bound to the entire macro from now on; like the page,
    // it then starts without a key.
    Kdr_String key = isModuleTarget(choices.target) ? Kdr_String() : choices.target;
    const ZxSSMapping working = mappingFromChoices(choices.cells(), choices.catalogue, choices.rows);
    const ZxMappingStore stored = storeSheetMapping(request.sheet, key, working);
    if (stored == ZxMappingStore::Failed)
    {
        console.error("the bindings could not be stored in " + ZxSSMapping::mappingFilePath(request.sheet));
        return kFailed;
    }
    if (key.empty())
    {
        console.error("no variable of sheet \"" + request.sheet + "\" is bound; nothing was stored");
        return kUsage;
    }

    if (Kdr_StandardsTarget* entry = findStandardsEntry(choices.macro, request.sheet))
        entry->target = key;
    else
        choices.macro.standardsTargets().push_back({host::getFileTitle(request.sheet), key});
    const std::string out = request.inPlace ? request.macro : request.out;
    if (!out.empty())
    {
        std::string error;
        if (!saveMacroJson(out, choices.macro, choices.macroData, error))
        {
            console.error(error);
            return kFailed;
        }
    }
    else
        console.note("the macro file is not changed; give --out or --in-place to keep the target");
    console.result(key);
    return kSuccess;
}
} // namespace cli

void cli::addCatalogueAndMappingCommands(CLI::App& app, Command& command)
{
    struct Names
    {
        std::string macro;
        std::string sheet;
        std::string target;
    };
    auto names = std::make_shared<Names>();
    CLI::App* catalogue = app.add_subcommand("catalogue", "Every bindable variable of a macro");
    catalogue->add_option("--macro", names->macro, "Macro file (JSON)")->required();
    catalogue->callback(
        [names, &command]
        { command = [names](Console& console) { return runCatalogue(names->macro, console); }; });

    CLI::App* mapping = app.add_subcommand("mapping", "Mapping files of standards sheets");
    mapping->require_subcommand(1);
    CLI::App* mappingShow = mapping->add_subcommand("show", "The bindings of a sheet's mapping file");
    mappingShow->add_option("SHEET", names->sheet, "Standards sheet name")->required();
    mappingShow->add_option("--target", names->target, "Only this target");
    mappingShow->callback(
        [names, &command] {
            command = [names](Console& console)
            { return runMappingShow(names->sheet, names->target, console); };
        });

    CLI::App* mappingChoices = mapping->add_subcommand(
        "choices", "Per sheet variable, the macro variables the mapping page offers to bind it to");
    mappingChoices
        ->add_option("SHEET", names->sheet, "Standards sheet: a name in \"Connection Standards\", or a path")
        ->required();
    mappingChoices->add_option("--macro", names->macro, "Macro file (JSON)")->required();
    mappingChoices->add_option("--target", names->target,
                               "Preselect the bindings of this target (else the macro's own target)");
    mappingChoices->callback(
        [names, &command]
        {
            command = [names](Console& console)
            { return runMappingChoices(names->sheet, names->macro, names->target, console); };
        });

    auto bind = std::make_shared<MappingBindRequest>();
    CLI::App* mappingBind = mapping->add_subcommand(
        "bind", "Bind sheet variables to macro variables, store them under a new key and print it");
    mappingBind
        ->add_option("SHEET", bind->sheet, "Standards sheet: a name in \"Connection Standards\", or a path")
        ->required();
    mappingBind->add_option("--macro", bind->macro, "Macro file (JSON)")->required();
    mappingBind->add_option("BINDINGS", bind->bindings,
                            "VARIABLE=CHOICE, a choice as `mapping choices` prints it; the other variables "
                            "keep the bindings of the macro's target");
    mappingBind->add_option("--target", bind->target, "Start from this target (else the macro's own target)");
    CLI::Option* bindOut =
        mappingBind->add_option("--out", bind->out, "Write the macro with its new target here");
    CLI::Option* bindInPlace = mappingBind->add_flag(
        "--in-place", bind->inPlace, "Write the macro with its new target back into its file");
    bindOut->excludes(bindInPlace);
    mappingBind->callback([bind, &command]
                          { command = [bind](Console& console) { return runMappingBind(*bind, console); }; });
}
