#pragma once

#include <string>

namespace grid::fn
{
enum class RoundMode
{
    HalfAwayFromZero, ///< ROUND: 2.5 → 3, -2.5 → -3
    AwayFromZero,     ///< ROUNDUP
    TowardZero,       ///< ROUNDDOWN, TRUNC
};

/// Rounds to `digits` decimals (negative: to tens, hundreds…) the way a spreadsheet does:
/// on the value's decimal digits, not on its binary fraction. The value is first taken to
/// the 15 significant digits a spreadsheet keeps, so that ROUND(2.15, 1) is 2.2,
/// ROUND(1.005, 2) is 1.01 and ROUND(21.9/0.2, 0) is 110, although the doubles behind
/// those numbers lie just below the halfway points.
double roundDecimal(double value, int digits, RoundMode mode);

/// The value rounded half away from zero to `decimals` (0 and above) and written in fixed
/// notation with exactly that many decimals, without thousands separators: "1234.50".
/// A negative zero result is written without its sign.
std::string fixedDecimals(double value, int decimals);
} // namespace grid::fn
