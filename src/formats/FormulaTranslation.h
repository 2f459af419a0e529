#pragma once

// Formulas of workbooks in the sheet's formula language. Both languages are close to ours;
// what differs is how a worksheet is named in a reference, OpenFormula's bracketed
// references and ';' separators, and the prefixes that mark newer functions. A formula that
// reaches another worksheet, another file or a table has nothing to refer to in a single
// sheet and does not translate.

#include <string>
#include <string_view>

namespace formats
{
/// An .xlsx formula (Excel syntax, no leading '='). References qualified with the worksheet's
/// own name lose the qualifier; "_xlfn." and similar prefixes are dropped.
bool translateExcelFormula(std::string_view text, std::string_view sheetName, std::string& out,
                           std::string& why);

/// An .ods formula ("of:=[.A1]*2;…"): the namespace prefix and the brackets of references go,
/// ';' between arguments becomes ',' (and in inline arrays ';' and '|' become ',' and ';').
/// The reference intersection '!' becomes a space and the union '~' a comma inside brackets
/// ("[.A1]~[.B1]" → "(A1,B1)"), which is how the sheet writes them.
bool translateOpenFormula(std::string_view text, std::string_view sheetName, std::string& out,
                          std::string& why);
} // namespace formats
