#pragma once

#include <string>
#include <string_view>

namespace grid
{
/// Numbers as a spreadsheet shows them in number cells. Rounding works on the decimal digits
/// of the number (its shortest text that reads back exactly, limited to 15 significant
/// digits as spreadsheets keep them), half away from zero, so 2.675 with 2 decimals is 2.68
/// although the nearest double lies just below 2.675.

/// The number rounded to `decimals` places (0 … 15), as the double nearest that decimal.
double roundToDecimals(double value, int decimals);

/// The number with exactly `decimals` places, '.' as decimal point and, with `thousands`, a
/// ',' between groups of three digits ("-1,234.50"). A result of zero has no minus sign.
/// Infinite or NaN values read "#NUM!".
std::string fixedText(double value, int decimals, bool thousands);

/// The shortest text that reads back as the same double ("0.1", "1e+300").
std::string shortestText(double value);

/// Reads a text written by shortestText or formatGeneral; false when it is not a plain number.
bool readDouble(std::string_view text, double& value);
} // namespace grid
