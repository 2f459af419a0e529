#include "standards/VariableMessages.h"

#include "host/Settings.h"
#include "ui/UserAgent.h"
#include "ui/WinDefs.h"

Kdr_String variableErrorText(bool isInput, const Kdr_String& name, const Kdr_String& sheetName)
{
    Kdr_String text = "The following ";
    text += isInput ? "Input" : "Output";
    text += " variable couldn't be ";
    text += isInput ? "retrieved" : "set";
    text += " : \n";
    text += name;
    text += "\nMake sure the variable exists in the macro or module.\n";
    text += "Spreadsheet : ";
    text += sheetName;
    return text;
}

void showVariableError(bool isInput, const Kdr_String& name, const Kdr_String& sheetName)
{
    if (!gSettings.showSpreadsheetErrors())
        return;
    AfxMessageBox(variableErrorText(isInput, name, sheetName), MB_OK | MB_ICONEXCLAMATION);
}
