#pragma once

#include "host/AcDbObjectId.h"
#include "host/AcTransaction.h"
#include "host/ErrorStatus.h"
#include "host/Kdr_Array.h"
#include "host/Kdr_BoltPattern.h"
#include "host/Kdr_StringArray.h"

#include <vector>

class Kdr_DbMacro;
class Kdr_Macro;
class Kdr_Module;
class MacroTabData;
struct Kdr_Cut;

// Reading and writing one value of a macro. Every call returns eOk when the value was read
// or written and eInvalidInput otherwise; a refused call changes nothing (outputs included).
// Values travel as text; a write of a numeric value refuses a text that is not a number.
// A null transaction reads the objects directly.

/// Opens the module named `moduleName` of `macro` for write. Module names are unique within
/// a macro, so `position` (the module's place in its group) only documents the caller's loop.
Acad::ErrorStatus openModule(Kdr_Macro* macro, const Kdr_String& moduleName, Kdr_Module*& module,
                             int position);

/// Names of the module's dialog variables with their visible and settable flags, in order.
Acad::ErrorStatus getDialogVariables(const Kdr_Module* module, Kdr_StringArray& names,
                                     std::vector<bool>& visible, std::vector<bool>& settable);
/// Reads or writes a dialog variable. A write needs a number (the value is stored trimmed)
/// and a settable variable.
Acad::ErrorStatus getSetConstrVarValue(Kdr_Module* module, const Kdr_String& name, Kdr_String& value,
                                       bool get);

/// Names and cut types of the module's cuts, in order.
Acad::ErrorStatus getCutConstraints(const Kdr_Module* module, Kdr_StringArray& names, AcArray<int>& cutTypes);
/// The cut named `name` of the module.
Acad::ErrorStatus getCutConstraint(Kdr_Module* module, const Kdr_String& name, Kdr_Cut*& cut);
/// The offset types (values 0 to 8) a cut type offers: 0 {0}, 1 {0,1}, 2 {0,2}, 3 {0,3},
/// 4 {4,5}, 5 {0,6,7}, 6 {0,8}, 7 {0,...,8}. eInvalidInput for another cut type.
Acad::ErrorStatus getCutOffsets(int cutType, AcArray<int>& offsetTypes);
/// Reads or writes value `offsetType` (0 to 8) of a cut of the module. A write needs a
/// finite number.
Acad::ErrorStatus getSetCutValue(Kdr_Module* module, Kdr_Cut* cut, int offsetType, double& value, bool get);

/// Ids of the patterns of a bolt module, in order.
Acad::ErrorStatus getPatternIds(const Kdr_Module* module, AcArray<int>& ids);
/// A copy of the pattern with id `id` of a bolt module.
Acad::ErrorStatus getPattern(int id, const Kdr_Module* module, Kdr_BoltPattern& pattern, AcTransaction* tr);
/// The id of the pattern named `name` of a bolt module.
Acad::ErrorStatus findPattern(const Kdr_Module* module, const Kdr_String& name, int& id, AcTransaction* tr);
/// Reads or writes a bolt count text of the tab's pattern `patternName`, direction 1 or 2.
/// Direction 2 of a pattern without a second direction is refused. A written count must be
/// a whole number of at least 1; it is stored as such ("3.0000000" is stored as "3").
Acad::ErrorStatus getSetNrBolts(MacroTabData* tab, const Kdr_String& patternName, Kdr_String& value, bool get,
                                bool direction1);
/// Reads or writes the reverse-start flag of direction 1 or 2 of pattern `id` of a bolt
/// module. A read gives the flag as it is; a written flag reads back the same. Direction 2
/// of a pattern without a second direction is refused.
Acad::ErrorStatus getSetBoltPatternReverses(Kdr_Module* module, int id, bool direction1, bool get, bool& flag,
                                            AcTransaction* tr);

/// The id of the member placement named `name` of a profile-placement module.
Acad::ErrorStatus getNamedPrpl(const Kdr_Module* module, const Kdr_String& name, AcDbObjectId& id);
/// The id of base profile `index` (from 0) of a macro.
Acad::ErrorStatus getBaseProf(const Kdr_DbMacro* macro, int index, AcDbObjectId& id);
/// The section (full system name) of a profile placement or base profile.
Acad::ErrorStatus getSectionName(const AcDbObjectId& id, Kdr_String& section, AcTransaction* tr);
/// The material of a profile placement or base profile.
Acad::ErrorStatus getMaterial(const AcDbObjectId& id, Kdr_String& material, AcTransaction* tr);

/// Property `index` (from 0, counting the property columns of the section's table) of a
/// section, from the host's section tables.
Acad::ErrorStatus getSectionValue(const Kdr_String& section, int index, Kdr_String& value);
/// The property names of a section's table, in column order.
Acad::ErrorStatus getSectionColumnNames(const Kdr_String& section, Kdr_StringArray& names);
