#include "grid/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace grid
{
namespace
{
constexpr int kSignificantDigits = 15;

/// A non-negative number as significant digits and the count of digits before the point:
/// digits "125", point 1 is 1.25; point -1 is 0.0125.
struct Digits
{
    std::string digits;
    int point = 0;
};

Digits decompose(double magnitude)
{
    Digits d;
    if (magnitude == 0)
        return d;
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    std::size_t e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits.push_back(c);
    int exponent = 0;
    std::string_view exponentText = text.substr(e + 1);
    if (!exponentText.empty() && exponentText[0] == '+')
        exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    d.point = exponent + 1;
    return d;
}

/// Keeps the first `keep` digits, rounding half away from zero.
void roundAt(Digits& d, int keep)
{
    if (keep < 0)
    {
        d.digits.clear();
        return;
    }
    if (static_cast<std::size_t>(keep) >= d.digits.size())
        return;
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (!up)
        return;
    std::size_t i = d.digits.size();
    while (i > 0)
    {
        --i;
        if (d.digits[i] != '9')
        {
            ++d.digits[i];
            return;
        }
        d.digits[i] = '0';
    }
    d.digits.insert(d.digits.begin(), '1');
    ++d.point;
}

/// True when rounding `value` (finite, not zero) to `decimals` keeps it as it is: its
/// shortest text has at most the significant digits kept and no more decimals than asked.
/// Such a number's rounded digits are its shortest text, which reads back as the number.
bool keepsItsDigits(double value, int decimals)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    if (e == std::string_view::npos)
        return false;
    const int significant = static_cast<int>(e) - (e > 1 ? 1 : 0); // "d.ddd" or "d"
    std::string_view exponentText = text.substr(e + 1);
    if (!exponentText.empty() && exponentText[0] == '+')
        exponentText.remove_prefix(1);
    int exponent = 0;
    if (std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent).ec !=
        std::errc())
        return false;
    const int point = exponent + 1;
    return significant <= kSignificantDigits &&
           significant - point <= std::clamp(decimals, 0, kSignificantDigits);
}

struct Rounded
{
    bool negative = false;
    std::string integer;
    std::string fraction;
};

Rounded roundDecimal(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, kSignificantDigits);
    Digits d = decompose(std::fabs(value));
    roundAt(d, kSignificantDigits);
    roundAt(d, d.point + decimals);
    Rounded r;
    if (d.point <= 0)
        r.integer = "0";
    else
        for (int i = 0; i < d.point; ++i)
            r.integer.push_back(
                static_cast<std::size_t>(i) < d.digits.size() ? d.digits[static_cast<std::size_t>(i)] : '0');
    for (int j = 0; j < decimals; ++j)
    {
        int index = d.point + j;
        r.fraction.push_back(index >= 0 && static_cast<std::size_t>(index) < d.digits.size()
                                 ? d.digits[static_cast<std::size_t>(index)]
                                 : '0');
    }
    const bool zero = std::all_of(d.digits.begin(), d.digits.end(), [](char c) { return c == '0'; });
    r.negative = value < 0 && !zero;
    return r;
}
} // namespace

double roundToDecimals(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    if (value == 0)
        return 0.0; // -0 as well: it reads as "0"
    if (keepsItsDigits(value, decimals))
        return value;
    Rounded r = roundDecimal(value, decimals);
    std::string text = (r.negative ? "-" : "") + r.integer + (r.fraction.empty() ? "" : "." + r.fraction);
    double result = 0;
    // Fifteen digits of the largest doubles round beyond the largest double.
    if (!readDouble(text, result))
        return value;
    return result;
}

std::string fixedText(double value, int decimals, bool thousands)
{
    if (!std::isfinite(value))
        return "#NUM!";
    Rounded r = roundDecimal(value, decimals);
    std::string text;
    if (r.negative)
        text.push_back('-');
    if (thousands)
    {
        const std::size_t n = r.integer.size();
        for (std::size_t i = 0; i < n; ++i)
        {
            if (i > 0 && (n - i) % 3 == 0)
                text.push_back(',');
            text.push_back(r.integer[i]);
        }
    }
    else
        text += r.integer;
    if (!r.fraction.empty())
        text += "." + r.fraction;
    return text;
}

std::string shortestText(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

bool readDouble(std::string_view text, double& value)
{
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    double v = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), v);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty())
        return false;
    value = v;
    return true;
}
} // namespace grid
