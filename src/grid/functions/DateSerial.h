#pragma once

#include <optional>
#include <string_view>

namespace grid::fn
{
/// A calendar date as the 1900 date system shows it; day 0 of January 1900 and the
/// 29th of February 1900 exist there.
struct CivilDate
{
    int year = 1900;
    int month = 1;
    int day = 0;
};

/// The last serial of the date system: 31 December 9999.
inline constexpr double kMaxDateSerial = 2958465;

/// The serial of a date in the 1900 date system. Serial 1 is 1 January 1900 and, as
/// spreadsheets have always counted, 1900 is taken as a leap year: serial 60 is the
/// 29th of February 1900 and every later serial is one more than the true day count.
/// Month and day may be out of range: a month of 13 is January of the next year and a day
/// of 0 the last day of the month before, so that DATE's overflow rules hold.
long serialFromDate(int year, int month, int day);

/// The date of a whole serial (0 and above).
CivilDate dateFromSerial(long serial);

/// Reads a date and/or time typed as text: "2024-03-15", "2024/3/15", "14:30",
/// "14:30:15.5", "2:30 PM", "2024-03-15 14:30". Returns its serial date-time.
std::optional<double> parseDateTimeText(std::string_view text);
} // namespace grid::fn
