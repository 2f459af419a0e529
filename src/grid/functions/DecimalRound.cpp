#include "grid/functions/DecimalRound.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace grid::fn
{
double roundDecimal(double value, int digits, RoundMode mode)
{
    if (!std::isfinite(value) || value == 0)
        return value;
    const bool negative = value < 0;
    // Fifteen significant digits: "d.dddddddddddddde±x".
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    char digitsOf[15];
    digitsOf[0] = buffer[0];
    std::memcpy(digitsOf + 1, buffer + 2, 14);
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);

    // Digit i stands for 10^(exponent - i); the digits kept are those of 10^-digits and above.
    const long keep = static_cast<long>(exponent) + digits + 1;
    if (keep >= 15)
        return value;
    long long kept = 0;
    for (long i = 0; i < keep; ++i)
        kept = kept * 10 + (digitsOf[i] - '0');
    bool bump = false;
    if (keep >= 0)
    {
        switch (mode)
        {
        case RoundMode::HalfAwayFromZero:
            bump = digitsOf[keep] >= '5';
            break;
        case RoundMode::AwayFromZero:
            for (long i = keep; i < 15 && !bump; ++i)
                bump = digitsOf[i] != '0';
            break;
        case RoundMode::TowardZero:
            break;
        }
    }
    else
    {
        // Every digit lies below the rounding place: only rounding up keeps anything.
        bump = mode == RoundMode::AwayFromZero;
    }
    if (bump)
        ++kept;
    if (kept == 0)
        return 0.0;
    // Let the library convert "kept e -digits" so the result is the double nearest to the
    // decimal number, not a product with its own rounding error.
    std::snprintf(buffer, sizeof buffer, "%llde%d", kept, -digits);
    const double result = std::strtod(buffer, nullptr);
    return negative ? -result : result;
}

std::string fixedDecimals(double value, int decimals)
{
    const double rounded = roundDecimal(value, decimals, RoundMode::HalfAwayFromZero);
    const double shown = rounded == 0 ? 0.0 : rounded;
    const int length = std::snprintf(nullptr, 0, "%.*f", decimals, shown);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*f", decimals, shown);
    text.resize(static_cast<size_t>(length));
    return text;
}
} // namespace grid::fn
