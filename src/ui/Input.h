#pragma once

#include "ui/Window.h"

namespace ui
{
/// Offers a keyboard or mouse message to PreTranslateMessage of its window and of each
/// ancestor up to the top-level window; true when one of them consumed it.
bool preTranslate(Message& message);
/// Delivers an input message the way the message loop does: the pre-translate step, then
/// the window's own procedure. True when the pre-translate step consumed it.
bool dispatchInput(Message& message);

/// The window a mouse message at a screen point goes to: the capture window when one holds
/// the capture; otherwise the deepest visible, enabled window under the point within the
/// top-level window of `origin` (a disabled control passes the mouse to its parent, as on the
/// platform); null when the point lies outside that window's client area.
Window* mouseTarget(Window& origin, Point screenPoint);
/// Delivers a mouse message at `clientPoint` of `origin` the way the platform does: without
/// capture the target first hears WM_SETCURSOR, then the message goes through the
/// pre-translate step with the point in the target's client coordinates. `keyFlags` holds
/// MK_… bits. Returns the handle of the window that got it, 0 when none did.
WindowHandle sendMouseMessage(Window& origin, unsigned message, Point clientPoint, unsigned keyFlags);
} // namespace ui
