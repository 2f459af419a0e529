#include "standards/ZxDlgStandardsData.h"

#include <utility>

Acad::ErrorStatus ZxDlgStandardsData::initialize(Kdr_DbMacro* newMacro, Kdr_String newFileName,
                                                 Kdr_String newTarget, MacroData* newMacroData)
{
    if (!newMacro || !newMacroData)
        return Acad::eInvalidInput;
    Kdr_String group;
    if (newTarget.startsWith("Module.", false))
        newTarget.getSubstrAfter(".", group, false);
    moduleGroup = std::move(group);
    mode = kMainRun;
    fileName = std::move(newFileName);
    target = std::move(newTarget);
    dbMacro = newMacro;
    macroData = newMacroData;
    return Acad::eOk;
}
