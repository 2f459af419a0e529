#include "library/SectionLibrary.h"

#include "host/FileFunctions.h"
#include "host/NumberFunctions.h"
#include "host/SectionTableFile.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"
#include "host/Texts.h"
#include "library/Kdr_ProfValuesTable.h"
#include "library/SectionShapes.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace
{
constexpr int kSysNameColumn = 0;
constexpr int kActiveColumn = 1;
constexpr int kFirstLanguageColumn = 2;
constexpr int kMaxPatternRows = 9999;
constexpr int kTubeShape = 10;

/// Two cell texts as the same value: numerically when both are numbers.
bool sameValue(const Kdr_String& part, const Kdr_String& value)
{
    if (part.isNumber() && value.isNumber())
        return part.toDouble() == value.toDouble();
    return part == value;
}

Kdr_StringArray nameParts(const Kdr_String& sysName)
{
    Kdr_StringArray parts;
    splitString(sysName, "x", parts);
    return parts;
}

bool firstTwoPartsEqual(const Kdr_String& sysName)
{
    const Kdr_StringArray parts = nameParts(sysName);
    return parts.length() >= 2 && parts[0] == parts[1];
}
} // namespace

Kdr_String sectionTableBaseName(const Kdr_String& name)
{
    return name.endsWith(".pr", false) ? name.left(name.length() - 3) : name;
}

Kdr_String sectionTableNameProblem(const Kdr_String& name, const Kdr_StringArray& existing)
{
    if (name.empty())
        return "A table needs a name.";
    if (name == "." || name == "..")
        return "\"" + name + "\" cannot name a table.";
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("/\\<>:\"|?*").find(c) != std::string_view::npos)
            return Kdr_String("A table name cannot hold the character '") +
                   (static_cast<unsigned char>(c) < 0x20 ? Kdr_String("control")
                                                         : Kdr_String(std::string(1, c))) +
                   "'.";
    if (name.back() == ' ' || name.back() == '.')
        return "A table name cannot end in a blank or a point.";
    const Kdr_String base = sectionTableBaseName(name);
    if (!host::isValidSectionTableName(base))
        return "\"" + name + "\" cannot name a table.";
    if (existing.find(base, false) >= 0)
        return "A table named \"" + base + "\" exists already.";
    return {};
}

bool renameSectionTable(Kdr_ProfValuesTable& table, const Kdr_String& oldName, const Kdr_String& newName,
                        const Kdr_StringArray& existing, Kdr_String& error)
{
    error = sectionTableNameProblem(newName, existing);
    if (!error.empty())
        return false;
    const Kdr_String base = sectionTableBaseName(newName);
    const Kdr_String previous = table.name();
    table.setName(base);
    if (!table.writeToFile(base))
    {
        table.setName(previous);
        error = "Table \"" + oldName + "\" could not be saved as \"" + base + "\"; it keeps its name.";
        return false;
    }
    deleteSectionTableFile(oldName);
    return true;
}

bool createSectionTable(Kdr_ProfValuesTable& table, const Kdr_String& name, const Kdr_StringArray& existing,
                        Kdr_String& error)
{
    error = sectionTableNameProblem(name, existing);
    if (!error.empty())
        return false;
    const Kdr_String base = sectionTableBaseName(name);
    table.setName(base);
    if (!table.writeToFile(base))
    {
        error = "Table \"" + base + "\" could not be saved.";
        return false;
    }
    return true;
}

bool deleteSectionTableFile(const Kdr_String& name)
{
    if (!host::isValidSectionTableName(name))
        return false;
    return ObjectExportDeleteFile(host::sectionTablePath(gSettings.libDir(), name));
}

int firstValueColumn(const Kdr_ProfValuesTable& table)
{
    return kFirstLanguageColumn + table.getNrLanguages();
}

bool findSizePattern(const Kdr_ProfValuesTable& table, int start, Kdr_SizePattern& pattern)
{
    pattern = Kdr_SizePattern{start, {}};
    const int first = firstValueColumn(table);
    const int last = std::min(table.rowCount(), std::max(start, 0) + kMaxPatternRows);
    for (int r = std::max(start, 0); r < last; ++r)
    {
        const Kdr_StringArray& row = table.rows()[r];
        if (row.isEmpty())
            continue;
        Kdr_Array<int> columns;
        bool matched = true;
        for (const Kdr_String& part : nameParts(row[kSysNameColumn]))
        {
            int found = -1;
            for (int col = first; col < row.length() && found < 0; ++col)
                if (!columns.contains(col) && sameValue(part, row[col]))
                    found = col;
            if (found < 0)
            {
                matched = false;
                break;
            }
            columns.append(found);
        }
        if (matched)
        {
            pattern = Kdr_SizePattern{r, columns};
            return true;
        }
    }
    return false;
}

