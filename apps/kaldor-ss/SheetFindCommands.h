#pragma once

#include <string>

namespace cli
{
class Console;

/// `sheet find FILE TEXT [--from CELL]`: every cell whose displayed text contains TEXT (case
/// ignored), one line each: the A1 name, TAB, the displayed text; from CELL (default A1) to
/// the end of the sheet, then from A1 on, as the find dialog goes.
int runSheetFind(const std::string& file, const std::string& text, const std::string& from, Console& console);
/// `sheet replace FILE FIND REPLACEMENT [--out OUT]`: replaces as "Replace all" does and
/// prints the count message; writes the sheet to OUT only when given.
int runSheetReplace(const std::string& file, const std::string& find, const std::string& replacement,
                    const std::string& out, Console& console);
} // namespace cli
