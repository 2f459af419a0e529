#include "spread/EvaluationTimers.h"

// The timers only count until their times are asked for (setEvaluationTimersMeasuring): the
// steps of one equation run thousands of times in one evaluation, and reading the clock
// around each would cost more than some of the steps.

Kdr_Timer gLoadFile("gLoadFile", false);
Kdr_Timer gInitSSForInput("gInitSSForInput", false);
Kdr_Timer gSSSGetFromMacro("gSSSGetFromMacro", false);
Kdr_Timer gSetMacroValuelsToSS("gSetMacroValuelsToSS", false);
Kdr_Timer gSSSreplaceGenVars("gSSSreplaceGenVars", false);
Kdr_Timer gCalcMain("gCalcMain", false);
Kdr_Timer gSetToMacro("gSetToMacro", false);
Kdr_Timer gGetFromVars("gGetFromVars", false);
Kdr_Timer gCalcChild("gCalcChild", false);
Kdr_Timer gSetToVars("gSetToVars", false);
Kdr_Timer gRegisterFuntions("gRegisterFuntions", false);
Kdr_Timer gFindDuplicates("gFindDuplicates", false);
Kdr_Timer gCalcCells("gCalcCells", false);
Kdr_Timer gCalcCellSplitSymbol("gCalcCellSplitSymbol", false);
Kdr_Timer gCalcCellFindVarCell("gCalcCellFindVarCell", false);
Kdr_Timer gCalcCellFindFunctions("gCalcCellFindFunctions", false);
Kdr_Timer gCalcCellCalcNativeFunctions("gCalcCellCalcNativeFunctions", false);
Kdr_Timer gCalcCellCalcFunctionsPrepare("gCalcCellCalcFunctionsPrepare", false);
Kdr_Timer gCalcCellCalcFunctions("gCalcCellCalcFunctions", false);
Kdr_Timer gCalcCellGetVarNames("gCalcCellGetVarNames", false);
Kdr_Timer gCalcCellGetVarCoords("gCalcCellGetVarCoords", false);
Kdr_Timer gCalcCellGetVarCoordName("gCalcCellGetVarCoordName", false);
Kdr_Timer gCalcCellReplaceVariables("gCalcCellReplaceVariables", false);

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

void setEvaluationTimersMeasuring(bool on)
{
    for (Kdr_Timer* timer : evaluationTimers())
        timer->setMeasuring(on);
}
