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

Window* mouseTarget(Window& origin, Point screenPoint)
{
    if (Window* capture = Window::GetCapture())
        return capture;
    Window* window = origin.GetTopLevelParent();
    Point local = screenPoint;
    window->ScreenToClient(local);
    if (window->ChildWindowFromPoint(local) == nullptr)
        return nullptr;
    for (;;)
    {
        Point inWindow = screenPoint;
        window->ScreenToClient(inWindow);
        Window* child = window->ChildWindowFromPoint(inWindow, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (child == nullptr || child == window)
            return window;
        window = child;
    }
}

WindowHandle sendMouseMessage(Window& origin, unsigned message, Point clientPoint, unsigned keyFlags)
{
    DispatchScope scope;
    Point screen = clientPoint;
    origin.ClientToScreen(screen);
    setCursorPosition(screen);
    Window* target = mouseTarget(origin, screen);
    if (target == nullptr)
        return 0;
    const WindowHandle handle = target->GetSafeHwnd();
    if (Window::GetCapture() == nullptr)
    {
        target->SendMessage(WM_SETCURSOR, handle,
                            MAKELPARAM(static_cast<int>(HTCLIENT), static_cast<int>(message)));
        target = Window::FromHandle(handle);
        if (target == nullptr)
            return 0;
    }
    Point local = screen;
    target->ScreenToClient(local);
    Message mouse{target, message, keyFlags, MAKELPARAM(local.x, local.y)};
    dispatchInput(mouse);
    return handle;
}
} // namespace ui