Kdr_StringArray sizeNamePrefixes(const Kdr_ProfValuesTable& table, int row)
{
    Kdr_StringArray prefixes;
    Kdr_StringArray cells;
    table.getRow(cells, row);
    for (int l = 0; l < table.getNrLanguages(); ++l)
    {
        const int col = kFirstLanguageColumn + l;
        Kdr_String prefix;
        if (col < cells.length())
        {
            int start = 0;
            if (findFirstNumbers(cells[col], start))
                prefix = cells[col].left(start);
        }
        prefixes.append(prefix);
    }
    return prefixes;
}

Kdr_String composeSizeName(const Kdr_SizePattern& pattern, const Kdr_StringArray& row)
{
    Kdr_String name;
    for (int i = 0; i < pattern.columns.length(); ++i)
    {
        if (i > 0)
            name += "x";
        const int col = pattern.columns[i];
        if (col < row.length())
            name += row[col];
    }
    return name;
}

int sizeInsertionIndex(const Kdr_ProfValuesTable& table, const Kdr_String& sysName)
{
    Kdr_StringArray sysNames;
    table.getColumn(sysNames, kSysNameColumn);
    if (firstTwoPartsEqual(sysName))
    {
        // The names of the same form in their sorted order, each with its row.
        std::vector<std::pair<Kdr_String, int>> sameForm;
        for (int r = 0; r < sysNames.length(); ++r)
            if (firstTwoPartsEqual(sysNames[r]))
                sameForm.emplace_back(sysNames[r], r);
        std::stable_sort(sameForm.begin(), sameForm.end(),
                         [](const auto& a, const auto& b)
                         { return host::compareNatural(a.first, b.first, false) < 0; });
        if (!sameForm.empty())
        {
            std::size_t place = sameForm.size();
            while (place > 0 && host::compareNatural(sameForm[place - 1].first, sysName, false) > 0)
                --place;
            return place == 0 ? sameForm[0].second : sameForm[place - 1].second + 1;
        }
    }
    return ObjectExportAddToSorted(sysNames, sysName);
}

Kdr_StringArray makeSizeRow(const Kdr_ProfValuesTable& table, int templateRow, const Kdr_String& nameText,
                            bool automatic, const Kdr_StringArray& values)
{
    Kdr_StringArray row;
    table.getRow(row, templateRow);
    if (row.length() < table.columnNames().length())
        row.setLength(table.columnNames().length());
    if (row.length() <= kActiveColumn)
        return row;
    row[kSysNameColumn] = nameText;
    row[kActiveColumn] = "1";
    const Kdr_StringArray prefixes = sizeNamePrefixes(table, templateRow);
    for (int l = 0; l < prefixes.length() && kFirstLanguageColumn + l < row.length(); ++l)
        row[kFirstLanguageColumn + l] = automatic ? Kdr_String(prefixes[l] + nameText) : nameText;
    const int first = firstValueColumn(table);
    for (int k = 0; k < values.length() && first + k < row.length(); ++k)
        row[first + k] = values[k];
    return row;
}

Kdr_String tubeRadiusMessage()
{
    return dialString(1457) + "\n" + dialString(1458) + "\n\n" + dialString(888) + ".";
}

Kdr_String newSizeProblem(const Kdr_ProfValuesTable& table, const Kdr_StringArray& row)
{
    const Kdr_String sysName = row.isEmpty() ? Kdr_String() : row[kSysNameColumn];
    if (sysName.empty())
        return "The new size needs a name.";
    int existing = -1;
    if (table.findSysName(sysName, existing))
        return "Table \"" + table.name() + "\" holds a size named \"" + sysName + "\" already.";
    const Kdr_SectionShape* shape = sectionShapeOfPicture(table.picture());
    const int first = firstValueColumn(table);
    if (shape && shape->number == kTubeShape && first + 3 < row.length())
    {
        const Kdr_String& third = row[first + 2];
        const Kdr_String& fourth = row[first + 3];
        const double radius = fourth.toDouble();
        if (!(radius == 0 || radius > third.toDouble()))
            return tubeRadiusMessage();
    }
    return {};
}
