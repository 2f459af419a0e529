#include "editor/ZxSSEditorSettings.h"
#include "host/FileFunctions.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

// The configuration file takes the place of the editor's registry key. It is a text of
// "Name=value" lines; names are compared ignoring case, as registry value names are; lines
// beginning with '#' or ';' and lines without '=' are comments. The value is what follows the
// first '=', without the blanks around it.

namespace
{
const char* const kConfigFile = "kaldor-ss/editor.conf";

Kdr_String environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? Kdr_String(value) : Kdr_String();
}

Kdr_String joinFolder(Kdr_String folder, const char* file)
{
    if (!folder.empty() && folder.back() != '/')
        folder.push_back('/');
    return folder + file;
}

/// The name of a "Name=value" line (trimmed), or false for a comment or a line without '='.
bool splitLine(const Kdr_String& line, Kdr_String& name, Kdr_String& value)
{
    Kdr_String trimmed = line;
    trimmed.trimLeft();
    if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';')
        return false;
    const size_t equals = std::string_view(line).find('=');
    if (equals == std::string::npos)
        return false;
    name = line.substr(0, equals);
    name.trim();
    value = line.substr(equals + 1);
    value.trim();
    return true;
}

/// Looks a value up in one file; false when the file or the name is missing.
bool lookUp(const Kdr_String& path, const char* wanted, Kdr_String& out)
{
    std::string bytes;
    Kdr_String error;
    if (path.empty() || !host::readFileBytes(path, bytes, error))
        return false;
    Kdr_StringArray lines;
    host::splitLines(bytes, lines);
    for (const Kdr_String& line : lines)
    {
        Kdr_String name, value;
        if (splitLine(line, name, value) && name.equal(wanted, false))
        {
            out = value;
            return true;
        }
    }
    return false;
}
} // namespace

ZxEditorRegistry::Paths ZxEditorRegistry::Paths::fromEnvironment()
{
    Paths paths;
    const Kdr_String configHome = environment("XDG_CONFIG_HOME");
    // A relative XDG folder is invalid and ignored, as the base directory rules say.
    if (!configHome.empty() && configHome.front() == '/')
        paths.user = joinFolder(configHome, kConfigFile);
    else if (const Kdr_String home = environment("HOME"); !home.empty())
        paths.user = joinFolder(home + "/.config", kConfigFile);
    Kdr_String dirs = environment("XDG_CONFIG_DIRS");
    if (dirs.empty())
        dirs = "/etc/xdg";
    std::string folder;
    auto addFolder = [&]
    {
        if (!folder.empty() && folder.front() == '/')
            paths.system.append(joinFolder(folder, kConfigFile));
        folder.clear();
    };
    for (char c : dirs)
        if (c == ':')
            addFolder();
        else
            folder += c;
    addFolder();
    return paths;
}

bool ZxEditorRegistry::read()
{
    auto readValue = [&](const char* name, Kdr_String& value)
    {
        Kdr_String found;
        bool ok = lookUp(paths_.user, name, found);
        for (int i = 0; !ok && i < paths_.system.length(); ++i)
            ok = lookUp(paths_.system[i], name, found);
        if (!ok || found.length() > kMaxValueLength)
            return false;
        value = found;
        return true;
    };
    languageRead = readValue(kLanguage, language);
    defaultSettingsRead = readValue(kDefaultSettings, defaultSettings);
    return languageRead && defaultSettingsRead;
}

bool ZxEditorRegistry::write() const
{
    if (paths_.user.empty())
        return false;
    // A line break in a value would start a new line of the file and could not be read back.
    for (const Kdr_String* value : {&language, &defaultSettings})
        if (value->find_first_of("\r\n") != std::string::npos)
            return false;
    std::string bytes;
    Kdr_String error;
    Kdr_StringArray lines;
    if (host::readFileBytes(paths_.user, bytes, error))
        host::splitLines(bytes, lines);
    bool wroteLanguage = false;
    bool wroteDefault = false;
    std::string text;
    for (const Kdr_String& line : lines)
    {
        Kdr_String name, value;
        if (splitLine(line, name, value) && name.equal(kLanguage, false))
        {
            if (!wroteLanguage)
                text += Kdr_String(kLanguage) + "=" + language + "\n";
            wroteLanguage = true;
        }
        else if (splitLine(line, name, value) && name.equal(kDefaultSettings, false))
        {
            if (!wroteDefault)
                text += Kdr_String(kDefaultSettings) + "=" + defaultSettings + "\n";
            wroteDefault = true;
        }
        else
            text += line + "\n";
    }
    if (!wroteLanguage)
        text += Kdr_String(kLanguage) + "=" + language + "\n";
    if (!wroteDefault)
        text += Kdr_String(kDefaultSettings) + "=" + defaultSettings + "\n";
    std::error_code ignored;
    std::filesystem::create_directories(host::toPath(paths_.user).parent_path(), ignored);
    return host::writeFileAtomically(paths_.user, text);
}
