#pragma once

#include "host/Kdr_String.h"

#include <array>
#include <vector>

/// One entry of an irregular array: its text (a distance) and where a dialog shows it.
struct DynArrayEntry
{
    Kdr_String text;
    /// Dialog reference (see MacroCellData::dlgRef).
    int dlgRef = 0;

    bool operator==(const DynArrayEntry& other) const = default;
};

/// An array of a macro dialog tab: a row of repeated parts laid out either regularly (mode 1:
/// a count and a spacing) or by a list of entries (any other mode). Its five texts are what a
/// dialog shows of it; the third (the count) applies to regular arrays only.
struct DynArrayData
{
    /// Number of array texts a template can show.
    static constexpr int kTextCount = 5;
    /// The mode of a regular array.
    static constexpr int kRegular = 1;

    Kdr_String name;
    int mode = kRegular;
    std::array<Kdr_String, kTextCount> texts;
    std::vector<DynArrayEntry> entries;
    /// Dialog references of the five texts and of the array's button.
    std::array<int, kTextCount> dlgRefs{0, 0, 0, 0, 0};
    int buttonRef = 0;

    /// Array text 1 to 5; null for any other number.
    Kdr_String* text(int number)
    {
        return number >= 1 && number <= kTextCount ? &texts[static_cast<std::size_t>(number - 1)] : nullptr;
    }
    /// The entry at `index`; false for an index outside the list.
    bool getEntry(int index, DynArrayEntry*& entry)
    {
        if (index < 0 || index >= static_cast<int>(entries.size()))
            return false;
        entry = &entries[static_cast<std::size_t>(index)];
        return true;
    }
    void clearDlgReferences()
    {
        dlgRefs.fill(0);
        buttonRef = 0;
        for (DynArrayEntry& entry : entries)
            entry.dlgRef = 0;
    }

    bool operator==(const DynArrayData& other) const = default;
};

/// A cut of a macro dialog tab: the end treatment of a member, as the index of the cut types
/// (0 none, 1 straight, 2 mitred, 3 coped, 4 mixed).
struct MacroCutData
{
    Kdr_String name;
    int value = 0;
    /// Dialog reference (see MacroCellData::dlgRef).
    int dlgRef = 0;

    bool operator==(const MacroCutData& other) const = default;
};
