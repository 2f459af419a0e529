#include "ui/Input.h"

namespace ui
{
bool preTranslate(Message& message)
{
    DispatchScope scope;
    const WindowHandle target = message.window != nullptr ? message.window->GetSafeHwnd() : 0;
    for (Window* w = Window::FromHandle(target); w != nullptr;)
    {
        const WindowHandle next =
            w->isChildWindow() && w->GetParent() != nullptr ? w->GetParent()->GetSafeHwnd() : 0;
        if (w->PreTranslateMessage(message))
            return true;
        // A handler may have destroyed windows on the way; continue only with live ones.
        w = Window::FromHandle(next);
    }
    return false;
}

bool dispatchInput(Message& message)
{
    DispatchScope scope;
    if (message.window == nullptr)
        return false;
    const WindowHandle target = message.window->GetSafeHwnd();
    if (preTranslate(message))
        return true;
    if (Window* w = Window::FromHandle(target))
        w->SendMessage(message.message, message.wParam, message.lParam);
    return false;
}
} // namespace ui
