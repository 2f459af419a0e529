#include "SettingsCommands.h"

#include "Commands.h"
#include "Console.h"
#include "editor/ZxSSEditorSettings.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <climits>
#include <memory>

namespace cli
{
namespace
{
const char* typeWord(int type)
{
    switch (type)
    {
    case ZxSettingsStore::kDouble:
        return "double";
    case ZxSettingsStore::kInt:
        return "int";
    case ZxSettingsStore::kLong:
        return "long";
    case ZxSettingsStore::kText:
        return "text";
    default:
        return "none";
    }
}

bool parseInt(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    auto [last, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && last == end;
}

/// A list key ("varNames3"): the list and the index; false for any other key.
bool listKey(const Kdr_String& key, ZxSSEditorSettings& settings, Kdr_StringArray*& list, int& index)
{
    for (auto [prefix, member] : {std::pair{ZxSSEditorSettings::kVarNames, &settings.varNames},
                                  std::pair{ZxSSEditorSettings::kVarValues, &settings.varValues}})
    {
        const std::string_view name(prefix);
        if (key.size() > name.size() && key.startsWith(name, false) &&
            key.find_first_not_of("0123456789", name.size()) == std::string::npos &&
            parseInt(key.substr(name.size()), index))
        {
            list = member;
            return true;
        }
    }
    return false;
}

/// Applies one key=value; false with `error` for an unknown key or a value of the wrong kind.
bool assign(ZxSSEditorSettings& settings, const std::string& assignment, std::string& error)
{
    const size_t equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0)
    {
        error = "\"" + assignment + "\" is not key=value";
        return false;
    }
    const Kdr_String key = assignment.substr(0, equals);
    const std::string value = assignment.substr(equals + 1);
    if (!ZxSettingsStore::storable(value))
    {
        error = "the value of " + key + " holds the byte 0xA4, which settings files cannot hold";
        return false;
    }
    using S = ZxSSEditorSettings;
    const std::pair<const char*, Kdr_String*> texts[] = {{S::kHeaderFile, &settings.headerFile},
                                                         {S::kFooterFile, &settings.footerFile},
                                                         {S::kDefaultFont, &settings.fontName}};
    for (auto [name, member] : texts)
        if (key.equal(name, false))
        {
            *member = value;
            return true;
        }
    const std::pair<const char*, int*> numbers[] = {{S::kDefaultTextHeight, &settings.textHeight},
                                                    {S::kMarginLeft, &settings.marginLeft},
                                                    {S::kMarginRight, &settings.marginRight},
                                                    {S::kMarginTop, &settings.marginTop},
                                                    {S::kMarginBottom, &settings.marginBottom}};
    for (auto [name, member] : numbers)
        if (key.equal(name, false))
        {
            if (!parseInt(value, *member))
            {
                error = std::string(name) + " takes a whole number, not \"" + value + "\"";
                return false;
            }
            return true;
        }
    const std::pair<const char*, bool*> flags[] = {
        {S::kSmartPrint, &settings.smartPrint},         {S::kColors, &settings.colors},
        {S::kColHeader, &settings.colHeader},           {S::kRowHeader, &settings.rowHeader},
        {S::kCellSeparators, &settings.cellSeparators}, {S::kBorder, &settings.border}};
    for (auto [name, member] : flags)
        if (key.equal(name, false))
        {
            if (value != "0" && value != "1")
            {
                error = std::string(name) + " takes 0 or 1, not \"" + value + "\"";
                return false;
            }
            *member = value == "1";
            return true;
        }
    Kdr_StringArray* list = nullptr;
    int index = 0;
    if (listKey(key, settings, list, index))
    {
        if (index > list->length())
        {
            error = key + ": the list has " + std::to_string(list->length()) + " items; the next index is " +
                    std::to_string(list->length());
            return false;
        }
        if (index == list->length())
            list->append(value);
        else
            (*list)[index] = value;
        return true;
    }
    error = "unknown settings key \"" + key + "\"";
    return false;
}
} // namespace

int runSettingsShow(const std::string& nameOrFile, Console& console)
{
    gSettings.setAppDir(gSettings.libDir());
    ZxSSEditorSettings settings;
    Kdr_String source;
    if (!nameOrFile.empty() && settings.readNamed(nameOrFile))
        source = ZxSSEditorSettings::namedFile(nameOrFile);
    else
    {
        // What a sheet prepared with these settings gets: the configured default settings,
        // else the defaults.
        ZxEditorRegistry registry;
        registry.read();
        if (registry.defaultSettingsRead && settings.readNamed(registry.defaultSettings))
            source = ZxSSEditorSettings::namedFile(registry.defaultSettings);
        if (!nameOrFile.empty())
            console.note("no settings file " + ZxSSEditorSettings::namedFile(nameOrFile) + "; " +
                         (source.empty() ? std::string("the defaults apply") : "the default settings apply"));
    }
    console.note("settings from " + (source.empty() ? std::string("the defaults") : std::string(source)));
    ZxSettingsStore store;
    settings.saveTo(store);
    for (int i = 0; i < store.count(); ++i)
    {
        const ZxSettingsStore::Entry& entry = store.entry(i);
        console.result(field(entry.key) + "\t" + typeWord(entry.type) + "\t" + field(entry.valueText()));
    }
    return kSuccess;
}

int runSettingsSet(const std::string& nameOrFile, const std::vector<std::string>& assignments,
                   Console& console)
{
    gSettings.setAppDir(gSettings.libDir());
    ZxSSEditorSettings settings;
    const Kdr_String file = ZxSSEditorSettings::namedFile(nameOrFile);
    if (!settings.readNamed(nameOrFile) && host::fileExists(file))
    {
        console.error("cannot read settings file \"" + file + "\"");
        return kBadInput;
    }
    for (const std::string& assignment : assignments)
    {
        std::string error;
        if (!assign(settings, assignment, error))
        {
            console.error(error);
            return kUsage;
        }
    }
    ObjectExportCreateDirectory(getPath(file));
    if (!settings.writeNamed(nameOrFile))
    {
        console.error("cannot write settings file \"" + file + "\"");
        return kFailed;
    }
    console.note("settings written to " + file);
    return kSuccess;
}
} // namespace cli

void cli::addSettingsCommands(CLI::App& app, Command& command)
{
    struct Options
    {
        std::string name;
        std::vector<std::string> assignments;
    };
    auto options = std::make_shared<Options>();
    CLI::App* settings = app.add_subcommand("settings", "Show and change the spreadsheet editor settings");
    settings->require_subcommand(1);
    CLI::App* show = settings->add_subcommand("show", "The effective settings: key TAB type TAB value");
    show->add_option("NAME", options->name,
                     "Settings name (NAME.zxd in the library folder) or .zxd file; default: the configured "
                     "default settings");
    show->callback(
        [options, &command]
        { command = [options](Console& console) { return runSettingsShow(options->name, console); }; });
    CLI::App* set = settings->add_subcommand("set", "Change keys of a settings file (written atomically)");
    set->add_option("NAME", options->name, "Settings name or .zxd file")->required();
    set->add_option("ASSIGNMENTS", options->assignments, "key=value, e.g. defaultFont=Arial marginLeft=12")
        ->required();
    set->callback(
        [options, &command]
        {
            command = [options](Console& console)
            { return runSettingsSet(options->name, options->assignments, console); };
        });
}
