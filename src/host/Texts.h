#pragma once

#include "host/Kdr_StringArray.h"

// The host's numbered user-interface texts. There are two tables: the dialog strings
// (dialString) and the general strings (string). Each comes from a text file of the
// library folder per language:
//   <lib>/texts/<Language>.txt          dialog strings
//   <lib>/texts/<Language>-strings.txt  general strings
// one "number TAB text" per line, with the escapes \\, \t and \n inside the text; empty lines
// and lines starting with "//" are skipped. A number missing from the current language is
// taken from the English file, then from the built-in English defaults, so no caption is
// ever empty; a number nobody knows gives "#<number>". A malformed file is reported on the
// command line with its name and line and is not used.

/// Dialog string `number` in the current language.
Kdr_String dialString(int number);
/// Dialog string `number` in every language, in the order of MacroLangs::GetAllLanguages.
Kdr_StringArray dialStringAllLangs(int number);
/// General string `number` in the current language.
Kdr_String string(int number);

namespace host
{
/// Which of the two numbered tables.
enum class TextTable
{
    Dialog,
    General
};

/// Text `number` of `table` in `language`.
Kdr_String numberedText(TextTable table, int number, const Kdr_String& language);
/// The built-in English text, or nullptr when there is none.
const char* defaultText(TextTable table, int number);
/// Forgets every table read from files, so the next look-up reads them again.
void reloadTexts();
} // namespace host
