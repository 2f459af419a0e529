#include "cutting/CuttingStockFiles.h"

#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"
#include "host/Texts.h"

#include <charconv>
#include <string_view>

namespace cutting
{
namespace
{
bool endsWithIgnoringCase(std::string_view text, std::string_view end)
{
    if (text.size() < end.size())
        return false;
    return Kdr_String(text.substr(text.size() - end.size())).equal(end, false);
}

Kdr_String quoted(const Kdr_String& text)
{
    return Kdr_String("\"") + text + "\"";
}

/// The time of a file as the report writes it: "%d %B, %Y (%H:%M)" in local time.
Kdr_String fileTimeText(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    char buffer[64];
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%d %B, %Y (%H:%M)", &local);
    return Kdr_String(std::string_view(buffer, length));
}

/// One group's line of the report for one kind of file, loading the file it names.
Kdr_String loadLatestForReport(DlgCSP2Data& data, int groupIndex, TableKind kind)
{
    const bool stock = kind == TableKind::Stock;
    const Kdr_String& group = data.groupNames[groupIndex];
    const Kdr_String folder = groupFolder(group);
    ObjectExportCreateDirectory(folder);
    Kdr_String path;
    if (!latestFile(folder, kind, path))
        return dialString(stock ? 633 : 637) + " " + dialString(634) + " " + quoted(group) + ".";
    Kdr_String error;
    const Kdr_String name = host::getFileName(path);
    if (!loadGroupTable(data, groupIndex, kind, path, error))
    {
        if (error.startsWith("*Error* ", true))
            error = error.substr(8);
        return Kdr_String("Cannot read ") + quoted(name) + " " + dialString(634) + " " + quoted(group) +
               ": " + error;
    }
    std::time_t time = 0;
    ObjectExportGetFileTime(path, time);
    return dialString(stock ? 635 : 638) + " " + quoted(name) + " " + dialString(634) + " " + quoted(group) + " " +
           dialString(636) + " " + fileTimeText(time);
}
} // namespace

const char* extensionOf(TableKind kind)
{
    return kind == TableKind::Stock ? "shp" : "buy";
}

CSP2Table& tableOf(DlgCSP2Data& data, TableKind kind)
{
    return kind == TableKind::Stock ? data.stock : data.purchase;
}

Kdr_String groupNameProblem(const Kdr_String& name, const Kdr_StringArray& existing)
{
    if (name.empty())
        return "A group needs a name.";
    if (name == "." || name == "..")
        return Kdr_String("\"") + name + "\" cannot name a group.";
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("/\\<>:\"|?*").find(c) != std::string_view::npos)
            return Kdr_String("A group name cannot hold the character '") +
                   (static_cast<unsigned char>(c) < 0x20 ? Kdr_String("control")
                                                         : Kdr_String(std::string(1, c))) +
                   "'.";
    if (existing.find(name, false) >= 0)
        return Kdr_String("A group named \"") + name + "\" exists already.";
    return {};
}

Kdr_String groupFolder(const Kdr_String& groupName)
{
    return gSettings.libDir() + "Cutting Stock/" + groupName + "/";
}

Kdr_String nextStockFile(const Kdr_String& folder, TableKind kind)
{
    const Kdr_String extension = extensionOf(kind);
    Kdr_StringArray files;
    int highest = 0;
    if (ObjectExportFindFiles(folder, Kdr_String("Stock*.") + extension, files))
        for (const Kdr_String& file : files)
        {
            const Kdr_String name = host::getFileName(file);
            const std::string_view digits =
                std::string_view(name).substr(5, name.length() - 5 - extension.size() - 1);
            int number = 0;
            const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
            if (error == std::errc() && end == digits.data() + digits.size() && number > highest)
                highest = number;
        }
    return folder + "Stock" + Kdr_String(highest + 1) + "." + extension;
}

bool latestFile(const Kdr_String& folder, TableKind kind, Kdr_String& path)
{
    return ObjectExportFindLatestFile(folder, Kdr_String("*.") + extensionOf(kind), path);
}

