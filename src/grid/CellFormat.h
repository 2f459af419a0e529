#pragma once

#include <cstdint>
#include <string>

namespace grid
{
/// A colour as the controls take it: 0x00BBGGRR, or a system colour with the high bit set
/// (0x8000000B). kDefaultColor means "not set": the control's own colour is used.
using Color = std::uint32_t;
inline constexpr Color kDefaultColor = 0xFFFFFFFFu;

/// A font: face name, height in pixels and weight (400 normal, 700 bold).
struct Font
{
    std::string face = "Tahoma";
    int height = 13;
    int weight = 400;

    bool bold() const { return weight >= 600; }
    bool operator==(const Font&) const = default;
};

/// Borders of a cell: which sides (mask bits: 1 left, 2 right, 4 top, 8 bottom, 16 outline
/// of a span), line style and colour. A zero mask means no border.
struct Border
{
    int mask = 0;
    int style = 0;
    Color color = kDefaultColor;

    bool operator==(const Border&) const = default;
};

/// Everything about a cell's look apart from its type: font, colours, borders, lock, and
/// whether Tab skips the cell.
struct CellFormat
{
    Font font;
    Color foreground = kDefaultColor;
    Color background = kDefaultColor;
    Border border;
    bool locked = false;
    bool skip = false;

    bool operator==(const CellFormat&) const = default;
};
} // namespace grid
