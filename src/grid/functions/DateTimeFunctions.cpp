// Date and time functions over serial date-times of the 1900 date system.

#include "grid/functions/ArgList.h"
#include "grid/functions/DateSerial.h"
#include "grid/functions/Families.h"

#include <cmath>

namespace grid::fn
{
namespace
{
using Args = std::span<const Arg>;

/// A serial argument: a number or a date text, within the date system.
Result<double> serialArg(const ArgList& args, size_t index)
{
    Result<double> serial = args.number(index);
    if (!serial.ok())
        return serial;
    if (*serial < 0 || *serial >= kMaxDateSerial + 1)
        return ErrorCode::Num;
    return *serial;
}

Value dateFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(yearArg, args.whole(0));
    GRID_TRY(month, args.whole(1));
    GRID_TRY(day, args.whole(2));
    double year = yearArg;
    if (year >= 0 && year < 1900)
        year += 1900;
    if (year < 0 || year > 9999 || std::fabs(month) > 1e6 || std::fabs(day) > 1e8)
        return Value::error(ErrorCode::Num);
    const long serial =
        serialFromDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
    if (serial < 0 || serial > kMaxDateSerial)
        return Value::error(ErrorCode::Num);
    return Value::number(static_cast<double>(serial));
}

enum class DatePart
{
    Year,
    Month,
    Day,
};

template <DatePart Part> Value datePartFn(EvalContext& context, Args a)
{
    GRID_TRY(serial, serialArg(ArgList(context, a), 0));
    const CivilDate date = dateFromSerial(static_cast<long>(std::floor(serial)));
    switch (Part)
    {
    case DatePart::Year:
        return Value::number(date.year);
    case DatePart::Month:
        return Value::number(date.month);
    case DatePart::Day:
        return Value::number(date.day);
    }
    return Value::error(ErrorCode::Value);
}

// HOUR, MINUTE and SECOND read the time of day rounded to the nearest second, as a clock
// showing seconds would.
template <int Part> Value timePartFn(EvalContext& context, Args a)
{
    GRID_TRY(serial, serialArg(ArgList(context, a), 0));
    const double fraction = serial - std::floor(serial);
    const long seconds = static_cast<long>(std::llround(fraction * 86400)) % 86400;
    switch (Part)
    {
    case 0:
        return Value::number(static_cast<double>(seconds / 3600));
    case 1:
        return Value::number(static_cast<double>(seconds / 60 % 60));
    default:
        return Value::number(static_cast<double>(seconds % 60));
    }
}

Value timeFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(hour, args.whole(0));
    GRID_TRY(minute, args.whole(1));
    GRID_TRY(second, args.whole(2));
    if (hour > 32767 || minute > 32767 || second > 32767)
        return Value::error(ErrorCode::Num);
    const double total = hour * 3600 + minute * 60 + second;
    if (total < 0)
        return Value::error(ErrorCode::Num);
    // A time past midnight wraps round: TIME(25, 0, 0) is one in the morning.
    return Value::number(std::fmod(total, 86400) / 86400);
}

Value weekdayFn(EvalContext& context, Args a)
{
    ArgList args(context, a);
    GRID_TRY(serial, serialArg(args, 0));
    GRID_TRY(type, args.whole(1, 1));
    // Serial 1 is taken as a Sunday, which keeps every serial from March 1900 on right.
    const long day = static_cast<long>(std::floor(serial));
    const long fromSunday = (day + 6) % 7; // 0 = Sunday
    long firstDay = 0;                     // the weekday numbered 1 (0 = Sunday)
    long base = 1;
    const long t = type >= 1 && type <= 17 ? static_cast<long>(type) : 0;
    if (t == 1 || t == 17)
        firstDay = 0;
    else if (t == 2 || t == 11)
        firstDay = 1;
    else if (t == 3)
    {
        firstDay = 1;
        base = 0;
    }
    else if (t >= 12 && t <= 16)
        firstDay = t - 10;
    else
        return Value::error(ErrorCode::Num);
    return Value::number(static_cast<double>((fromSunday - firstDay + 7) % 7 + base));
}

Value nowFn(EvalContext& context, Args)
{
    return Value::number(context.now());
}

Value todayFn(EvalContext& context, Args)
{
    return Value::number(std::floor(context.now()));
}

const FunctionInfo kFunctions[] = {
    {"DATE", 3, 3, dateFn},
    {"DAY", 1, 1, datePartFn<DatePart::Day>},
    {"HOUR", 1, 1, timePartFn<0>},
    {"MINUTE", 1, 1, timePartFn<1>},
    {"MONTH", 1, 1, datePartFn<DatePart::Month>},
    {"NOW", 0, 0, nowFn},
    {"SECOND", 1, 1, timePartFn<2>},
    {"TIME", 3, 3, timeFn},
    {"TODAY", 0, 0, todayFn},
    {"WEEKDAY", 1, 2, weekdayFn},
    {"YEAR", 1, 1, datePartFn<DatePart::Year>},
};
} // namespace

std::span<const FunctionInfo> dateTimeFunctions()
{
    return kFunctions;
}
} // namespace grid::fn
