#include "library/Kdr_ProfValuesTable.h"

#include "host/CommandLine.h"
#include "host/MacroLangs.h"
#include "host/SectionTableFile.h"
#include "host/SectionTables.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"
#include "spread/Kdr_Spread.h"

#include <charconv>
#include <cmath>

namespace
{
constexpr int kSysNameColumn = 0;
constexpr int kActiveColumn = 1;
constexpr int kFirstLanguageColumn = 2;

/// The table's file, or empty (with the reason on the command line) when the name could
/// reach outside the library's "prof" folder.
Kdr_String tablePath(const Kdr_String& name)
{
    if (!host::isValidSectionTableName(name))
    {
        acutPrintf("*Error* Invalid section table name \"%s\".\n", name.c_str());
        return {};
    }
    return host::sectionTablePath(gSettings.libDir(), name);
}

/// The shortest decimal text that reads back as exactly `value`; "0" for minus zero.
Kdr_String shortestNumberText(double value)
{
    if (value == 0)
        return "0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return Kdr_String(buffer, static_cast<Kdr_String::size_type>(result.ptr - buffer));
}

void removeColumn(Kdr_StringArray& row, int column)
{
    if (row.length() > column)
        row.vector().erase(row.vector().begin() + column);
}
} // namespace

// --- File ----------------------------------------------------------------------------------

bool Kdr_ProfValuesTable::readFromFile(const Kdr_String& name)
{
    // Whatever happens, the object no longer holds the table it held: a failed read must not
    // leave an earlier table's rows under the new request, where a save would write them.
    *this = Kdr_ProfValuesTable();
    const Kdr_String path = tablePath(name);
    if (path.empty())
        return false;
    Kdr_String fileName;
    SectionTableContents contents;
    if (!host::readSectionTableFile(path, fileName, contents))
        return false;
    name_ = fileName;
    picture_ = std::move(contents.picture);
    columnNames_ = std::move(contents.columnNames);
    rows_ = std::move(contents.rows);
    return true;
}

bool Kdr_ProfValuesTable::writeToFile(const Kdr_String& name)
{
    const Kdr_String path = tablePath(name);
    if (path.empty())
        return false;
    SectionTableContents contents{picture_, columnNames_, rows_};
    return host::writeSectionTableFile(path, contents);
}

// --- Rows and columns ----------------------------------------------------------------------

bool Kdr_ProfValuesTable::getRow(Kdr_StringArray& row, const int& index) const
{
    if (!rows_.validIndex(index))
        return false;
    row = rows_[index];
    return true;
}

bool Kdr_ProfValuesTable::deleteRow(const int& index)
{
    if (!rows_.validIndex(index))
        return false;
    return rows_.removeAt(index);
}

bool Kdr_ProfValuesTable::getColumn(Kdr_StringArray& column, const int& col) const
{
    if (rows_.isEmpty() || col < 0 || col >= rows_[0].length())
        return false;
    column.removeAll();
    for (const Kdr_StringArray& row : rows_)
        column.append(col < row.length() ? row[col] : Kdr_String());
    return true;
}

bool Kdr_ProfValuesTable::getColumn(Kdr_StringArray& column, const Kdr_String& header) const
{
    const int col = getColumnIdx(header);
    return col >= 0 && getColumn(column, col);
}

int Kdr_ProfValuesTable::getColumnIdx(const Kdr_String& header) const
{
    return columnNames_.find(header, false);
}

void Kdr_ProfValuesTable::removeInactiveEntries()
{
    std::erase_if(rows_.vector(),
                  [](const Kdr_StringArray& row) { return row.length() >= 2 && row[kActiveColumn] == "0"; });
}

// --- Names ---------------------------------------------------------------------------------

void Kdr_ProfValuesTable::getSysNames(Kdr_StringArray& names) const
{
    getSysNames(names, false);
}

void Kdr_ProfValuesTable::getFilteredSysNames(Kdr_StringArray& names) const
{
    getSysNames(names, true);
}

