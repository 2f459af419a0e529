#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

#include <string_view>

// The host's free text functions. Splitting always yields one more part than there are
// separators, so splitting and joining round-trip exactly ("" gives one empty part).

/// Splits `text` at every occurrence of `separator` (an empty separator gives the whole text
/// as one part). Returns true when the separator occurred.
bool splitString(const Kdr_String& text, std::string_view separator, Kdr_StringArray& parts);

/// Splits `text` at the first `symbol` that is not inside a double-quoted stretch into `left`
/// and `right`. With trimParts true blanks around both parts are removed. False (and both
/// outputs untouched) when the symbol does not occur.
bool splitStringAtSymbol(const Kdr_String& text, char symbol, Kdr_String& left, Kdr_String& right,
                         bool trimParts);
/// Splits `text` at every `symbol` outside double quotes into `parts`; with trimParts true
/// blanks around each part are removed. Returns true when the symbol occurred.
bool splitStringAtSymbol(const Kdr_String& text, char symbol, Kdr_StringArray& parts, bool trimParts);

/// A list text split at `separator` (';' by default).
void strToArr(const Kdr_String& text, Kdr_StringArray& items, std::string_view separator = ";");
/// Items joined with `separator` (';' by default).
Kdr_String arrToStr(const Kdr_StringArray& items, std::string_view separator = ";");
void arrToStr(const Kdr_StringArray& items, Kdr_String& text, std::string_view separator = ";");

/// Each line split at `separator` (TAB by default) into the cells of one row.
void arrToArrArr(const Kdr_StringArray& lines, Kdr_Array<Kdr_StringArray>& rows,
                 std::string_view separator = "\t");
/// Each row's cells joined with `separator` (TAB by default) into one line.
void arrArrToArr(const Kdr_Array<Kdr_StringArray>& rows, Kdr_StringArray& lines,
                 std::string_view separator = "\t");

/// Indices (ascending) of the entries that repeat an earlier entry; the first occurrence of
/// every text is kept out of the list. Returns true when there is any.
bool getDuplicates(const Kdr_StringArray& names, Kdr_Array<int>& indices, bool caseSensitive);
/// Every text that occurs more than once, listed once in the spelling of its first
/// occurrence, in order of first occurrence. Returns true when there is any.
bool hasDuplicates(const Kdr_StringArray& names, Kdr_StringArray& duplicates, bool caseSensitive);

/// Replaces every occurrence of `from` in `text` by `to`; returns the number replaced.
int replaceSubString(Kdr_String& text, std::string_view from, std::string_view to, bool caseSensitive);

/// Removes "/*" ... "*/" comments, which may span lines; an unterminated comment runs to the
/// end of the last line. Lines keep their places (a line inside a comment becomes empty).
void removeComments(Kdr_StringArray& lines);
/// Cuts a line at its first "//".
void removeLineComment(Kdr_String& line);
void removeLineComment(Kdr_StringArray& lines);

/// Finds the first number in `text`: its first digit, together with a directly preceding
/// '.' and a sign that stands at the start of the text or after a blank. `start` is its
/// index and `number` its text (digits with at most one decimal point). False when the text
/// holds no digit.
bool findFirstNumbers(const Kdr_String& text, int& start, Kdr_String& number);
bool findFirstNumbers(const Kdr_String& text, int& start);

/// True for a non-empty text of ASCII letters and digits only.
bool hasOnlyLettersNumbers(const Kdr_String& text);
/// True when the first character is a digit.
bool startsWithNumber(const Kdr_String& text);
/// True when the text holds a character that no file name may hold: \ / : * ? " < > | or a
/// control character.
bool hasInvalidFileNameChars(const Kdr_String& text);
/// Removes the leading backslashes and slashes of a path.
Kdr_String& ensureNoStartBSlash(Kdr_String& path);
/// Makes a non-empty folder text end with a separator ('/' is added when it has none).
Kdr_String& ensureEndBSlash(Kdr_String& path);

/// The spreadsheet column letters of a 1-based column: 1 A, 26 Z, 27 AA, 702 ZZ, 703 AAA.
/// Empty for 0 and below.
Kdr_String getAlfabet(int column);

/// A text made from `base` that `existing` does not hold (compared with `caseSensitive`):
/// `base` itself when unused; a base of digits only counts up ("1" -> "2", "3", ...); any
/// other base gets "_1", "_2", ... (an existing "_n" ending is replaced, so "a_1" -> "a_2").
Kdr_String findNonExistingString(const Kdr_StringArray& existing, const Kdr_String& base,
                                 bool caseSensitive = false);

/// A text of `length` random letters and digits: upper-case letters and digits, or with
/// mixedCase true also lower-case letters. Empty (and false) for a length outside 1..65536.
Kdr_String generateRandomString(int length, bool mixedCase);
bool generateRandomString(int length, Kdr_String& text, bool mixedCase);

namespace host
{
/// Writes a field for a TAB-separated line: '\' becomes "\\", TAB "\t", line feed "\n" and
/// carriage return "\r".
Kdr_String escapeField(std::string_view text);
/// A text as a person should see it on a terminal or screen: valid UTF-8 is kept, any other
/// byte is read as Windows-1252 (the encoding of old files), and control bytes other than line
/// feed and TAB become "\xNN", so that no file can move the cursor or break a message.
std::string displayText(std::string_view text);
/// Reverses escapeField. False for a '\' at the end or before any other character.
bool unescapeField(std::string_view text, Kdr_String& out);
/// Natural order: runs of digits compare by value, the rest by folded bytes (with
/// caseSensitive false). "M8" < "M10", "100x50" < "100x60".
int compareNatural(std::string_view a, std::string_view b, bool caseSensitive);
/// Wildcard match of a file name: '*' any run, '?' one byte; letters folded (as Windows does).
bool matchWildcard(std::string_view pattern, std::string_view name);
} // namespace host
