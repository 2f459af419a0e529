#pragma once

#include "host/Kdr_StringArray.h"

/// The host's languages: the language names in the host's order, the current language, and
/// the word translations that captions of dialog templates and table headers go through.
///
/// The language names come from "<lib>/texts/Languages.txt" (one name per line) when that
/// file exists, else English, Dutch, German and French. The current language is the first
/// one until SetCurLanguage chooses another. Translations of the current language come from
/// "<lib>/texts/<Language>-words.txt": one "section TAB text TAB translation" per line
/// (escapes \\, \t, \n), looked up with the case of section and text ignored; translations
/// added with AddTranslation take precedence. All state is shared, so the members are static
/// and the global gMacroLangs is only a handle for calls written through it.
class MacroLangs
{
public:
    virtual ~MacroLangs() = default;

    static Kdr_StringArray GetAllLanguages();
    static void GetAllLanguages(Kdr_StringArray& languages);
    /// Replaces the language list (an empty list restores the default or file list).
    static void SetLanguages(const Kdr_StringArray& languages);

    static Kdr_String GetCurLanguage();
    /// Index of the current language in GetAllLanguages.
    static int GetCurLanguageIndex();
    /// Makes `language` current; false (and no change) when it is not one of the languages.
    static bool SetCurLanguage(const Kdr_String& language);

    /// The translation of `text` in `section` for the current language, or `text` itself.
    static Kdr_String GetString(const Kdr_String& section, const Kdr_String& text);
    /// As GetString, for a caption that may carry decorations. With chopSymbols true the
    /// blanks and punctuation around the text (as in "Width:" or "(mm)") are kept aside,
    /// the rest is translated and the decorations are put back. When the whole has no
    /// translation, each part between `separator` characters is translated on its own, so
    /// "Width x Height" with separator 'x' translates both words.
    static Kdr_String GetStringChopSymbols(const Kdr_String& section, const Kdr_String& text,
                                           bool chopSymbols, char separator);

    /// Adds a translation for `language` (kept until ResetTranslations).
    static void AddTranslation(const Kdr_String& language, const Kdr_String& section, const Kdr_String& text,
                               const Kdr_String& translation);
    /// Forgets added translations and the word files read, and returns to the default
    /// languages with the first one current.
    static void ResetTranslations();
};

extern MacroLangs gMacroLangs;
