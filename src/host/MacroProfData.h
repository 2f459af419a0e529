#pragma once

#include "host/Kdr_String.h"

#include <array>

/// The properties that the members of one member group share, merged into one record.
struct MacroProfProps
{
    Kdr_String memberName;
    /// Full system name of the section ("IPE-200").
    Kdr_String section;
    Kdr_String material;
    int offsetType = 0;
    /// Rotation in degrees as text ("0", "90", …).
    Kdr_String rotation = "0";

    bool operator==(const MacroProfProps& other) const = default;
};

/// A member (profile) group of a macro dialog tab with its merged properties.
struct MacroProfData
{
    Kdr_String groupName;
    MacroProfProps merged;
    /// False when the group's members differ too much to be edited as one.
    bool mergeable = true;
    /// Dialog references of the section, member name, offset type, rotation and details
    /// controls.
    std::array<int, 5> dlgRefs{0, 0, 0, 0, 0};

    bool operator==(const MacroProfData& other) const = default;
};
