#pragma once

// The accumulating timers of the standards evaluation, one per step, so that the host can
// report where the time of an evaluation goes. gInitMapping and gInitFromMacro live with the
// variable cells.

#include "host/Kdr_Array.h"
#include "host/Kdr_Timer.h"
#include "standards/StandardsTimers.h"

extern Kdr_Timer gLoadFile;
extern Kdr_Timer gInitSSForInput;
extern Kdr_Timer gSSSGetFromMacro;
extern Kdr_Timer gSetMacroValuelsToSS;
extern Kdr_Timer gSSSreplaceGenVars;
extern Kdr_Timer gCalcMain;
extern Kdr_Timer gSetToMacro;
extern Kdr_Timer gGetFromVars;
extern Kdr_Timer gCalcChild;
extern Kdr_Timer gSetToVars;
extern Kdr_Timer gRegisterFuntions;
extern Kdr_Timer gFindDuplicates;
extern Kdr_Timer gCalcCells;
extern Kdr_Timer gCalcCellSplitSymbol;
extern Kdr_Timer gCalcCellFindVarCell;
extern Kdr_Timer gCalcCellFindFunctions;
extern Kdr_Timer gCalcCellCalcNativeFunctions;
extern Kdr_Timer gCalcCellCalcFunctionsPrepare;
extern Kdr_Timer gCalcCellCalcFunctions;
extern Kdr_Timer gCalcCellGetVarNames;
extern Kdr_Timer gCalcCellGetVarCoords;
extern Kdr_Timer gCalcCellGetVarCoordName;
extern Kdr_Timer gCalcCellReplaceVariables;

/// All 25 timers of the evaluation, in pipeline order.
const Kdr_Array<Kdr_Timer*>& evaluationTimers();
/// Resets every timer of the evaluation.
void resetEvaluationTimers();
/// Makes every timer of the evaluation time its steps (on) or only count them (off, the
/// default: no clock is read).
void setEvaluationTimersMeasuring(bool on);
