#include "host/Kdr_String.h"

#include "host/Kdr_StringArray.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace host
{
bool equalText(std::string_view a, std::string_view b, bool caseSensitive)
{
    if (a.size() != b.size())
        return false;
    if (caseSensitive)
        return a == b;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    return true;
}

bool isPlainDecimal(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool digits = false, point = false;
    for (; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E'))
    {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        bool exponentDigits = false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            exponentDigits = true;
        if (!exponentDigits)
            return false;
    }
    return i == text.size();
}
int findText(std::string_view hay, std::string_view needle, int from, bool caseSensitive)
{
    if (from < 0)
        from = 0;
    if (static_cast<size_t>(from) > hay.size() || needle.size() > hay.size() - from)
        return -1;
    if (caseSensitive)
    {
        auto pos = hay.find(needle, static_cast<size_t>(from));
        return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
    }
    if (needle.empty())
        return from;
    // Candidates start with either case of the needle's first letter; only those are compared.
    const char lower = foldCase(needle[0]);
    const char upper = (lower >= 'a' && lower <= 'z') ? static_cast<char>(lower - 'a' + 'A') : lower;
    const std::string_view rest = needle.substr(1);
    const size_t last = hay.size() - needle.size();
    for (size_t i = static_cast<size_t>(from); i <= last; ++i)
    {
        const char c = hay[i];
        if (c != lower && c != upper)
            continue;
        size_t k = 0;
        while (k < rest.size() && foldCase(hay[i + 1 + k]) == foldCase(rest[k]))
            ++k;
        if (k == rest.size())
            return static_cast<int>(i);
    }
    return -1;
}

int compareText(std::string_view a, std::string_view b, bool caseSensitive)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
    {
        auto ca = static_cast<unsigned char>(caseSensitive ? a[i] : foldCase(a[i]));
        auto cb = static_cast<unsigned char>(caseSensitive ? b[i] : foldCase(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string formatFixed(double value, int precision, bool keepZeros)
{
    precision = std::clamp(precision, 0, 30);
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");

    // Start from the shortest decimal text that reads back as the same double, so that a
    // value typed as 2.675 rounds as the 2.675 the user sees (to 2.68), not as its binary
    // neighbour 2.67499999... that printf would round down.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    if (result.ec == std::errc() && !keepZeros)
    {
        // Nothing to round (the shortest text has no more decimals than asked, and no
        // trailing zeros): the text as it is, signed unless it is zero.
        const std::string_view shortest(buffer, static_cast<std::size_t>(result.ptr - buffer));
        const std::size_t point = shortest.find('.');
        if (point == std::string_view::npos ||
            shortest.size() - point - 1 <= static_cast<std::size_t>(precision))
        {
            std::string text;
            if (value < 0 && shortest.find_first_not_of("0.") != std::string_view::npos)
                text.push_back('-');
            text.append(shortest);
            return text;
        }
    }
    std::string digits;
    if (result.ec == std::errc())
        digits.assign(buffer, result.ptr);
    else
        digits.assign(buffer,
                      static_cast<size_t>(std::snprintf(buffer, sizeof buffer, "%.17f", std::fabs(value))));
    std::string whole = digits, fraction;
    if (auto point = digits.find('.'); point != std::string::npos)
    {
        whole = digits.substr(0, point);
        fraction = digits.substr(point + 1);
    }
    if (fraction.size() > static_cast<size_t>(precision))
    {
        const bool roundUp = fraction[static_cast<size_t>(precision)] >= '5';
        fraction.resize(static_cast<size_t>(precision));
        if (roundUp)
        {
            // Half away from zero on the magnitude: carry through fraction and whole part.
            std::string all = whole + fraction;
            int i = static_cast<int>(all.size()) - 1;
            for (; i >= 0; --i)
            {
                if (all[static_cast<size_t>(i)] == '9')
                    all[static_cast<size_t>(i)] = '0';
                else
                {
                    ++all[static_cast<size_t>(i)];
                    break;
                }
            }
            if (i < 0)
                all.insert(all.begin(), '1');
            whole = all.substr(0, all.size() - fraction.size());
            fraction = all.substr(all.size() - fraction.size());
        }
    }
    if (keepZeros)
        fraction.resize(static_cast<size_t>(precision), '0');
    else
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();

    std::string text;
    const bool zero = whole.find_first_not_of('0') == std::string::npos &&
                      fraction.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !zero)
        text.push_back('-');
    text += whole;
    if (!fraction.empty())
    {
        text.push_back('.');
        text += fraction;
    }
    return text;
}
} // namespace host

Kdr_String::Kdr_String(double value, int precision, bool keepZeros)
    : std::string(host::formatFixed(value, precision, keepZeros))
{
}

Kdr_String::Kdr_String(int value) : std::string(std::to_string(value))
{
}

bool Kdr_String::equal(std::string_view other, bool caseSensitive) const
{
    return host::equalText(*this, other, caseSensitive);
}

bool Kdr_String::startsWith(std::string_view prefix, bool caseSensitive) const
{
    return size() >= prefix.size() &&
           host::equalText(std::string_view(*this).substr(0, prefix.size()), prefix, caseSensitive);
}

bool Kdr_String::endsWith(std::string_view suffix, bool caseSensitive) const
{
    return size() >= suffix.size() &&
           host::equalText(std::string_view(*this).substr(size() - suffix.size()), suffix, caseSensitive);
}

int Kdr_String::find(std::string_view text, bool caseSensitive) const
{
    return host::findText(*this, text, 0, caseSensitive);
}

int Kdr_String::findFirstFrom(std::string_view text, int from, bool caseSensitive) const
{
    return host::findText(*this, text, from, caseSensitive);
}

bool Kdr_String::contains(std::string_view text, bool caseSensitive) const
{
    return host::findText(*this, text, 0, caseSensitive) >= 0;
}

bool Kdr_String::hasASubstr(const Kdr_StringArray& texts, bool caseSensitive, int* foundIndex) const
{
    for (int i = 0; i < texts.length(); ++i)
        if (!texts[i].empty() && contains(texts[i], caseSensitive))
        {
            if (foundIndex)
                *foundIndex = i;
            return true;
        }
    if (foundIndex)
        *foundIndex = -1;
    return false;
}

int Kdr_String::compareTo(std::string_view other, bool caseSensitive) const
{
    return host::compareText(*this, other, caseSensitive);
}

bool Kdr_String::getSubstrAfter(std::string_view separator, Kdr_String& out, bool caseSensitive) const
{
    int pos = find(separator, caseSensitive);
    if (pos < 0)
        return false;
    out = substr(static_cast<size_t>(pos) + separator.size());
    return true;
}

bool Kdr_String::getSubstrBefore(std::string_view separator, Kdr_String& out, bool caseSensitive) const
{
    int pos = find(separator, caseSensitive);
    if (pos < 0)
        return false;
    out = substr(0, static_cast<size_t>(pos));
    return true;
}

static bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

Kdr_String& Kdr_String::trimLeft()
{
    size_t i = 0;
    while (i < size() && isBlank((*this)[i]))
        ++i;
    erase(0, i);
    return *this;
}

Kdr_String& Kdr_String::trimRight()
{
    while (!empty() && isBlank(back()))
        pop_back();
    return *this;
}

Kdr_String& Kdr_String::trim()
{
    return trimRight().trimLeft();
}

Kdr_String& Kdr_String::makeUpper()
{
    for (char& c : *this)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return *this;
}

Kdr_String& Kdr_String::makeLower()
{
    for (char& c : *this)
        c = host::foldCase(c);
    return *this;
}

Kdr_String Kdr_String::upper() const
{
    Kdr_String copy(*this);
    return copy.makeUpper();
}

Kdr_String Kdr_String::lower() const
{
    Kdr_String copy(*this);
    return copy.makeLower();
}

bool Kdr_String::isNumber() const
{
    size_t i = 0, n = size();
    while (i < n && isBlank((*this)[i]))
        ++i;
    while (n > i && isBlank((*this)[n - 1]))
        --n;
    return host::isPlainDecimal(std::string_view(*this).substr(i, n - i));
}

double Kdr_String::toDouble() const
{
    // A plain decimal number, the common case, reads with from_chars: the value atof gives in
    // the "C" locale, without its locale lookups. Anything else (blanks, hexadecimal, "inf",
    // trailing text, a value out of range) is left to atof.
    std::string_view text(*this);
    if (host::isPlainDecimal(text))
    {
        if (text.front() == '+')
            text.remove_prefix(1);
        double value = 0;
        const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (code == std::errc() && end == text.data() + text.size())
            return value;
    }
    return std::atof(c_str());
}

int Kdr_String::toInt() const
{
    return std::atoi(c_str());
}

Kdr_String& Kdr_String::append(std::string_view text, double number, int precision)
{
    std::string::append(text);
    std::string::append(Kdr_String(number, precision, false));
    return *this;
}

int Kdr_String::replace(std::string_view from, std::string_view to, bool caseSensitive)
{
    if (from.empty())
        return 0;
    int count = 0;
    int pos = host::findText(*this, from, 0, caseSensitive);
    while (pos >= 0)
    {
        std::string::replace(static_cast<size_t>(pos), from.size(), to);
        ++count;
        pos = host::findText(*this, from, pos + static_cast<int>(to.size()), caseSensitive);
    }
    return count;
}

Kdr_String Kdr_String::mid(int start, int count) const
{
    if (start < 0)
        start = 0;
    if (static_cast<size_t>(start) >= size())
        return Kdr_String();
    return Kdr_String(substr(static_cast<size_t>(start), count < 0 ? npos : static_cast<size_t>(count)));
}

Kdr_String Kdr_String::left(int count) const
{
    return count <= 0 ? Kdr_String() : Kdr_String(substr(0, static_cast<size_t>(count)));
}

Kdr_String Kdr_String::right(int count) const
{
    if (count <= 0)
        return Kdr_String();
    if (static_cast<size_t>(count) >= size())
        return *this;
    return Kdr_String(substr(size() - static_cast<size_t>(count)));
}

Kdr_String Kdr_String::format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    Kdr_String out;
    if (needed > 0)
    {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), fmt, args);
        out.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
    return out;
}