void Kdr_ProfValuesTable::getSysNames(Kdr_StringArray& names, bool filtered) const
{
    names.removeAll();
    Kdr_StringArray sysNames, flags;
    if (!getColumn(sysNames, kSysNameColumn) || !getColumn(flags, kActiveColumn) ||
        sysNames.length() != flags.length())
        return;
    for (int i = 0; i < sysNames.length(); ++i)
        if (!filtered || flags[i] != "0")
            names.append(name_ + "-" + sysNames[i]);
}

bool Kdr_ProfValuesTable::findSysName(const Kdr_String& sysName, int& index) const
{
    Kdr_StringArray sysNames;
    if (!getColumn(sysNames, kSysNameColumn))
        return false;
    const int found = sysNames.find(sysName, false);
    if (found < 0)
        return false;
    index = found;
    return true;
}

Kdr_String Kdr_ProfValuesTable::findUnusedSysName(const Kdr_String& base) const
{
    Kdr_StringArray sysNames;
    getColumn(sysNames, kSysNameColumn);
    return findNonExistingString(sysNames, base);
}

int Kdr_ProfValuesTable::getfilteredIdx(const int& index) const
{
    Kdr_StringArray flags;
    getColumn(flags, kActiveColumn);
    if (index < 0 || index >= flags.length())
        return -1;
    int result = index;
    for (int i = 0; i < index; ++i)
        if (flags[i] != "1")
            --result;
    return result;
}

int Kdr_ProfValuesTable::getNrLanguages() const
{
    return columnNames_.length() > 6 && columnNames_[6].equal("Korean", false) ? 5 : 4;
}

// --- Editing -------------------------------------------------------------------------------

bool Kdr_ProfValuesTable::insertRow(const int& index)
{
    // The position is checked first so that a refusal costs nothing and says nothing. A copy
    // may also follow the last row, and -1 puts a new row first (the only way into an empty
    // table).
    const int position = index + 1;
    if (position < 0 || position > rows_.length())
        return false;

    const int languageColumn = columnNames_.find(MacroLangs::GetCurLanguage(), false);
    Kdr_StringArray row;
    if (rows_.validIndex(index))
        row = rows_[index];
    else
        row.setLength(columnNames_.length());

    // A display name such as "IPE 300" gives the type word and blank ("IPE ") as the prefix of
    // the new size's display name; without one the table name serves.
    Kdr_String prefix = name_;
    Kdr_String base = "1";
    const bool hasLanguageCell = languageColumn >= 0 && languageColumn < row.length();
    if (hasLanguageCell)
    {
        Kdr_String text = row[languageColumn];
        int start = 0;
        if (findFirstNumbers(text, start))
            text = text.left(start);
        if (!text.empty())
            prefix = text;
    }
    if (!row.isEmpty() && !row[kSysNameColumn].empty())
        base = row[kSysNameColumn];
    base = findUnusedSysName(base);

    if (row.isEmpty())
        row.append(base);
    else
        row[kSysNameColumn] = base;
    if (hasLanguageCell)
        row[languageColumn] = prefix + base;
    return rows_.insertAt(position, row);
}

Acad::ErrorStatus Kdr_ProfValuesTable::insertRow(const int& index, const Kdr_String& sysName,
                                                 const Kdr_String& userName)
{
    // The new names belong to the inserted copy: renaming the original instead would take its
    // size out of the table and from every connection that uses it.
    if (!insertRow(index))
        return Acad::eInvalidInput;
    const int inserted = index + 1;
    if (setSysName(inserted, sysName) != Acad::eOk || setUserNames(inserted, userName) != Acad::eOk)
    {
        rows_.removeAt(inserted);
        return Acad::eInvalidInput;
    }
    return Acad::eOk;
}

Acad::ErrorStatus Kdr_ProfValuesTable::setSysName(const int& index, const Kdr_String& sysName)
{
    if (!rows_.validIndex(index) || rows_[index].isEmpty())
        return Acad::eInvalidInput;
    rows_[index][kSysNameColumn] = sysName;
    return Acad::eOk;
}

