#pragma once

// Comma-separated values (RFC 4180) in and out of a sheet.

#include "grid/FileText.h"

#include <string>
#include <string_view>
#include <vector>

namespace grid
{
class Sheet;

/// Reads CSV into `sheet` (which should be fresh): one row per record, one column per field,
/// the sheet sized to the longest record. Fields may be quoted ("" is a quote inside quotes;
/// quoted fields may hold commas and line breaks); records end in CRLF or LF. A field
/// beginning with '=' is a formula (kept as text when it does not parse); any other field
/// is set as data, so a number becomes a number and anything else text. Linear in the size
/// of the text. On failure `error` names the line.
bool readCsvText(std::string_view text, Sheet& sheet, FileError& error);

/// Reads CSV into its records as they stand, every field's text untouched (no numbers, no
/// formulas); every record is padded with empty fields to the longest one.
bool readCsvRecords(std::string_view text, std::vector<std::vector<std::string>>& records, FileError& error);

/// The sheet's data texts as CSV: every row and column of the sheet, fields quoted when they
/// hold a comma, a quote or a line break, records ending in CRLF.
std::string writeCsvText(const Sheet& sheet);
} // namespace grid
