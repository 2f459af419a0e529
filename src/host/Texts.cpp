#include "host/Texts.h"

#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/MacroLangs.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"

#include <charconv>
#include <map>

namespace
{
using Table = std::map<int, Kdr_String>;

/// Tables read so far, by file path; a missing or malformed file caches as empty.
std::map<std::string, Table>& cache()
{
    static std::map<std::string, Table> tables;
    return tables;
}

bool parseTable(const Kdr_String& path, const std::string& bytes, Table& table)
{
    Kdr_StringArray lines;
    host::splitLines(bytes, lines);
    for (int i = 0; i < lines.length(); ++i)
    {
        std::string_view line(lines[i]);
        if (i == 0 && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        if (line.empty() || line.starts_with("//"))
            continue;
        const char* problem = nullptr;
        size_t tab = line.find('\t');
        int number = 0;
        Kdr_String text;
        if (tab == std::string_view::npos)
            problem = "no TAB after the number";
        else
        {
            auto [end, error] = std::from_chars(line.data(), line.data() + tab, number);
            if (error != std::errc() || end != line.data() + tab)
                problem = "the number is not a whole number";
            else if (!host::unescapeField(line.substr(tab + 1), text))
                problem = "a broken escape in the text";
        }
        if (problem)
        {
            acutPrintf("*Error* File \"%s\", line %d: %s.\n", path.c_str(), i + 1, problem);
            return false;
        }
        table[number] = text;
    }
    return true;
}

const Table& tableFor(host::TextTable which, const Kdr_String& language)
{
    Kdr_String path = gSettings.libDir() + "texts/" + language +
                      (which == host::TextTable::Dialog ? ".txt" : "-strings.txt");
    auto found = cache().find(path);
    if (found != cache().end())
        return found->second;
    Table table;
    if (host::fileExists(path))
    {
        std::string bytes;
        if (!host::readFileBytes(path, bytes) || !parseTable(path, bytes, table))
            table.clear();
    }
    return cache().emplace(path, std::move(table)).first->second;
}

Kdr_String lookUp(host::TextTable which, int number, const Kdr_String& language)
{
    for (const Kdr_String& source : {language, Kdr_String("English")})
    {
        const Table& table = tableFor(which, source);
        if (auto it = table.find(number); it != table.end() && !it->second.empty())
            return it->second;
    }
    if (const char* text = host::defaultText(which, number))
        return text;
    return "#" + std::to_string(number);
}
} // namespace

namespace host
{
Kdr_String numberedText(TextTable table, int number, const Kdr_String& language)
{
    return lookUp(table, number, language);
}

void reloadTexts()
{
    cache().clear();
}
} // namespace host

Kdr_String dialString(int number)
{
    return lookUp(host::TextTable::Dialog, number, MacroLangs::GetCurLanguage());
}

Kdr_StringArray dialStringAllLangs(int number)
{
    Kdr_StringArray texts;
    for (const Kdr_String& language : MacroLangs::GetAllLanguages())
        texts.append(lookUp(host::TextTable::Dialog, number, language));
    return texts;
}

Kdr_String string(int number)
{
    return lookUp(host::TextTable::General, number, MacroLangs::GetCurLanguage());
}
