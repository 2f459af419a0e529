#include "grid/functions/Coercion.h"

#include "grid/functions/DateSerial.h"

#include <cmath>
#include <string>

namespace grid::fn
{
namespace
{
char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads digits with optional thousands separators: a first group of one to three digits,
// then groups of exactly three after each ','. Appends the digits to `out`; false when a
// separator stands anywhere else ("1,00", "1,,000", ",5").
bool readGroupedDigits(std::string_view text, size_t& i, std::string& out)
{
    const size_t start = i;
    size_t group = 0;
    bool separated = false;
    while (i < text.size())
    {
        if (isDigit(text[i]))
        {
            out += text[i++];
            ++group;
        }
        else if (text[i] == ',' && i + 1 < text.size() && isDigit(text[i + 1]))
        {
            if (group == 0 || (separated ? group != 3 : group > 3))
                return false;
            separated = true;
            group = 0;
            ++i;
        }
        else
            break;
    }
    return i > start && (!separated || group == 3);
}

// A whole number and a proper fraction, as typed: "1 1/2", "0 3/4".
std::optional<double> readMixedFraction(std::string_view text)
{
    const size_t space = text.find(' ');
    const size_t slash = text.find('/');
    if (space == std::string_view::npos || slash == std::string_view::npos || slash < space)
        return std::nullopt;
    auto whole = [](std::string_view digits) -> std::optional<double>
    {
        if (digits.empty() || digits.size() > 9)
            return std::nullopt;
        double v = 0;
        for (char c : digits)
        {
            if (!isDigit(c))
                return std::nullopt;
            v = v * 10 + (c - '0');
        }
        return v;
    };
    const auto integer = whole(text.substr(0, space));
    std::string_view rest = text.substr(space);
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    const size_t bar = rest.find('/');
    const auto numerator = whole(rest.substr(0, bar));
    const auto denominator = whole(rest.substr(bar + 1));
    if (!integer || !numerator || !denominator || *denominator == 0 || *numerator >= *denominator)
        return std::nullopt;
    return *integer + *numerator / *denominator;
}

// A number typed the way spreadsheets accept it beyond plain digits: a currency sign
// ("$4.00", "-$4", "$-4"), thousands separators ("1,000.5"), an accounting negative in
// parentheses ("(5)", "($1,200)"), a trailing percent ("12.5 %") and a mixed fraction
// ("1 1/2"), each with blanks around. Plain numbers are read by parseNumber first.
std::optional<double> parseTypedNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    bool negative = false;
    if (text.front() == '(' && text.back() == ')')
    {
        negative = true;
        text = text.substr(1, text.size() - 2);
    }
    bool percent = false;
    if (!text.empty() && text.back() == '%')
    {
        percent = true;
        text.remove_suffix(1);
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
    }
    size_t i = 0;
    bool sign = false, currency = false;
    for (int k = 0; k < 2 && i < text.size(); ++k)
    {
        if (!sign && !negative && (text[i] == '-' || text[i] == '+'))
        {
            sign = true;
            negative = text[i] == '-';
            ++i;
        }
        else if (!currency && text[i] == '$')
        {
            currency = true;
            ++i;
        }
    }
    if (!currency && !percent)
    {
        // Without a currency sign or percent only separators or a fraction are left to read.
        if (text.find(',') == std::string_view::npos)
        {
            auto fraction = readMixedFraction(text.substr(i));
            if (fraction)
                return negative ? -*fraction : *fraction;
            if (!negative || sign)
                return std::nullopt;
        }
    }
    std::string digits;
    if (i < text.size() && text[i] == '.')
        digits = "0";
    else if (!readGroupedDigits(text, i, digits))
        return std::nullopt;
    if (i < text.size() && text[i] == '.')
    {
        digits += text[i++];
        while (i < text.size() && isDigit(text[i]))
            digits += text[i++];
        if (digits == "0.")
            return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E'))
    {
        digits += text[i++];
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            digits += text[i++];
        if (i >= text.size() || !isDigit(text[i]))
            return std::nullopt;
        while (i < text.size() && isDigit(text[i]))
            digits += text[i++];
    }
    if (i != text.size())
        return std::nullopt;
    double value = std::strtod(digits.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    if (percent)
        value /= 100;
    return negative ? -value : value;
}
} // namespace

std::optional<double> textToNumber(std::string_view text)
{
    if (auto number = parseNumber(text))
        return number;
    if (auto number = parseTypedNumber(text))
        return number;
    return parseDateTimeText(text);
}

Result<double> toNumber(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return 0.0;
    case Value::Type::Number:
        return value.asNumber();
    case Value::Type::Logical:
        return value.asLogical() ? 1.0 : 0.0;
    case Value::Type::Text:
        if (auto number = textToNumber(value.asText()))
            return *number;
        return ErrorCode::Value;
    case Value::Type::Error:
        return value.asError();
    }
    return ErrorCode::Value;
}

Result<std::string> toText(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return std::string();
    case Value::Type::Number:
        return formatGeneral(value.asNumber());
    case Value::Type::Logical:
        return std::string(value.asLogical() ? "TRUE" : "FALSE");
    case Value::Type::Text:
        return value.asText();
    case Value::Type::Error:
        return value.asError();
    }
    return ErrorCode::Value;
}

Result<bool> toLogical(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return false;
    case Value::Type::Number:
        return value.asNumber() != 0;
    case Value::Type::Logical:
        return value.asLogical();
    case Value::Type::Text:
        if (equalNoCase(value.asText(), "TRUE"))
            return true;
        if (equalNoCase(value.asText(), "FALSE"))
            return false;
        return ErrorCode::Value;
    case Value::Type::Error:
        return value.asError();
    }
    return ErrorCode::Value;
}

std::string upperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = upper(c);
    return result;
}

std::string lowerAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = lower(c);
    return result;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

int compareNoCase(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i)
    {
        const unsigned char x = static_cast<unsigned char>(lower(a[i]));
        const unsigned char y = static_cast<unsigned char>(lower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
} // namespace grid::fn
