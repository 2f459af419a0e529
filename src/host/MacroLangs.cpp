#include "host/MacroLangs.h"

#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"

#include <map>
#include <optional>

MacroLangs gMacroLangs;

namespace
{
/// Translations of one language: folded "section\ttext" -> translation.
using Words = std::map<std::string, Kdr_String>;

struct LanguageState
{
    Kdr_StringArray explicitLanguages;
    Kdr_String current;
    std::map<std::string, Words> added;    // by folded language name
    std::map<std::string, Words> fromFile; // by file path
};

LanguageState& state()
{
    static LanguageState instance;
    return instance;
}

std::string wordKey(const Kdr_String& section, const Kdr_String& text)
{
    return section.lower() + '\t' + text.lower();
}

Kdr_StringArray languagesFromLibrary()
{
    Kdr_String path = gSettings.libDir() + "texts/Languages.txt";
    Kdr_StringArray names;
    if (host::fileExists(path))
    {
        Kdr_StringArray lines;
        if (ObjectExportReadFile(path, lines))
            for (Kdr_String line : lines)
                if (!line.trim().empty() && !names.contains(line, false))
                    names.append(line);
    }
    if (names.isEmpty())
        names = Kdr_StringArray{"English", "Dutch", "German", "French"};
    return names;
}

const Words& wordsFromFile(const Kdr_String& language)
{
    Kdr_String path = gSettings.libDir() + "texts/" + language + "-words.txt";
    auto& files = state().fromFile;
    if (auto it = files.find(path); it != files.end())
        return it->second;
    Words words;
    Kdr_StringArray lines;
    if (host::fileExists(path) && ObjectExportReadFile(path, lines))
    {
        for (int i = 0; i < lines.length(); ++i)
        {
            if (lines[i].empty() || lines[i].startsWith("//", true))
                continue;
            Kdr_StringArray fields;
            splitString(lines[i], "\t", fields);
            Kdr_String section, text, translation;
            if (fields.length() != 3 || !host::unescapeField(fields[0], section) ||
                !host::unescapeField(fields[1], text) || !host::unescapeField(fields[2], translation))
            {
                acutPrintf("*Error* File \"%s\", line %d: expected section, text and translation separated "
                           "by TAB.\n",
                           path.c_str(), i + 1);
                words.clear();
                break;
            }
            words[wordKey(section, text)] = translation;
        }
    }
    return files.emplace(path, std::move(words)).first->second;
}

std::optional<Kdr_String> translate(const Kdr_String& section, const Kdr_String& text)
{
    if (text.empty())
        return std::nullopt;
    const Kdr_String language = MacroLangs::GetCurLanguage();
    const std::string key = wordKey(section, text);
    if (auto lang = state().added.find(language.lower()); lang != state().added.end())
        if (auto it = lang->second.find(key); it != lang->second.end())
            return it->second;
    const Words& words = wordsFromFile(language);
    if (auto it = words.find(key); it != words.end())
        return it->second;
    return std::nullopt;
}

bool isWordCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           static_cast<unsigned char>(c) >= 0x80;
}

/// Translates the core of `text`, keeping the non-word characters around it when chopping.
Kdr_String translateDecorated(const Kdr_String& section, const Kdr_String& text, bool chopSymbols)
{
    if (auto whole = translate(section, text))
        return *whole;
    if (!chopSymbols)
        return text;
    size_t first = 0, last = text.size();
    while (first < last && !isWordCharacter(text[first]))
        ++first;
    while (last > first && !isWordCharacter(text[last - 1]))
        --last;
    if (first == last || (first == 0 && last == text.size()))
        return text;
    if (auto core = translate(section, Kdr_String(text.substr(first, last - first))))
        return Kdr_String(text.substr(0, first)) + *core + text.substr(last);
    return text;
}
} // namespace

Kdr_StringArray MacroLangs::GetAllLanguages()
{
    return state().explicitLanguages.isEmpty() ? languagesFromLibrary() : state().explicitLanguages;
}

void MacroLangs::GetAllLanguages(Kdr_StringArray& languages)
{
    languages = GetAllLanguages();
}

void MacroLangs::SetLanguages(const Kdr_StringArray& languages)
{
    state().explicitLanguages = languages;
}

Kdr_String MacroLangs::GetCurLanguage()
{
    Kdr_StringArray languages = GetAllLanguages();
    int index = languages.find(state().current, false);
    return index >= 0 ? languages[index] : languages[0];
}

int MacroLangs::GetCurLanguageIndex()
{
    return std::max(GetAllLanguages().find(state().current, false), 0);
}

bool MacroLangs::SetCurLanguage(const Kdr_String& language)
{
    Kdr_StringArray languages = GetAllLanguages();
    int index = languages.find(language, false);
    if (index < 0)
        return false;
    state().current = languages[index];
    return true;
}

Kdr_String MacroLangs::GetString(const Kdr_String& section, const Kdr_String& text)
{
    return translate(section, text).value_or(text);
}

Kdr_String MacroLangs::GetStringChopSymbols(const Kdr_String& section, const Kdr_String& text,
                                            bool chopSymbols, char separator)
{
    Kdr_String whole = translateDecorated(section, text, chopSymbols);
    if (whole != text || separator == '\0' ||
        std::string_view(text).find(separator) == std::string_view::npos)
        return whole;
    Kdr_StringArray parts;
    splitString(text, std::string_view(&separator, 1), parts);
    for (Kdr_String& part : parts)
        part = translateDecorated(section, part, true);
    return arrToStr(parts, std::string_view(&separator, 1));
}

void MacroLangs::AddTranslation(const Kdr_String& language, const Kdr_String& section, const Kdr_String& text,
                                const Kdr_String& translation)
{
    state().added[language.lower()][wordKey(section, text)] = translation;
}

void MacroLangs::ResetTranslations()
{
    state() = LanguageState{};
}
