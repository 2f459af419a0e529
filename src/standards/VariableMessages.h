#pragma once

#include "host/Kdr_String.h"

/// The text of the warning about a sheet variable that could not be read from (Input) or
/// written into (Output) the macro.
Kdr_String variableErrorText(bool isInput, const Kdr_String& name, const Kdr_String& sheetName);

/// Shows the variable warning in a message box with an OK button, when the host's setting
/// for spreadsheet error messages is on. Nothing happens otherwise.
void showVariableError(bool isInput, const Kdr_String& name, const Kdr_String& sheetName);
