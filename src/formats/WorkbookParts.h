#pragma once

// Helpers the two workbook readers share: numbers, colours and lengths as workbooks write them.

#include "grid/CellFormat.h"

#include <optional>
#include <string_view>

namespace formats
{
/// A number in XML ("1.5", "-2E-3"); nothing else may follow.
std::optional<double> parseXmlNumber(std::string_view text);
/// A whole number in XML, or nullopt (also when it does not fit an int).
std::optional<int> parseXmlInt(std::string_view text);

/// A colour written as hex digits: "RRGGBB", "AARRGGBB" or "#RRGGBB", in the sheet's form
/// (0x00BBGGRR); nullopt when it is none of these.
std::optional<grid::Color> parseHexColor(std::string_view text);

/// A length with its unit ("2.258cm", "0.178in", "12pt", "5mm", "96px") in pixels at 96 per
/// inch; nullopt for an unknown unit.
std::optional<double> lengthPixels(std::string_view text);

/// Reads a cell name ("B7", "$B$7") into column and row (from 1).
bool parseCellName(std::string_view text, int& col, int& row);
/// Reads a range ("A1:C3") or a single cell (a range of one cell).
bool parseRangeName(std::string_view text, int& col1, int& row1, int& col2, int& row2);
} // namespace formats
