// Calendar arithmetic on serial dates: month steps, differences, working days, week
// numbers, fractions of years, and dates and times read from text.

#include "grid/functions/ArgList.h"
#include "grid/functions/DateSerial.h"
#include "grid/functions/Families.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

/// A date argument: a serial from 0 to 31 December 9999, its time of day dropped.
Result<long> dateArg(const ArgList& args, size_t index)
{
    Result<double> n = args.number(index);
    if (!n.ok())
        return n.error();
    if (*n < 0 || *n > kMaxDateSerial + 1)
        return ErrorCode::Num;
    return static_cast<long>(std::floor(*n));
}

int daysInMonthOf(int year, int month)
{
    return static_cast<int>(serialFromDate(year, month + 1, 1) - serialFromDate(year, month, 1));
}

/// 0 for Sunday … 6 for Saturday (serial 1, 1 January 1900, was a Sunday in this system).
int weekdayOf(long serial)
{
    return static_cast<int>(((serial - 1) % 7 + 7) % 7);
}

bool isLeap(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

Value datevalueFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    const auto serial = parseDateTimeText(text);
    if (!serial || *serial < 1)
        return Value::error(ErrorCode::Value);
    return Value::number(std::floor(*serial));
}

Value timevalueFn(EvalContext& context, Args a)
{
    GRID_TRY(text, ArgList(context, a).text(0));
    const auto serial = parseDateTimeText(text);
    if (!serial)
        return Value::error(ErrorCode::Value);
    return Value::number(*serial - std::floor(*serial));
}

// EDATE (EndOfMonth = false) and EOMONTH: the date `months` later (earlier when negative).
template <bool EndOfMonth> Value monthStepFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(start, dateArg(args, 0));
    GRID_TRY(months, args.whole(1));
    if (std::fabs(months) > 120000) // beyond the years 1900 to 9999 whatever the start
        return Value::error(ErrorCode::Num);
    const CivilDate date = dateFromSerial(start);
    const double total = date.year * 12.0 + (date.month - 1) + months;
    const int year = static_cast<int>(std::floor(total / 12));
    const int month = static_cast<int>(total - year * 12.0) + 1;
    if (year < 1900 || year > 9999)
        return Value::error(ErrorCode::Num);
    const int last = daysInMonthOf(year, month);
    const int day = EndOfMonth ? last : std::min(std::max(date.day, 1), last);
    return Value::number(static_cast<double>(serialFromDate(year, month, day)));
}

Value daysFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(end, dateArg(args, 0));
    GRID_TRY(start, dateArg(args, 1));
    return Value::number(static_cast<double>(end - start));
}

// 30/360 day counts: the US (NASD) method, or with `european` the European one.
double days360(long start, long end, bool european)
{
    const CivilDate s = dateFromSerial(start), e = dateFromSerial(end);
    int d1 = s.day, d2 = e.day;
    if (european)
    {
        d1 = std::min(d1, 30);
        d2 = std::min(d2, 30);
    }
    else
    {
        const bool startLastOfFebruary = s.month == 2 && d1 == daysInMonthOf(s.year, 2);
        if (d1 == 31 || startLastOfFebruary)
            d1 = 30;
        if (d2 == 31 && d1 >= 30)
            d2 = 30;
    }
    return (e.year - s.year) * 360.0 + (e.month - s.month) * 30.0 + (d2 - d1);
}

Value days360Fn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(start, dateArg(args, 0));
    GRID_TRY(end, dateArg(args, 1));
    GRID_TRY(european, args.logical(2, false));
    return Value::number(days360(start, end, european));
}

Value datedifFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(start, dateArg(args, 0));
    GRID_TRY(end, dateArg(args, 1));
    GRID_TRY(unitText, args.text(2));
    if (start > end)
        return Value::error(ErrorCode::Num);
    const std::string unit = upperAscii(unitText);
    const CivilDate s = dateFromSerial(start), e = dateFromSerial(end);
    int months = (e.year - s.year) * 12 + (e.month - s.month);
    if (e.day < s.day)
        --months;
    if (unit == "D")
        return Value::number(static_cast<double>(end - start));
    if (unit == "M")
        return Value::number(months);
    if (unit == "Y")
        return Value::number(months / 12);
    if (unit == "YM")
        return Value::number(months % 12);
    if (unit == "MD")
    {
        // Days past the last whole month.
        int day = e.day - s.day;
        if (day < 0)
        {
            const int prevMonth = e.month == 1 ? 12 : e.month - 1;
            const int prevYear = e.month == 1 ? e.year - 1 : e.year;
            day += daysInMonthOf(prevYear, prevMonth);
        }
        return Value::number(day);
    }
    if (unit == "YD")
    {
        // Days past the last whole year.
        int year = e.year;
        if (e.month < s.month || (e.month == s.month && e.day < s.day))
            --year;
        const int day = std::min(s.day, daysInMonthOf(year, s.month));
        return Value::number(static_cast<double>(end - serialFromDate(year, s.month, day)));
    }
    return Value::error(ErrorCode::Num);
}

/// The holidays argument as a set of whole serials.
Result<std::set<long>> holidaysOf(EvalContext& context, Args a, size_t index)
{
    std::set<long> days;
    if (index >= a.size())
        return days;
    if (auto error = forEachNumber(context, a.subspan(index, 1), RangeValues::NumbersOnly,
                                   [&](double x) { days.insert(static_cast<long>(std::floor(x))); }))
        return *error;
    return days;
}

