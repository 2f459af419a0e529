#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_StringArray.h"
#include "standards/ZxVarCells.h"

class Kdr_DbMacro;
class AcTransaction;
class MacroData;

/// The request and result of one standards evaluation, and the record through which every
/// macro access of the evaluation learns its macro, transaction and target.
class ZxDlgStandardsData
{
public:
    /// Values come from and go to the macro.
    static constexpr int kMainRun = 0;
    /// Values come from and go to varCells by position (a child sheet).
    static constexpr int kChildRun = 1;

    ZxDlgStandardsData() = default;
    virtual ~ZxDlgStandardsData() = default;
    ZxDlgStandardsData(const ZxDlgStandardsData&) = default;
    ZxDlgStandardsData& operator=(const ZxDlgStandardsData&) = default;

    /// Sets up a main run on `dbMacro` with the sheet `fileName` and the mapping `target`.
    /// A target "Module.<group>" makes the sheet work directly on that module group.
    /// eInvalidInput, and nothing changed, without a macro or dialog data. transaction,
    /// genVarNames, genVarValues and varCells are left as they are.
    Acad::ErrorStatus initialize(Kdr_DbMacro* dbMacro, Kdr_String fileName, Kdr_String target,
                                 MacroData* macroData);

    int mode = kMainRun;
    /// The standards sheet as the caller named it (with or without folder and extension).
    Kdr_String fileName;
    /// Not owned.
    Kdr_DbMacro* dbMacro = nullptr;
    /// The key of the sheet's line in its mapping file, or "Module." + a module group name.
    Kdr_String target;
    /// The group after "Module." in the target; empty for other targets.
    Kdr_String moduleGroup;
    /// The open transaction macro objects are read and written through; not owned.
    AcTransaction* transaction = nullptr;
    /// The macro's dialog data; not owned.
    MacroData* macroData = nullptr;
    /// Names of the general variables ("gen_…") and their values, in the same order.
    Kdr_StringArray genVarNames;
    Kdr_StringArray genVarValues;
    /// Main run: on return the sheet's variable cells with their final values. Child run: on
    /// entry the parent's arguments, on return with the child's outputs filled in.
    ZxVarCells varCells;
};