Kdr_String withExtension(const Kdr_String& path, TableKind kind)
{
    const Kdr_String ending = Kdr_String(".") + extensionOf(kind);
    return endsWithIgnoringCase(path, ending) ? path : Kdr_String(path + ending);
}

Kdr_Array<Kdr_StringArray> groupRows(const CSP2Table& table, int groupId)
{
    Kdr_Array<Kdr_StringArray> rows;
    for (int i = 0; i < table.rows.length() && i < table.rowGroups.length(); ++i)
        if (table.rowGroups[i] == groupId)
            rows.append(table.rows[i]);
    return rows;
}

void removeGroupRows(CSP2Table& table, int groupId)
{
    for (int i = std::min(table.rows.length(), table.rowGroups.length()) - 1; i >= 0; --i)
        if (table.rowGroups[i] == groupId)
        {
            table.rows.removeAt(i);
            table.rowGroups.removeAt(i);
        }
}

void replaceGroupRows(CSP2Table& table, int groupId, const Kdr_Array<Kdr_StringArray>& rows)
{
    removeGroupRows(table, groupId);
    for (const Kdr_StringArray& row : rows)
    {
        table.rows.append(row);
        table.rowGroups.append(groupId);
    }
}

bool readTableFile(const Kdr_String& path, Kdr_Array<Kdr_StringArray>& rows, Kdr_String& error)
{
    rows = {};
    std::string bytes;
    if (!host::readFileBytes(path, bytes, error))
        return false;
    Kdr_StringArray lines;
    host::splitLines(bytes, lines);
    arrToArrArr(lines, rows, std::string_view(&kCellSeparator, 1));
    return true;
}

Kdr_String rowsProblem(const Kdr_Array<Kdr_StringArray>& rows, const Kdr_String& groupName)
{
    for (int r = 0; r < rows.length(); ++r)
        for (const Kdr_String& cell : rows[r])
            if (cell.find_first_of(std::string_view("\xBF\r\n", 3)) != std::string::npos)
                return Kdr_String("Row ") + Kdr_String(r + 1) + " of group \"" + groupName +
                       "\" holds a line break or the byte 0xBF, which the file cannot keep.";
    return {};
}

bool writeTableFile(const Kdr_String& path, const Kdr_Array<Kdr_StringArray>& rows,
                    const Kdr_String& groupName, Kdr_String& error)
{
    error = rowsProblem(rows, groupName);
    if (!error.empty())
        return false;
    Kdr_StringArray lines;
    arrArrToArr(rows, lines, std::string_view(&kCellSeparator, 1));
    std::string bytes;
    for (const Kdr_String& line : lines)
        bytes.append(line).push_back('\n');
    return host::writeFileAtomically(path, bytes, error);
}

bool loadGroupTable(DlgCSP2Data& data, int groupIndex, TableKind kind, const Kdr_String& path,
                    Kdr_String& error)
{
    if (!data.groupIds.validIndex(groupIndex))
        return false;
    Kdr_Array<Kdr_StringArray> rows;
    if (!readTableFile(path, rows, error))
        return false;
    replaceGroupRows(tableOf(data, kind), data.groupIds[groupIndex], rows);
    return true;
}

bool saveGroupTable(const DlgCSP2Data& data, int groupIndex, TableKind kind, const Kdr_String& path,
                    Kdr_String& error)
{
    if (!data.groupIds.validIndex(groupIndex) || !data.groupNames.validIndex(groupIndex))
        return false;
    const CSP2Table& table = kind == TableKind::Stock ? data.stock : data.purchase;
    return writeTableFile(path, groupRows(table, data.groupIds[groupIndex]), data.groupNames[groupIndex],
                          error);
}

Kdr_String loadLatestFiles(DlgCSP2Data& data)
{
    const Kdr_String dashes(std::string(116, '-'));
    Kdr_String report = dashes;
    for (int i = 0; i < data.groupIds.length() && i < data.groupNames.length(); ++i)
    {
        report += "\n" + loadLatestForReport(data, i, TableKind::Stock);
        report += "\n";
        report += "\n" + loadLatestForReport(data, i, TableKind::Purchase);
        report += "\n" + dashes;
    }
    return report;
}
} // namespace cutting
