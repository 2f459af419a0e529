#pragma once

// Colours as the platform passes them: 0x00BBGGRR, built with RGB(). The system colours
// below are the fixed values of the headless desktop, so that display lists are the same on
// every machine; a renderer may map the COLOR_… indices to its own theme.

#include <cstdint>

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int red, int green, int blue)
{
    return static_cast<COLORREF>(red & 0xFF) | (static_cast<COLORREF>(green & 0xFF) << 8) |
           (static_cast<COLORREF>(blue & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF colour)
{
    return static_cast<int>(colour & 0xFF);
}
constexpr int GetGValue(COLORREF colour)
{
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF colour)
{
    return static_cast<int>((colour >> 16) & 0xFF);
}

// System colour indices.
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;

/// The colour of a system colour index on the headless desktop (black for unknown indices).
constexpr COLORREF GetSysColor(int index)
{
    switch (index)
    {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_HIGHLIGHT:
        return RGB(0, 120, 215);
    case COLOR_BTNFACE:
        return RGB(240, 240, 240);
    case COLOR_BTNSHADOW:
        return RGB(160, 160, 160);
    case COLOR_GRAYTEXT:
        return RGB(109, 109, 109);
    default:
        return RGB(0, 0, 0);
    }
}
