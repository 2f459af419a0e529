#include "host/NumberFunctions.h"

#include "host/StringFunctions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// Beyond 2^52 a double has no fractional part left to round.
constexpr double kWholeLimit = 4503599627370496.0;

/// The slack within which a quotient counts as a whole number or a tie: a few units in the
/// last place of the quotient.
double quotientSlack(double quotient)
{
    return 64.0 * std::numeric_limits<double>::epsilon() * std::max(1.0, std::fabs(quotient));
}

/// The number of decimals of a step written in decimal (0.1 -> 1, 0.25 -> 2, 5 -> 0), or
/// -1 when it has none within 15 (a step like 1/3).
int stepDecimals(double step)
{
    double scaled = step;
    for (int decimals = 0; decimals <= 15; ++decimals)
    {
        if (std::round(scaled) >= 1.0 && std::fabs(scaled - std::round(scaled)) <= 1e-9 * scaled)
            return decimals;
        scaled *= 10.0;
    }
    return -1;
}

/// n * step, returned as the double nearest to the decimal multiple when the step has a
/// short decimal form.
double multiple(double n, double step)
{
    double result = n * step;
    int decimals = stepDecimals(step);
    if (decimals >= 0)
    {
        double scale = std::pow(10.0, decimals);
        double scaled = std::round(result * scale);
        if (std::fabs(scaled) < kWholeLimit)
            result = scaled / scale;
    }
    return result == 0.0 ? 0.0 : result; // never -0
}
} // namespace

double ObjectExportRoundTo(double value, double step)
{
    if (step == 0.0 || !std::isfinite(value) || !std::isfinite(step))
        return value;
    step = std::fabs(step);
    const double quotient = value / step;
    const double magnitude = std::fabs(quotient);
    if (magnitude >= kWholeLimit)
        return value;
    double whole = std::floor(magnitude);
    if (magnitude - whole >= 0.5 - quotientSlack(magnitude))
        whole += 1.0;
    return multiple(quotient < 0 ? -whole : whole, step);
}

double ObjectExportRoundUp(double value, double step, double tolerance)
{
    if (step == 0.0 || !std::isfinite(value) || !std::isfinite(step))
        return value;
    step = std::fabs(step);
    const double quotient = value / step;
    if (std::fabs(quotient) >= kWholeLimit)
        return value;
    double slack = std::isfinite(tolerance) ? std::min(std::fabs(tolerance), step * 1e-6) : 0.0;
    double n = std::ceil(quotient - std::max(slack / step, quotientSlack(quotient)));
    return multiple(n, step);
}

void ObjectExportSort(double* values, int count)
{
    if (values && count > 1)
        std::sort(values, values + count);
}

void ObjectExportSort(Kdr_Array<double>& values, int count)
{
    ObjectExportSort(values.vector().data(), std::clamp(count, 0, values.length()));
}

void ObjectExportSort(Kdr_Array<double>& values)
{
    ObjectExportSort(values, values.length());
}

void ObjectExportSort(Kdr_StringArray& texts)
{
    std::stable_sort(texts.begin(), texts.end(),
                     [](const Kdr_String& a, const Kdr_String& b)
                     { return host::compareNatural(a, b, false) < 0; });
}

int ObjectExportAddToSorted(Kdr_Array<double>& sorted, double value)
{
    int index = sorted.length();
    while (index > 0 && sorted[index - 1] > value)
        --index;
    sorted.insertAt(index, value);
    return index;
}

int ObjectExportAddToSorted(Kdr_StringArray& sorted, const Kdr_String& text)
{
    int index = sorted.length();
    while (index > 0 && host::compareNatural(sorted[index - 1], text, false) > 0)
        --index;
    sorted.insertAt(index, text);
    return index;
}
