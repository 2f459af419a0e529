#include "spread/StandardsMessages.h"

#include "host/Settings.h"
#include "ui/UserAgent.h"
#include "ui/WinDefs.h"

Kdr_String toleranceErrorText(double down, double up)
{
    // Written with exactly two decimals, never as "-0.00".
    return Kdr_String("Invalid tolerances provided.\n DownTolerance is :") +
           host::formatFixed(down, 2, true) + "UpTolerance is :" + host::formatFixed(up, 2, true) +
           "\nAdding both tolerances should result in a positive value.";
}

void showToleranceError(double down, double up)
{
    if (!gSettings.showSpreadsheetErrors())
        return;
    AfxMessageBox(toleranceErrorText(down, up), MB_OK | MB_ICONEXCLAMATION);
}
