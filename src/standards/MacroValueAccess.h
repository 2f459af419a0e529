#pragma once

// The macro accesses shared by bindings and by module-group names: each reads (get true) or
// writes one value of a module's tab or of the module itself.

#include "host/ErrorStatus.h"
#include "host/Kdr_String.h"

class AcTransaction;
class Kdr_Macro;
class Kdr_Module;
class MacroData;
class MacroTabData;

namespace standards
{
/// The tab of a module: the tab named by its group name, or by its own name without a group.
MacroTabData* findModuleTab(MacroData* data, const Kdr_Module* module);

/// A dialog variable of the module. A write first fixes the variable when its flex/fix
/// button shows it flexible, so that the macro keeps the value it is given.
Acad::ErrorStatus accessDialogVariable(MacroTabData* tab, Kdr_Module* module, const Kdr_String& name,
                                       Kdr_String& value, bool get);

/// Value `offsetType` (0…8) of the module's cut `cutName`; read with 7 decimals.
Acad::ErrorStatus accessCutValue(Kdr_Module* module, const Kdr_String& cutName, int offsetType,
                                 Kdr_String& value, bool get);

/// The bolt diameter or hole offset text of the tab's bolt data.
Acad::ErrorStatus accessBoltData(MacroTabData* tab, bool diameter, Kdr_String& value, bool get);

/// The member name in the merged properties of the tab's member group `group`.
Acad::ErrorStatus accessMemberGroup(MacroTabData* tab, const Kdr_String& group, Kdr_String& value, bool get);

/// The reverse-start flag of direction 1 or 2 of the bolt module's pattern `patternName`.
/// A set flag reads "1", an unset flag "0"; a write sets the flag for a value of 1 and clears
/// it for 0. A value that is not a number is refused.
Acad::ErrorStatus accessReverseStart(Kdr_Module* module, const Kdr_String& patternName, bool direction1,
                                     Kdr_String& value, bool get, AcTransaction* tr);

/// A general variable of the macro, read with `precision` decimals. A write needs a number.
Acad::ErrorStatus accessGeneralVariable(Kdr_Macro& macro, const Kdr_String& name, int precision,
                                        Kdr_String& value, bool get);

/// True when a value may be written into a numeric macro variable: a write of a text that is
/// not a number (an error value of the sheet, an empty cell) would store garbage or zero.
bool isWritableNumber(const Kdr_String& value);
} // namespace standards
