#pragma once

// Tables in comma-separated values, the form engineers edit in a spreadsheet program. Fields
// are taken byte for byte: nothing is trimmed, converted or re-encoded.

#include "host/Kdr_StringArray.h"

#include <string>
#include <string_view>
#include <vector>

namespace cli
{
/// One record of a CSV text and the line it ends on.
struct CsvRecord
{
    int line = 0;
    Kdr_StringArray fields;
};

/// Parses CSV (RFC 4180, with `separator` between fields): quoted fields may hold separators,
/// quotes ("" inside quotes) and line breaks; records end in LF, CR LF or CR; empty lines are
/// skipped, and so is a UTF-8 byte-order mark at the start. False with `error` ("line N: …")
/// for a quote where none may stand or a quoted field that is never closed.
bool parseCsv(std::string_view text, char separator, std::vector<CsvRecord>& records, std::string& error);

/// The rows as CSV: fields quoted only when they hold the separator, a quote, a line break
/// or a blank at either end; every record ends in CR LF.
std::string formatCsv(const Kdr_Array<Kdr_StringArray>& rows, char separator);
} // namespace cli
