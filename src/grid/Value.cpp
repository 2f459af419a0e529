#include "grid/Value.h"

#include "host/Kdr_String.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace grid
{
namespace
{
constexpr const char* kErrorTexts[] = {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
                                       "#NAME?", "#NUM!",   "#N/A",    "#CIRC!"};

void trimZeros(std::string& text)
{
    if (text.find('.') == std::string::npos)
        return;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
} // namespace

const char* errorText(ErrorCode code)
{
    return kErrorTexts[static_cast<int>(code)];
}

std::optional<ErrorCode> parseErrorText(std::string_view text)
{
    for (int i = 0; i < 8; ++i)
    {
        std::string_view candidate = kErrorTexts[i];
        if (candidate.size() != text.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < text.size() && same; ++k)
        {
            char a = text[k], b = candidate[k];
            if (a >= 'a' && a <= 'z')
                a = static_cast<char>(a - 'a' + 'A');
            same = a == b;
        }
        if (same)
            return static_cast<ErrorCode>(i);
    }
    return std::nullopt;
}

std::string formatGeneral(double value)
{
    if (std::isnan(value))
        return "#NUM!";
    if (std::isinf(value))
        return "#NUM!";
    if (value == 0)
        return "0";
    const double magnitude = std::fabs(value);
    char buffer[64];
    if (magnitude >= 1e15 || magnitude < 1e-9)
    {
        std::snprintf(buffer, sizeof buffer, "%.14E", value);
        std::string text(buffer);
        size_t e = text.find('E');
        std::string mantissa = text.substr(0, e);
        std::string exponent = text.substr(e + 1);
        trimZeros(mantissa);
        // Exponent with its sign and at least two digits, as spreadsheets write it.
        char sign = exponent[0];
        std::string digits = exponent.substr(1);
        while (digits.size() > 2 && digits[0] == '0')
            digits.erase(0, 1);
        return mantissa + "E" + sign + digits;
    }
    // Whole numbers, the most common values of a sheet, need no decimal conversion (nor the
    // count of their digits).
    if (value == std::trunc(value))
    {
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value));
        return error == std::errc() ? std::string(buffer, end) : std::string("0");
    }
    // 15 significant digits in fixed notation.
    int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    int decimals = 14 - exponent;
    if (decimals < 0)
        decimals = 0;
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text = error == std::errc() ? std::string(buffer, end) : std::string("0");
    // Rounding may have carried into a new digit (9.99…5 → 10.0…); trim to 15 digits again.
    trimZeros(text);
    if (text == "-0")
        return "0";
    return text;
}

std::optional<double> parseNumber(std::string_view text)
{
    size_t i = 0, n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    while (n > i && isBlank(text[n - 1]))
        --n;
    if (i == n)
        return std::nullopt;
    bool percent = false;
    if (text[n - 1] == '%')
    {
        percent = true;
        --n;
        while (n > i && isBlank(text[n - 1]))
            --n;
    }
    // Checked in place: most texts asked about (equations, names) are no numbers and fail
    // on their first characters without a copy.
    const std::string_view body = text.substr(i, n - i);
    if (!host::isPlainDecimal(body))
        return std::nullopt;
    // from_chars reads the same correctly rounded value as strtod does in the "C" locale,
    // without its locale and copy; it takes no '+'. Out of range (an overflow, or an
    // underflow that strtod reads as zero or a tiny number) is left to strtod.
    const std::string_view plain = body.front() == '+' ? body.substr(1) : body;
    double v = 0;
    const auto [end, code] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (code != std::errc() || end != plain.data() + plain.size())
        v = std::strtod(std::string(body).c_str(), nullptr);
    if (!std::isfinite(v))
        return std::nullopt;
    return percent ? v / 100.0 : v;
}

std::string valueText(const Value& value)
{
    switch (value.type())
    {
    case Value::Type::Empty:
        return {};
    case Value::Type::Number:
        return formatGeneral(value.asNumber());
    case Value::Type::Text:
        return value.asText();
    case Value::Type::Logical:
        return value.asLogical() ? "TRUE" : "FALSE";
    case Value::Type::Error:
        return errorText(value.asError());
    }
    return {};
}
} // namespace grid
