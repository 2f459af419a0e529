#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

/// Table files: a list of rows of cell texts, one line per row, cells separated by TAB.
/// Inside a cell a backslash, a TAB, a line feed and a carriage return are written as
/// `\\`, `\t`, `\n` and `\r`; every other byte (0x80–0xFF included) is written as it is.
/// A row without cells is an empty line, and so is a row holding one empty cell: both read
/// back as a row without cells. Lines may end in CR LF.

/// Reads the table file at `path` (`\` and `/` both separate folders). `name` becomes the
/// file's base name without its extension. False when the file cannot be read, is too large
/// or holds a broken escape; the reason, with the file and line, goes to the command line,
/// and `name` and `rows` are left as they were.
bool readFile(const Kdr_String& path, Kdr_String& name, Kdr_Array<Kdr_StringArray>& rows);

/// Writes `rows` to `path` atomically: a temporary file in the same folder is written and
/// then renamed over the target, so a failed write leaves any old file intact. False (with a
/// message naming the file) when it fails.
bool writeFile(const Kdr_String& path, const Kdr_Array<Kdr_StringArray>& rows);

namespace host
{
/// Parses the contents of a table file; `source` names it in messages. The reader and the
/// fuzz target share it.
bool parseTableText(std::string_view text, const Kdr_String& source, Kdr_Array<Kdr_StringArray>& rows);
/// The contents `writeFile` writes for `rows`.
std::string formatTableText(const Kdr_Array<Kdr_StringArray>& rows);
} // namespace host
