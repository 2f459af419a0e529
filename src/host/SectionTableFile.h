#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

#include <cstddef>
#include <string>
#include <string_view>

/// What a section table file (".pr" in the library's "prof" folder) holds: a line with the
/// section picture, a header line with the column names ("SysName", "I/O", the languages, the
/// properties) and one line per size. The lines and fields are those of the host's table
/// files (TableFile.h). The host's section table manager and the module's profile table both
/// read and write these files through the functions below, so that they never disagree on
/// which files are sound and what they hold.
struct SectionTableContents
{
    Kdr_String picture;
    Kdr_StringArray columnNames;
    Kdr_Array<Kdr_StringArray> rows;
};

namespace host
{
/// The longest line a section table file may hold. A real size has a few dozen short fields;
/// anything near this is a file of another kind.
constexpr std::size_t kMaxSectionTableLine = 65536;

/// True for a name that can only name a file directly in the "prof" folder: not empty, not
/// "." or "..", without folder separators, characters invalid in file names or control
/// characters, and not ending in a blank or a point (which Windows drops from file names).
/// A final ".pr" is allowed and ignored.
bool isValidSectionTableName(std::string_view name);

/// The file of table `name` in the library folder `libraryFolder` (which ends with a
/// separator): "prof/", the name and ".pr" unless the name already ends with it (letter case
/// ignored).
Kdr_String sectionTablePath(const Kdr_String& libraryFolder, std::string_view name);

/// The picture as the section table manager keeps it: a drawing file (a picture holding a
/// point) gets "Prof\" in front; a shape number stays as it is.
Kdr_String sectionPictureForHost(const Kdr_String& picture);

/// Parses the bytes of a section table file; `source` names it in messages. Binary bytes,
/// over-long lines, a missing picture or header line, a header without the "SysName" and
/// "I/O" columns and rows whose field count differs from the header's are refused with the
/// file and the line on the command line; `contents` is then left as it was.
bool parseSectionTableText(std::string_view text, const Kdr_String& source, SectionTableContents& contents);

/// Reads a section table file. `name` becomes the file's base name. False, with the reason
/// on the command line, when the file is missing, too large or malformed; `name` and
/// `contents` are then left as they were.
bool readSectionTableFile(const Kdr_String& path, Kdr_String& name, SectionTableContents& contents);

/// True when `contents` would read back as it is: the checks of the parser, made on a table
/// in memory. Otherwise the first fault, with the line it would have in the file, goes to the
/// command line under `source`.
bool checkSectionTable(const SectionTableContents& contents, const Kdr_String& source);

/// The bytes of a section table file.
std::string formatSectionTableText(const SectionTableContents& contents);

/// Writes a section table file atomically, after checkSectionTable; a table that would not
/// read back is not written. False, with the reason on the command line, when it fails.
bool writeSectionTableFile(const Kdr_String& path, const SectionTableContents& contents);
} // namespace host
