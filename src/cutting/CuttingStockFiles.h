#pragma once

// The files of a cutting-stock run: per group a folder "Cutting Stock/<group>/" in the library
// holding stock files (".shp") and purchase files (".buy"), one line per row, the cells of a
// row joined with the byte 0xBF. Used by the cutting-stock dialog and the command line.

#include "host/DlgCSP2Data.h"

#include <ctime>
#include <functional>

namespace cutting
{
/// Which of a group's tables a file holds.
enum class TableKind
{
    Stock,
    Purchase,
};

/// "shp" or "buy".
const char* extensionOf(TableKind kind);
/// The record's table of that kind.
CSP2Table& tableOf(DlgCSP2Data& data, TableKind kind);

/// The byte between the cells of a row in the files.
constexpr char kCellSeparator = '\xBF';

/// Why `name` cannot name a new group, or empty when it can: a group name is a folder name,
/// so it must not be empty, ".", "..", hold a path separator, a control byte or one of
/// <>:"|?*, nor name a group already in `existing` (letter case ignored).
Kdr_String groupNameProblem(const Kdr_String& name, const Kdr_StringArray& existing);

/// The library folder's "Cutting Stock/<group>/".
Kdr_String groupFolder(const Kdr_String& groupName);

/// "Stock" with the number after the highest one among the folder's files "Stock<n>.<ext>",
/// and the extension: the name the dialog gives a file itself (the full path).
Kdr_String nextStockFile(const Kdr_String& folder, TableKind kind);
/// The most recently written file of the kind in the folder; false when there is none.
bool latestFile(const Kdr_String& folder, TableKind kind, Kdr_String& path);
/// A path chosen by the user as it is saved or loaded: the letter case kept, the extension
/// added when the name does not already end in it (compared ignoring case).
Kdr_String withExtension(const Kdr_String& path, TableKind kind);

/// The rows of one group, in the table's order.
Kdr_Array<Kdr_StringArray> groupRows(const CSP2Table& table, int groupId);
/// Removes every row of the group.
void removeGroupRows(CSP2Table& table, int groupId);
/// Removes the group's rows and appends `rows` at the end of the table with the group's id.
void replaceGroupRows(CSP2Table& table, int groupId, const Kdr_Array<Kdr_StringArray>& rows);

/// Reads a table file into rows. False with the reason in `error` (the rows are then empty).
bool readTableFile(const Kdr_String& path, Kdr_Array<Kdr_StringArray>& rows, Kdr_String& error);
/// Why these rows of a group cannot be written into a file that reads back the same (a cell
/// holding the separator byte or a line break), naming the group and the row; empty when
/// they can.
Kdr_String rowsProblem(const Kdr_Array<Kdr_StringArray>& rows, const Kdr_String& groupName);
/// Writes rows into a table file atomically. False with the reason in `error`: the rows
/// cannot be written faithfully (see rowsProblem) or the write failed; nothing is written then.
bool writeTableFile(const Kdr_String& path, const Kdr_Array<Kdr_StringArray>& rows,
                    const Kdr_String& groupName, Kdr_String& error);

/// Loads one table of a group from a file: the group's rows of that table are replaced by the
/// file's. When the file cannot be read the rows stay as they were and false is returned
/// with the reason.
bool loadGroupTable(DlgCSP2Data& data, int groupIndex, TableKind kind, const Kdr_String& path,
                    Kdr_String& error);
/// Saves one table of a group into a file (see writeTableFile).
bool saveGroupTable(const DlgCSP2Data& data, int groupIndex, TableKind kind, const Kdr_String& path,
                    Kdr_String& error);

/// Loads the latest stock and purchase file of every group, in the groups' order, and returns
/// the report of what was loaded: a line of 116 '-', then per group a stock line, an empty
/// line, a purchase line and a line of 116 '-'. Lines are separated by '\n'. File times are
/// local times.
Kdr_String loadLatestFiles(DlgCSP2Data& data);
} // namespace cutting