Acad::ErrorStatus Kdr_ProfValuesTable::setUserNames(const int& index, const Kdr_String& userName)
{
    const int languages = getNrLanguages();
    if (!rows_.validIndex(index) || rows_[index].length() < kFirstLanguageColumn + languages)
        return Acad::eInvalidInput;
    for (int col = kFirstLanguageColumn; col < kFirstLanguageColumn + languages; ++col)
        rows_[index][col] = userName;
    return Acad::eOk;
}

Acad::ErrorStatus Kdr_ProfValuesTable::setValues(const int& index, const AcArray<double>& values)
{
    if (!rows_.validIndex(index))
        return Acad::eInvalidInput;
    const int first = kFirstLanguageColumn + getNrLanguages();
    Kdr_StringArray& row = rows_[index];
    if (values.length() != row.length() - first)
        return Acad::eInvalidInput;
    for (double value : values)
        if (!std::isfinite(value))
            return Acad::eInvalidInput;
    // Each value keeps every digit it has: a one-decimal text would turn 1.25 into 1.3 on
    // every edit.
    for (int k = 0; k < values.length(); ++k)
        row[first + k] = shortestNumberText(values[k]);
    return Acad::eOk;
}

// --- Grid and host -------------------------------------------------------------------------

bool Kdr_ProfValuesTable::setToSS(Kdr_Spread& sheet) const
{
    Kdr_Spread::RedrawGuard redraw(sheet);
    sheet.setMaxRows(0, false);
    sheet.setMaxCols(0, false);
    if (rows_.isEmpty())
        return false;
    const int rowCount = rows_.length();
    sheet.setMaxRows(rowCount, false);
    sheet.setMaxCols(columnNames_.length(), false);
    sheet.setCheckBoxType(kActiveColumn + 1, 1, kActiveColumn + 1, rowCount);
    sheet.setColumnCaptions(columnNames_);
    Kdr_StringArray rowCaptions;
    rowCaptions.setLength(rowCount);
    for (Kdr_String& caption : rowCaptions)
        caption = name_;
    sheet.setRowCaptions(rowCaptions);
    for (int i = 0; i < rowCount; ++i)
        sheet.setRowTexts(i + 1, rows_[i], false);
    sheet.fitAll();
    sheet.setProperty(Kdr_Spread::kPropChangesMade, 0);
    return true;
}

bool Kdr_ProfValuesTable::getFromSS(Kdr_Spread& sheet)
{
    const int rowCount = sheet.getMaxRows();
    const int colCount = sheet.getMaxCols();
    if (rowCount <= 0 || colCount <= 0)
        return false;
    Kdr_StringArray captions;
    sheet.getColumnCaptions(captions);
    Kdr_String name;
    sheet.getCellText(Kdr_Spread::kHeaderIndex, 1, name, ctkData);
    Kdr_Array<Kdr_StringArray> rows;
    rows.vector().reserve(static_cast<size_t>(rowCount));
    for (int r = 1; r <= rowCount; ++r)
    {
        Kdr_StringArray row;
        sheet.getRowTexts(r, row);
        rows.append(row);
    }
    columnNames_ = std::move(captions);
    name_ = std::move(name);
    rows_ = std::move(rows);
    return true;
}

Acad::ErrorStatus Kdr_ProfValuesTable::setToGlobals(Kdr_SectionTableManager* manager) const
{
    if (!manager)
        return Acad::eInvalidInput;
    const Kdr_String fileName = name_ + ".pr";
    const Kdr_String picture = host::sectionPictureForHost(picture_);
    // The run-time tables have no active-flag column; a list of one entry or none has no
    // such column to lose.
    Kdr_StringArray columnNames = columnNames_;
    if (columnNames.length() > 1)
        removeColumn(columnNames, kActiveColumn);
    Kdr_Array<Kdr_StringArray> rows = rows_;
    for (Kdr_StringArray& row : rows)
        if (row.length() > 1)
            removeColumn(row, kActiveColumn);
    if (manager->hasTable(name_))
        manager->removeTable(name_);
    return manager->addSectionTable(fileName, picture, columnNames, rows);
}
