#include "standards/StandardsTimers.h"

Kdr_Timer gInitMapping("gInitMapping", false);
Kdr_Timer gInitFromMacro("gInitFromMacro", false);
