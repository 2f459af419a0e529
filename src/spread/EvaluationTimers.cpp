#include "spread/EvaluationTimers.h"

Kdr_Timer gLoadFile("gLoadFile");
Kdr_Timer gInitSSForInput("gInitSSForInput");
Kdr_Timer gSSSGetFromMacro("gSSSGetFromMacro");
Kdr_Timer gSetMacroValuelsToSS("gSetMacroValuelsToSS");
Kdr_Timer gSSSreplaceGenVars("gSSSreplaceGenVars");
Kdr_Timer gCalcMain("gCalcMain");
Kdr_Timer gSetToMacro("gSetToMacro");
Kdr_Timer gGetFromVars("gGetFromVars");
Kdr_Timer gCalcChild("gCalcChild");
Kdr_Timer gSetToVars("gSetToVars");
Kdr_Timer gRegisterFuntions("gRegisterFuntions");
Kdr_Timer gFindDuplicates("gFindDuplicates");
Kdr_Timer gCalcCells("gCalcCells");
Kdr_Timer gCalcCellSplitSymbol("gCalcCellSplitSymbol");
Kdr_Timer gCalcCellFindVarCell("gCalcCellFindVarCell");
Kdr_Timer gCalcCellFindFunctions("gCalcCellFindFunctions");
Kdr_Timer gCalcCellCalcNativeFunctions("gCalcCellCalcNativeFunctions");
Kdr_Timer gCalcCellCalcFunctionsPrepare("gCalcCellCalcFunctionsPrepare");
Kdr_Timer gCalcCellCalcFunctions("gCalcCellCalcFunctions");
Kdr_Timer gCalcCellGetVarNames("gCalcCellGetVarNames");
Kdr_Timer gCalcCellGetVarCoords("gCalcCellGetVarCoords");
Kdr_Timer gCalcCellGetVarCoordName("gCalcCellGetVarCoordName");
Kdr_Timer gCalcCellReplaceVariables("gCalcCellReplaceVariables");

const Kdr_Array<Kdr_Timer*>& evaluationTimers()
{
    static const Kdr_Array<Kdr_Timer*> timers{
        &gLoadFile,
        &gInitMapping,
        &gInitFromMacro,
        &gInitSSForInput,
        &gSSSGetFromMacro,
        &gSetMacroValuelsToSS,
        &gSSSreplaceGenVars,
        &gCalcMain,
        &gSetToMacro,
        &gGetFromVars,
        &gCalcChild,
        &gSetToVars,
        &gRegisterFuntions,
        &gFindDuplicates,
        &gCalcCells,
        &gCalcCellSplitSymbol,
        &gCalcCellFindVarCell,
        &gCalcCellFindFunctions,
        &gCalcCellCalcNativeFunctions,
        &gCalcCellCalcFunctionsPrepare,
        &gCalcCellCalcFunctions,
        &gCalcCellGetVarNames,
        &gCalcCellGetVarCoords,
        &gCalcCellGetVarCoordName,
        &gCalcCellReplaceVariables,
    };
    return timers;
}

void resetEvaluationTimers()
{
    for (Kdr_Timer* timer : evaluationTimers())
        timer->reset();
}
