#include "host/SectionTableFile.h"

#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/StringFunctions.h"
#include "host/TableFile.h"

#include <cstdio>
#include <iterator>

namespace
{
/// Columns every table has: the system name and the active flag.
constexpr int kFixedColumns = 2;

void refuse(const Kdr_String& source, int line, const std::string& reason)
{
    acutPrintf("*Error* Section table \"%s\", line %d: %s.\n", source.c_str(), line, reason.c_str());
}

/// Refuses bytes that no text table holds and lines too long for one, before the fields are
/// split, so that the line numbers are those of the file as it is.
bool checkBytes(std::string_view text, const Kdr_String& source)
{
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n')
        {
            ++line;
            lineStart = i + 1;
            continue;
        }
        if (i - lineStart >= host::kMaxSectionTableLine)
        {
            refuse(source, line,
                   "the line is longer than " + std::to_string(host::kMaxSectionTableLine) + " bytes");
            return false;
        }
        const bool lineEnd = c == '\r' && (i + 1 == text.size() || text[i + 1] == '\n');
        if (c < 0x20 && c != '\t' && !lineEnd)
        {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", c);
            refuse(source, line, std::string("binary data (byte ") + code + ")");
            return false;
        }
    }
    return true;
}

/// The structure checks shared by reading and writing; `stored` is the list of rows as the
/// file holds them (picture, header, sizes), so row i is on line i + 1.
bool checkStored(const Kdr_Array<Kdr_StringArray>& stored, const Kdr_String& source)
{
    if (stored.isEmpty())
    {
        refuse(source, 1, "the file is empty (a picture line and a header line are needed)");
        return false;
    }
    if (stored[0].length() > 1)
    {
        refuse(source, 1,
               "the picture line holds " + std::to_string(stored[0].length()) + " fields (one is allowed)");
        return false;
    }
    if (stored.length() < 2)
    {
        refuse(source, 2, "no header line");
        return false;
    }
    const int columns = stored[1].length();
    if (columns < kFixedColumns)
    {
        refuse(source, 2,
               "the header holds " + std::to_string(columns) +
                   " column names (at least \"SysName\" and \"I/O\" are needed)");
        return false;
    }
    for (int i = 2; i < stored.length(); ++i)
        if (stored[i].length() != columns)
        {
            refuse(source, i + 1,
                   "the row holds " + std::to_string(stored[i].length()) + " fields where the header has " +
                       std::to_string(columns));
            return false;
        }
    return true;
}

Kdr_Array<Kdr_StringArray> storedRows(const SectionTableContents& contents)
{
    Kdr_Array<Kdr_StringArray> stored;
    stored.vector().reserve(static_cast<std::size_t>(contents.rows.length()) + 2);
    Kdr_StringArray picture;
    // A picture row of one empty field is written as an empty line, which reads back as a
    // row without fields; both mean "no picture".
    if (!contents.picture.empty())
        picture.append(contents.picture);
    stored.append(picture);
    stored.append(contents.columnNames);
    stored.append(contents.rows);
    return stored;
}
} // namespace

namespace host
{
bool isValidSectionTableName(std::string_view name)
{
    if (name.size() >= 3 && equalText(name.substr(name.size() - 3), ".pr", false))
        name.remove_suffix(3);
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ')
        return false;
    return !hasInvalidFileNameChars(Kdr_String(name));
}

Kdr_String sectionTablePath(const Kdr_String& libraryFolder, std::string_view name)
{
    Kdr_String path = libraryFolder + "prof/" + Kdr_String(name);
    if (!path.endsWith(".pr", false))
        path += ".pr";
    return path;
}

Kdr_String sectionPictureForHost(const Kdr_String& picture)
{
    return picture.contains(".", false) ? Kdr_String("Prof\\" + picture) : picture;
}

bool parseSectionTableText(std::string_view text, const Kdr_String& source, SectionTableContents& contents)
{
    if (!checkBytes(text, source))
        return false;
    Kdr_Array<Kdr_StringArray> stored;
    if (!parseTableText(text, source, stored) || !checkStored(stored, source))
        return false;
    SectionTableContents parsed;
    parsed.picture = stored[0].isEmpty() ? Kdr_String() : stored[0][0];
    parsed.columnNames = std::move(stored[1]);
    parsed.rows.vector().assign(std::make_move_iterator(stored.begin() + 2),
                                std::make_move_iterator(stored.end()));
    contents = std::move(parsed);
    return true;
}

bool readSectionTableFile(const Kdr_String& path, Kdr_String& name, SectionTableContents& contents)
{
    const Kdr_String file = normalizePath(path);
    std::string bytes;
    Kdr_String error;
    if (!readFileBytes(file, bytes, error))
    {
        acutPrintf("%s\n", error.c_str());
        return false;
    }
    if (!parseSectionTableText(bytes, file, contents))
        return false;
    name = getFileTitle(file);
    return true;
}

bool checkSectionTable(const SectionTableContents& contents, const Kdr_String& source)
{
    // Fields may hold any byte: the table file escapes TAB, line breaks and backslashes. The
    // length limit is that of the written line.
    if (!checkStored(storedRows(contents), source))
        return false;
    return checkBytes(formatSectionTableText(contents), source);
}

std::string formatSectionTableText(const SectionTableContents& contents)
{
    return formatTableText(storedRows(contents));
}

bool writeSectionTableFile(const Kdr_String& path, const SectionTableContents& contents)
{
    const Kdr_String file = normalizePath(path);
    if (!checkSectionTable(contents, file))
        return false;
    Kdr_String error;
    if (!writeFileAtomically(file, formatSectionTableText(contents), error))
    {
        acutPrintf("%s\n", error.c_str());
        return false;
    }
    return true;
}
} // namespace host
