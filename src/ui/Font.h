#pragma once

#include <string>

namespace ui
{
/// A font as a window or control carries it. Height is in logical units (pixels); a
/// negative height means the character height, as the platform's fonts have it.
struct Font
{
    std::string faceName = "MS Sans Serif";
    int height = 8;
    int weight = 400;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const Font&, const Font&) = default;
};
} // namespace ui
