#pragma once

// Reading and writing cell references in the two reference styles.

#include "grid/formula/Bytecode.h"

#include <optional>
#include <string>
#include <string_view>

namespace grid
{
/// One corner of a reference as written: a coordinate pair with absolute flags. Relative
/// coordinates are offsets from the formula's cell.
struct RefCorner
{
    std::int32_t col = 0;
    std::int32_t row = 0;
    bool colAbsolute = false;
    bool rowAbsolute = false;
};

/// The column letters of a column number ("A" for 1, "AA" for 27, "XFD" for 16384).
std::string columnLetters(int col);

/// Reads an A1 reference ("B3", "$A$1", "xfd1048576") that makes up the whole of `word`,
/// for the cell (col, row). Null when the word is no reference inside the address space.
std::optional<RefCorner> parseA1(std::string_view word, int col, int row);

/// Reads an R1C1 reference ("R2C3", "R[-1]C", "RC[1]", "rc") at the start of `text`;
/// `length` receives how many characters it took. Null when the text does not start with one.
std::optional<RefCorner> parseR1C1(std::string_view text, size_t& length);

/// Appends one corner in the given style for the cell (col, row); false when the corner
/// falls outside the address space there (the caller writes #REF! instead).
bool appendCorner(std::string& out, const RefCorner& corner, int col, int row, ReferenceStyle style);

/// True when the coordinates lie inside the address space.
inline bool insideAddressSpace(int col, int row)
{
    return col >= 1 && col <= kMaxFormulaCol && row >= 1 && row <= kMaxFormulaRow;
}
} // namespace grid
