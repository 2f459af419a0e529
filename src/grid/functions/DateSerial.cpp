#include "grid/functions/DateSerial.h"

#include <cmath>
#include <string>

namespace grid::fn
{
namespace
{
// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
long daysFromCivil(long year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate civilFromDays(long days)
{
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<int>(year), month, day};
}

// Serials count from 1899-12-31 before March 1900 and from 1899-12-30 after it, which
// leaves room for the fictitious 29th of February 1900 at serial 60.
const long kEpochEarly = daysFromCivil(1899, 12, 31);
const long kEpochLate = daysFromCivil(1899, 12, 30);
const long kMarchFirst1900 = daysFromCivil(1900, 3, 1);

long serialOfFirstOfMonth(long year, int month)
{
    const long days = daysFromCivil(year, month, 1);
    return days < kMarchFirst1900 ? days - kEpochEarly : days - kEpochLate;
}

class TextScanner
{
public:
    explicit TextScanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void skipBlanks()
    {
        while (!atEnd() && text_[pos_] == ' ')
            ++pos_;
    }
    bool accept(char c)
    {
        if (peek() != c)
            return false;
        ++pos_;
        return true;
    }
    /// Up to `maxDigits` decimal digits as a number; -1 when there is none.
    long digits(int maxDigits, int* count = nullptr)
    {
        long value = 0;
        int n = 0;
        while (!atEnd() && n < maxDigits && text_[pos_] >= '0' && text_[pos_] <= '9')
        {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++n;
        }
        if (count)
            *count = n;
        return n == 0 ? -1 : value;
    }
    /// A fraction after a decimal point, as a value in [0, 1).
    double fraction()
    {
        double value = 0, scale = 0.1;
        while (!atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9')
        {
            value += (text_[pos_] - '0') * scale;
            scale /= 10;
            ++pos_;
        }
        return value;
    }
    bool acceptWord(std::string_view word)
    {
        if (text_.size() - pos_ < word.size())
            return false;
        for (size_t i = 0; i < word.size(); ++i)
        {
            char c = text_[pos_ + i];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            if (c != word[i])
                return false;
        }
        pos_ += word.size();
        return true;
    }
    size_t position() const { return pos_; }
    void reset(size_t pos) { pos_ = pos; }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

int daysInMonth(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0 || year == 1900)))
        return 29;
    return kDays[month - 1];
}

// "yyyy-mm-dd" or "yyyy/mm/dd"; the separator must be the same twice.
std::optional<double> scanDate(TextScanner& in)
{
    const size_t start = in.position();
    int yearDigits = 0;
    const long year = in.digits(4, &yearDigits);
    const char separator = in.peek();
    if (yearDigits != 4 || (separator != '-' && separator != '/') || !in.accept(separator))
    {
        in.reset(start);
        return std::nullopt;
    }
    const long month = in.digits(2);
    if (month < 1 || month > 12 || !in.accept(separator))
    {
        in.reset(start);
        return std::nullopt;
    }
    const long day = in.digits(2);
    if (day < 1 || day > daysInMonth(static_cast<int>(year), static_cast<int>(month)) || year < 1900)
    {
        in.reset(start);
        return std::nullopt;
    }
    return static_cast<double>(
        serialFromDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)));
}

// A year of two or four digits; two digits are 1930 to 2029, as spreadsheets read them.
long scanYear(TextScanner& in)
{
    int count = 0;
    const long year = in.digits(4, &count);
    if (count == 2)
        return year < 30 ? 2000 + year : 1900 + year;
    return count == 4 ? year : -1;
}

// The month named at the scanner in English, full or by its first three letters.
int scanMonthName(TextScanner& in)
{
    static const char* const kMonths[] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                                          "MAY",       "JUNE",     "JULY",     "AUGUST",
                                          "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
    for (int m = 0; m < 12; ++m)
        if (in.acceptWord(kMonths[m]))
            return m + 1;
    for (int m = 0; m < 12; ++m)
        if (in.acceptWord(std::string_view(kMonths[m], 3)))
            return m + 1;
    return 0;
}

std::optional<double> dateSerialIfValid(long year, long month, long day)
{
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(static_cast<int>(year), static_cast<int>(month)))
        return std::nullopt;
    return static_cast<double>(
        serialFromDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)));
}

