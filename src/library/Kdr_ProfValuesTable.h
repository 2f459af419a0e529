#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

class Kdr_Spread;
class Kdr_SectionTableManager;

/// One section (profile) table of the section library: one section type with a row per size.
///
/// Column layout of every row: 0 the system name ("SysName", the size's key in the table),
/// 1 the active flag ("I/O", "1" or "0"), 2 to L+1 the display name in each of the L host
/// languages, then the property values as decimal text. L is 4, or 5 when column 6 is
/// "Korean". The table is stored in the library's "prof" folder as "<name>.pr": a line with
/// the picture (a shape number 1 to 24 or a ".dwg" file name), the column names, the rows.
///
/// A value class: copying copies everything. Indices are 0-based; refused calls change
/// nothing.
class Kdr_ProfValuesTable
{
public:
    Kdr_ProfValuesTable() = default;
    Kdr_ProfValuesTable(const Kdr_ProfValuesTable&) = default;
    Kdr_ProfValuesTable& operator=(const Kdr_ProfValuesTable&) = default;
    virtual ~Kdr_ProfValuesTable() = default;

    // --- File ----------------------------------------------------------------------------

    /// Reads "<library>/prof/<name>.pr" (".pr" is added unless `name` ends with it). On
    /// success the table holds the file's name, picture, column names and rows. A file that
    /// is missing or malformed gives false, with the reason and line on the command line, and
    /// leaves an empty table (no name, picture, columns or rows), so that nothing of an
    /// earlier table passes for the one that failed.
    bool readFromFile(const Kdr_String& name);
    /// Writes the table to "<library>/prof/<name>.pr" atomically. A table that would not read
    /// back (no column names, a row whose length differs from theirs) or a name that would
    /// leave the "prof" folder is refused and nothing is written.
    bool writeToFile(const Kdr_String& name);

    // --- Rows and columns ----------------------------------------------------------------

    bool getRow(Kdr_StringArray& row, const int& index) const;
    bool deleteRow(const int& index);
    /// Cell `col` of every row (an empty text where a row is too short). False, with
    /// `column` untouched, when there are no rows or `col` is outside the first row.
    bool getColumn(Kdr_StringArray& column, const int& col) const;
    bool getColumn(Kdr_StringArray& column, const Kdr_String& header) const;
    /// Index of the first column named `header` (letter case ignored), or -1.
    int getColumnIdx(const Kdr_String& header) const;
    /// Removes every row whose active flag is "0".
    void removeInactiveEntries();

    // --- Names ---------------------------------------------------------------------------

    /// The full system names ("IPE-300": table name, "-", system name) of all rows.
    void getSysNames(Kdr_StringArray& names) const;
    /// The full system names of the rows whose active flag is not "0".
    void getFilteredSysNames(Kdr_StringArray& names) const;
    void getSysNames(Kdr_StringArray& names, bool filtered) const;
    /// The row whose system name is `sysName` (letter case ignored).
    bool findSysName(const Kdr_String& sysName, int& index) const;
    /// A system name made from `base` that no row holds.
    Kdr_String findUnusedSysName(const Kdr_String& base) const;
    /// The position of row `index` among the active rows: `index` less the rows before it
    /// whose flag is not "1". -1 when `index` is out of range.
    int getfilteredIdx(const int& index) const;
    int getNrLanguages() const;

    // --- Editing -------------------------------------------------------------------------

    /// Inserts a copy of row `index` after it, as a new size: a system name that no row holds
    /// (counted up from the original's) and a display name in the current language made of
    /// the original's type word and that system name. `index` may be the last row; -1 puts
    /// an empty row (with a fresh name) first, which is how an empty table gets its first row.
    bool insertRow(const int& index);
    /// insertRow(index), then the new row (at index + 1) gets `sysName` and, in every
    /// language, `userName`. When a step fails the inserted row is taken out again and the
    /// result is eInvalidInput.
    Acad::ErrorStatus insertRow(const int& index, const Kdr_String& sysName, const Kdr_String& userName);
    Acad::ErrorStatus setSysName(const int& index, const Kdr_String& sysName);
    /// Sets the display name of row `index` in every language.
    Acad::ErrorStatus setUserNames(const int& index, const Kdr_String& userName);
    /// Sets the property values of row `index`: exactly one per property column, each written
    /// as the shortest text that reads back as the same number. Refused for a wrong count or
    /// a value that is not finite.
    Acad::ErrorStatus setValues(const int& index, const AcArray<double>& values);

    // --- Grid and host -------------------------------------------------------------------

    /// Shows the table in a grid: the column names as column headers, the table name as every
    /// row header, the active flag as check boxes. False (and an empty grid) for a table
    /// without rows.
    bool setToSS(Kdr_Spread& sheet) const;
    /// Takes the column names, the table name and the rows back from the grid; the picture
    /// stays. False, and no change, for a grid without rows or columns.
    bool getFromSS(Kdr_Spread& sheet);
    /// Hands the table (without its active-flag column) to the host's section table manager,
    /// in place of any table of the same name there.
    Acad::ErrorStatus setToGlobals(Kdr_SectionTableManager* manager) const;

    // --- Members -------------------------------------------------------------------------

    const Kdr_String& name() const { return name_; }
    void setName(const Kdr_String& name) { name_ = name; }
    const Kdr_String& picture() const { return picture_; }
    void setPicture(const Kdr_String& picture) { picture_ = picture; }
    const Kdr_StringArray& columnNames() const { return columnNames_; }
    void setColumnNames(const Kdr_StringArray& names) { columnNames_ = names; }
    const Kdr_Array<Kdr_StringArray>& rows() const { return rows_; }
    void setRows(const Kdr_Array<Kdr_StringArray>& rows) { rows_ = rows; }
    int rowCount() const { return rows_.length(); }

private:
    Kdr_String name_;
    Kdr_String picture_;
    Kdr_StringArray columnNames_;
    Kdr_Array<Kdr_StringArray> rows_;
};
