#include "standards/MacroValueAccess.h"

#include "host/Kdr_BoltModule.h"
#include "host/Kdr_Macro.h"
#include "host/MacroAccess.h"
#include "host/MacroData.h"

#include <cmath>

namespace standards
{
MacroTabData* findModuleTab(MacroData* data, const Kdr_Module* module)
{
    if (!data || !module)
        return nullptr;
    int index = -1;
    MacroTabData* tab = nullptr;
    if (!data->findTab(module->groupOrName(), index) || !data->getTab(index, tab))
        return nullptr;
    return tab;
}

bool isWritableNumber(const Kdr_String& value)
{
    // A number too large for a double ("1" and 400 zeros) reads as a number but is none.
    return value.isNumber() && std::isfinite(value.toDouble());
}

Acad::ErrorStatus accessDialogVariable(MacroTabData* tab, Kdr_Module* module, const Kdr_String& name,
                                       Kdr_String& value, bool get)
{
    if (!get)
    {
        if (!isWritableNumber(value))
            return Acad::eInvalidInput;
        bool fixed = false;
        bool flexible = true;
        if (tab && tab->getFlexFixBtnStatus(name, fixed, flexible) && (!fixed || flexible))
            tab->flexFixBtnClicked(name, false);
    }
    return getSetConstrVarValue(module, name, value, get) == Acad::eOk ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus accessCutValue(Kdr_Module* module, const Kdr_String& cutName, int offsetType,
                                 Kdr_String& value, bool get)
{
    if (!get && !isWritableNumber(value))
        return Acad::eInvalidInput;
    Kdr_Cut* cut = nullptr;
    if (getCutConstraint(module, cutName, cut) != Acad::eOk)
        return Acad::eInvalidInput;
    double number = get ? 0.0 : value.toDouble();
    if (getSetCutValue(module, cut, offsetType, number, get) != Acad::eOk)
        return Acad::eInvalidInput;
    if (get)
        value = Kdr_String(number, 7, false);
    return Acad::eOk;
}

Acad::ErrorStatus accessBoltData(MacroTabData* tab, bool diameter, Kdr_String& value, bool get)
{
    MacroBoltData* bolts = nullptr;
    if (!tab || !tab->getBoltData(bolts))
        return Acad::eInvalidInput;
    Kdr_String& text = diameter ? bolts->diameter : bolts->holeOffset;
    if (get)
    {
        value = text;
        return Acad::eOk;
    }
    if (!isWritableNumber(value))
        return Acad::eInvalidInput;
    text = value;
    return Acad::eOk;
}

Acad::ErrorStatus accessMemberGroup(MacroTabData* tab, const Kdr_String& group, Kdr_String& value, bool get)
{
    MacroProfProps props;
    if (!tab || !tab->getMergedPropsOfGroup(group, props))
        return Acad::eInvalidInput;
    if (get)
    {
        value = props.memberName;
        return Acad::eOk;
    }
    props.memberName = value;
    return tab->setMergedPropsOfGroup(group, props) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus accessReverseStart(Kdr_Module* module, const Kdr_String& patternName, bool direction1,
                                     Kdr_String& value, bool get, AcTransaction* tr)
{
    if (!module || module->classNumber() != Kdr_BoltModule::kClassNumber)
        return Acad::eInvalidInput;
    if (!get && !isWritableNumber(value))
        return Acad::eInvalidInput;
    int id = 0;
    if (findPattern(module, patternName, id, tr) != Acad::eOk)
        return Acad::eInvalidInput;
    // Symmetric on purpose: what a read gives, a write of the same text sets again, so a
    // sheet that passes the flag through leaves the pattern as it was.
    bool flag = !get && value.toDouble() == 1.0;
    if (getSetBoltPatternReverses(module, id, direction1, get, flag, tr) != Acad::eOk)
        return Acad::eInvalidInput;
    if (get)
        value = flag ? "1" : "0";
    return Acad::eOk;
}

Acad::ErrorStatus accessGeneralVariable(Kdr_Macro& macro, const Kdr_String& name, int precision,
                                        Kdr_String& value, bool get)
{
    if (get)
    {
        value = Kdr_String(macro.generalVariableValue(name), precision, false);
        return Acad::eOk;
    }
    if (!isWritableNumber(value))
        return Acad::eInvalidInput;
    return macro.setGeneralVariable(name, value.toDouble()) == Acad::eOk ? Acad::eOk : Acad::eInvalidInput;
}
} // namespace standards
