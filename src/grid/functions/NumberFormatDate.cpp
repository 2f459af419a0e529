#include "grid/functions/DateSerial.h"
#include "grid/functions/DecimalRound.h"
#include "grid/functions/NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <string>

// Dates and times of the number formats: "yyyy-mm-dd", "h:mm AM/PM", "[h]:mm", "ss.00".
namespace grid::fn
{
namespace
{
using Token = NumberFormat::Token;
using Section = NumberFormat::Section;

std::string padded(long long value, int width)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
    return buffer;
}

const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

// Whether the token at `index` (a decimal point) follows a seconds code, ss or [ss].
bool followsSeconds(const std::vector<Token>& tokens, size_t index)
{
    if (index == 0)
        return false;
    const Token& t = tokens[index - 1];
    return (t.kind == Token::Date || t.kind == Token::Elapsed) && t.text[0] == 's';
}

// Whether the 'm' code at `index` means minutes: right after an hour code or right before
// a seconds code (literals in between do not count).
bool isMinute(const std::vector<Token>& tokens, size_t index)
{
    for (size_t k = index; k-- > 0;)
    {
        const Token& t = tokens[k];
        if (t.kind == Token::Date || t.kind == Token::Elapsed)
        {
            if (t.text[0] == 'h')
                return true;
            break;
        }
    }
    for (size_t k = index + 1; k < tokens.size(); ++k)
    {
        const Token& t = tokens[k];
        if (t.kind == Token::Date || t.kind == Token::Elapsed)
            return t.text[0] == 's';
    }
    return false;
}
} // namespace

Result<std::string> NumberFormat::formatDate(const Section& section, double value) const
{
    const std::vector<Token>& tokens = section.tokens;
    if (!(value >= 0) || value >= kMaxDateSerial + 1)
        return ErrorCode::Value;
    bool twelveHour = false;
    int secondDecimals = 0;
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        twelveHour |= tokens[i].kind == Token::AmPm;
        if (tokens[i].kind == Token::Point && i > 0 && followsSeconds(tokens, i))
        {
            int count = 0;
            while (i + 1 + static_cast<size_t>(count) < tokens.size() &&
                   tokens[i + 1 + static_cast<size_t>(count)].kind == Token::Digit && count < 3)
                ++count;
            secondDecimals = count > secondDecimals ? count : secondDecimals;
        }
    }
    // Round once, to the smallest unit shown, so 23:59:59.7 shown without decimals moves
    // to the next day instead of showing 60 seconds.
    long long unitsPerSecond = 1;
    for (int i = 0; i < secondDecimals; ++i)
        unitsPerSecond *= 10;
    const long long unitsPerDay = 86400 * unitsPerSecond;
    const long long total = std::llround(value * static_cast<double>(unitsPerDay));
    const long long days = total / unitsPerDay;
    const long long inDay = total % unitsPerDay;
    const long long secondsInDay = inDay / unitsPerSecond;
    const long long fraction = inDay % unitsPerSecond;
    const long long hour = secondsInDay / 3600, minute = secondsInDay / 60 % 60, second = secondsInDay % 60;
    const CivilDate date = dateFromSerial(static_cast<long>(days));

    std::string out;
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        const Token& t = tokens[i];
        const int width = static_cast<int>(t.text.size());
        switch (t.kind)
        {
        case Token::Date:
            switch (t.text[0])
            {
            case 'y':
                out += width <= 2 ? padded(date.year % 100, 2) : padded(date.year, 4);
                break;
            case 'm':
                if (width <= 2 && isMinute(tokens, i))
                    out += padded(minute, width >= 2 ? 2 : 1);
                else if (width <= 2)
                    out += padded(date.month, width);
                else if (width == 3)
                    out += std::string(kMonthNames[date.month - 1]).substr(0, 3);
                else if (width == 4)
                    out += kMonthNames[date.month - 1];
                else
                    out += kMonthNames[date.month - 1][0];
                break;
            case 'd':
                if (width <= 2)
                    out += padded(date.day, width);
                else
                {
                    const std::string name = kDayNames[(days + 6) % 7];
                    out += width == 3 ? name.substr(0, 3) : name;
                }
                break;
            case 'h':
            {
                long long h = hour;
                if (twelveHour)
                    h = h % 12 == 0 ? 12 : h % 12;
                out += padded(h, width >= 2 ? 2 : 1);
                break;
            }
            case 's':
                out += padded(second, width >= 2 ? 2 : 1);
                break;
            }
            break;
        case Token::Elapsed:
        {
            long long amount = days * 24 + hour;
            if (t.text[0] == 'm')
                amount = amount * 60 + minute;
            else if (t.text[0] == 's')
                amount = (amount * 60 + minute) * 60 + second;
            out += padded(amount, t.width);
            break;
        }
        case Token::AmPm:
        {
            const bool pm = hour >= 12;
            if (t.text.size() == 5)
            {
                const bool lowerCase = t.text[0] == 'a' || t.text[0] == 'p';
                out += pm ? (lowerCase ? "pm" : "PM") : (lowerCase ? "am" : "AM");
            }
            else
                out += pm ? t.text[2] : t.text[0];
            break;
        }
        case Token::Point:
            if (secondDecimals > 0 && followsSeconds(tokens, i))
            {
                out += '.';
                const std::string digits = padded(fraction, secondDecimals);
                size_t k = 0;
                while (i + 1 < tokens.size() && tokens[i + 1].kind == Token::Digit && k < digits.size())
                {
                    out += digits[k++];
                    ++i;
                }
            }
            else
                out += '.';
            break;
        case Token::General:
            out += formatGeneral(value);
            break;
        default:
            out += t.text;
            break;
        }
    }
    return out;
}
} // namespace grid::fn
