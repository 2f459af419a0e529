#pragma once

#include "ui/Geometry.h"
#include "ui/WinDefs.h"

namespace ui
{
/// The standard cursor shapes; each value is the platform's IDC_… number of that shape.
enum class Cursor
{
    Arrow = IDC_ARROW,
    IBeam = IDC_IBEAM,
    Wait = IDC_WAIT,
    Cross = IDC_CROSS,
    UpArrow = IDC_UPARROW,
    SizeNWSE = IDC_SIZENWSE,
    SizeNESW = IDC_SIZENESW,
    SizeWE = IDC_SIZEWE,
    SizeNS = IDC_SIZENS,
    SizeAll = IDC_SIZEALL,
    No = IDC_NO,
    Hand = IDC_HAND,
    AppStarting = IDC_APPSTARTING,
    Help = IDC_HELP,
};

/// The cursor shown now (the arrow at start). A renderer shows it over its windows; tests read it.
Cursor currentCursor();
/// Where the pointer is, in screen coordinates: the point of the last mouse message delivered.
Point cursorPosition();
void setCursorPosition(Point screenPoint);
/// The name of a cursor shape ("arrow", "size-we", …), for messages and logs.
const char* cursorName(Cursor cursor);
} // namespace ui

/// A cursor as the platform hands it out: here simply its shape.
using HCURSOR = ui::Cursor;

/// The standard cursor with an IDC_… number; the arrow for a number that names none.
HCURSOR LoadStandardCursor(int idc);
/// Where the pointer is, in screen coordinates.
inline bool GetCursorPos(ui::Point* point)
{
    if (point == nullptr)
        return false;
    *point = ui::cursorPosition();
    return true;
}
/// Shows `cursor`; returns the one shown before.
HCURSOR SetCursor(HCURSOR cursor);
