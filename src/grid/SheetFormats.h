#pragma once

// Sheet files in formats the engine does not read itself (spreadsheet programs' workbooks).
// An adapter library registers a reader and a writer per file extension; Sheet::loadFile and
// Sheet::saveFile use them for names with that extension, so every part of the program that
// takes a sheet takes these formats as well without the engine depending on the adapter.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace grid
{
class Sheet;

/// Reads the file at `path` into `sheet` (a fresh sheet with the caller's custom functions).
/// `path` may end in "#Name" to choose a part of the file (a worksheet of a workbook); the
/// reader splits it off. On failure `error` says why (without the file name, which the caller
/// adds). `remarks` takes what the file held that the sheet cannot represent, one text per
/// kind ("3 conditional formats ignored").
using SheetFileReader = std::function<bool(const std::string& path, Sheet& sheet, std::string& error,
                                           std::vector<std::string>& remarks)>;
/// Writes the sheet to `path`; on failure `error` says why.
using SheetFileWriter = std::function<bool(const std::string& path, const Sheet& sheet, std::string& error)>;

/// Registers the reader and writer of an extension (with its dot, case ignored); either may
/// be empty. A second registration of an extension replaces the first.
void registerSheetFormat(std::string extension, SheetFileReader reader, SheetFileWriter writer);
/// Removes every registration (tests use it).
void clearSheetFormats();

/// The file part of a sheet path: `path` without a trailing "#Name" that follows a registered
/// extension ("book.xlsx#Loads" gives "book.xlsx"); any other path as it is.
std::string sheetFilePath(std::string_view path);

/// The reader or writer registered for the extension of `path` (after removing a "#Name"),
/// or null.
const SheetFileReader* findSheetReader(std::string_view path);
const SheetFileWriter* findSheetWriter(std::string_view path);

/// The extensions with a reader, in registration order (".xlsx", ".ods").
std::vector<std::string> sheetReaderExtensions();
} // namespace grid
