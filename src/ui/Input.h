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
} // namespace ui
