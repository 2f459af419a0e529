#pragma once

#include <string>

namespace cli
{
class Console;

/// `sheet values FILE`: every non-empty cell after calculation, one line each: the cell's A1
/// name, TAB, its value text; rows top to bottom, columns left to right.
int runSheetValues(const std::string& file, Console& console);
/// `sheet show FILE`: the first cell, the column captions and every row as displayed texts,
/// one line each, fields separated by TAB.
int runSheetShow(const std::string& file, Console& console);
/// `sheet convert IN OUT`: between the sheet format and CSV, chosen by the file names.
int runSheetConvert(const std::string& in, const std::string& out, Console& console);
} // namespace cli
