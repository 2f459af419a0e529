#include "grid/functions/NumberFormat.h"

#include "grid/functions/Coercion.h"
#include "grid/functions/DateSerial.h"
#include "grid/functions/DecimalRound.h"

#include <cmath>
#include <cstdio>

namespace grid::fn
{
namespace
{
using Token = NumberFormat::Token;
using Section = NumberFormat::Section;

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, size_t at, std::string_view word)
{
    return text.size() - at >= word.size() && equalNoCase(text.substr(at, word.size()), word);
}

void finish(Section& section)
{
    for (const Token& t : section.tokens)
    {
        section.isDate |= t.kind == Token::Date || t.kind == Token::Elapsed || t.kind == Token::AmPm;
        section.hasDigits |= t.kind == Token::Digit;
        section.hasText |= t.kind == Token::TextAt;
        section.hasGeneral |= t.kind == Token::General;
    }
}

std::vector<Section> parseSections(std::string_view code)
{
    std::vector<Section> sections(1);
    auto literal = [&](std::string text) {
        sections.back().tokens.push_back({Token::Literal, std::move(text)});
    };
    auto add = [&](Token::Kind kind, std::string text, int width = 0) {
        sections.back().tokens.push_back({kind, std::move(text), width});
    };
    size_t i = 0;
    const size_t n = code.size();
    while (i < n)
    {
        const char c = code[i];
        const char lc = lower(c);
        if (c == ';')
        {
            sections.emplace_back();
            ++i;
        }
        else if (c == '"')
        {
            const size_t end = code.find('"', i + 1);
            const size_t stop = end == std::string_view::npos ? n : end;
            literal(std::string(code.substr(i + 1, stop - i - 1)));
            i = stop == n ? n : stop + 1;
        }
        else if (c == '\\')
        {
            if (i + 1 < n)
                literal(std::string(1, code[i + 1]));
            i += 2;
        }
        else if (c == '_')
        {
            literal(" ");
            i += 2;
        }
        else if (c == '*')
            i += 2; // a fill has no width in a text
        else if (c == '[')
        {
            const size_t end = code.find(']', i);
            const size_t stop = end == std::string_view::npos ? n : end;
            const std::string_view inside = code.substr(i + 1, stop - i - 1);
            bool elapsed = !inside.empty();
            for (char k : inside)
                elapsed = elapsed && lower(k) == lower(inside[0]);
            if (elapsed && (lower(inside[0]) == 'h' || lower(inside[0]) == 'm' || lower(inside[0]) == 's'))
                add(Token::Elapsed, std::string(1, lower(inside[0])), static_cast<int>(inside.size()));
            i = stop == n ? n : stop + 1;
        }
        else if (c == '0' || c == '#' || c == '?')
        {
            add(Token::Digit, std::string(1, c));
            ++i;
        }
        else if (c == '.')
        {
            add(Token::Point, ".");
            ++i;
        }
        else if (c == ',')
        {
            add(Token::Comma, ",");
            ++i;
        }
        else if (c == '%')
        {
            add(Token::Percent, "%");
            ++i;
        }
        else if (lc == 'e' && i + 1 < n && (code[i + 1] == '+' || code[i + 1] == '-'))
        {
            add(Token::Exponent, std::string(code.substr(i, 2)));
            i += 2;
        }
        else if (startsWithNoCase(code, i, "AM/PM"))
        {
            add(Token::AmPm, std::string(code.substr(i, 5)));
            i += 5;
        }
        else if (startsWithNoCase(code, i, "A/P"))
        {
            add(Token::AmPm, std::string(code.substr(i, 3)));
            i += 3;
        }
        else if (startsWithNoCase(code, i, "General"))
        {
            add(Token::General, "General");
            i += 7;
        }
        else if (c == '@')
        {
            add(Token::TextAt, "@");
            ++i;
        }
        else if (lc == 'y' || lc == 'm' || lc == 'd' || lc == 'h' || lc == 's')
        {
            size_t run = 1;
            while (i + run < n && lower(code[i + run]) == lc)
                ++run;
            add(Token::Date, std::string(run, lc));
            i += run;
        }
        else
        {
            literal(std::string(1, c));
            ++i;
        }
    }
    for (Section& s : sections)
        finish(s);
    return sections;
}

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

NumberFormat::NumberFormat(std::string_view code) : sections_(parseSections(code))
{
}

const NumberFormat::Section& NumberFormat::sectionFor(double value, bool& negated) const
{
    negated = false;
    const size_t numeric = sections_.size() < 3 ? sections_.size() : 3;
    if (numeric >= 2 && value < 0)
    {
        negated = true;
        return sections_[1];
    }
    if (numeric >= 3 && value == 0)
        return sections_[2];
    return sections_[0];
}

Result<std::string> NumberFormat::format(double value) const
{
    bool negated = false;
    const Section& section = sectionFor(value, negated);
    if (section.isDate)
        return formatDate(section, value);
    if (negated)
        return formatNumber(section, std::fabs(value));
    return formatNumber(section, value);
}

std::string NumberFormat::formatText(const std::string& text) const
{
    const Section* section = nullptr;
    if (sections_.size() >= 4)
        section = &sections_[3];
    else if (sections_.size() == 1 && sections_[0].hasText)
        section = &sections_[0];
    if (!section)
        return text;
    std::string out;
    for (const Token& t : section->tokens)
    {
        if (t.kind == Token::TextAt)
            out += text;
        else if (t.kind == Token::Literal)
            out += t.text;
    }
    return out;
}

Result<std::string> NumberFormat::formatNumber(const Section& section, double value) const
{
    const std::vector<Token>& tokens = section.tokens;
    const bool negative = value < 0;
    double a = std::fabs(value);

    // Where each token stands: integer part, fraction or exponent; what each comma means.
    enum class Phase
    {
        Integer,
        Fraction,
        Exponent,
    };
    enum class CommaRole
    {
        Literal,
        Thousands,
        Scaling,
    };
    std::vector<Phase> phase(tokens.size(), Phase::Integer);
    std::vector<CommaRole> commaRole(tokens.size(), CommaRole::Literal);
    std::string intPlaceholders, fracPlaceholders;
    int expPlaceholders = 0;
    const Token* exponent = nullptr;
    bool thousands = false;
    Phase current = Phase::Integer;
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        const Token& t = tokens[i];
        if (t.kind == Token::Point && current == Phase::Integer)
            current = Phase::Fraction;
        else if (t.kind == Token::Exponent && !exponent)
        {
            exponent = &t;
            current = Phase::Exponent;
        }
        phase[i] = current;
        if (t.kind == Token::Digit)
        {
            if (current == Phase::Integer)
                intPlaceholders += t.text;
            else if (current == Phase::Fraction)
                fracPlaceholders += t.text;
            else
                ++expPlaceholders;
        }
        else if (t.kind == Token::Percent)
            a *= 100;
    }
    // A comma between integer digits groups thousands; commas right after the last digit
    // (integer or fraction) divide by a thousand each; any other comma is shown as it is.
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        if (tokens[i].kind != Token::Comma || phase[i] == Phase::Exponent)
            continue;
        bool digitBefore = false, digitAfter = false, intDigitAfter = false;
        for (size_t k = 0; k < i; ++k)
            digitBefore |= tokens[k].kind == Token::Digit;
        for (size_t k = i + 1; k < tokens.size() && phase[k] != Phase::Exponent; ++k)
        {
            digitAfter |= tokens[k].kind == Token::Digit;
            intDigitAfter |= tokens[k].kind == Token::Digit && phase[k] == Phase::Integer;
        }
        if (phase[i] == Phase::Integer && digitBefore && intDigitAfter)
        {
            commaRole[i] = CommaRole::Thousands;
            thousands = true;
        }
        else if (digitBefore && !digitAfter)
        {
            commaRole[i] = CommaRole::Scaling;
            a /= 1000;
        }
    }

    const int intCount = static_cast<int>(intPlaceholders.size());
    const int fracCount = static_cast<int>(fracPlaceholders.size());
    long exponentValue = 0;
    if (exponent && a != 0 && std::isfinite(a))
    {
        const int mantissaDigits = intCount > 0 ? intCount : 1;
        const bool engineering = intCount > 1 && intPlaceholders[0] == '#';
        long magnitude = static_cast<long>(std::floor(std::log10(a)));
        auto choose = [&](long mag)
        {
            if (engineering)
                return static_cast<long>(std::floor(static_cast<double>(mag) / intCount)) * intCount;
            return mag - (mantissaDigits - 1);
        };
        // Scale in two steps near the ends of the double range, where 10^exponent alone
        // would overflow or vanish.
        auto scaled = [&](long exponent)
        {
            const double shift = exponent < -290 ? 30.0 : (exponent > 290 ? -30.0 : 0.0);
            return roundDecimal(a * std::pow(10.0, shift) /
                                    std::pow(10.0, static_cast<double>(exponent) + shift),
                                fracCount, RoundMode::HalfAwayFromZero);
        };
        exponentValue = choose(magnitude);
        double mantissa = scaled(exponentValue);
        const double limit = std::pow(10.0, engineering ? intCount : mantissaDigits);
        if (mantissa >= limit)
        {
            exponentValue = choose(magnitude + 1);
            mantissa = scaled(exponentValue);
        }
        a = mantissa;
    }

    if (!std::isfinite(a))
        return ErrorCode::Value; // a percentage or mantissa past the double range
    const std::string digits = fixedDecimals(a, fracCount);
    const size_t point = digits.find('.');
    std::string intDigits = digits.substr(0, point);
    const std::string fracDigits = point == std::string::npos ? std::string() : digits.substr(point + 1);
    if (intDigits == "0")
        intDigits.clear();
    const int intLength = static_cast<int>(intDigits.size());

    // What each fraction placeholder shows: trailing zeros of '#' vanish, of '?' turn blank.
    std::vector<std::string> fracShown(static_cast<size_t>(fracCount));
    for (int i = 0; i < fracCount; ++i)
        fracShown[static_cast<size_t>(i)] = std::string(1, fracDigits[static_cast<size_t>(i)]);
    for (int i = fracCount - 1; i >= 0 && fracDigits[static_cast<size_t>(i)] == '0'; --i)
    {
        const char p = fracPlaceholders[static_cast<size_t>(i)];
        if (p == '0')
            break;
        fracShown[static_cast<size_t>(i)] = p == '?' ? " " : "";
    }

    std::string out;
    if (negative)
        out += '-';
    // Integer position j counts from the units digit leftwards.
    auto emitIntPosition = [&](int j)
    {
        char c = 0;
        if (j < intLength)
            c = intDigits[static_cast<size_t>(intLength - 1 - j)];
        else if (j < intCount)
        {
            const char p = intPlaceholders[static_cast<size_t>(intCount - 1 - j)];
            c = p == '0' ? '0' : (p == '?' ? ' ' : 0);
        }
        if (!c)
            return;
        out += c;
        if (thousands && j > 0 && j % 3 == 0 && c != ' ')
            out += ',';
    };
    int intIndex = 0, fracIndex = 0, expIndex = 0;
    bool intEmitted = false;
    auto emitAllInteger = [&]()
    {
        for (int j = intLength - 1; j >= 0; --j)
            emitIntPosition(j);
        intEmitted = true;
    };
    const std::string exponentDigits = std::to_string(exponentValue < 0 ? -exponentValue : exponentValue);
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        const Token& t = tokens[i];
        switch (t.kind)
        {
        case Token::Digit:
            if (phase[i] == Phase::Integer)
            {
                if (intIndex == 0)
                    for (int j = intLength - 1; j >= intCount; --j)
                        emitIntPosition(j);
                emitIntPosition(intCount - 1 - intIndex);
                ++intIndex;
                intEmitted = true;
            }
            else if (phase[i] == Phase::Fraction)
                out += fracShown[static_cast<size_t>(fracIndex++)];
            else
            {
                // The exponent's digits fill its placeholders from the right; extra digits
                // go with the first placeholder.
                const int remaining = expPlaceholders - expIndex;
                const int length = static_cast<int>(exponentDigits.size());
                if (expIndex == 0 && length > expPlaceholders)
                    out += exponentDigits.substr(0, static_cast<size_t>(length - expPlaceholders));
                if (remaining <= length)
                    out += exponentDigits[static_cast<size_t>(length - remaining)];
                else if (t.text == "0")
                    out += '0';
                ++expIndex;
            }
            break;
        case Token::Point:
            if (phase[i] == Phase::Fraction && (i == 0 || phase[i - 1] == Phase::Integer))
            {
                if (!intEmitted)
                    emitAllInteger();
                out += '.';
            }
            else
                out += '.';
            break;
        case Token::Comma:
            if (commaRole[i] == CommaRole::Literal)
                out += ',';
            break;
        case Token::Percent:
            out += '%';
            break;
        case Token::Exponent:
            if (!intEmitted && intCount == 0)
                emitAllInteger();
            out += t.text[0];
            if (exponentValue < 0)
                out += '-';
            else if (t.text[1] == '+')
                out += '+';
            break;
        case Token::General:
            out += formatGeneral(a);
            break;
        case Token::TextAt:
            out += formatGeneral(a);
            break;
        case Token::Literal:
            out += t.text;
            break;
        default:
            out += t.text;
            break;
        }
    }
    return out;
}

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
        if (tokens[i].kind == Token::Point && i > 0 && tokens[i - 1].kind == Token::Date &&
            tokens[i - 1].text[0] == 's')
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
                if (isMinute(tokens, i))
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
            if (secondDecimals > 0 && i > 0 && tokens[i - 1].kind == Token::Date &&
                tokens[i - 1].text[0] == 's')
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