// The other date forms typed in the usual (US) way: "3/15/2024", "3-15-24", "15-Mar-2024",
// "15 March 2024", "Mar 15, 2024", "March 15 2024", "Mar-2024" (the first of the month).
std::optional<double> scanWrittenDate(TextScanner& in)
{
    const size_t start = in.position();
    auto failed = [&]() -> std::optional<double>
    {
        in.reset(start);
        return std::nullopt;
    };
    const long first = in.digits(2);
    if (first >= 0)
    {
        const char separator = in.peek();
        if (separator == '/' || separator == '-')
        {
            in.accept(separator);
            const long day = in.digits(2);
            if (day >= 0)
            {
                // month / day / year
                if (!in.accept(separator))
                    return failed();
                const long year = scanYear(in);
                auto serial = dateSerialIfValid(year, first, day);
                return serial ? serial : failed();
            }
            // day - month name - year
            const int month = scanMonthName(in);
            if (month == 0 || !in.accept(separator))
                return failed();
            auto serial = dateSerialIfValid(scanYear(in), month, first);
            return serial ? serial : failed();
        }
        if (separator == ' ')
        {
            in.skipBlanks();
            const int month = scanMonthName(in);
            if (month == 0 || in.peek() != ' ')
                return failed();
            in.skipBlanks();
            auto serial = dateSerialIfValid(scanYear(in), month, first);
            return serial ? serial : failed();
        }
        return failed();
    }
    const int month = scanMonthName(in);
    if (month == 0)
        return failed();
    if (in.accept('-') || in.peek() == ' ')
    {
        in.skipBlanks();
        const size_t dayAt = in.position();
        int count = 0;
        const long number = in.digits(4, &count);
        if (count == 4)
        {
            auto serial = dateSerialIfValid(number, month, 1);
            return serial ? serial : failed();
        }
        if (count == 0 || count > 2)
            return failed();
        if (in.accept(','))
            in.skipBlanks();
        else if (in.peek() == ' ')
            in.skipBlanks();
        else
        {
            // "Mar-24" reads as March 2024, as a month and a two-digit year.
            in.reset(dayAt);
            auto serial = dateSerialIfValid(scanYear(in), month, 1);
            return serial ? serial : failed();
        }
        auto serial = dateSerialIfValid(scanYear(in), month, number);
        return serial ? serial : failed();
    }
    return failed();
}

// "h:mm", "h:mm:ss", "h:mm:ss.fff", each with an optional " AM" / " PM". Without the marker a
// time may run past a day ("25:00" is 1:00 the day after, as a duration typed into a cell
// reads), up to 9999 hours.
std::optional<double> scanTime(TextScanner& in)
{
    const size_t start = in.position();
    long hour = in.digits(4);
    if (hour < 0 || !in.accept(':'))
    {
        in.reset(start);
        return std::nullopt;
    }
    int minuteDigits = 0;
    const long minute = in.digits(2, &minuteDigits);
    if (minuteDigits != 2 || minute > 59)
    {
        in.reset(start);
        return std::nullopt;
    }
    double second = 0;
    if (in.accept(':'))
    {
        int secondDigits = 0;
        const long whole = in.digits(2, &secondDigits);
        if (secondDigits != 2 || whole > 59)
        {
            in.reset(start);
            return std::nullopt;
        }
        second = static_cast<double>(whole);
        if (in.accept('.'))
            second += in.fraction();
    }
    const size_t beforeMarker = in.position();
    in.skipBlanks();
    if (in.acceptWord("AM"))
    {
        if (hour < 1 || hour > 12)
        {
            in.reset(start);
            return std::nullopt;
        }
        hour %= 12;
    }
    else if (in.acceptWord("PM"))
    {
        if (hour < 1 || hour > 12)
        {
            in.reset(start);
            return std::nullopt;
        }
        hour = hour % 12 + 12;
    }
    else
    {
        in.reset(beforeMarker);
    }
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}
} // namespace

long serialFromDate(int year, int month, int day)
{
    long y = year;
    long m = month - 1;
    y += m >= 0 ? m / 12 : (m - 11) / 12;
    m -= (m >= 0 ? m / 12 : (m - 11) / 12) * 12;
    return serialOfFirstOfMonth(y, static_cast<int>(m) + 1) + day - 1;
}

CivilDate dateFromSerial(long serial)
{
    if (serial == 0)
        return {1900, 1, 0};
    if (serial == 60)
        return {1900, 2, 29};
    return civilFromDays(serial + (serial < 60 ? kEpochEarly : kEpochLate));
}

std::optional<double> parseDateTimeText(std::string_view text)
{
    TextScanner in(text);
    in.skipBlanks();
    double result = 0;
    bool any = false;
    auto date = scanDate(in);
    if (!date)
        date = scanWrittenDate(in);
    if (date)
    {
        result = *date;
        any = true;
        in.skipBlanks();
    }
    if (auto time = scanTime(in))
    {
        result += *time;
        any = true;
        in.skipBlanks();
    }
    if (!any || !in.atEnd())
        return std::nullopt;
    return result;
}
} // namespace grid::fn
