#include "spread/StandardsMessages.h"

#include "host/Settings.h"

Kdr_String toleranceErrorText(double down, double up)
{
    return Kdr_String::format("Invalid tolerances provided.\n DownTolerance is :%.2fUpTolerance is :%.2f\n"
                              "Adding both tolerances should result in a positive value.",
                              down, up);
}

void showToleranceError(double down, double up)
{
    if (!gSettings.showSpreadsheetErrors())
        return;
    (void)toleranceErrorText(down, up);
}
