#include "standards/StandardsTimers.h"

Kdr_Timer gInitMapping("gInitMapping");
Kdr_Timer gInitFromMacro("gInitFromMacro");
