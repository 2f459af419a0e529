#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

// The host's number helpers. Results that are multiples of a decimal step are returned as
// the double nearest to the decimal multiple, so 0.3 rounded to 0.1 is exactly 0.3 and not
// 0.30000000000000004; a quotient within a few units in the last place of a tie or of a
// whole number counts as that tie or whole number.

/// `value` rounded to the nearest multiple of |step|. Ties go away from zero (2.5 to 1 is 3,
/// -2.5 to 1 is -3), so negative values round as the mirror image of positive ones. A step
/// of 0 and a value or step that is not finite give `value` unchanged.
double ObjectExportRoundTo(double value, double step);

/// `value` rounded up (towards +infinity) to a multiple of |step|: -2.3 to 1 gives -2.
/// `tolerance` absorbs measuring noise: a value that lies above a multiple by no more than
/// |tolerance| stays on that multiple. The slack is capped at a millionth of the step, so a
/// large tolerance can never pull the result noticeably below the value. A step of 0 gives
/// `value` unchanged.
double ObjectExportRoundUp(double value, double step, double tolerance);

/// Sorts the first `count` values ascending (count is clamped to the array).
void ObjectExportSort(double* values, int count);
void ObjectExportSort(Kdr_Array<double>& values, int count);
void ObjectExportSort(Kdr_Array<double>& values);
/// Sorts texts in natural order (digit runs by value, letters case-folded): M8 before M10.
void ObjectExportSort(Kdr_StringArray& texts);

/// Inserts `value` into an ascending list directly after the last element that is not
/// greater than it (after equal ones) and returns its index.
int ObjectExportAddToSorted(Kdr_Array<double>& sorted, double value);
/// Inserts `text` into a list kept in natural order (see ObjectExportSort) directly after
/// the last element that does not sort after it, and returns its index.
int ObjectExportAddToSorted(Kdr_StringArray& sorted, const Kdr_String& text);
