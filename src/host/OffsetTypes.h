#pragma once

#include "host/Kdr_StringArray.h"

// The host's offset types of a member: where the member lies relative to its system line.

/// The names of the offset types as a dialog offers them, in list order.
void getOffsetTypeStrings(Kdr_StringArray& names);
/// The list index (see getOffsetTypeStrings) of a member's offset type; -1 for a value that
/// is no offset type.
int getDlgOffsetType(int offsetType);
