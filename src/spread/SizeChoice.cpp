#include "spread/SizeChoice.h"

#include "host/NumberFunctions.h"

#include <cmath>

namespace
{
// A size farther away than this from the wanted value is never a candidate.
constexpr double kNoDistance = 999999999.0;

/// The nearest size on one side of the value, if any.
struct Candidate
{
    bool found = false;
    double size = 0.0;
    double distance = kNoDistance;

    void offer(double candidateSize, double candidateDistance)
    {
        // Strictly nearer only, so the first of equally near sizes stays.
        if (candidateDistance < distance)
        {
            found = true;
            size = candidateSize;
            distance = candidateDistance;
        }
    }
};
} // namespace

bool pickNearest(const Kdr_Array<double>& sizes, double down, double up, double value, double& out)
{
    if (sizes.isEmpty())
        return false;

    Candidate below;
    Candidate above;
    for (double size : sizes)
    {
        const double offset = size - value;
        if (offset <= 0.0)
            below.offer(size, value - size);
        else if (offset > 0.0)
            above.offer(size, offset);
        // A size that is not a number compares neither way and is never a candidate.
    }

    const bool belowFits = below.found && below.distance <= down && below.size <= value + up;
    const bool aboveFits = above.found && above.distance <= up && above.size >= value - down;

    // The nearer side is tried first; below wins a tie.
    const bool belowFirst = below.distance <= above.distance;
    const bool firstFits = belowFirst ? belowFits : aboveFits;
    const bool secondFits = belowFirst ? aboveFits : belowFits;
    if (!firstFits && !secondFits)
        return false;
    const bool takeBelow = belowFirst ? firstFits : !firstFits;
    out = takeBelow ? below.size : above.size;
    return true;
}

double floorToStep(double value, double step)
{
    const double rounded = ObjectExportRoundTo(value, step);
    if (!(rounded > value))
        return rounded;
    // One step lower. Rounding once more puts the result on the multiple's exact decimal
    // form instead of carrying the binary noise of the subtraction.
    return ObjectExportRoundTo(rounded - std::fabs(step), step);
}

double roundWithinTolerance(double value, double step, double up, double down)
{
    const double low = value - down;
    const double high = value + up;
    double clamped = value;
    if (high < clamped)
        clamped = high;
    if (clamped < low)
        clamped = low;

    const double upper = ObjectExportRoundUp(clamped, step, up);
    const double lower = floorToStep(clamped, step);
    const double upperDistance = upper - value;
    const double lowerDistance = value - lower;

    const bool lowerFits = lowerDistance <= down && lower >= low;
    const bool upperFits = upperDistance <= up && upper <= high;
    if (lowerDistance <= upperDistance)
    {
        if (lowerFits)
            return lower;
        if (upperFits)
            return upper;
    }
    else
    {
        if (upperFits)
            return upper;
        if (lowerFits)
            return lower;
    }
    return clamped;
}

Kdr_Array<double> widthsForThickness(const Kdr_Array<double>& firsts, const Kdr_Array<double>& seconds,
                                     double thickness)
{
    Kdr_Array<double> widths;
    const int count = firsts.length() < seconds.length() ? firsts.length() : seconds.length();
    for (int i = 0; i < count; ++i)
        if (seconds[i] == 0.0 || seconds[i] == thickness)
            widths.append(firsts[i]);
    ObjectExportSort(widths);
    return widths;
}
