#include "ui/Cursor.h"

#include <array>
#include <utility>

namespace ui
{
namespace
{
Cursor gCursor = Cursor::Arrow;
Point gPosition;

constexpr std::array<std::pair<Cursor, const char*>, 14> kNames{{
    {Cursor::Arrow, "arrow"},
    {Cursor::IBeam, "i-beam"},
    {Cursor::Wait, "wait"},
    {Cursor::Cross, "cross"},
    {Cursor::UpArrow, "up-arrow"},
    {Cursor::SizeNWSE, "size-nwse"},
    {Cursor::SizeNESW, "size-nesw"},
    {Cursor::SizeWE, "size-we"},
    {Cursor::SizeNS, "size-ns"},
    {Cursor::SizeAll, "size-all"},
    {Cursor::No, "no"},
    {Cursor::Hand, "hand"},
    {Cursor::AppStarting, "app-starting"},
    {Cursor::Help, "help"},
}};
} // namespace

Cursor currentCursor()
{
    return gCursor;
}

Point cursorPosition()
{
    return gPosition;
}

void setCursorPosition(Point screenPoint)
{
    gPosition = screenPoint;
}

const char* cursorName(Cursor cursor)
{
    for (const auto& [shape, name] : kNames)
        if (shape == cursor)
            return name;
    return "arrow";
}
} // namespace ui

HCURSOR LoadStandardCursor(int idc)
{
    for (const auto& [shape, name] : ui::kNames)
        if (static_cast<int>(shape) == idc)
            return shape;
    return ui::Cursor::Arrow;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    const ui::Cursor previous = ui::gCursor;
    ui::gCursor = cursor;
    return previous;
}
