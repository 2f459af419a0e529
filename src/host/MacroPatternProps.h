#pragma once

#include "host/Kdr_String.h"

/// A bolt pattern of a macro dialog tab: its name and the count texts of its two directions.
/// A second count of "-1" means the pattern has no second direction.
struct MacroPatternProps
{
    Kdr_String name;
    Kdr_String count1 = "1";
    Kdr_String count2 = "-1";
    /// Dialog references of the first-count control, the second-count control and the
    /// pattern button (see MacroCellData::dlgRef).
    int count1Ref = 0;
    int count2Ref = 0;
    int buttonRef = 0;

    bool hasSecondDirection() const { return getCount(count2) != -1; }

    /// The number of bolts a count text gives: the whole number it starts with (blanks
    /// skipped), or -1 when it starts with none.
    static int getCount(const Kdr_String& text);

    bool operator==(const MacroPatternProps& other) const = default;
};
