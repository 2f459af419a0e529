#pragma once

// Choosing a standard size for a wanted value: the nearest listed size within a tolerance
// window, or else a production step within that window. The standard-size functions of the
// spreadsheet (STDSIZEWITHTOLERANCE and its kin) are built on these.

#include "host/Kdr_Array.h"

/// The nearest size of `sizes` to `value` that the window [value - down, value + up] allows.
/// A size equal to the value counts as lying below it. The nearer of the nearest size below
/// and the nearest size above is tried first (below on equal distance), then the other one;
/// among equally near sizes on one side the first listed wins. False when the list is empty
/// or neither candidate fits; `out` is set only on success.
bool pickNearest(const Kdr_Array<double>& sizes, double down, double up, double value, double& out);

/// The largest multiple of |step| that is not greater than `value` (the host's rounding to
/// the nearest multiple, one step lower when that rounded up). A step of 0 gives `value`.
double floorToStep(double value, double step);

/// A multiple of `step` near `value` inside the window [value - down, value + up]: the
/// nearer of the multiple at or below and the multiple at or above the value (clamped into
/// the window first), the lower one on equal distance. When neither fits the window the
/// clamped value itself is returned.
double roundWithinTolerance(double value, double step, double up, double down);

/// The widths a plate of `thickness` can have: the first numbers of every entry whose second
/// number is 0 (a width for any thickness) or equals `thickness` exactly, sorted ascending.
/// `firsts` and `seconds` are the parallel lists of a sizes file.
Kdr_Array<double> widthsForThickness(const Kdr_Array<double>& firsts, const Kdr_Array<double>& seconds,
                                     double thickness);
