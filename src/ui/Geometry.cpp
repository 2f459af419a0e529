#include "ui/Geometry.h"

namespace ui
{
namespace
{
// The platform's multiply-divide: value × numerator ÷ denominator, rounded half away from zero.
int mulDiv(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}
} // namespace

int dialogUnitsToPixelsX(int units)
{
    return mulDiv(units, 6, 4);
}
int dialogUnitsToPixelsY(int units)
{
    return mulDiv(units, 13, 8);
}

Rect dialogUnitsToPixels(const Rect& units)
{
    return Rect(dialogUnitsToPixelsX(units.left), dialogUnitsToPixelsY(units.top),
                dialogUnitsToPixelsX(units.right), dialogUnitsToPixelsY(units.bottom));
}
} // namespace ui
