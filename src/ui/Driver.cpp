#include "ui/Driver.h"

#include "ui/Button.h"
#include "ui/CheckListComboBox.h"
#include "ui/ComboBox.h"
#include "ui/Dialog.h"
#include "ui/Edit.h"
#include "ui/Input.h"
#include "ui/MessageLoop.h"
#include "ui/Static.h"
#include "ui/TabControl.h"

#include <cstdio>

namespace ui
{
namespace
{
Window* firstVisible(const Window& parent, int id, Window*& anyMatch)
{
    for (Window* c : parent.children())
    {
        if (c->GetDlgCtrlID() == id)
        {
            if (anyMatch == nullptr)
                anyMatch = c;
            if (c->IsWindowVisible())
                return c;
        }
    }
    for (Window* c : parent.children())
        if (Window* found = firstVisible(*c, id, anyMatch))
            return found;
    return nullptr;
}

std::string describe(const char* action, int id)
{
    return std::string(action) + " " + std::to_string(id);
}
} // namespace

Driver::Driver(Window& window, FailureHandler onFailure)
    : window_(window.GetSafeHwnd()), onFailure_(std::move(onFailure))
{
    if (auto* d = dynamic_cast<Dialog*>(&window))
        dialogId_ = d->templateId();
}

Window* Driver::window() const
{
    return Window::FromHandle(window_);
}
Dialog* Driver::dialog() const
{
    return dynamic_cast<Dialog*>(window());
}

Window* Driver::item(int id) const
{
    Window* w = window();
    if (w == nullptr)
        return nullptr;
    Window* any = nullptr;
    Window* visible = firstVisible(*w, id, any);
    return visible != nullptr ? visible : any;
}

bool Driver::fail(const std::string& message) const
{
    const std::string full =
        dialogId_ != 0 ? "dialog " + std::to_string(dialogId_) + ": " + message : message;
    if (onFailure_)
        onFailure_(full);
    else
        std::fprintf(stderr, "%s\n", full.c_str());
    return false;
}

bool Driver::ended(const char* action) const
{
    Window* w = window();
    if (w == nullptr)
        return !fail(std::string(action) + ": the window is gone");
    if (auto* d = dynamic_cast<Dialog*>(w); d != nullptr && d->isModal() && d->hasEnded())
        return !fail(std::string(action) + ": the dialog has already ended");
    return false;
}

Window* Driver::reachable(int id, const char* action) const
{
    if (ended(action))
        return nullptr;
    Window* control = item(id);
    if (control == nullptr)
    {
        fail(describe(action, id) + ": no such control");
        return nullptr;
    }
    if (!control->IsWindowVisible())
    {
        fail(describe(action, id) + ": the control is hidden");
        return nullptr;
    }
    if (!control->IsWindowEnabled())
    {
        fail(describe(action, id) + ": the control is disabled");
        return nullptr;
    }
    return control;
}

template <typename T> T* Driver::reachableAs(int id, const char* action, const char* kind) const
{
    Window* control = reachable(id, action);
    if (control == nullptr)
        return nullptr;
    auto* typed = dynamic_cast<T*>(control);
    if (typed == nullptr)
        fail(describe(action, id) + ": not " + kind);
    return typed;
}

void Driver::settle() const
{
    MessageLoop::instance().pump();
}

bool Driver::click(int id)
{
    DispatchScope scope;
    Window* control = reachable(id, "click");
    if (control == nullptr)
        return false;
    const WindowHandle handle = control->GetSafeHwnd();
    bool taken = false;
    if (auto* button = dynamic_cast<Button*>(control))
    {
        if (button->isGroupBox())
            return fail(describe("click", id) + ": a group box cannot be clicked");
        button->SetFocus();
        if (auto* b = dynamic_cast<Button*>(Window::FromHandle(handle)))
            taken = b->click();
    }
    else if (auto* label = dynamic_cast<Static*>(control))
        taken = label->click();
    else
        return fail(describe("click", id) + ": not a button");
    settle();
    return taken || fail(describe("click", id) + ": the click was not taken");
}

bool Driver::setCheck(int id, int state)
{
    auto* button = reachableAs<Button>(id, "check", "a check box");
    if (button == nullptr)
        return false;
    if (!(button->isCheckBox() || button->isRadioButton()))
        return fail(describe("check", id) + ": not a check box");
    const WindowHandle handle = button->GetSafeHwnd();
    for (int tries = 0; tries < 3; ++tries)
    {
        auto* b = dynamic_cast<Button*>(Window::FromHandle(handle));
        if (b == nullptr)
            return fail(describe("check", id) + ": the control went away");
        if (b->GetCheck() == state)
            return true;
        if (!click(id))
            return false;
    }
    auto* b = dynamic_cast<Button*>(Window::FromHandle(handle));
    return (b != nullptr && b->GetCheck() == state) ||
           fail(describe("check", id) + ": state " + std::to_string(state) +
                " cannot be reached by clicking");
}

bool Driver::type(int id, std::string_view text)
{
    DispatchScope scope;
    Window* control = reachable(id, "type into");
    if (control == nullptr)
        return false;
    const WindowHandle handle = control->GetSafeHwnd();
    control->SetFocus();
    bool taken = false;
    Window* now = Window::FromHandle(handle);
    if (auto* edit = dynamic_cast<Edit*>(now))
    {
        if (edit->isReadOnly())
            return fail(describe("type into", id) + ": the field is read-only");
        taken = edit->replaceAllAsUser(text);
    }
    else if (auto* combo = dynamic_cast<ComboBox*>(now))
    {
        if (!combo->hasEditField())
            return fail(describe("type into", id) + ": a drop-down list has no edit field");
        taken = combo->typeAsUser(text);
    }
    else
        return fail(describe("type into", id) + ": not an edit field");
    settle();
    return taken || fail(describe("type into", id) + ": the text was refused");
}

bool Driver::choose(int id, std::string_view itemText)
{
    auto* combo = reachableAs<ComboBox>(id, "choose in", "a combo box");
    if (combo == nullptr)
        return false;
    const int index = combo->FindStringExact(-1, itemText);
    if (index == CB_ERR)
        return fail(describe("choose in", id) + ": no item \"" + std::string(itemText) + "\"");
    return chooseIndex(id, index);
}

bool Driver::chooseIndex(int id, int index)
{
    DispatchScope scope;
    auto* combo = reachableAs<ComboBox>(id, "choose in", "a combo box");
    if (combo == nullptr)
        return false;
    if (index < 0 || index >= combo->GetCount())
        return fail(describe("choose in", id) + ": no item " + std::to_string(index));
    const WindowHandle handle = combo->GetSafeHwnd();
    combo->SetFocus();
    auto* now = dynamic_cast<ComboBox*>(Window::FromHandle(handle));
    const bool taken = now != nullptr && now->selectAsUser(index);
    settle();
    return taken || fail(describe("choose in", id) + ": the choice was not taken");
}

bool Driver::toggleItemCheck(int id, int index)
{
    DispatchScope scope;
    auto* combo = reachableAs<CheckListComboBox>(id, "check item in", "a check-list combo box");
    if (combo == nullptr)
        return false;
    const bool taken = combo->toggleCheckAsUser(index);
    settle();
    return taken || fail(describe("check item in", id) + ": no item " + std::to_string(index));
}

bool Driver::selectTab(int id, int index)
{
    DispatchScope scope;
    auto* tabs = reachableAs<TabControl>(id, "select tab in", "a tab control");
    if (tabs == nullptr)
        return false;
    const bool taken = tabs->selectAsUser(index);
    settle();
    return taken ||
           fail(describe("select tab in", id) + ": tab " + std::to_string(index) + " was not selected");
}

bool Driver::focus(int id)
{
    DispatchScope scope;
    Window* control = reachable(id, "focus");
    if (control == nullptr)
        return false;
    control->SetFocus();
    settle();
    return true;
}

bool Driver::pressKey(unsigned key, bool shift, bool control)
{
    if (ended("press key"))
        return false;
    DispatchScope scope;
    Window* w = window();
    Window* target = Window::GetFocus();
    if (target == nullptr || (target != w && !w->IsChild(target)))
        target = w;
    setKeyDown(VK_SHIFT, shift);
    setKeyDown(VK_CONTROL, control);
    setKeyDown(key, true);

    Message down{target, WM_KEYDOWN, key, 0};
    const bool consumed = dispatchInput(down);
    if (!consumed && (key == VK_RETURN || key == VK_SPACE))
        if (Window* focus = Window::GetFocus())
        {
            Message character{
                focus, WM_CHAR,
                key == VK_RETURN ? static_cast<std::uintptr_t>('\r') : static_cast<std::uintptr_t>(' '), 0};
            dispatchInput(character);
        }
    setKeyDown(key, false);
    Window* upTarget = Window::GetFocus();
    if (upTarget == nullptr)
        upTarget = Window::FromHandle(target->GetSafeHwnd()) != nullptr ? target : window();
    if (upTarget != nullptr)
    {
        Message up{upTarget, WM_KEYUP, key, 0};
        dispatchInput(up);
    }
    setKeyDown(VK_SHIFT, false);
    setKeyDown(VK_CONTROL, false);
    settle();
    return true;
}

bool Driver::close()
{
    if (ended("close"))
        return false;
    DispatchScope scope;
    window()->SendMessage(WM_CLOSE);
    settle();
    return true;
}

bool Driver::resize(int width, int height)
{
    if (ended("resize"))
        return false;
    DispatchScope scope;
    Window* w = window();
    const Rect r = w->rectInParent();
    w->MoveWindow(r.left, r.top, width, height);
    settle();
    return true;
}

bool Driver::leftClick(int id, Point point)
{
    DispatchScope scope;
    Window* target = id == 0 ? (ended("click at") ? nullptr : window()) : reachable(id, "click at");
    if (target == nullptr)
        return false;
    const WindowHandle handle = target->GetSafeHwnd();
    const std::intptr_t where = MAKELPARAM(point.x, point.y);
    Message down{target, WM_LBUTTONDOWN, MK_LBUTTON, where};
    dispatchInput(down);
    if (Window* t = Window::FromHandle(handle))
    {
        Message up{t, WM_LBUTTONUP, 0, where};
        dispatchInput(up);
    }
    settle();
    return true;
}

bool Driver::rightClick(int id, Point point)
{
    DispatchScope scope;
    Window* target =
        id == 0 ? (ended("right-click at") ? nullptr : window()) : reachable(id, "right-click at");
    if (target == nullptr)
        return false;
    const WindowHandle handle = target->GetSafeHwnd();
    const std::intptr_t where = MAKELPARAM(point.x, point.y);
    Message down{target, WM_RBUTTONDOWN, MK_RBUTTON, where};
    dispatchInput(down);
    if (Window* t = Window::FromHandle(handle))
    {
        Message up{t, WM_RBUTTONUP, 0, where};
        dispatchInput(up);
    }
    if (Window* t = Window::FromHandle(handle))
    {
        Point screen = point;
        t->ClientToScreen(screen);
        t->SendMessage(WM_CONTEXTMENU, handle, MAKELPARAM(screen.x, screen.y));
    }
    settle();
    return true;
}

Kdr_String Driver::text(int id) const
{
    Window* control = item(id);
    return control != nullptr ? control->GetWindowText() : Kdr_String();
}

int Driver::check(int id) const
{
    auto* button = dynamic_cast<Button*>(item(id));
    return button != nullptr ? button->GetCheck() : BST_UNCHECKED;
}

int Driver::selection(int id) const
{
    Window* control = item(id);
    if (auto* combo = dynamic_cast<ComboBox*>(control))
        return combo->GetCurSel();
    if (auto* tabs = dynamic_cast<TabControl*>(control))
        return tabs->GetCurSel();
    return -1;
}

bool Driver::isEnabled(int id) const
{
    Window* control = item(id);
    return control != nullptr && control->IsWindowEnabled();
}

bool Driver::isVisible(int id) const
{
    Window* control = item(id);
    return control != nullptr && control->IsWindowVisible();
}

namespace
{
// The window a pointer action starts from: the driven window for id 0, else a visible control.
Window* pointerOrigin(const Driver& driver, int id, const char* action)
{
    Window* w = driver.window();
    if (w == nullptr)
    {
        driver.fail(std::string(action) + ": the window is gone");
        return nullptr;
    }
    if (auto* d = dynamic_cast<Dialog*>(w); d != nullptr && d->isModal() && d->hasEnded())
    {
        driver.fail(std::string(action) + ": the dialog has already ended");
        return nullptr;
    }
    if (id == 0)
        return w;
    Window* control = driver.item(id);
    if (control == nullptr)
        driver.fail(describe(action, id) + ": no such control");
    else if (!control->IsWindowVisible())
        driver.fail(describe(action, id) + ": the control is hidden");
    else
        return control;
    return nullptr;
}

// Holds Shift and Control down as asked for the length of an action.
class HeldKeys
{
public:
    explicit HeldKeys(unsigned modifiers)
    {
        setKeyDown(VK_SHIFT, (modifiers & MK_SHIFT) != 0);
        setKeyDown(VK_CONTROL, (modifiers & MK_CONTROL) != 0);
    }
    ~HeldKeys()
    {
        setKeyDown(VK_SHIFT, false);
        setKeyDown(VK_CONTROL, false);
        setKeyDown(VK_LBUTTON, false);
    }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
};

// Sends one mouse message at a screen point from the origin window; once the origin is gone
// only a window holding the capture still hears the pointer. False when nobody could.
bool sendAtScreen(WindowHandle origin, Point screen, unsigned message, unsigned flags)
{
    if (Window* w = Window::FromHandle(origin))
    {
        w->ScreenToClient(screen);
        sendMouseMessage(*w, message, screen, flags);
        return true;
    }
    if (Window* capture = Window::GetCapture())
    {
        capture->ScreenToClient(screen);
        Message mouse{capture, message, flags, MAKELPARAM(screen.x, screen.y)};
        dispatchInput(mouse);
        return true;
    }
    return false;
}
} // namespace

bool Driver::drag(int id, Point from, Point to, unsigned modifiers)
{
    Window* origin = pointerOrigin(*this, id, "drag in");
    return origin != nullptr && drag(*origin, from, to, modifiers);
}

bool Driver::drag(Window& window, Point from, Point to, unsigned modifiers)
{
    if (ended("drag"))
        return false;
    DispatchScope scope;
    const WindowHandle origin = window.GetSafeHwnd();
    const unsigned keys = modifiers & (MK_SHIFT | MK_CONTROL);
    window.ClientToScreen(from);
    window.ClientToScreen(to);
    {
        HeldKeys held(modifiers);
        setKeyDown(VK_LBUTTON, true);
        sendAtScreen(origin, from, WM_MOUSEMOVE, keys);
        sendAtScreen(origin, from, WM_LBUTTONDOWN, keys | MK_LBUTTON);
        for (int step = 1; step <= kDragSteps; ++step)
        {
            const Point at{from.x + (to.x - from.x) * step / kDragSteps,
                           from.y + (to.y - from.y) * step / kDragSteps};
            sendAtScreen(origin, at, WM_MOUSEMOVE, keys | MK_LBUTTON);
        }
        // The button is released whatever happened on the way, so that no window is left
        // believing it is still held.
        setKeyDown(VK_LBUTTON, false);
        sendAtScreen(origin, to, WM_LBUTTONUP, keys);
    }
    settle();
    return true;
}

bool Driver::mouseMove(int id, Point point, unsigned modifiers)
{
    DispatchScope scope;
    Window* origin = pointerOrigin(*this, id, "move the mouse in");
    if (origin == nullptr)
        return false;
    {
        HeldKeys held(modifiers);
        sendMouseMessage(*origin, WM_MOUSEMOVE, point, modifiers & (MK_SHIFT | MK_CONTROL));
    }
    settle();
    return true;
}

bool Driver::doubleClick(int id, Point point, unsigned modifiers)
{
    DispatchScope scope;
    Window* origin = pointerOrigin(*this, id, "double-click in");
    if (origin == nullptr)
        return false;
    const WindowHandle handle = origin->GetSafeHwnd();
    const unsigned keys = modifiers & (MK_SHIFT | MK_CONTROL);
    {
        HeldKeys held(modifiers);
        for (const unsigned message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        {
            const bool down = message != WM_LBUTTONUP;
            setKeyDown(VK_LBUTTON, down);
            Window* w = Window::FromHandle(handle);
            if (w == nullptr)
                break;
            sendMouseMessage(*w, message, point, keys | (down ? MK_LBUTTON : 0));
        }
    }
    settle();
    return true;
}
} // namespace ui