bool isWorkday(long serial, const std::set<long>& holidays)
{
    const int w = weekdayOf(serial);
    return w != 0 && w != 6 && holidays.count(serial) == 0;
}

Value networkdaysFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(start, dateArg(args, 0));
    GRID_TRY(end, dateArg(args, 1));
    GRID_TRY(holidays, holidaysOf(context, a, 2));
    const long lo = std::min(start, end), hi = std::max(start, end);
    // Whole weeks at once, then the days left over.
    const long weeks = (hi - lo + 1) / 7;
    long count = weeks * 5;
    for (long d = lo + weeks * 7; d <= hi; ++d)
        count += (weekdayOf(d) != 0 && weekdayOf(d) != 6) ? 1 : 0;
    for (long h : holidays)
        if (h >= lo && h <= hi && weekdayOf(h) != 0 && weekdayOf(h) != 6)
            --count;
    return Value::number(static_cast<double>(start <= end ? count : -count));
}

Value workdayFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(start, dateArg(args, 0));
    GRID_TRY(days, args.whole(1));
    GRID_TRY(holidays, holidaysOf(context, a, 2));
    if (std::fabs(days) > kMaxDateSerial)
        return Value::error(ErrorCode::Num);
    long serial = start;
    const int step = days < 0 ? -1 : 1;
    for (long left = static_cast<long>(std::fabs(days)); left > 0;)
    {
        serial += step;
        if (serial < 1 || serial > kMaxDateSerial)
            return Value::error(ErrorCode::Num);
        if (isWorkday(serial, holidays))
            --left;
    }
    return Value::number(static_cast<double>(serial));
}

long isoWeek(long serial)
{
    // The ISO week of a date is the week of its Thursday.
    const int mondayBased = (weekdayOf(serial) + 6) % 7;
    const long thursday = serial - mondayBased + 3;
    const CivilDate t = dateFromSerial(std::max(thursday, 1L));
    const long firstOfYear = serialFromDate(t.year, 1, 1);
    return (thursday - firstOfYear) / 7 + 1;
}

Value isoweeknumFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(serial, dateArg(args, 0));
    return Value::number(static_cast<double>(isoWeek(serial)));
}

Value weeknumFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(serial, dateArg(args, 0));
    GRID_TRY(type, args.whole(1, 1));
    int firstDay = 0; // the weekday weeks start on, 0 for Sunday
    const int t = static_cast<int>(type);
    if (t == 21)
        return Value::number(static_cast<double>(isoWeek(serial)));
    if (t == 1 || t == 17)
        firstDay = 0;
    else if (t == 2 || t == 11)
        firstDay = 1;
    else if (t >= 12 && t <= 16)
        firstDay = t - 10;
    else
        return Value::error(ErrorCode::Num);
    const CivilDate d = dateFromSerial(serial);
    const long jan1 = serialFromDate(d.year, 1, 1);
    const int offset = (weekdayOf(jan1) - firstDay + 7) % 7;
    return Value::number(static_cast<double>((serial - jan1 + offset) / 7 + 1));
}

Value yearfracFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(first, dateArg(args, 0));
    GRID_TRY(second, dateArg(args, 1));
    GRID_TRY(basisArg, args.whole(2, 0));
    const int basis = static_cast<int>(basisArg);
    if (basis < 0 || basis > 4)
        return Value::error(ErrorCode::Num);
    const long start = std::min(first, second), end = std::max(first, second);
    const double days = static_cast<double>(end - start);
    switch (basis)
    {
    case 0:
        return Value::number(days360(start, end, false) / 360);
    case 2:
        return Value::number(days / 360);
    case 3:
        return Value::number(days / 365);
    case 4:
        return Value::number(days360(start, end, true) / 360);
    default:
        break;
    }
    // Actual/actual: the days over the average length of the years spanned.
    const CivilDate s = dateFromSerial(start), e = dateFromSerial(end);
    if (s.year == e.year ||
        (e.year == s.year + 1 && (e.month < s.month || (e.month == s.month && e.day <= s.day))))
    {
        bool leap = isLeap(s.year) && s.year == e.year;
        if (s.year != e.year)
            leap = (isLeap(s.year) && (s.month <= 2)) ||
                   (isLeap(e.year) && (e.month > 2 || (e.month == 2 && e.day == 29)));
        return Value::number(days / (leap ? 366 : 365));
    }
    const double years = e.year - s.year + 1;
    const double total = static_cast<double>(serialFromDate(e.year + 1, 1, 1) - serialFromDate(s.year, 1, 1));
    return Value::number(days / (total / years));
}

const FunctionInfo kFunctions[] = {
    {"DATEDIF", 3, 3, datedifFn},
    {"DATEVALUE", 1, 1, datevalueFn},
    {"DAYS", 2, 2, daysFn},
    {"DAYS360", 2, 3, days360Fn},
    {"EDATE", 2, 2, monthStepFn<false>},
    {"EOMONTH", 2, 2, monthStepFn<true>},
    {"ISOWEEKNUM", 1, 1, isoweeknumFn},
    {"NETWORKDAYS", 2, 3, networkdaysFn},
    {"TIMEVALUE", 1, 1, timevalueFn},
    {"WEEKNUM", 1, 2, weeknumFn},
    {"WORKDAY", 2, 3, workdayFn},
    {"YEARFRAC", 2, 3, yearfracFn},
};
} // namespace

std::span<const FunctionInfo> calendarFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
