#pragma once

// The data files the steel spreadsheet functions read: finding them in the library folder,
// and reading standard-size files and key/value table files.
//
// Parsed files are kept in a small cache keyed by path, size and modification time, so a
// sheet that looks a value up in many cells reads its table file once. A file that changed
// is read again; what a reader returns is always what reading the file afresh would give.

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

#include <memory>

/// The entries of a standard-size file, as two parallel lists in file order: "100 x 10"
/// gives first 100 and second 10, a line with one number gives that number and 0.
struct StandardSizes
{
    Kdr_Array<double> firsts;
    Kdr_Array<double> seconds;
};

/// The rows of a table file, each split at TAB into its columns.
using StandardsTable = Kdr_Array<Kdr_StringArray>;

/// Finds a data file of a standards sheet. Tried in order, the first that is an existing
/// file wins: `name` as given when it is absolute, else the folder of the sheet being
/// calculated + `name`; the library folder + "Connection Standards/Data/" + `name`; the
/// library folder + "Connection Standards/" + `name`; the library folder + `name`. A file
/// the sheet may not read (sheetMayRead) ends the search with a message and a failure of the
/// equation. On success `name` becomes the path found. '\' and '/' both separate folders.
bool locateStandardsFile(Kdr_String& name);

/// The extensions a sheet named without one is looked for with, in order: ".zxs", then those
/// of the sheet formats the program registered (".xlsx", then ".ods").
Kdr_StringArray sheetFileExtensions();

/// The sheet file for `base`: `base` itself when it exists (a trailing "#Sheet" that names a
/// worksheet of a workbook is allowed); else, when `base` has no extension, `base` with the
/// first extension of sheetFileExtensions() that names an existing file. Empty when none.
Kdr_String findSheetFile(const Kdr_String& base);

/// Reads a standard-size file: "/*" ... "*/" block comments and "//" line comments are
/// removed, lines left blank skipped; a line holding 'x' gives the numbers before and after
/// it, any other line one number and 0 (numbers are read as atof reads them). False (and
/// empty lists) when the file cannot be read or is no text file.
bool readSizesFile(const Kdr_String& path, StandardSizes& sizes);

/// Reads a table file: "//" line comments are removed, empty lines dropped, and each line
/// is split at TAB into columns. False (and no rows) when the file cannot be read or is no
/// text file.
bool readTableFile(const Kdr_String& path, StandardsTable& rows);

/// The same files shared with the cache instead of copied; null when the file cannot be
/// read. The steel functions use these.
std::shared_ptr<const StandardSizes> sharedSizesFile(const Kdr_String& path);
std::shared_ptr<const StandardsTable> sharedTableFile(const Kdr_String& path);

/// A data file longer than this in one line, or holding a NUL byte, is taken for a file
/// that is not text and is not read.
inline constexpr int kMaxStandardsLineLength = 1 << 20;

/// Whether parsed files are kept between calls (on by default).
void setStandardsFileCacheEnabled(bool on);
bool standardsFileCacheEnabled();
/// Forgets every kept file.
void clearStandardsFileCache();
/// Number of files currently kept (for tests).
int standardsFileCacheSize();

/// While one lives, the data files count as unchanged: a file found or read once is not
/// looked at again until the outermost snapshot ends. One calculation of a sheet holds one,
/// so a sheet that looks values up in many cells touches each file once per calculation.
class StandardsFileSnapshot
{
public:
    StandardsFileSnapshot();
    ~StandardsFileSnapshot();
    StandardsFileSnapshot(const StandardsFileSnapshot&) = delete;
    StandardsFileSnapshot& operator=(const StandardsFileSnapshot&) = delete;
};
