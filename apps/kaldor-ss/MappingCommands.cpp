#include "MappingCommands.h"

#include "Commands.h"
#include "Console.h"
#include "host/AcTransaction.h"
#include "host/FileFunctions.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "hostio/MacroJson.h"
#include "standards/ZxSSMapping.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace cli
{
namespace
{
void appendPart(std::string& text, std::string_view part)
{
    if (!text.empty())
        text += '.';
    text += part;
}

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

std::string bindingText(const ZxObjectMap& binding)
{
    std::string text = binding.objectName;
    if (!binding.varName.empty())
        appendPart(text, binding.varName);
    if (binding.objType != ZxMapObjType::Distance && binding.objType != ZxMapObjType::MemberSectionSize)
    {
        const char* word = kindWord(binding.objType);
        appendPart(text, word ? word : "");
    }
    return text + binding.description;
}

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
}
