#include "host/TableFile.h"

#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/StringFunctions.h"

namespace
{
/// Splits one line into cells at its TABs, undoing the escapes. False at a broken escape.
bool parseLine(std::string_view line, Kdr_StringArray& row)
{
    row.removeAll();
    if (line.empty())
        return true;
    size_t start = 0;
    while (true)
    {
        const size_t tab = line.find('\t', start);
        Kdr_String cell;
        if (!host::unescapeField(line.substr(start, tab == std::string_view::npos ? tab : tab - start), cell))
            return false;
        row.append(cell);
        if (tab == std::string_view::npos)
            return true;
        start = tab + 1;
    }
}
} // namespace

namespace host
{
bool parseTableText(std::string_view text, const Kdr_String& source, Kdr_Array<Kdr_StringArray>& rows)
{
    Kdr_Array<Kdr_StringArray> parsed;
    size_t start = 0;
    int lineNumber = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        Kdr_StringArray row;
        if (!parseLine(line, row))
        {
            acutPrintf("*Error* Table file \"%s\", line %d: broken escape (a backslash must be followed by "
                       "\\, t, n or r).\n",
                       source.c_str(), lineNumber);
            return false;
        }
        parsed.append(row);
        start = end + 1;
    }
    rows = std::move(parsed);
    return true;
}

std::string formatTableText(const Kdr_Array<Kdr_StringArray>& rows)
{
    std::string out;
    for (const Kdr_StringArray& row : rows)
    {
        for (int i = 0; i < row.length(); ++i)
        {
            if (i > 0)
                out += '\t';
            out += host::escapeField(row[i]);
        }
        out += '\n';
    }
    return out;
}

} // namespace host

bool readFile(const Kdr_String& path, Kdr_String& name, Kdr_Array<Kdr_StringArray>& rows)
{
    const Kdr_String file = host::normalizePath(path);
    std::string contents;
    Kdr_String error;
    if (!host::readFileBytes(file, contents, error))
    {
        acutPrintf("%s\n", error.c_str());
        return false;
    }
    if (!host::parseTableText(contents, file, rows))
        return false;
    name = host::getFileTitle(file);
    return true;
}

bool writeFile(const Kdr_String& path, const Kdr_Array<Kdr_StringArray>& rows)
{
    Kdr_String error;
    if (!host::writeFileAtomically(host::normalizePath(path), host::formatTableText(rows), error))
    {
        acutPrintf("%s\n", error.c_str());
        return false;
    }
    return true;
}
