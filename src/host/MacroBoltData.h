#pragma once

#include "host/Kdr_StringArray.h"

#include <array>
#include <vector>

/// A column of holes that can take part in a bolt group.
struct MacroHoleColumn
{
    Kdr_String name;
    bool checked = true;
    bool operator==(const MacroHoleColumn& other) const = default;
};

/// A slotted hole setting of a bolt group.
struct MacroBoltSlot
{
    bool active = false;
    Kdr_String radius;
    Kdr_String length;
    Kdr_String angle;
    Kdr_String fourth;
    /// Index of the slot kind; -1 selects the last kind.
    int kind = -1;
    bool operator==(const MacroBoltSlot& other) const = default;
};

/// The bolt data of a bolt tab: assembly and diameter, lengths and hole offset, the bolt
/// flags, nut and washer switches, hole columns and slotted holes.
struct MacroBoltData
{
    /// Number of bolt data texts a template can show (see text()).
    static constexpr int kTextCount = 5;

    Kdr_String assembly;
    Kdr_String diameter;
    Kdr_String penetrationLength;
    Kdr_String addedLength;
    /// The hole offset (the hole's tolerance over the bolt diameter).
    Kdr_String holeOffset;
    /// Tapped, reversed, countersunk, bolted in the workshop: 0 off, 1 on, 2 mixed.
    std::array<int, 4> flags{0, 0, 0, 0};
    bool extraFlag = false;
    bool extraFlagApplies = false;
    /// Nut 1, nut 2, washer 1, washer 2, washers: -1 not applicable, 0 off, 1 on.
    std::array<int, 5> switches{-1, -1, -1, -1, -1};
    std::vector<MacroHoleColumn> holeColumns;
    std::vector<MacroBoltSlot> slots;
    /// Dialog references of the five texts.
    std::array<int, kTextCount> dlgRefs{0, 0, 0, 0, 0};

    /// Bolt data text 1 to 5: assembly, diameter, penetration length, added length, hole
    /// offset. Null for any other number.
    Kdr_String* text(int number);
    const Kdr_String* text(int number) const { return const_cast<MacroBoltData*>(this)->text(number); }

    const std::vector<MacroHoleColumn>& getHoleColumns() const { return holeColumns; }
    void setHoleColumns(const std::vector<MacroHoleColumn>& columns) { holeColumns = columns; }

    bool operator==(const MacroBoltData& other) const = default;
};
