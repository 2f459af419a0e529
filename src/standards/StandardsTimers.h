#pragma once

#include "host/Kdr_Timer.h"

/// Time spent setting up the mapping of an evaluation (first half of ZxVarCells::getFromMacro).
extern Kdr_Timer gInitMapping;
/// Time spent filling the variable cells from the macro (second half of getFromMacro).
extern Kdr_Timer gInitFromMacro;
