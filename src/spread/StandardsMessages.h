#pragma once

// Messages of the steel spreadsheet functions.

#include "host/Kdr_String.h"

/// The text of the warning about a tolerance window that is empty or inverted.
Kdr_String toleranceErrorText(double down, double up);

/// Warns that the tolerances `down` and `up` do not open a window (their sum is not
/// positive), in a message box with an OK button, when the host's setting for spreadsheet
/// error messages is on. Nothing happens otherwise.
void showToleranceError(double down, double up);
