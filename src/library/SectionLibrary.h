#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

class Kdr_ProfValuesTable;

// What the section library dialogs and the command line do to the library's profile tables:
// name checks, creating, renaming and deleting tables, and making a new size from a pattern
// row. The dialogs show the messages these return; the command line prints them.

/// The name a table is known by: without a final ".pr" (letter case ignored).
Kdr_String sectionTableBaseName(const Kdr_String& name);

/// Why `name` cannot name a new table beside `existing` (letter case ignored, as the file
/// system of the library may ignore it); empty when it can. A table name becomes a file name
/// of the "prof" folder, so it must not be empty, "." or "..", hold a folder separator or
/// another character file names may not hold, or end in a blank or a point.
Kdr_String sectionTableNameProblem(const Kdr_String& name, const Kdr_StringArray& existing);

/// Renames table `oldName` to `newName`, saving `table` (its contents) under the new name.
/// The new file is written first; the old one is deleted only after that succeeded, so a
/// failed write loses nothing. The name checks run first against `existing`. False with the
/// reason in `error`; `table` then keeps its name.
bool renameSectionTable(Kdr_ProfValuesTable& table, const Kdr_String& oldName, const Kdr_String& newName,
                        const Kdr_StringArray& existing, Kdr_String& error);

/// Writes `table` as a new table `name` after the name checks against `existing`.
bool createSectionTable(Kdr_ProfValuesTable& table, const Kdr_String& name, const Kdr_StringArray& existing,
                        Kdr_String& error);

/// Deletes the file of table `name`; false when there was none or it could not be deleted.
bool deleteSectionTableFile(const Kdr_String& name);

/// The first value column of a table (after the system name, the flag and the languages).
int firstValueColumn(const Kdr_ProfValuesTable& table);

/// How the system names of a table are composed from its values: the row the pattern was
/// found in and, per "x"-separated part of its name, the value column that part came from.
struct Kdr_SizePattern
{
    int row = -1;
    Kdr_Array<int> columns;
};

/// From row `start` down (at most 9999 rows), the first row whose system name splits at "x"
/// into parts that each equal a value of its own value column (numerically for numbers),
/// each part taking the first such column no earlier part took. False when no row matches;
/// `pattern` then names `start` with no columns.
bool findSizePattern(const Kdr_ProfValuesTable& table, int start, Kdr_SizePattern& pattern);

/// Per language column of `row`, the part of its display name before the first number (empty
/// when the name holds no number).
Kdr_StringArray sizeNamePrefixes(const Kdr_ProfValuesTable& table, int row);

/// The pattern's columns of `row` joined with "x".
Kdr_String composeSizeName(const Kdr_SizePattern& pattern, const Kdr_StringArray& row);

/// Where a new size `sysName` goes among the table's rows, keeping the order of the names:
/// a name whose first two "x" parts are equal (an equal-legged angle 50x50x5) goes directly
/// after the name of that form it sorts after (before the first when it sorts first); any
/// other name goes where it sorts among all system names.
int sizeInsertionIndex(const Kdr_ProfValuesTable& table, const Kdr_String& sysName);

/// A new size made from template row `templateRow`: active, named `nameText` (its system
/// name, and each language's display name: that language's prefix and the name when
/// `automatic`, else the name alone), with `values` in its value columns (one per value
/// column from the first; missing ones keep the template's).
Kdr_StringArray makeSizeRow(const Kdr_ProfValuesTable& table, int templateRow, const Kdr_String& nameText,
                            bool automatic, const Kdr_StringArray& values);

/// Why `row` cannot be added to `table`: no system name, a system name the table holds
/// already (letter case ignored), or for a rectangular tube (shape 10) a fourth property that
/// is neither 0 nor greater than the third. Empty when it can.
Kdr_String newSizeProblem(const Kdr_ProfValuesTable& table, const Kdr_StringArray& row);
/// The message of the rectangular-tube check.
Kdr_String tubeRadiusMessage();
